// A game on a headless view for the core tests: seats chosen per test, a
// fixed seed, and positions laid out by hand.
#pragma once

#include "core/board.h"
#include "core/game.h"
#include "core/headlessview.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>
#include <vector>

namespace vexel::testing {

struct SeatSetup {
    int seat;
    PlayerKind kind;
};

struct TestTable {
    Settings settings;
    HeadlessView view;
    Random random;
    Game game;

    explicit TestTable(const std::vector<SeatSetup>& seats, std::uint64_t seed = 1, bool alwaysTen = false)
        : random(seed), game(settings, view, random) {
        for (PlayerSlot& slot : settings.playerSettings) slot.kind = PlayerKind::NotPlaying;
        for (const SeatSetup& s : seats) settings.playerSettings[s.seat].kind = s.kind;
        settings.alwaysTenPegs = alwaysTen;
        settings.computerSpeed = 0;
    }

    GameState& state() { return game.state(); }

    // Starts the game and hands the turn to `seat` with nothing selected.
    void startWithTurn(int seat) {
        game.newGame();
        GameState& s = state();
        s.computerToMove = false;
        s.currentPlayer = Seat(seat);
        s.startingPlayer = Seat(seat);
        s.moveNumber = 1;
        s.movePathLength = 0;
        s.stepMade = false;
    }

    // Clears the board and puts the listed seats' pegs on the given holes, in
    // peg order. Pegs of a listed seat beyond its holes are off the board; use
    // full lists wherever a computer search or the invariants look at them.
    void setPosition(const std::vector<std::pair<int, std::vector<int>>>& seats) {
        GameState& s = state();
        s.occupancy.fill(NO_PEG);
        for (const auto& [seat, cells] : seats) {
            for (int k = 0; k < MAX_PEGS; ++k) {
                const bool placed = k < int(cells.size());
                s.pegs[seat][k].cell = placed ? CellIndex(cells[k]) : NO_PEG;
                if (placed) s.occupancy[cells[k]] = Seat(seat);
            }
        }
    }

    // Selects, enters and commits a path of holes by mouse, then completes it.
    void playClicks(std::initializer_list<int> holes) {
        for (int h : holes) game.clickHole(CellIndex(h));
        game.clickHole(state().pathEnd());
        ASSERT_TRUE(state().moveInProgress);
        game.completeMove();
    }

    // Makes the first single step any peg of the seat to move has.
    void playAnyStep() {
        GameState& s = state();
        for (int k = 0; k < s.pegsPerPlayer; ++k) {
            const CellIndex from = s.pegs[s.currentPlayer][k].cell;
            for (int d = 0; d < DIRECTION_COUNT; ++d) {
                const CellIndex to = NEIGHBOURS[from][d];
                if (to == NO_PEG || s.occupancy[to] != NO_PEG) continue;
                playClicks({from, to});
                return;
            }
        }
        FAIL() << "seat " << int(s.currentPlayer) << " has no step";
    }
};

// Settings whose listed seats the computer plays at the given levels; every
// other seat stays empty.
inline Settings computerSeats(std::initializer_list<std::pair<int, int>> seatLevels, bool alwaysTen = false) {
    Settings settings;
    for (PlayerSlot& p : settings.playerSettings) p.kind = PlayerKind::NotPlaying;
    for (const auto& [seat, level] : seatLevels) {
        settings.playerSettings[seat].kind = PlayerKind::Computer;
        settings.playerSettings[seat].level = std::uint8_t(level);
    }
    settings.alwaysTenPegs = alwaysTen;
    return settings;
}

// The holes of the path being entered, in order.
inline std::vector<int> pathHoles(const GameState& s) {
    std::vector<int> holes;
    for (int i = 0; i < s.movePathLength; ++i) holes.push_back(s.movePath[i].cell);
    return holes;
}

// The holes that carry a path mark, in increasing order.
inline std::vector<int> markedHoles(const HeadlessView& view) {
    std::vector<int> holes;
    for (int h = 0; h < CELL_COUNT; ++h)
        if (view.holeMarks[h]) holes.push_back(h);
    return holes;
}

inline std::vector<int> hintMarkedHoles(const HeadlessView& view) {
    std::vector<int> holes;
    for (int h = 0; h < CELL_COUNT; ++h)
        if (view.hintMarks[h]) holes.push_back(h);
    return holes;
}

inline std::vector<int> cursorMarkedHoles(const HeadlessView& view) {
    std::vector<int> holes;
    for (int h = 0; h < CELL_COUNT; ++h)
        if (view.cursorMarks[h]) holes.push_back(h);
    return holes;
}

}  // namespace vexel::testing
