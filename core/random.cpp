#include "random.h"

namespace vexel {

// splitmix64: small, fast, and the same numbers everywhere.
std::uint64_t Random::next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

std::uint32_t Random::below(std::uint32_t n) {
    // Rejection keeps every value equally likely, whatever n is.
    const std::uint64_t limit = UINT64_MAX - UINT64_MAX % n;
    std::uint64_t x;
    do x = next();
    while (x >= limit);
    return std::uint32_t(x % n);
}

}  // namespace vexel
