// The five game sounds as files: SOUNDS.IDX (five little-endian int32
// offset/length pairs, exactly 40 bytes) and SOUNDS.DAT (the wave images).
// Qt-free, so that the reading can be tested and fuzzed on its own.
//
// Invariants of a loaded SoundBank: an image that is present is a complete,
// playable PCM wave (parseWave accepts it); nothing is allocated before the
// sizes it is based on have been checked against what the files hold.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace vexel {

inline constexpr int SOUND_COUNT = 5;
// Playing time counted for sounds 1..5 in milliseconds: 1 German start,
// 2 English start, 3 hop, 4 a seat has finished, 5 closing.
inline constexpr std::array<std::uint32_t, SOUND_COUNT> SOUND_LENGTH = {1240, 1960, 150, 4710, 100};
inline constexpr std::size_t SOUND_INDEX_SIZE = 8 * SOUND_COUNT;

struct SoundBank {
    std::array<std::vector<std::uint8_t>, SOUND_COUNT> images;  // sound n at n - 1; empty = absent
    bool has(int sound) const;                                  // sound 1..5
};

// Both files' bytes to a bank. An index of another size, a negative offset or
// length, or an entry reaching past the end of the data gives an empty bank;
// an image that is not a playable wave leaves only that sound absent.
SoundBank parseSoundFiles(std::span<const std::uint8_t> index, std::span<const std::uint8_t> data);
// SOUNDS.IDX and SOUNDS.DAT in `folder`, with the same rules; a missing or
// unreadable file gives an empty bank. Reads only the bytes the index names.
SoundBank loadSoundFiles(const std::filesystem::path& folder);

// Wave images (RIFF/WAVE, integer PCM)
struct WaveFormat {
    std::uint16_t channels = 0;       // 1 or 2
    std::uint32_t sampleRate = 0;     // 8000..192000 Hz
    std::uint16_t bitsPerSample = 0;  // 8 (unsigned), 16 or 32 (signed)
    std::size_t bytesPerFrame() const { return std::size_t(channels) * bitsPerSample / 8; }
    bool operator==(const WaveFormat&) const = default;
};
struct WaveView {
    WaveFormat format;
    std::span<const std::uint8_t> samples;  // whole frames, inside the parsed image
};
// The format and sample bytes of a playable wave image; nullopt otherwise.
std::optional<WaveView> parseWave(std::span<const std::uint8_t> image);

// Writing, for the generator of the shipped sounds and for tests.
std::vector<std::uint8_t> makeWaveImage(std::uint32_t sampleRate, std::span<const std::int16_t> monoSamples);
struct SoundFiles {
    std::vector<std::uint8_t> index;  // SOUNDS.IDX
    std::vector<std::uint8_t> data;   // SOUNDS.DAT
};
SoundFiles packSoundFiles(const std::array<std::vector<std::uint8_t>, SOUND_COUNT>& images);

}  // namespace vexel
