// The totals of a series of arena games and the two ways of printing them:
// a table for people and one JSON line for scripts.
#pragma once

#include "arena_game.h"

#include <string>
#include <utility>

namespace vexel::arena {

struct TimeSummary {
    double median = 0, p99 = 0, max = 0;
};
// Nearest-rank percentiles; all zero for no samples.
TimeSummary summarizeTimes(std::vector<double> samples);

struct ArenaTotals {
    int games = 0;
    int unfinished = 0;
    long turns = 0;
    // Places count only from finished games, where every seat has one.
    std::array<int, SEAT_COUNT> wins{};
    std::array<long, SEAT_COUNT> placeSum{};
    int finishedGames = 0;
    std::vector<double> searchMs;
    std::vector<double> strongSearchMs;
    std::vector<double> strongCpuMs;
    // Per seat, over the finished games it won: the sum and count of its own
    // moves from all but its last three pegs in the target to its finish.
    std::array<long, SEAT_COUNT> winEndMoves{};
    std::array<int, SEAT_COUNT> winEndGames{};
    std::vector<std::uint64_t> movesKeys;  // one per game
    long positionViolations = 0, markViolations = 0, entryViolations = 0, stalls = 0;
    std::vector<std::pair<int, std::uint64_t>> unfinishedGames;  // game number, game seed

    void add(int gameNumber, const ArenaGameResult& game);
    long violations() const { return positionViolations + markViolations + entryViolations + stalls; }
    // Games that differ in at least one move from every other game of the series.
    int distinctGames() const;
    // Same games, same totals: everything but the timings.
    bool sameOutcome(const ArenaTotals& other) const;
};

// Plays the games `options` asks for.
ArenaTotals runArena(const ArenaOptions& options);

std::string formatTable(const ArenaOptions& options, const ArenaTotals& totals);
std::string formatJson(const ArenaOptions& options, const ArenaTotals& totals);
// The command line that plays unfinished game `gameNumber` again on its own.
std::string replayCommand(const ArenaOptions& options, int gameNumber);

}  // namespace vexel::arena
