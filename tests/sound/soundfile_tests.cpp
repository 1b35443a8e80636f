// Reading SOUNDS.IDX / SOUNDS.DAT and single wave images: every damaged file
// must end in silence, never in a crash or a giant allocation.
#include "ui/soundfile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>

namespace vexel {
namespace {

// A short mono tone; `mark` makes each test image different.
std::vector<std::uint8_t> wave(int mark, std::size_t samples = 40) {
    std::vector<std::int16_t> pcm(samples);
    for (std::size_t i = 0; i < samples; ++i) pcm[i] = std::int16_t((i % 8 < 4 ? 1000 : -1000) + mark);
    return makeWaveImage(8000, pcm);
}

std::array<std::vector<std::uint8_t>, SOUND_COUNT> fiveWaves() {
    return {wave(1), wave(2, 60), wave(3, 10), wave(4, 200), wave(5)};
}

void putLe32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out[at + std::size_t(i)] = std::uint8_t(value >> (8 * i));
}

bool silent(const SoundBank& bank) {
    for (int n = 1; n <= SOUND_COUNT; ++n)
        if (bank.has(n)) return false;
    return true;
}

TEST(SoundFiles, ReadsEveryImageAtItsOffsetWhateverLiesBetween) {
    const auto images = fiveWaves();
    // Images in reverse order with junk around them: only the index decides.
    std::vector<std::uint8_t> data(7, 0xEE);
    std::vector<std::uint8_t> index(SOUND_INDEX_SIZE);
    for (std::size_t n = SOUND_COUNT; n-- > 0;) {
        putLe32(index, 8 * n, std::uint32_t(data.size()));
        putLe32(index, 8 * n + 4, std::uint32_t(images[n].size()));
        data.insert(data.end(), images[n].begin(), images[n].end());
        data.insert(data.end(), 3, 0xEE);
    }
    const SoundBank bank = parseSoundFiles(index, data);
    for (std::size_t n = 0; n < SOUND_COUNT; ++n) EXPECT_EQ(bank.images[n], images[n]) << "sound " << n + 1;
    EXPECT_FALSE(bank.has(0));
    EXPECT_FALSE(bank.has(6));
}

TEST(SoundFiles, AnEntryEndingExactlyAtTheEndOfTheDataIsRead) {
    const SoundFiles files = packSoundFiles(fiveWaves());
    const SoundBank bank = parseSoundFiles(files.index, files.data);
    EXPECT_TRUE(bank.has(5));
    EXPECT_EQ(bank.images[4], fiveWaves()[4]);
}

// An index file as packed for fiveWaves(), then cut to `size` bytes and with
// one entry (1..5; 0 none) changed; an offset of -1 keeps the packed one.
std::vector<std::uint8_t> damagedIndex(std::size_t size, int entry, std::int64_t offset, std::int64_t length) {
    auto index = packSoundFiles(fiveWaves()).index;
    if (entry > 0) {
        const std::size_t at = 8 * std::size_t(entry - 1);
        if (offset != -1) putLe32(index, at, std::uint32_t(offset));
        putLe32(index, at + 4, std::uint32_t(length));
    }
    index.resize(size, 0);
    return index;
}

TEST(SoundFiles, ADamagedIndexGivesNoSoundAtAll) {
    const std::uint32_t lastLength = std::uint32_t(fiveWaves()[4].size());
    const struct {
        const char* what;
        std::vector<std::uint8_t> index;
    } cases[] = {
        {"empty", damagedIndex(0, 0, -1, 0)},
        {"one byte short", damagedIndex(39, 0, -1, 0)},
        {"one byte long", damagedIndex(41, 0, -1, 0)},
        {"ten entries", damagedIndex(80, 0, -1, 0)},
        {"negative offset", damagedIndex(40, 3, 0x80000000, 10)},
        {"negative length", damagedIndex(40, 5, -1, 0xFFFFFFFF)},
        {"last entry one byte past the end", damagedIndex(40, 5, -1, lastLength + 1)},
        {"huge length", damagedIndex(40, 1, 0, 0x7FFFFFFF)},
        {"huge offset", damagedIndex(40, 4, 0x7FFFFFF0, 1)},
    };
    const auto data = packSoundFiles(fiveWaves()).data;
    for (const auto& [what, index] : cases) EXPECT_TRUE(silent(parseSoundFiles(index, data))) << what;
}

TEST(SoundFiles, AnImageThatIsNoWaveLeavesOnlyThatSoundSilent) {
    auto images = fiveWaves();
    images[1].assign(100, 0x42);
    images[3][20] = 3;  // format tag: floating point
    const SoundFiles files = packSoundFiles(images);
    const SoundBank bank = parseSoundFiles(files.index, files.data);
    EXPECT_TRUE(bank.has(1));
    EXPECT_FALSE(bank.has(2));
    EXPECT_TRUE(bank.has(3));
    EXPECT_FALSE(bank.has(4));
    EXPECT_TRUE(bank.has(5));
}

// Wave images

std::vector<std::uint8_t> bytes(std::initializer_list<std::string_view> parts) {
    std::vector<std::uint8_t> out;
    for (const auto part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

std::string le32(std::uint32_t v) { return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; }
std::string le16(std::uint16_t v) { return {char(v), char(v >> 8)}; }

std::string fmtChunk(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
    const std::uint16_t frame = std::uint16_t(channels * bits / 8);
    return "fmt " + le32(16) + le16(tag) + le16(channels) + le32(rate) + le32(rate * frame) + le16(frame) + le16(bits);
}

std::string riff(const std::string& chunks) { return "RIFF" + le32(std::uint32_t(4 + chunks.size())) + "WAVE" + chunks; }

const std::string FOUR_FRAMES = "data" + le32(8) + std::string(8, '\x10');
const std::string PCM16 = fmtChunk(1, 1, 22050, 16);

TEST(WaveImage, ReadsFormatAndSamplesOfAPlainPcmWave) {
    const auto image = bytes({riff(PCM16 + FOUR_FRAMES)});
    const auto parsed = parseWave(image);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->format, (WaveFormat{1, 22050, 16}));
    EXPECT_EQ(parsed->samples.size(), 8u);
    EXPECT_EQ(parsed->samples.data(), image.data() + image.size() - 8);
}

TEST(WaveImage, SkipsOtherChunksWithTheirPaddingAndTakesAnyOrder) {
    const std::string odd = "LIST" + le32(3) + "abc" + '\0';
    const auto parsed = parseWave(bytes({riff(odd + FOUR_FRAMES + odd + PCM16)}));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->samples.size(), 8u);
}

TEST(WaveImage, KeepsOnlyWholeFrames) {
    const auto image = bytes({riff(fmtChunk(1, 2, 11025, 8) + "data" + le32(7) + std::string(7, '\x80') + '\0')});
    const auto parsed = parseWave(image);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->format, (WaveFormat{2, 11025, 8}));
    EXPECT_EQ(parsed->samples.size(), 6u);
}

