// Where a recording (or a wave image) is audible: the stretches whose short-
// window loudness stands above a threshold, small gaps bridged.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace vexel::test {

struct Audible {
    double startMs = 0;
    double endMs = 0;
    double loudestRms = 0;  // of the 5 ms windows, in sample units (full scale 32768)
    double lengthMs() const { return endMs - startMs; }
};

inline constexpr double AUDIBLE_RMS = 180;  // about -45 dB below full scale

std::vector<Audible> audibleStretches(std::span<const std::int16_t> samples, std::uint32_t sampleRate,
                                      double bridgeMs = 100, double thresholdRms = AUDIBLE_RMS);

}  // namespace vexel::test
