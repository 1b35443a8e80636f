// The keyboard cursor: how the arrows walk it over the board, what Space and
// Enter feed into the move input, and when keys are not taken at all.
#include "test_table.h"

using namespace vexel;
using namespace vexel::testing;

namespace {

constexpr auto H = PlayerKind::Human;

// Seat 0 to move against seat 3, ten pegs each, with the cursor shown on `cursor`.
struct KeyTable : TestTable {
    explicit KeyTable(int cursor = CENTRE_CELL, bool show = true) : TestTable({{0, H}, {3, H}}, 1, true) {
        startWithTurn(0);
        state().keyboardCursor[0] = CellIndex(cursor);
        if (show) game.pressKey(CursorKey::Space);
    }
    int cursor() { return state().keyboardCursor[state().currentPlayer]; }
    void press(std::initializer_list<CursorKey> keys) {
        for (CursorKey k : keys) game.pressKey(k);
    }
};

}  // namespace

TEST(KeyboardCursor, FirstKeyShowsTheCursorWhereItIsWithoutMoving) {
    for (CursorKey key : {CursorKey::Left, CursorKey::Up, CursorKey::Right, CursorKey::Down, CursorKey::Space}) {
        KeyTable t(CENTRE_CELL, false);
        t.game.pressKey(key);
        EXPECT_TRUE(t.state().keyboardCursorShown);
        EXPECT_EQ(t.cursor(), 60);
        EXPECT_EQ(cursorMarkedHoles(t.view), std::vector<int>{60});
        EXPECT_EQ(t.state().movePathLength, 0);  // Space only showed it
        EXPECT_FALSE(t.state().nextVerticalLeft);
    }
}

TEST(KeyboardCursor, UpAndDownAlternateDiagonalsAndWalkStraight) {
    KeyTable t;
    std::vector<int> walk;
    for (int i = 0; i < 3; ++i) {
        t.game.pressKey(CursorKey::Up);
        walk.push_back(t.cursor());
    }
    EXPECT_EQ(walk, (std::vector<int>{51, 40, 29}));
    EXPECT_EQ(cursorMarkedHoles(t.view), std::vector<int>{29});
    EXPECT_TRUE(t.state().nextVerticalLeft);  // the last step was up-right

    // Away from the edges Down retraces Up.
    t.press({CursorKey::Down, CursorKey::Down, CursorKey::Down});
    EXPECT_EQ(t.cursor(), 60);
    EXPECT_EQ(cursorMarkedHoles(t.view), std::vector<int>{60});
}

TEST(KeyboardCursor, EdgesKeepTheCursorAndSteerTheDiagonal) {
    struct Case {
        int from;
        bool leftBefore;
        CursorKey key;
        int to;
        bool leftAfter;
    };
    const Case cases[] = {
        {0, true, CursorKey::Up, 0, false},       // nothing above the top point
        {0, false, CursorKey::Left, 0, false},
        {0, false, CursorKey::Right, 0, false},
        {22, false, CursorKey::Down, 34, false},  // only down-left exists at the row's end
        {10, true, CursorKey::Down, 23, true},    // only down-right at the left end
        {120, false, CursorKey::Down, 120, false},
        {120, false, CursorKey::Up, 119, true},
        {59, true, CursorKey::Left, 58, true},    // sideways leaves the diagonal alone
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "from " << c.from);
        KeyTable t(c.from);
        t.state().nextVerticalLeft = c.leftBefore;
        t.game.pressKey(c.key);
        EXPECT_EQ(t.cursor(), c.to);
        EXPECT_EQ(t.state().nextVerticalLeft, c.leftAfter);
        EXPECT_EQ(cursorMarkedHoles(t.view), std::vector<int>{c.to});
    }
}

TEST(KeyboardCursor, SpaceChoosesLikeAClickButNeverCommits) {
    KeyTable t(9);
    t.game.pressKey(CursorKey::Space);  // own peg on 9
    EXPECT_EQ(pathHoles(t.state()), std::vector<int>{9});
    t.press({CursorKey::Left, CursorKey::Space});  // another own peg: selected afresh
    EXPECT_EQ(pathHoles(t.state()), std::vector<int>{8});
    t.press({CursorKey::Down});
    ASSERT_EQ(t.cursor(), 17);
    t.game.pressKey(CursorKey::Space);
    EXPECT_EQ(pathHoles(t.state()), (std::vector<int>{8, 17}));
    t.game.pressKey(CursorKey::Space);
    EXPECT_FALSE(t.state().moveInProgress);
    EXPECT_EQ(markedHoles(t.view), (std::vector<int>{8, 17}));
    EXPECT_EQ(cursorMarkedHoles(t.view), std::vector<int>{17});
}

