#include "paint/floodfill.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace vexel {

namespace {

bool isFillable(QImage::Format f) {
    return f == QImage::Format_RGB32 || f == QImage::Format_ARGB32 || f == QImage::Format_ARGB32_Premultiplied;
}

bool sameColour(QRgb a, QRgb b) { return ((a ^ b) & 0x00FFFFFFu) == 0; }

// Scanline walk: each popped seed is widened to its whole run of open pixels
// on its row, and the rows above and below get one new seed per open run they
// share with it. The explicit stack keeps the depth independent of the region.
// `reached` must hold one flag per pixel, all clear; `onRun(y, left, right)`
// sees every run once, after its pixels were marked. Pixels are read through
// the image's rows directly: at the largest sizes the boards fill millions of
// pixels per repaint, and a call per pixel would cost more than the fill.
template <typename Flags, typename OnRun>
void walkRegion(const QImage& image, QPoint seed, QRgb border, Flags& reached, OnRun onRun) {
    if (!isFillable(image.format()) || !image.rect().contains(seed)) return;
    const int w = image.width();
    const int h = image.height();
    const uchar* const bits = image.constBits();
    const qsizetype stride = image.bytesPerLine();
    auto row = [&](int y) { return reinterpret_cast<const QRgb*>(bits + qsizetype(y) * stride); };
    auto flags = [&](int y) { return reached.begin() + std::ptrdiff_t(std::size_t(y) * std::size_t(w)); };

    std::vector<QPoint> stack{seed};
    while (!stack.empty()) {
        const QPoint p = stack.back();
        stack.pop_back();
        const int y = p.y();
        const QRgb* const line = row(y);
        const auto done = flags(y);
        auto open = [&](int x) { return !done[x] && !sameColour(line[x], border); };
        if (!open(p.x())) continue;
        int left = p.x();
        while (left > 0 && open(left - 1)) --left;
        int right = p.x();
        while (right + 1 < w && open(right + 1)) ++right;
        std::fill(done + left, done + right + 1, true);
        onRun(y, left, right);

        for (int ny : {y - 1, y + 1}) {
            if (ny < 0 || ny >= h) continue;
            const QRgb* const nline = row(ny);
            const auto ndone = flags(ny);
            bool inRun = false;
            for (int x = left; x <= right; ++x) {
                const bool o = !ndone[x] && !sameColour(nline[x], border);
                if (o && !inRun) stack.emplace_back(x, ny);
                inRun = o;
            }
        }
    }
}

}  // namespace

int FillRegion::count() const { return int(std::count(reached.begin(), reached.end(), true)); }

FillRegion floodRegion(const QImage& image, QPoint seed, QRgb border) {
    FillRegion region;
    region.width = image.width();
    region.height = image.height();
    region.reached.assign(std::size_t(region.width) * std::size_t(region.height), false);
    walkRegion(image, seed, border, region.reached, [&](int y, int, int) {
        if (region.bottom < region.top) {
            region.top = region.bottom = y;
        } else {
            region.top = std::min(region.top, y);
            region.bottom = std::max(region.bottom, y);
        }
    });
    return region;
}

// `fill` is stored as given: pass an opaque colour (QColor::rgb()). Pixels are
// painted run by run as they are found; the flags, not the colours, tell which
// pixels were reached, so painting early cannot mislead the walk.
int floodFill(QImage& image, QPoint seed, QRgb border, QRgb fill) {
    if (!isFillable(image.format())) return 0;
    // One byte per flag, as the walk tests a flag for nearly every pixel three
    // times. The flags outlive the call, all clear between calls: a repaint
    // fills several regions of millions of pixels, and clearing only the runs
    // that were set costs far less than a fresh mask of the whole image each time.
    thread_local std::vector<std::uint8_t> reached;
    thread_local std::vector<std::array<int, 3>> runs;
    const std::size_t pixels = std::size_t(image.width()) * std::size_t(image.height());
    if (reached.size() < pixels) reached.resize(pixels, 0);
    runs.clear();
    int painted = 0;
    image.bits();  // detach now, so that the walk reads the pixels it paints into
    walkRegion(image, seed, border, reached, [&](int y, int left, int right) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::fill(line + left, line + right + 1, fill);
        painted += right - left + 1;
        runs.push_back({y, left, right});
    });
    const std::size_t w = std::size_t(image.width());
    for (const auto& [y, left, right] : runs)
        std::fill(reached.begin() + std::ptrdiff_t(std::size_t(y) * w + std::size_t(left)),
                  reached.begin() + std::ptrdiff_t(std::size_t(y) * w + std::size_t(right) + 1), std::uint8_t(0));
    return painted;
}

}  // namespace vexel
