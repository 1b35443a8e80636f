#include "Vexcentr.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPolygonF>
#include <QScreen>
#include <QWindow>
#include <QtMath>

namespace vexel {

QPoint centredPosition(QSize dialog, QRect mainWindow, QSize screen) {
    const int w = dialog.width();
    const int h = dialog.height();
    int left = mainWindow.left() + mainWindow.width() / 2 - w / 2;
    if (mainWindow.left() > screen.width() - w) left = screen.width() - w;
    if (left <= 0) left = 0;
    int top = mainWindow.top() + mainWindow.height() / 2 - h / 2;
    if (mainWindow.top() > screen.height() - h) top = screen.height() - h;
    if (top <= 0) top = 0;
    return {left, top};
}

QPoint screenCentredPosition(QSize dialog, QSize screen) {
    return {std::max(0, (screen.width() - dialog.width()) / 2), std::max(0, (screen.height() - dialog.height()) / 2)};
}

TCenteredForm::TCenteredForm(QWidget* parent) : QDialog(parent) {}

void TCenteredForm::accept() { done(int(ModalResult::Ok)); }

void TCenteredForm::reject() { done(int(ModalResult::Cancel)); }

ModalResult TCenteredForm::showCentred(QWidget* mainWindow) {
    QScreen* screen = mainWindow != nullptr ? mainWindow->screen() : QGuiApplication::primaryScreen();
    const QRect screenRect = screen != nullptr ? screen->geometry() : QRect(0, 0, 640, 480);
    const QRect mainRect = mainWindow != nullptr ? mainWindow->frameGeometry() : screenRect;

    // Before its first showing a dialog has no frame yet; the main window's
    // frame is the best guess of the one it will get.
    QSize outer = frameGeometry().size();
    if (windowHandle() == nullptr) {
        outer = size();
        if (mainWindow != nullptr && mainWindow->windowHandle() != nullptr)
            outer += mainWindow->frameGeometry().size() - mainWindow->size();
    }

    QPoint position;
    if (centreOnScreenAtFirstShow_ && !shownBefore_)
        position = screenCentredPosition(outer, screenRect.size());
    else
        position = centredPosition(outer, mainRect.translated(-screenRect.topLeft()), screenRect.size());
    move(position + screenRect.topLeft());
    shownBefore_ = true;

    const int result = exec();
    if (result < int(ModalResult::Ok) || result > int(ModalResult::Abort)) return ModalResult::Cancel;
    return ModalResult(result);
}

QPixmap TCenteredForm::programIcon(int size) {
    // A six-pointed star with the six peg colours in its points.
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(size / 2.0, size / 2.0);
    const double outer = size * 0.48;
    const double inner = outer / std::sqrt(3.0);
    const QColor colours[] = {Qt::green, Qt::blue, Qt::yellow, Qt::red, Qt::magenta, Qt::cyan};
    QPolygonF star;
    for (int i = 0; i < 12; ++i) {
        const double radius = i % 2 == 0 ? outer : inner;
        const double angle = qDegreesToRadians(-90.0 + 30.0 * i);
        star << centre + QPointF(radius * std::cos(angle), radius * std::sin(angle));
    }
    painter.setPen(QPen(Qt::black, 1));
    for (int i = 0; i < 6; ++i) {
        QPolygonF point;
        point << centre << star[(2 * i + 11) % 12] << star[2 * i] << star[2 * i + 1];
        painter.setBrush(colours[i]);
        painter.drawPolygon(point);
    }
    return picture;
}

}  // namespace vexel
