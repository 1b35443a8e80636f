// A game of Vexel: the move rules, the flow from the first move to the
// finishing order, the keyboard cursor and the computer's turns. The game owns
// its state; it reads the live settings and reaches the screen, the sound and
// the clock only through its GameView.
#pragma once

#include "computer.h"
#include "gamestate.h"
#include "gameview.h"
#include "random.h"
#include "settings.h"

namespace vexel {

enum class CursorKey { Enter, Space, Left, Up, Right, Down };

class Game {
public:
    Game(Settings& settings, GameView& view, Random& random);
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    GameState& state() { return state_; }
    const GameState& state() const { return state_; }
    const Settings& settings() const { return settings_; }
    ComputerPlayer& computer() { return computer_; }

    // Move input (moves.cpp): the one path-building operation behind clicks,
    // keys and the computer player, and the commit of a complete path.
    void chooseHole(CellIndex cell);
    bool moveReady() const { return state_.movePathLength > 1; }
    void commitMove();
    // A mouse click on `cell` (NO_PEG when no hole was hit).
    void clickHole(CellIndex cell);
    // Whether clicks and keys on the board are taken now.
    bool acceptsBoardInput() const;

    // Keyboard cursor (keyboard.cpp).
    void pressKey(CursorKey key);

    // Game flow (game.cpp).
    void newGame();
    void endGame();
    void passTurn();
    // The end of a committed move, once its last hop has been shown: the peg is
    // placed, the finish test runs and the turn passes on.
    void completeMove();

    // Computer turns (game.cpp): one phase per call from the idle loop.
    void startComputerTurn();
    void computerTurnStep();

private:
    void unmarkPath();
    void enterComputerMove();
    void releaseCandidates();
    bool hasFinished(Seat seat) const;
    void cursorSideways(Direction d);
    void cursorVertical(bool up);

    GameState state_;
    Settings& settings_;
    GameView& view_;
    Random& random_;
    ComputerPlayer computer_;
};

}  // namespace vexel
