// Move rules and move input: what the hole-choice accepts, how the path and
// its marks move in step, and what a commit leaves behind.
#include "test_table.h"

#include <algorithm>
#include <random>
#include <set>

using namespace vexel;
using namespace vexel::testing;

namespace {

constexpr auto H = PlayerKind::Human;

// Seat 0 to move against seat 3, both human, on a board laid out by the test.
struct MoveTable : TestTable {
    MoveTable() : TestTable({{0, H}, {3, H}}) { startWithTurn(0); }
};

void expectMarksOnPath(const MoveTable& t, std::vector<int> path) {
    EXPECT_EQ(pathHoles(t.game.state()), path);
    std::sort(path.begin(), path.end());
    EXPECT_EQ(markedHoles(t.view), path);
}

}  // namespace

TEST(MoveInput, StepEndsTheMoveAndASecondClickCommitsIt) {
    MoveTable t;
    t.setPosition({{0, {4}}, {3, {3}}});
    t.game.clickHole(4);
    expectMarksOnPath(t, {4});
    t.game.clickHole(8);
    expectMarksOnPath(t, {4, 8});
    EXPECT_TRUE(t.state().stepMade);
    EXPECT_EQ(t.state().movePath[1].direction, DownRight);

    // Once a step is entered, nothing but an own peg is taken: not another
    // neighbour, not a hole two away, not another seat's peg.
    for (int h : {5, 7, 17, 3, 2}) {
        t.game.clickHole(CellIndex(h));
        expectMarksOnPath(t, {4, 8});
    }
    t.game.clickHole(8);
    EXPECT_TRUE(t.state().moveInProgress);
    EXPECT_EQ(t.state().movePathLength, 1);
    EXPECT_EQ(t.state().occupancy[4], NO_PEG);
    EXPECT_TRUE(markedHoles(t.view).empty());
}

TEST(MoveInput, AStepCanBeReplacedBySelectingAnOwnPegAfresh) {
    MoveTable t;
    t.setPosition({{0, {4, 60}}});
    t.game.chooseHole(4);
    t.game.chooseHole(8);
    t.game.chooseHole(4);
    expectMarksOnPath(t, {4});
    EXPECT_FALSE(t.state().stepMade);
    t.game.chooseHole(8);
    t.game.chooseHole(60);
    expectMarksOnPath(t, {60});
    EXPECT_EQ(t.state().movingPeg, 1);
}

TEST(MoveInput, JumpsOverAnAdjacentPegOfAnySeat) {
    for (int jumpedSeat : {0, 3}) {
        SCOPED_TRACE(jumpedSeat);
        MoveTable t;
        if (jumpedSeat == 0)
            t.setPosition({{0, {4, 8}}});
        else
            t.setPosition({{0, {4}}, {3, {8}}});
        t.game.chooseHole(4);
        t.game.chooseHole(17);
        expectMarksOnPath(t, {4, 17});
        EXPECT_FALSE(t.state().stepMade);
        EXPECT_EQ(t.state().movePath[1].direction, DownRight);
        // Jumps and steps never mix: an empty neighbour of the landing is no continuation.
        t.game.chooseHole(16);
        t.game.chooseHole(18);
        expectMarksOnPath(t, {4, 17});
    }
}

TEST(MoveInput, ChainGrowsCutsBackAndCommitsAtAnyLanding) {
    MoveTable t;
    t.setPosition({{0, {60}}, {3, {61, 72}}});
    t.game.clickHole(60);
    t.game.clickHole(62);
    t.game.clickHole(83);
    expectMarksOnPath(t, {60, 62, 83});

    t.game.clickHole(62);  // an earlier landing: back to it
    expectMarksOnPath(t, {60, 62});
    EXPECT_FALSE(t.view.holeMarks[83]);
    EXPECT_FALSE(t.state().moveInProgress);

    t.game.clickHole(62);  // now the last landing: commit the one-jump move
    EXPECT_TRUE(t.state().moveInProgress);
    EXPECT_EQ(t.state().movePathLength, 1);
    t.game.completeMove();
    EXPECT_EQ(t.state().occupancy[62], 0);
    EXPECT_EQ(t.state().occupancy[60], NO_PEG);
    EXPECT_EQ(t.state().pegs[0][0].cell, 62);
    EXPECT_EQ(t.state().currentPlayer, 3);
}

