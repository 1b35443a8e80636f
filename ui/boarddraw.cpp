#include "ui/boarddraw.h"

#include "core/board.h"
#include "paint/drawprims.h"
#include "paint/floodfill.h"
#include "paint/pegmarks.h"

#include <QPainter>

#include <algorithm>

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

PixelPoint holeCentre(CellIndex c, double unit) {
    const CellCoord coord = cellCoord(c);
    return {unitsToPixels(98 + 6 * coord.x, unit), unitsToPixels(10 + 10 * coord.row, unit)};
}

BoardDrawing::BoardDrawing(GameState& state, const Settings& settings) : state_(state), settings_(settings) {
    setSizeUnit(1);
}

void BoardDrawing::setSizeUnit(int s, double ratio) {
    sizeUnit_ = std::max(1, s);
    ratio_ = surfaceRatio(ratio);
    unit_ = sizeUnit_ * ratio_;
    surface_ = makeSurface(BOARD_WIDTH_UNITS, BOARD_HEIGHT_UNITS, sizeUnit_, ratio_);
    changedAll();
    for (int c = 0; c < CELL_COUNT; ++c) {
        cellPos_[c] = holeCentre(CellIndex(c), sizeUnit_);
        pixelPos_[c] = holeCentre(CellIndex(c), unit_);
    }
}

PixelPoint BoardDrawing::cellPos(CellIndex c) const { return validCell(c) ? cellPos_[c] : PixelPoint{}; }

PixelPoint BoardDrawing::pixelPos(CellIndex c) const { return validCell(c) ? pixelPos_[c] : PixelPoint{}; }

int BoardDrawing::px(double units) const { return unitsToPixels(units, unit_); }

QRect BoardDrawing::squareAround(PixelPoint p, int halfSide) const {
    return boxRect(p.x - halfSide, p.y - halfSide, p.x + halfSide + 1, p.y + halfSide + 1);
}

QRect BoardDrawing::takeChangedRect() {
    const QRect r = changed_ & surface_.rect();
    changed_ = QRect();
    return r;
}

void BoardDrawing::drawBoard() {
    const PixelPoint top = pixelPos_[0];
    const PixelPoint centre = pixelPos_[CENTRE_CELL];
    const PixelPoint bottom = pixelPos_[120];
    // Corners of the triangles and fill seeds: points of the board in units.
    auto at = [this](int xUnits, int yUnits) { return QPoint(px(xUnits), px(yUnits)); };
    QImage pixels = pixelView(surface_);
    {
        QPainter painter(&pixels);
        preparePainter(painter);

        setPen(painter, WHITE);
        painter.setBrush(WHITE);
        drawRectBox(painter, px(23), px(7), px(173), px(173));

        // The rim: 5 % wider than high, so the star's side points keep a margin.
        const int w = roundHalfEven(1.05 * (centre.y - top.y));
        setPen(painter, BLACK);
        painter.setBrush(SILVER);
        drawEllipseBox(painter, top.x - w, top.y, top.x + w, bottom.y);

        // The two triangles pass through the outermost holes of the six points.
        drawTriangle(painter, at(98, 10), at(26, 130), at(170, 130));
        drawTriangle(painter, at(26, 50), at(170, 50), at(98, 170));
    }

    // Opposite points share a colour; these do not follow the players' colours.
    const QRgb black = opaque(BLACK);
    floodFill(surface_, at(98, 90), black, opaque(WHITE));
    floodFill(surface_, at(98, 22), black, opaque(GREEN));
    floodFill(surface_, at(98, 160), black, opaque(GREEN));
    floodFill(surface_, at(158, 60), black, opaque(RED));
    floodFill(surface_, at(38, 120), black, opaque(RED));
    floodFill(surface_, at(38, 60), black, opaque(BLUE));
    floodFill(surface_, at(158, 120), black, opaque(BLUE));

    {
        QPainter painter(&pixels);
        preparePainter(painter);
        setPen(painter, BLACK);
        painter.setBrush(BLACK);
        for (const PixelPoint& p : pixelPos_) drawCircle(painter, p.x, p.y, px(2));

        // Directions 0..2 only, so that every link is drawn once.
        for (int c = 0; c < CELL_COUNT; ++c) {
            for (int d = UpRight; d <= DownRight; ++d) {
                const CellIndex n = NEIGHBOURS[c][d];
                if (n == NO_PEG) continue;
                painter.drawLine(pixelPos_[c].x, pixelPos_[c].y, pixelPos_[n].x, pixelPos_[n].y);
            }
        }
    }

    if (state_.gameRunning && settings_.markDirection) drawTargetMarkers();
    changedAll();
}

