// The pace of the six speeds: frames per hop, time between frames, the pause
// between hops and the pause after each hole a computer player marks.
#pragma once

#include <array>
#include <cstdint>

namespace vexel {

inline constexpr std::array<std::uint8_t, 6> STEP_FRAMES = {2, 6, 10, 14, 20, 28};  // always even
inline constexpr std::array<std::uint8_t, 6> FRAME_DELAY = {0, 30, 50, 50, 50, 60};
inline constexpr std::array<std::uint16_t, 6> STEP_PAUSE = {0, 50, 100, 180, 250, 500};
inline constexpr std::array<std::uint16_t, 6> COMPUTER_STEP_DELAY = {0, 50, 100, 300, 500, 900};

}  // namespace vexel