TEST(KeyboardCursor, EnterAddsAnEmptyHoleAndCommitsACompletePath) {
    struct Case {
        const char* name;
        std::vector<int> clicks;  // entered by mouse first
        int cursor;
        bool shown;
        bool commits;
        std::vector<int> path;  // the path after Enter (hops committed, or entries entered)
    };
    const Case cases[] = {
        {"empty step target", {9}, 18, true, true, {9, 18}},
        {"own peg under the cursor, path complete", {9, 18}, 8, true, true, {9, 18}},
        {"cursor hidden, path complete", {9, 18}, 60, false, true, {9, 18}},
        {"nothing selected", {}, 18, true, false, {}},
        {"only a peg selected, cursor on a peg", {9}, 8, true, false, {9}},
        {"only a peg selected, cursor on no step", {9}, 60, true, false, {9}},
        {"cursor hidden, only a peg selected", {9}, 18, false, false, {9}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestTable t({{0, H}, {3, H}}, 1, true);
        t.startWithTurn(0);
        for (int h : c.clicks) t.game.clickHole(CellIndex(h));
        t.state().keyboardCursor[0] = CellIndex(c.cursor);
        if (c.shown) t.game.pressKey(CursorKey::Space);
        t.game.pressKey(CursorKey::Enter);
        const GameState& s = t.state();
        EXPECT_EQ(s.moveInProgress, c.commits);
        if (c.commits) {
            EXPECT_EQ(s.movePathLength, c.path.size() - 1);
            EXPECT_EQ(s.movePath[s.movePathLength].cell, c.path.back());
            EXPECT_FALSE(s.keyboardCursorShown);
            EXPECT_TRUE(cursorMarkedHoles(t.view).empty());
            EXPECT_TRUE(markedHoles(t.view).empty());
        } else {
            EXPECT_EQ(pathHoles(s), c.path);
        }
    }
}

TEST(KeyboardCursor, KeysAreIgnoredWhenTheBoardTakesNoInput) {
    struct Case {
        const char* when;
        void (*arrange)(KeyTable&);
    };
    const Case cases[] = {
        {"a move is shown", [](KeyTable& t) {
             t.setPosition({{0, {60}}, {3, {61}}});
             for (int h : {60, 62, 62}) t.game.clickHole(CellIndex(h));
         }},
        {"a computer is to move", [](KeyTable& t) { t.game.startComputerTurn(); }},
        {"no game runs", [](KeyTable& t) { t.game.endGame(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.when);
        KeyTable t(CENTRE_CELL, false);
        c.arrange(t);
        const auto path = pathHoles(t.state());
        const bool moving = t.state().moveInProgress;
        t.press({CursorKey::Space, CursorKey::Up, CursorKey::Left, CursorKey::Right, CursorKey::Down, CursorKey::Enter});
        EXPECT_FALSE(t.state().keyboardCursorShown);
        EXPECT_TRUE(cursorMarkedHoles(t.view).empty());
        EXPECT_EQ(t.cursor(), 60);
        EXPECT_EQ(pathHoles(t.state()), path);
        EXPECT_EQ(t.state().moveInProgress, moving);
    }
}

TEST(KeyboardCursor, EachSeatKeepsItsCursorFromTurnToTurn) {
    KeyTable t(9);
    t.game.pressKey(CursorKey::Space);
    t.press({CursorKey::Down, CursorKey::Enter});  // 9 -> 18 by keyboard
    ASSERT_TRUE(t.state().moveInProgress);
    t.game.completeMove();
    ASSERT_EQ(t.state().currentPlayer, 3);
    t.game.pressKey(CursorKey::Left);
    EXPECT_EQ(t.cursor(), 60);  // seat 3's own cursor, shown afresh
    t.game.pressKey(CursorKey::Left);
    t.playAnyStep();
    EXPECT_EQ(t.state().keyboardCursor[0], 18);
    EXPECT_EQ(t.state().keyboardCursor[3], 59);
    t.game.pressKey(CursorKey::Up);
    EXPECT_EQ(t.cursor(), 18);
}
