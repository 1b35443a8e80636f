#include "colournames.h"

#include "texts.h"

#include <array>
#include <cstdint>

namespace vexel {

namespace {

struct NamedColour {
    std::uint8_t red, green, blue;
};

// Row i is named by texts 920 + i (the colour) and 936 + i (a peg of it).
constexpr std::array<NamedColour, 16> NAMED_COLOURS = {{
    {0, 0, 0},        // black
    {255, 255, 255},  // white
    {128, 128, 128},  // grey
    {255, 0, 0},      // red
    {0, 255, 0},      // green
    {0, 0, 255},      // blue
    {255, 255, 0},    // yellow
    {255, 0, 255},    // magenta
    {0, 255, 255},    // cyan
    {255, 140, 0},    // orange
    {139, 69, 19},    // brown
    {255, 175, 200},  // pink
    {128, 0, 128},    // purple
    {0, 0, 128},      // dark blue
    {0, 128, 0},      // dark green
    {128, 0, 0},      // dark red
}};
constexpr std::uint16_t FIRST_COLOUR_TEXT = 920;
constexpr std::uint16_t FIRST_PEG_TEXT = 936;

}  // namespace

int nearestNamedColour(ColourRef colour) {
    const int red = int(colour & 0xFF);
    const int green = int((colour >> 8) & 0xFF);
    const int blue = int((colour >> 16) & 0xFF);
    int best = 0;
    long bestDistance = -1;
    for (int i = 0; i < int(NAMED_COLOURS.size()); ++i) {
        const NamedColour& n = NAMED_COLOURS[std::size_t(i)];
        // The eye tells greens apart best and blues worst; the weights of red
        // and blue shift with how red the two colours are on average.
        const long meanRed = (red + n.red) / 2;
        const long dr = red - n.red, dg = green - n.green, db = blue - n.blue;
        const long distance = ((512 + meanRed) * dr * dr >> 8) + 4 * dg * dg + ((767 - meanRed) * db * db >> 8);
        if (bestDistance < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

std::string_view colourName(Language language, ColourRef colour) {
    return lookupText(language, std::uint16_t(FIRST_COLOUR_TEXT + nearestNamedColour(colour)));
}

std::string_view pegOfColour(Language language, ColourRef colour) {
    return lookupText(language, std::uint16_t(FIRST_PEG_TEXT + nearestNamedColour(colour)));
}

}  // namespace vexel
