// Reading and writing of the sound files and of single wave images.
// Every size read from a file is checked against the bytes that are really
// there before anything is allocated or copied: a damaged index can make the
// program silent, never make it allocate gigabytes or read out of bounds.
#include "ui/soundfile.h"

#include "settings/safefile.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace vexel {

namespace {

std::uint32_t le32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return std::uint32_t(bytes[at]) | std::uint32_t(bytes[at + 1]) << 8 | std::uint32_t(bytes[at + 2]) << 16 |
           std::uint32_t(bytes[at + 3]) << 24;
}

std::uint16_t le16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return std::uint16_t(bytes[at] | bytes[at + 1] << 8);
}

bool tagIs(std::span<const std::uint8_t> bytes, std::size_t at, const char (&tag)[5]) {
    return std::equal(tag, tag + 4, bytes.begin() + std::ptrdiff_t(at),
                      [](char a, std::uint8_t b) { return std::uint8_t(a) == b; });
}

void putLe32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(std::uint8_t(value >> shift));
}

void putLe16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(std::uint8_t(value));
    out.push_back(std::uint8_t(value >> 8));
}

void putTag(std::vector<std::uint8_t>& out, const char (&tag)[5]) { out.insert(out.end(), tag, tag + 4); }

struct IndexEntry {
    std::size_t offset = 0;
    std::size_t length = 0;
};
using SoundIndex = std::array<IndexEntry, SOUND_COUNT>;

// The five entries, or nullopt when the index as a whole is unusable.
std::optional<SoundIndex> readIndex(std::span<const std::uint8_t> index, std::uint64_t dataSize) {
    if (index.size() != SOUND_INDEX_SIZE) return std::nullopt;
    SoundIndex entries;
    for (std::size_t n = 0; n < entries.size(); ++n) {
        const auto offset = std::int32_t(le32(index, 8 * n));
        const auto length = std::int32_t(le32(index, 8 * n + 4));
        if (offset < 0 || length < 0) return std::nullopt;
        // Both are below 2^31, so the sum cannot overflow 64 bits.
        if (std::uint64_t(offset) + std::uint64_t(length) > dataSize) return std::nullopt;
        entries[n] = {std::size_t(offset), std::size_t(length)};
    }
    return entries;
}

// A bank from images that have been read; unplayable ones are dropped.
SoundBank keepPlayable(SoundBank bank) {
    for (auto& image : bank.images) {
        if (!parseWave(image)) image = {};
    }
    return bank;
}

// The GUID that marks integer PCM in an extensible format chunk, after its first two bytes.
constexpr std::array<std::uint8_t, 14> PCM_GUID_TAIL = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                                        0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

std::optional<WaveFormat> readFormatChunk(std::span<const std::uint8_t> chunk) {
    if (chunk.size() < 16) return std::nullopt;
    const std::uint16_t tag = le16(chunk, 0);
    if (tag == 0xFFFE) {
        // Extensible: the real format is the first two bytes of the sub-format GUID.
        if (chunk.size() < 40 || le16(chunk, 24) != 1) return std::nullopt;
        if (!std::equal(PCM_GUID_TAIL.begin(), PCM_GUID_TAIL.end(), chunk.begin() + 26)) return std::nullopt;
    } else if (tag != 1) {
        return std::nullopt;
    }
    WaveFormat format{le16(chunk, 2), le32(chunk, 4), le16(chunk, 14)};
    if (format.channels < 1 || format.channels > 2) return std::nullopt;
    if (format.sampleRate < 8000 || format.sampleRate > 192000) return std::nullopt;
    if (format.bitsPerSample != 8 && format.bitsPerSample != 16 && format.bitsPerSample != 32) return std::nullopt;
    return format;
}

}  // namespace

bool SoundBank::has(int sound) const {
    return sound >= 1 && sound <= SOUND_COUNT && !images[std::size_t(sound - 1)].empty();
}

SoundBank parseSoundFiles(std::span<const std::uint8_t> index, std::span<const std::uint8_t> data) {
    const auto entries = readIndex(index, data.size());
    if (!entries) return {};
    SoundBank bank;
    for (std::size_t n = 0; n < entries->size(); ++n) {
        const auto bytes = data.subspan((*entries)[n].offset, (*entries)[n].length);
        bank.images[n].assign(bytes.begin(), bytes.end());
    }
    return keepPlayable(std::move(bank));
}

