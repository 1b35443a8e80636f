// The board of Vexel in pixels: where each hole sits at a size level, the empty
// star, the pegs, the coloured target rings, the inverted marks of a path and
// of the keyboard cursor, and which hole a mouse point hits.
//
// Everything is drawn at once into one surface of 200s x 178s pixels (s the
// size level); the board widget only copies it to the screen. Nothing else
// keeps a picture of the board: a peg drawn in a game saves the 8s x 8s square
// under it, so that one peg can move without a full redraw. Those squares live
// here and the peg records hold only their handles (0 names no square).
#pragma once

#include "core/gamestate.h"
#include "core/settings.h"

#include <QImage>

#include <array>
#include <cstdint>
#include <unordered_map>

namespace vexel {

struct PixelPoint {
    int x = 0;
    int y = 0;
    bool operator==(const PixelPoint&) const = default;
};

// Board measures in units of the size level.
inline constexpr int BOARD_WIDTH_UNITS = 200;
inline constexpr int BOARD_HEIGHT_UNITS = 178;

// Centre of hole c at size level s: x = s(98 + 6k) for column k, y = s(10 + 10r) for row r.
PixelPoint holeCentre(CellIndex c, int sizeUnit);

class BoardDrawing {
public:
    // Starts at size level 1, so that the surface is never empty.
    BoardDrawing(GameState& state, const Settings& settings);
    BoardDrawing(const BoardDrawing&) = delete;
    BoardDrawing& operator=(const BoardDrawing&) = delete;

    // Size level s >= 1: a fresh white surface of 200s x 178s and new hole
    // positions. Saved squares of the old level stay until their owners drop them.
    void setSizeUnit(int s);
    int sizeUnit() const { return sizeUnit_; }
    QImage& surface() { return surface_; }
    const QImage& surface() const { return surface_; }
    PixelPoint cellPos(CellIndex c) const;

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

    // Hit test over the square of half side 4s around the hole, bounds included.
    bool hitHole(int px, int py, CellIndex c) const;
    // The first hole hit in index order, NO_PEG if none.
    CellIndex holeAt(int px, int py) const;

    // Saved squares: 8s x 8s at (x - 4s, y - 4s).
    void savePegBackgroundAndDraw(PixelPoint p, ColourRef colour, std::uint32_t& slot);
    // Copies the square back and deletes it; the slot keeps its stale value.
    void restoreBackground(PixelPoint p, std::uint32_t slot);
    void deleteBackground(std::uint32_t slot);
    // Deletes the square of every peg record that has one and clears its flag.
    void releasePegBackgrounds();
    int savedSquareCount() const { return int(savedSquares_.size()); }

    // The full repaint: board, then the pegs of the game (or the idle pegs
    // outside a game), then the marks of the path being entered and the cursor.
    void repaint();

private:
    void toggleSquare(CellIndex c, int halfSide);

    GameState& state_;
    const Settings& settings_;
    int sizeUnit_ = 0;
    QImage surface_;
    std::array<PixelPoint, CELL_COUNT> cellPos_{};
    std::unordered_map<std::uint32_t, QImage> savedSquares_;
    std::uint32_t nextHandle_ = 1;
};

// A peg of radius 3s at p with its white highlight at the upper left.
void drawPeg(QImage& canvas, int sizeUnit, PixelPoint p, ColourRef colour);
// The players dialog's star on its fixed 161 x 151 surface, points in the
// colours of the playing seats of `settings.playerSettings`.
void drawBoardPreview(QImage& canvas, const Settings& settings);
// 0x00BBGGRR to a Qt colour.
QColor toQColor(ColourRef c);

}  // namespace vexel
