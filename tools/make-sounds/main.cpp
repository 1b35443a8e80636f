// make-sounds FOLDER: writes SOUNDS.IDX and SOUNDS.DAT, the five game sounds,
// into FOLDER. Each sound is exactly as long as the game counts it
// (SOUND_LENGTH), 16-bit mono PCM at 44100 Hz.
#include "synth.h"
#include "ui/soundfile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <span>

using namespace vexel;
using namespace vexel::synth;

namespace {

constexpr double PEAK = 0.6;  // headroom below full scale

// A mellow voice for the jingles, a brassy one for the fanfare, a woody knock for the hop.
const Timbre BELL{{1.0, 0.45, 0.22, 0.10, 0.05}, 6, 350, 0.45, 60};
const Timbre PAD{{1.0, 0.30, 0.10}, 40, 800, 0.7, 120};
const Timbre BRASS{{1.0, 0.65, 0.48, 0.32, 0.20, 0.12, 0.06}, 25, 600, 0.75, 50, 5.5, 0.004};
const Timbre KNOCK{{1.0, 0.0, 0.35, 0.0, 0.12}, 3, 35, 0.0, 25};
const Timbre SOFT{{1.0, 0.35, 0.12}, 6, 60, 0.4, 45};

double lengthOf(int sound) { return SOUND_LENGTH[std::size_t(sound - 1)]; }

// Sound 1: a rising C major arpeggio over a soft low C.
std::vector<std::int16_t> germanStart() {
    Track track(lengthOf(1));
    track.add({0, 1240, 48, 0.35}, PAD);
    track.add({0, 280, 72}, BELL);
    track.add({200, 280, 76}, BELL);
    track.add({400, 320, 79}, BELL);
    track.add({640, 600, 84}, BELL);
    return track.finish(PEAK);
}

// Sound 2: a longer phrase that climbs, turns and settles on a C major chord.
std::vector<std::int16_t> englishStart() {
    Track track(lengthOf(2));
    track.add({0, 960, 48, 0.3}, PAD);
    track.add({940, 1020, 43, 0.3}, PAD);
    track.add({0, 250, 67}, BELL);
    track.add({200, 250, 72}, BELL);
    track.add({400, 250, 76}, BELL);
    track.add({600, 400, 79}, BELL);
    track.add({960, 240, 77}, BELL);
    track.add({1160, 260, 74}, BELL);
    for (const int midi : {72, 76, 79}) track.add({1380, 580, midi, 0.6}, BELL);
    return track.finish(PEAK);
}

// Sound 3: a short soft knock for every hop.
std::vector<std::int16_t> hop() {
    Track track(lengthOf(3));
    track.add({0, 150, 76}, KNOCK);
    track.add({0, 150, 64, 0.5}, KNOCK);
    return track.finish(PEAK * 0.8);
}

// Sound 4: a fanfare, "ta-ta-ta taa" twice up the chord, then a held full chord.
std::vector<std::int16_t> fanfare() {
    Track track(lengthOf(4));
    const Note melody[] = {{0, 170, 67},     {150, 170, 67},   {300, 170, 67},   {450, 500, 72},
                           {930, 200, 67},   {1110, 200, 72},  {1290, 200, 76},  {1470, 700, 79},
                           {2150, 200, 76},  {2330, 200, 79}};
    for (const Note& note : melody) track.add(note, BRASS);
    Timbre finale = BRASS;
    finale.decayMs = 1800;
    finale.sustain = 0.35;
    finale.releaseMs = 900;
    for (const int midi : {60, 72, 76, 79, 84}) track.add({2510, 2200, midi, 0.55}, finale);
    return track.finish(PEAK);
}

// Sound 5: one short gentle note to say goodbye.
std::vector<std::int16_t> closing() {
    Track track(lengthOf(5));
    track.add({0, 100, 72}, SOFT);
    track.add({0, 100, 60, 0.5}, SOFT);
    return track.finish(PEAK * 0.9);
}

bool writeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    file.close();
    return bool(file);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-sounds FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::array<std::vector<std::uint8_t>, SOUND_COUNT> images;
    const std::vector<std::int16_t> tracks[SOUND_COUNT] = {germanStart(), englishStart(), hop(), fanfare(), closing()};
    for (std::size_t n = 0; n < images.size(); ++n) images[n] = makeWaveImage(SAMPLE_RATE, tracks[n]);
    const SoundFiles files = packSoundFiles(images);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!writeFile(folder / "SOUNDS.DAT", files.data) || !writeFile(folder / "SOUNDS.IDX", files.index)) {
        std::fprintf(stderr, "make-sounds: cannot write the sound files into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
