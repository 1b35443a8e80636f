#include "paint/pegmarks.h"

#include "paint/colourvision.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

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
        case PegMark::Dot: return 25 * d2x4 <= 36 * m * m;  // a disc of radius 0.6 m: the centre pixel alone at m = 1
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

namespace {

// A run of covered pixels on one row of a mark, offsets from its centre.
struct MarkSpan {
    int dy, dxFrom, dxTo;
};

// The spans of every mark at one half side. A hop draws the same mark at the
// same size on every frame, so they are worked out once per size and thread
// (drawing runs on the window's thread; a test may draw on its own).
const std::vector<MarkSpan>& markSpans(PegMark mark, int m) {
    thread_local int cachedHalfSide = 0;
    thread_local std::array<std::vector<MarkSpan>, PEG_MARK_COUNT> cached;
    if (cachedHalfSide != m) {
        for (int k = 0; k < PEG_MARK_COUNT; ++k) {
            std::vector<MarkSpan>& spans = cached[k];
            spans.clear();
            for (int dy = -m; dy <= m; ++dy)
                for (int dx = -m; dx <= m; ++dx) {
                    if (!markCovers(PegMark(k), dx, dy, m)) continue;
                    if (!spans.empty() && spans.back().dy == dy && spans.back().dxTo == dx - 1)
                        spans.back().dxTo = dx;
                    else
                        spans.push_back({dy, dx, dx});
                }
        }
        cachedHalfSide = m;
    }
    return cached[int(mark) % PEG_MARK_COUNT];
}

}  // namespace

void drawPegMark(QImage& canvas, double unit, PixelPoint p, ColourRef pegColour, PegMark mark) {
    if (mark == PegMark::None) return;
    if (canvas.depth() != 32) return;
    const int m = std::max(1, unitsToPixels(1, unit));
    const QRgb ink = markInk(pegColour);
    const int width = canvas.width(), height = canvas.height();
    uchar* bits = canvas.bits();
    const qsizetype stride = canvas.bytesPerLine();
    for (const MarkSpan& span : markSpans(mark, m)) {
        const int y = p.y + span.dy;
        if (y < 0 || y >= height) continue;
        const int from = std::max(0, p.x + span.dxFrom), to = std::min(width - 1, p.x + span.dxTo);
        if (from > to) continue;
        auto* line = reinterpret_cast<QRgb*>(bits + y * stride);
        std::fill(line + from, line + to + 1, ink);
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
