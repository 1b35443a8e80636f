#include "ui/boarddraw.h"

#include "core/board.h"
#include "ui/drawprims.h"
#include "ui/floodfill.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vexel {

namespace {

QRgb opaque(const QColor& c) { return c.rgb(); }

// Colour indices come from seat records that a foreign settings file may have
// filled: one past the six colours wraps round instead of reading past the table.
ColourRef pegColour(const Settings& settings, std::uint8_t colourIndex) {
    return settings.pegColours[colourIndex % SEAT_COUNT];
}

int pegsInUse(const GameState& state) { return std::min<int>(state.pegsPerPlayer, MAX_PEGS); }

bool validCell(CellIndex c) { return c < CELL_COUNT; }

}  // namespace

PixelPoint holeCentre(CellIndex c, int sizeUnit) {
    const CellCoord coord = cellCoord(c);
    return {sizeUnit * (98 + 6 * coord.x), sizeUnit * (10 + 10 * coord.row)};
}

BoardDrawing::BoardDrawing(GameState& state, const Settings& settings) : state_(state), settings_(settings) {
    setSizeUnit(1);
}

void BoardDrawing::setSizeUnit(int s) {
    sizeUnit_ = std::max(1, s);
    surface_ = QImage(BOARD_WIDTH_UNITS * sizeUnit_, BOARD_HEIGHT_UNITS * sizeUnit_, QImage::Format_RGB32);
    surface_.fill(WHITE);
    for (int c = 0; c < CELL_COUNT; ++c) cellPos_[c] = holeCentre(CellIndex(c), sizeUnit_);
}

PixelPoint BoardDrawing::cellPos(CellIndex c) const { return validCell(c) ? cellPos_[c] : PixelPoint{}; }

void BoardDrawing::drawBoard() {
    const int s = sizeUnit_;
    const PixelPoint top = cellPos_[0];
    const PixelPoint centre = cellPos_[CENTRE_CELL];
    const PixelPoint bottom = cellPos_[120];
    {
        QPainter painter(&surface_);
        preparePainter(painter);

        setPen(painter, WHITE);
        painter.setBrush(WHITE);
        drawRectBox(painter, 23 * s, 7 * s, 173 * s, 173 * s);

        // The rim: 5 % wider than high, so the star's side points keep a margin.
        const int w = roundHalfEven(1.05 * (centre.y - top.y));
        setPen(painter, BLACK);
        painter.setBrush(SILVER);
        drawEllipseBox(painter, top.x - w, top.y, top.x + w, bottom.y);

        // The two triangles pass through the outermost holes of the six points.
        drawTriangle(painter, {98 * s, 10 * s}, {26 * s, 130 * s}, {170 * s, 130 * s});
        drawTriangle(painter, {26 * s, 50 * s}, {170 * s, 50 * s}, {98 * s, 170 * s});
    }

    // Opposite points share a colour; these do not follow the players' colours.
    const QRgb black = opaque(BLACK);
    floodFill(surface_, {98 * s, 90 * s}, black, opaque(WHITE));
    floodFill(surface_, {98 * s, 22 * s}, black, opaque(GREEN));
    floodFill(surface_, {98 * s, 160 * s}, black, opaque(GREEN));
    floodFill(surface_, {158 * s, 60 * s}, black, opaque(RED));
    floodFill(surface_, {38 * s, 120 * s}, black, opaque(RED));
    floodFill(surface_, {38 * s, 60 * s}, black, opaque(BLUE));
    floodFill(surface_, {158 * s, 120 * s}, black, opaque(BLUE));

    {
        QPainter painter(&surface_);
        preparePainter(painter);
        setPen(painter, BLACK);
        painter.setBrush(BLACK);
        for (const PixelPoint& p : cellPos_) drawCircle(painter, p.x, p.y, 2 * s);

        // Directions 0..2 only, so that every link is drawn once.
        for (int c = 0; c < CELL_COUNT; ++c) {
            for (int d = UpRight; d <= DownRight; ++d) {
                const CellIndex n = NEIGHBOURS[c][d];
                if (n == NO_PEG) continue;
                painter.drawLine(cellPos_[c].x, cellPos_[c].y, cellPos_[n].x, cellPos_[n].y);
            }
        }
    }

    if (state_.gameRunning && settings_.markDirection) drawTargetMarkers();
}

void BoardDrawing::drawTargetMarkers() {
    const int s = sizeUnit_;
    QPainter painter(&surface_);
    preparePainter(painter);
    painter.setBrush(BLACK);
    for (int p = 0; p < SEAT_COUNT; ++p) {
        const PlayerSlot& player = state_.players[p];
        if (!player.plays()) continue;
        setPen(painter, toQColor(pegColour(settings_, player.colour)));
        const auto& target = START_CELLS[OPPOSITE_SEAT[p]];
        for (int k = 0; k < pegsInUse(state_); ++k) {
            const PixelPoint c = cellPos_[target[k]];
            drawCircle(painter, c.x, c.y, s);
        }
    }
}