SoundBank loadSoundFiles(const std::filesystem::path& folder) {
    // Only regular files, opened without waiting: a FIFO or a device of that name is a missing file.
    const auto index = openRegularFile(folder / "SOUNDS.IDX");
    if (!index || index->size != SOUND_INDEX_SIZE) return {};
    const auto data = openRegularFile(folder / "SOUNDS.DAT");
    if (!data) return {};

    std::array<std::uint8_t, SOUND_INDEX_SIZE> indexBytes{};
    if (!readExactlyAt(index->fd.get(), 0, indexBytes)) return {};
    const auto entries = readIndex(indexBytes, data->size);
    if (!entries) return {};

    SoundBank bank;
    for (std::size_t n = 0; n < entries->size(); ++n) {
        auto& image = bank.images[n];
        image.resize((*entries)[n].length);  // at most the size of SOUNDS.DAT, checked above
        // A short read means the file changed under us: treat it like any read error.
        if (!readExactlyAt(data->fd.get(), (*entries)[n].offset, image)) return {};
    }
    return keepPlayable(std::move(bank));
}

std::optional<WaveView> parseWave(std::span<const std::uint8_t> image) {
    if (image.size() < 12 || !tagIs(image, 0, "RIFF") || !tagIs(image, 8, "WAVE")) return std::nullopt;
    std::optional<WaveFormat> format;
    std::optional<std::span<const std::uint8_t>> data;
    bool formatSeen = false;
    // Chunks are walked by the image's real length; the RIFF size field is not trusted.
    std::size_t pos = 12;
    while (image.size() - pos >= 8 && !(formatSeen && data)) {
        const std::size_t body = pos + 8;
        const std::size_t size = le32(image, pos + 4);
        if (size > image.size() - body) break;  // a chunk cut off by the end of the image
        const auto chunk = image.subspan(body, size);
        if (tagIs(image, pos, "fmt ") && !formatSeen) {
            formatSeen = true;
            format = readFormatChunk(chunk);
        } else if (tagIs(image, pos, "data") && !data) {
            data = chunk;
        }
        pos = body + size;
        if (size % 2 == 1) {  // chunks are padded to even lengths
            if (pos == image.size()) break;
            ++pos;
        }
    }
    if (!format || !data) return std::nullopt;
    const std::size_t frame = format->bytesPerFrame();
    const std::size_t whole = data->size() / frame * frame;
    if (whole == 0) return std::nullopt;
    return WaveView{*format, data->first(whole)};
}

std::vector<std::uint8_t> makeWaveImage(std::uint32_t sampleRate, std::span<const std::int16_t> monoSamples) {
    const std::size_t dataBytes = monoSamples.size() * 2;
    if (dataBytes > std::numeric_limits<std::int32_t>::max() - 44) throw std::length_error("wave too long");
    std::vector<std::uint8_t> out;
    out.reserve(44 + dataBytes);
    putTag(out, "RIFF");
    putLe32(out, std::uint32_t(36 + dataBytes));
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    putLe32(out, 16);
    putLe16(out, 1);  // integer PCM
    putLe16(out, 1);  // mono
    putLe32(out, sampleRate);
    putLe32(out, sampleRate * 2);  // bytes per second
    putLe16(out, 2);               // bytes per frame
    putLe16(out, 16);              // bits per sample
    putTag(out, "data");
    putLe32(out, std::uint32_t(dataBytes));
    for (const std::int16_t sample : monoSamples) putLe16(out, std::uint16_t(sample));
    return out;
}

SoundFiles packSoundFiles(const std::array<std::vector<std::uint8_t>, SOUND_COUNT>& images) {
    SoundFiles files;
    for (const auto& image : images) {
        if (files.data.size() + image.size() > std::size_t(std::numeric_limits<std::int32_t>::max()))
            throw std::length_error("sound data too long");
        putLe32(files.index, std::uint32_t(files.data.size()));
        putLe32(files.index, std::uint32_t(image.size()));
        files.data.insert(files.data.end(), image.begin(), image.end());
    }
    return files;
}

}  // namespace vexel
