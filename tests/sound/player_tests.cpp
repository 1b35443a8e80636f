// The player without any audio device (sound_tests point Qt's audio at no
// server): it must stay silent and quiet, yet keep the game's sound timing.
#include "core/gameview.h"
#include "ui/sound.h"
#include "ui/tickcount.h"

#include <gtest/gtest.h>

namespace vexel {
namespace {

SoundBank bankWith(std::initializer_list<int> sounds) {
    SoundBank bank;
    const std::vector<std::int16_t> pcm(800, 1000);
    for (const int n : sounds) bank.images[std::size_t(n - 1)] = makeWaveImage(8000, pcm);
    return bank;
}

TEST(SoundPlayer, AnAbsentSoundDoesNothing) {
    SoundPlayer player(bankWith({3}));
    for (const int n : {0, 1, 2, 4, 5, 6, -1}) {
        player.playSound(n);
        EXPECT_FALSE(player.has(n)) << n;
    }
    EXPECT_EQ(player.soundEndTime(), 0u);
    EXPECT_TRUE(player.has(3));
}

TEST(SoundPlayer, AnUnplayableImageIsAbsent) {
    SoundBank bank = bankWith({1, 2});
    bank.images[1][0] = 'X';
    SoundPlayer player(std::move(bank));
    EXPECT_TRUE(player.has(1));
    EXPECT_FALSE(player.has(2));
}

TEST(SoundPlayer, WithoutADeviceASoundIsSilentButCountedAndWaitedFor) {
    SoundPlayer player(bankWith({1, 5}));
    const std::uint32_t before = tickCount();
    player.playSound(1);
    player.playSound(5);  // the last sound started decides the end
    const std::uint32_t after = tickCount();
    EXPECT_TRUE(tickReached(player.soundEndTime(), before + SOUND_LENGTH[4]));
    EXPECT_TRUE(tickReached(after + SOUND_LENGTH[4], player.soundEndTime()));
    player.waitSoundEnd();
    EXPECT_TRUE(tickReached(tickCount(), player.soundEndTime()));
    player.freeSounds();
}

TEST(SoundPlayer, WaitingWithoutAnySoundStartedReturns) {
    SoundPlayer player(bankWith({}));
    player.waitSoundEnd();
    SoundPlayer silent(bankWith({2}));
    silent.freeSounds();
    silent.playSound(2);
    silent.waitSoundEnd();
    EXPECT_EQ(silent.soundEndTime(), 0u);
}

TEST(SoundPlayer, FreedSoundsAreAbsent) {
    SoundPlayer player(bankWith({1, 2, 3, 4, 5}));
    player.freeSounds();
    for (int n = 1; n <= SOUND_COUNT; ++n) EXPECT_FALSE(player.has(n)) << n;
    player.playSound(4);
    EXPECT_EQ(player.soundEndTime(), 0u);
}

}  // namespace
}  // namespace vexel