TEST(WaveImage, TakesExtensibleIntegerPcm) {
    const std::string guid = le16(1) + std::string("\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14);
    const std::string fmt = "fmt " + le32(40) + le16(0xFFFE) + le16(2) + le32(44100) + le32(44100 * 4) + le16(4) +
                            le16(16) + le16(22) + le16(16) + le32(3) + guid;
    const auto parsed = parseWave(bytes({riff(fmt + FOUR_FRAMES)}));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->format, (WaveFormat{2, 44100, 16}));
    std::string floatGuid = guid;
    floatGuid[0] = 3;
    EXPECT_FALSE(parseWave(bytes({riff(fmt.substr(0, fmt.size() - 16) + floatGuid + FOUR_FRAMES)})));
}

TEST(WaveImage, RefusesWhatCannotBePlayed) {
    const std::pair<const char*, std::string> cases[] = {
        {"empty", ""},
        {"not RIFF", "RIFX" + riff(PCM16 + FOUR_FRAMES).substr(4)},
        {"not WAVE", riff(PCM16 + FOUR_FRAMES).replace(8, 4, "AVI ")},
        {"floating point", riff(fmtChunk(3, 1, 22050, 32) + FOUR_FRAMES)},
        {"no channels", riff(fmtChunk(1, 0, 22050, 16) + FOUR_FRAMES)},
        {"three channels", riff(fmtChunk(1, 3, 22050, 16) + "data" + le32(6) + std::string(6, '\0'))},
        {"24 bits", riff(fmtChunk(1, 1, 22050, 24) + "data" + le32(6) + std::string(6, '\0'))},
        {"rate too low", riff(fmtChunk(1, 1, 4000, 16) + FOUR_FRAMES)},
        {"rate too high", riff(fmtChunk(1, 1, 400000, 16) + FOUR_FRAMES)},
        {"format chunk too short", riff("fmt " + le32(14) + PCM16.substr(8, 14) + FOUR_FRAMES)},
        {"no format chunk", riff(FOUR_FRAMES)},
        {"no data chunk", riff(PCM16)},
        {"data cut off", riff(PCM16 + "data" + le32(9) + std::string(8, '\0'))},
        {"data chunk size near 4 GiB", riff(PCM16 + "data" + le32(0xFFFFFFF8) + std::string(8, '\0'))},
        {"no whole frame", riff(PCM16 + "data" + le32(1) + std::string(2, '\0'))},
    };
    for (const auto& [what, image] : cases) EXPECT_FALSE(parseWave(bytes({image}))) << what;
}

