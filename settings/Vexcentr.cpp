#include "Vexcentr.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include "core/settings.h"
#include "ui/boarddraw.h"

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

TCenteredForm::TCenteredForm(QWidget* parent) : QDialog(parent) {
    // A fixed dialog frame: a title and a close box, no minimize or maximize.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
}

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
    const QIcon icon = QApplication::windowIcon();
    if (!icon.isNull()) return icon.pixmap(size, size);
    // Without an application icon: the players dialog's star with every seat
    // playing in the default colours, the same picture the icon is made from.
    Settings everyone;
    for (PlayerSlot& slot : everyone.playerSettings) slot.kind = PlayerKind::Human;
    QImage star(161, 151, QImage::Format_ARGB32);
    star.fill(Qt::transparent);
    drawBoardPreview(star, everyone);
    return QPixmap::fromImage(star.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

QPushButton* TCenteredForm::addResultButton(const char* objectName, const QRect& geometry, ModalResult result,
                                            const QString& caption) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(objectName);
    button->setGeometry(geometry);
    connect(button, &QPushButton::clicked, this, [this, result] { done(int(result)); });
    return button;
}

}  // namespace vexel
