// The live settings of Vexel: one plain record, each field declared once with
// its default and its valid range. The game reads the seats, the 10-peg option,
// the speeds and the sound switches from here; settings/ loads, saves and resets it.
#pragma once

#include "types.h"

namespace vexel {

// Peg colours are stored as 0x00BBGGRR, red in the low byte.
using ColourRef = std::uint32_t;
inline constexpr std::array<ColourRef, SEAT_COUNT> DEFAULT_PEG_COLOURS = {
    0x0000FF00, 0x00FF0000, 0x0000FFFF, 0x000000FF, 0x00FF00FF, 0x00FFFF00};

PlayerSlot makePlayerSlot(PlayerKind kind, std::uint8_t level, std::uint8_t colour, std::string_view name);
extern const PlayerSlots DEFAULT_PLAYERS;

enum class Language : std::uint8_t { German = 1, English = 2 };

// Rules a table may agree on beside the classic ones; both off is the classic game.
struct HouseRules {
    bool longJumps = false;     // a jump may fly over one peg with equal empty stretches before and behind it
    bool swapInTarget = false;  // a peg may swap with the home seat's peg left in its target point

    bool classic() const { return !longJumps && !swapInTarget; }
    bool operator==(const HouseRules&) const = default;
};

inline constexpr std::uint8_t SPEED_COUNT = 6;
inline constexpr std::uint8_t DEFAULT_SPEED = 3;

struct Settings {
    std::array<ColourRef, SEAT_COUNT> pegColours = DEFAULT_PEG_COLOURS;
    bool soundOn = true;      // start, finish and closing sounds
    bool moveSoundOn = true;  // the click after each hop
    PlayerSlots playerSettings = DEFAULT_PLAYERS;
    bool alwaysTenPegs = false;
    std::uint8_t humanSpeed = DEFAULT_SPEED;     // 0..SPEED_COUNT-1
    std::uint8_t computerSpeed = DEFAULT_SPEED;  // 0..SPEED_COUNT-1
    Language language = Language::German;
    bool markDirection = true;  // coloured target rings during a game
    bool pegMarks = false;      // a shape on every peg, so that seats differ by more than colour
    HouseRules rules;           // for the next new game
    std::uint8_t networkSeats = 0;  // bit k: human seat k is played from another computer

    // Every field back to its default; the language only when asked to.
    void reset(bool includingLanguage);
    // Values outside their ranges replaced by defaults, so that nothing read
    // from a foreign file can index past a table. Returns true if anything changed.
    bool repair();

    bool operator==(const Settings&) const = default;
};

// The seat's speed for the animation: humans and computers are paced apart.
std::uint8_t speedOf(const Settings& settings, PlayerKind kind);

}  // namespace vexel
