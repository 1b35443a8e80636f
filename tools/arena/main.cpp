// vexel-arena: computer seats play each other headlessly through the real
// game core; prints who won, how long the searches took and whether any
// position broke the game's invariants.
#include "arena_record.h"
#include "arena_report.h"

#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
    using namespace vexel::arena;
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const ParsedArguments parsed = parseArenaArguments(args);
    if (!parsed.options) {
        std::fprintf(stderr, "vexel-arena: %s\n%.*s", parsed.error.c_str(), int(ARENA_USAGE.size()), ARENA_USAGE.data());
        return 2;
    }
    const ArenaOptions& options = *parsed.options;
    if (options.help) {
        std::printf("%.*s", int(ARENA_USAGE.size()), ARENA_USAGE.data());
        return 0;
    }

    if (!options.replayFiles.empty()) {
        int failed = 0;
        for (const std::string& file : options.replayFiles) {
            const RecordCheck check = checkRecordFile(file);
            std::printf("%s\n", check.report.c_str());
            failed += !check.ok;
        }
        std::printf("replayed %zu records, %d failed\n", options.replayFiles.size(), failed);
        return failed == 0 ? 0 : 1;
    }

    const ArenaTotals totals = runArena(options);
    if (options.json) {
        std::printf("%s\n", formatJson(options, totals).c_str());
        // Keep stdout to the one line; the replay lines go beside it.
        for (const auto& [number, seed] : totals.unfinishedGames)
            std::fprintf(stderr, "unfinished game %d (game seed %llu): %s\n", number, (unsigned long long)seed,
                         replayCommand(options, number).c_str());
    } else {
        std::printf("%s", formatTable(options, totals).c_str());
    }
    return totals.violations() == 0 ? 0 : 1;
}
