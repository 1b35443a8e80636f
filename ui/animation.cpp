#include "animation.h"

#include "core/speeds.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vexel {

namespace {

// Round to nearest, ties to even (the default floating-point rounding mode).
int roundEven(double v) { return int(std::lrint(v)); }

}  // namespace

PixelPoint hopPosition(PixelPoint from, PixelPoint to, Direction direction, int arcHeight, int frame, int frames) {
    const int middle = frames / 2;
    const int t = middle - std::abs(frame - middle);
    const double lift = arcHeight * std::sin(std::numbers::pi / 2 * t / middle);
    const double p = double(frame) / frames;
    const int dx = to.x - from.x;
    const int dy = from.y - to.y;  // positive when the hop goes up
    const double adx = std::abs(dx), ady = std::abs(dy);
    switch (direction) {
        case UpRight: return {from.x + roundEven(p * adx - 0.866 * lift), from.y - roundEven(p * ady + 0.5 * lift)};
        case UpLeft: return {from.x - roundEven(p * adx - 0.866 * lift), from.y - roundEven(p * ady + 0.5 * lift)};
        case Right:
        case Left: return {from.x + roundEven(p * dx), from.y - roundEven(lift)};
        case DownRight: return {from.x + roundEven(0.866 * lift + p * adx), from.y + roundEven(p * ady - 0.5 * lift)};
        case DownLeft: return {from.x - roundEven(0.866 * lift + p * adx), from.y + roundEven(p * ady - 0.5 * lift)};
    }
    return to;
}

MoveAnimation::MoveAnimation(Game& game, BoardDrawing& drawing, GameView& view)
    : game_(game), drawing_(drawing), view_(view) {}

std::uint8_t MoveAnimation::speed() const {
    const GameState& s = game_.state();
    return speedOf(game_.settings(), s.players[s.currentPlayer].kind);
}

void MoveAnimation::advanceMove() {
    GameState& s = game_.state();
    ++s.animStep;
    if (s.animStep > s.movePathLength) {
        game_.completeMove();
        return;
    }
    if (s.animStep > 1) view_.waitUntil(view_.tickCount() + STEP_PAUSE[speed()]);
    setupStep();

    // The peg's saved square travels with it: the animation owns it until the hop ends.
    PegRecord& peg = s.pegs[s.currentPlayer][s.movingPeg];
    if (peg.hasBackground) {
        movingBackground_ = peg.background;
        lastDrawn_ = stepFrom_;
    } else {
        movingBackground_ = 0;
        lastDrawn_ = {};
    }
    peg.hasBackground = false;

    stepDirection_ = s.movePath[s.animStep].direction;
    frameDelay_ = FRAME_DELAY[speed()];
    stepFrames_ = STEP_FRAMES[speed()];
    s.stepAnimating = true;
    frameNumber_ = 0;
    s.nextFrameTime = view_.tickCount();
}

void MoveAnimation::setupStep() {
    const GameState& s = game_.state();
    if (s.animStep == 0 || s.animStep > s.movePathLength) return;
    // In surface pixels, so that a hop on a high-density screen is as smooth as its board.
    stepFrom_ = drawing_.pixelPos(s.movePath[s.animStep - 1].cell);
    stepTo_ = drawing_.pixelPos(s.movePath[s.animStep].cell);
    arcHeight_ = drawing_.px(s.stepMade ? 3 : 6);
}

void MoveAnimation::animateFrame() {
    GameState& s = game_.state();
    const int f = ++frameNumber_;
    if (lastDrawn_ != PixelPoint{}) drawing_.restoreBackground(lastDrawn_, movingBackground_);
    movingBackground_ = 0;

    const PixelPoint at = hopPosition(stepFrom_, stepTo_, stepDirection_, arcHeight_, f, stepFrames_);
    const PlayerSlot& player = s.players[s.currentPlayer];
    drawing_.savePegBackgroundAndDraw(at, game_.settings().pegColours[player.colour % SEAT_COUNT], movingBackground_,
                                      pegMarkFor(game_.settings(), player.colour));
    lastDrawn_ = at;

    if (f < stepFrames_) {
        s.nextFrameTime = view_.tickCount() + std::uint32_t(frameDelay_);
        return;
    }
    s.stepAnimating = false;
    if (s.animStep == s.movePathLength) clearSwappedPeg(at);
    PegRecord& peg = s.pegs[s.currentPlayer][s.movingPeg];
    peg.background = movingBackground_;
    peg.hasBackground = true;
    movingBackground_ = 0;

    const Settings& settings = game_.settings();
    const bool human = player.kind == PlayerKind::Human;
    if (settings.moveSoundOn && ((human && settings.humanSpeed > 0) || (!human && settings.computerSpeed > 0)))
        view_.playSound(3);
}

// A swap ends on a peg of the home seat, whose picture the square now under
// the mover holds: both squares go back, so that the hole is bare, and the
// mover is drawn anew. The completion then draws the swapped peg on the start.
void MoveAnimation::clearSwappedPeg(PixelPoint at) {
    GameState& s = game_.state();
    const CellIndex end = s.movePath[s.animStep].cell;
    const Seat other = end < CELL_COUNT ? s.occupancy[end] : NO_PEG;
    if (other >= SEAT_COUNT || other == s.currentPlayer) return;
    drawing_.restoreBackground(at, movingBackground_);
    for (int k = 0; k < s.pegsPerPlayer; ++k) {
        PegRecord& swapped = s.pegs[other][k];
        if (swapped.cell != end || !swapped.hasBackground) continue;
        drawing_.restoreBackground(drawing_.pixelPos(end), swapped.background);
        swapped.hasBackground = false;
    }
    const PlayerSlot& player = s.players[s.currentPlayer];
    drawing_.savePegBackgroundAndDraw(at, game_.settings().pegColours[player.colour % SEAT_COUNT], movingBackground_);
}

void MoveAnimation::forgetBackground() {
    GameState& s = game_.state();
    if (s.stepAnimating) {
        drawing_.deleteBackground(movingBackground_);
        movingBackground_ = 0;
        lastDrawn_ = {};
        return;
    }
    if (!s.moveInProgress || s.currentPlayer >= SEAT_COUNT || s.movingPeg >= MAX_PEGS) return;
    // Between two hops, and after the last one until the move is completed,
    // the peg waits on its landing, a hole the game still holds empty: the
    // repaint left it out, so it goes back with a square of its own, which the
    // next hop takes over. (The completion only enters it in the game.)
    const int landing = std::min<int>(s.animStep, std::min<int>(s.movePathLength, MAX_PATH - 1));
    const CellIndex cell = s.movePath[landing].cell;
    if (cell >= CELL_COUNT) return;
    PegRecord& peg = s.pegs[s.currentPlayer][s.movingPeg];
    if (peg.hasBackground) drawing_.deleteBackground(peg.background);
    const PlayerSlot& player = s.players[s.currentPlayer];
    drawing_.savePegBackgroundAndDraw(drawing_.pixelPos(cell), game_.settings().pegColours[player.colour % SEAT_COUNT],
                                      peg.background, pegMarkFor(game_.settings(), player.colour));
    peg.hasBackground = true;
}

void MoveAnimation::layoutChanged() {
    if (!game_.state().stepAnimating) return;
    forgetBackground();
    setupStep();
}

void MoveAnimation::discardMovingBackground() {
    drawing_.deleteBackground(movingBackground_);
    movingBackground_ = 0;
    lastDrawn_ = {};
}

}  // namespace vexel
