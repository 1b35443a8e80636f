// Pixels of the board surface, read back after drawing: hole positions, the
// star's colours, pegs, target rings, marks, saved squares, hit squares, the
// preview star and the flood fill that colours them; the same pixels at a
// device pixel ratio, what the board widget copies to the screen, and the
// marks on the pegs.
#include "core/board.h"
#include "paint/drawprims.h"
#include "paint/floodfill.h"
#include "paint/pegmarks.h"
#include "paint/preview.h"
#include "ui/boarddraw.h"
#include "ui/boardwidget.h"
#include "ui/turnpanel.h"

#include <QPaintEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <queue>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace vexel {
namespace {

constexpr QRgb BLACK_RGB = 0x000000, WHITE_RGB = 0xFFFFFF, SILVER_RGB = 0xC0C0C0;
constexpr QRgb GREEN_RGB = 0x008000, RED_RGB = 0xFF0000, BLUE_RGB = 0x0000FF;

QRgb rgbAt(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }
QRgb rgbAt(const QImage& image, PixelPoint p) { return rgbAt(image, p.x, p.y); }
QRgb rgbOf(ColourRef c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

std::set<std::pair<int, int>> changedPixels(const QImage& a, const QImage& b) {
    std::set<std::pair<int, int>> changed;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) changed.insert({x, y});
    return changed;
}

// Smallest box holding every pixel that is not `background`.
QRect boundsOfNot(const QImage& image, QRgb background) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (rgbAt(image, x, y) != background) box |= QRect(x, y, 1, 1);
    return box;
}

// A running game as a new game sets it up: the playing seats' pegs on their start holes.
void placeGame(GameState& state, const PlayerSlots& players, int pegs) {
    state = GameState();
    state.gameRunning = true;
    state.players = players;
    state.pegsPerPlayer = std::uint8_t(pegs);
    for (int p = 0; p < SEAT_COUNT; ++p)
        for (int k = 0; players[p].plays() && k < pegs; ++k) {
            state.pegs[p][k].cell = START_CELLS[p][k];
            state.occupancy[START_CELLS[p][k]] = Seat(p);
        }
}

// The picture before the first game: rings of seats 3 and 2 round the centre.
void placeTitlePicture(GameState& state) {
    for (int c : {28, 29, 42, 53, 72, 82, 92, 91, 78, 67, 48, 38}) state.occupancy[c] = 3;
    for (int c : {1, 2, 20, 33, 96, 108, 119, 118, 100, 87, 24, 12, 60}) state.occupancy[c] = 2;
}

struct Board {
    GameState state;
    Settings settings;
    BoardDrawing drawing{state, settings};
    explicit Board(int s) { drawing.setSizeUnit(s); }
    const QImage& image() const { return drawing.surface(); }
    PixelPoint at(int cell) const { return drawing.cellPos(CellIndex(cell)); }
};

class BoardAtEverySize : public ::testing::TestWithParam<int> {};
INSTANTIATE_TEST_SUITE_P(Levels, BoardAtEverySize, ::testing::Values(1, 2, 3, 4, 5));

TEST_P(BoardAtEverySize, SurfaceAndHoleCentres) {
    const int s = GetParam();
    Board b(s);
    EXPECT_EQ(b.image().size(), QSize(200 * s, 178 * s));
    EXPECT_EQ(b.image().format(), QImage::Format_RGB32);
    EXPECT_TRUE(boundsOfNot(b.image(), WHITE_RGB).isNull());
    struct Known { int cell, x, y; };
    for (const Known k : {Known{0, 98, 10}, Known{10, 26, 50}, Known{22, 170, 50}, Known{60, 98, 90}, Known{120, 98, 170}})
        EXPECT_EQ(b.at(k.cell), (PixelPoint{k.x * s, k.y * s})) << "hole " << k.cell;
    // Every link of the neighbour table is 12s long in a row, (6s, 10s) between rows.
    for (int c = 0; c < CELL_COUNT; ++c) {
        struct Step { Direction d; int dx, dy; };
        for (const Step step : {Step{Right, 12, 0}, Step{DownRight, 6, 10}, Step{DownLeft, -6, 10}}) {
            const CellIndex n = NEIGHBOURS[c][step.d];
            if (n == NO_PEG) continue;
            EXPECT_EQ(b.at(n), (PixelPoint{b.at(c).x + step.dx * s, b.at(c).y + step.dy * s})) << c;
        }
    }
}

TEST(BoardGeometry, LevelBelowOneIsTakenAsOne) {
    Board b(0);
    EXPECT_EQ(b.drawing.sizeUnit(), 1);
    EXPECT_EQ(b.image().size(), QSize(200, 178));
}

