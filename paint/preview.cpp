#include "paint/preview.h"

#include "paint/drawprims.h"
#include "paint/floodfill.h"
#include "paint/pegmarks.h"

#include <QPainter>

#include <cmath>

namespace vexel {

namespace {

// The star's height H makes its triangles equilateral with side 120: 104;
// a third of it (T) is the overhang of the other triangle.
const int H = roundHalfEven(std::sqrt(10800.0));
const int T = roundHalfEven(H / 3.0);
constexpr int CX = 80;

}  // namespace

std::array<PixelPoint, SEAT_COUNT> previewSeeds(double scale) {
    const int sixth = roundHalfEven(H / 6.0);
    const std::array<PixelPoint, SEAT_COUNT> seeds = {{
        {CX, sixth},
        {CX + 40, sixth + T},
        {CX + 40, H - sixth},
        {CX, roundHalfEven(7.0 * H / 6.0)},
        {CX - 40, H - sixth},
        {CX - 40, sixth + T},
    }};
    std::array<PixelPoint, SEAT_COUNT> scaled;
    for (int p = 0; p < SEAT_COUNT; ++p) scaled[p] = {unitsToPixels(seeds[p].x, scale), unitsToPixels(seeds[p].y, scale)};
    return scaled;
}

void drawBoardPreview(QImage& canvas, const Settings& settings) {
    // The preview's measures are logical pixels; a canvas made at a device
    // pixel ratio gets them in its own, finer pixels.
    const double scale = surfaceRatio(canvas.devicePixelRatio());
    auto px = [scale](int n) { return unitsToPixels(n, scale); };
    auto at = [&px](int x, int y) { return QPoint(px(x), px(y)); };
    {
        QImage pixels = pixelView(canvas);
        QPainter painter(&pixels);
        preparePainter(painter);
        setPen(painter, WHITE);
        painter.setBrush(WHITE);
        drawRectBox(painter, px(PREVIEW_LEFT), px(PREVIEW_TOP), px(PREVIEW_RIGHT), px(H + T));

        setPen(painter, BLACK);
        drawEllipseBox(painter, px(PREVIEW_LEFT), px(PREVIEW_TOP), px(PREVIEW_RIGHT), px(H + T));
        drawTriangle(painter, at(CX, 0), at(CX - 60, H), at(CX + 60, H));
        drawTriangle(painter, at(CX - 60, T), at(CX + 60, T), at(CX, H + T));

        // Emblem: a disc with a dot, a stem and an arrow head pointing left.
        drawEllipseBox(painter, px(62), px(50), px(98), px(90));
        painter.setBrush(BLACK);
        drawEllipseBox(painter, px(68), px(67), px(74), px(73));
        painter.drawLine(at(80, 50), at(80, 90));
        const QPoint arrow[3] = {at(94, 60), at(80, 70), at(94, 80)};
        painter.drawPolyline(arrow, 3);
    }

    const auto seeds = previewSeeds(scale);
    for (int p = 0; p < SEAT_COUNT; ++p) {
        const PlayerSlot& player = settings.playerSettings[p];
        if (!player.plays()) continue;
        const QColor colour = toQColor(settings.pegColours[player.colour % SEAT_COUNT]);
        floodFill(canvas, {seeds[p].x, seeds[p].y}, BLACK.rgb(), colour.rgb());
        // With marks on the pegs each point shows its colour's mark as well,
        // three times the board's smallest, so that the dialog teaches which goes with which.
        const PegMark mark = pegMarkFor(settings, player.colour);
        drawPegMark(canvas, 3 * scale, seeds[p], settings.pegColours[player.colour % SEAT_COUNT], mark);
    }
}

}  // namespace vexel
