// Small value types shared by every layer of Vexel: holes, seats, directions,
// player seats. No behaviour lives here.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace vexel {

// A hole of the star, numbered row by row from the top point: 0..120.
using CellIndex = std::uint8_t;
inline constexpr int CELL_COUNT = 121;
// No hole: a missing neighbour, an empty hole, a free place in the finishing order.
inline constexpr CellIndex NO_PEG = 125;
inline constexpr CellIndex CENTRE_CELL = 60;

// A seat round the board, 0..5 clockwise from the top point.
using Seat = std::uint8_t;
inline constexpr int SEAT_COUNT = 6;
inline constexpr int MAX_PEGS = 15;

// Six directions, clockwise from up-right; the opposite of d is (d + 3) % 6.
enum Direction : std::uint8_t { UpRight = 0, Right, DownRight, DownLeft, Left, UpLeft };
inline constexpr int DIRECTION_COUNT = 6;
constexpr Direction opposite(Direction d) { return Direction((d + 3) % 6); }

enum class PlayerKind : std::uint8_t { Human = 0, Computer = 1, NotPlaying = 2 };

// Computer levels: 0 is the strongest of the three original players, 2 the
// weakest; level 3 is the deeper searcher, stronger than all of them. Tables
// of the original players (evaluation rules, names) hold ORIGINAL_LEVEL_COUNT rows.
inline constexpr std::uint8_t ORIGINAL_LEVEL_COUNT = 3;
inline constexpr std::uint8_t LEVEL_COUNT = 4;

// One seat as the settings file stores it: 25 bytes, names as Windows-1252
// bytes behind a length byte. Bytes behind the length carry no meaning but are
// kept, so that a settings file round-trips unchanged.
struct PlayerSlot {
    static constexpr int MAX_NAME = 21;

    PlayerKind kind = PlayerKind::NotPlaying;
    std::uint8_t level = 0;
    std::uint8_t colour = 0;
    std::uint8_t nameLength = 0;
    std::array<char, MAX_NAME> name{};

    bool plays() const { return kind != PlayerKind::NotPlaying; }
    std::string_view nameBytes() const { return {name.data(), nameLength <= MAX_NAME ? nameLength : std::size_t(MAX_NAME)}; }
    // Takes at most MAX_NAME bytes; the bytes behind the new length stay as they were.
    void setName(std::string_view bytes);

    bool operator==(const PlayerSlot&) const = default;
};
static_assert(sizeof(PlayerSlot) == 25, "a seat is stored as 25 packed bytes");

using PlayerSlots = std::array<PlayerSlot, SEAT_COUNT>;

// Results of a modal dialog, as the winners display reports them.
enum class ModalResult : std::uint8_t { None = 0, Ok = 1, Cancel = 2, Abort = 3 };

}  // namespace vexel