TEST_P(BoardAtEverySize, RimSpansItsBoxInclusive) {
    const int s = GetParam();
    Board b(s);
    b.drawing.drawBoard();
    // The rim decides the width; the top and bottom holes (radius 2s) the height.
    EXPECT_EQ(boundsOfNot(b.image(), WHITE_RGB), QRect(QPoint(14 * s, 8 * s), QPoint(182 * s, 172 * s)));
    EXPECT_EQ(rgbAt(b.image(), 14 * s, 90 * s), BLACK_RGB);
    EXPECT_EQ(rgbAt(b.image(), 182 * s, 90 * s), BLACK_RGB);
    // Beside the top and bottom holes the rim itself reaches 10s and 170s.
    EXPECT_EQ(rgbAt(b.image(), 101 * s, 10 * s - 1), WHITE_RGB);
    EXPECT_NE(rgbAt(b.image(), 101 * s, 10 * s), WHITE_RGB);
    EXPECT_NE(rgbAt(b.image(), 101 * s, 170 * s), WHITE_RGB);
    EXPECT_EQ(rgbAt(b.image(), 101 * s, 170 * s + 1), WHITE_RGB);
}

TEST_P(BoardAtEverySize, PointsRimAndCentreCarryTheirFixedColours) {
    const int s = GetParam();
    Board b(s);
    b.drawing.drawBoard();
    struct Probe { int x, y; QRgb colour; const char* where; };
    // Inside small triangles of holes, clear of the lines drawn over the fills.
    for (const Probe& p : {Probe{98, 22, GREEN_RGB, "top"}, Probe{98, 158, GREEN_RGB, "bottom"},
                           Probe{152, 53, RED_RGB, "upper right"}, Probe{44, 127, RED_RGB, "lower left"},
                           Probe{44, 53, BLUE_RGB, "upper left"}, Probe{152, 127, BLUE_RGB, "lower right"},
                           Probe{98, 85, WHITE_RGB, "centre"}, Probe{50, 40, SILVER_RGB, "rim upper left"},
                           Probe{146, 140, SILVER_RGB, "rim lower right"}, Probe{20, 90, SILVER_RGB, "rim left of the rectangle"},
                           Probe{90, 172, WHITE_RGB, "below the rim"}})
        EXPECT_EQ(rgbAt(b.image(), p.x * s, p.y * s), p.colour) << p.where;
}

TEST_P(BoardAtEverySize, HolesAreDiscsOfRadiusTwoUnitsJoinedByEveryLink) {
    const int s = GetParam();
    Board b(s);
    b.drawing.drawBoard();
    int links = 0;
    for (int c = 0; c < CELL_COUNT; ++c) {
        const PixelPoint p = b.at(c);
        for (const PixelPoint q : {p, PixelPoint{p.x - 2 * s, p.y}, PixelPoint{p.x + 2 * s, p.y}, PixelPoint{p.x, p.y - 2 * s},
                                   PixelPoint{p.x, p.y + 2 * s}})
            EXPECT_EQ(rgbAt(b.image(), q), BLACK_RGB) << "hole " << c;
        EXPECT_NE(rgbAt(b.image(), p.x, p.y + 2 * s + 1), BLACK_RGB) << "hole " << c;  // no line runs straight down
        for (int d = 0; d < DIRECTION_COUNT; ++d) {
            const CellIndex n = NEIGHBOURS[c][d];
            if (n == NO_PEG) continue;
            EXPECT_EQ(rgbAt(b.image(), (p.x + b.at(n).x) / 2, (p.y + b.at(n).y) / 2), BLACK_RGB) << c << " to " << int(n);
            ++links;
        }
    }
    EXPECT_EQ(links, 2 * 312);  // the hexagon's 156 links and 26 for each point
}

// Seat whose ring shows on each hole, -1 for none. The ring's right-hand
// pixel lies inside the black hole, so it stays black without a ring.
std::vector<int> ringOwners(const Board& b) {
    std::vector<int> owners(CELL_COUNT, -1);
    for (int c = 0; c < CELL_COUNT; ++c) {
        const QRgb right = rgbAt(b.image(), b.at(c).x + b.drawing.sizeUnit(), b.at(c).y);
        for (int seat = 0; seat < SEAT_COUNT && right != BLACK_RGB; ++seat)
            if (right == rgbOf(b.settings.pegColours[b.state.players[seat].colour % 6])) owners[c] = seat;
        EXPECT_TRUE(right == BLACK_RGB || owners[c] >= 0) << "hole " << c << " shows a colour of no seat";
    }
    return owners;
}

TEST_P(BoardAtEverySize, EachPlayingSeatGetsTenRingsOnItsTarget) {
    const int s = GetParam();
    Board b(s);
    PlayerSlots players = DEFAULT_PLAYERS;
    players[4].kind = PlayerKind::NotPlaying;
    placeGame(b.state, players, 10);
    b.drawing.drawBoard();
    const std::vector<int> owners = ringOwners(b);
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        std::set<int> expected, found;
        for (int k = 0; players[seat].plays() && k < 10; ++k) expected.insert(START_CELLS[OPPOSITE_SEAT[seat]][k]);
        for (int c = 0; c < CELL_COUNT; ++c)
            if (owners[c] == seat) found.insert(c);
        EXPECT_EQ(found, expected) << "seat " << seat;
    }
    // A ring: a circle of radius s in the seat's colour, filled black.
    const PixelPoint t = b.at(START_CELLS[3][0]);
    for (const PixelPoint q : {PixelPoint{t.x - s, t.y}, PixelPoint{t.x, t.y - s}, PixelPoint{t.x, t.y + s}})
        EXPECT_EQ(rgbAt(b.image(), q), rgbOf(b.settings.pegColours[0]));
    EXPECT_EQ(rgbAt(b.image(), t), BLACK_RGB);
    EXPECT_EQ(rgbAt(b.image(), t.x + s + 1, t.y), BLACK_RGB);
}

