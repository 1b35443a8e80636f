// The small star of the turn panel and the peg of the seat to move in its
// middle. The name and move-number labels beside it belong to the window.
//
// The star is drawn into a surface of 30 x 28 units that stands on the
// panel's silver, at s pixels per unit (s the size level) times the surface's
// device pixel ratio: a white disc with a black rim, the two triangles, the
// six points silver and the centre white. Each drawTurnPanel paints the whole
// surface again, so the peg of the previous turn disappears with it.
#pragma once

#include "core/gamestate.h"
#include "core/settings.h"
#include "ui/boarddraw.h"

#include <QImage>

#include <array>

namespace vexel {

inline constexpr int TURN_PANEL_WIDTH_UNITS = 30;
inline constexpr int TURN_PANEL_HEIGHT_UNITS = 28;

// The measures of the small star in pixels at `unit` pixels per unit (the
// size level s at ratio 1): a triangle of side W = 20 units and height H, a
// third of it (T) added below for the point of the other triangle, the rim's
// half width r, the centre column cx.
struct TurnStarGeometry {
    int W = 0, H = 0, T = 0, r = 0, cx = 0;
    // Rim box (cx - r, 0)-(cx + r, H + T), both ends included.
    int ellipseLeft = 0, ellipseTop = 0, ellipseRight = 0, ellipseBottom = 0;
    PixelPoint mark;                  // where the peg of the seat to move stands
    std::array<PixelPoint, 6> seeds;  // top, upper right, upper left, lower right, lower left, bottom
};
TurnStarGeometry turnStarGeometry(double unit);
PixelPoint turnMarkPos(double unit);

// The star; with a game running also the peg of `state.currentPlayer` in the
// colour of its seat in the game's copy of the players. The canvas's device
// pixel ratio r scales the drawing: level s at r is drawn as level s r.
void drawTurnPanel(QImage& canvas, int sizeUnit, const GameState& state, const Settings& settings);
void drawTurnPeg(QImage& canvas, int sizeUnit, const GameState& state, const Settings& settings);

}  // namespace vexel