TEST(MoveInput, NoLongJumpsOverEmptyHoles) {
    MoveTable t;
    t.setPosition({{0, {60}}, {3, {61}}});
    t.game.chooseHole(60);
    t.game.chooseHole(58);  // 59 between is empty
    expectMarksOnPath(t, {60});
    t.game.chooseHole(62);
    t.game.chooseHole(64);  // from 62 over the empty 63
    t.game.chooseHole(83);  // from 62 down-right over the empty 72
    expectMarksOnPath(t, {60, 62});
}

TEST(MoveInput, AChainNeverLandsOnTheMovingPegsStartHole) {
    // The way back from 62 over 61 ends on the start hole, which counts as
    // occupied: choosing it selects the peg afresh instead of landing there.
    MoveTable t;
    t.setPosition({{0, {60}}, {3, {61, 72}}});
    t.game.chooseHole(60);
    t.game.chooseHole(62);
    t.game.chooseHole(83);
    t.game.chooseHole(60);
    expectMarksOnPath(t, {60});
    EXPECT_EQ(t.state().occupancy[60], 0);
}

TEST(MoveInput, ClicksAreIgnoredWhenTheBoardTakesNoInput) {
    struct Case {
        const char* when;
        void (*arrange)(MoveTable&);
    };
    const Case cases[] = {
        {"a move is carried out", [](MoveTable& t) {
             t.game.clickHole(4);
             t.game.clickHole(8);
             t.game.clickHole(8);
         }},
        {"a computer is to move", [](MoveTable& t) { t.game.startComputerTurn(); }},
        {"no game runs", [](MoveTable& t) { t.game.endGame(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.when);
        MoveTable t;
        t.setPosition({{0, {4, 60}}, {3, {61}}});
        c.arrange(t);
        EXPECT_FALSE(t.game.acceptsBoardInput());
        const std::vector<int> path = pathHoles(t.state());
        const std::vector<int> marks = markedHoles(t.view);
        for (int h : {60, 62, 4, 8, 5})
            t.game.clickHole(CellIndex(h));
        EXPECT_EQ(pathHoles(t.state()), path);
        EXPECT_EQ(markedHoles(t.view), marks);
    }

    MoveTable t;
    t.setPosition({{0, {60}}});
    t.game.clickHole(60);
    t.game.clickHole(NO_PEG);  // a click beside every hole
    expectMarksOnPath(t, {60});
}

TEST(MoveInput, CommitEmptiesTheStartAndClearsMarksAndCursor) {
    MoveTable t;
    t.setPosition({{0, {60}}, {3, {61, 72}}});
    t.game.pressKey(CursorKey::Left);  // shows the cursor on 60
    ASSERT_TRUE(t.state().keyboardCursorShown);
    t.game.chooseHole(60);
    t.game.commitMove();  // nothing to commit yet
    EXPECT_FALSE(t.state().moveInProgress);

    t.game.chooseHole(62);
    t.game.chooseHole(83);
    t.state().animStep = 7;
    t.game.commitMove();
    const GameState& s = t.state();
    EXPECT_TRUE(s.moveInProgress);
    EXPECT_EQ(s.animStep, 0);
    EXPECT_EQ(s.movePathLength, 2);  // hops, no longer entries
    EXPECT_EQ(s.movePath[2].cell, 83);
    EXPECT_EQ(s.occupancy[60], NO_PEG);
    EXPECT_EQ(s.pegs[0][0].cell, 60);  // the record keeps the start until the move is complete
    EXPECT_TRUE(markedHoles(t.view).empty());
    EXPECT_FALSE(s.keyboardCursorShown);
    EXPECT_TRUE(cursorMarkedHoles(t.view).empty());
}

// Any sequence of clicks on any position keeps the path legal and its marks
// exactly on its holes; completed moves keep the position consistent.
TEST(MoveInput, RandomClicksKeepMarksInStepWithALegalPath) {
    std::mt19937 rng(20240611);
    auto pick = [&](int n) { return int(std::uniform_int_distribution<int>(0, n - 1)(rng)); };
    int commits = 0, longestPath = 0;
    const std::vector<std::vector<SeatSetup>> tables = {
        {{0, H}, {3, H}}, {{0, H}, {2, H}, {4, H}}, {{0, H}, {1, H}, {2, H}, {3, H}, {4, H}, {5, H}}};
    for (int round = 0; round < 300; ++round) {
        // Two, three or six seats of ten pegs: sparse boards give many steps, dense ones long chains.
        const std::vector<SeatSetup>& seats = tables[round % 3];
        TestTable t(seats, std::uint64_t(round), true);
        t.game.newGame();
        std::vector<int> holes(CELL_COUNT);
        for (int h = 0; h < CELL_COUNT; ++h) holes[h] = h;
        std::shuffle(holes.begin(), holes.end(), rng);
        std::vector<std::pair<int, std::vector<int>>> position;
        for (std::size_t i = 0; i < seats.size(); ++i)
            position.push_back({seats[i].seat, {holes.begin() + 10 * i, holes.begin() + 10 * (i + 1)}});
        t.setPosition(position);
        const int pegs = 10;
        const PlayerSlots players = t.state().players;

        for (int click = 0; click < 80 && t.state().gameRunning; ++click) {
            const GameState& s = t.state();
            // Mostly holes near the path's end, where something can happen.
            CellIndex h;
            const int kind = pick(10);
            if (kind < 3) {
                h = s.pegs[s.currentPlayer][pick(pegs)].cell;
            } else if (kind < 8 && s.movePathLength > 0) {
                const CellIndex end = s.pathEnd();
                const int d = pick(6);
                const CellIndex near = NEIGHBOURS[end][d];
                const int how = pick(4);
                h = how < 2 ? jumpLanding(end, d) : (how == 2 || near == NO_PEG) ? near : NEIGHBOURS[near][pick(6)];
            } else if (kind < 9 && s.movePathLength > 0) {
                h = s.movePath[pick(s.movePathLength)].cell;
            } else {
                h = CellIndex(pick(CELL_COUNT + 1));
                if (h == CELL_COUNT) h = NO_PEG;
            }
            t.game.clickHole(h);

            if (s.moveInProgress) {
                ++commits;
                EXPECT_TRUE(markedHoles(t.view).empty());
                t.game.completeMove();
                EXPECT_EQ(countInvariantViolations(s, players), 0);
                continue;
            }
            longestPath = std::max<int>(longestPath, s.movePathLength);
            std::vector<int> path = pathHoles(s);
            std::set<int> distinct(path.begin(), path.end());
            ASSERT_EQ(distinct.size(), path.size()) << "round " << round;
            ASSERT_EQ(markedHoles(t.view), std::vector<int>(distinct.begin(), distinct.end())) << "round " << round;
            if (path.empty()) continue;
            ASSERT_EQ(s.occupancy[path[0]], s.currentPlayer);
            ASSERT_EQ(s.pegs[s.currentPlayer][s.movingPeg].cell, path[0]);
            for (std::size_t i = 1; i < path.size(); ++i) {
                const PathEntry e = s.movePath[i];
                ASSERT_EQ(s.occupancy[e.cell], NO_PEG);
                if (s.stepMade) {
                    ASSERT_EQ(path.size(), 2u);
                    ASSERT_EQ(NEIGHBOURS[path[0]][e.direction], e.cell);
                } else {
                    const CellIndex over = NEIGHBOURS[path[i - 1]][e.direction];
                    ASSERT_NE(over, NO_PEG);
                    ASSERT_NE(s.occupancy[over], NO_PEG);
                    ASSERT_EQ(NEIGHBOURS[over][e.direction], e.cell);
                }
            }
        }
    }
    // The clicks reached what they were meant to exercise.
    EXPECT_GT(commits, 300);
    EXPECT_GE(longestPath, 4);
}
