// Self-play through the arena's own code: games of every size run to their
// end without breaking a rule of the position, and a seed replays them. Also
// the arena's command line and its one-line report.
#include "tools/arena/arena_report.h"

#include <gtest/gtest.h>

using namespace vexel;
using namespace vexel::arena;

namespace {

ParsedArguments parse(std::vector<std::string_view> args) { return parseArenaArguments(args); }

ArenaOptions seats(std::initializer_list<std::pair<int, int>> levels, int games, std::uint64_t seed, bool ten = false) {
    ArenaOptions o;
    for (auto [seat, level] : levels) o.levels[seat] = level;
    o.games = games;
    o.seed = seed;
    o.alwaysTenPegs = ten;
    return o;
}

}  // namespace

TEST(ArenaArguments, ReadsEveryOption) {
    const ParsedArguments p = parse({"--games", "7", "--seed", "18446744073709551615", "--ten", "--max-turns", "50", "--json",
                                     "--game", "3", "0=0", "3=2"});
    ASSERT_TRUE(p.options) << p.error;
    const ArenaOptions& o = *p.options;
    EXPECT_EQ(o.games, 7);
    EXPECT_EQ(o.seed, 18446744073709551615ULL);
    EXPECT_TRUE(o.alwaysTenPegs);
    EXPECT_EQ(o.maxTurns, 50);
    EXPECT_TRUE(o.json);
    EXPECT_EQ(o.onlyGame, 3);
    EXPECT_EQ(o.levels, (std::array<int, 6>{0, NOT_SEATED, NOT_SEATED, 2, NOT_SEATED, NOT_SEATED}));

    const ParsedArguments defaults = parse({"5=1"});
    ASSERT_TRUE(defaults.options);
    EXPECT_EQ(defaults.options->games, 100);
    EXPECT_EQ(defaults.options->seed, 1u);
    EXPECT_EQ(defaults.options->maxTurns, 3000);
    EXPECT_FALSE(defaults.options->alwaysTenPegs);
    EXPECT_EQ(defaults.options->seatCount(), 1);
}

TEST(ArenaArguments, RejectsWhatItCannotPlay) {
    const std::vector<std::vector<std::string_view>> lines = {
        {"6=1"}, {"-1=0"}, {"x=1"}, {"=1"}, {"0"}, {"01=1x"},  // bad seats
        {"0=4"}, {"0=-1"}, {"0="}, {"0=1x"},                     // bad levels
        {"0=1", "3=2", "0=2"},                                   // a seat twice
        {"--fast", "0=1"}, {"-g", "0=1"},                        // unknown options
        {}, {"--games", "5"}, {"--ten", "--json"},               // nobody plays
        {"0=1", "--games"}, {"--games", "0", "0=1"}, {"--games", "x", "0=1"},
        {"--max-turns", "-3", "0=1"}, {"--seed", "-1", "0=1"}, {"--seed", "1e3", "0=1"}, {"--game", "0", "0=1"},
    };
    for (const auto& line : lines) {
        std::string shown;
        for (auto a : line) shown += std::string(a) + " ";
        const ParsedArguments p = parse(line);
        EXPECT_FALSE(p.options) << shown;
        EXPECT_FALSE(p.error.empty()) << shown;
    }
}

