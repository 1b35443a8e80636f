#include "boardwidget.h"

#include <QMouseEvent>
#include <QPainter>

namespace vexel {

BoardWidget::BoardWidget(QImage& surface, QWidget* parent) : QWidget(parent), surface_(surface) {
    setObjectName("BrettPaint");
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BoardWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect r = event->rect();
    painter.fillRect(r, Qt::white);
    painter.drawImage(r.topLeft(), surface_, r);
}

void BoardWidget::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (onMouseDown) onMouseDown(p.x(), p.y());
}

}  // namespace vexel
