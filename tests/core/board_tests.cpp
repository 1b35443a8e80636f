// The board tables: neighbour rule, symmetry, start positions.
#include "core/board.h"
#include "core/notation.h"

#include <gtest/gtest.h>

#include <set>

using namespace vexel;

TEST(Neighbours, SampleRowsMatchTheGeometry) {
    const std::vector<std::pair<int, std::array<int, 6>>> rows = {
        {0, {125, 125, 2, 1, 125, 125}},   {4, {2, 5, 8, 7, 3, 1}},         {6, {3, 7, 15, 14, 125, 125}},
        {10, {125, 11, 23, 125, 125, 125}}, {14, {6, 15, 27, 26, 13, 125}},  {22, {125, 125, 125, 34, 21, 125}},
        {60, {51, 61, 70, 69, 59, 50}},     {98, {86, 99, 125, 125, 125, 125}}, {120, {119, 125, 125, 125, 125, 118}},
    };
    for (const auto& [cell, expected] : rows)
        for (int d = 0; d < 6; ++d) EXPECT_EQ(NEIGHBOURS[cell][d], expected[d]) << "hole " << cell << " direction " << d;
}

TEST(Neighbours, AreSymmetricAndFollowTheRule) {
    const int dx[6] = {1, 2, 1, -1, -2, -1}, drow[6] = {-1, 0, 1, 1, 0, -1};
    for (int c = 0; c < CELL_COUNT; ++c) {
        const CellCoord p = cellCoord(CellIndex(c));
        EXPECT_EQ(cellAt(p.x, p.row), c);
        for (int d = 0; d < 6; ++d) {
            const CellIndex n = NEIGHBOURS[c][d];
            EXPECT_EQ(n, cellAt(p.x + dx[d], p.row + drow[d]));
            if (n != NO_PEG) {
                EXPECT_EQ(NEIGHBOURS[n][(d + 3) % 6], c);
            }
        }
    }
}

TEST(StartCells, PointsAreDisjointAndTargetsOpposite) {
    std::set<int> seen;
    for (int s = 0; s < SEAT_COUNT; ++s)
        for (int k = 0; k < 10; ++k) EXPECT_TRUE(seen.insert(START_CELLS[s][k]).second);
    EXPECT_EQ(seen.size(), 60u);
    // Seat 0's target with 15 pegs: 111..120, then 102..106.
    std::set<int> target(START_CELLS[OPPOSITE_SEAT[0]].begin(), START_CELLS[OPPOSITE_SEAT[0]].end());
    std::set<int> expected;
    for (int c = 111; c <= 120; ++c) expected.insert(c);
    for (int c = 102; c <= 106; ++c) expected.insert(c);
    EXPECT_EQ(target, expected);
    for (int s = 0; s < SEAT_COUNT; ++s) EXPECT_EQ(OPPOSITE_SEAT[OPPOSITE_SEAT[s]], s);
}

TEST(PlayerSlotName, TwentyOneCharactersFitATwentySecondDoesNot) {
    PlayerSlot slot;
    slot.setName("abcdefghijklmnopqrstu");
    EXPECT_EQ(slot.nameBytes(), "abcdefghijklmnopqrstu");
    slot.setName("abcdefghijklmnopqrstuv");
    EXPECT_EQ(slot.nameLength, 21);
    EXPECT_EQ(slot.nameBytes(), "abcdefghijklmnopqrstu");
}

TEST(HoleNames, NameAndParseAgree) {
    struct Row {
        int cell;
        const char* name;
    };
    // The points, the ends of the widest rows and the centre.
    for (const Row& r : {Row{0, "A1"}, Row{9, "D4"}, Row{10, "E1"}, Row{22, "E13"}, Row{60, "I5"}, Row{98, "M1"},
                         Row{110, "M13"}, Row{111, "N1"}, Row{120, "Q1"}}) {
        EXPECT_EQ(holeName(CellIndex(r.cell)), r.name);
        EXPECT_EQ(parseHoleName(r.name), r.cell) << r.name;
    }
    for (int c = 0; c < CELL_COUNT; ++c) EXPECT_EQ(parseHoleName(holeName(CellIndex(c))), c);
    EXPECT_EQ(parseHoleName("e13"), 22);
    for (const char* bad : {"", "A", "A0", "A2", "E14", "E05", "R1", "I5 ", "5I", "I-1", "Q12"})
        EXPECT_EQ(parseHoleName(bad), NO_PEG) << bad;
    EXPECT_EQ(holeName(NO_PEG), "");
}
