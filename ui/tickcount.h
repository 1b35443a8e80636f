// The program's millisecond tick count: a steady clock truncated to 32 bits.
// Compare ticks with tickReached() (core/gameview.h), which survives the wrap.
#pragma once

#include <chrono>
#include <cstdint>

namespace vexel {

inline std::uint32_t tickCount() {
    using namespace std::chrono;
    return std::uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace vexel
