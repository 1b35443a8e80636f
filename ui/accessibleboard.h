// The board as assistive technology sees it. The board widget's accessible
// interface has one child per hole (121), named from the game state whenever
// a screen reader asks ("E5, leer", "E5, grüner Stein von Anna"), selected
// while the hole is marked (the path being entered, the computer's marks, a
// hint) and with a press action that does what Space does on that hole.
//
// Nothing of this costs a player without assistive technology anything: the
// interfaces are made by Qt only when one is asked for, a hole's interface
// only when that hole is asked for, and then kept until the board goes.
#pragma once

#include "core/game.h"
#include "core/gamestate.h"
#include "core/types.h"

#include <QAccessible>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <array>
#include <bitset>

namespace vexel {

class Announcer;
class BoardDrawing;
class BoardWidget;
class Game;
struct Settings;

// Lives as a child of the board widget; its accessible interface finds the
// game through it.
class BoardAccess : public QObject {
    Q_OBJECT
public:
    BoardAccess(Game& game, const Settings& settings, const BoardDrawing& drawing, BoardWidget* board);
    ~BoardAccess() override;

    Game& game() const { return game_; }
    const Settings& settings() const { return settings_; }
    const BoardDrawing& drawing() const { return drawing_; }
    BoardWidget* board() const { return board_; }

    // The hole the keyboard cursor stands on, NO_PEG while it is hidden.
    CellIndex cursorHole() const;
    // Whether the hole is marked: on the path being entered or in the hint.
    bool marked(CellIndex cell) const;

    // After a cursor key: the cursor's hole becomes the accessible focus, and
    // holes whose marks came or went tell their new state. Nothing is sent
    // while no assistive technology listens. When the cursor was hidden
    // before and the key only showed it, its hole says "Cursor".
    void inputHandled(bool cursorWasShown = true);
    // A cursor key for the game: the key is applied, the accessible focus
    // follows, and a Space or Enter that did nothing tells why.
    void pressKey(CursorKey key);
    // The press action of a hole: Space on that hole.
    void press(CellIndex cell);
    // Where refusals are told; none while unset.
    void setAnnouncer(Announcer* announcer) { announcer_ = announcer; }
    // Whether the last key only showed the cursor: its hole says so.
    bool cursorJustShown() const { return cursorJustShown_; }

    // Tells the focus to be on the board, or on the cursor's hole while it is
    // shown; done by itself whenever the window becomes active again.
    void focusBoard();
    // A dialog over the window has closed: the focus is told to be back on
    // the board (with assistive technology only).
    void backFromDialog();

    // The accessible interface of a hole, made and registered with Qt the
    // first time it is asked for.
    QAccessibleInterface* hole(CellIndex cell);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What a Space, Enter or press may change: the path entered, the move and the turn.
    struct MoveEntry {
        std::array<CellIndex, MAX_PATH> path{};
        int pathLength = 0;
        bool moving = false;
        Seat mover = 0;
        int moveNumber = 0;
        bool operator==(const MoveEntry&) const = default;
    };
    MoveEntry moveEntry() const;
    // After a Space, Enter or press that found the board taking input: tells
    // why nothing happened, if nothing did.
    void tellRefusal(const MoveEntry& before, bool selectingKey);

    Game& game_;
    const Settings& settings_;
    const BoardDrawing& drawing_;
    QPointer<BoardWidget> board_;
    std::bitset<CELL_COUNT> lastMarks_;
    QPointer<Announcer> announcer_;
    QTimer focusTimer_;
    bool cursorJustShown_ = false;
    std::array<QAccessible::Id, CELL_COUNT> holeIds_{};
};

}  // namespace vexel
