#include "accessibleboard.h"

#include "core/game.h"
#include "settings/qtexts.h"
#include "ui/announcer.h"
#include "ui/boarddraw.h"
#include "ui/boardwidget.h"
#include "ui/spokentexts.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWindow>

#include <algorithm>

namespace vexel {

namespace {

class HoleAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    HoleAccessible(BoardAccess* access, CellIndex cell) : access_(access), cell_(cell) {}

    CellIndex cell() const { return cell_; }

    bool isValid() const override { return access_ && access_->board(); }
    // A hole is no object of its own; returning the board here would make
    // Qt's cache take the hole for the board.
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return isValid() ? access_->board()->window()->windowHandle() : nullptr; }

    QAccessibleInterface* parent() const override {
        return isValid() ? QAccessible::queryAccessibleInterface(access_->board()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override {
        if (!isValid()) return {};
        const GameState& state = access_->game().state();
        switch (t) {
            case QAccessible::Name: return holeText(state, access_->settings(), cell_);
            case QAccessible::Description: {
                const auto hint = access_->game().hintHoles();
                if (std::find(hint.begin(), hint.end(), cell_) != hint.end()) return vexel::text(access_->settings(), 905);
                if (access_->marked(cell_)) return vexel::text(access_->settings(), 904);
                // The first key of a turn only showed the cursor: never to be taken for a selection.
                if (access_->cursorJustShown() && access_->cursorHole() == cell_)
                    return vexel::text(access_->settings(), 1052);
                return {};
            }
            default: return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override {
        if (!isValid()) return {};
        const BoardDrawing& drawing = access_->drawing();
        const PixelPoint centre = drawing.cellPos(cell_);
        const int half = 4 * std::max(drawing.sizeUnit(), 1);
        const QPoint topLeft = access_->board()->mapToGlobal(QPoint(centre.x - half, centre.y - half));
        return {topLeft, QSize(2 * half + 1, 2 * half + 1)};
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.focusable = true;
        s.selectable = true;
        if (!isValid()) {
            s.invisible = true;
            return s;
        }
        s.focused = access_->cursorHole() == cell_;
        s.selected = access_->marked(cell_);
        s.invisible = !access_->board()->isVisible();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }

    // Action: press, as Space on this hole.
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction() && isValid()) access_->press(cell_);
    }
    QStringList keyBindingsForAction(const QString& name) const override {
        return name == pressAction() ? QStringList{QStringLiteral("Space")} : QStringList{};
    }

private:
    QPointer<BoardAccess> access_;
    CellIndex cell_;
};

// The board: a list of 121 holes in the order of their numbers, row by row
// from the top point.
class BoardAccessible : public QAccessibleWidget {
public:
    BoardAccessible(BoardWidget* board, BoardAccess* access) : QAccessibleWidget(board, QAccessible::List), access_(access) {}

    int childCount() const override { return access_ ? CELL_COUNT : 0; }
    QAccessibleInterface* child(int index) const override {
        if (!access_ || index < 0 || index >= CELL_COUNT) return nullptr;
        return access_->hole(CellIndex(index));
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const auto* hole = dynamic_cast<const HoleAccessible*>(child);
        return hole && access_ && access_->hole(hole->cell()) == child ? hole->cell() : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        if (!access_) return nullptr;
        const QPoint local = widget()->mapFromGlobal(QPoint(x, y));
        const CellIndex cell = access_->drawing().holeAt(local.x(), local.y());
        return cell == NO_PEG ? nullptr : access_->hole(cell);
    }
    QAccessibleInterface* focusChild() const override {
        if (!access_ || access_->cursorHole() == NO_PEG) return nullptr;
        return access_->hole(access_->cursorHole());
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && access_) return vexel::text(access_->settings(), 900);
        return QAccessibleWidget::text(t);
    }
    // The window itself takes the keys and hands the cursor keys to the
    // board: while it holds the focus, the board is what the keys work on.
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        const QWidget* window = widget()->window();
        s.focusable = true;
        const QWidget* focused = QApplication::focusWidget();
        if (window->isActiveWindow() && (!focused || focused == window || focused->window() != window)) s.focused = true;
        return s;
    }

private:
    QPointer<BoardAccess> access_;
};

QAccessibleInterface* boardFactory(const QString&, QObject* object) {
    auto* board = qobject_cast<BoardWidget*>(object);
    if (!board) return nullptr;
    auto* access = board->findChild<BoardAccess*>(QString(), Qt::FindDirectChildrenOnly);
    return access ? new BoardAccessible(board, access) : nullptr;
}

}  // namespace

namespace {
// Long enough for the window's own focus news to have gone out first.
constexpr int FOCUS_AFTER_ACTIVATION_MS = 50;
}  // namespace

BoardAccess::BoardAccess(Game& game, const Settings& settings, const BoardDrawing& drawing, BoardWidget* board)
    : QObject(board), game_(game), settings_(settings), drawing_(drawing), board_(board) {
    static const bool installed = [] {
        QAccessible::installFactory(boardFactory);
        return true;
    }();
    Q_UNUSED(installed);
    board->window()->installEventFilter(this);
    // The focus may come back to the window after its activation as well.
    focusTimer_.setSingleShot(true);
    connect(&focusTimer_, &QTimer::timeout, this, [this] { focusBoard(); });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (board_ && now == board_->window() && QAccessible::isActive()) focusTimer_.start(FOCUS_AFTER_ACTIVATION_MS);
    });
}

bool BoardAccess::eventFilter(QObject* watched, QEvent* event) {
    // Back from a dialog or another window: after the window's own focus
    // news, the focus is told to be on the board (or its cursor's hole),
    // where the keys work, and not on the window's frame.
    if (event->type() == QEvent::WindowActivate && board_ && watched == board_->window() && QAccessible::isActive())
        focusTimer_.start(FOCUS_AFTER_ACTIVATION_MS);
    return QObject::eventFilter(watched, event);
}

