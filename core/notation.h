// Names of the holes as a player reads them off the board: a row letter from
// the top point down (A..Q), then the hole's place in that row counted from
// the left (1..13). The top point is A1, the widest row E1..E13, the centre
// I5, the bottom point Q1. Game records, the screen reader and the help page
// all use these names.
#pragma once

#include "types.h"

#include <string>
#include <string_view>

namespace vexel {

// "A1".."Q1"; an empty string for a number that is no hole.
std::string holeName(CellIndex cell);

// The hole a name stands for, or NO_PEG. The row letter may be in either case;
// nothing may stand before or after the name.
CellIndex parseHoleName(std::string_view name);

}  // namespace vexel