TEST(TargetRings, OnlyWithAGameRunningAndDirectionsMarked) {
    for (bool running : {false, true}) {
        for (bool marked : {false, true}) {
            Board b(2);
            placeGame(b.state, DEFAULT_PLAYERS, 10);
            b.state.gameRunning = running;
            b.settings.markDirection = marked;
            b.drawing.drawBoard();
            const std::vector<int> owners = ringOwners(b);
            EXPECT_EQ(std::count_if(owners.begin(), owners.end(), [](int o) { return o >= 0; }), running && marked ? 60 : 0);
        }
    }
}

TEST(TargetRings, SharedCornerOfFifteenPegTargetsShowsTheLaterSeat) {
    Board b(3);
    PlayerSlots players = DEFAULT_PLAYERS;
    for (int seat : {2, 3, 4, 5}) players[seat].kind = PlayerKind::NotPlaying;
    placeGame(b.state, players, 15);
    b.drawing.drawBoard();
    const std::vector<int> owners = ringOwners(b);
    EXPECT_EQ(owners[102], 1);  // last of seat 0's target, first border hole of seat 1's
    EXPECT_EQ(std::count(owners.begin(), owners.end(), 0), 14);
    EXPECT_EQ(std::count(owners.begin(), owners.end(), 1), 15);
}

TEST_P(BoardAtEverySize, PegIsADiscOfRadiusThreeUnitsWithAHighlightUpLeft) {
    const int s = GetParam();
    QImage canvas(40 * s, 40 * s, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    const PixelPoint p{20 * s, 20 * s};
    drawPeg(canvas, s, p, 0x00FF00FF);
    EXPECT_EQ(rgbAt(canvas, p), 0xFF00FFu);
    EXPECT_EQ(boundsOfNot(canvas, WHITE_RGB), QRect(QPoint(p.x - 3 * s, p.y - 3 * s), QPoint(p.x + 3 * s, p.y + 3 * s)));
    EXPECT_EQ(rgbAt(canvas, p.x - 3 * s, p.y), BLACK_RGB);
    EXPECT_EQ(rgbAt(canvas, p.x, p.y + 3 * s), BLACK_RGB);
    // The highlight ends at the inner circle's leftmost point; the right side is plain.
    EXPECT_EQ(rgbAt(canvas, p.x - 2 * s, p.y), WHITE_RGB);
    EXPECT_EQ(rgbAt(canvas, p.x + 2 * s, p.y), 0xFF00FFu);
    // White inside the black rim is the highlight; white outside reaches the corner.
    const FillRegion outside = floodRegion(canvas, QPoint(0, 0), qRgb(0, 0, 0));
    int highlight = 0;
    for (int y = p.y - 3 * s; y <= p.y + 3 * s; ++y)
        for (int x = p.x - 3 * s; x <= p.x + 3 * s; ++x)
            if (rgbAt(canvas, x, y) == WHITE_RGB && !outside.contains(x, y)) {
                ++highlight;
                EXPECT_TRUE(x <= p.x && y <= p.y) << "highlight at " << x - p.x << "," << y - p.y;
            }
    EXPECT_GE(highlight, 2 * s);
}

// The 3 x 3 pixels round a peg's centre as a picture: X the mark's ink, . the peg.
std::string markPattern(const QImage& image, PixelPoint p, QRgb ink) {
    std::string rows;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) rows += rgbAt(image, p.x + dx, p.y + dy) == ink ? 'X' : '.';
        if (dy < 1) rows += '/';
    }
    return rows;
}

struct MarkCase {
    PegMark mark;
    const char* pattern;  // rows top to bottom
    ColourRef colour;     // the default colour of that index
    QRgb ink;
};
// At the smallest size every mark is a 3 x 3 picture of its own, drawn in black
// on the light default colours and in white on the blue.
const MarkCase MARK_CASES[] = {
    {PegMark::Dot, ".../.X./...", 0x0000FF00, BLACK_RGB},
    {PegMark::Ring, ".X./X.X/.X.", 0x00FF0000, WHITE_RGB},
    {PegMark::Cross, "X.X/.X./X.X", 0x0000FFFF, BLACK_RGB},
    {PegMark::Bar, ".../XXX/...", 0x000000FF, BLACK_RGB},
    {PegMark::Triangle, ".X./.X./XXX", 0x00FF00FF, BLACK_RGB},
    {PegMark::Square, "XXX/X.X/XXX", 0x00FFFF00, BLACK_RGB},
};

