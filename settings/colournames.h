// Peg colours in words, for those who cannot see them: a user may pick any
// colour, so a colour is named by the nearest of a small table of named
// colours, in the current language.
#pragma once

#include <string_view>

#include "core/settings.h"

namespace vexel {

// Index into the table of named colours of the one nearest to `colour`
// (0x00BBGGRR), judged by a distance weighted the way the eye weighs red,
// green and blue.
int nearestNamedColour(ColourRef colour);

// "grün" / "green": the colour's name on its own.
std::string_view colourName(Language language, ColourRef colour);
// "grüner Stein" / "green peg": a peg of that colour.
std::string_view pegOfColour(Language language, ColourRef colour);

}  // namespace vexel
