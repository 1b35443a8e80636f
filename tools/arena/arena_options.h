// The command line of vexel-arena: which seats play at which computer level,
// how many games, from which seed. Parsing is kept apart from playing so that
// every way of getting the line wrong can be tested without running a game.
#pragma once

#include "core/types.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vexel::arena {

inline constexpr int NOT_SEATED = -1;

struct ArenaOptions {
    int games = 100;
    std::uint64_t seed = 1;
    // Plays only game N (1-based) of the series from `seed`, to replay an
    // unfinished one; 0 plays games 1..games.
    int onlyGame = 0;
    bool alwaysTenPegs = false;
    int maxTurns = 3000;  // computer turns per game before it counts as unfinished
    bool json = false;
    bool help = false;
    std::array<int, SEAT_COUNT> levels{NOT_SEATED, NOT_SEATED, NOT_SEATED, NOT_SEATED, NOT_SEATED, NOT_SEATED};

    int seatCount() const;
};

struct ParsedArguments {
    std::optional<ArenaOptions> options;  // empty when the line is wrong
    std::string error;                    // what was wrong, for stderr
};

// `args` excludes the program name.
ParsedArguments parseArenaArguments(std::span<const std::string_view> args);

inline constexpr std::string_view ARENA_USAGE =
    "usage: vexel-arena [--games N] [--seed S] [--game N] [--ten] [--max-turns T] [--json] SEAT=LEVEL [SEAT=LEVEL ...]\n"
    "  SEAT 0..5 plays as a computer of LEVEL 0 (strongest original) .. 2 (weakest), or 3, the deepest\n"
    "  searcher; other seats do not play.\n";

}  // namespace vexel::arena