TEST(PegMarks, EachMarkIsItsOwnPictureAtTheSmallestSize) {
    std::vector<std::string> seen;
    for (const MarkCase& c : MARK_CASES) {
        QImage canvas(20, 20, QImage::Format_RGB32);
        canvas.fill(Qt::white);
        drawMarkedPeg(canvas, 1, {10, 10}, c.colour, c.mark);
        EXPECT_EQ(markPattern(canvas, {10, 10}, c.ink), c.pattern) << int(c.mark);
        // Nothing but the mark's ink and the peg's colour inside the square.
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                EXPECT_TRUE(rgbAt(canvas, 10 + dx, 10 + dy) == c.ink || rgbAt(canvas, 10 + dx, 10 + dy) == rgbOf(c.colour));
        seen.push_back(c.pattern);
    }
    // Any two differ in at least two pixels, so that no stray pixel turns one into another.
    for (std::size_t i = 0; i < seen.size(); ++i)
        for (std::size_t j = i + 1; j < seen.size(); ++j) {
            int differing = 0;
            for (std::size_t k = 0; k < seen[i].size(); ++k) differing += seen[i][k] != seen[j][k];
            EXPECT_GE(differing, 2) << i << " and " << j;
        }
}

// With the option on the board, the hopping peg and the turn panel's peg carry
// the mark of their colour index, the game's copy of the seats deciding; at a
// device pixel ratio of 2 the marks are those of the doubled level.
TEST(PegMarks, BoardHopAndTurnPanelCarryTheColoursMark) {
    Board b(1);
    b.settings.pegMarks = true;
    placeGame(b.state, DEFAULT_PLAYERS, 10);
    b.state.players[1].colour = 3;
    b.drawing.repaint();
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        const MarkCase& c = MARK_CASES[b.state.players[seat].colour];
        EXPECT_EQ(markPattern(b.image(), b.at(START_CELLS[seat][4]), c.ink), c.pattern) << "seat " << seat;
    }
    std::uint32_t slot = 0;
    b.drawing.savePegBackgroundAndDraw({50, 60}, MARK_CASES[5].colour, slot, PegMark::Square);
    EXPECT_EQ(markPattern(b.image(), {50, 60}, BLACK_RGB), MARK_CASES[5].pattern);

    b.state.currentPlayer = 1;
    QImage star(TURN_PANEL_WIDTH_UNITS, TURN_PANEL_HEIGHT_UNITS, QImage::Format_RGB32);
    drawTurnPanel(star, 1, b.state, b.settings);
    EXPECT_EQ(markPattern(star, turnMarkPos(1), BLACK_RGB), MARK_CASES[3].pattern);

    Board dense(5), plain(10);
    dense.drawing.setSizeUnit(5, 2.0);
    for (Board* d : {&dense, &plain}) {
        d->settings.pegMarks = true;
        placeGame(d->state, DEFAULT_PLAYERS, 10);
        d->drawing.repaint();
    }
    EXPECT_TRUE(pixelView(dense.drawing.surface()) == plain.image());
}

TEST(BoardPegs, PlayerPegTakesTheGamesColourAndKeepsOneSquare) {
    Board b(2);
    placeGame(b.state, DEFAULT_PLAYERS, 10);
    b.state.players[0].colour = 3;  // the game's copy rules, not the settings
    b.drawing.drawBoard();
    const PegRecord& r = b.state.pegs[0][4];
    b.drawing.drawPlayerPeg(0, 4);
    EXPECT_TRUE(r.hasBackground);
    EXPECT_EQ(rgbAt(b.image(), b.at(r.cell)), RED_RGB);
    const std::uint32_t first = r.background;
    b.drawing.drawPlayerPeg(0, 4);  // drops the old square before taking a new one
    EXPECT_EQ(b.drawing.savedSquareCount(), 1);
    EXPECT_NE(r.background, first);
}

TEST(BoardPegs, NothingDrawnForAnEmptiedHoleOrIndicesOutOfRange) {
    Board b(3);
    placeGame(b.state, DEFAULT_PLAYERS, 10);
    b.drawing.drawBoard();
    b.state.occupancy[b.state.pegs[1][2].cell] = NO_PEG;  // the peg being moved
    b.state.pegs[2][3].cell = 200;
    b.state.occupancy[61] = 7;  // no seat
    const QImage before = b.image().copy();
    b.drawing.drawPlayerPeg(1, 2);
    b.drawing.drawPlayerPeg(2, 3);
    b.drawing.drawPlayerPeg(6, 0);
    b.drawing.drawPlayerPeg(0, 15);
    b.drawing.drawIdlePeg(61);
    b.drawing.drawIdlePeg(NO_PEG);
    b.drawing.toggleHoleMark(NO_PEG);
    EXPECT_EQ(b.image(), before);
    EXPECT_FALSE(b.state.pegs[1][2].hasBackground);
    EXPECT_EQ(b.drawing.savedSquareCount(), 0);
}

