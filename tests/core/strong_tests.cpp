// The strongest level: what its ranking hands to the game (every legal move,
// each with landings a human could enter, the choice last), that it is a pure
// function of the position, that a stop flag ends it, and that the loop rule
// of computer seats holds for it too.
#include "core/board.h"
#include "core/computer.h"
#include "core/game.h"
#include "core/headlessview.h"
#include "core/strongboard.h"
#include "core/strongsearch.h"

#include "test_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <set>
#include <tuple>
#include <vector>

using namespace vexel;
using vexel::testing::computerSeats;

namespace {

// Plays a fixed game through the real flow and calls `atSearch` before each
// computer turn with the position to search; stops when it returns false,
// when the game ends or after `turns` turns. Returns the moves made, as
// (seat, peg, final hole).
using Played = std::vector<std::tuple<int, int, int>>;
Played playGame(Settings settings, std::uint64_t seed, int turns, const std::function<bool(const GameState&)>& atSearch) {
    HeadlessView view;
    Random random(seed);
    Game game(settings, view, random);
    game.newGame();
    Played played;
    GameState& s = game.state();
    while (s.gameRunning && int(played.size()) < turns) {
        if (s.moveInProgress) {
            game.completeMove();
        } else if (s.computerToMove && s.computerPhase == 0) {
            if (!atSearch(s)) break;
            game.computerTurnStep();
            if (s.computerPhase == 1) {
                const CandidateMove& m = game.computer().chosen();
                played.emplace_back(s.currentPlayer, m.pegIndex, m.finalHole());
            }
        } else {
            game.computerTurnStep();
        }
    }
    return played;
}

// Positions along a fixed game of the original levels, some crowded.
std::vector<GameState> positionsOf(const Settings& settings, std::uint64_t seed, int every, int turns) {
    std::vector<GameState> found;
    int turn = 0;
    playGame(settings, seed, turns, [&](const GameState& s) {
        if (turn++ % every == 0) found.push_back(s);
        return true;
    });
    return found;
}

std::set<std::pair<int, int>> legalMoves(const GameState& s, const Settings& settings) {
    GameState copy = s;
    copy.players[s.currentPlayer].kind = PlayerKind::Human;  // notes nothing
    Settings original = settings;
    original.playerSettings[s.currentPlayer].level = 0;
    Random random(1);
    ComputerPlayer player(copy, original, random);
    std::set<std::pair<int, int>> moves;
    if (player.searchComputerMove())
        for (const CandidateMove* m : player.candidates()) moves.emplace(m->pegIndex, m->finalHole());
    return moves;
}

// Each landing must be a jump over an occupied hole onto an empty one, from
// the hole before, with the moving peg still on its start hole.
bool landingsCanBeEntered(const GameState& s, const CandidateMove& m) {
    const CellIndex start = s.pegs[s.currentPlayer][m.pegIndex].cell;
    if (m.lastLanding == 0)
        for (int d = 0; d < DIRECTION_COUNT; ++d)
            if (NEIGHBOURS[start][d] == m.landings[0]) return s.occupancy[m.landings[0]] == NO_PEG;
    CellIndex from = start;
    std::set<CellIndex> seen{start};
    for (int i = 0; i <= m.lastLanding; ++i) {
        bool found = false;
        for (int d = 0; d < DIRECTION_COUNT && !found; ++d) found = openJump(s.occupancy, from, d) == m.landings[std::size_t(i)];
        if (!found || !seen.insert(m.landings[std::size_t(i)]).second) return false;
        from = m.landings[std::size_t(i)];
    }
    return true;
}

}  // namespace

