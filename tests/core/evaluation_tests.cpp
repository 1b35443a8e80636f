// The value table, the phase tests and the arithmetic of the level rules.
#include "core/board.h"
#include "core/evaluation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace vexel;

namespace {

// A sixth of a turn clockwise about the centre, from the geometry alone: in
// cube coordinates of the hexagonal grid the turn is (q, r, s) -> (-r, -s, -q).
CellIndex turnedClockwise(CellIndex cell) {
    const CellCoord p = cellCoord(cell);
    const int y = p.row - 8;
    const int q = (p.x - y) / 2, r = y, s = -q - r;
    const int q2 = -r, r2 = -s;
    return cellAt(2 * q2 + r2, r2 + 8);
}

// A state where seat `seat` has its pegs on `cells` and nothing else stands.
GameState stateWith(Seat seat, int pegsPerPlayer, const std::vector<int>& cells) {
    GameState s;
    s.gameRunning = true;
    s.pegsPerPlayer = std::uint8_t(pegsPerPlayer);
    s.currentPlayer = seat;
    for (std::size_t k = 0; k < cells.size(); ++k) {
        s.pegs[seat][k].cell = CellIndex(cells[k]);
        s.occupancy[cells[k]] = seat;
    }
    return s;
}

// The first `onTarget` target holes and then the first free holes of the
// seat's own point, counted from its tip.
std::vector<int> cellsWith(Seat seat, int pegsPerPlayer, int onTarget, int atHome) {
    std::vector<int> cells;
    for (int i = 0; i < onTarget; ++i) cells.push_back(START_CELLS[OPPOSITE_SEAT[seat]][i]);
    for (int i = 0; i < atHome; ++i) cells.push_back(START_CELLS[seat][i]);
    // The rest on holes of no seat's start table, neither home nor target of anyone.
    for (int c = 0; int(cells.size()) < pegsPerPlayer; ++c) {
        bool inSomePoint = false;
        for (const auto& row : START_CELLS) inSomePoint |= std::find(row.begin(), row.end(), c) != row.end();
        if (!inSomePoint) cells.push_back(c);
    }
    return cells;
}

}  // namespace

TEST(SeatValues, SeatZeroRowSamples) {
    const std::vector<std::pair<int, int>> samples = {
        {0, -700}, {1, 100}, {9, 700}, {10, 300}, {14, 900}, {60, 1550}, {86, 1000}, {97, 1100},
        {98, 800}, {102, 1900}, {111, 1950}, {117, 2000}, {119, 2050}, {120, 2200}, {34, 350},
    };
    for (const auto& [cell, value] : samples) EXPECT_EQ(SEAT_VALUES[0][cell], value) << "hole " << cell;
}

TEST(SeatValues, EachRowIsTheRowBeforeTurnedASixth) {
    for (int seat = 0; seat + 1 < SEAT_COUNT; ++seat)
        for (int h = 0; h < CELL_COUNT; ++h) {
            ASSERT_EQ(SEAT_VALUES[seat + 1][turnedClockwise(CellIndex(h))], SEAT_VALUES[seat][h]) << "seat " << seat + 1 << " hole " << h;
        }
    EXPECT_EQ(SEAT_VALUES[1][22], -700);
    EXPECT_EQ(SEAT_VALUES[1][98], 2200);
}

TEST(SeatValues, TargetHolesHoldTheHighestValuesOfEveryRow) {
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        const auto& target = START_CELLS[OPPOSITE_SEAT[seat]];
        const auto& row = SEAT_VALUES[seat];
        std::vector<bool> isPoint(CELL_COUNT), isExtra(CELL_COUNT);
        for (int i = 0; i < 10; ++i) isPoint[target[i]] = true;
        for (int i = 10; i < 15; ++i) isExtra[target[i]] = true;
        int lowestOnPoint = 1 << 30, highestElsewhere = -(1 << 30);
        for (int h = 0; h < CELL_COUNT; ++h) {
            if (isPoint[h]) lowestOnPoint = std::min(lowestOnPoint, row[h]);
            if (isExtra[h]) {
                EXPECT_EQ(row[h], 1900) << "seat " << seat << " hole " << h;
            }
            if (!isPoint[h] && !isExtra[h]) highestElsewhere = std::max(highestElsewhere, row[h]);
        }
        EXPECT_GT(lowestOnPoint, 1900) << "seat " << seat;
        EXPECT_LT(highestElsewhere, 1900) << "seat " << seat;
        // The tip of the home point is the worst hole of all.
        EXPECT_EQ(row[START_CELLS[seat][0]], -700);
    }
}

TEST(PerfectTotal, AllPegsOnTheTarget) {
    EXPECT_EQ(perfectTotal(15), 29600);
    EXPECT_EQ(perfectTotal(10), 20100);
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        for (int pegs : {10, 15}) {
            const GameState s = stateWith(Seat(seat), pegs, cellsWith(Seat(seat), pegs, pegs, 0));
            EXPECT_EQ(positionValue(s), perfectTotal(pegs)) << "seat " << seat;
        }
    }
}

