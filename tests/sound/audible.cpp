#include "audible.h"

#include <algorithm>
#include <cmath>

namespace vexel::test {

std::vector<Audible> audibleStretches(std::span<const std::int16_t> samples, std::uint32_t sampleRate,
                                      double bridgeMs, double thresholdRms) {
    const std::size_t window = std::max<std::size_t>(1, sampleRate / 200);  // 5 ms
    const double windowMs = 1000.0 * double(window) / sampleRate;
    std::vector<Audible> found;
    for (std::size_t start = 0; start + window <= samples.size(); start += window) {
        double energy = 0;
        for (std::size_t i = start; i < start + window; ++i) energy += double(samples[i]) * samples[i];
        const double rms = std::sqrt(energy / double(window));
        if (rms < thresholdRms) continue;
        const double at = 1000.0 * double(start) / sampleRate;
        if (!found.empty() && at - found.back().endMs <= bridgeMs) {
            found.back().endMs = at + windowMs;
            found.back().loudestRms = std::max(found.back().loudestRms, rms);
        } else {
            found.push_back({at, at + windowMs, rms});
        }
    }
    return found;
}

}  // namespace vexel::test
