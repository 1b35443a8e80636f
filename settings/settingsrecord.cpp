#include "settingsrecord.h"

#include "core/strongsearch.h"

#include <algorithm>

namespace vexel {

const std::array<std::uint8_t, 14> SETTINGS_MAGIC = {13,  'V', 'e', 'x', 'e', 'l', ' ',
                                                     'C', 'F', 'G', 0x0D, 0x0A, 0x1A, 0x03};

namespace {

// Where each assigned field sits in the record.
constexpr std::size_t PEG_COLOURS = 16;
constexpr std::size_t SOUND_ON = 40;
constexpr std::size_t MOVE_SOUND_ON = 41;
constexpr std::size_t PLAYERS = 42;
constexpr std::size_t SLOT_SIZE = 25;
constexpr std::size_t ALWAYS_TEN_PEGS = 192;
constexpr std::size_t HUMAN_SPEED = 193;
constexpr std::size_t COMPUTER_SPEED = 194;
constexpr std::size_t LANGUAGE = 195;
constexpr std::size_t MARK_DIRECTION = 196;
// Bit k set: seat k is a computer seat of the strongest level, whose own level
// byte says 0 so that any other reader of the file sees the strongest original
// player. Bits 6 and 7 belong to nobody and are kept.
constexpr std::size_t STRONG_SEATS = 197;
constexpr std::uint8_t STRONG_SEAT_BITS = 0x3F;
// Bit 0: marks on the pegs; bit 1: long jumps; bit 2: swap in the target.
// Bits 3-7 belong to nobody and are kept.
constexpr std::size_t VIEW_AND_RULES = 198;
constexpr std::uint8_t PEG_MARKS_BIT = 0x01;
constexpr std::uint8_t LONG_JUMPS_BIT = 0x02;
constexpr std::uint8_t SWAP_IN_TARGET_BIT = 0x04;
// Bit k set: human seat k is played from another computer; the seat's own kind
// byte still says human, so any other reader sees a seat at this screen.
// Bits 6 and 7 are kept.
constexpr std::size_t NETWORK_SEATS = 199;
constexpr std::uint8_t NETWORK_SEAT_BITS = 0x3F;

// Within one seat.
constexpr std::size_t SLOT_KIND = 0;
constexpr std::size_t SLOT_LEVEL = 1;
constexpr std::size_t SLOT_COLOUR = 2;
constexpr std::size_t SLOT_NAME_LENGTH = 3;
constexpr std::size_t SLOT_NAME = 4;

static_assert(PLAYERS + SEAT_COUNT * SLOT_SIZE == ALWAYS_TEN_PEGS, "the seats end where the flags begin");
static_assert(SLOT_NAME + PlayerSlot::MAX_NAME == SLOT_SIZE, "a seat is 25 bytes");
static_assert(NETWORK_SEATS + 1 == SETTINGS_RECORD_SIZE, "the network seats close the record");

using Bytes = SettingsRecord::Bytes;

std::uint32_t readU32(const Bytes& b, std::size_t at) {
    return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
           std::uint32_t(b[at + 3]) << 24;
}

void writeU32(Bytes& b, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) b[at + i] = std::uint8_t(value >> (8 * i));
}

// Any byte but 0 counts as set; what other programs wrote there is their business.
bool readFlag(const Bytes& b, std::size_t at) { return b[at] != 0; }
void writeFlag(Bytes& b, std::size_t at, bool value) { b[at] = value ? 1 : 0; }

bool readBit(const Bytes& b, std::size_t at, std::uint8_t bit) { return (b[at] & bit) != 0; }
// Sets or clears the bits of `mask` to `value`, keeping every other bit of the byte.
void writeBits(Bytes& b, std::size_t at, std::uint8_t mask, std::uint8_t value) {
    b[at] = std::uint8_t((b[at] & ~mask) | (value & mask));
}

}  // namespace

bool hasEqualColours(const std::array<ColourRef, SEAT_COUNT>& colours) {
    for (std::size_t i = 0; i < colours.size(); ++i)
        for (std::size_t j = i + 1; j < colours.size(); ++j)
            if (colours[i] == colours[j]) return true;
    return false;
}

