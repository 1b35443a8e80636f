#include "paint/pegmarks.h"

#include "paint/colourvision.h"

#include <algorithm>
#include <cstdlib>

namespace vexel {

PegMark pegMarkFor(const Settings& settings, std::uint8_t colourIndex) {
    if (!settings.pegMarks) return PegMark::None;
    return PegMark(colourIndex % PEG_MARK_COUNT);
}

bool markCovers(PegMark mark, int dx, int dy, int m) {
    const int ax = std::abs(dx), ay = std::abs(dy);
    if (ax > m || ay > m) return false;
    // Strokes thicken with the size, a pixel for every three of the half side.
    const int t = std::max(1, roundHalfEven(m / 3.0));
    const int d2x4 = 4 * (dx * dx + dy * dy);  // (2d)^2, so that the bounds below stay whole
    switch (mark) {
        case PegMark::Dot: return d2x4 <= m * m;  // a disc of radius m/2: the centre pixel alone at m = 1
        case PegMark::Ring: {
            // Radius m + 1/4 outside, so that at m = 1 the ring is the four
            // pixels beside the centre and leaves the corners to the square.
            const int outer = 4 * m + 1, inner = 4 * m + 1 - 4 * t;  // four times the radii
            return 4 * d2x4 < outer * outer && 4 * d2x4 > inner * inner;
        }
        case PegMark::Cross: return std::abs(ax - ay) < t;
        case PegMark::Bar: return ay <= t / 2;
        case PegMark::Triangle: return 2 * ax <= dy + m;  // pointing up, its base on the bottom row
        case PegMark::Square: return std::max(ax, ay) > m - t;
        case PegMark::None: return false;
    }
    return false;
}

QRgb markInk(ColourRef pegColour) {
    // Contrast ratios (L + 0.05) / 0.05 against black and 1.05 / (L + 0.05)
    // against white are equal at L = 0.179.
    return relativeLuminance(pegColour) > 0.179 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
}

void drawPegMark(QImage& canvas, double unit, PixelPoint p, ColourRef pegColour, PegMark mark) {
    if (mark == PegMark::None) return;
    if (canvas.depth() != 32) return;
    const int m = std::max(1, unitsToPixels(1, unit));
    const QRgb ink = markInk(pegColour);
    for (int dy = -m; dy <= m; ++dy) {
        const int y = p.y + dy;
        if (y < 0 || y >= canvas.height()) continue;
        auto* line = reinterpret_cast<QRgb*>(canvas.scanLine(y));
        for (int dx = -m; dx <= m; ++dx) {
            const int x = p.x + dx;
            if (x >= 0 && x < canvas.width() && markCovers(mark, dx, dy, m)) line[x] = ink;
        }
    }
}

void paintPegMark(QPainter& painter, QPoint centre, int halfSide, ColourRef pegColour, PegMark mark) {
    if (mark == PegMark::None) return;
    const QColor ink = QColor::fromRgb(markInk(pegColour));
    for (int dy = -halfSide; dy <= halfSide; ++dy)
        for (int dx = -halfSide; dx <= halfSide; ++dx)
            if (markCovers(mark, dx, dy, halfSide)) painter.fillRect(centre.x() + dx, centre.y() + dy, 1, 1, ink);
}

void drawMarkedPeg(QImage& canvas, double unit, PixelPoint p, ColourRef colour, PegMark mark) {
    drawPeg(canvas, unit, p, colour);
    drawPegMark(canvas, unit, p, colour, mark);
}

}  // namespace vexel
