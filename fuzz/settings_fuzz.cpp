// Arbitrary bytes as a settings file: decoding must never read outside the
// record or a table, must leave every setting in its range, and a record
// written from the result must read back to the same settings.
#include "settings/settingsrecord.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

using namespace vexel;

namespace {

void require(bool condition) {
    if (!condition) __builtin_trap();
}

void requireInRange(const Settings& s) {
    std::array<bool, SEAT_COUNT> colourUsed{};
    for (const PlayerSlot& slot : s.playerSettings) {
        require(std::uint8_t(slot.kind) <= std::uint8_t(PlayerKind::NotPlaying));
        require(slot.level < LEVEL_COUNT);
        require(slot.nameLength <= PlayerSlot::MAX_NAME);
        require(slot.colour < SEAT_COUNT && !colourUsed[slot.colour]);
        colourUsed[slot.colour] = true;
    }
    for (ColourRef colour : s.pegColours) require(colour <= 0x00FFFFFF);
    require(s.humanSpeed < SPEED_COUNT && s.computerSpeed < SPEED_COUNT);
    require(s.language == Language::German || s.language == Language::English);
}

// Decodes, checks, encodes and decodes again: the second reading must need no repair.
void roundTrip(std::span<const std::uint8_t> input) {
    SettingsRecord record;
    Settings first;
    first.language = Language::English;
    const Settings untouched = first;
    if (!record.decode(input, first)) {
        require(first == untouched);
        require(std::all_of(record.bytes().begin(), record.bytes().end(), [](std::uint8_t b) { return b == 0; }));
        return;
    }
    requireInRange(first);
    require(std::equal(record.bytes().begin(), record.bytes().end(), input.begin()));

    const SettingsRecord::Bytes written = record.encode(first);
    SettingsRecord reread;
    Settings second;
    require(reread.decode(written, second));
    Settings expected = first;
    if (hasEqualColours(first.pegColours)) expected.pegColours = DEFAULT_PEG_COLOURS;
    require(second == expected);
    // Saving what was read back gives the very same bytes.
    require(reread.encode(second) == written);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    roundTrip(input);

    // Most inputs lack the magic; give every input a turn at the field parsing too.
    SettingsRecord::Bytes withMagic{};
    std::copy(SETTINGS_MAGIC.begin(), SETTINGS_MAGIC.end(), withMagic.begin());
    const std::size_t body = std::min(size, SETTINGS_RECORD_SIZE - SETTINGS_MAGIC.size());
    std::copy_n(data, body, withMagic.begin() + SETTINGS_MAGIC.size());
    roundTrip(withMagic);
    return 0;
}