void drawPeg(QImage& canvas, int sizeUnit, PixelPoint p, ColourRef colour) {
    const int s = sizeUnit;
    QPainter painter(&canvas);
    preparePainter(painter);
    setPen(painter, BLACK);
    painter.setBrush(toQColor(colour));
    drawCircle(painter, p.x, p.y, 3 * s);

    // Highlight: counter-clockwise from the ray through (-Round(2s tan 30deg), 2s)
    // (y up) to the leftmost point of the inner circle.
    const int dx = roundHalfEven(2 * s * 0.57735);
    const double startDegrees = std::atan2(2.0 * s, -double(dx)) * 180.0 / std::numbers::pi;
    const int start = roundHalfEven(startDegrees * 16);
    const int span = 180 * 16 - start;
    setPen(painter, WHITE);
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(boxRect(p.x - 2 * s, p.y - 2 * s, p.x + 2 * s, p.y + 2 * s), start, span);
}

void BoardDrawing::drawPlayerPeg(Seat seat, int peg) {
    if (seat >= SEAT_COUNT || peg < 0 || peg >= MAX_PEGS) return;
    PegRecord& record = state_.pegs[seat][peg];
    const CellIndex c = record.cell;
    if (!validCell(c) || state_.occupancy[c] == NO_PEG) return;
    if (record.hasBackground) {
        deleteBackground(record.background);
        record.hasBackground = false;
    }
    savePegBackgroundAndDraw(cellPos_[c], pegColour(settings_, state_.players[seat].colour), record.background);
    record.hasBackground = true;
}

void BoardDrawing::drawIdlePeg(CellIndex c) {
    if (!validCell(c)) return;
    const CellIndex owner = state_.occupancy[c];
    if (owner >= SEAT_COUNT) return;
    drawPeg(surface_, sizeUnit_, cellPos_[c], pegColour(settings_, settings_.playerSettings[owner].colour));
}

void BoardDrawing::toggleSquare(CellIndex c, int halfSide) {
    if (!validCell(c)) return;
    const PixelPoint p = cellPos_[c];
    QPainter painter(&surface_);
    preparePainter(painter);
    // Every pixel under the pen takes its inverse; the outline of a drawRect
    // visits each pixel once (corners included), so twice is the identity.
    painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    setPen(painter, BLACK);
    painter.setBrush(Qt::NoBrush);
    drawRectBox(painter, p.x - halfSide, p.y - halfSide, p.x + halfSide, p.y + halfSide);
}

void BoardDrawing::toggleHoleMark(CellIndex c) { toggleSquare(c, 4 * sizeUnit_); }

void BoardDrawing::toggleCursorMark(CellIndex c) { toggleSquare(c, 5 * sizeUnit_); }

bool BoardDrawing::hitHole(int px, int py, CellIndex c) const {
    if (!validCell(c)) return false;
    const PixelPoint p = cellPos_[c];
    const int h = 4 * sizeUnit_;
    return p.x - h <= px && px <= p.x + h && p.y - h <= py && py <= p.y + h;
}

CellIndex BoardDrawing::holeAt(int px, int py) const {
    for (int c = 0; c < CELL_COUNT; ++c) {
        if (hitHole(px, py, CellIndex(c))) return CellIndex(c);
    }
    return NO_PEG;
}

void BoardDrawing::savePegBackgroundAndDraw(PixelPoint p, ColourRef colour, std::uint32_t& slot) {
    const int h = 4 * sizeUnit_;
    // Parts of the square outside the surface come back as nothing on restore.
    const std::uint32_t handle = nextHandle_++;
    if (nextHandle_ == 0) nextHandle_ = 1;
    savedSquares_[handle] = surface_.copy(p.x - h, p.y - h, 2 * h, 2 * h);
    slot = handle;
    drawPeg(surface_, sizeUnit_, p, colour);
}

void BoardDrawing::restoreBackground(PixelPoint p, std::uint32_t slot) {
    const auto found = savedSquares_.find(slot);
    if (found == savedSquares_.end()) return;
    const int h = 4 * sizeUnit_;
    {
        QPainter painter(&surface_);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QPoint(p.x - h, p.y - h), found->second);
    }
    savedSquares_.erase(found);
}

void BoardDrawing::deleteBackground(std::uint32_t slot) { savedSquares_.erase(slot); }

void BoardDrawing::releasePegBackgrounds() {
    for (auto& seatPegs : state_.pegs) {
        for (PegRecord& record : seatPegs) {
            if (!record.hasBackground) continue;
            deleteBackground(record.background);
            record.hasBackground = false;
        }
    }
}

void BoardDrawing::repaint() {
    // A system paint starts on the window's erased background, so marks left
    // outside the board's white rectangle vanish too.
    surface_.fill(WHITE);
    drawBoard();
    if (!state_.gameRunning) {
        for (int c = 0; c < CELL_COUNT; ++c) drawIdlePeg(CellIndex(c));
        return;
    }
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        if (!state_.players[seat].plays()) continue;
        for (int k = 0; k < pegsInUse(state_); ++k) drawPlayerPeg(Seat(seat), k);
    }
    if (state_.movePathLength > 0 && !state_.moveInProgress) {
        const int entries = std::min<int>(state_.movePathLength, MAX_PATH);
        for (int i = 0; i < entries; ++i) toggleHoleMark(state_.movePath[i].cell);
    }
    if (state_.keyboardCursorShown && state_.currentPlayer < SEAT_COUNT) {
        toggleCursorMark(state_.keyboardCursor[state_.currentPlayer]);
    }
}

}  // namespace vexel
