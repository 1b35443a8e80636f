#include "synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vexel::synth {

namespace {

std::size_t samplesFor(double ms) { return std::size_t(std::lround(ms * SAMPLE_RATE / 1000.0)); }

// Rises with a half cosine over the attack, then falls exponentially towards
// the sustain level; the last releaseMs fade to zero with another half cosine.
double envelope(double t, double length, const Timbre& timbre) {
    const double attack = timbre.attackMs / 1000.0;
    const double release = std::min(timbre.releaseMs / 1000.0, length / 2);
    double level;
    if (t < attack) {
        level = 0.5 - 0.5 * std::cos(std::numbers::pi * t / attack);
    } else {
        const double fall = std::exp(-(t - attack) / (timbre.decayMs / 1000.0));
        level = timbre.sustain + (1 - timbre.sustain) * fall;
    }
    const double untilEnd = length - t;
    if (untilEnd < release) level *= 0.5 - 0.5 * std::cos(std::numbers::pi * std::max(untilEnd, 0.0) / release);
    return level;
}

}  // namespace

double frequencyOf(int midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

Track::Track(double lengthMs) : samples_(samplesFor(lengthMs), 0.0) {}

void Track::add(const Note& note, const Timbre& timbre) {
    const std::size_t first = samplesFor(note.startMs);
    const std::size_t count = samplesFor(note.lengthMs);
    const double length = double(count) / SAMPLE_RATE;
    const double base = frequencyOf(note.midi);
    double phase = 0;  // of the fundamental, in cycles; vibrato bends it smoothly
    for (std::size_t i = 0; i < count && first + i < samples_.size(); ++i) {
        const double t = double(i) / SAMPLE_RATE;
        double value = 0;
        for (std::size_t k = 0; k < timbre.harmonics.size(); ++k) {
            value += timbre.harmonics[k] * std::sin(2 * std::numbers::pi * double(k + 1) * phase);
        }
        samples_[first + i] += note.gain * envelope(t, length, timbre) * value;
        const double vibrato = 1 + timbre.vibratoDepth * std::sin(2 * std::numbers::pi * timbre.vibratoHz * t);
        phase += base * vibrato / SAMPLE_RATE;
    }
}

std::vector<std::int16_t> Track::finish(double peak) const {
    double loudest = 0;
    for (const double s : samples_) loudest = std::max(loudest, std::abs(s));
    const double scale = loudest > 0 ? peak * 32767.0 / loudest : 0;
    std::vector<std::int16_t> out(samples_.size());
    std::transform(samples_.begin(), samples_.end(), out.begin(),
                   [scale](double s) { return std::int16_t(std::lround(s * scale)); });
    if (!out.empty()) out.front() = out.back() = 0;
    return out;
}

}  // namespace vexel::synth
