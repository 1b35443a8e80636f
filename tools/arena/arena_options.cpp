#include "arena_options.h"

#include "core/strongsearch.h"

#include <algorithm>
#include <charconv>

namespace vexel::arena {

int ArenaOptions::seatCount() const {
    return int(std::count_if(levels.begin(), levels.end(), [](int level) { return level != NOT_SEATED; }));
}

namespace {

// The whole text must be a number; "12x" and "" are not.
template <typename T>
std::optional<T> parseNumber(std::string_view text) {
    T value{};
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

ParsedArguments fail(std::string message) { return {std::nullopt, std::move(message)}; }

}  // namespace

ParsedArguments parseArenaArguments(std::span<const std::string_view> args) {
    ArenaOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        // Options that take a value read the next argument.
        auto value = [&]() -> std::optional<std::string_view> {
            if (i + 1 >= args.size()) return std::nullopt;
            return args[++i];
        };
        auto positive = [&](int& field) -> std::string {
            const auto text = value();
            if (!text) return std::string(arg) + " needs a number";
            const auto n = parseNumber<int>(*text);
            if (!n || *n < 1) return std::string(arg) + ": not a positive number: " + std::string(*text);
            field = *n;
            return {};
        };

        if (arg == "--games" || arg == "--max-turns" || arg == "--game") {
            int& field = arg == "--games" ? options.games : arg == "--game" ? options.onlyGame : options.maxTurns;
            if (std::string error = positive(field); !error.empty()) return fail(error);
        } else if (arg == "--seed") {
            const auto text = value();
            if (!text) return fail("--seed needs a number");
            const auto n = parseNumber<std::uint64_t>(*text);
            if (!n) return fail("--seed: not a number: " + std::string(*text));
            options.seed = *n;
        } else if (arg == "--record") {
            const auto text = value();
            if (!text || text->empty()) return fail("--record needs a folder");
            options.recordDir = std::string(*text);
            options.keepRecords = true;
        } else if (arg == "--replay") {
            for (++i; i < args.size(); ++i) options.replayFiles.emplace_back(args[i]);
            if (options.replayFiles.empty()) return fail("--replay needs at least one record file");
        } else if (arg == "--ten") {
            options.alwaysTenPegs = true;
        } else if (arg == "--long-jumps") {
            options.rules.longJumps = true;
        } else if (arg == "--swap") {
            options.rules.swapInTarget = true;
        } else if (arg == "--json") {
            options.json = true;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg.starts_with("-")) {
            return fail("unknown option: " + std::string(arg));
        } else {
            const std::size_t eq = arg.find('=');
            if (eq == std::string_view::npos) return fail("expected SEAT=LEVEL: " + std::string(arg));
            const auto seat = parseNumber<int>(arg.substr(0, eq));
            const auto level = parseNumber<int>(arg.substr(eq + 1));
            if (!seat || *seat < 0 || *seat >= SEAT_COUNT) return fail("bad seat (0..5): " + std::string(arg));
            if (!level || *level < 0 || *level > STRONG_LEVEL) return fail("bad level (0..3): " + std::string(arg));
            if (options.levels[*seat] != NOT_SEATED) return fail("seat given twice: " + std::to_string(*seat));
            options.levels[*seat] = *level;
        }
    }
    if (options.help || !options.replayFiles.empty()) return {options, {}};
    if (options.seatCount() == 0) return fail("no seat plays: give at least one SEAT=LEVEL");
    return {options, {}};
}

}  // namespace vexel::arena
