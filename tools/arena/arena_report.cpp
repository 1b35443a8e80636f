#include "arena_report.h"

#include "arena_record.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vexel::arena {

TimeSummary summarizeTimes(std::vector<double> samples) {
    if (samples.empty()) return {};
    std::sort(samples.begin(), samples.end());
    auto rank = [&](double fraction) {
        const auto r = std::size_t(std::ceil(fraction * double(samples.size())));
        return samples[std::clamp<std::size_t>(r, 1, samples.size()) - 1];
    };
    return {rank(0.5), rank(0.99), samples.back()};
}

void ArenaTotals::add(int gameNumber, const ArenaGameResult& game) {
    ++games;
    turns += game.computerTurns;
    searchMs.insert(searchMs.end(), game.searchMs.begin(), game.searchMs.end());
    strongSearchMs.insert(strongSearchMs.end(), game.strongSearchMs.begin(), game.strongSearchMs.end());
    strongCpuMs.insert(strongCpuMs.end(), game.strongCpuMs.begin(), game.strongCpuMs.end());
    movesKeys.push_back(game.movesKey);
    positionViolations += game.positionViolations;
    markViolations += game.markViolations;
    entryViolations += game.entryViolations;
    stalls += game.stalls;
    if (!game.finished) {
        ++unfinished;
        unfinishedGames.emplace_back(gameNumber, game.seed);
        return;
    }
    ++finishedGames;
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        if (game.place[seat] == 1) {
            ++wins[seat];
            if (game.winnerEndMoves >= 0) {
                winEndMoves[seat] += game.winnerEndMoves;
                ++winEndGames[seat];
            }
        }
        placeSum[seat] += game.place[seat];
    }
}

int ArenaTotals::distinctGames() const {
    std::vector<std::uint64_t> keys = movesKeys;
    std::sort(keys.begin(), keys.end());
    return int(std::unique(keys.begin(), keys.end()) - keys.begin());
}

bool ArenaTotals::sameOutcome(const ArenaTotals& o) const {
    return games == o.games && unfinished == o.unfinished && turns == o.turns && wins == o.wins && placeSum == o.placeSum &&
           finishedGames == o.finishedGames && searchMs.size() == o.searchMs.size() && violations() == o.violations() &&
           unfinishedGames == o.unfinishedGames && movesKeys == o.movesKeys;
}

ArenaTotals runArena(const ArenaOptions& options) {
    ArenaTotals totals;
    const int first = options.onlyGame != 0 ? options.onlyGame : 1;
    const int last = options.onlyGame != 0 ? options.onlyGame : options.games;
    for (int n = first; n <= last; ++n) {
        const ArenaGameResult game = playArenaGame(options, arenaGameSeed(options.seed, n));
        std::string error;
        if (!options.recordDir.empty() && !writeGameRecord(options.recordDir, n, game.record, error))
            std::fprintf(stderr, "vexel-arena: %s\n", error.c_str());
        totals.add(n, game);
    }
    return totals;
}

namespace {

std::string format(const char* pattern, auto... values) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, pattern, values...);
    return buffer;
}

// Average place of a seat over the finished games; negative when there are none.
double averagePlace(const ArenaTotals& t, int seat) {
    return t.finishedGames == 0 ? -1.0 : double(t.placeSum[seat]) / t.finishedGames;
}

// Average own moves of the end race over the games a seat won; negative when it won none.
double averageEndMoves(const ArenaTotals& t, int seat) {
    return t.winEndGames[seat] == 0 ? -1.0 : double(t.winEndMoves[seat]) / t.winEndGames[seat];
}

}  // namespace

std::string formatTable(const ArenaOptions& options, const ArenaTotals& t) {
    std::string out = "seat  level  wins  avg place  end moves\n";
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        if (options.levels[seat] == NOT_SEATED) continue;
        const double avg = averagePlace(t, seat);
        const double end = averageEndMoves(t, seat);
        out += format("%4d  %5d  %4d  %9s  %9s\n", seat, options.levels[seat], t.wins[seat],
                      avg < 0 ? "-" : format("%.3f", avg).c_str(), end < 0 ? "-" : format("%.2f", end).c_str());
    }
    out += format("games %d (distinct %d), unfinished %d, computer turns %ld\n", t.games, t.distinctGames(), t.unfinished,
                  t.turns);
    const TimeSummary times = summarizeTimes(t.searchMs);
    out += format("search ms: median %.3f, p99 %.3f, max %.3f\n", times.median, times.p99, times.max);
    if (!t.strongSearchMs.empty()) {
        const TimeSummary strong = summarizeTimes(t.strongSearchMs);
        out += format("level 3 search ms: median %.3f, p99 %.3f, max %.3f\n", strong.median, strong.p99, strong.max);
        const TimeSummary cpu = summarizeTimes(t.strongCpuMs);
        out += format("level 3 processor ms: median %.3f, p99 %.3f, max %.3f\n", cpu.median, cpu.p99, cpu.max);
    }
    out += format("invariant violations: %ld (position %ld, marks %ld, move entry %ld, stalled %ld)\n", t.violations(),
                  t.positionViolations, t.markViolations, t.entryViolations, t.stalls);
    for (const auto& [number, seed] : t.unfinishedGames)
        out += format("unfinished game %d (game seed %llu): ", number, (unsigned long long)seed) + replayCommand(options, number) + "\n";
    return out;
}

std::string formatJson(const ArenaOptions& options, const ArenaTotals& t) {
    std::string out = format("{\"games\":%d,\"unfinished\":%d,\"turns\":%ld,\"seats\":[", t.games, t.unfinished, t.turns);
    bool first = true;
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        if (options.levels[seat] == NOT_SEATED) continue;
        const double avg = averagePlace(t, seat);
        const double end = averageEndMoves(t, seat);
        out += format("%s{\"seat\":%d,\"level\":%d,\"wins\":%d,\"avg_place\":%s,\"end_moves\":%s}", first ? "" : ",", seat,
                      options.levels[seat], t.wins[seat], avg < 0 ? "null" : format("%.3f", avg).c_str(),
                      end < 0 ? "null" : format("%.2f", end).c_str());
        first = false;
    }
    const auto times = [](const char* name, const std::vector<double>& samples) {
        const TimeSummary s = summarizeTimes(samples);
        return format("\"%s\":{\"median\":%.3f,\"p99\":%.3f,\"max\":%.3f}", name, s.median, s.p99, s.max);
    };
    out += "]," + times("search_ms", t.searchMs);
    if (!t.strongSearchMs.empty()) out += "," + times("level3_ms", t.strongSearchMs) + "," + times("level3_cpu_ms", t.strongCpuMs);
    out += format(",\"distinct_games\":%d,\"invariant_violations\":%ld}", t.distinctGames(), t.violations());
    return out;
}

std::string replayCommand(const ArenaOptions& options, int gameNumber) {
    std::string out = format("vexel-arena --seed %llu --game %d", (unsigned long long)options.seed, gameNumber);
    if (options.alwaysTenPegs) out += " --ten";
    if (options.rules.longJumps) out += " --long-jumps";
    if (options.rules.swapInTarget) out += " --swap";
    if (options.maxTurns != ArenaOptions{}.maxTurns) out += format(" --max-turns %d", options.maxTurns);
    for (int seat = 0; seat < SEAT_COUNT; ++seat)
        if (options.levels[seat] != NOT_SEATED) out += format(" %d=%d", seat, options.levels[seat]);
    return out;
}

}  // namespace vexel::arena