void BoardDrawing::drawTargetMarkers() {
    QImage pixels = pixelView(surface_);
    QPainter painter(&pixels);
    preparePainter(painter);
    painter.setBrush(BLACK);
    for (int p = 0; p < SEAT_COUNT; ++p) {
        const PlayerSlot& player = state_.players[p];
        if (!player.plays()) continue;
        setPen(painter, toQColor(pegColour(settings_, player.colour)));
        const auto& target = START_CELLS[OPPOSITE_SEAT[p]];
        for (int k = 0; k < pegsInUse(state_); ++k) {
            const PixelPoint c = pixelPos_[target[k]];
            drawCircle(painter, c.x, c.y, px(1));
        }
    }
    changedAll();
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
    const std::uint8_t colour = state_.players[seat].colour;
    savePegBackgroundAndDraw(pixelPos_[c], pegColour(settings_, colour), record.background, pegMarkFor(settings_, colour));
    record.hasBackground = true;
}

void BoardDrawing::drawIdlePeg(CellIndex c) {
    if (!validCell(c)) return;
    const CellIndex owner = state_.occupancy[c];
    if (owner >= SEAT_COUNT) return;
    const std::uint8_t colour = settings_.playerSettings[owner].colour;
    drawMarkedPeg(surface_, unit_, pixelPos_[c], pegColour(settings_, colour), pegMarkFor(settings_, colour));
    changed(squareAround(pixelPos_[c], px(4)));
}

void BoardDrawing::toggleSquare(CellIndex c, int halfSide) {
    if (!validCell(c)) return;
    const PixelPoint p = pixelPos_[c];
    QImage pixels = pixelView(surface_);
    QPainter painter(&pixels);
    preparePainter(painter);
    // Every pixel under the pen takes its inverse; the outline of a drawRect
    // visits each pixel once (corners included), so twice is the identity.
    painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    setPen(painter, BLACK);
    painter.setBrush(Qt::NoBrush);
    drawRectBox(painter, p.x - halfSide, p.y - halfSide, p.x + halfSide, p.y + halfSide);
    changed(squareAround(p, halfSide));
}

void BoardDrawing::toggleHoleMark(CellIndex c) { toggleSquare(c, px(4)); }

void BoardDrawing::toggleCursorMark(CellIndex c) { toggleSquare(c, px(5)); }

void BoardDrawing::toggleHintMark(CellIndex c) {
    if (!validCell(c)) return;
    const PixelPoint p = pixelPos_[c];
    const int r = px(6);
    const auto invert = [this](int x, int y) {
        if (x < 0 || y < 0 || x >= surface_.width() || y >= surface_.height()) return;
        auto* line = reinterpret_cast<QRgb*>(surface_.scanLine(y));
        line[x] ^= 0x00FFFFFF;
    };
    // The four sides walk clockwise from the top, each starting at its own
    // corner, so that no pixel is visited twice.
    for (int i = 0; i < r; ++i) {
        invert(p.x + i, p.y - r + i);
        invert(p.x + r - i, p.y + i);
        invert(p.x - i, p.y + r - i);
        invert(p.x - r + i, p.y - i);
    }
    changed(squareAround(p, r));
}

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

void BoardDrawing::savePegBackgroundAndDraw(PixelPoint p, ColourRef colour, std::uint32_t& slot, PegMark mark) {
    const int h = px(4);
    // Parts of the square outside the surface come back as nothing on restore.
    const std::uint32_t handle = nextHandle_++;
    if (nextHandle_ == 0) nextHandle_ = 1;
    // Taken from the pixel view, so that the square is plain pixels too.
    savedSquares_[handle] = pixelView(surface_).copy(p.x - h, p.y - h, 2 * h, 2 * h);
    slot = handle;
    drawMarkedPeg(surface_, unit_, p, colour, mark);
    changed(squareAround(p, h));
}

void BoardDrawing::restoreBackground(PixelPoint p, std::uint32_t slot) {
    const auto found = savedSquares_.find(slot);
    if (found == savedSquares_.end()) return;
    const int h = px(4);
    {
        QImage pixels = pixelView(surface_);
        QPainter painter(&pixels);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QPoint(p.x - h, p.y - h), found->second);
    }
    changed(squareAround(p, h));
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
    changedAll();
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
