// The move animation: a committed move is shown hop by hop, each hop an arc
// from hole to hole drawn frame by frame. Each frame restores the saved square
// under the peg and draws it at its next position, so the board itself is never
// redrawn. The idle loop drives it: advanceMove between hops, animateFrame when
// a frame is due. After the last hop the game's move completion takes over.
#pragma once

#include "core/game.h"
#include "ui/boarddraw.h"

namespace vexel {

// Where the peg stands in frame `frame` (1..frames) of a hop from `from` to
// `to`: on the straight line, lifted at right angles towards the top of the
// screen by up to `arcHeight` at the middle frame.
PixelPoint hopPosition(PixelPoint from, PixelPoint to, Direction direction, int arcHeight, int frame, int frames);

class MoveAnimation {
public:
    MoveAnimation(Game& game, BoardDrawing& drawing, GameView& view);

    // The start of the next hop, or the end of the move after the last one.
    void advanceMove();
    // One frame of the running hop.
    void animateFrame();
    // From, to and arc of hop animStep in the board surface's pixels.
    void setupStep();

    // The board was repainted: the saved square is stale, the next frame
    // restores nothing; a peg waiting on a landing is drawn there again.
    void forgetBackground();
    // The size level changed during a hop: the hop goes on at the same frame on the new scale.
    void layoutChanged();
    // The game ended during a hop: the peg's saved square is thrown away.
    void discardMovingBackground();

    int frameNumber() const { return frameNumber_; }
    PixelPoint lastDrawn() const { return lastDrawn_; }

private:
    void clearSwappedPeg(PixelPoint at);
    std::uint8_t speed() const;

    Game& game_;
    BoardDrawing& drawing_;
    GameView& view_;
    PixelPoint stepFrom_, stepTo_, lastDrawn_;
    std::uint32_t movingBackground_ = 0;
    Direction stepDirection_ = UpRight;
    int arcHeight_ = 0;
    int stepFrames_ = 2;
    int frameDelay_ = 0;
    int frameNumber_ = 0;
};

}  // namespace vexel
