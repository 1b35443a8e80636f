// The command line of vexel-arena: which seats play at which computer level,
// how many games, from which seed. Parsing is kept apart from playing so that
// every way of getting the line wrong can be tested without running a game.
#pragma once

#include "core/settings.h"
#include "core/types.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vexel::arena {

inline constexpr int NOT_SEATED = -1;

struct ArenaOptions {
    int games = 100;
    std::uint64_t seed = 1;
    // Plays only game N (1-based) of the series from `seed`, to replay an
    // unfinished one; 0 plays games 1..games.
    int onlyGame = 0;
    bool alwaysTenPegs = false;
    HouseRules rules;  // --long-jumps, --swap
    int maxTurns = 3000;  // computer turns per game before it counts as unfinished
    bool json = false;
    bool help = false;
    // Each game's record goes to recordDir/game-N.vxg; keepRecords also keeps
    // it in the game's result (the round trip tests).
    std::string recordDir;
    bool keepRecords = false;
    // Replays these records instead of playing.
    std::vector<std::string> replayFiles;
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
    "usage: vexel-arena [--games N] [--seed S] [--game N] [--ten] [--long-jumps] [--swap] [--max-turns T] [--json] [--record DIR] SEAT=LEVEL [SEAT=LEVEL ...]\n"
    "       vexel-arena --replay FILE.vxg [FILE.vxg ...]\n"
    "  SEAT 0..5 plays as a computer of LEVEL 0 (strongest original) .. 2 (weakest), or 3, the deepest\n"
    "  searcher; other seats do not play. --long-jumps and --swap play by those house rules. --record writes each game's record to DIR/game-N.vxg.\n"
    "  --replay checks records: every move legal, final position and finishing order as recorded.\n";

}  // namespace vexel::arena