TEST(BoardPegs, ColourIndexPastTheTableWrapsRound) {
    Board b(1);
    placeGame(b.state, DEFAULT_PLAYERS, 10);
    b.state.players[0].colour = 9;  // a damaged record: 9 % 6 = 3
    b.settings.playerSettings[2].colour = 10;
    b.drawing.drawBoard();
    b.drawing.drawPlayerPeg(0, 0);
    b.state.occupancy[60] = 2;
    b.drawing.drawIdlePeg(60);
    EXPECT_EQ(rgbAt(b.image(), b.at(START_CELLS[3][0]).x + 1, b.at(START_CELLS[3][0]).y), RED_RGB);  // ring
    EXPECT_EQ(rgbAt(b.image(), b.at(START_CELLS[0][0])), RED_RGB);
    EXPECT_EQ(rgbAt(b.image(), b.at(60)), rgbOf(b.settings.pegColours[4]));
}

TEST_P(BoardAtEverySize, SavedSquaresRestoreThePixelsAcrossAHop) {
    const int s = GetParam();
    Board b(s);
    placeTitlePicture(b.state);
    b.drawing.repaint();
    const QImage before = b.image().copy();
    // Frames closer than a peg's width overlap; each restores before the next saves.
    std::uint32_t moving = 0;
    PixelPoint last{};
    for (int f = 0; f <= 8; ++f) {
        if (f > 0) b.drawing.restoreBackground(last, moving);
        last = {b.at(44).x + f * s, b.at(44).y - (f % 3) * s};
        const QImage under = b.image().copy();
        b.drawing.savePegBackgroundAndDraw(last, 0x0000FFFF, moving);
        EXPECT_EQ(b.drawing.savedSquareCount(), 1);
        for (const auto& [x, y] : changedPixels(under, b.image()))  // the peg stays inside its square
            EXPECT_TRUE(std::abs(x - last.x) <= 4 * s && x < last.x + 4 * s && std::abs(y - last.y) <= 4 * s && y < last.y + 4 * s);
    }
    b.drawing.restoreBackground(last, moving);
    EXPECT_EQ(b.image(), before);
    EXPECT_EQ(b.drawing.savedSquareCount(), 0);
    b.drawing.restoreBackground(last, moving);  // a stale handle names nothing
    EXPECT_EQ(b.image(), before);
    // A square reaching past the surface gives back what lies inside it.
    b.drawing.savePegBackgroundAndDraw({s, s}, 0, moving);
    b.drawing.restoreBackground({s, s}, moving);
    EXPECT_EQ(b.image(), before);
}

TEST(SavedSquares, ReleaseDropsEveryPegsSquareAndClearsTheFlags) {
    Board b(2);
    placeGame(b.state, DEFAULT_PLAYERS, 10);
    b.drawing.repaint();
    EXPECT_EQ(b.drawing.savedSquareCount(), 60);
    std::uint32_t moving = 0;  // the animation's square is no peg's
    b.drawing.savePegBackgroundAndDraw(b.at(60), 0, moving);
    b.drawing.releasePegBackgrounds();
    EXPECT_EQ(b.drawing.savedSquareCount(), 1);
    for (const auto& seat : b.state.pegs)
        for (const PegRecord& r : seat) EXPECT_FALSE(r.hasBackground);
    b.drawing.deleteBackground(moving);
    EXPECT_EQ(b.drawing.savedSquareCount(), 0);
}

TEST_P(BoardAtEverySize, MarkInvertsItsOutlineOnceAndTwiceRestoresEveryByte) {
    const int s = GetParam();
    Board b(s);
    placeTitlePicture(b.state);
    b.drawing.repaint();
    struct Kind { void (BoardDrawing::*toggle)(CellIndex); int half; };
    for (const Kind k : {Kind{&BoardDrawing::toggleHoleMark, 4 * s}, Kind{&BoardDrawing::toggleCursorMark, 5 * s}}) {
        for (int c : {0, 10, 60, 120}) {
            const QImage before = b.image().copy();
            (b.drawing.*k.toggle)(CellIndex(c));
            const PixelPoint p = b.at(c);
            const auto changed = changedPixels(before, b.image());
            EXPECT_EQ(int(changed.size()), 8 * k.half) << "hole " << c;  // corners inverted once
            for (const auto& [x, y] : changed) {
                const int dx = std::abs(x - p.x), dy = std::abs(y - p.y);
                EXPECT_TRUE(std::max(dx, dy) == k.half) << x << "," << y;
                EXPECT_EQ(b.image().pixel(x, y), ~before.pixel(x, y) | 0xFF000000u);
            }
            (b.drawing.*k.toggle)(CellIndex(c));
            EXPECT_EQ(b.image(), before) << "hole " << c;
        }
    }
}

TEST_P(BoardAtEverySize, HitSquareReachesExactlyFourUnitsEachWay) {
    const int s = GetParam();
    Board b(s);
    const int h = 4 * s;
    for (int c : {0, 10, 22, 60, 120}) {
        const PixelPoint p = b.at(c);
        for (const PixelPoint q : {PixelPoint{p.x + h, p.y + h}, PixelPoint{p.x - h, p.y - h}, PixelPoint{p.x + h, p.y - h}, p}) {
            EXPECT_TRUE(b.drawing.hitHole(q.x, q.y, CellIndex(c)));
            EXPECT_EQ(b.drawing.holeAt(q.x, q.y), c);
        }
        for (const PixelPoint q : {PixelPoint{p.x + h + 1, p.y}, PixelPoint{p.x, p.y + h + 1}, PixelPoint{p.x - h - 1, p.y},
                                   PixelPoint{p.x, p.y - h - 1}}) {
            EXPECT_FALSE(b.drawing.hitHole(q.x, q.y, CellIndex(c)));
            EXPECT_EQ(b.drawing.holeAt(q.x, q.y), NO_PEG) << c << " at " << q.x << "," << q.y;
        }
    }
    for (int c = 0; c < CELL_COUNT; ++c) EXPECT_EQ(b.drawing.holeAt(b.at(c).x, b.at(c).y), c);
    EXPECT_FALSE(b.drawing.hitHole(98 * s, 10 * s, NO_PEG));
}

