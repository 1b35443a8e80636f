// Tells assistive technology what happens in the game without the user moving
// the focus: every committed move (human or computer), whose turn it is, each
// finish, the start, a take back, the end of a game and a hint. An invisible widget
// of the main window whose accessible object is a notification: each message
// becomes its name, and it is shown anew, which a screen reader such as Orca
// speaks at once. Its description keeps the last committed move, so that it
// can be read again later.
#pragma once

#include "core/gameview.h"

#include <QString>
#include <QWidget>

namespace vexel {

class Game;
struct Settings;

class Announcer : public QWidget {
    Q_OBJECT
public:
    Announcer(const Game& game, const Settings& settings, QWidget* parent);

    // Builds the message of the event and tells it; does nothing while no
    // assistive technology listens.
    void gameEvent(GameView::Event event);
    // The hint asked for is on the board: its move is told as well.
    void hintShown();

    QString message() const { return message_; }
    QString lastMove() const { return lastMove_; }

private:
    void announce(const QString& message);

    const Game& game_;
    const Settings& settings_;
    QString message_;
    QString lastMove_;
};

}  // namespace vexel
