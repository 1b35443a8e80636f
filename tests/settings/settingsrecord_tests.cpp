// The settings record: byte layout, the magic and length checks, the palette
// that equal colours fall back to, and the repair of out-of-range values.
// Round trips through a real file are in settingsfile_tests.cpp.
#include "settings/settingsrecord.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace vexel;

namespace {

using Bytes = std::vector<std::uint8_t>;

// A record as another copy of the program would have written it with the defaults.
Bytes defaultRecord() {
    SettingsRecord record;
    const auto& b = record.encode(Settings{});
    return Bytes(b.begin(), b.end());
}

std::uint32_t u32At(const Bytes& b, std::size_t at) {
    return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
           std::uint32_t(b[at + 3]) << 24;
}

Settings unusualSettings() {
    Settings s;
    s.pegColours = {0x00102030, 0x00405060, 0x00708090, 0x00A0B0C0, 0x00D0E0F0, 0x00010203};
    s.soundOn = false;
    s.moveSoundOn = false;
    s.playerSettings = {
        makePlayerSlot(PlayerKind::Computer, 0, 5, "Ärger"),
        makePlayerSlot(PlayerKind::NotPlaying, 2, 4, ""),
        makePlayerSlot(PlayerKind::Human, 1, 3, "Zwanzigeinszeichen..."),
        makePlayerSlot(PlayerKind::Computer, 2, 0, "\xDC"),
        makePlayerSlot(PlayerKind::Human, 0, 1, "Bo"),
        makePlayerSlot(PlayerKind::NotPlaying, 1, 2, "x"),
    };
    s.alwaysTenPegs = true;
    s.humanSpeed = 0;
    s.computerSpeed = 5;
    s.language = Language::English;
    s.markDirection = false;
    return s;
}

}  // namespace

TEST(SettingsRecord, StartsZeroedAndEncodesTheDefaultsAtTheirOffsets) {
    SettingsRecord record;
    for (std::uint8_t byte : record.bytes()) ASSERT_EQ(byte, 0);

    const Bytes b = defaultRecord();
    ASSERT_EQ(b.size(), 200u);
    const Bytes magic = {13, 'V', 'e', 'x', 'e', 'l', ' ', 'C', 'F', 'G', 0x0D, 0x0A, 0x1A, 0x03};
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 14), magic);
    // Green, then blue, little-endian 0x00BBGGRR.
    EXPECT_EQ((Bytes{b[16], b[17], b[18], b[19], b[20], b[21], b[22], b[23]}), (Bytes{0x00, 0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x00}));
    EXPECT_EQ(u32At(b, 36), 0x00FFFF00u);
    EXPECT_EQ(b[40], 1);
    EXPECT_EQ(b[41], 1);
    // Seat 0 at 42, seat 5 at 167: kind, level, colour, length, name.
    EXPECT_EQ((Bytes{b[42], b[43], b[44], b[45]}), (Bytes{0, 0, 0, 9}));
    EXPECT_EQ(std::string(b.begin() + 46, b.begin() + 55), "Spieler 1");
    EXPECT_EQ((Bytes{b[167], b[168], b[169], b[170]}), (Bytes{1, 2, 5, 9}));
    EXPECT_EQ(std::string(b.begin() + 171, b.begin() + 180), "Spieler 6");
    EXPECT_EQ((Bytes{b[192], b[193], b[194], b[195], b[196]}), (Bytes{0, 3, 3, 1, 1}));
    // Unassigned bytes and the name tails stay as the zeroed buffer had them.
    for (std::size_t at : {14, 15, 55, 66, 180, 191, 197, 198, 199}) EXPECT_EQ(b[at], 0) << "byte " << at;
}

TEST(SettingsRecord, RefusesShortInputAndEveryWrongMagicByte) {
    const Bytes good = defaultRecord();
    std::vector<std::pair<std::string, Bytes>> refused;
    for (std::size_t size : {0, 1, 14, 199}) refused.push_back({"size " + std::to_string(size), Bytes(good.begin(), good.begin() + std::ptrdiff_t(size))});
    for (std::size_t at = 0; at < 14; ++at) {
        Bytes b = good;
        b[at] ^= 0x20;  // also turns "Vexel" into "vexel"
        refused.push_back({"magic byte " + std::to_string(at), b});
    }
    Bytes lastByte = good;
    lastByte[13] = 0x04;
    refused.push_back({"a later version", lastByte});

    SettingsRecord record;
    const Settings before = unusualSettings();
    Settings first;
    ASSERT_TRUE(record.decode(good, first));
    for (const auto& [what, bytes] : refused) {
        Settings s = before;
        EXPECT_FALSE(record.decode(bytes, s)) << what;
        EXPECT_EQ(s, before) << what << ": nothing may be taken";
        EXPECT_EQ(Bytes(record.bytes().begin(), record.bytes().end()), good) << what << ": the buffer stays";
    }
}

