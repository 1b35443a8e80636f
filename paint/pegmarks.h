// Marks on the pegs: with the option on, every peg carries a small shape that
// belongs to its colour index, so that seats differ by more than colour. The
// six shapes fit a square of one unit either side of the peg's centre, inside
// the highlight's circle of two units, so that at the smallest size (one pixel
// per unit) each is a pattern of 3 x 3 pixels that no other one repeats. A
// mark is drawn in black or white, whichever stands out more from its peg.
#pragma once

#include "core/settings.h"
#include "paint/drawprims.h"

#include <QImage>
#include <QPainter>
#include <QRgb>

#include <cstdint>

namespace vexel {

// In the order of the colour indices 0..5; None draws nothing.
enum class PegMark : std::uint8_t { Dot, Ring, Cross, Bar, Triangle, Square, None };
inline constexpr int PEG_MARK_COUNT = 6;

// The mark of pegs of colour index `colourIndex`: None while the option is off.
PegMark pegMarkFor(const Settings& settings, std::uint8_t colourIndex);

// Whether the mark covers the pixel (dx, dy) from its centre, |dx|, |dy| <= m,
// for a mark of half side m >= 1 pixels.
bool markCovers(PegMark mark, int dx, int dy, int m);

// Black on light colours, white on dark ones (the higher contrast ratio).
QRgb markInk(ColourRef pegColour);

// The mark centred at p (pixels of `canvas`), one unit = `unit` pixels either
// side, over a peg of `pegColour`. Pixels outside the canvas are left alone.
void drawPegMark(QImage& canvas, double unit, PixelPoint p, ColourRef pegColour, PegMark mark);

// The mark through a painter, each of its pixels a square of one logical pixel
// of the painter's device, for widgets that paint a peg themselves.
void paintPegMark(QPainter& painter, QPoint centre, int halfSide, ColourRef pegColour, PegMark mark);

// drawPeg, then its mark: with None exactly the peg of drawPeg.
void drawMarkedPeg(QImage& canvas, double unit, PixelPoint p, ColourRef colour, PegMark mark);

}  // namespace vexel