TEST(ArenaReport, JsonIsOneLineWithEveryField) {
    const ArenaOptions o = seats({{0, 0}, {3, 2}}, 4, 1);
    ArenaTotals t;
    ArenaGameResult won;
    won.finished = true;
    won.computerTurns = 10;
    won.place = {1, 0, 0, 2, 0, 0};
    won.searchMs = {1.0, 3.0};
    won.winnerEndMoves = 4;
    t.add(1, won);
    won.place = {2, 0, 0, 1, 0, 0};
    won.searchMs = {2.0};
    won.winnerEndMoves = 7;
    won.movesKey = 5;
    t.add(2, won);
    won.winnerEndMoves = 9;  // the same game again: the same winner, its moves counted once more
    t.add(4, won);
    ArenaGameResult stuck;
    stuck.computerTurns = 5;
    stuck.seed = 99;
    stuck.markViolations = 1;
    t.add(3, stuck);
    EXPECT_EQ(formatJson(o, t),
              "{\"games\":4,\"unfinished\":1,\"turns\":35,\"seats\":[{\"seat\":0,\"level\":0,\"wins\":1,\"avg_place\":1.667,"
              "\"end_moves\":4.00},{\"seat\":3,\"level\":2,\"wins\":2,\"avg_place\":1.333,\"end_moves\":8.00}],"
              "\"search_ms\":{\"median\":2.000,\"p99\":3.000,\"max\":3.000},\"distinct_games\":2,\"invariant_violations\":1}");
    EXPECT_NE(formatTable(o, t).find("unfinished game 3 (game seed 99): vexel-arena --seed 1 --game 3 0=0 3=2"), std::string::npos);

    ArenaTotals none;
    EXPECT_NE(formatJson(o, none).find("\"avg_place\":null"), std::string::npos);
}

TEST(ArenaReport, PercentilesByNearestRank) {
    std::vector<double> samples;
    for (int i = 100; i >= 1; --i) samples.push_back(i);
    const TimeSummary s = summarizeTimes(samples);
    EXPECT_EQ(s.median, 50);
    EXPECT_EQ(s.p99, 99);
    EXPECT_EQ(s.max, 100);
    EXPECT_EQ(summarizeTimes({7.5}).p99, 7.5);
    EXPECT_EQ(summarizeTimes({}).max, 0);
}

TEST(ArenaSoak, MixedTablesPlayWithoutBreakingTheRules) {
    const ArenaOptions tables[] = {
        seats({{0, 0}, {3, 2}}, 8, 11),
        seats({{1, 1}, {4, 1}}, 6, 12, true),
        seats({{0, 1}, {2, 0}, {4, 2}}, 6, 13),
        seats({{1, 2}, {3, 2}, {5, 0}}, 4, 14, true),
        seats({{0, 0}, {1, 1}, {2, 2}, {3, 0}, {4, 1}, {5, 2}}, 4, 15),
        seats({{2, 1}}, 2, 16),
    };
    int games = 0;
    for (const ArenaOptions& o : tables) {
        const ArenaTotals t = runArena(o);
        games += t.games;
        EXPECT_EQ(t.violations(), 0) << formatTable(o, t);
        EXPECT_EQ(t.games, o.games);
        EXPECT_EQ(t.unfinished, 0) << "every game comes to its end\n" << formatTable(o, t);
        EXPECT_EQ(t.searchMs.size(), std::size_t(t.turns));
        // A finished game places every playing seat once.
        long placeSum = 0;
        for (long p : t.placeSum) placeSum += p;
        const long n = o.seatCount();
        EXPECT_EQ(placeSum, t.finishedGames * n * (n + 1) / 2);
    }
    EXPECT_EQ(games, 30);
}

TEST(ArenaSoak, ASeedReplaysTheSameGames) {
    ArenaOptions o = seats({{0, 2}, {2, 1}, {4, 0}}, 3, 77);
    const ArenaTotals first = runArena(o);
    const ArenaTotals again = runArena(o);
    EXPECT_TRUE(first.sameOutcome(again));

    // Game 2 on its own is game 2 of the series.
    const ArenaGameResult series = playArenaGame(o, arenaGameSeed(77, 2));
    o.onlyGame = 2;
    const ArenaTotals alone = runArena(o);
    EXPECT_EQ(alone.games, 1);
    EXPECT_EQ(alone.turns, series.computerTurns);
    EXPECT_EQ(alone.unfinished, series.finished ? 0 : 1);

    EXPECT_NE(arenaGameSeed(77, 1), arenaGameSeed(77, 2));
    EXPECT_NE(arenaGameSeed(77, 2), arenaGameSeed(78, 1));
}
