// Moves that come from another program of a network game. They go through the
// same move entry as clicks, tried first on a copy of the position, so that a
// move the rules refuse leaves no mark and changes nothing.
#include "game.h"
#include "headlessview.h"

namespace vexel {

void Game::setRemoteSeats(std::uint8_t seats) {
    remoteSeats_ = std::uint8_t(seats & 0x3F);
    GameState& s = state_;
    // A computer seat that is played elsewhere does not think here.
    if (s.gameRunning && s.computerToMove && !s.moveInProgress && seatIsRemote(s.currentPlayer)) {
        if (s.computerPhase == 1) computer_.releaseCandidates();
        s.computerToMove = false;
    }
    // A computer seat played here again takes up its turn.
    if (s.gameRunning && !s.computerToMove && !s.moveInProgress && !seatIsRemote(s.currentPlayer) &&
        s.players[s.currentPlayer].kind == PlayerKind::Computer && s.movePathLength == 0)
        startComputerTurn();
}

bool Game::remoteMoveFits(const RecordMove& move) const {
    const GameState& s = state_;
    if (!s.gameRunning || s.moveInProgress || showingWinners_ || move.seat != s.currentPlayer ||
        !seatIsRemote(move.seat) || move.holes.size() > std::size_t(MAX_PATH))
        return false;
    // Only a computer seat passes, and only the host decides that it must.
    if (move.holes.empty()) return s.players[move.seat].kind == PlayerKind::Computer;
    if (move.holes.size() < 2) return false;
    Settings settings = settings_;
    HeadlessView view;
    Random random(0);
    Game trial(settings, view, random);
    trial.state_ = s;
    trial.state_.movePathLength = 0;
    trial.state_.stepMade = false;
    for (CellIndex hole : move.holes) trial.chooseHole(hole);
    const GameState& t = trial.state_;
    if (t.movePathLength != move.holes.size()) return false;
    for (std::size_t i = 0; i < move.holes.size(); ++i)
        if (t.movePath[i].cell != move.holes[i]) return false;
    return true;
}

bool Game::playRemoteMove(const RecordMove& move) {
    if (!remoteMoveFits(move)) return false;
    GameState& s = state_;
    if (move.holes.empty()) {
        s.computerToMove = false;
        moves_.push_back({s.moveNumber, s.currentPlayer, {}, {}, {}});
        passTurn();
        return true;
    }
    clearHint();
    unmarkPath();
    s.movePathLength = 0;
    for (CellIndex hole : move.holes) chooseHole(hole);
    commitMove();
    return true;
}

}  // namespace vexel
