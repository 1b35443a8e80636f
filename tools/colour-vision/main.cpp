// Prints how close the two nearest of six peg colours come for each kind of
// colour vision: the figures of docs/colour-vision.md.
#include "paint/colourvision.h"

#include <cstdio>

using namespace vexel;

namespace {

const char* const COLOUR_NAMES[2][SEAT_COUNT] = {
    {"green", "blue", "yellow", "red", "magenta", "cyan"},
    {"bluish green", "blue", "yellow", "vermilion", "reddish purple", "sky blue"},
};

void row(const char* what, const std::array<ColourRef, SEAT_COUNT>& colours, const char* const* names) {
    std::printf("| %s |", what);
    for (const ColourVision vision : COLOUR_VISIONS) {
        const ClosestPair pair = closestPair(colours, vision);
        std::printf(" %.1f (%s / %s) |", pair.difference, names[pair.first], names[pair.second]);
    }
    std::printf("\n");
}

}  // namespace

int main() {
    std::printf("| colours | normal | protanopia | deuteranopia | tritanopia |\n");
    std::printf("|---|---|---|---|---|\n");
    row("default", DEFAULT_PEG_COLOURS, COLOUR_NAMES[0]);
    row("colour-blind palette", COLOUR_BLIND_PEG_COLOURS, COLOUR_NAMES[1]);
    return 0;
}
