// Writes a settings file for the network test: vexel-netseats FILE KINDS NET
// KINDS has one letter a seat (h human, c computer of the weakest level, n
// none), NET one digit a seat (1: played over the network). Ten pegs, fastest speeds,
// no sound, so that the programs under test wait for nothing.
#include "settings/settingsrecord.h"

#include <cstdio>
#include <cstring>
#include <fstream>

int main(int argc, char** argv) {
    using namespace vexel;
    if (argc != 4 || std::strlen(argv[2]) != SEAT_COUNT || std::strlen(argv[3]) != SEAT_COUNT) {
        std::fprintf(stderr, "usage: vexel-netseats FILE KINDS NET   (e.g. hnnhnn 000100)\n");
        return 2;
    }
    Settings settings;
    settings.soundOn = settings.moveSoundOn = false;
    settings.humanSpeed = settings.computerSpeed = 0;
    settings.networkSeats = 0;
    settings.alwaysTenPegs = true;  // the keys below know where the front pegs stand
    for (int k = 0; k < SEAT_COUNT; ++k) {
        const char kind = argv[2][k];
        settings.playerSettings[k].kind = kind == 'h' ? PlayerKind::Human : kind == 'c' ? PlayerKind::Computer : PlayerKind::NotPlaying;
        settings.playerSettings[k].level = 2;
        if (argv[3][k] == '1') settings.networkSeats |= std::uint8_t(1 << k);
    }
    SettingsRecord record;
    const auto& bytes = record.encode(settings);
    std::ofstream(argv[1], std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return 0;
}