TEST(BoardRepaint, OutsideAGameDrawsIdlePegsAndSavesNothing) {
    Board b(2);
    placeTitlePicture(b.state);
    b.drawing.repaint();
    EXPECT_EQ(rgbAt(b.image(), b.at(60)), rgbOf(b.settings.pegColours[2]));
    EXPECT_EQ(rgbAt(b.image(), b.at(28)), rgbOf(b.settings.pegColours[3]));
    EXPECT_EQ(rgbAt(b.image(), b.at(61)), BLACK_RGB);
    EXPECT_EQ(b.drawing.savedSquareCount(), 0);
}

TEST(BoardRepaint, DrawsThePathAndCursorMarksOnceOverTheGame) {
    Board b(1);
    placeGame(b.state, DEFAULT_PLAYERS, 10);
    b.drawing.repaint();
    const QImage plain = b.image().copy();
    b.state.movePath[0].cell = 8;
    b.state.movePath[1] = {DownRight, 17};
    b.state.movePathLength = 2;
    b.state.currentPlayer = 1;
    b.state.keyboardCursor[1] = 10;  // its mark reaches left of the white rectangle
    b.state.keyboardCursorShown = true;
    b.drawing.repaint();
    const QImage marked = b.image().copy();
    b.drawing.repaint();  // marks are drawn afresh, not toggled away
    EXPECT_EQ(b.image(), marked);
    EXPECT_EQ(b.drawing.savedSquareCount(), 60);
    b.drawing.toggleHoleMark(8);
    b.drawing.toggleHoleMark(17);
    b.drawing.toggleCursorMark(10);
    EXPECT_EQ(b.image(), plain);
    // While the move is carried out its path is not marked; a stray mark is painted over.
    b.drawing.toggleCursorMark(10);
    b.state.moveInProgress = true;
    b.state.keyboardCursorShown = false;
    b.drawing.repaint();
    EXPECT_EQ(b.image(), plain);
}

// On a screen of device pixel ratio 2 the board of level 5 is drawn with the
// pixels of level 10: the repaint of a game with rings, pegs and marks, a peg
// lifted for a hop, and the turn panel's star; layout and hits stay logical.
TEST(HighDensity, LevelFiveAtRatioTwoDrawsThePixelsOfLevelTen) {
    Board dense(5), plain(10);
    dense.drawing.setSizeUnit(5, 2.0);
    EXPECT_EQ(dense.image().size(), QSize(2000, 1780));
    EXPECT_EQ(dense.image().deviceIndependentSize(), QSizeF(1000, 890));
    EXPECT_EQ(dense.at(60), (PixelPoint{490, 450}));
    EXPECT_EQ(dense.drawing.holeAt(490 + 20, 450 - 20), 60);
    EXPECT_EQ(dense.drawing.holeAt(490 + 21, 450), NO_PEG);

    std::array<QImage, 2> stars;
    for (Board* b : {&dense, &plain}) {
        placeGame(b->state, DEFAULT_PLAYERS, 10);
        b->state.movePath[0].cell = 8;
        b->state.movePath[1] = {DownRight, 17};
        b->state.movePathLength = 2;
        b->state.currentPlayer = 1;
        b->state.keyboardCursor[1] = 10;
        b->state.keyboardCursorShown = true;
        b->drawing.repaint();
        std::uint32_t slot = 0;
        const PixelPoint hop{b->drawing.pixelPos(29).x + b->drawing.px(3), b->drawing.pixelPos(29).y - b->drawing.px(5)};
        b->drawing.savePegBackgroundAndDraw(hop, b->settings.pegColours[4], slot);
        b->drawing.toggleHoleMark(29);

        const bool isDense = b == &dense;
        QImage& star = stars[isDense ? 0 : 1];
        star = QImage(300, 280, QImage::Format_RGB32);
        star.setDevicePixelRatio(isDense ? 2.0 : 1.0);
        drawTurnPanel(star, isDense ? 5 : 10, b->state, b->settings);
    }
    EXPECT_TRUE(pixelView(dense.drawing.surface()) == plain.image());
    EXPECT_TRUE(pixelView(stars[0]) == stars[1]);
}

