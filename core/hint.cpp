// The hint: the move the strongest computer level would make for the human
// seat to move, shown with the same marks the computer draws when it enters a
// move. The search works on copies of the state, the settings and the random
// generator, so asking for a hint changes nothing the game does afterwards.
#include "game.h"

namespace vexel {

bool Game::canShowHint() const {
    const GameState& s = state_;
    return s.gameRunning && !s.moveInProgress && !s.computerToMove && !showingWinners_ &&
           s.currentPlayer < SEAT_COUNT && s.players[s.currentPlayer].kind == PlayerKind::Human;
}

void Game::clearHint() {
    for (CellIndex c : hint_) view_.toggleHoleMark(c);
    hint_.clear();
}

void Game::showHint() {
    clearHint();
    if (!canShowHint()) return;
    GameState& s = state_;

    GameState position = s;
    Settings strongest = settings_;
    strongest.playerSettings[s.currentPlayer].level = 0;
    Random generator = random_;
    ComputerPlayer adviser(position, strongest, generator);
    if (!adviser.searchComputerMove()) return;  // no legal move: nothing to show

    // A path being entered goes first: its marks and the hint's never mix.
    unmarkPath();
    s.movePathLength = 0;
    s.stepMade = false;

    const CandidateMove& move = adviser.chosen();
    hint_.push_back(s.pegs[s.currentPlayer][move.pegIndex].cell);
    for (int i = 0; i <= move.lastLanding; ++i) hint_.push_back(move.landings[i]);
    for (CellIndex c : hint_) view_.toggleHoleMark(c);
}

}  // namespace vexel
