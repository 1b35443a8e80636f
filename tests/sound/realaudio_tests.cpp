// The shipped sounds really heard: played through SoundPlayer into the null
// sink of a private PulseAudio server, recorded from its monitor and measured.
// Skipped, with the reason, where no such server can be started.
#include "audible.h"
#include "pulse.h"
#include "ui/sound.h"

#include <QCoreApplication>
#include <QMediaDevices>
#include <QAudioDevice>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <functional>
#include <iostream>
#include <thread>

namespace vexel {
namespace {

using test::Audible;

void sleepMs(std::uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

double decibels(double ratio) { return 20 * std::log10(ratio); }

std::string describe(const std::vector<Audible>& stretches) {
    std::string text = "heard:";
    for (const auto& s : stretches)
        text += " " + std::to_string(std::lround(s.startMs)) + ".." + std::to_string(std::lround(s.endMs)) + " ms";
    return text;
}

class RealAudio : public testing::Test {
protected:
    void SetUp() override {
        const auto& audio = test::testAudio();
        if (!audio.server) GTEST_SKIP() << "no private PulseAudio server: " << audio.whyNot;
        ASSERT_FALSE(QMediaDevices::defaultAudioOutput().isNull()) << "the server runs, but Qt finds no audio output";
        bank = loadSoundFiles(QCoreApplication::applicationDirPath().toStdString());
        for (int n = 1; n <= SOUND_COUNT; ++n) ASSERT_TRUE(bank.has(n)) << "sound " << n << " was not generated";
    }

    // What the sink played while `play` ran, with a little silence before.
    std::vector<Audible> record(const std::function<void()>& play, double minimumMs) {
        const auto file = test::testAudio().folder /
                          (std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) + ".raw");
        test::MonitorRecorder recorder(file);
        EXPECT_TRUE(recorder.running());
        sleepMs(400);  // parec connects and starts recording
        play();
        const auto samples = recorder.stop();
        const double recordedMs = 1000.0 * double(samples.size()) / test::RECORD_RATE;
        EXPECT_GT(recordedMs, minimumMs) << "the recording is shorter than the time played";
        return test::audibleStretches(samples, test::RECORD_RATE);
    }

    // The audible stretch of the image itself, measured the same way.
    Audible imageStretch(int sound) const {
        const auto wave = parseWave(bank.images[std::size_t(sound - 1)]);
        std::vector<std::int16_t> samples(wave->samples.size() / 2);
        std::memcpy(samples.data(), wave->samples.data(), samples.size() * 2);
        const auto stretches = test::audibleStretches(samples, wave->format.sampleRate);
        return stretches.empty() ? Audible{} : stretches.front();
    }

    void expectWhole(const Audible& heard, int sound) {
        const Audible image = imageStretch(sound);
        std::cout << "  sound " << sound << ": heard " << std::lround(heard.lengthMs()) << " ms of "
                  << std::lround(image.lengthMs()) << " ms, level " << std::lround(decibels(heard.loudestRms / 32768))
                  << " dBFS (image " << std::lround(decibels(image.loudestRms / 32768)) << " dBFS)\n";
        EXPECT_NEAR(heard.lengthMs(), image.lengthMs(), 50) << "sound " << sound << " is not heard whole";
        EXPECT_NEAR(decibels(heard.loudestRms / image.loudestRms), 0, 3) << "sound " << sound << " level";
    }

    SoundBank bank;
};

TEST_F(RealAudio, EverySoundIsHeardWholeTheClosingOneToo) {
    const auto heard = record(
        [this] {
            SoundPlayer player(bank);
            for (int n = 1; n <= 4; ++n) {
                player.playSound(n);
                sleepMs(SOUND_LENGTH[std::size_t(n - 1)] + 700);
            }
            // As the window closes: the closing sound, its counted length, then the end of all sounds.
            player.playSound(5);
            player.waitSoundEnd();
            player.freeSounds();
            sleepMs(400);
        },
        8000);
    ASSERT_EQ(heard.size(), 5u) << describe(heard);
    for (int n = 1; n <= SOUND_COUNT; ++n) expectWhole(heard[std::size_t(n - 1)], n);
    for (std::size_t i = 1; i < heard.size(); ++i)
        std::cout << "  sound " << i + 1 << " began " << std::lround(heard[i].startMs - heard[i - 1].startMs)
                  << " ms after sound " << i << "\n";
}

TEST_F(RealAudio, ANewSoundCutsTheOneThatIsPlaying) {
    const auto heard = record(
        [this] {
            SoundPlayer player(bank);
            player.playSound(4);  // 4.7 s long
            sleepMs(1000);
            player.playSound(3);
            sleepMs(1500);
        },
        2000);
    ASSERT_FALSE(heard.empty());
    std::cout << "  " << describe(heard) << "\n";
    const double span = heard.back().endMs - heard.front().startMs;
    std::cout << "  the fanfare cut after 1000 ms by a hop: heard for " << std::lround(span) << " ms\n";
    EXPECT_GT(span, 900);
    EXPECT_LT(span, 1600) << "the fanfare went on after the hop sound started";
    EXPECT_LT(heard.back().lengthMs(), 1600);
}

TEST_F(RealAudio, HopsInQuickSuccessionAreEachHeard) {
    const auto heard = record(
        [this] {
            SoundPlayer player(bank);
            for (int hop = 0; hop < 5; ++hop) {
                player.playSound(3);
                sleepMs(300);
            }
            sleepMs(400);
        },
        1500);
    ASSERT_EQ(heard.size(), 5u) << describe(heard);
    for (const auto& click : heard) expectWhole(click, 3);
}

TEST_F(RealAudio, NothingIsHeardWhenNothingIsPlayed) {
    const auto heard = record(
        [this] {
            SoundPlayer player(bank);
            sleepMs(1000);
            player.freeSounds();
        },
        800);
    EXPECT_TRUE(heard.empty()) << describe(heard);
}

}  // namespace
}  // namespace vexel
