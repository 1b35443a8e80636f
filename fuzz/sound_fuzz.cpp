// Fuzzes the reading of the sound files: the first byte says how much of the
// rest is SOUNDS.IDX (so that indexes of every length, not only 40 bytes, are
// tried), the remainder is SOUNDS.DAT. Whatever comes in, every image the bank
// keeps must be a wave whose samples lie inside that image.
#include "ui/soundfile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    if (size == 0) return 0;
    const std::span<const std::uint8_t> input(bytes + 1, size - 1);
    // A first byte below 128 means the real index size, 40; others give 0..127 bytes.
    const std::size_t indexSize = std::min<std::size_t>(bytes[0] < 128 ? vexel::SOUND_INDEX_SIZE : bytes[0] - 128u,
                                                        input.size());
    const vexel::SoundBank bank = vexel::parseSoundFiles(input.first(indexSize), input.subspan(indexSize));
    for (int n = 1; n <= vexel::SOUND_COUNT; ++n) {
        if (!bank.has(n)) continue;
        const auto& image = bank.images[std::size_t(n - 1)];
        const auto wave = vexel::parseWave(image);
        if (!wave || wave->samples.data() < image.data() ||
            wave->samples.data() + wave->samples.size() > image.data() + image.size() ||
            wave->samples.size() % wave->format.bytesPerFrame() != 0)
            std::abort();
    }
    // The wave reader on its own, on the whole input.
    (void)vexel::parseWave(std::span<const std::uint8_t>(bytes, size));
    return 0;
}
