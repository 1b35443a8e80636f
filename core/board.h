// The board of Vexel: the 121 holes of the six-pointed star, the neighbour
// relation, the start positions of the six seats and which seat sits opposite.
// Constant tables only; they are built at compile time from the geometry.
#pragma once

#include "types.h"

namespace vexel {

inline constexpr int ROW_COUNT = 17;
inline constexpr std::array<std::uint8_t, ROW_COUNT> ROW_LENGTHS = {1, 2, 3, 4, 13, 12, 11, 10, 9, 10, 11, 12, 13, 4, 3, 2, 1};

// Position of a hole: x runs in steps of 2 within a row, rows alternate by 1.
struct CellCoord {
    int x;
    int row;
};
CellCoord cellCoord(CellIndex cell);
// The hole at (x, row), or NO_PEG when the star has none there.
CellIndex cellAt(int x, int row);

// NEIGHBOURS[cell][direction]: the adjacent hole or NO_PEG. A jump in
// direction d from a passes over NEIGHBOURS[a][d] onto NEIGHBOURS[NEIGHBOURS[a][d]][d].
extern const std::array<std::array<CellIndex, DIRECTION_COUNT>, CELL_COUNT> NEIGHBOURS;

// Jump landing from a in direction d, or NO_PEG when the board ends.
inline CellIndex jumpLanding(CellIndex a, int d) {
    const CellIndex over = NEIGHBOURS[a][d];
    return over == NO_PEG ? NO_PEG : NEIGHBOURS[over][d];
}

// The landing of a jump from `from` in direction d, over an occupied
// neighbour onto an empty hole; NO_PEG when that jump is not open.
inline CellIndex openJump(const std::array<CellIndex, CELL_COUNT>& occupancy, CellIndex from, int d) {
    const CellIndex over = NEIGHBOURS[from][d];
    if (over == NO_PEG || occupancy[over] == NO_PEG) return NO_PEG;
    const CellIndex to = NEIGHBOURS[over][d];
    return to == NO_PEG || occupancy[to] != NO_PEG ? NO_PEG : to;
}

// START_CELLS[seat]: the ten holes of the seat's point from its tip outward,
// then the five holes of the hexagon line bordering it. Peg k starts on entry k;
// the same prefix of the opposite seat's row is the seat's target.
extern const std::array<std::array<CellIndex, MAX_PEGS>, SEAT_COUNT> START_CELLS;

inline constexpr std::array<Seat, SEAT_COUNT> OPPOSITE_SEAT = {3, 4, 5, 0, 1, 2};

}  // namespace vexel