bool SettingsRecord::decode(std::span<const std::uint8_t> fileBytes, Settings& settings) {
    if (fileBytes.size() < SETTINGS_RECORD_SIZE) return false;
    if (!std::equal(SETTINGS_MAGIC.begin(), SETTINGS_MAGIC.end(), fileBytes.begin())) return false;
    std::copy_n(fileBytes.begin(), SETTINGS_RECORD_SIZE, buffer_.begin());
    const Bytes& b = buffer_;

    for (std::size_t i = 0; i < SEAT_COUNT; ++i) settings.pegColours[i] = readU32(b, PEG_COLOURS + 4 * i);
    settings.soundOn = readFlag(b, SOUND_ON);
    settings.moveSoundOn = readFlag(b, MOVE_SOUND_ON);
    for (std::size_t s = 0; s < SEAT_COUNT; ++s) {
        const std::size_t at = PLAYERS + s * SLOT_SIZE;
        PlayerSlot& slot = settings.playerSettings[s];
        slot.kind = PlayerKind(b[at + SLOT_KIND]);
        // The file knows only the original levels; the strongest comes from its bit.
        const std::uint8_t level = b[at + SLOT_LEVEL];
        slot.level = level < ORIGINAL_LEVEL_COUNT ? level : DEFAULT_PLAYERS[s].level;
        slot.colour = b[at + SLOT_COLOUR];
        slot.nameLength = b[at + SLOT_NAME_LENGTH];
        // All 21 bytes, so that the seat compares equal after a save and a load.
        std::transform(b.begin() + std::ptrdiff_t(at + SLOT_NAME),
                       b.begin() + std::ptrdiff_t(at + SLOT_NAME + PlayerSlot::MAX_NAME), slot.name.begin(),
                       [](std::uint8_t c) { return char(c); });
    }
    settings.alwaysTenPegs = readFlag(b, ALWAYS_TEN_PEGS);
    settings.humanSpeed = b[HUMAN_SPEED];
    settings.computerSpeed = b[COMPUTER_SPEED];
    settings.language = Language(b[LANGUAGE]);
    settings.markDirection = readFlag(b, MARK_DIRECTION);
    settings.pegMarks = readBit(b, VIEW_AND_RULES, PEG_MARKS_BIT);
    settings.rules.longJumps = readBit(b, VIEW_AND_RULES, LONG_JUMPS_BIT);
    settings.rules.swapInTarget = readBit(b, VIEW_AND_RULES, SWAP_IN_TARGET_BIT);
    settings.networkSeats = b[NETWORK_SEATS] & NETWORK_SEAT_BITS;

    settings.repair();
    for (std::size_t s = 0; s < SEAT_COUNT; ++s) {
        PlayerSlot& slot = settings.playerSettings[s];
        if (slot.kind == PlayerKind::Computer && (b[STRONG_SEATS] >> s & 1) != 0) slot.level = STRONG_LEVEL;
    }
    return true;
}

const SettingsRecord::Bytes& SettingsRecord::encode(const Settings& settings) {
    // Never write what a later load would have to repair.
    Settings valid = settings;
    valid.repair();
    Bytes& b = buffer_;

    std::copy(SETTINGS_MAGIC.begin(), SETTINGS_MAGIC.end(), b.begin());
    // Two seats drawn in one colour could not be told apart after a restart.
    const auto& colours = hasEqualColours(valid.pegColours) ? DEFAULT_PEG_COLOURS : valid.pegColours;
    for (std::size_t i = 0; i < SEAT_COUNT; ++i) writeU32(b, PEG_COLOURS + 4 * i, colours[i]);
    writeFlag(b, SOUND_ON, valid.soundOn);
    writeFlag(b, MOVE_SOUND_ON, valid.moveSoundOn);
    for (std::size_t s = 0; s < SEAT_COUNT; ++s) {
        const std::size_t at = PLAYERS + s * SLOT_SIZE;
        const PlayerSlot& slot = valid.playerSettings[s];
        b[at + SLOT_KIND] = std::uint8_t(slot.kind);
        b[at + SLOT_LEVEL] = slot.level == STRONG_LEVEL ? 0 : slot.level;
        b[at + SLOT_COLOUR] = slot.colour;
        b[at + SLOT_NAME_LENGTH] = slot.nameLength;
        // Only the name itself: the bytes behind it stay as last read.
        std::transform(slot.name.begin(), slot.name.begin() + slot.nameLength, b.begin() + std::ptrdiff_t(at + SLOT_NAME),
                       [](char c) { return std::uint8_t(c); });
    }
    writeFlag(b, ALWAYS_TEN_PEGS, valid.alwaysTenPegs);
    b[HUMAN_SPEED] = valid.humanSpeed;
    b[COMPUTER_SPEED] = valid.computerSpeed;
    b[LANGUAGE] = std::uint8_t(valid.language);
    writeFlag(b, MARK_DIRECTION, valid.markDirection);
    std::uint8_t strongSeats = 0;
    for (std::size_t s = 0; s < SEAT_COUNT; ++s) {
        const PlayerSlot& slot = valid.playerSettings[s];
        if (slot.kind == PlayerKind::Computer && slot.level == STRONG_LEVEL) strongSeats |= std::uint8_t(1u << s);
    }
    writeBits(b, STRONG_SEATS, STRONG_SEAT_BITS, strongSeats);
    writeBits(b, VIEW_AND_RULES, PEG_MARKS_BIT, valid.pegMarks ? PEG_MARKS_BIT : 0);
    writeBits(b, VIEW_AND_RULES, LONG_JUMPS_BIT, valid.rules.longJumps ? LONG_JUMPS_BIT : 0);
    writeBits(b, VIEW_AND_RULES, SWAP_IN_TARGET_BIT, valid.rules.swapInTarget ? SWAP_IN_TARGET_BIT : 0);
    writeBits(b, NETWORK_SEATS, NETWORK_SEAT_BITS, valid.networkSeats);
    return b;
}

}  // namespace vexel
