#include "Vexcentr.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include <algorithm>

#include "core/settings.h"
#include "paint/preview.h"

#ifdef VEXEL_HAVE_XCB
#include <QtGui/qguiapplication_platform.h>
#if QT_CONFIG(xcb)
#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>
#define VEXEL_ASK_X_WINDOW_MANAGER 1
#endif
#endif

#include <optional>

namespace vexel {
namespace {

#ifdef VEXEL_ASK_X_WINDOW_MANAGER
template <class Reply>
using XReply = std::unique_ptr<Reply, decltype(&std::free)>;

// An X window manager frames a window only when it is mapped. Those that
// follow the desktop conventions say beforehand which frame a window will get:
// asked with a frame extents request, they set the window's frame extents.
// Returns nothing when no such window manager runs or it does not answer soon.
std::optional<QMargins> frameFromWindowManager(QWindow& window) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr) return std::nullopt;
    xcb_connection_t* connection = x11->connection();
    auto atom = [connection](const char* name) {
        const XReply<xcb_intern_atom_reply_t> reply(
            xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 1, std::uint16_t(std::strlen(name)), name), nullptr),
            &std::free);
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    };
    const xcb_atom_t supportedAtom = atom("_NET_SUPPORTED");
    const xcb_atom_t requestAtom = atom("_NET_REQUEST_FRAME_EXTENTS");
    const xcb_atom_t extentsAtom = atom("_NET_FRAME_EXTENTS");
    if (supportedAtom == XCB_ATOM_NONE || requestAtom == XCB_ATOM_NONE || extentsAtom == XCB_ATOM_NONE)
        return std::nullopt;

    const auto id = xcb_window_t(window.winId());
    const XReply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(connection, xcb_query_tree(connection, id), nullptr), &std::free);
    if (!tree) return std::nullopt;
    const xcb_window_t root = tree->root;

    // Only a window manager that lists the request answers it.
    const XReply<xcb_get_property_reply_t> supported(
        xcb_get_property_reply(connection, xcb_get_property(connection, 0, root, supportedAtom, XCB_ATOM_ATOM, 0, 4096), nullptr),
        &std::free);
    if (!supported || supported->format != 32) return std::nullopt;
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(supported.get()));
    const int atomCount = xcb_get_property_value_length(supported.get()) / 4;
    if (std::find(atoms, atoms + atomCount, requestAtom) == atoms + atomCount) return std::nullopt;

    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = id;
    request.type = requestAtom;
    xcb_send_event(connection, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&request));
    xcb_flush(connection);

    // The answer comes from another program: look for it for up to 0.2 s.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const XReply<xcb_get_property_reply_t> extents(
            xcb_get_property_reply(connection, xcb_get_property(connection, 0, id, extentsAtom, XCB_ATOM_CARDINAL, 0, 4), nullptr),
            &std::free);
        if (extents && extents->format == 32 && xcb_get_property_value_length(extents.get()) == 16) {
            // Left, right, top, bottom, in device pixels.
            const auto* side = static_cast<const std::uint32_t*>(xcb_get_property_value(extents.get()));
            const qreal ratio = window.devicePixelRatio();
            return QMargins(qRound(side[0] / ratio), qRound(side[2] / ratio), qRound(side[1] / ratio), qRound(side[3] / ratio));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return std::nullopt;
}
#endif

// The outer rectangle of a shown window as the window system last reported it.
// The widget's own geometry takes every move and resize the program asks for
// at once; a window manager that refuses one (a maximized window stays where
// it is) reports nothing, and the widget keeps the refused geometry.
QRect actualFrame(const QWidget& window) {
    const QWindow* native = window.windowHandle();
    if (native == nullptr || !window.isVisible()) return window.frameGeometry();
    return native->frameGeometry();
}

QMargins marginsOf(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(), frame.bottom() - client.bottom()};
}

// Turns a dialog that was minimized, maximized or made to fill the screen back
// into a normal one, once the window system's report has been handled.
class NormalStateHolder : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::WindowStateChange) return false;
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (dialog == nullptr || !dialog->isWindow() || (dialog->windowState() & HELD_STATES) == 0) return false;
        QMetaObject::invokeMethod(
            dialog,
            [dialog] {
                if ((dialog->windowState() & HELD_STATES) == 0 || !dialog->isVisible()) return;
                dialog->setWindowState(dialog->windowState() & ~HELD_STATES);
                dialog->raise();
                dialog->activateWindow();
            },
            Qt::QueuedConnection);
        return false;
    }

private:
    static constexpr Qt::WindowStates HELD_STATES = Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;
};

}  // namespace

void holdDialogsInNormalState() {
    static QPointer<NormalStateHolder> holder;  // gone with the application that owns it
    if (qApp == nullptr || holder != nullptr) return;
    holder = new NormalStateHolder(qApp);
    qApp->installEventFilter(holder);
}

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
    holdDialogsInNormalState();
}

void TCenteredForm::accept() { done(int(ModalResult::Ok)); }

void TCenteredForm::reject() { done(int(ModalResult::Cancel)); }

ModalResult TCenteredForm::showCentred(QWidget* mainWindow) {
    QScreen* screen = mainWindow != nullptr ? mainWindow->screen() : QGuiApplication::primaryScreen();
    const QRect screenRect = screen != nullptr ? screen->geometry() : QRect(0, 0, 640, 480);
    const QRect mainRect = mainWindow != nullptr ? actualFrame(*mainWindow) : screenRect;

    prepareToShow();

    // A dialog shown before keeps the frame it had; the first time it is asked for.
    const bool first = !shownBefore_;
    const QMargins frame = first ? frameBeforeFirstShowing(mainWindow) : marginsOf(*this);
    const QSize outer = size().grownBy(frame);

    QPoint position;
    if (centreOnScreenAtFirstShow_ && first)
        position = screenCentredPosition(outer, screenRect.size());
    else
        position = centredPosition(outer, mainRect.translated(-screenRect.topLeft()), screenRect.size());
    // Placed by its inside, which the frame goes round: the native window may
    // exist without ever having been framed, and then knows no frame to place by.
    setGeometry(QRect(position + screenRect.topLeft() + QPoint(frame.left(), frame.top()), size()));
    shownBefore_ = true;

    const int result = exec();
    if (result < int(ModalResult::Ok) || result > int(ModalResult::Abort)) return ModalResult::Cancel;
    return ModalResult(result);
}

QMargins TCenteredForm::frameBeforeFirstShowing(const QWidget* mainWindow) {
    create();
    QWindow* window = windowHandle();
    if (window == nullptr) return {};
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return window->frameMargins();
#ifdef VEXEL_ASK_X_WINDOW_MANAGER
    if (const std::optional<QMargins> frame = frameFromWindowManager(*window)) return *frame;
#endif
    // A window manager that does not say: the main window's frame is the best guess.
    if (mainWindow != nullptr && mainWindow->isVisible()) return marginsOf(*mainWindow);
    return {};
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