TEST(SettingsRecord, EqualColoursAreSavedAsTheDefaultPalette) {
    for (std::size_t i = 0; i < 6; ++i)
        for (std::size_t j = i + 1; j < 6; ++j) {
            Settings s = unusualSettings();
            s.pegColours[j] = s.pegColours[i];
            const Settings inMemory = s;
            SettingsRecord record;
            const auto& encoded = record.encode(s);
            const Bytes b(encoded.begin(), encoded.end());
            for (std::size_t k = 0; k < 6; ++k)
                EXPECT_EQ(u32At(b, 16 + 4 * k), DEFAULT_PEG_COLOURS[k]) << "colours " << i << " and " << j << " equal";
            EXPECT_EQ(s, inMemory);
        }
    // Six different colours are written as they are.
    SettingsRecord record;
    const auto& b = record.encode(unusualSettings());
    EXPECT_EQ(u32At(Bytes(b.begin(), b.end()), 16), 0x00102030u);
}

// One byte of a valid record set to a value outside its field's range: what the
// live settings must hold afterwards.
struct Repair {
    std::string what;
    std::size_t offset;
    std::uint8_t value;
    std::function<bool(const Settings&)> holds;
};

TEST(SettingsRecord, RepairsEveryFieldOutsideItsRange) {
    const Settings defaults;
    auto colourIsOwnSeat = [](const Settings& s) {
        for (int seat = 0; seat < 6; ++seat)
            if (s.playerSettings[seat].colour != seat) return false;
        return true;
    };
    const std::vector<Repair> cases = {
        {"kind 3 of a computer seat", 42 + 25 + 0, 3, [&](const Settings& s) { return s.playerSettings[1].kind == PlayerKind::Computer; }},
        {"kind 255 of the human seat", 42, 255, [&](const Settings& s) { return s.playerSettings[0].kind == PlayerKind::Human; }},
        {"kind 2 is a valid empty seat", 42 + 50, 2, [&](const Settings& s) { return s.playerSettings[2].kind == PlayerKind::NotPlaying; }},
        {"level 3", 42 + 125 + 1, 3, [&](const Settings& s) { return s.playerSettings[5].level == DEFAULT_PLAYERS[5].level; }},
        {"level 200", 42 + 1, 200, [&](const Settings& s) { return s.playerSettings[0].level == DEFAULT_PLAYERS[0].level; }},
        {"colour 6", 42 + 75 + 2, 6, colourIsOwnSeat},
        {"colour 255", 42 + 2, 255, colourIsOwnSeat},
        {"name length 22", 42 + 100 + 3, 22, [](const Settings& s) { return s.playerSettings[4].nameLength == 21; }},
        {"name length 255", 42 + 3, 255, [](const Settings& s) { return s.playerSettings[0].nameBytes().size() == 21; }},
        {"name length 21", 42 + 3, 21, [](const Settings& s) { return s.playerSettings[0].nameLength == 21; }},
        {"human speed 6", 193, 6, [](const Settings& s) { return s.humanSpeed == 3; }},
        {"computer speed 255", 194, 255, [](const Settings& s) { return s.computerSpeed == 3; }},
        {"speed 5 is valid", 194, 5, [](const Settings& s) { return s.computerSpeed == 5; }},
        {"speed 0 is valid", 193, 0, [](const Settings& s) { return s.humanSpeed == 0; }},
        {"language 0", 195, 0, [](const Settings& s) { return s.language == Language::German; }},
        {"language 3", 195, 3, [](const Settings& s) { return s.language == Language::German; }},
        {"language 2", 195, 2, [](const Settings& s) { return s.language == Language::English; }},
        {"sound 2", 40, 2, [](const Settings& s) { return s.soundOn; }},
        {"move sound 0x80", 41, 0x80, [](const Settings& s) { return s.moveSoundOn; }},
        {"ten pegs 0xFF", 192, 0xFF, [](const Settings& s) { return s.alwaysTenPegs; }},
        {"mark direction 0", 196, 0, [](const Settings& s) { return !s.markDirection; }},
        {"high byte of a colour", 16 + 3, 0x01, [](const Settings& s) { return s.pegColours[0] == DEFAULT_PEG_COLOURS[0]; }},
    };
    for (const Repair& c : cases) {
        Bytes b = defaultRecord();
        b[c.offset] = c.value;
        SettingsRecord record;
        Settings s;
        s.language = Language::English;  // shows that a repaired language is not left as it was
        ASSERT_TRUE(record.decode(b, s)) << c.what;
        EXPECT_TRUE(c.holds(s)) << c.what;
        // The buffer keeps what was read; the next save writes the repaired value.
        EXPECT_EQ(record.bytes()[c.offset], c.value) << c.what;
        Settings again;
        SettingsRecord reread;
        ASSERT_TRUE(reread.decode(record.encode(s), again));
        EXPECT_EQ(again, s) << c.what << ": a saved record needs no repair";
    }
}

