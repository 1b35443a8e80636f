#include "boardwidget.h"

#include "paint/drawprims.h"
#include "ui/boarddraw.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <cmath>

namespace vexel {

BoardWidget::BoardWidget(BoardDrawing& drawing, QWidget* parent) : QWidget(parent), drawing_(drawing) {
    setObjectName("BrettPaint");
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QRect BoardWidget::changedArea() {
    const QRect pixels = drawing_.takeChangedRect();
    if (pixels.isEmpty()) return {};
    const qreal ratio = drawing_.devicePixelRatio();
    // Rounded outwards, and a logical pixel more for the screen's own rounding
    // at fractional ratios.
    const QRectF logical(pixels.x() / ratio, pixels.y() / ratio, pixels.width() / ratio, pixels.height() / ratio);
    return logical.toAlignedRect().adjusted(-1, -1, 1, 1);
}

void BoardWidget::showChanges() {
    const QRect area = changedArea();
    if (area.isEmpty()) return;
    notShown_ |= area;
    update(area);
}

void BoardWidget::showChangesNow() {
    // What showChanges handed to the event loop is not on the screen yet
    // either: the loop does not run before the pause is over.
    const QRect area = changedArea() | notShown_;
    notShown_ = QRect();
    if (!area.isEmpty()) repaint(area);
}

void BoardWidget::paintEvent(QPaintEvent* event) {
    const QImage& surface = drawing_.surface();
    QPainter painter(this);
    // Only the board's part of the update region is copied: the painter clips to it.
    const QRectF shown(QPointF(0, 0), surface.deviceIndependentSize());
    if (!shown.contains(QRectF(event->rect()))) painter.fillRect(event->rect(), Qt::white);
    painter.drawImage(QPointF(0, 0), surface);
    if (event->rect().contains(notShown_)) notShown_ = QRect();

    if (surfaceRatio(devicePixelRatioF()) != surface.devicePixelRatio() && onRatioChange && !ratioChangeAsked_) {
        // Not from inside the paint: the new surface repaints the window.
        ratioChangeAsked_ = true;
        QTimer::singleShot(0, this, [this] {
            ratioChangeAsked_ = false;
            if (onRatioChange && surfaceRatio(devicePixelRatioF()) != drawing_.surface().devicePixelRatio()) onRatioChange();
        });
    }
}

void BoardWidget::mousePressEvent(QMouseEvent* event) {
    // On a high-density screen a press lands between logical pixels: it counts
    // for the logical pixel whose screen pixels it hit.
    const QPointF p = event->position();
    if (onMouseDown) onMouseDown(int(std::floor(p.x())), int(std::floor(p.y())));
}

}  // namespace vexel
