// One self-play game through the real core: a Game on a HeadlessView, the
// computer turns stepped phase by phase, every committed move completed at
// once (no animation, speed 0, no waiting). After every completed move the
// position is checked, so that a fault anywhere in the rules, the flow or the
// computer player shows up as a counted violation rather than a quiet drift.
#pragma once

#include "arena_options.h"

#include "core/gamestate.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vexel::arena {

struct ArenaGameResult {
    std::uint64_t seed = 0;
    bool finished = false;   // every place of the finishing order was taken
    int computerTurns = 0;   // first phases started, passes included
    std::array<int, SEAT_COUNT> place{};  // 1-based place in the finishing order; 0 when not placed
    std::vector<double> searchMs;         // each first phase: search plus entering the move
    std::vector<double> strongSearchMs;   // the same for the seats of the strongest level alone
    std::vector<double> strongCpuMs;      // the same in processor time of the thread, which a busy machine does not inflate
    // The winner's own moves from the first position with all but its last
    // three pegs in its target to its finish, the finishing move included;
    // -1 when nobody finished.
    int winnerEndMoves = -1;
    std::uint64_t movesKey = 0;  // the moves of the game hashed: equal games, equal keys
    // What went wrong, by kind; the sum is what the tool reports.
    int positionViolations = 0;  // countInvariantViolations after a completed move
    int markViolations = 0;      // marks left on the board, or marks out of step with the path
    int entryViolations = 0;     // the computer's move did not enter through the hole-choice as found
    int stalls = 0;              // nobody to move and nothing carried out, while the game runs

    // With options.keepRecords: the game's record and how it left the board.
    std::string record;
    GameState finalState;

    int violations() const { return positionViolations + markViolations + entryViolations + stalls; }
};

// The seed of game `gameNumber` (1-based) of the series started from `seriesSeed`.
std::uint64_t arenaGameSeed(std::uint64_t seriesSeed, int gameNumber);

// Plays one game with the seats and rules of `options` from `gameSeed`.
ArenaGameResult playArenaGame(const ArenaOptions& options, std::uint64_t gameSeed);

}  // namespace vexel::arena
