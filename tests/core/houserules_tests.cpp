// The house rules: long jumps and the swap in the target, as the hole-choice
// takes them, as the move completion carries them out, and as every computer
// level lists them.
#include "core/moves.h"
#include "core/search.h"
#include "core/strongboard.h"
#include "test_table.h"

#include <algorithm>
#include <random>
#include <set>

using namespace vexel;
using namespace vexel::testing;

namespace {

constexpr auto H = PlayerKind::Human;

// The hole at (x, row), for laying out lines without counting holes.
int at(int x, int row) { return cellAt(x, row); }

struct RulesTable : TestTable {
    explicit RulesTable(HouseRules rules, std::vector<SeatSetup> seats = {{0, H}, {3, H}}) : TestTable(seats, 1, true) {
        settings.rules = rules;
        startWithTurn(0);
    }
};

constexpr HouseRules CLASSIC{};
constexpr HouseRules LONG{true, false};
constexpr HouseRules SWAP{false, true};
constexpr HouseRules BOTH{true, true};

}  // namespace

// Along row E (holes 10..22, left to right) seat 0 jumps from `from` to `to`
// over the pegs of seat 3 on `others`.
TEST(HouseRules, LongJumpCases) {
    struct Case {
        const char* what;
        HouseRules rules;
        int from;
        std::vector<int> others;
        int to;
        bool taken;
    };
    const Case cases[] = {
        {"k = 0, the classic jump", LONG, 10, {11}, 12, true},
        {"k = 1", LONG, 10, {12}, 14, true},
        {"k = 2", LONG, 10, {13}, 16, true},
        {"k = 3", LONG, 10, {14}, 18, true},
        {"k = 1 by the classic rules", CLASSIC, 10, {12}, 14, false},
        {"k = 1 with swaps only", SWAP, 10, {12}, 14, false},
        {"a peg in a hole between behind the jumped peg", LONG, 10, {13, 15}, 16, false},
        {"a peg in a hole between before the jumped peg", LONG, 10, {11, 13}, 16, false},
        {"two pegs side by side are no jump", LONG, 10, {12, 13}, 14, false},
        {"too short for the gap", LONG, 10, {12}, 13, false},
        {"a peg behind the landing does not matter", LONG, 10, {12, 15}, 14, true},
        {"the landing itself holds a peg", LONG, 10, {12, 14}, 14, false},
        {"k = 2 up to the board's edge", LONG, 16, {19}, 22, true},
        {"k = 3 would land beyond the edge", LONG, 16, {20}, 22, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RulesTable t(c.rules);
        t.setPosition({{0, {c.from}}, {3, c.others}});
        t.game.chooseHole(CellIndex(c.from));
        t.game.chooseHole(CellIndex(c.to));
        const std::vector<int> expected = c.taken ? std::vector<int>{c.from, c.to} : std::vector<int>{c.from};
        EXPECT_EQ(pathHoles(t.state()), expected);
        EXPECT_EQ(markedHoles(t.view).size(), c.taken ? 2u : 1u);
    }
}

TEST(HouseRules, ALongJumpChainMixesGapsCutsBackAndCommits) {
    RulesTable t(LONG);
    // 10 over 12 onto 14 (k = 1), over 15 onto 16 (k = 0), over 19 onto 22 (k = 2).
    t.setPosition({{0, {10}}, {3, {12, 15, 19}}});
    for (int h : {10, 14, 16, 22}) t.game.clickHole(CellIndex(h));
    EXPECT_EQ(pathHoles(t.state()), (std::vector<int>{10, 14, 16, 22}));
    // Back over 12 would land on the start, which the moving peg still holds.
    t.game.clickHole(14);
    EXPECT_EQ(pathHoles(t.state()), (std::vector<int>{10, 14}));
    t.game.clickHole(10 + 0);  // the own peg again: the bare selection
    EXPECT_EQ(pathHoles(t.state()), std::vector<int>{10});
    for (int h : {14, 16, 22, 22}) t.game.clickHole(CellIndex(h));
    ASSERT_TRUE(t.state().moveInProgress);
    EXPECT_EQ(t.state().movePathLength, 3);
    t.game.completeMove();
    EXPECT_EQ(t.state().occupancy[22], 0);
    EXPECT_EQ(t.state().occupancy[10], NO_PEG);
}

// Seat 0's target is seat 3's home, rows N to Q (holes 111..120).
TEST(HouseRules, SwapCases) {
    const int m7 = at(0, 12), n2 = at(-1, 13), n3 = at(1, 13), o2 = at(0, 14);
    const int k7 = at(0, 10), l8 = at(1, 11), m8 = at(2, 12), m6 = at(-2, 12);
    const int m5 = at(-4, 12), o1 = at(-2, 14), q1 = at(0, 16);
    struct Case {
        const char* what;
        HouseRules rules;
        std::vector<std::pair<int, std::vector<int>>> position;
        std::vector<int> clicks;  // the peg, then each hole chosen
        std::vector<int> path;    // the path that stands
        int swappedPeg;           // seat 3's peg that goes to the start, or -1
    };
    const Case cases[] = {
        {"a step onto the home seat's peg in the own target", SWAP, {{0, {m7}}, {3, {n3}}}, {m7, n3}, {m7, n3}, 0},
        {"the same by the classic rules", CLASSIC, {{0, {m7}}, {3, {n3}}}, {m7, n3}, {m7}, -1},
        {"a passing peg of a third seat stays", SWAP, {{0, {m7}}, {3, {n2}}, {4, {n3}}}, {m7, n3}, {m7}, -1},
        {"the home seat's peg outside its home stays", SWAP, {{0, {k7}}, {3, {l8}}}, {k7, l8}, {k7}, -1},
        {"a swap at the end of a chain", SWAP, {{0, {k7}}, {3, {l8, n3, o2}}}, {k7, m8, o2}, {k7, m8, o2}, 2},
        {"no swap at a middle landing: nothing jumps on from it", SWAP, {{0, {k7}}, {3, {l8, n3, o2, n2}}},
         {k7, m8, o2, m6}, {k7, m8, o2}, 2},
        {"a long jump ending in a swap", BOTH, {{0, {m5}}, {3, {o1, q1}}}, {m5, q1}, {m5, q1}, 1},
        {"the long jump without the swap rule", LONG, {{0, {m5}}, {3, {o1, q1}}}, {m5, q1}, {m5}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RulesTable t(c.rules);
        t.setPosition(c.position);
        for (int h : c.clicks) t.game.clickHole(CellIndex(h));
        EXPECT_EQ(pathHoles(t.state()), c.path);
        if (c.path.size() < 2) continue;
        const int end = c.path.back(), start = c.path.front();
        t.game.clickHole(CellIndex(end));  // a second click on the last hole commits
        ASSERT_TRUE(t.state().moveInProgress);
        t.game.completeMove();
        EXPECT_EQ(t.state().occupancy[end], 0);
        EXPECT_EQ(t.state().pegs[0][0].cell, end);
        ASSERT_GE(c.swappedPeg, 0);
        EXPECT_EQ(t.state().occupancy[start], 3);
        EXPECT_EQ(t.state().pegs[3][c.swappedPeg].cell, start);
    }
}

namespace {

using MoveSet = std::set<std::pair<int, int>>;  // (peg, final hole)

// Every move seat 0 can enter by clicks: each path the hole-choice takes,
// walked depth first by trying every hole after every path.
void walkPaths(RulesTable& t, std::vector<int>& path, int peg, MoveSet& found) {
    GameState& s = t.state();
    const auto reenter = [&] {
        for (int h : path) t.game.chooseHole(CellIndex(h));
    };
    for (int h = 0; h < CELL_COUNT; ++h) {
        const std::size_t before = s.movePathLength;
        t.game.chooseHole(CellIndex(h));
        if (s.movePathLength > before) {
            found.insert({peg, h});
            path.push_back(h);
            walkPaths(t, path, peg, found);
            path.pop_back();
        }
        if (s.movePathLength != path.size() || s.pathEnd() != path.back()) reenter();
    }
}

// Enters a listed move by clicks; true when the path stands as listed.
bool enters(RulesTable& t, int peg, const CandidateMove& m) {
    GameState& s = t.state();
    t.game.chooseHole(s.pegs[0][peg].cell);
    for (int i = 0; i <= m.lastLanding; ++i) t.game.chooseHole(m.landings[std::size_t(i)]);
    return s.movePathLength == m.lastLanding + 2 && s.pathEnd() == m.finalHole();
}

}  // namespace

// The three ways moves are listed agree under every rule set: the clicks a
// player may make, the original levels' candidates and the strongest level's
// moves, each of which enters by clicks as listed; the strongest level's
// board makes and unmakes every move, swaps included, exactly.
TEST(HouseRules, EveryMoveListAgreesWithTheHoleChoice) {
    std::mt19937 rng(31);
    for (const HouseRules rules : {LONG, SWAP, BOTH}) {
        int swaps = 0, longHops = 0;  // the positions must show what the rules add
        for (int round = 0; round < 12; ++round) {
            SCOPED_TRACE(::testing::Message() << "long " << rules.longJumps << " swap " << rules.swapInTarget << " round " << round);
            RulesTable t(rules);
            t.settings.playerSettings[0].level = 0;
            // Seat 3 keeps a few pegs at home in seat 0's target, so that there is something to swap.
            std::vector<int> holes;
            for (int h = 0; h < CELL_COUNT; ++h) holes.push_back(h);
            std::shuffle(holes.begin(), holes.end(), rng);
            std::vector<int> own(holes.begin(), holes.begin() + 10), other;
            for (int h : START_CELLS[3]) {
                if (other.size() < 4 && std::find(own.begin(), own.end(), h) == own.end()) other.push_back(h);
            }
            for (auto it = holes.begin() + 10; other.size() < 10; ++it)
                if (std::find(other.begin(), other.end(), *it) == other.end()) other.push_back(*it);
            t.setPosition({{0, own}, {3, other}});
            const GameState before = t.state();

            MoveSet clicked;
            for (int peg = 0; peg < 10; ++peg) {
                std::vector<int> path{before.pegs[0][peg].cell};
                t.game.chooseHole(CellIndex(path[0]));
                walkPaths(t, path, peg, clicked);
            }

            MoveSet original;
            ASSERT_TRUE(t.game.computer().searchComputerMove());
            std::vector<CandidateMove> listed;
            for (const CandidateMove* c : t.game.computer().candidates()) listed.push_back(*c);
            t.game.computer().releaseCandidates();
            for (const CandidateMove& c : listed) {
                original.insert({c.pegIndex, c.finalHole()});
                EXPECT_TRUE(enters(t, c.pegIndex, c));
            }
            EXPECT_EQ(original, clicked);

            strong::Board board;
            board.load(t.state());
            std::vector<CandidateMove> roots;
            strong::rootMoves(board, 0, roots);
            MoveSet strongest;
            for (const CandidateMove& c : roots) {
                EXPECT_TRUE(strongest.insert({c.pegIndex, c.finalHole()}).second) << "listed twice";
                swaps += before.occupancy[c.finalHole()] != NO_PEG;
                for (int i = 0; i <= c.lastLanding; ++i) {
                    const CellIndex a = i == 0 ? before.pegs[0][c.pegIndex].cell : c.landings[std::size_t(i - 1)];
                    bool near = false;
                    for (int d = 0; d < DIRECTION_COUNT; ++d)
                        near = near || NEIGHBOURS[a][d] == c.landings[std::size_t(i)] || jumpLanding(a, d) == c.landings[std::size_t(i)];
                    longHops += !near;
                }
                EXPECT_TRUE(enters(t, c.pegIndex, c));
                const strong::Move m{before.pegs[0][c.pegIndex].cell, c.finalHole(), c.pegIndex, 0, 0};
                const strong::Board kept = board;
                board.make(m);
                // As the game has it after the move.
                GameState after = before;
                const Seat swapped = after.occupancy[m.to];
                after.occupancy[m.from] = swapped;
                if (swapped != NO_PEG)
                    for (auto& p : after.pegs[swapped])
                        if (p.cell == m.to) p.cell = m.from;
                after.occupancy[m.to] = 0;
                after.pegs[0][c.pegIndex].cell = m.to;
                strong::Board expected;
                expected.load(after);
                EXPECT_EQ(board.occupancy, expected.occupancy);
                EXPECT_EQ(board.pegs, expected.pegs);
                EXPECT_EQ(board.distanceSum, expected.distanceSum);
                EXPECT_EQ(board.key, expected.key);
                board.unmake(m);
                EXPECT_EQ(board.occupancy, kept.occupancy);
                EXPECT_EQ(board.pegs, kept.pegs);
                EXPECT_EQ(board.key, kept.key);
            }
            EXPECT_EQ(strongest, clicked);
            // Nothing of the listing changed the game.
            EXPECT_EQ(t.state().occupancy, before.occupancy);
        }
        EXPECT_EQ(swaps > 0, rules.swapInTarget);
        EXPECT_EQ(longHops > 0, rules.longJumps);
    }
}