TEST(StrongSearch, RanksEveryLegalMoveOnceWithLandingsThatCanBeEntered) {
    const Settings settings[] = {computerSeats({{0, 0}, {3, 0}}), computerSeats({{0, 0}, {2, 1}, {4, 2}}),
                                 computerSeats({{0, 0}, {1, 1}, {2, 2}, {3, 0}, {4, 1}, {5, 2}})};
    StrongBudget small;
    small.nodes = 3000;
    for (const Settings& setting : settings) {
        for (const GameState& s : positionsOf(setting, 7, 23, 240)) {
            std::vector<CandidateMove> ranked;
            ASSERT_TRUE(searchStrongMove(s, setting, ranked, nullptr, small));
            std::set<std::pair<int, int>> listed;
            for (const CandidateMove& m : ranked) {
                EXPECT_TRUE(listed.emplace(m.pegIndex, m.finalHole()).second) << "listed twice, move " << s.moveNumber;
                EXPECT_TRUE(landingsCanBeEntered(s, m)) << "peg " << int(m.pegIndex) << " to " << int(m.finalHole());
            }
            EXPECT_EQ(listed, legalMoves(s, setting)) << "move " << s.moveNumber << ", seat " << int(s.currentPlayer);
        }
    }
}

TEST(StrongSearch, TakesAWinningMoveAndIsTheSameTwice) {
    // Seat 0 has nine pegs home and the tenth one jump from its hole.
    GameState s;
    const Settings settings = computerSeats({{0, 3}, {3, 0}}, true);
    s.players = settings.playerSettings;
    s.pegsPerPlayer = 10;
    s.gameRunning = true;
    const int seat0[] = {120, 119, 118, 117, 116, 115, 114, 113, 112, 91};  // 91 jumps over 103 onto 111
    const int seat3[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 103};
    for (int k = 0; k < 10; ++k) {
        s.pegs[0][k].cell = CellIndex(seat0[k]);
        s.occupancy[seat0[k]] = 0;
        s.pegs[3][k].cell = CellIndex(seat3[k]);
        s.occupancy[seat3[k]] = 3;
    }
    std::vector<CandidateMove> first, second;
    ASSERT_TRUE(searchStrongMove(s, settings, first));
    ASSERT_TRUE(searchStrongMove(s, settings, second));
    EXPECT_EQ(first.back().finalHole(), 111);
    ASSERT_EQ(first.size(), second.size());
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].pegIndex, second[i].pegIndex) << i;
        EXPECT_EQ(first[i].finalHole(), second[i].finalHole()) << i;
    }
}

TEST(StrongSearch, AStopFlagSetBeforeTheSearchEndsItEmpty) {
    const Settings settings = computerSeats({{0, 3}, {3, 0}});
    const std::vector<GameState> positions = positionsOf(settings, 3, 1, 1);
    ASSERT_FALSE(positions.empty());
    std::atomic<bool> stop{true};
    std::vector<CandidateMove> ranked(3);
    EXPECT_FALSE(searchStrongMove(positions.front(), settings, ranked, &stop));
    EXPECT_TRUE(ranked.empty());
    stop = false;
    EXPECT_TRUE(searchStrongMove(positions.front(), settings, ranked, &stop));
    EXPECT_FALSE(ranked.empty());
}

TEST(StrongSearch, AGameWithAStrongSeatIsTheSameTwice) {
    // Two seats, and six, where the race round lists each opponent's moves anew.
    const Settings settings[] = {computerSeats({{0, 3}, {3, 0}}, true),
                                 computerSeats({{0, 0}, {1, 0}, {2, 3}, {3, 0}, {4, 0}, {5, 0}}, true)};
    const auto always = [](const GameState&) { return true; };
    for (const Settings& setting : settings) {
        const Played first = playGame(setting, 11, 24, always);
        EXPECT_EQ(first.size(), 24u);
        EXPECT_EQ(playGame(setting, 11, 24, always), first);
    }
}

TEST(StrongSearch, AStrongSeatDoesNotGoBackToAPositionOfItsOwn) {
    // The loop rule: asked twice in the same position, a computer seat of the
    // strongest level takes another move the second time, and remembers both.
    const Settings settings = computerSeats({{0, 3}, {3, 3}});
    GameState s = positionsOf(settings, 5, 1, 1).front();
    Random random(1);
    ComputerPlayer player(s, settings, random);
    ASSERT_TRUE(player.searchComputerMove());
    const auto firstMove = std::make_pair(player.chosen().pegIndex, player.chosen().finalHole());
    ASSERT_TRUE(player.searchComputerMove());
    EXPECT_NE(std::make_pair(player.chosen().pegIndex, player.chosen().finalHole()), firstMove);
    EXPECT_EQ(s.producedPositions.keys[s.currentPlayer].size(), 2u);
}

