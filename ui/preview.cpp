#include "ui/preview.h"

#include "ui/drawprims.h"
#include "ui/floodfill.h"

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

std::array<PixelPoint, SEAT_COUNT> previewSeeds() {
    const int sixth = roundHalfEven(H / 6.0);
    return {{
        {CX, sixth},
        {CX + 40, sixth + T},
        {CX + 40, H - sixth},
        {CX, roundHalfEven(7.0 * H / 6.0)},
        {CX - 40, H - sixth},
        {CX - 40, sixth + T},
    }};
}

void drawBoardPreview(QImage& canvas, const Settings& settings) {
    {
        QPainter painter(&canvas);
        preparePainter(painter);
        setPen(painter, WHITE);
        painter.setBrush(WHITE);
        drawRectBox(painter, PREVIEW_LEFT, PREVIEW_TOP, PREVIEW_RIGHT, H + T);

        setPen(painter, BLACK);
        drawEllipseBox(painter, PREVIEW_LEFT, PREVIEW_TOP, PREVIEW_RIGHT, H + T);
        drawTriangle(painter, {CX, 0}, {CX - 60, H}, {CX + 60, H});
        drawTriangle(painter, {CX - 60, T}, {CX + 60, T}, {CX, H + T});

        // Emblem: a disc with a dot, a stem and an arrow head pointing left.
        drawEllipseBox(painter, 62, 50, 98, 90);
        painter.setBrush(BLACK);
        drawEllipseBox(painter, 68, 67, 74, 73);
        painter.drawLine(80, 50, 80, 90);
        const QPoint arrow[3] = {{94, 60}, {80, 70}, {94, 80}};
        painter.drawPolyline(arrow, 3);
    }

    const auto seeds = previewSeeds();
    for (int p = 0; p < SEAT_COUNT; ++p) {
        const PlayerSlot& player = settings.playerSettings[p];
        if (!player.plays()) continue;
        const QColor colour = toQColor(settings.pegColours[player.colour % SEAT_COUNT]);
        floodFill(canvas, {seeds[p].x, seeds[p].y}, BLACK.rgb(), colour.rgb());
    }
}

}  // namespace vexel
