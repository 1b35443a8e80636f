#include "board.h"


namespace vexel {

namespace {

struct RowInfo {
    std::array<std::uint8_t, ROW_COUNT> first{};
};

constexpr RowInfo makeRows() {
    RowInfo info;
    int next = 0;
    for (int r = 0; r < ROW_COUNT; ++r) {
        info.first[r] = std::uint8_t(next);
        next += ROW_LENGTHS[r];
    }
    return info;
}
constexpr RowInfo ROWS = makeRows();

constexpr int firstX(int row) { return -(ROW_LENGTHS[row] - 1); }

constexpr CellIndex cellAtImpl(int x, int row) {
    if (row < 0 || row >= ROW_COUNT) return NO_PEG;
    const int offset = x - firstX(row);
    if (offset < 0 || offset % 2 != 0 || offset / 2 >= ROW_LENGTHS[row]) return NO_PEG;
    return CellIndex(ROWS.first[row] + offset / 2);
}

constexpr CellCoord coordImpl(CellIndex cell) {
    int row = 0;
    while (row + 1 < ROW_COUNT && ROWS.first[row + 1] <= cell) ++row;
    return {firstX(row) + 2 * (cell - ROWS.first[row]), row};
}

// Change of (x, row) for each direction, clockwise from up-right.
constexpr std::array<int, DIRECTION_COUNT> DX = {+1, +2, +1, -1, -2, -1};
constexpr std::array<int, DIRECTION_COUNT> DROW = {-1, 0, +1, +1, 0, -1};

constexpr auto makeNeighbours() {
    std::array<std::array<CellIndex, DIRECTION_COUNT>, CELL_COUNT> table{};
    for (int c = 0; c < CELL_COUNT; ++c) {
        const CellCoord p = coordImpl(CellIndex(c));
        for (int d = 0; d < DIRECTION_COUNT; ++d) table[c][d] = cellAtImpl(p.x + DX[d], p.row + DROW[d]);
    }
    return table;
}

}  // namespace

CellCoord cellCoord(CellIndex cell) { return coordImpl(cell); }
CellIndex cellAt(int x, int row) { return cellAtImpl(x, row); }

constinit const std::array<std::array<CellIndex, DIRECTION_COUNT>, CELL_COUNT> NEIGHBOURS = makeNeighbours();

constinit const std::array<std::array<CellIndex, MAX_PEGS>, SEAT_COUNT> START_CELLS = {{
    {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 14, 15, 16, 17, 18},
    {22, 21, 34, 20, 33, 45, 19, 32, 44, 55, 18, 31, 43, 54, 64},
    {110, 97, 109, 85, 96, 108, 74, 84, 95, 107, 64, 73, 83, 94, 106},
    {120, 119, 118, 117, 116, 115, 114, 113, 112, 111, 102, 103, 104, 105, 106},
    {98, 86, 99, 75, 87, 100, 65, 76, 88, 101, 56, 66, 77, 89, 102},
    {10, 11, 23, 12, 24, 35, 13, 25, 36, 46, 14, 26, 37, 47, 56},
}};

}  // namespace vexel
