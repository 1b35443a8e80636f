// The settings record: the 200 bytes that VEXEL.CFG holds, and their mapping
// to the live Settings. One record buffer lives for the whole run: decoding
// fills it from the file, encoding writes the assigned fields into it, so that
// bytes this program does not use (the unassigned stretches, the tail of a
// name behind its length) go back to the file exactly as they were read.
//
// Layout (little-endian):
//     0  magic (14)            16  pegColours, 6 x u32     40  soundOn
//    41  moveSoundOn           42  playerSettings, 6 x 25  192  alwaysTenPegs
//   193  humanSpeed           194  computerSpeed          195  language
//   196  markDirection        197  strongest-level seats, bits 0-5 (6-7 kept)
//   198  bit 0 pegMarks, bit 1 long jumps, bit 2 swap in the target (3-7 kept)
//   199  network seats, bits 0-5 (6-7 kept)
//   14 (2) are unassigned.
#pragma once

#include "core/settings.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace vexel {

inline constexpr std::size_t SETTINGS_RECORD_SIZE = 200;
// 13, "Vexel CFG", CR, LF, ^Z, 3: the leading byte is the length of the rest.
extern const std::array<std::uint8_t, 14> SETTINGS_MAGIC;

class SettingsRecord {
public:
    using Bytes = std::array<std::uint8_t, SETTINGS_RECORD_SIZE>;

    // Takes a file's bytes (any length). Fewer than 200 bytes or another magic:
    // returns false and leaves both the buffer and `settings` untouched.
    // Otherwise the first 200 bytes become the buffer, every field goes into
    // `settings`, values outside their ranges are repaired, and returns true.
    // The buffer keeps the bytes as read; only the live settings are repaired.
    bool decode(std::span<const std::uint8_t> fileBytes, Settings& settings);

    // Writes the magic and every assigned field into the buffer and returns
    // it. Equal peg colours are written as the default palette (the caller's
    // colours stay as they are); a boolean is written as 0 or 1.
    const Bytes& encode(const Settings& settings);

    // Puts a whole record read from a file into the buffer, whatever its
    // magic: even a file of another format hands its unassigned bytes and
    // name tails on to the next save, though none of its fields are used.
    void fill(const Bytes& fileRecord) { buffer_ = fileRecord; }

    const Bytes& bytes() const { return buffer_; }

private:
    Bytes buffer_{};  // zero until a file is read
};

// True when any two of the six colours are equal: such a palette is not saved.
bool hasEqualColours(const std::array<ColourRef, SEAT_COUNT>& colours);

}  // namespace vexel
