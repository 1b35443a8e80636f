// The one window onto a game: everything the core asks of the screen, the
// sound, the winners display and the clock. The Qt main window implements it;
// tests and tools use HeadlessView.
#pragma once

#include "types.h"

#include <cstdint>
#include <string_view>

namespace vexel {

class GameView {
public:
    virtual ~GameView() = default;

    // Board
    virtual void drawBoard() = 0;
    virtual void drawPlayerPeg(Seat seat, int peg) = 0;
    // Inverted square outlines: drawing a mark twice removes it.
    virtual void toggleHoleMark(CellIndex cell) = 0;
    virtual void toggleCursorMark(CellIndex cell) = 0;
    // The hint's mark, of a shape of its own, so that it is never taken for a
    // path being entered; inverted like the others.
    virtual void toggleHintMark(CellIndex cell) = 0;
    // The saved square under the peg being animated is thrown away (game ended mid-hop).
    virtual void discardMovingBackground() = 0;

    // Turn panel
    virtual void drawTurnPanel() = 0;
    virtual void showPlayerName(std::string_view windows1252Name) = 0;
    virtual void showMoveNumber() = 0;

    // Sound 1..5
    virtual void playSound(int sound) = 0;

    // Winners display: refresh its list from the finishing order, then show it
    // modally and report the button (or close box) that closed it.
    virtual void updateWinnerList() = 0;
    virtual ModalResult showWinners() = 0;

    // Clock: milliseconds, wrapping at 32 bits, compared as signed differences.
    virtual std::uint32_t tickCount() = 0;
    // Blocks until tickCount() reaches `tick`; the screen shows what was drawn.
    virtual void waitUntil(std::uint32_t tick) = 0;

    // What happened in the game, for those who follow it beyond the board
    // (the autosave, the screen reader). Each is told once the state shows it:
    //  MoveCommitted  the seat to move committed state.movePath (entry 0 the
    //                 start hole, then state.movePathLength landings);
    //  TurnPassed     state.currentPlayer is to move at state.moveNumber;
    //  SeatFinished   the seat to move has just taken its place in state.finishOrder;
    //  GameStarted, GameEnded, TakenBack  as named.
    enum class Event : std::uint8_t { GameStarted, MoveCommitted, TurnPassed, SeatFinished, GameEnded, TakenBack };
    virtual void gameEvent(Event) {}
};

// True when tick `a` is at or after tick `b`, across the 32-bit wrap.
constexpr bool tickReached(std::uint32_t a, std::uint32_t b) { return std::int32_t(a - b) >= 0; }

}  // namespace vexel
