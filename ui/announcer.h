// Tells assistive technology what happens in the game without the user moving
// the focus: every committed move (human or computer), whose turn it is, each
// finish, the start, a take back, the end of a game, a hint and a key that did
// nothing. An invisible widget of the main window whose accessible object is a
// notification: each message becomes its name, and it is shown anew, which a
// screen reader such as Orca speaks at once. Its description keeps the last
// few moves, so that they can be read again later.
//
// A screen reader asks for the name only when it comes to the event, which may
// be well after it was sent; a name changed meanwhile would be read in place
// of the one sent, and a flood of events makes it drop them all. So what
// happens in one moment is joined into one message, and a message stands about
// as long as it takes to speak before the next replaces it; what came
// meanwhile waits and goes out joined, the moves summed up when there are many.
#pragma once

#include "core/gameview.h"
#include "ui/spokentexts.h"

#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <vector>

namespace vexel {

class Game;
struct Settings;

class Announcer : public QWidget {
    Q_OBJECT
public:
    // How long a message stands before the next replaces it: about the time
    // a screen reader takes to speak it at a brisk rate (25 signs a second),
    // at least one second and at most three, so that the speech keeps up.
    static constexpr int MESSAGE_GAP_MS = 1000;
    static constexpr int MS_PER_CHARACTER = 40;
    static constexpr int LONGEST_GAP_MS = 3000;
    static int gapAfter(const QString& message);
    // How long the first thing to tell after a quiet while waits for what
    // belongs to the same moment (the computer's answer at the fastest speeds).
    static constexpr int JOIN_MS = 150;
    // How many of the latest moves the description keeps.
    static constexpr int MOVES_KEPT = 4;

    Announcer(const Game& game, const Settings& settings, QWidget* parent);

    // Builds the message of the event and tells it; does nothing while no
    // assistive technology listens.
    void gameEvent(GameView::Event event);
    // The hint asked for is on the board: its move is told as well.
    void hintShown();
    // A key or press action did nothing; the reason is told.
    void refused(const QString& why);

    // The message standing now, and the latest moves ("Zuletzt: ...").
    QString message() const { return message_; }
    QString lastMoves() const;
    // Messages sent since the program started.
    int messagesSent() const { return sent_; }

private:
    void add(SpokenPart::Kind kind, const QString& text);
    void deliver();

    const Game& game_;
    const Settings& settings_;
    std::vector<SpokenPart> pending_;
    QTimer deliveryTimer_;
    QElapsedTimer sinceLast_;
    int gap_ = 0;
    QString message_;
    QStringList moves_;
    int sent_ = 0;
};

}  // namespace vexel