// The files on disk

class SoundFolder : public testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("vexel-soundfiles-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    void write(const char* name, const std::vector<std::uint8_t>& content) {
        std::ofstream(folder / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(content.data()), std::streamsize(content.size()));
    }
    std::filesystem::path folder;
};

TEST_F(SoundFolder, LoadsWhatTheFilesHold) {
    const SoundFiles files = packSoundFiles(fiveWaves());
    write("SOUNDS.IDX", files.index);
    write("SOUNDS.DAT", files.data);
    const SoundBank bank = loadSoundFiles(folder);
    EXPECT_EQ(bank.images, fiveWaves());
}

TEST_F(SoundFolder, AMissingFileGivesNoSound) {
    const SoundFiles files = packSoundFiles(fiveWaves());
    EXPECT_TRUE(silent(loadSoundFiles(folder)));
    write("SOUNDS.IDX", files.index);
    EXPECT_TRUE(silent(loadSoundFiles(folder)));
    std::filesystem::remove(folder / "SOUNDS.IDX");
    write("SOUNDS.DAT", files.data);
    EXPECT_TRUE(silent(loadSoundFiles(folder)));
    EXPECT_TRUE(silent(loadSoundFiles(folder / "nowhere")));
}

TEST_F(SoundFolder, DamagedFilesGiveNoSound) {
    const auto data = packSoundFiles(fiveWaves()).data;
    const struct {
        const char* what;
        std::vector<std::uint8_t> index, data;
    } cases[] = {
        {"39-byte index", damagedIndex(39, 0, -1, 0), data},
        {"41-byte index", damagedIndex(41, 0, -1, 0), data},
        // Allocating 2 GiB for a 16-byte file would fail or take visibly
        // long; the sizes are checked against the file first.
        {"huge length, tiny data file", damagedIndex(40, 1, 0, 0x7FFFFFFF), std::vector<std::uint8_t>(16, 0)},
        {"data file one byte short", damagedIndex(40, 0, -1, 0), {data.begin(), data.end() - 1}},
    };
    for (const auto& bad : cases) {
        write("SOUNDS.IDX", bad.index);
        write("SOUNDS.DAT", bad.data);
        EXPECT_TRUE(silent(loadSoundFiles(folder))) << bad.what;
    }
}

TEST_F(SoundFolder, ANonWaveImageOnDiskLeavesTheOthersPlaying) {
    auto images = fiveWaves();
    images[2][0] = 'X';
    const SoundFiles files = packSoundFiles(images);
    write("SOUNDS.IDX", files.index);
    write("SOUNDS.DAT", files.data);
    const SoundBank bank = loadSoundFiles(folder);
    EXPECT_FALSE(bank.has(3));
    for (const int n : {1, 2, 4, 5}) EXPECT_TRUE(bank.has(n)) << n;
}

}  // namespace
}  // namespace vexel
