#include "ui/floodfill.h"

#include <algorithm>

namespace vexel {

namespace {

bool isFillable(QImage::Format f) {
    return f == QImage::Format_RGB32 || f == QImage::Format_ARGB32 || f == QImage::Format_ARGB32_Premultiplied;
}

bool sameColour(QRgb a, QRgb b) { return ((a ^ b) & 0x00FFFFFFu) == 0; }

}  // namespace

int FillRegion::count() const { return int(std::count(reached.begin(), reached.end(), true)); }

// Scanline fill: each popped seed is widened to its whole run of open pixels
// on its row, and the rows above and below get one new seed per open run they
// share with it. The explicit stack keeps the depth independent of the region.
FillRegion floodRegion(const QImage& image, QPoint seed, QRgb border) {
    FillRegion region;
    region.width = image.width();
    region.height = image.height();
    region.reached.assign(std::size_t(region.width) * std::size_t(region.height), false);
    if (!isFillable(image.format()) || !image.rect().contains(seed)) return region;

    const int w = region.width;
    auto pixel = [&](int x, int y) { return reinterpret_cast<const QRgb*>(image.constScanLine(y))[x]; };
    auto open = [&](int x, int y) {
        return !region.reached[std::size_t(y) * std::size_t(w) + std::size_t(x)] && !sameColour(pixel(x, y), border);
    };

    std::vector<QPoint> stack{seed};
    while (!stack.empty()) {
        const QPoint p = stack.back();
        stack.pop_back();
        const int y = p.y();
        if (!open(p.x(), y)) continue;
        int left = p.x();
        while (left > 0 && open(left - 1, y)) --left;
        int right = p.x();
        while (right + 1 < w && open(right + 1, y)) ++right;
        for (int x = left; x <= right; ++x) region.reached[std::size_t(y) * std::size_t(w) + std::size_t(x)] = true;
        if (region.bottom < region.top) {
            region.top = region.bottom = y;
        } else {
            region.top = std::min(region.top, y);
            region.bottom = std::max(region.bottom, y);
        }

        for (int ny : {y - 1, y + 1}) {
            if (ny < 0 || ny >= region.height) continue;
            bool inRun = false;
            for (int x = left; x <= right; ++x) {
                const bool o = open(x, ny);
                if (o && !inRun) stack.emplace_back(x, ny);
                inRun = o;
            }
        }
    }
    return region;
}

// `fill` is stored as given: pass an opaque colour (QColor::rgb()).
int floodFill(QImage& image, QPoint seed, QRgb border, QRgb fill) {
    if (!isFillable(image.format())) return 0;
    const FillRegion region = floodRegion(image, seed, border);
    int painted = 0;
    for (int y = region.top; y <= region.bottom; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < region.width; ++x) {
            if (region.contains(x, y)) {
                line[x] = fill;
                ++painted;
            }
        }
    }
    return painted;
}

}  // namespace vexel
