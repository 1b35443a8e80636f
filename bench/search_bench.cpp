// Micro-benchmarks of the computer player's search on fixed positions, and the
// spread of search times over whole self-play games.
//
// The positions come from fixed-seed games of computer seats played through
// the real game flow, so they are the same on every run:
//  - Opening: two seats, 15 pegs, the first search of the game (levels 0 and 1
//    look two own moves ahead here, level 2 scores plainly);
//  - Crowded: six seats, 10 pegs, the middle game around move 12;
//  - EndPhase: two seats, 15 pegs, the first search with 11 pegs on the target
//    (every level looks two own moves ahead).
// Each runs at levels 0, 1 and 2 (the level of the seat to move is set anew),
// and at level 3, the strongest, which searches its default budget of positions.
#include "core/board.h"
#include "core/computer.h"
#include "core/evaluation.h"
#include "core/game.h"
#include "core/headlessview.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

using namespace vexel;

namespace {

struct Position {
    GameState state;
    Settings settings;
};

Settings computerSeats(std::initializer_list<std::pair<int, int>> seatLevels) {
    Settings settings;
    for (PlayerSlot& p : settings.playerSettings) p.kind = PlayerKind::NotPlaying;
    for (const auto& [seat, level] : seatLevels) {
        settings.playerSettings[seat].kind = PlayerKind::Computer;
        settings.playerSettings[seat].level = std::uint8_t(level);
    }
    settings.computerSpeed = 0;
    return settings;
}

// Plays a game of computer seats and calls `search` before every search; the
// game stops when `search` returns false, when it ends, or after MAX_TURNS
// searches (a safety net: every game is meant to end long before).
constexpr int MAX_TURNS = 3000;

// Returns whether the game came to its end.
bool playGame(Settings& settings, std::uint64_t seed, const std::function<bool(Game&)>& search) {
    HeadlessView view;
    Random random(seed);
    Game game(settings, view, random);
    game.newGame();
    int turns = 0;
    while (game.state().gameRunning) {
        GameState& s = game.state();
        if (s.moveInProgress) {
            game.completeMove();
        } else if (s.computerToMove) {
            if (s.computerPhase == 0 && (++turns > MAX_TURNS || !search(game))) return false;
            game.computerTurnStep();
        } else {
            return false;
        }
    }
    return true;
}

// The first position of a fixed game at which `wanted` holds.
Position positionWhere(Settings settings, std::uint64_t seed, const std::function<bool(const GameState&)>& wanted) {
    Position found;
    playGame(settings, seed, [&](Game& game) {
        if (!wanted(game.state())) return true;
        found.state = game.state();
        found.settings = settings;
        return false;
    });
    return found;
}

const Position& opening() {
    static const Position p = positionWhere(computerSeats({{0, 0}, {3, 0}}), 1, [](const GameState&) { return true; });
    return p;
}

const Position& crowded() {
    static const Position p = positionWhere(computerSeats({{0, 0}, {1, 1}, {2, 2}, {3, 0}, {4, 1}, {5, 2}}), 2,
                                            [](const GameState& s) { return s.moveNumber >= 12; });
    return p;
}

const Position& endPhase() {
    static const Position p = positionWhere(computerSeats({{0, 0}, {3, 0}}), 3, [](const GameState& s) { return isEndPhase(s); });
    return p;
}

// The end race: the seat to move has all but its last three pegs in its target.
const Position& endRace() {
    static const Position p = positionWhere(computerSeats({{0, 0}, {3, 0}}), 3, [](const GameState& s) {
        const auto& target = START_CELLS[OPPOSITE_SEAT[s.currentPlayer]];
        int home = 0;
        for (int k = 0; k < s.pegsPerPlayer; ++k) home += s.occupancy[target[std::size_t(k)]] == s.currentPlayer;
        return home == s.pegsPerPlayer - 3;
    });
    return p;
}

void searchAt(benchmark::State& bench, const Position& position) {
    GameState state = position.state;
    Settings settings = position.settings;
    settings.playerSettings[state.currentPlayer].level = std::uint8_t(bench.range(0));
    Random random(42);
    ComputerPlayer player(state, settings, random);
    std::size_t candidates = 0;
    for (auto _ : bench) {
        benchmark::DoNotOptimize(player.searchComputerMove());
        candidates = player.candidates().size();
        player.releaseCandidates();
        // Each search notes the position its move leads to; forgetting it keeps
        // every round the same first search of that position.
        state.producedPositions.keys[state.currentPlayer].clear();
    }
    bench.counters["candidates"] = double(candidates);
    bench.counters["moveNumber"] = position.state.moveNumber;
}

void BM_Opening(benchmark::State& bench) { searchAt(bench, opening()); }
void BM_Crowded(benchmark::State& bench) { searchAt(bench, crowded()); }
void BM_EndPhase(benchmark::State& bench) { searchAt(bench, endPhase()); }
void BM_EndRace(benchmark::State& bench) { searchAt(bench, endRace()); }

BENCHMARK(BM_Opening)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Crowded)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EndPhase)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EndRace)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

double timedSearchMs(ComputerPlayer& player) {
    const auto started = std::chrono::steady_clock::now();
    player.searchComputerMove();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
}

// Every search of 200 self-play games of one pairing, timed one by one; the
// counters give the median, the 99th percentile and the slowest, in ms. On a
// busy machine a single timing can include time the process did not run, so
// searches slower than 0.2 ms are timed twice more and the fastest of the
// three counts for `max_quiet_ms`.
void selfPlay(benchmark::State& bench, Settings settings) {
    std::vector<double> times;
    double maxQuiet = 0;
    int unfinished = 0;
    for (auto _ : bench) {
        times.clear();
        maxQuiet = 0;
        unfinished = 0;
        for (int game = 1; game <= 200; ++game) {
            // A second player on a copy of each position, kept for the whole
            // game as the game keeps its own, times the search alone.
            GameState copy;
            Random random{std::uint64_t(game)};
            ComputerPlayer player(copy, settings, random);
            const bool finished = playGame(settings, std::uint64_t(game), [&](Game& g) {
                // Afresh for every timing: a search notes where its move leads.
                const auto timed = [&] {
                    copy = g.state();
                    return timedSearchMs(player);
                };
                const double ms = timed();
                times.push_back(ms);
                maxQuiet = std::max(maxQuiet, ms > 0.2 ? std::min({ms, timed(), timed()}) : ms);
                return true;
            });
            if (!finished) ++unfinished;
        }
    }
    std::sort(times.begin(), times.end());
    bench.counters["searches"] = double(times.size());
    bench.counters["unfinished"] = double(unfinished);
    bench.counters["median_ms"] = times[times.size() / 2];
    bench.counters["p99_ms"] = times[times.size() * 99 / 100];
    bench.counters["max_ms"] = times.back();
    bench.counters["max_quiet_ms"] = maxQuiet;
}

void BM_SelfPlay_TwoSeats(benchmark::State& bench) { selfPlay(bench, computerSeats({{0, 0}, {3, 2}})); }
void BM_SelfPlay_ThreeSeats(benchmark::State& bench) { selfPlay(bench, computerSeats({{0, 1}, {2, 1}, {4, 1}})); }
void BM_SelfPlay_SixSeats(benchmark::State& bench) {
    selfPlay(bench, computerSeats({{0, 0}, {1, 1}, {2, 2}, {3, 0}, {4, 1}, {5, 2}}));
}

BENCHMARK(BM_SelfPlay_TwoSeats)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelfPlay_ThreeSeats)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelfPlay_SixSeats)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
