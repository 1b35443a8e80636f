// How the computer player judges a position: a fixed value per hole and seat,
// rising from the seat's home point to its target, and the rules by which the
// three levels refine that judgement.
#pragma once

#include "gamestate.h"

namespace vexel {

// SEAT_VALUES[seat][cell]. Seat k's row is seat 0's row turned k sixths clockwise.
extern const std::array<std::array<std::int32_t, CELL_COUNT>, SEAT_COUNT> SEAT_VALUES;

}  // namespace vexel
