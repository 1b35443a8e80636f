// The players dialog's star: a fixed 161 x 151 picture, independent of the
// size level, whose six points show the playing seats in their colours
// clockwise from the top; points of seats that do not play stay white. The
// centre carries the game's emblem, which no setting changes. With marks on
// the pegs, each coloured point carries its colour's mark in its middle.
#pragma once

#include "core/settings.h"
#include "paint/drawprims.h"

#include <QImage>

#include <array>

namespace vexel {

inline constexpr int PREVIEW_WIDTH = 161;
inline constexpr int PREVIEW_HEIGHT = 151;
// Outer box of the star's rim, both ends included.
inline constexpr int PREVIEW_LEFT = 10, PREVIEW_TOP = 0, PREVIEW_RIGHT = 150, PREVIEW_BOTTOM = 139;

// Fill seed of each seat's point, seats 0..5, in pixels of a canvas whose
// device pixel ratio is `scale`.
std::array<PixelPoint, SEAT_COUNT> previewSeeds(double scale = 1.0);

// Draws over the rim's box only; the caller's background stays around it. A
// canvas of 161 x 151 pixels times its device pixel ratio r gets every measure
// times r.
void drawBoardPreview(QImage& canvas, const Settings& settings);

}  // namespace vexel
