// Move rules and move input. A path is built hole by hole with chooseHole;
// whatever it accepts is legal, so there is no separate legality check. Every
// hole of the path carries a mark on the board, kept exactly in step with the
// path: an entry added is marked, an entry dropped is unmarked.
#include "moves.h"

#include "board.h"
#include "game.h"

namespace vexel {

void Game::unmarkPath() {
    for (int i = 0; i < state_.movePathLength; ++i) view_.toggleHoleMark(state_.movePath[i].cell);
}

void Game::chooseHole(CellIndex h) {
    GameState& s = state_;
    if (!s.gameRunning || h >= CELL_COUNT) return;

    // An own peg: select it and start the path afresh, whatever was entered.
    const auto& pegs = s.pegs[s.currentPlayer];
    for (int k = 0; k < s.pegsPerPlayer; ++k) {
        if (pegs[k].cell != h) continue;
        unmarkPath();
        s.movePathLength = 1;
        s.stepMade = false;
        s.movingPeg = std::uint8_t(k);
        s.movePath[0] = {UpRight, h};
        view_.toggleHoleMark(h);
        return;
    }

    if (s.movePathLength == 0 || s.stepMade) return;
    // An occupied hole can only be the end of a swap, where the rules allow one.
    const bool swapHole = s.occupancy[h] != NO_PEG;
    if (swapHole && !swapAllowed(s.occupancy, s.currentPlayer, h, s.pegsPerPlayer, s.rules)) return;

    // A single step: only straight after the selection.
    const CellIndex start = s.movePath[0].cell;
    if (s.movePathLength == 1) {
        for (int d = 0; d < DIRECTION_COUNT; ++d) {
            if (NEIGHBOURS[start][d] != h) continue;
            s.movePath[1] = {Direction(d), h};
            s.movePathLength = 2;
            s.stepMade = true;
            view_.toggleHoleMark(h);
            return;
        }
    }

    // An earlier landing: cut the chain back to it.
    for (int i = 0; i < s.movePathLength; ++i) {
        if (s.movePath[i].cell != h) continue;
        for (int j = i + 1; j < s.movePathLength; ++j) view_.toggleHoleMark(s.movePath[j].cell);
        s.movePathLength = std::uint8_t(i + 1);
        return;
    }

    // A jump from the last hole over a peg of any seat (an adjacent one by the
    // classic rules). A swap ends the chain: nothing jumps on from there.
    if (s.movePathLength >= MAX_PATH || s.pathEndsInSwap()) return;
    const CellIndex a = s.pathEnd();
    for (int d = 0; d < DIRECTION_COUNT; ++d) {
        const CellIndex to =
            swapHole ? ruleJumpOntoPeg(s.occupancy, a, d, s.rules) : ruleJumpLanding(s.occupancy, a, d, s.rules);
        if (to != h) continue;
        s.movePath[s.movePathLength] = {Direction(d), h};
        ++s.movePathLength;
        view_.toggleHoleMark(h);
        return;
    }
}

void Game::commitMove() {
    GameState& s = state_;
    if (!s.gameRunning || s.moveInProgress || !moveReady()) return;
    // The position before a human's move is what a take back returns to.
    if (s.players[s.currentPlayer].kind == PlayerKind::Human) {
        history_.push_back(s);
        historyMoveCounts_.push_back(moves_.size());
    }
    RecordMove& played = moves_.emplace_back();
    played.number = s.moveNumber;
    played.seat = s.currentPlayer;
    for (int i = 0; i < s.movePathLength; ++i) played.holes.push_back(s.movePath[i].cell);
    clearHint();
    unmarkPath();
    if (s.keyboardCursorShown) {
        s.keyboardCursorShown = false;
        view_.toggleCursorMark(s.keyboardCursor[s.currentPlayer]);
    }
    s.occupancy[s.movePath[0].cell] = NO_PEG;
    s.movePathLength = std::uint8_t(s.movePathLength - 1);  // from now on: the number of hops
    s.moveInProgress = true;
    s.animStep = 0;
    view_.gameEvent(GameView::Event::MoveCommitted);
}

bool Game::acceptsBoardInput() const {
    return state_.gameRunning && !state_.moveInProgress && !state_.computerToMove && !seatIsRemote(state_.currentPlayer);
}

void Game::clickHole(CellIndex h) {
    clearHint();  // a shown hint goes before the click does anything else
    if (!acceptsBoardInput() || h >= CELL_COUNT) return;
    // A second click on the last hole of a complete path confirms the move.
    if (moveReady() && state_.pathEnd() == h)
        commitMove();
    else
        chooseHole(h);
}

}  // namespace vexel
