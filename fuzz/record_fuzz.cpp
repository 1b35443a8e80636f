// Arbitrary bytes as a game record: reading must never crash, hang or read
// outside the text; whatever it takes in must write back canonically (read,
// write, read, write gives the same text) and replay without harm.
#include "core/record.h"
#include "core/replay.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace vexel;

namespace {

void require(bool condition) {
    if (!condition) __builtin_trap();
}

// Two computer seats facing each other and a human: the moves the fuzzer adds
// reach the replay only behind a header that reads.
constexpr std::string_view HEADER =
    "Format 1\n"
    "Seat 1 human level=0 colour=0 name=\"A\"\n"
    "Seat 2 none\nSeat 3 computer level=3 colour=2 name=\"C\"\n"
    "Seat 4 none\nSeat 5 computer level=1 colour=4 name=\"\xC3\xA9\"\nSeat 6 none\n"
    "Pegs 15\nFirstMover 1\n";

void check(std::string_view text) {
    RecordError error;
    const auto record = readRecord(text, error);
    if (!record) {
        require(error.place.line >= 1 && error.place.column >= 1 && !error.message.empty());
        return;
    }
    const std::string written = writeRecord(*record);
    const auto again = readRecord(written, error);
    require(again.has_value());
    require(writeRecord(*again) == written);

    RecordReplay replay;
    if (replay.run(*record, error)) {
        // The replayed game's own record replays to the same position.
        const GameRecord mine = recordOf(replay.game(), replay.settings(), {});
        RecordReplay second;
        require(second.run(mine, error));
        require(positionKey(second.game().state()) == positionKey(replay.game().state()));
    } else {
        require(error.place.line >= 1 && !error.message.empty());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    check(input);
    check(std::string(HEADER) + std::string(input));
    return 0;
}