TEST(PositionValue, SumsTheRowOverThePegsOfTheSeatToMove) {
    GameState s = stateWith(2, 10, cellsWith(2, 10, 0, 10));
    std::int32_t expected = 0;
    for (int k = 0; k < 10; ++k) expected += SEAT_VALUES[2][START_CELLS[2][k]];
    EXPECT_EQ(positionValue(s), expected);
    // Only the pegs count: another seat's peg in the way changes nothing.
    s.occupancy[60] = 4;
    EXPECT_EQ(positionValue(s), expected);
}

TEST(Phase, EndPhaseFromElevenOfFifteenOrSevenOfTen) {
    struct Case {
        int pegs, onTarget;
        bool endPhase;
    };
    const Case cases[] = {{15, 11, true}, {15, 10, false}, {15, 15, true}, {10, 7, true}, {10, 6, false}, {10, 0, false}};
    for (const Case& c : cases) {
        for (int seat = 0; seat < SEAT_COUNT; ++seat) {
            const GameState s = stateWith(Seat(seat), c.pegs, cellsWith(Seat(seat), c.pegs, c.onTarget, 0));
            EXPECT_EQ(pegsOnTarget(s), c.onTarget);
            EXPECT_EQ(isEndPhase(s), c.endPhase) << c.onTarget << " of " << c.pegs << ", seat " << seat;
        }
    }
}

TEST(Phase, OpeningWhileAtMostOnePegHasLeftHomeWithThreeSeatsOrFewer) {
    struct Case {
        int pegs, atHome, takingPart;
        bool opening;
    };
    const Case cases[] = {
        {15, 15, 2, true}, {15, 14, 3, true}, {15, 13, 2, false}, {15, 15, 4, false},
        {10, 9, 3, true},  {10, 8, 2, false}, {10, 10, 6, false},
    };
    for (const Case& c : cases) {
        const GameState s = stateWith(1, c.pegs, cellsWith(1, c.pegs, 0, c.atHome));
        EXPECT_EQ(pegsAtHome(s), c.atHome);
        EXPECT_EQ(isOpening(s, c.takingPart), c.opening) << c.atHome << " of " << c.pegs << " home, " << c.takingPart << " seats";
    }
}

TEST(LevelRule, PassesByLevelAndPhase) {
    struct Case {
        int level;
        bool endPhase, opening;
        Scoring expected;
    };
    const Case cases[] = {
        {0, false, false, Scoring::ReplyAndLookAhead1}, {0, false, true, Scoring::LookAhead2}, {0, true, false, Scoring::LookAhead2},
        {1, false, false, Scoring::Reply},              {1, false, true, Scoring::LookAhead2}, {1, true, true, Scoring::LookAhead2},
        {2, false, false, Scoring::Plain},              {2, false, true, Scoring::Plain},      {2, true, false, Scoring::LookAhead2},
        // A level out of range, as a foreign settings file might hold, is the weakest.
        {7, false, true, Scoring::Plain},               {255, true, false, Scoring::LookAhead2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(levelRule(c.level, c.endPhase, c.opening), c.expected) << "level " << c.level << " end " << c.endPhase << " opening " << c.opening;
}

TEST(Nearest, HalvesGoToTheEvenNeighbour) {
    const std::pair<double, int> cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {3.5, 4}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2},
                                            {2.4, 2}, {2.6, 3}, {-2.6, -3}, {6553.6, 6554}, {0.0, 0}};
    for (const auto& [x, expected] : cases) EXPECT_EQ(nearest(x), expected) << x;
}

TEST(ReplyScore, ShareOfTheReplyGainByNumberOfSeats) {
    struct Case {
        std::int32_t gain;
        int takingPart;
        std::int32_t subtracted;
    };
    const Case cases[] = {
        {3, 2, 3},  {3, 3, 2},  {5, 3, 2},  {7, 3, 4},  {500, 6, 100}, {300, 4, 100},
        // No jump for the next seat: the term turns into a bonus.
        {NO_REPLY, 2, -32768}, {NO_REPLY, 6, -6554}, {NO_REPLY, 3, -16384},
        // One seat alone, or none: nobody replies, and nothing divides by zero.
        {400, 1, 0}, {NO_REPLY, 1, 0}, {400, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(replyScore(15000, 14000, c.gain, c.takingPart), 1000 - c.subtracted) << "gain " << c.gain << " seats " << c.takingPart;
}

TEST(LookAheadBonus, DepthOneAndDepthTwo) {
    EXPECT_EQ(lookAheadBonus1(900, 3), 150);
    EXPECT_EQ(lookAheadBonus1(900, 2), 225);
    EXPECT_EQ(lookAheadBonus1(899, 6), 74);  // integer division
    EXPECT_EQ(lookAheadBonus1(0, 4), 0);
    EXPECT_EQ(lookAheadBonus1(900, 0), 450);  // no seat counted: as if one
    EXPECT_EQ(lookAheadBonus2(900, 1500), 1260);
    EXPECT_EQ(lookAheadBonus2(0, 0), 0);
    EXPECT_EQ(lookAheadBonus2(50, 0), 30);
    // nearest(0.8 * 50) = 40, (40 + 50) * 0.6 = 54
    EXPECT_EQ(lookAheadBonus2(50, 50), 54);
    // nearest(0.8 * 7) = 6, (6 + 3) * 0.6 = 5.4
    EXPECT_EQ(lookAheadBonus2(3, 7), 5);
}
