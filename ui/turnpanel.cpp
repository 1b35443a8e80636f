#include "ui/turnpanel.h"

#include "paint/drawprims.h"
#include "paint/floodfill.h"
#include "paint/pegmarks.h"

#include <QPainter>

#include <cmath>

namespace vexel {

namespace {

// Pixels per unit on `canvas`: the size level times the canvas's device pixel ratio.
double drawingUnit(const QImage& canvas, int sizeUnit) { return sizeUnit * surfaceRatio(canvas.devicePixelRatio()); }

}  // namespace

TurnStarGeometry turnStarGeometry(double unit) {
    TurnStarGeometry g;
    g.W = unitsToPixels(20, unit);
    g.cx = unitsToPixels(15, unit);
    g.H = roundHalfEven(std::sqrt(0.75 * g.W * g.W));
    g.T = roundHalfEven(g.H / 3.0);
    g.r = roundHalfEven(0.58 * g.W);
    g.ellipseLeft = g.cx - g.r;
    g.ellipseTop = 0;
    g.ellipseRight = g.cx + g.r;
    g.ellipseBottom = g.H + g.T;
    g.mark = {g.cx, g.H - g.T};

    const int half = g.W / 2;
    const int sixthW = roundHalfEven(g.W / 6.0);
    const int sixthH = roundHalfEven(g.H / 6.0);
    g.seeds = {{
        {g.cx, sixthH},
        {g.cx + half - sixthW, g.T + sixthH},
        {g.cx - half + sixthW, g.T + sixthH},
        {g.cx + half - sixthW, g.H - sixthH},
        {g.cx - half + sixthW, g.H - sixthH},
        {g.cx, roundHalfEven(7.0 * g.H / 6.0)},
    }};
    return g;
}

PixelPoint turnMarkPos(double unit) { return turnStarGeometry(unit).mark; }

void drawTurnPanel(QImage& canvas, int sizeUnit, const GameState& state, const Settings& settings) {
    const TurnStarGeometry g = turnStarGeometry(drawingUnit(canvas, sizeUnit));
    canvas.fill(SILVER);
    {
        QImage pixels = pixelView(canvas);
        QPainter painter(&pixels);
        preparePainter(painter);
        setPen(painter, BLACK);
        painter.setBrush(WHITE);
        drawEllipseBox(painter, g.ellipseLeft, g.ellipseTop, g.ellipseRight, g.ellipseBottom);
        const int half = g.W / 2;
        drawTriangle(painter, {g.cx, 0}, {g.cx - half, g.H}, {g.cx + half, g.H});
        drawTriangle(painter, {g.cx - half, g.T}, {g.cx + half, g.T}, {g.cx, g.H + g.T});
    }
    for (const PixelPoint& seed : g.seeds) floodFill(canvas, {seed.x, seed.y}, BLACK.rgb(), SILVER.rgb());

    if (state.gameRunning) drawTurnPeg(canvas, sizeUnit, state, settings);
}

void drawTurnPeg(QImage& canvas, int sizeUnit, const GameState& state, const Settings& settings) {
    const Seat seat = state.currentPlayer % SEAT_COUNT;
    const std::uint8_t colourIndex = state.players[seat].colour;
    const ColourRef colour = settings.pegColours[colourIndex % SEAT_COUNT];
    const double unit = drawingUnit(canvas, sizeUnit);
    drawMarkedPeg(canvas, unit, turnMarkPos(unit), colour, pegMarkFor(settings, colourIndex));
}

}  // namespace vexel