TEST(StrongEvaluation, NearTheEndALastPegAwayFromTheOpenHolePaysForTheWayRound) {
    // Seat 0 has nine pegs home, the corner hole 111 of its target's edge
    // open, and its tenth peg just outside that edge: beside the open hole on
    // hole 102, or at the far end on hole 106, both four steps from the tip.
    const auto costWithLastPegOn = [](int last, int opponents) {
        GameState s;
        s.players = computerSeats({{0, 3}, {3, 0}}, true).playerSettings;
        s.pegsPerPlayer = 10;
        const int seat0[] = {120, 119, 118, 117, 116, 115, 114, 113, 112, last};
        for (int k = 0; k < 10; ++k) {
            s.pegs[0][k].cell = CellIndex(seat0[k]);
            s.occupancy[seat0[k]] = 0;
            s.pegs[3][k].cell = CellIndex(k);
            s.occupancy[k] = 3;
        }
        strong::Board board;
        board.load(s);
        return strong::remainingCost(board, 0, opponents);
    };
    EXPECT_GT(costWithLastPegOn(106, 5), costWithLastPegOn(102, 5));
    EXPECT_GT(costWithLastPegOn(106, 3), costWithLastPegOn(102, 3));
    // Against one or two opponents the way to the tip alone counts.
    EXPECT_EQ(costWithLastPegOn(106, 1), costWithLastPegOn(102, 1));
    EXPECT_EQ(costWithLastPegOn(106, 2), costWithLastPegOn(102, 2));
}

namespace {

// Seat 0's ten pegs where given; seat 3 on its start holes but for the
// pegs `seat3Moved` (peg, hole) names.
strong::Board endRaceBoard(const std::vector<int>& seat0, const std::vector<std::pair<int, int>>& seat3Moved = {}) {
    GameState s;
    s.players = computerSeats({{0, 3}, {3, 0}}, true).playerSettings;
    s.pegsPerPlayer = 10;
    for (int k = 0; k < 10; ++k) {
        s.pegs[3][k].cell = CellIndex(k);
        for (const auto& [from, to] : seat3Moved)
            if (from == k) s.pegs[3][k].cell = CellIndex(to);
        s.occupancy[s.pegs[3][k].cell] = 3;
    }
    for (int k = 0; k < 10; ++k) {
        s.pegs[0][k].cell = CellIndex(seat0[std::size_t(k)]);
        s.occupancy[seat0[std::size_t(k)]] = 0;
    }
    strong::Board board;
    board.load(s);
    return board;
}

// Whether seat 0 can finish within `moves` moves, every line of its own moves tried.
bool finishesWithin(strong::Board& board, int moves) {
    if (board.finished(0)) return true;
    if (moves == 0) return false;
    std::vector<strong::Move> list;
    strong::ChainWalk chains;
    strong::appendMoves(board, 0, list, chains);
    for (const strong::Move& m : list) {
        board.make(m);
        const bool done = finishesWithin(board, moves - 1);
        board.unmake(m);
        if (done) return true;
    }
    return false;
}

}  // namespace

