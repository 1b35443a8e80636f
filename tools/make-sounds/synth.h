// A small additive synthesizer for the game's sounds: notes with a few
// harmonics under a smooth envelope, mixed into one mono track.
// Every note starts and ends at zero amplitude, so nothing clicks.
#pragma once

#include <cstdint>
#include <vector>

namespace vexel::synth {

inline constexpr std::uint32_t SAMPLE_RATE = 44100;

struct Timbre {
    std::vector<double> harmonics;  // amplitude of partial 1, 2, 3, ...
    double attackMs = 8;
    double decayMs = 400;    // time constant of the fall after the attack
    double sustain = 0.5;    // level the fall tends to
    double releaseMs = 40;   // cosine fade at the end of the note
    double vibratoHz = 0;
    double vibratoDepth = 0; // relative frequency swing
};

struct Note {
    double startMs;
    double lengthMs;
    int midi;          // 69 = A4 = 440 Hz
    double gain = 1.0;
};

class Track {
public:
    explicit Track(double lengthMs);
    void add(const Note& note, const Timbre& timbre);
    // Scales the track so that its loudest sample is `peak` of full scale and
    // converts it to 16-bit samples; the first and last samples are zero.
    std::vector<std::int16_t> finish(double peak) const;

private:
    std::vector<double> samples_;
};

double frequencyOf(int midi);

}  // namespace vexel::synth
