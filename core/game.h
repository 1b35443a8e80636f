// A game of Vexel: the move rules, the flow from the first move to the
// finishing order, the keyboard cursor and the computer's turns. The game owns
// its state; it reads the live settings and reaches the screen, the sound and
// the clock only through its GameView.
#pragma once

#include "computer.h"
#include "gamestate.h"
#include "gameview.h"
#include "random.h"
#include "record.h"
#include "settings.h"

#include <cstdint>
#include <span>
#include <vector>

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
    // Space on `cell`: the cursor is shown there and Space is applied, as a
    // screen reader's press on a hole asks.
    void pressHole(CellIndex cell);

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

    // Searching elsewhere (game.cpp). A window that runs the strongest level's
    // search on a thread of its own switches this on; a turn of that level is
    // then left to it, and computerTurnStep does nothing until the move is
    // handed in. Headless games search in place.
    void setOutsideSearch(bool on) { outsideSearch_ = on; }
    // The seat to move is a computer of the strongest level whose move is awaited from outside.
    bool wantsOutsideSearch() const;
    // Names the turn and position that a search starts from; a result found
    // for another ticket is stale (the turn passed, a take back, a new game).
    std::uint64_t searchTicket() const;
    // Enters the searched move of the turn of `ticket` (every legal move, the
    // chosen one last; empty when the seat has none) as computerTurnStep's
    // first phase does: the loop rule, then the path hole by hole with pauses
    // at the computer speed; the next computerTurnStep commits it. A stale
    // ticket or a turn no longer awaited changes nothing.
    void enterSearchedMove(std::uint64_t ticket, std::span<const CandidateMove> ranked);

    // Take back (takeback.cpp). Each commit of a human seat's move keeps the
    // position before it; taking back returns to the newest kept position with
    // that seat to move and nothing selected, undoing every computer move made
    // since. Whatever runs is stopped first and every mark taken off; the
    // caller then repaints the whole board. The random generator is left
    // alone, so the computer players go on drawing where they were.
    bool canTakeBack() const;
    void takeBack();

    // Hint (hint.cpp): in a human seat's turn, the move the strongest computer
    // level would choose, shown with marks of its own and never committed. A
    // path being entered stays as it is, its marks beside the hint's. The
    // search runs on copies of the state and settings and draws nothing from
    // the game's generator.
    bool canShowHint() const;
    // Searches in place and shows the hint.
    void showHint();
    // Shows the chosen (last) move of a search made elsewhere for the turn of
    // `ticket` (searchTicket); a stale ticket or an empty list shows nothing.
    void showHintMove(std::uint64_t ticket, std::span<const CandidateMove> ranked);
    // Takes the hint's marks off the board (every click and key does this first).
    void clearHint();
    // The holes the hint marks: the peg's hole, then each landing.
    std::span<const CellIndex> hintHoles() const { return hint_; }

    // Records (replay.cpp). The moves of this game as committed, passes
    // included, cut back with each take back; kept after the game ends until
    // the next one starts.
    const std::vector<RecordMove>& playedMoves() const { return moves_; }
    // Goes on with `other`'s game (a replayed record): its position, turn,
    // finishing order, take-back history, moves and what its computer seats
    // remember. Whatever runs here is stopped first and every mark taken
    // off, as a take back does; nothing is shown of the replay's finishes.
    // The caller then repaints the whole board.
    void adoptGame(const Game& other);

    // Network games (remote.cpp). The seats whose moves come from another
    // program (bit k: seat k): clicks and keys do nothing in their turn, and a
    // computer seat among them does not think here.
    void setRemoteSeats(std::uint8_t seats);
    bool seatIsRemote(Seat seat) const { return seat < SEAT_COUNT && (remoteSeats_ >> seat & 1) != 0; }
    // Whether `move` is a move the seat to move may make now: a remote seat's
    // turn, at rest, and every hole taken by the same move entry as clicks.
    bool remoteMoveFits(const RecordMove& move) const;
    // A game between moves: running, no move carried out, no winners display up.
    bool atRest() const { return state_.gameRunning && !state_.moveInProgress && !showingWinners_; }
    // Enters and commits such a move (a computer seat's pass included), as
    // clicks would; false, and nothing changed, when it does not fit.
    bool playRemoteMove(const RecordMove& move);

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

    // Positions before each human move of this game, oldest first.
    std::vector<GameState> history_;
    std::vector<RecordMove> moves_;
    std::vector<std::size_t> historyMoveCounts_;  // moves_.size() at each entry of history_
    // Counts take backs and ended games, so that a computer's entry in progress
    // notices that its position is gone.
    std::uint32_t positionsLeft_ = 0;
    bool showingWinners_ = false;   // the move completion waits for the winners display
    bool startingGame_ = false;     // newGame hands out the first turn
    std::vector<CellIndex> hint_;
    bool outsideSearch_ = false;
    std::uint32_t turnsPassed_ = 0;  // with positionsLeft_, the search ticket
    std::uint8_t remoteSeats_ = 0;
};

}  // namespace vexel
