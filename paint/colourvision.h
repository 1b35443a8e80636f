// How the peg colours look to players who see colours differently, and how far
// apart they stay. A colour is simulated for a dichromat (the severity-1.0
// matrices of Machado, Oliveira and Fernandes 2009, applied to linear sRGB and
// clipped), turned into CIELAB (D65 white) and compared by the CIE76
// difference, the distance in Lab: 2 or 3 is the smallest difference one
// notices, pegs told apart at a glance need about 20. Plain C++, no Qt, so that
// tests and tools compute the same figures the documentation gives.
#pragma once

#include "core/settings.h"

#include <array>
#include <span>

namespace vexel {

enum class ColourVision { Normal, Protanopia, Deuteranopia, Tritanopia };
inline constexpr std::array<ColourVision, 4> COLOUR_VISIONS = {ColourVision::Normal, ColourVision::Protanopia,
                                                               ColourVision::Deuteranopia, ColourVision::Tritanopia};

// Peg colours for colour-blind players: the hues of Okabe and Ito's palette
// (bluish green, blue, yellow, vermilion, reddish purple, sky blue, in the
// places of the default green, blue, yellow, red, magenta and cyan), the
// green darkened by half, the purple by a fifth and the sky blue lightened by
// three tenths, so that every two differ by at least 22 under each dichromacy.
inline constexpr std::array<ColourRef, SEAT_COUNT> COLOUR_BLIND_PEG_COLOURS = {
    0x003A4F00, 0x00B27200, 0x0042E4F0, 0x00005ED5, 0x008661A3, 0x00F0CA89};

struct LabColour {
    double L = 0, a = 0, b = 0;
};

// The colour as a viewer of that kind sees it.
LabColour seenAs(ColourRef colour, ColourVision vision);
double cie76(const LabColour& x, const LabColour& y);

// The two colours of a set that lie closest for a viewer, and how close.
struct ClosestPair {
    double difference = 0;
    int first = 0, second = 0;
};
ClosestPair closestPair(std::span<const ColourRef> colours, ColourVision vision);

// Relative luminance 0 (black) .. 1 (white) of the sRGB colour.
double relativeLuminance(ColourRef colour);

}  // namespace vexel