void BoardAccess::focusBoard() {
    if (!board_ || !QAccessible::isActive()) return;
    // Only a control of this window keeps the focus from the board; a closed
    // dialog's button may still be named until the window is active again.
    const QWidget* focused = QApplication::focusWidget();
    if (focused && focused != board_->window() && focused->window() == board_->window()) return;
    const CellIndex cursor = cursorHole();
    if (cursor == NO_PEG) {
        QAccessibleEvent focus(board_.data(), QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
        return;
    }
    QAccessibleEvent focus(hole(cursor), QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
}

void BoardAccess::backFromDialog() {
    if (!board_ || !QAccessible::isActive()) return;
    // Not every window manager hands the focus back when a dialog closes.
    if (!board_->window()->isActiveWindow()) board_->window()->activateWindow();
    focusTimer_.start(FOCUS_AFTER_ACTIVATION_MS);
}

BoardAccess::~BoardAccess() {
    // The holes are no objects that Qt could see go: they leave the cache
    // here, unless the cache went first and took them along.
    for (const QAccessible::Id id : holeIds_)
        if (id && QAccessible::accessibleInterface(id)) QAccessible::deleteAccessibleInterface(id);
}

QAccessibleInterface* BoardAccess::hole(CellIndex cell) {
    if (cell >= CELL_COUNT) return nullptr;
    QAccessible::Id& id = holeIds_[cell];
    if (QAccessibleInterface* known = id ? QAccessible::accessibleInterface(id) : nullptr) return known;
    auto* made = new HoleAccessible(this, cell);
    id = QAccessible::registerAccessibleInterface(made);
    return made;
}

CellIndex BoardAccess::cursorHole() const {
    const GameState& s = game_.state();
    return s.gameRunning && s.keyboardCursorShown ? s.keyboardCursor[s.currentPlayer] : NO_PEG;
}

bool BoardAccess::marked(CellIndex cell) const {
    const GameState& s = game_.state();
    if (s.gameRunning && !s.moveInProgress)
        for (int i = 0; i < s.movePathLength; ++i)
            if (s.movePath[std::size_t(i)].cell == cell) return true;
    const auto hint = game_.hintHoles();
    return std::find(hint.begin(), hint.end(), cell) != hint.end();
}

void BoardAccess::inputHandled(bool cursorWasShown) {
    if (!QAccessible::isActive() || !board_) return;
    std::bitset<CELL_COUNT> marks;
    for (int c = 0; c < CELL_COUNT; ++c) marks[std::size_t(c)] = marked(CellIndex(c));
    const std::bitset<CELL_COUNT> changed = marks ^ lastMarks_;
    lastMarks_ = marks;
    for (int c = 0; c < CELL_COUNT; ++c) {
        if (!changed[std::size_t(c)]) continue;
        // Qt tells a hole's selected state on a selection event.
        QAccessibleEvent event(hole(CellIndex(c)), QAccessible::Selection);
        QAccessible::updateAccessibility(&event);
    }
    // Also when the cursor stays (at an edge, or Space on it): the hole is
    // spoken again, with what the key changed there.
    const CellIndex cursor = cursorHole();
    cursorJustShown_ = !cursorWasShown && cursor != NO_PEG && !changed.any();
    if (cursor == NO_PEG) return;
    QAccessibleEvent focus(hole(cursor), QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
    QAccessibleEvent descendant(board_.data(), QAccessible::ActiveDescendantChanged);
    descendant.setChild(cursor);
    QAccessible::updateAccessibility(&descendant);
}

BoardAccess::MoveEntry BoardAccess::moveEntry() const {
    const GameState& s = game_.state();
    MoveEntry entry;
    entry.pathLength = s.movePathLength;
    for (int i = 0; i < s.movePathLength && i < MAX_PATH; ++i) entry.path[std::size_t(i)] = s.movePath[std::size_t(i)].cell;
    entry.moving = s.moveInProgress || !s.gameRunning;
    entry.mover = s.currentPlayer;
    entry.moveNumber = s.moveNumber;
    return entry;
}

void BoardAccess::tellRefusal(const MoveEntry& before, bool selectingKey) {
    if (!announcer_ || moveEntry() != before) return;
    const GameState& s = game_.state();
    // Space on one of the mover's own pegs selects it, even when it was so already.
    const CellIndex cursor = cursorHole();
    if (selectingKey && cursor != NO_PEG && s.occupancy[cursor] == s.currentPlayer) return;
    announcer_->refused(vexel::text(settings_, before.pathLength == 0 ? 1051 : 1050));
}

void BoardAccess::pressKey(CursorKey key) {
    const bool taken = game_.acceptsBoardInput();
    const bool cursorShown = cursorHole() != NO_PEG;
    const MoveEntry before = moveEntry();
    game_.pressKey(key);
    inputHandled(cursorShown);
    if (!taken || !QAccessible::isActive()) return;
    // The first Space of a turn only shows the cursor, as arrow keys do.
    if (key == CursorKey::Enter || (key == CursorKey::Space && cursorShown))
        tellRefusal(before, key == CursorKey::Space);
}

void BoardAccess::press(CellIndex cell) {
    const bool taken = game_.acceptsBoardInput() && cell < CELL_COUNT;
    const MoveEntry before = moveEntry();
    game_.pressHole(cell);
    // A press never only shows the cursor: it presses the hole as well.
    if (board_) board_->showChanges();
    inputHandled();
    if (taken && QAccessible::isActive()) tellRefusal(before, true);
}

}  // namespace vexel