// Fractional ratios round every measure on its own: the points must still be
// closed for their fills, and marks and saved squares must still give back
// every pixel they took.
TEST(HighDensity, FractionalRatiosKeepFillsMarksAndSquaresWhole) {
    for (const double ratio : {1.25, 1.5}) {
        for (const int s : {1, 3}) {
            Board b(s);
            b.drawing.setSizeUnit(s, ratio);
            const double unit = s * ratio;
            EXPECT_EQ(b.image().width(), int(std::ceil(200 * unit))) << ratio;
            EXPECT_EQ(b.drawing.cellPos(60), (PixelPoint{98 * s, 90 * s}));
            placeGame(b.state, DEFAULT_PLAYERS, 10);
            b.drawing.repaint();
            struct Probe { int x, y; QRgb colour; };
            for (const Probe p : {Probe{98, 85, WHITE_RGB}, Probe{98, 22, GREEN_RGB}, Probe{152, 53, RED_RGB}, Probe{44, 53, BLUE_RGB},
                                  Probe{50, 40, SILVER_RGB}, Probe{90, 175, WHITE_RGB}})
                EXPECT_EQ(rgbAt(b.image(), b.drawing.px(p.x), b.drawing.px(p.y)), p.colour) << ratio << " level " << s << " at " << p.x << "," << p.y;
            const QImage before = b.image().copy();
            std::uint32_t slot = 0;
            const PixelPoint hop{b.drawing.pixelPos(29).x + 1, b.drawing.pixelPos(29).y - b.drawing.px(2)};
            b.drawing.savePegBackgroundAndDraw(hop, 0x00FFFFFF, slot);
            b.drawing.restoreBackground(hop, slot);
            b.drawing.toggleCursorMark(29);
            b.drawing.toggleHoleMark(29);
            b.drawing.toggleCursorMark(29);
            b.drawing.toggleHoleMark(29);
            EXPECT_TRUE(b.image() == before) << ratio << " level " << s;
        }
    }
}

// The widget copies only what was drawn; before a pause, in which the event
// loop does not run, it paints at once also what it had left to the loop, so
// that a computer player's marks appear one by one.
TEST(BoardWidgetScreen, PaintsOnlyChangesAndBeforeAPauseAlsoThoseLeftToTheLoop) {
    struct PaintSpy : QObject {
        QRegion painted;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint) painted |= static_cast<QPaintEvent*>(e)->region();
            return false;
        }
    } spy;
    Board b(2);
    placeTitlePicture(b.state);
    b.drawing.repaint();
    BoardWidget widget(b.drawing, nullptr);
    widget.resize(400, 356);
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    widget.showChanges();
    QCoreApplication::processEvents();
    b.drawing.toggleHoleMark(10);
    widget.showChangesNow();  // the first paint after showing covers the whole widget
    widget.installEventFilter(&spy);

    const PixelPoint c = b.at(44);
    const QRect mark = boxRect(c.x - 8, c.y - 8, c.x + 9, c.y + 9);
    b.drawing.toggleHoleMark(44);
    widget.showChanges();  // left to the event loop
    widget.showChangesNow();
    EXPECT_TRUE(spy.painted.contains(mark));
    EXPECT_TRUE(mark.adjusted(-1, -1, 1, 1).contains(spy.painted.boundingRect())) << "only the mark's square";
}

QImage preview(const Settings& settings) {
    QImage canvas(PREVIEW_WIDTH, PREVIEW_HEIGHT, QImage::Format_RGB32);
    canvas.fill(QColor(212, 208, 200));
    drawBoardPreview(canvas, settings);
    return canvas;
}

TEST(PreviewStar, PointsShowThePlayingSeatsColoursAndWhiteForTheOthers) {
    Settings settings;
    settings.playerSettings[2].kind = PlayerKind::NotPlaying;
    std::swap(settings.playerSettings[0].colour, settings.playerSettings[5].colour);
    const QImage image = preview(settings);
    const PixelPoint seeds[] = {{80, 17}, {120, 52}, {120, 87}, {80, 121}, {40, 87}, {40, 52}};
    for (int p = 0; p < SEAT_COUNT; ++p) {
        EXPECT_EQ(previewSeeds()[p], seeds[p]);
        const QRgb expected = p == 2 ? WHITE_RGB : rgbOf(settings.pegColours[settings.playerSettings[p].colour]);
        EXPECT_EQ(rgbAt(image, seeds[p]), expected) << "seat " << p;
    }
    // Only the rim's box is drawn; the caller's background stays round it.
    EXPECT_EQ(boundsOfNot(image, 0xD4D0C8), QRect(QPoint(10, 0), QPoint(150, 139)));
    EXPECT_EQ(rgbAt(image, 10, 69), BLACK_RGB);
    EXPECT_EQ(rgbAt(image, 150, 69), BLACK_RGB);
    EXPECT_EQ(rgbAt(image, 12, 2), WHITE_RGB);
}