TEST(SettingsRecord, SeatColoursMustBeSixDifferentIndices) {
    const std::vector<std::pair<std::array<std::uint8_t, 6>, bool>> cases = {
        {{5, 4, 3, 2, 1, 0}, true},
        {{1, 2, 3, 4, 5, 0}, true},
        {{0, 0, 2, 3, 4, 5}, false},
        {{5, 4, 3, 2, 1, 5}, false},
        {{0, 1, 2, 3, 4, 6}, false},
    };
    for (const auto& [colours, kept] : cases) {
        Bytes b = defaultRecord();
        for (std::size_t seat = 0; seat < 6; ++seat) b[42 + 25 * seat + 2] = colours[seat];
        SettingsRecord record;
        Settings s;
        ASSERT_TRUE(record.decode(b, s));
        for (std::size_t seat = 0; seat < 6; ++seat)
            EXPECT_EQ(s.playerSettings[seat].colour, kept ? colours[seat] : seat) << "seat " << seat;
    }
}

TEST(SettingsRecord, FlagsAreWrittenAsZeroOrOne) {
    Bytes b = defaultRecord();
    for (std::size_t at : {40, 41, 192, 196}) b[at] = 0x7F;
    SettingsRecord record;
    Settings s;
    ASSERT_TRUE(record.decode(b, s));
    const auto& out = record.encode(s);
    for (std::size_t at : {40, 41, 192, 196}) EXPECT_EQ(out[at], 1) << "byte " << at;
}

// The strongest level is stored as level 0 in the seat's byte and as bit k of
// byte 197 (seats at 42 + 25k: kind, level). Defaults: seat 0 human, 1-5 computers.
struct StrongSeats {
    std::string what;
    std::uint8_t byte197;                     // as the file holds it
    std::array<std::uint8_t, 6> levelBytes;   // the seats' level bytes in the file
    std::array<std::uint8_t, 6> levels;       // the live levels after loading
    std::uint8_t saved197;                    // byte 197 when saved again
};

