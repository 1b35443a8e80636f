// Keys of board positions: one pseudo-random 64-bit number per hole and seat.
// A board's key is the XOR of the numbers of its pegs, so a move changes it by
// two numbers, and two different positions share a key only by a chance of
// about 2^-64 per pair.
#pragma once

#include "types.h"

#include <array>
#include <cstdint>

namespace vexel {

using PegKeys = std::array<std::array<std::uint64_t, SEAT_COUNT>, CELL_COUNT>;

// The table drawn from `seed` (splitmix64). Each user keeps its own seed, so
// that the keys written into game records never change with a search's table.
constexpr PegKeys makePegKeys(std::uint64_t seed) {
    PegKeys keys{};
    std::uint64_t x = seed;
    for (auto& hole : keys)
        for (std::uint64_t& key : hole) {
            std::uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
            key = z ^ (z >> 31);
        }
    return keys;
}

}  // namespace vexel