TEST(PreviewStar, WithMarksOnEachPlayingPointShowsItsColoursMark) {
    Settings settings;
    settings.pegMarks = true;
    settings.playerSettings[2].kind = PlayerKind::NotPlaying;
    const QImage marked = preview(settings);
    settings.pegMarks = false;
    const QImage plain = preview(settings);
    for (int p = 0; p < SEAT_COUNT; ++p) {
        const PixelPoint seed = previewSeeds()[p];
        const QRect around(seed.x - 3, seed.y - 3, 7, 7);
        const std::uint8_t colour = settings.playerSettings[p].colour;
        const QRgb ink = markInk(settings.pegColours[colour]) & 0xFFFFFF;
        int inked = 0;
        for (int y = around.top(); y <= around.bottom(); ++y)
            for (int x = around.left(); x <= around.right(); ++x) {
                const bool covers = markCovers(PegMark(colour), x - seed.x, y - seed.y, 3);
                if (p != 2 && covers) ++inked;
                EXPECT_EQ(rgbAt(marked, x, y), p != 2 && covers ? ink : rgbAt(plain, x, y)) << p << ": " << x << "," << y;
            }
        if (p != 2) {
            EXPECT_GT(inked, 0);
        }
    }
}

TEST(PreviewStar, EmblemAndCentreNeverChange) {
    Settings none, recoloured;
    for (PlayerSlot& slot : none.playerSettings) slot.kind = PlayerKind::NotPlaying;
    recoloured.pegColours = {0x00102030, 0x00405060, 0x00708090, 0x00A0B0C0, 0x00D0E0F0, 0x00010203};
    const QImage a = preview(Settings());
    const QRect centre(QPoint(60, 45), QPoint(100, 95));
    EXPECT_EQ(a.copy(centre), preview(none).copy(centre));
    EXPECT_EQ(a.copy(centre), preview(recoloured).copy(centre));
    struct Probe { int x, y; QRgb colour; };
    for (const Probe p : {Probe{71, 70, BLACK_RGB}, Probe{80, 52, BLACK_RGB}, Probe{88, 70, WHITE_RGB}, Probe{62, 70, BLACK_RGB},
                          Probe{61, 70, WHITE_RGB}, Probe{50, 70, WHITE_RGB}})
        EXPECT_EQ(rgbAt(a, p.x, p.y), p.colour) << p.x << "," << p.y;
}

// Breadth-first search over 4-neighbours: the reference for the scanline fill.
int referenceRegionSize(const QImage& image, QPoint seed) {
    std::vector<bool> seen(std::size_t(image.width() * image.height()), false);
    std::queue<QPoint> queue;
    int count = 0;
    auto visit = [&](QPoint q) {
        if (!image.rect().contains(q) || rgbAt(image, q.x(), q.y()) == BLACK_RGB) return;
        const std::size_t i = std::size_t(q.y() * image.width() + q.x());
        if (seen[i]) return;
        seen[i] = true;
        queue.push(q);
    };
    visit(seed);
    for (; !queue.empty(); queue.pop(), ++count)
        for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) visit(queue.front() + d);
    return count;
}

TEST(FloodFill, AgreesWithAPlainSearchEvenWhenTheFillColourIsAlreadyThere) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> percent(0, 99);
    for (int round = 0; round < 20; ++round) {
        QImage image(37, 23, QImage::Format_RGB32);
        image.fill(Qt::white);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (percent(random) < 20 + round * 2) image.setPixel(x, y, qRgb(0, 0, 0));
        const QPoint seed(18, 11);
        image.setPixel(seed, qRgb(255, 255, 255));
        const int expected = referenceRegionSize(image, seed);
        QImage filled = image.copy();
        EXPECT_EQ(floodFill(filled, seed, qRgb(0, 0, 0), qRgb(255, 255, 255)), expected) << "round " << round;
        EXPECT_EQ(filled, image);
        EXPECT_EQ(floodFill(filled, seed, qRgb(0, 0, 0), qRgb(0, 0, 255)), expected);
        EXPECT_EQ(int(changedPixels(image, filled).size()), expected);
    }
}

TEST(FloodFill, DiagonalLineClosesARegionAndBorderSeedsFillNothing) {
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int i = 0; i < 10; ++i) image.setPixel(i, i, qRgb(0, 0, 0));
    const QImage before = image.copy();
    for (const QPoint seed : {QPoint(3, 3), QPoint(-1, 0), QPoint(0, 10)})
        EXPECT_EQ(floodFill(image, seed, qRgb(0, 0, 0), qRgb(0, 128, 0)), 0);
    EXPECT_EQ(image, before);
    EXPECT_EQ(floodFill(image, QPoint(9, 0), qRgb(0, 0, 0), qRgb(0, 128, 0)), 45);
    EXPECT_EQ(rgbAt(image, 0, 9), WHITE_RGB);
}

TEST(DrawingHelpers, RoundingAndStoredColours) {
    struct Case { double v; int rounded; };
    for (const Case c : {Case{0.5, 0}, Case{1.5, 2}, Case{2.5, 2}, Case{-0.5, 0}, Case{-1.5, -2}, Case{-2.6, -3}, Case{4.6188, 5}})
        EXPECT_EQ(roundHalfEven(c.v), c.rounded) << c.v;
    EXPECT_EQ(toQColor(0x000000FF), QColor(255, 0, 0));
    EXPECT_EQ(toQColor(0x00123456), QColor(0x56, 0x34, 0x12));
}

}  // namespace
}  // namespace vexel
