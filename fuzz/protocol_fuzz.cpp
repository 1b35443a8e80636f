// Arbitrary bytes as what a peer of a network game sends: the line reader must
// never read past its buffer or keep more than a line's worth, and every line
// that parses must write back to a line that parses to the same message.
#include "core/protocol.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace vexel;

namespace {

void require(bool condition) {
    if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    LineReader reader;
    // Fed in two pieces, as a socket hands them over.
    reader.feed(input.substr(0, size / 2));
    reader.feed(input.substr(size / 2));
    while (auto line = reader.next()) {
        require(line->size() <= MAX_LINE + 1);
        const auto message = parseMessage(*line);
        if (!message) continue;
        const std::string written = formatMessage(*message);
        require(written.size() <= MAX_LINE + 80);
        const auto again = parseMessage(written);
        require(again.has_value());
        require(formatMessage(*again) == written);
    }
    return 0;
}
