// The few shapes every Vexel surface is drawn from, the peg among them, in one
// pixel convention. They sit below both the dialogs and the main window, which
// share the peg and the stars, so that no dialog reaches up into the window's
// code.
//
// A box given as (x1, y1)-(x2, y2) covers the pixels x1..x2 and y1..y2, the
// right and bottom edges included. So the board's rim (14s, 10s)-(182s, 170s)
// touches both x = 14s and x = 182s, a hole of radius 2s drawn over
// (x - 2s, y - 2s)-(x + 2s, y + 2s) is symmetric about its centre, and a mark's
// outline (x - h, y - h)-(x + h, y + h) sits h pixels from the hole on all sides.
// (The other common convention, which leaves out the right and bottom edge,
// would make every disc one pixel lopsided and the rim end at 181s.)
//
// Qt's raster engine, with antialiasing off and a 1-pixel pen, paints the
// outline of drawEllipse/drawRect/drawArc(QRect(x, y, w, h)) from x to x + w
// inclusive, so the box (x1, y1)-(x2, y2) maps to QRect(x1, y1, x2 - x1, y2 - y1).
// Lines and closed polygons include both end points.
//
// Surfaces are made at the screen's device pixel ratio r (QImage's own ratio),
// so that a widget shows them at their logical size, one surface pixel on one
// screen pixel. Measures are taken in layout units times the drawing unit, the
// pixels per unit: a board of size level s is drawn with the unit s x r, so at
// r = 2 it is pixel for pixel the board of level 2s. For fractional ratios
// every measure is rounded on its own (Round(n x unit)), which keeps each line
// one pixel wide and each position within half a pixel of its exact place.
#pragma once

#include "core/settings.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPoint>

namespace vexel {

struct PixelPoint {
    int x = 0;
    int y = 0;
    bool operator==(const PixelPoint&) const = default;
};

// Stored colours are 0x00BBGGRR, red in the low byte.
QColor toQColor(ColourRef c);

// Nearest integer, an exact half going to the even neighbour.
int roundHalfEven(double v);

// The device pixel ratio a surface is made at: `ratio` when it is finite and
// above 1, else 1 (below 1 the window system scales the picture down).
double surfaceRatio(double ratio);
// Pixels of `n` layout units at `unit` pixels per unit: Round(n x unit).
inline int unitsToPixels(double n, double unit) { return roundHalfEven(n * unit); }
// Pixel size of a surface of `units` layout units at `unit` pixels per unit:
// rounded up, so that it covers its box on the screen.
int surfacePixels(int units, double unit);
// A surface of w x h layout units at size level s and ratio r: white, with
// the ratio set, so that widgets show it at w s x h s logical pixels.
QImage makeSurface(int widthUnits, int heightUnits, double sizeUnit, double ratio);
// The pixels of `canvas` without its device pixel ratio: painters on the view
// address single surface pixels and write straight into `canvas` (no copy is
// made; the view must not outlive `canvas` or its pixels' detachment).
QImage pixelView(QImage& canvas);

// Fixed colours of the boards and stars.
inline const QColor WHITE{255, 255, 255};
inline const QColor SILVER{192, 192, 192};
inline const QColor BLACK{0, 0, 0};
inline const QColor GREEN{0, 128, 0};
inline const QColor RED{255, 0, 0};
inline const QColor BLUE{0, 0, 255};

// A painter on `canvas` with antialiasing off; pen and brush are set per shape.
void preparePainter(QPainter& painter);
void setPen(QPainter& painter, const QColor& colour);

QRect boxRect(int x1, int y1, int x2, int y2);
// Outline in the pen, inside in the brush (Qt::NoBrush for hollow).
void drawEllipseBox(QPainter& painter, int x1, int y1, int x2, int y2);
void drawRectBox(QPainter& painter, int x1, int y1, int x2, int y2);
// Circle of the given radius around (x, y): box (x - r, y - r)-(x + r, y + r).
void drawCircle(QPainter& painter, int x, int y, int radius);
// Closed outline through three points, not filled.
void drawTriangle(QPainter& painter, QPoint a, QPoint b, QPoint c);

// A peg of radius 3 units at p with its white highlight at the upper left;
// p in pixels of `canvas`, `unit` its pixels per unit.
void drawPeg(QImage& canvas, double unit, PixelPoint p, ColourRef colour);

}  // namespace vexel
