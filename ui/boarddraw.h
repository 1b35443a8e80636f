// The board of Vexel in pixels: where each hole sits at a size level, the empty
// star, the pegs, the coloured target rings, the inverted marks of a path and
// of the keyboard cursor, and which hole a mouse point hits.
//
// Everything is drawn at once into one surface of 200 x 178 units; the board
// widget only copies it to the screen. Positions, hit tests and the window
// stay in logical pixels, s per unit (s the size level); the surface is made
// at the screen's device pixel ratio r and drawn with s x r pixels per unit
// (the drawing unit), so that lines stay one screen pixel wide: at r = 2 the
// surface of level s holds exactly the pixels of level 2s at r = 1.
//
// Nothing else keeps a picture of the board: a peg drawn in a game saves the
// square of 8 x 8 units under it, so that one peg can move without a full
// redraw. Those squares live here and the peg records hold only their handles
// (0 names no square).
#pragma once

#include "core/gamestate.h"
#include "core/settings.h"
#include "paint/drawprims.h"
#include "paint/pegmarks.h"

#include <QImage>

#include <array>
#include <cstdint>
#include <unordered_map>

namespace vexel {

// Board measures in units of the size level.
inline constexpr int BOARD_WIDTH_UNITS = 200;
inline constexpr int BOARD_HEIGHT_UNITS = 178;

// Centre of hole c at `unit` pixels per unit: x = Round(unit(98 + 6k)) for
// column k, y = Round(unit(10 + 10r)) for row r; exact for a whole unit.
PixelPoint holeCentre(CellIndex c, double unit);

class BoardDrawing {
public:
    // Starts at size level 1, so that the surface is never empty.
    BoardDrawing(GameState& state, const Settings& settings);
    BoardDrawing(const BoardDrawing&) = delete;
    BoardDrawing& operator=(const BoardDrawing&) = delete;

    // Size level s >= 1 at device pixel ratio r (see surfaceRatio): a fresh
    // white surface of 200 x 178 units at s x r pixels each, its ratio set to
    // r, and new hole positions. Saved squares of the old level stay until
    // their owners drop them.
    void setSizeUnit(int s, double ratio = 1.0);
    int sizeUnit() const { return sizeUnit_; }
    double devicePixelRatio() const { return ratio_; }
    QImage& surface() { return surface_; }
    const QImage& surface() const { return surface_; }
    // Hole centre in logical pixels (mouse points, window layout).
    PixelPoint cellPos(CellIndex c) const;

    // Surface pixels: the drawing unit, n units in pixels, a hole's centre.
    double drawUnit() const { return unit_; }
    int px(double units) const;
    PixelPoint pixelPos(CellIndex c) const;

    // The empty board; target rings when a game runs and directions are marked.
    void drawBoard();
    void drawTargetMarkers();

    // Pegs. A seat's peg in a game saves the square under it; a hole whose
    // occupancy is empty (the peg being moved) draws nothing.
    void drawPlayerPeg(Seat seat, int peg);
    // Outside a game: the peg on hole c in the colour of its seat's settings.
    void drawIdlePeg(CellIndex c);

    // Inverted square outlines; drawing one twice restores every pixel.
    void toggleHoleMark(CellIndex c);    // half side 4s
    void toggleCursorMark(CellIndex c);  // half side 5s
    // The hint's inverted outline: a diamond of half diagonal 6s, outside the
    // squares, so that it reads as no path; every pixel of it is inverted once.
    void toggleHintMark(CellIndex c);

    // Hit test in logical pixels over the square of half side 4s around the
    // hole, bounds included.
    bool hitHole(int px, int py, CellIndex c) const;
    // The first hole hit in index order, NO_PEG if none.
    CellIndex holeAt(int px, int py) const;

    // Saved squares: 8 x 8 units at (x - 4, y - 4) units; p in surface pixels.
    // The peg carries `mark` (see pegMarkFor; None while marks are off).
    void savePegBackgroundAndDraw(PixelPoint p, ColourRef colour, std::uint32_t& slot, PegMark mark = PegMark::None);
    // Copies the square back and deletes it; the slot keeps its stale value.
    void restoreBackground(PixelPoint p, std::uint32_t slot);
    void deleteBackground(std::uint32_t slot);
    // Deletes the square of every peg record that has one and clears its flag.
    void releasePegBackgrounds();
    int savedSquareCount() const { return int(savedSquares_.size()); }

    // The full repaint: board, then the pegs of the game (or the idle pegs
    // outside a game), then the marks of the path being entered and the cursor.
    void repaint();

    // The box of surface pixels drawn since the last call (empty if none), so
    // that the screen copies only what changed: a hop changes two squares.
    QRect takeChangedRect();

private:
    void toggleSquare(CellIndex c, int halfSide);
    void changed(const QRect& pixels) { changed_ |= pixels; }
    void changedAll() { changed_ = surface_.rect(); }
    QRect squareAround(PixelPoint p, int halfSide) const;

    GameState& state_;
    const Settings& settings_;
    int sizeUnit_ = 0;
    double ratio_ = 1.0;
    double unit_ = 1.0;
    QImage surface_;
    std::array<PixelPoint, CELL_COUNT> cellPos_{};
    std::array<PixelPoint, CELL_COUNT> pixelPos_{};
    QRect changed_;
    std::unordered_map<std::uint32_t, QImage> savedSquares_;
    std::uint32_t nextHandle_ = 1;
};

}  // namespace vexel
