// The one pseudo-random generator of a game: seeded once (from the clock by the
// window, from a number by tests and tools) and identical on every platform, so
// that a seed always replays the same games.
#pragma once

#include <cstdint>

namespace vexel {

class Random {
public:
    explicit Random(std::uint64_t seed = 1) { reseed(seed); }

    void reseed(std::uint64_t seed) { state_ = seed; }
    // Uniform integer in 0 .. n-1; n must be at least 1.
    std::uint32_t below(std::uint32_t n);

private:
    std::uint64_t next();
    std::uint64_t state_;
};

}  // namespace vexel
