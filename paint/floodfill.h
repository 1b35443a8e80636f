// Flood fill bounded by one colour, as the boards and stars are coloured:
// starting at a seed, every pixel that is 4-connected to it and does not have
// the border colour is reached. A line drawn pixel by pixel (diagonal steps
// included) therefore closes a region.
//
// Reached pixels are tracked in their own mask, not recognised by colour, so
// the fill colour may equal pixels already inside the region (white over
// white) and the fill still ends. Only 32-bit images are filled; the alpha
// byte is ignored when colours are compared. A seed outside the image or on
// the border colour reaches nothing, and the image is left as it was.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRgb>

#include <vector>

namespace vexel {

// One flag per pixel, row by row: whether the fill from the seed reaches it.
struct FillRegion {
    int width = 0;
    int height = 0;
    std::vector<bool> reached;
    int top = 0, bottom = -1;  // rows that hold reached pixels

    bool contains(int x, int y) const {
        return x >= 0 && y >= 0 && x < width && y < height && reached[std::size_t(y) * std::size_t(width) + std::size_t(x)];
    }
    int count() const;
};

FillRegion floodRegion(const QImage& image, QPoint seed, QRgb border);
// Paints the region of `seed` in `fill` (an opaque colour); returns the number of pixels painted.
int floodFill(QImage& image, QPoint seed, QRgb border, QRgb fill);

}  // namespace vexel
