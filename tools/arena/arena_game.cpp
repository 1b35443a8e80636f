#include "arena_game.h"

#include "core/game.h"
#include "core/headlessview.h"
#include "core/replay.h"
#include "core/strongsearch.h"

#include "core/board.h"

#include <algorithm>
#include <chrono>
#include <ctime>

namespace vexel::arena {

std::uint64_t arenaGameSeed(std::uint64_t seriesSeed, int gameNumber) {
    // Mixed, so that the series of neighbouring seeds share no games.
    std::uint64_t z = seriesSeed * 0x9E3779B97F4A7C15ULL + std::uint64_t(gameNumber);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

namespace {

Settings arenaSettings(const ArenaOptions& options) {
    Settings settings;
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        PlayerSlot& slot = settings.playerSettings[seat];
        if (options.levels[seat] == NOT_SEATED) {
            slot.kind = PlayerKind::NotPlaying;
        } else {
            slot.kind = PlayerKind::Computer;
            slot.level = std::uint8_t(options.levels[seat]);
        }
    }
    settings.alwaysTenPegs = options.alwaysTenPegs;
    settings.rules = options.rules;
    settings.humanSpeed = 0;
    settings.computerSpeed = 0;
    return settings;
}

// Marks on the board are exactly the holes of the path being entered.
bool marksMatchPath(const GameState& s, const HeadlessView& view) {
    const int entries = s.moveInProgress ? 0 : s.movePathLength;
    std::array<bool, CELL_COUNT> onPath{};
    for (int i = 0; i < entries; ++i) {
        const CellIndex c = s.movePath[i].cell;
        if (c >= CELL_COUNT || onPath[c]) return false;
        onPath[c] = true;
    }
    return onPath == view.holeMarks;
}

int cursorMarkCount(const HeadlessView& view) {
    return int(std::count(view.cursorMarks.begin(), view.cursorMarks.end(), true));
}

// Processor time of the calling thread, in milliseconds: the search runs on
// it, and other work on a shared machine does not count.
double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

int pegsInTarget(const GameState& s, Seat seat) {
    const auto& target = START_CELLS[OPPOSITE_SEAT[seat]];
    int n = 0;
    for (int k = 0; k < s.pegsPerPlayer; ++k)
        if (s.occupancy[target[std::size_t(k)]] == seat) ++n;
    return n;
}

// How many pegs make the end race: all but the last three.
constexpr int END_RACE_PEGS_OUT = 3;

}  // namespace

ArenaGameResult playArenaGame(const ArenaOptions& options, std::uint64_t gameSeed) {
    ArenaGameResult result;
    result.seed = gameSeed;

    Settings settings = arenaSettings(options);
    Random random(gameSeed);
    HeadlessView view;
    Game game(settings, view, random);
    const GameState& s = game.state();
    // The winners display: go on while there is a place left to play for.
    view.answerWinners = [&s] {
        const int playing = s.playingSeatCount();
        const bool continueOffered = s.gameRunning && s.finishOrder[playing - 1] == NO_PEG;
        return continueOffered ? ModalResult::Ok : ModalResult::Abort;
    };

    game.newGame();
    const PlayerSlots playersAtStart = s.players;
    // Every turn takes at most three calls (search, commit, completion); more
    // than that means the loop no longer advances the game.
    const long callLimit = 4L * options.maxTurns + 16;
    long calls = 0;
    // Own moves made since the seat had all but its last pegs in its target.
    std::array<int, SEAT_COUNT> endMoves{};
    std::array<bool, SEAT_COUNT> inEndRace{};
    const auto hashMove = [&result](std::uint64_t v) { result.movesKey = (result.movesKey ^ v) * 0x100000001B3ULL; };
    while (s.gameRunning) {
        if (++calls > callLimit) {
            ++result.stalls;
            game.endGame();
            break;
        }
        if (s.moveInProgress) {
            const Seat mover = s.currentPlayer;
            if (inEndRace[mover]) ++endMoves[mover];
            hashMove(std::uint64_t(mover) << 16 | std::uint64_t(s.movePath[0].cell) << 8 | s.pathEnd());
            game.completeMove();
            if (!inEndRace[mover] && pegsInTarget(s, mover) >= s.pegsPerPlayer - END_RACE_PEGS_OUT) inEndRace[mover] = true;
            result.positionViolations += countInvariantViolations(s, playersAtStart);
            if (view.markedHoleCount() != 0 || cursorMarkCount(view) != 0) ++result.markViolations;
        } else if (s.computerToMove && s.computerPhase == 0) {
            if (result.computerTurns == options.maxTurns) {
                game.endGame();
                break;
            }
            ++result.computerTurns;
            const bool strongSeat = options.levels[s.currentPlayer] == STRONG_LEVEL;
            const double cpuStarted = threadCpuMs();
            const auto started = std::chrono::steady_clock::now();
            game.computerTurnStep();
            const auto took = std::chrono::steady_clock::now() - started;
            const double cpuTook = threadCpuMs() - cpuStarted;
            result.searchMs.push_back(std::chrono::duration<double, std::milli>(took).count());
            if (strongSeat) {
                result.strongSearchMs.push_back(result.searchMs.back());
                result.strongCpuMs.push_back(cpuTook);
            }
            // A seat without a legal move passes, and the next turn may already
            // wait in phase 0; phase 1 means a move was found and entered.
            if (s.computerToMove && s.computerPhase == 1) {
                // The move found must have gone in hole by hole, complete and legal.
                const CandidateMove& move = game.computer().chosen();
                if (!game.moveReady() || s.movePathLength != move.lastLanding + 2 || s.pathEnd() != move.finalHole())
                    ++result.entryViolations;
                if (!marksMatchPath(s, view)) ++result.markViolations;
            }
        } else if (s.computerToMove) {
            game.computerTurnStep();
        } else {
            // Every seat is a computer, so someone must always be to move.
            ++result.stalls;
            game.endGame();
        }
    }
    if (view.markedHoleCount() != 0 || cursorMarkCount(view) != 0) ++result.markViolations;

    const int playing = int(std::count_if(playersAtStart.begin(), playersAtStart.end(), [](const PlayerSlot& p) { return p.plays(); }));
    result.finished = playing > 0 && s.finishOrder[playing - 1] != NO_PEG;
    for (int place = 0; place < SEAT_COUNT; ++place)
        if (s.finishOrder[place] < SEAT_COUNT) result.place[s.finishOrder[place]] = place + 1;
    if (s.finishOrder[0] < SEAT_COUNT) result.winnerEndMoves = endMoves[s.finishOrder[0]];
    if (options.keepRecords) {
        result.record = writeRecord(recordOf(game, settings, {}));
        result.finalState = s;
    }
    return result;
}

}  // namespace vexel::arena
