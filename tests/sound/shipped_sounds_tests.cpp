// The sound files the build generates beside the program: five playable
// waves, each exactly as long as the game counts it, starting and ending in
// silence so that nothing clicks.
#include "audible.h"
#include "ui/soundfile.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace vexel {
namespace {

std::vector<std::int16_t> samplesOf(const WaveView& wave) {
    std::vector<std::int16_t> out(wave.samples.size() / 2);
    std::memcpy(out.data(), wave.samples.data(), out.size() * 2);
    return out;
}

TEST(ShippedSounds, AreFivePlayableWavesOfTheCountedLengths) {
    const SoundBank bank = loadSoundFiles(QCoreApplication::applicationDirPath().toStdString());
    for (int n = 1; n <= SOUND_COUNT; ++n) {
        SCOPED_TRACE(testing::Message() << "sound " << n);
        ASSERT_TRUE(bank.has(n));
        const auto wave = parseWave(bank.images[std::size_t(n - 1)]);
        ASSERT_TRUE(wave);
        EXPECT_EQ(wave->format, (WaveFormat{1, 44100, 16}));
        const auto samples = samplesOf(*wave);
        const double lengthMs = 1000.0 * double(samples.size()) / wave->format.sampleRate;
        EXPECT_NEAR(lengthMs, SOUND_LENGTH[std::size_t(n - 1)], 0.05);

        // Loud enough to hear, with headroom, and one stretch of sound from
        // nearly the start to nearly the end.
        const auto audible = test::audibleStretches(samples, wave->format.sampleRate);
        ASSERT_EQ(audible.size(), 1u);
        EXPECT_LT(audible[0].startMs, 10);
        EXPECT_GT(audible[0].endMs, 0.6 * lengthMs);
        int peak = 0;
        for (const auto s : samples) peak = std::max(peak, std::abs(int(s)));
        EXPECT_GT(peak, 32768 / 4);
        EXPECT_LT(peak, 32768 * 9 / 10);

        // Fades in and out from silence: the first and last half millisecond stay far below the peak.
        EXPECT_EQ(samples.front(), 0);
        EXPECT_EQ(samples.back(), 0);
        const std::size_t halfMs = wave->format.sampleRate / 2000;
        for (std::size_t i = 0; i < halfMs; ++i) {
            EXPECT_LT(std::abs(int(samples[i])), peak / 10) << "at sample " << i;
            EXPECT_LT(std::abs(int(samples[samples.size() - 1 - i])), peak / 10) << "at the end - " << i;
        }
    }
}

}  // namespace
}  // namespace vexel
