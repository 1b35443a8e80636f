// The hint: the move the strongest computer level would make for the human
// seat to move, shown with marks of its own. The search works on copies of the
// state and the settings and draws from no generator, so asking for a hint
// changes nothing the game does afterwards.
#include "game.h"

#include "strongsearch.h"

namespace vexel {

bool Game::canShowHint() const {
    const GameState& s = state_;
    return s.gameRunning && !s.moveInProgress && !s.computerToMove && !showingWinners_ &&
           s.currentPlayer < SEAT_COUNT && s.players[s.currentPlayer].kind == PlayerKind::Human;
}

void Game::clearHint() {
    for (CellIndex c : hint_) view_.toggleHintMark(c);
    hint_.clear();
}

void Game::showHint() {
    clearHint();
    if (!canShowHint()) return;
    std::vector<CandidateMove> ranked;
    if (!searchStrongMove(state_, settings_, ranked)) return;  // no legal move: nothing to show
    showHintMove(searchTicket(), ranked);
}

void Game::showHintMove(std::uint64_t ticket, std::span<const CandidateMove> ranked) {
    if (ticket != searchTicket() || !canShowHint() || ranked.empty()) return;
    clearHint();
    // The path being entered keeps its marks: the hint's look different and
    // come and go on their own.
    const CandidateMove& move = ranked.back();
    if (move.pegIndex >= state_.pegsPerPlayer) return;
    hint_.push_back(state_.pegs[state_.currentPlayer][move.pegIndex].cell);
    for (int i = 0; i <= move.lastLanding && i < MAX_CHAIN; ++i) hint_.push_back(move.landings[i]);
    for (CellIndex c : hint_) view_.toggleHintMark(c);
}

}  // namespace vexel
