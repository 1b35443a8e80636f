#include "settings.h"

#include <algorithm>

namespace vexel {

PlayerSlot makePlayerSlot(PlayerKind kind, std::uint8_t level, std::uint8_t colour, std::string_view name) {
    PlayerSlot slot;
    slot.kind = kind;
    slot.level = level;
    slot.colour = colour;
    slot.setName(name);
    return slot;
}

const PlayerSlots DEFAULT_PLAYERS = {
    makePlayerSlot(PlayerKind::Human, 0, 0, "Spieler 1"),    makePlayerSlot(PlayerKind::Computer, 1, 1, "Spieler 2"),
    makePlayerSlot(PlayerKind::Computer, 2, 2, "Spieler 3"), makePlayerSlot(PlayerKind::Computer, 0, 3, "Spieler 4"),
    makePlayerSlot(PlayerKind::Computer, 1, 4, "Spieler 5"), makePlayerSlot(PlayerKind::Computer, 2, 5, "Spieler 6"),
};

void Settings::reset(bool includingLanguage) {
    const Language kept = language;
    *this = Settings{};
    if (!includingLanguage) language = kept;
}

bool Settings::repair() {
    const Settings before = *this;
    const Settings defaults;
    for (int s = 0; s < SEAT_COUNT; ++s) {
        PlayerSlot& slot = playerSettings[s];
        if (std::uint8_t(slot.kind) > std::uint8_t(PlayerKind::NotPlaying)) slot.kind = defaults.playerSettings[s].kind;
        if (slot.level >= LEVEL_COUNT) slot.level = defaults.playerSettings[s].level;
        if (slot.nameLength > PlayerSlot::MAX_NAME) slot.nameLength = PlayerSlot::MAX_NAME;
    }
    // The six seats must hold six different colour indices 0..5.
    std::array<bool, SEAT_COUNT> used{};
    bool coloursValid = true;
    for (const PlayerSlot& slot : playerSettings) {
        if (slot.colour >= SEAT_COUNT || used[slot.colour]) {
            coloursValid = false;
            break;
        }
        used[slot.colour] = true;
    }
    if (!coloursValid)
        for (int s = 0; s < SEAT_COUNT; ++s) playerSettings[s].colour = std::uint8_t(s);

    // A colour is 0x00BBGGRR; a high byte would make two equal-looking colours differ.
    for (ColourRef& colour : pegColours) colour &= 0x00FFFFFF;

    if (humanSpeed >= SPEED_COUNT) humanSpeed = defaults.humanSpeed;
    if (computerSpeed >= SPEED_COUNT) computerSpeed = defaults.computerSpeed;
    // Only a human seat can be played over the network.
    networkSeats &= 0x3F;
    for (int s = 0; s < SEAT_COUNT; ++s)
        if (playerSettings[s].kind != PlayerKind::Human) networkSeats &= std::uint8_t(~(1u << s));
    if (language != Language::German && language != Language::English) language = defaults.language;
    return !(*this == before);
}

std::uint8_t speedOf(const Settings& settings, PlayerKind kind) {
    const std::uint8_t speed = kind == PlayerKind::Human ? settings.humanSpeed : settings.computerSpeed;
    return std::min<std::uint8_t>(speed, SPEED_COUNT - 1);
}

}  // namespace vexel
