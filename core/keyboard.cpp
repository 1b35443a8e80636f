// The keyboard cursor: one per seat, walked from hole to hole along the
// neighbour relation. Space does what a click does, Enter adds the hole under
// the cursor and confirms the move. Up and Down alternate between the two
// diagonals, so repeated presses walk straight up or down in a zigzag.
#include "board.h"
#include "game.h"

namespace vexel {

void Game::cursorSideways(Direction d) {
    GameState& s = state_;
    CellIndex& k = s.keyboardCursor[s.currentPlayer];
    view_.toggleCursorMark(k);
    if (!s.keyboardCursorShown) {
        s.keyboardCursorShown = true;  // the first key only shows the cursor
        return;
    }
    if (NEIGHBOURS[k][d] != NO_PEG) k = NEIGHBOURS[k][d];
    view_.toggleCursorMark(k);
}

void Game::cursorVertical(bool up) {
    GameState& s = state_;
    CellIndex& k = s.keyboardCursor[s.currentPlayer];
    view_.toggleCursorMark(k);
    if (!s.keyboardCursorShown) {
        s.keyboardCursorShown = true;
        return;
    }
    const Direction right = up ? UpRight : DownRight;
    const Direction left = up ? UpLeft : DownLeft;
    Direction d;
    if (NEIGHBOURS[k][right] == NO_PEG || NEIGHBOURS[k][left] == NO_PEG)
        d = NEIGHBOURS[k][right] == NO_PEG ? left : right;
    else
        d = s.nextVerticalLeft ? left : right;
    if (NEIGHBOURS[k][d] != NO_PEG) k = NEIGHBOURS[k][d];
    view_.toggleCursorMark(k);
    s.nextVerticalLeft = d == right;
}

void Game::pressKey(CursorKey key) {
    GameState& s = state_;
    clearHint();  // a shown hint goes before the key does anything else
    if (!acceptsBoardInput()) return;
    const CellIndex k = s.keyboardCursor[s.currentPlayer];
    switch (key) {
        case CursorKey::Enter:
            // Any hole but an own peg: an empty one, or a peg to swap out.
            if (s.keyboardCursorShown && s.occupancy[k] != s.currentPlayer) chooseHole(k);
            if (moveReady()) commitMove();
            break;
        case CursorKey::Space:
            if (s.keyboardCursorShown) {
                chooseHole(k);
            } else {
                view_.toggleCursorMark(k);
                s.keyboardCursorShown = true;
            }
            break;
        case CursorKey::Left: cursorSideways(Left); break;
        case CursorKey::Right: cursorSideways(Right); break;
        case CursorKey::Up: cursorVertical(true); break;
        case CursorKey::Down: cursorVertical(false); break;
    }
}

void Game::pressHole(CellIndex cell) {
    GameState& s = state_;
    clearHint();
    if (!acceptsBoardInput() || cell >= CELL_COUNT) return;
    CellIndex& k = s.keyboardCursor[s.currentPlayer];
    if (s.keyboardCursorShown) view_.toggleCursorMark(k);
    k = cell;
    view_.toggleCursorMark(k);
    s.keyboardCursorShown = true;
    chooseHole(k);
}

}  // namespace vexel
