// Taking back a move. The position before each human seat's move is kept when
// the move is committed; taking back stops whatever is running (a path being
// entered, the computer's marked move, a hop on the screen) and returns to the
// newest kept position. The computer players' moves in between simply vanish
// with it, and so does what the computers remember of the positions they
// brought about since; the random generator is not rewound, so they go on
// drawing from where they are.
#include "game.h"

namespace vexel {

bool Game::canTakeBack() const { return state_.gameRunning && !showingWinners_ && !history_.empty(); }

void Game::takeBack() {
    if (!canTakeBack()) return;
    GameState& s = state_;

    // Stop cleanly: no mark stays on the board, no hop goes on, no computer
    // turn comes back to commit what it had entered.
    clearHint();
    if (!s.moveInProgress) unmarkPath();  // a committed move took its marks off already
    if (s.keyboardCursorShown) view_.toggleCursorMark(s.keyboardCursor[s.currentPlayer]);
    if (s.stepAnimating) view_.discardMovingBackground();
    computer_.releaseCandidates();

    GameState restored = history_.back();
    history_.pop_back();
    moves_.resize(historyMoveCounts_.back());
    historyMoveCounts_.pop_back();
    // The saved squares under the pegs belong to the screen as it is now.
    for (int seat = 0; seat < SEAT_COUNT; ++seat)
        for (int k = 0; k < MAX_PEGS; ++k) {
            restored.pegs[seat][k].background = s.pegs[seat][k].background;
            restored.pegs[seat][k].hasBackground = s.pegs[seat][k].hasBackground;
        }
    // The seat is to move again with nothing selected, as at the start of its turn.
    restored.movePathLength = 0;
    restored.stepMade = false;
    restored.moveInProgress = false;
    restored.animStep = 0;
    restored.stepAnimating = false;
    restored.computerToMove = false;
    restored.computerPhase = 0;
    restored.keyboardCursorShown = false;
    s = restored;
    ++positionsLeft_;

    view_.updateWinnerList();
    view_.showMoveNumber();
    view_.drawTurnPanel();
    view_.showPlayerName(s.players[s.currentPlayer].nameBytes());
    view_.gameEvent(GameView::Event::TakenBack);
}

}  // namespace vexel
