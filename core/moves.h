// The geometry of the house rules, shared by the move input, the computer
// players and the tests. With both rules off every function here agrees with
// the classic jump (openJump) and allows no swap.
//
// A long jump flies over exactly one peg along a line: k empty holes lie
// between the start and that peg, the same k empty holes behind it, and the
// landing is empty (k = 0 is the classic jump). A swap ends a move on a hole
// of the mover's target that holds a peg of the seat whose home that point
// is; that peg goes to the hole the move started from.
#pragma once

#include "board.h"
#include "settings.h"

namespace vexel {

// The landing of a long jump from `from` in direction d, or NO_PEG when there
// is none open (the moving peg's own hole counts as occupied while it moves).
inline CellIndex longJumpLanding(const std::array<CellIndex, CELL_COUNT>& occupancy, CellIndex from, int d) {
    CellIndex over = NEIGHBOURS[from][d];
    int gap = 0;
    while (over != NO_PEG && occupancy[over] == NO_PEG) {
        over = NEIGHBOURS[over][d];
        ++gap;
    }
    if (over == NO_PEG) return NO_PEG;
    CellIndex to = over;
    for (int i = 0; i <= gap; ++i) {
        to = NEIGHBOURS[to][d];
        if (to == NO_PEG || occupancy[to] != NO_PEG) return NO_PEG;
    }
    return to;
}

// The landing of a jump under `rules`, onto an empty hole.
inline CellIndex ruleJumpLanding(const std::array<CellIndex, CELL_COUNT>& occupancy, CellIndex from, int d,
                                 const HouseRules& rules) {
    return rules.longJumps ? longJumpLanding(occupancy, from, d) : openJump(occupancy, from, d);
}

// A jump under `rules` whose landing holds a peg, as a swap may end on: the
// hole jumped to (flying over one peg, k empty holes before and behind it),
// whoever stands there; NO_PEG when the line does not fit.
inline CellIndex ruleJumpOntoPeg(const std::array<CellIndex, CELL_COUNT>& occupancy, CellIndex from, int d,
                                 const HouseRules& rules) {
    CellIndex over = NEIGHBOURS[from][d];
    int gap = 0;
    while (rules.longJumps && over != NO_PEG && occupancy[over] == NO_PEG) {
        over = NEIGHBOURS[over][d];
        ++gap;
    }
    if (over == NO_PEG || occupancy[over] == NO_PEG) return NO_PEG;
    CellIndex to = over;
    for (int i = 0; i < gap; ++i) {
        to = NEIGHBOURS[to][d];
        if (to == NO_PEG || occupancy[to] != NO_PEG) return NO_PEG;
    }
    to = NEIGHBOURS[to][d];
    return to == NO_PEG || occupancy[to] == NO_PEG ? NO_PEG : to;
}

// Whether `seat` may end a move on `cell` by swapping: the hole is one of the
// seat's `pegs` target holes and holds a peg of the seat whose home it is.
inline bool swapAllowed(const std::array<CellIndex, CELL_COUNT>& occupancy, Seat seat, CellIndex cell, int pegs,
                        const HouseRules& rules) {
    if (!rules.swapInTarget || seat >= SEAT_COUNT || cell >= CELL_COUNT) return false;
    const Seat home = OPPOSITE_SEAT[seat];
    if (occupancy[cell] != home) return false;
    const auto& target = START_CELLS[home];
    for (int i = 0; i < pegs && i < MAX_PEGS; ++i)
        if (target[i] == cell) return true;
    return false;
}

}  // namespace vexel