TEST(StrongEndRace, FindsTheShortestFinishOfTheLastPegs) {
    const std::vector<int> home = {120, 119, 118, 117, 116, 115, 114, 113, 112};
    const auto with = [&](std::vector<int> last) {
        std::vector<int> pegs = home;
        pegs.insert(pegs.end(), last.begin(), last.end());
        return pegs;
    };
    struct Row {
        const char* what;
        std::vector<int> seat0;
        std::vector<std::pair<int, int>> seat3Moved;
        int shortest;
    };
    const Row rows[] = {
        {"a jump over an opposing peg onto the open corner", with({91}), {{9, 103}}, 1},
        {"a step onto the open corner", with({102}), {}, 1},
        {"three rows out with nothing to jump over", with({80}), {}, 3},
        {"at the far end of the edge: two home pegs make room", with({106}), {}, 3},
        {"two last pegs: the back one jumps over the front one first", {120, 119, 118, 117, 116, 115, 114, 113, 103, 91}, {}, 2},
    };
    for (const Row& row : rows) {
        strong::Board board = endRaceBoard(row.seat0, row.seat3Moved);
        const strong::Board before = board;
        std::vector<strong::Move> first;
        EXPECT_EQ(strong::shortestFinish(board, 0, 8, 100'000, &first), row.shortest) << row.what;
        EXPECT_EQ(board.key, before.key) << row.what;
        EXPECT_FALSE(first.empty()) << row.what;
        EXPECT_FALSE(finishesWithin(board, row.shortest - 1)) << row.what;
        // Each first move leads on to a finish one move shorter.
        for (const strong::Move& m : first) {
            board.make(m);
            EXPECT_EQ(strong::shortestFinish(board, 0, 8, 100'000), row.shortest - 1) << row.what;
            board.unmake(m);
        }
    }
    // An opposing peg on an open target hole cannot be waited out.
    strong::Board held = endRaceBoard(with({102}), {{9, 111}});
    EXPECT_EQ(strong::shortestFinish(held, 0, 8, 100'000), -1);
}

TEST(StrongSearch, UnderHouseRulesItOpensAWayOutForAPegWalledInOnItsTarget) {
    // Seat 0's nine pegs fill its target but for the tip, 120, where seat 3
    // (level 0) left a peg at home; seat 0's tenth peg waits outside. Walled
    // in by seat 0's pegs that peg can never leave, and the other pegs of
    // seat 3 always find new places in its own target: the game only ends if
    // seat 0 makes room for the peg (or, with the swap, takes its hole).
    for (const HouseRules rules : {HouseRules{true, false}, HouseRules{true, true}, HouseRules{false, true}}) {
        vexel::testing::TestTable t({{0, PlayerKind::Computer}, {3, PlayerKind::Computer}}, 7, true);
        t.settings.playerSettings[0].level = STRONG_LEVEL;
        t.settings.playerSettings[3].level = 0;
        t.settings.rules = rules;
        t.startWithTurn(0);
        t.setPosition({{0, {119, 118, 117, 116, 115, 114, 113, 112, 111, 92}}, {3, {0, 1, 2, 3, 4, 5, 6, 7, 8, 120}}});
        GameState& s = t.state();
        s.computerToMove = true;
        for (int step = 0; step < 10'000 && s.gameRunning && !s.finished[0]; ++step)
            s.moveInProgress ? t.game.completeMove() : t.game.computerTurnStep();
        EXPECT_TRUE(s.finished[0]) << "long jumps " << rules.longJumps << ", swap " << rules.swapInTarget << ": move "
                                   << s.moveNumber;
        EXPECT_LT(s.moveNumber, 20) << "long jumps " << rules.longJumps << ", swap " << rules.swapInTarget;
    }
}

TEST(StrongSearch, TheGameGeneratorDrawsAmongTheNearBestAndTheHintTakesTheBest) {
    // Seat 0's opening: several first moves are alike.
    const Settings settings = computerSeats({{0, 3}, {3, 3}});
    GameState s = positionsOf(settings, 5, 1, 1).front();
    std::vector<CandidateMove> ranked;
    ASSERT_TRUE(searchStrongMove(s, settings, ranked));
    std::set<int> drawn;
    for (std::uint64_t seed = 1; seed <= 24; ++seed) {
        Random random(seed), again(seed);
        const int i = drawStrongMove(ranked, random);
        EXPECT_EQ(drawStrongMove(ranked, again), i);
        ASSERT_GE(i, 0);
        EXPECT_EQ(ranked[std::size_t(i)].score, 1);
        EXPECT_GE(ranked[std::size_t(i)].value, ranked.back().value - 4);
        drawn.insert(i);
    }
    EXPECT_GT(drawn.size(), 1u);
    // The game's own draws: two seeds with the same first mover play apart.
    const auto always = [](const GameState&) { return true; };
    const Played first = playGame(settings, 1, 6, always);
    ASSERT_EQ(first.size(), 6u);
    EXPECT_EQ(playGame(settings, 1, 6, always), first);
    bool differs = false;
    for (std::uint64_t seed = 2; seed <= 40 && !differs; ++seed) {
        const Played other = playGame(settings, seed, 6, always);
        differs = std::get<0>(other.front()) == std::get<0>(first.front()) && other != first;
    }
    EXPECT_TRUE(differs);
}
