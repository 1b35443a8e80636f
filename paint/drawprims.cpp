#include "paint/drawprims.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vexel {

QColor toQColor(ColourRef c) {
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

int roundHalfEven(double v) {
    const double lower = std::floor(v);
    const double diff = v - lower;
    int result = int(lower);
    if (diff > 0.5 || (diff == 0.5 && result % 2 != 0)) ++result;
    return result;
}

double surfaceRatio(double ratio) { return std::isfinite(ratio) && ratio > 1.0 ? ratio : 1.0; }

int surfacePixels(int units, double unit) {
    // A hair below the next integer still counts as that integer: 3 x 1.1 is 3.3000000000000003.
    return std::max(1, int(std::ceil(units * unit - 1e-9)));
}

QImage makeSurface(int widthUnits, int heightUnits, double sizeUnit, double ratio) {
    const double r = surfaceRatio(ratio);
    QImage image(surfacePixels(widthUnits, sizeUnit * r), surfacePixels(heightUnits, sizeUnit * r), QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDevicePixelRatio(r);
    return image;
}

QImage pixelView(QImage& canvas) {
    // bits() detaches first, so the view writes into the canvas's own pixels.
    uchar* bits = canvas.bits();
    return QImage(bits, canvas.width(), canvas.height(), canvas.bytesPerLine(), canvas.format());
}

void preparePainter(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void setPen(QPainter& painter, const QColor& colour) {
    QPen pen(colour);
    pen.setWidth(1);
    pen.setCosmetic(true);
    painter.setPen(pen);
}

QRect boxRect(int x1, int y1, int x2, int y2) { return QRect(x1, y1, x2 - x1, y2 - y1); }

void drawEllipseBox(QPainter& painter, int x1, int y1, int x2, int y2) {
    painter.drawEllipse(boxRect(x1, y1, x2, y2));
}

void drawRectBox(QPainter& painter, int x1, int y1, int x2, int y2) {
    painter.drawRect(boxRect(x1, y1, x2, y2));
}

void drawCircle(QPainter& painter, int x, int y, int radius) {
    drawEllipseBox(painter, x - radius, y - radius, x + radius, y + radius);
}

void drawTriangle(QPainter& painter, QPoint a, QPoint b, QPoint c) {
    const QPoint points[3] = {a, b, c};
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.drawPolygon(points, 3);
    painter.restore();
}

void drawPeg(QImage& canvas, double unit, PixelPoint p, ColourRef colour) {
    QImage pixels = pixelView(canvas);
    QPainter painter(&pixels);
    preparePainter(painter);
    setPen(painter, BLACK);
    painter.setBrush(toQColor(colour));
    drawCircle(painter, p.x, p.y, unitsToPixels(3, unit));

    // Highlight: counter-clockwise on the inner circle of radius r = 2 units
    // from the ray through (-Round(r tan 30deg), r) (y up) to its leftmost point.
    const int r = unitsToPixels(2, unit);
    const int dx = roundHalfEven(r * 0.57735);
    const double startDegrees = std::atan2(double(r), -double(dx)) * 180.0 / std::numbers::pi;
    const int start = roundHalfEven(startDegrees * 16);
    const int span = 180 * 16 - start;
    setPen(painter, WHITE);
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(boxRect(p.x - r, p.y - r, p.x + r, p.y + r), start, span);
}

}  // namespace vexel