TEST(SettingsRecord, StrongestLevelSeatsAreLevelZeroWithABitInByte197) {
    const std::vector<StrongSeats> cases = {
        {"no bit", 0x00, {0, 1, 2, 0, 1, 2}, {0, 1, 2, 0, 1, 2}, 0x00},
        {"every bit: the human seat keeps its level", 0x3F, {0, 1, 2, 0, 1, 2}, {0, 3, 3, 3, 3, 3}, 0x3E},
        {"bits 6 and 7 are kept and mean nothing", 0xC2, {0, 1, 2, 0, 1, 2}, {0, 3, 2, 0, 1, 2}, 0xC2},
        {"level byte 3 is no level of the file", 0x00, {0, 3, 2, 3, 1, 2}, {0, 1, 2, 0, 1, 2}, 0x00},
    };
    for (const StrongSeats& c : cases) {
        Bytes b = defaultRecord();
        b[197] = c.byte197;
        for (std::size_t seat = 0; seat < 6; ++seat) b[42 + 25 * seat + 1] = c.levelBytes[seat];
        SettingsRecord record;
        Settings s;
        ASSERT_TRUE(record.decode(b, s)) << c.what;
        for (std::size_t seat = 0; seat < 6; ++seat) EXPECT_EQ(s.playerSettings[seat].level, c.levels[seat]) << c.what << ", seat " << seat;
        const auto& out = record.encode(s);
        EXPECT_EQ(out[197], c.saved197) << c.what;
        for (std::size_t seat = 0; seat < 6; ++seat)
            EXPECT_EQ(out[42 + 25 * seat + 1], c.levels[seat] == 3 ? 0 : c.levels[seat]) << c.what << ", seat " << seat;
        // A reset gives every seat an original level back: only bits 6 and 7 stay.
        s.reset(false);
        EXPECT_EQ(record.encode(s)[197], c.byte197 & 0xC0) << c.what;
    }
    // Only a seat that plays the strongest level sets its bit: seat 2 empty, seat 4 human.
    Settings s;
    for (int seat : {1, 2, 3, 4}) s.playerSettings[std::size_t(seat)].level = 3;
    s.playerSettings[2].kind = PlayerKind::NotPlaying;
    s.playerSettings[4].kind = PlayerKind::Human;
    SettingsRecord record;
    const auto& out = record.encode(s);
    EXPECT_EQ(out.size(), 200u);
    EXPECT_EQ((Bytes{out[43], out[68], out[93], out[118], out[143], out[168], out[197]}), (Bytes{0, 0, 0, 0, 0, 2, 0x0A}));
}

// Byte 198: bit 0 marks on the pegs, bit 1 long jumps, bit 2 swap in the target.
// Byte 199: bit k, human seat k is played over the network (seat 0 is the only
// human seat of the defaults). Every other bit of both bytes is kept as read.
struct FlagBytes {
    std::string what;
    std::uint8_t byte198, byte199;  // as the file holds them
    bool pegMarks, longJumps, swapInTarget;
    std::uint8_t networkSeats;
    std::uint8_t saved199;
};

TEST(SettingsRecord, MarksRulesAndNetworkSeatsAreBitsOfTheLastTwoBytes) {
    const std::vector<FlagBytes> cases = {
        {"nothing set", 0x00, 0x00, false, false, false, 0x00, 0x00},
        {"marks only", 0x01, 0x00, true, false, false, 0x00, 0x00},
        {"both rules", 0x06, 0x00, false, true, true, 0x00, 0x00},
        {"unknown bits kept", 0xF8, 0xC0, false, false, false, 0x00, 0xC0},
        {"a computer seat's network bit is dropped", 0x00, 0x3F, false, false, false, 0x01, 0x01},
    };
    for (const FlagBytes& c : cases) {
        Bytes b = defaultRecord();
        b[198] = c.byte198;
        b[199] = c.byte199;
        SettingsRecord record;
        Settings s;
        ASSERT_TRUE(record.decode(b, s)) << c.what;
        EXPECT_EQ(s.pegMarks, c.pegMarks) << c.what;
        EXPECT_EQ(s.rules.longJumps, c.longJumps) << c.what;
        EXPECT_EQ(s.rules.swapInTarget, c.swapInTarget) << c.what;
        EXPECT_EQ(s.networkSeats, c.networkSeats) << c.what;
        const auto& out = record.encode(s);
        EXPECT_EQ(out[198], c.byte198) << c.what;
        EXPECT_EQ(out[199], c.saved199) << c.what;
    }
    // Turning each option on sets its own bit and leaves the unknown ones alone.
    Bytes b = defaultRecord();
    b[198] = 0x80;
    SettingsRecord record;
    Settings s;
    ASSERT_TRUE(record.decode(b, s));
    s.pegMarks = true;
    s.rules.swapInTarget = true;
    s.playerSettings[3].kind = PlayerKind::Human;
    s.networkSeats = 0x08;
    const auto& out = record.encode(s);
    EXPECT_EQ(out[198], 0x85);
    EXPECT_EQ(out[199], 0x08);
}

TEST(SettingsReset, KeepsOrResetsTheLanguage) {
    Settings s = unusualSettings();
    s.reset(false);
    Settings expected;
    expected.language = Language::English;
    EXPECT_EQ(s, expected);
    s.reset(true);
    EXPECT_EQ(s, Settings{});
    EXPECT_EQ(s.language, Language::German);
}
