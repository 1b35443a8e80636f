// Pixels of the board surface, read back after drawing: hole positions, the
// star's colours, pegs, target rings, marks, saved squares, hit tests, the
// preview star and the flood fill they are coloured with.
#include "core/board.h"
#include "core/gamestate.h"
#include "core/settings.h"
#include "ui/boarddraw.h"
#include "ui/drawprims.h"
#include "ui/floodfill.h"
#include "ui/preview.h"

#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <queue>
#include <random>
#include <set>
#include <vector>

namespace vexel {
namespace {

constexpr QRgb BLACK_RGB = 0x000000, WHITE_RGB = 0xFFFFFF, SILVER_RGB = 0xC0C0C0;
constexpr QRgb GREEN_RGB = 0x008000, RED_RGB = 0xFF0000, BLUE_RGB = 0x0000FF;

QRgb rgbAt(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }
QRgb rgbAt(const QImage& image, PixelPoint p) { return rgbAt(image, p.x, p.y); }
// 0x00BBGGRR as the image's 0xRRGGBB.
QRgb rgbOf(ColourRef c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

bool sameBytes(const QImage& a, const QImage& b) {
    return a.size() == b.size() && a.format() == b.format() && a.sizeInBytes() == b.sizeInBytes() &&
           std::memcmp(a.constBits(), b.constBits(), std::size_t(a.sizeInBytes())) == 0;
}

// Pixels that differ between two images of one size.
std::set<std::pair<int, int>> changedPixels(const QImage& a, const QImage& b) {
    std::set<std::pair<int, int>> changed;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) changed.insert({x, y});
    return changed;
}

// Smallest box holding every pixel that is not `background`.
QRect boundsOfNot(const QImage& image, QRgb background) {
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (rgbAt(image, x, y) != background) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// A running game placed by hand: the given seats play with `pegs` pegs on
// their start holes, seat by seat, as a new game sets them up.
void placeGame(GameState& state, const PlayerSlots& players, int pegs) {
    state = GameState();
    state.gameRunning = true;
    state.players = players;
    state.pegsPerPlayer = std::uint8_t(pegs);
    for (int p = 0; p < SEAT_COUNT; ++p) {
        if (!players[p].plays()) continue;
        for (int k = 0; k < pegs; ++k) {
            state.pegs[p][k].cell = START_CELLS[p][k];
            state.occupancy[START_CELLS[p][k]] = Seat(p);
        }
    }
}

// The picture shown before the first game: two rings of pegs round the centre.
void placeTitlePicture(GameState& state) {
    state.occupancy.fill(NO_PEG);
    for (int c : {28, 29, 42, 53, 72, 82, 92, 91, 78, 67, 48, 38}) state.occupancy[c] = 3;
    for (int c : {1, 2, 20, 33, 96, 108, 119, 118, 100, 87, 24, 12, 60}) state.occupancy[c] = 2;
}

struct Board {
    GameState state;
    Settings settings;
    BoardDrawing drawing{state, settings};
    explicit Board(int s) { drawing.setSizeUnit(s); }
    const QImage& image() const { return drawing.surface(); }
};

class EverySize : public ::testing::TestWithParam<int> {};
INSTANTIATE_TEST_SUITE_P(Levels, EverySize, ::testing::Values(1, 2, 3, 4, 5));

// ---- geometry ----

TEST_P(EverySize, SurfaceIsWhiteAndSizedByLevel) {
    const int s = GetParam();
    Board b(s);
    EXPECT_EQ(b.drawing.sizeUnit(), s);
    EXPECT_EQ(b.image().size(), QSize(200 * s, 178 * s));
    EXPECT_EQ(b.image().format(), QImage::Format_RGB32);
    EXPECT_EQ(boundsOfNot(b.image(), WHITE_RGB), QRect());
}

TEST_P(EverySize, HoleCentresOfTheCornersAndTheMiddle) {
    const int s = GetParam();
    Board b(s);
    struct Known { CellIndex cell; int x, y; };
    for (const Known k : {Known{0, 98, 10}, Known{10, 26, 50}, Known{22, 170, 50}, Known{60, 98, 90}, Known{120, 98, 170}}) {
        EXPECT_EQ(b.drawing.cellPos(k.cell), (PixelPoint{k.x * s, k.y * s})) << "hole " << int(k.cell);
    }
}

TEST_P(EverySize, NeighbouringHolesAreTwelveUnitsApartInARowAndTenBetweenRows) {
    const int s = GetParam();
    Board b(s);
    for (int c = 0; c < CELL_COUNT; ++c) {
        const PixelPoint p = b.drawing.cellPos(CellIndex(c));
        struct Step { Direction d; int dx, dy; };
        for (const Step step : {Step{Right, 12, 0}, Step{DownRight, 6, 10}, Step{DownLeft, -6, 10}}) {
            const CellIndex n = NEIGHBOURS[c][step.d];
            if (n == NO_PEG) continue;
            EXPECT_EQ(b.drawing.cellPos(n), (PixelPoint{p.x + step.dx * s, p.y + step.dy * s})) << c << " to " << int(n);
        }
    }
}

TEST(BoardGeometry, LevelBelowOneIsTakenAsOne) {
    Board b(0);
    EXPECT_EQ(b.drawing.sizeUnit(), 1);
    EXPECT_EQ(b.image().size(), QSize(200, 178));
}

// ---- the empty board ----

TEST_P(EverySize, RimSpansExactlyItsBoundingBox) {
    const int s = GetParam();
    Board b(s);
    b.drawing.drawBoard();
    // The white rectangle behind the rim is invisible on white; the rim decides
    // the width, the top and bottom holes (radius 2s) the height.
    EXPECT_EQ(boundsOfNot(b.image(), WHITE_RGB), QRect(QPoint(14 * s, 8 * s), QPoint(182 * s, 172 * s)));
    EXPECT_EQ(rgbAt(b.image(), 14 * s, 90 * s), BLACK_RGB);
    EXPECT_EQ(rgbAt(b.image(), 182 * s, 90 * s), BLACK_RGB);
    EXPECT_EQ(rgbAt(b.image(), 14 * s - 1, 90 * s), WHITE_RGB);
    EXPECT_EQ(rgbAt(b.image(), 182 * s + 1, 90 * s), WHITE_RGB);
    // Beside the top and bottom holes the rim itself reaches 10s and 170s.
    const int x = 101 * s;
    EXPECT_EQ(rgbAt(b.image(), x, 10 * s - 1), WHITE_RGB);
    EXPECT_NE(rgbAt(b.image(), x, 10 * s), WHITE_RGB);
    EXPECT_NE(rgbAt(b.image(), x, 170 * s), WHITE_RGB);
    EXPECT_EQ(rgbAt(b.image(), x, 170 * s + 1), WHITE_RGB);
}

TEST_P(EverySize, PointsRimAndCentreCarryTheirFixedColours) {
    const int s = GetParam();
    Board b(s);
    b.drawing.drawBoard();
    struct Probe { int x, y; QRgb colour; const char* where; };
    const Probe probes[] = {
        // Inside small triangles of holes, clear of the lines drawn over the fills.
        {98, 22, GREEN_RGB, "top point"},      {98, 158, GREEN_RGB, "bottom point"},
        {152, 53, RED_RGB, "upper right"},     {44, 127, RED_RGB, "lower left"},
        {44, 53, BLUE_RGB, "upper left"},      {152, 127, BLUE_RGB, "lower right"},
        {98, 85, WHITE_RGB, "centre"},         {50, 40, SILVER_RGB, "rim upper left"},
        {146, 140, SILVER_RGB, "rim lower right"}, {20, 90, SILVER_RGB, "rim left of the rectangle"},
        {90, 172, WHITE_RGB, "below the rim"},
    };
    for (const Probe& p : probes) EXPECT_EQ(rgbAt(b.image(), p.x * s, p.y * s), p.colour) << p.where;
}

TEST_P(EverySize, HolesAreBlackDiscsOfRadiusTwoUnits) {
    const int s = GetParam();
    Board b(s);
    b.drawing.drawBoard();
    for (int c = 0; c < CELL_COUNT; ++c) {
        const PixelPoint p = b.drawing.cellPos(CellIndex(c));
        for (const PixelPoint q : {p, PixelPoint{p.x - 2 * s, p.y}, PixelPoint{p.x + 2 * s, p.y},
                                   PixelPoint{p.x, p.y - 2 * s}, PixelPoint{p.x, p.y + 2 * s}})
            EXPECT_EQ(rgbAt(b.image(), q), BLACK_RGB) << "hole " << c;
        // No grid line runs straight down, so the disc ends here.
        EXPECT_NE(rgbAt(b.image(), p.x, p.y + 2 * s + 1), BLACK_RGB) << "hole " << c;
    }
}

TEST_P(EverySize, EveryLinkBetweenNeighboursIsDrawn) {
    const int s = GetParam();
    Board b(s);
    b.drawing.drawBoard();
    int links = 0;
    for (int c = 0; c < CELL_COUNT; ++c) {
        for (int d = 0; d < DIRECTION_COUNT; ++d) {
            const CellIndex n = NEIGHBOURS[c][d];
            if (n == NO_PEG) continue;
            const PixelPoint p = b.drawing.cellPos(CellIndex(c)), q = b.drawing.cellPos(n);
            EXPECT_EQ(rgbAt(b.image(), (p.x + q.x) / 2, (p.y + q.y) / 2), BLACK_RGB) << c << " to " << int(n);
            ++links;
        }
    }
    EXPECT_EQ(links, 2 * 312);  // the hexagon's 156 links and 26 for each point
}

// ---- target rings ----

// Seats whose ring colour shows on each hole; the ring's right-hand pixel
// lies inside the black hole, so it is black when no ring was drawn.
std::vector<int> ringOwners(const Board& b, const PlayerSlots& players) {
    std::vector<int> owners(CELL_COUNT, -1);
    const int s = b.drawing.sizeUnit();
    for (int c = 0; c < CELL_COUNT; ++c) {
        const PixelPoint p = b.drawing.cellPos(CellIndex(c));
        const QRgb right = rgbAt(b.image(), p.x + s, p.y);
        if (right == BLACK_RGB) continue;
        for (int seat = 0; seat < SEAT_COUNT; ++seat)
            if (right == rgbOf(b.settings.pegColours[players[seat].colour % 6])) owners[c] = seat;
        EXPECT_NE(owners[c], -1) << "hole " << c << " shows a colour of no seat";
    }
    return owners;
}

TEST_P(EverySize, EachPlayingSeatGetsTenRingsOnItsTarget) {
    const int s = GetParam();
    Board b(s);
    PlayerSlots players = DEFAULT_PLAYERS;
    players[4].kind = PlayerKind::NotPlaying;
    placeGame(b.state, players, 10);
    b.drawing.drawBoard();
    const std::vector<int> owners = ringOwners(b, players);
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        std::set<int> expected;
        if (players[seat].plays())
            for (int k = 0; k < 10; ++k) expected.insert(START_CELLS[OPPOSITE_SEAT[seat]][k]);
        std::set<int> found;
        for (int c = 0; c < CELL_COUNT; ++c)
            if (owners[c] == seat) found.insert(c);
        EXPECT_EQ(found, expected) << "seat " << seat;
    }
    // A ring is a circle of radius s filled black.
    const PixelPoint t = b.drawing.cellPos(START_CELLS[3][0]);
    const QRgb seat0 = rgbOf(b.settings.pegColours[0]);
    EXPECT_EQ(rgbAt(b.image(), t.x - s, t.y), seat0);
    EXPECT_EQ(rgbAt(b.image(), t.x, t.y - s), seat0);
    EXPECT_EQ(rgbAt(b.image(), t.x, t.y + s), seat0);
    EXPECT_EQ(rgbAt(b.image(), t.x, t.y), BLACK_RGB);
    EXPECT_EQ(rgbAt(b.image(), t.x + s + 1, t.y), BLACK_RGB);
}

TEST(TargetRings, NoneWithoutAGameOrWithDirectionsUnmarked) {
    for (bool running : {false, true}) {
        for (bool marked : {false, true}) {
            Board b(2);
            placeGame(b.state, DEFAULT_PLAYERS, 10);
            b.state.gameRunning = running;
            b.settings.markDirection = marked;
            b.drawing.drawBoard();
            const std::vector<int> owners = ringOwners(b, DEFAULT_PLAYERS);
            const auto rings = std::count_if(owners.begin(), owners.end(), [](int o) { return o >= 0; });
            EXPECT_EQ(rings, running && marked ? 60 : 0) << running << marked;
        }
    }
}

TEST(TargetRings, SharedCornerOfFifteenPegTargetsShowsTheLaterSeat) {
    Board b(3);
    PlayerSlots players = DEFAULT_PLAYERS;
    for (int seat : {2, 3, 4, 5}) players[seat].kind = PlayerKind::NotPlaying;
    placeGame(b.state, players, 15);
    b.drawing.drawBoard();
    const std::vector<int> owners = ringOwners(b, players);
    EXPECT_EQ(owners[102], 1);  // last of seat 0's target, first border hole of seat 1's
    EXPECT_EQ(std::count(owners.begin(), owners.end(), 0), 14);
    EXPECT_EQ(std::count(owners.begin(), owners.end(), 1), 15);
}

TEST(TargetRings, ColourIndexOutOfRangeWrapsRound) {
    Board b(1);
    PlayerSlots players = DEFAULT_PLAYERS;
    players[0].colour = 9;  // a damaged record: 9 % 6 = 3
    placeGame(b.state, players, 10);
    b.drawing.drawBoard();
    const PixelPoint t = b.drawing.cellPos(START_CELLS[3][0]);
    EXPECT_EQ(rgbAt(b.image(), t.x + 1, t.y), rgbOf(b.settings.pegColours[3]));
}

// ---- pegs ----

TEST_P(EverySize, PegIsADiscOfRadiusThreeUnitsWithAHighlightUpLeft) {
    const int s = GetParam();
    QImage canvas(40 * s, 40 * s, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    const PixelPoint p{20 * s, 20 * s};
    const ColourRef magenta = 0x00FF00FF;
    drawPeg(canvas, s, p, magenta);

    EXPECT_EQ(rgbAt(canvas, p), 0xFF00FFu);
    EXPECT_EQ(boundsOfNot(canvas, WHITE_RGB), QRect(QPoint(p.x - 3 * s, p.y - 3 * s), QPoint(p.x + 3 * s, p.y + 3 * s)));
    for (const PixelPoint q : {PixelPoint{p.x - 3 * s, p.y}, PixelPoint{p.x + 3 * s, p.y}, PixelPoint{p.x, p.y - 3 * s},
                               PixelPoint{p.x, p.y + 3 * s}})
        EXPECT_EQ(rgbAt(canvas, q), BLACK_RGB);
    // The highlight ends at the inner circle's leftmost point; the right side is plain.
    EXPECT_EQ(rgbAt(canvas, p.x - 2 * s, p.y), WHITE_RGB);
    EXPECT_EQ(rgbAt(canvas, p.x + 2 * s, p.y), 0xFF00FFu);
    // White inside the black rim is the highlight; white outside reaches the corner.
    const FillRegion outside = floodRegion(canvas, QPoint(0, 0), qRgb(0, 0, 0));
    int highlight = 0;
    for (int y = p.y - 3 * s; y <= p.y + 3 * s; ++y) {
        for (int x = p.x - 3 * s; x <= p.x + 3 * s; ++x) {
            if (rgbAt(canvas, x, y) != WHITE_RGB || outside.contains(x, y)) continue;
            ++highlight;
            EXPECT_TRUE(x <= p.x && y <= p.y) << "highlight pixel at " << x - p.x << "," << y - p.y;
        }
    }
    EXPECT_GE(highlight, 2 * s);
}

TEST(Pegs, PlayerPegTakesTheGamesColourAndSavesOneSquare) {
    Board b(2);
    placeGame(b.state, DEFAULT_PLAYERS, 10);
    b.state.players[0].colour = 3;  // the game's copy rules, not the settings
    b.drawing.drawBoard();
    b.drawing.drawPlayerPeg(0, 4);
    const PegRecord& r = b.state.pegs[0][4];
    EXPECT_TRUE(r.hasBackground);
    EXPECT_NE(r.background, 0u);
    EXPECT_EQ(rgbAt(b.image(), b.drawing.cellPos(r.cell)), RED_RGB);
    EXPECT_EQ(b.drawing.savedSquareCount(), 1);

    // Drawn again, the old square is dropped before the new one is taken.
    const std::uint32_t first = r.background;
    b.drawing.drawPlayerPeg(0, 4);
    EXPECT_EQ(b.drawing.savedSquareCount(), 1);
    EXPECT_NE(r.background, first);
}

TEST(Pegs, PegOnAnEmptiedHoleIsNotDrawn) {
    Board b(3);
    placeGame(b.state, DEFAULT_PLAYERS, 10);
    b.drawing.drawBoard();
    b.state.occupancy[b.state.pegs[1][2].cell] = NO_PEG;  // the peg being moved
    const QImage before = b.image().copy();
    b.drawing.drawPlayerPeg(1, 2);
    EXPECT_TRUE(sameBytes(before, b.image()));
    EXPECT_FALSE(b.state.pegs[1][2].hasBackground);
    EXPECT_EQ(b.drawing.savedSquareCount(), 0);
}

TEST(Pegs, OutOfRangeSeatPegOrHoleDrawsNothing) {
    Board b(1);
    placeGame(b.state, DEFAULT_PLAYERS, 10);
    b.drawing.drawBoard();
    b.state.pegs[2][3].cell = 200;
    const QImage before = b.image().copy();
    b.drawing.drawPlayerPeg(6, 0);
    b.drawing.drawPlayerPeg(0, 15);
    b.drawing.drawPlayerPeg(0, -1);
    b.drawing.drawPlayerPeg(2, 3);
    b.drawing.drawIdlePeg(NO_PEG);
    b.drawing.toggleHoleMark(NO_PEG);
    EXPECT_TRUE(sameBytes(before, b.image()));
}

TEST(Pegs, IdlePegTakesTheSettingsColourOfItsSeat) {
    Board b(2);
    b.drawing.drawBoard();
    b.settings.playerSettings[2].colour = 4;
    b.state.occupancy[60] = 2;
    b.state.occupancy[61] = 7;  // no seat: nothing to draw
    const QImage before = b.image().copy();
    b.drawing.drawIdlePeg(60);
    EXPECT_EQ(rgbAt(b.image(), b.drawing.cellPos(60)), 0xFF00FFu);
    b.drawing.drawIdlePeg(61);
    b.drawing.drawIdlePeg(62);  // empty
    for (CellIndex c : {CellIndex(61), CellIndex(62)}) EXPECT_EQ(rgbAt(b.image(), b.drawing.cellPos(c)), BLACK_RGB);
    EXPECT_EQ(b.drawing.savedSquareCount(), 0);
}

// ---- saved squares ----

TEST_P(EverySize, SavedSquareRestoresThePixelsAndIsDeleted) {
    const int s = GetParam();
    Board b(s);
    placeTitlePicture(b.state);
    b.drawing.repaint();
    const QImage before = b.image().copy();
    const PixelPoint p = b.drawing.cellPos(44);
    std::uint32_t slot = 0;
    b.drawing.savePegBackgroundAndDraw(p, 0x0000FFFF, slot);
    EXPECT_NE(slot, 0u);
    EXPECT_EQ(b.drawing.savedSquareCount(), 1);
    // The peg stays inside its square.
    for (const auto& [x, y] : changedPixels(before, b.image())) {
        EXPECT_TRUE(x >= p.x - 4 * s && x < p.x + 4 * s && y >= p.y - 4 * s && y < p.y + 4 * s) << x << "," << y;
    }
    b.drawing.restoreBackground(p, slot);
    EXPECT_TRUE(sameBytes(before, b.image()));
    EXPECT_EQ(b.drawing.savedSquareCount(), 0);
    // The slot now names nothing: restoring again changes nothing.
    b.drawing.toggleHoleMark(44);
    const QImage marked = b.image().copy();
    b.drawing.restoreBackground(p, slot);
    EXPECT_TRUE(sameBytes(marked, b.image()));
}

TEST(SavedSquares, AHopAcrossOverlappingFramesLeavesTheBoardAsItWas) {
    Board b(3);
    placeTitlePicture(b.state);
    b.drawing.repaint();
    const QImage before = b.image().copy();
    // Frames a peg's width apart overlap; each restores before the next saves.
    std::uint32_t moving = 0;
    PixelPoint last{};
    for (int f = 0; f <= 12; ++f) {
        if (f > 0) b.drawing.restoreBackground(last, moving);
        last = {b.drawing.cellPos(56).x + f * 3, b.drawing.cellPos(56).y - (f % 5)};
        b.drawing.savePegBackgroundAndDraw(last, 0x000000FF, moving);
    }
    b.drawing.restoreBackground(last, moving);
    EXPECT_TRUE(sameBytes(before, b.image()));
    EXPECT_EQ(b.drawing.savedSquareCount(), 0);
}

TEST(SavedSquares, SquareReachingPastTheSurfaceRestoresWhatIsInside) {
    Board b(1);
    b.drawing.drawBoard();
    const QImage before = b.image().copy();
    std::uint32_t slot = 0;
    b.drawing.savePegBackgroundAndDraw({2, 1}, 0x00FF0000, slot);
    b.drawing.restoreBackground({2, 1}, slot);
    EXPECT_TRUE(sameBytes(before, b.image()));
}

TEST(SavedSquares, ReleaseDropsEveryPegsSquareAndClearsTheFlags) {
    Board b(2);
    placeGame(b.state, DEFAULT_PLAYERS, 10);
    b.drawing.repaint();
    EXPECT_EQ(b.drawing.savedSquareCount(), 60);
    std::uint32_t foreign = 0;  // the animation's own square is not a peg's
    b.drawing.savePegBackgroundAndDraw(b.drawing.cellPos(60), 0, foreign);
    b.drawing.releasePegBackgrounds();
    EXPECT_EQ(b.drawing.savedSquareCount(), 1);
    for (const auto& seat : b.state.pegs)
        for (const PegRecord& r : seat) EXPECT_FALSE(r.hasBackground);
    b.drawing.deleteBackground(foreign);
    EXPECT_EQ(b.drawing.savedSquareCount(), 0);
}

// ---- marks ----

TEST_P(EverySize, MarkInvertsItsOutlineOnceAndTwiceRestoresEveryByte) {
    const int s = GetParam();
    Board b(s);
    placeTitlePicture(b.state);
    b.drawing.repaint();
    struct Kind { void (BoardDrawing::*toggle)(CellIndex); int half; };
    for (const Kind k : {Kind{&BoardDrawing::toggleHoleMark, 4 * s}, Kind{&BoardDrawing::toggleCursorMark, 5 * s}}) {
        for (CellIndex c : {CellIndex(0), CellIndex(10), CellIndex(60), CellIndex(120)}) {
            const QImage before = b.image().copy();
            (b.drawing.*k.toggle)(c);
            const PixelPoint p = b.drawing.cellPos(c);
            const auto changed = changedPixels(before, b.image());
            EXPECT_EQ(int(changed.size()), 8 * k.half) << "hole " << int(c);
            for (const auto& [x, y] : changed) {
                const bool onOutline = (std::abs(x - p.x) == k.half && std::abs(y - p.y) <= k.half) ||
                                       (std::abs(y - p.y) == k.half && std::abs(x - p.x) <= k.half);
                EXPECT_TRUE(onOutline) << x << "," << y;
                EXPECT_EQ(rgbAt(b.image(), x, y), ~rgbAt(before, x, y) & 0xFFFFFF);
                EXPECT_EQ(qAlpha(b.image().pixel(x, y)), 255);
            }
            (b.drawing.*k.toggle)(c);
            EXPECT_TRUE(sameBytes(before, b.image())) << "hole " << int(c);
        }
    }
}

// ---- hit test ----

TEST_P(EverySize, HitSquareReachesExactlyFourUnitsEachWay) {
    const int s = GetParam();
    Board b(s);
    for (CellIndex c : {CellIndex(0), CellIndex(10), CellIndex(22), CellIndex(60), CellIndex(120)}) {
        const PixelPoint p = b.drawing.cellPos(c);
        const int h = 4 * s;
        for (const PixelPoint q : {PixelPoint{p.x + h, p.y + h}, PixelPoint{p.x - h, p.y - h}, PixelPoint{p.x + h, p.y - h}, p}) {
            EXPECT_TRUE(b.drawing.hitHole(q.x, q.y, c));
            EXPECT_EQ(b.drawing.holeAt(q.x, q.y), c);
        }
        for (const PixelPoint q : {PixelPoint{p.x + h + 1, p.y}, PixelPoint{p.x, p.y + h + 1}, PixelPoint{p.x - h - 1, p.y},
                                   PixelPoint{p.x, p.y - h - 1}, PixelPoint{p.x + h + 1, p.y + h + 1}}) {
            EXPECT_FALSE(b.drawing.hitHole(q.x, q.y, c));
            EXPECT_EQ(b.drawing.holeAt(q.x, q.y), NO_PEG) << int(c) << " " << q.x << "," << q.y;
        }
    }
    EXPECT_FALSE(b.drawing.hitHole(98 * s, 10 * s, NO_PEG));
    EXPECT_EQ(b.drawing.holeAt(0, 0), NO_PEG);
}

TEST(HitTest, EveryHoleIsFoundAtItsCentre) {
    Board b(2);
    for (int c = 0; c < CELL_COUNT; ++c) {
        const PixelPoint p = b.drawing.cellPos(CellIndex(c));
        EXPECT_EQ(b.drawing.holeAt(p.x, p.y), c);
    }
}

// ---- repaint ----

TEST(Repaint, OutsideAGameDrawsTheIdlePegsAndSavesNothing) {
    Board b(2);
    placeTitlePicture(b.state);
    b.drawing.repaint();
    EXPECT_EQ(rgbAt(b.image(), b.drawing.cellPos(60)), rgbOf(b.settings.pegColours[2]));
    EXPECT_EQ(rgbAt(b.image(), b.drawing.cellPos(28)), rgbOf(b.settings.pegColours[3]));
    EXPECT_EQ(rgbAt(b.image(), b.drawing.cellPos(61)), BLACK_RGB);
    EXPECT_EQ(b.drawing.savedSquareCount(), 0);
}

TEST(Repaint, DrawsThePathAndCursorMarksOnceOverTheGame) {
    Board b(2);
    placeGame(b.state, DEFAULT_PLAYERS, 10);
    b.drawing.repaint();
    const QImage plain = b.image().copy();

    b.state.movePath[0].cell = 8;
    b.state.movePath[1] = {DownRight, 17};
    b.state.movePathLength = 2;
    b.state.currentPlayer = 1;
    b.state.keyboardCursor[1] = 44;
    b.state.keyboardCursorShown = true;
    b.drawing.repaint();
    const QImage marked = b.image().copy();
    b.drawing.repaint();  // marks are drawn afresh, not toggled away
    EXPECT_TRUE(sameBytes(marked, b.image()));
    EXPECT_EQ(b.drawing.savedSquareCount(), 60);

    b.drawing.toggleHoleMark(8);
    b.drawing.toggleHoleMark(17);
    b.drawing.toggleCursorMark(44);
    EXPECT_TRUE(sameBytes(plain, b.image()));

    // While the move is carried out its path is not marked.
    b.state.moveInProgress = true;
    b.state.keyboardCursorShown = false;
    b.drawing.repaint();
    EXPECT_TRUE(sameBytes(plain, b.image()));
}

TEST(Repaint, ClearsMarksLeftOutsideTheBoard) {
    Board b(1);
    placeGame(b.state, DEFAULT_PLAYERS, 10);
    b.drawing.repaint();
    const QImage plain = b.image().copy();
    b.drawing.toggleCursorMark(10);  // reaches left of the white rectangle
    b.drawing.repaint();
    EXPECT_TRUE(sameBytes(plain, b.image()));
}

// ---- preview ----

QImage preview(const Settings& settings) {
    QImage canvas(PREVIEW_WIDTH, PREVIEW_HEIGHT, QImage::Format_RGB32);
    canvas.fill(QColor(212, 208, 200));
    drawBoardPreview(canvas, settings);
    return canvas;
}

TEST(Preview, SeedsOfTheSixPoints) {
    const auto seeds = previewSeeds();
    const PixelPoint expected[] = {{80, 17}, {120, 52}, {120, 87}, {80, 121}, {40, 87}, {40, 52}};
    for (int p = 0; p < SEAT_COUNT; ++p) EXPECT_EQ(seeds[p], expected[p]) << "seat " << p;
}

TEST(Preview, PointsShowThePlayingSeatsColoursAndWhiteForTheOthers) {
    Settings settings;
    settings.playerSettings[2].kind = PlayerKind::NotPlaying;
    std::swap(settings.playerSettings[0].colour, settings.playerSettings[5].colour);
    const QImage image = preview(settings);
    const auto seeds = previewSeeds();
    for (int p = 0; p < SEAT_COUNT; ++p) {
        const QRgb expected = p == 2 ? WHITE_RGB : rgbOf(settings.pegColours[settings.playerSettings[p].colour]);
        EXPECT_EQ(rgbAt(image, seeds[p]), expected) << "seat " << p;
    }
}

TEST(Preview, EmblemAndCentreNeverChange) {
    Settings all;
    Settings none;
    for (PlayerSlot& slot : none.playerSettings) slot.kind = PlayerKind::NotPlaying;
    Settings recoloured;
    recoloured.pegColours = {0x00102030, 0x00405060, 0x00708090, 0x00A0B0C0, 0x00D0E0F0, 0x00010203};
    const QImage a = preview(all), b = preview(none), c = preview(recoloured);
    const QRect centre(QPoint(60, 45), QPoint(100, 95));
    EXPECT_EQ(a.copy(centre), b.copy(centre));
    EXPECT_EQ(a.copy(centre), c.copy(centre));
    EXPECT_EQ(rgbAt(a, 71, 70), BLACK_RGB);  // the dot
    EXPECT_EQ(rgbAt(a, 80, 52), BLACK_RGB);  // the stem
    EXPECT_EQ(rgbAt(a, 88, 70), WHITE_RGB);  // inside the arrow head
    EXPECT_EQ(rgbAt(a, 62, 70), BLACK_RGB);  // the disc's left edge
    EXPECT_EQ(rgbAt(a, 61, 70), WHITE_RGB);
    EXPECT_EQ(rgbAt(a, 50, 70), WHITE_RGB);  // the centre field
}

TEST(Preview, DrawsOnlyInsideTheRimsBox) {
    const QImage image = preview(Settings());
    const QRgb background = qRgb(212, 208, 200) & 0xFFFFFF;
    EXPECT_EQ(boundsOfNot(image, background), QRect(QPoint(10, 0), QPoint(150, 139)));
    EXPECT_EQ(rgbAt(image, 10, 69), BLACK_RGB);
    EXPECT_EQ(rgbAt(image, 150, 69), BLACK_RGB);
    EXPECT_EQ(rgbAt(image, 80, 139), BLACK_RGB);
    EXPECT_EQ(rgbAt(image, 12, 2), WHITE_RGB);  // corner of the white box, outside the rim
}

// ---- flood fill and rounding ----

// Plain breadth-first search over 4-neighbours: the reference for the scanline fill.
int referenceRegionSize(const QImage& image, QPoint seed, QRgb border) {
    if (!image.rect().contains(seed) || rgbAt(image, seed.x(), seed.y()) == (border & 0xFFFFFF)) return 0;
    std::vector<bool> seen(std::size_t(image.width() * image.height()), false);
    std::queue<QPoint> queue;
    queue.push(seed);
    seen[std::size_t(seed.y() * image.width() + seed.x())] = true;
    int count = 0;
    while (!queue.empty()) {
        const QPoint p = queue.front();
        queue.pop();
        ++count;
        for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
            const QPoint q = p + d;
            if (!image.rect().contains(q)) continue;
            const std::size_t i = std::size_t(q.y() * image.width() + q.x());
            if (seen[i] || rgbAt(image, q.x(), q.y()) == (border & 0xFFFFFF)) continue;
            seen[i] = true;
            queue.push(q);
        }
    }
    return count;
}

TEST(FloodFill, AgreesWithAPlainSearchOnScatteredWalls) {
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        QImage image(37, 23, QImage::Format_RGB32);
        image.fill(Qt::white);
        std::uniform_int_distribution<int> percent(0, 99);
        const int density = 20 + round * 2;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (percent(random) < density) image.setPixel(x, y, qRgb(0, 0, 0));
        const QPoint seed(18, 11);
        image.setPixel(seed, qRgb(255, 255, 255));
        const int expected = referenceRegionSize(image, seed, qRgb(0, 0, 0));
        QImage filled = image.copy();
        // The fill colour equals the region's own colour: the fill must still end.
        EXPECT_EQ(floodFill(filled, seed, qRgb(0, 0, 0), qRgb(255, 255, 255)), expected) << "round " << round;
        EXPECT_EQ(filled, image);
        EXPECT_EQ(floodRegion(image, seed, qRgb(0, 0, 0)).count(), expected);
    }
}

TEST(FloodFill, DiagonalLineClosesARegion) {
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int i = 0; i < 10; ++i) image.setPixel(i, i, qRgb(0, 0, 0));
    EXPECT_EQ(floodFill(image, QPoint(9, 0), qRgb(0, 0, 0), qRgb(0, 128, 0)), 45);
    EXPECT_EQ(rgbAt(image, 9, 0), GREEN_RGB);
    EXPECT_EQ(rgbAt(image, 0, 9), WHITE_RGB);
}

TEST(FloodFill, SeedOnTheBorderOrOutsideFillsNothing) {
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::black);
    image.setPixel(3, 3, qRgb(255, 255, 255));
    const QImage before = image.copy();
    EXPECT_EQ(floodFill(image, QPoint(0, 0), qRgb(0, 0, 0), qRgb(255, 0, 0)), 0);
    EXPECT_EQ(floodFill(image, QPoint(-1, 3), qRgb(0, 0, 0), qRgb(255, 0, 0)), 0);
    EXPECT_EQ(floodFill(image, QPoint(3, 8), qRgb(0, 0, 0), qRgb(255, 0, 0)), 0);
    EXPECT_EQ(image, before);
    EXPECT_EQ(floodFill(image, QPoint(3, 3), qRgb(0, 0, 0), qRgb(255, 0, 0)), 1);
}

TEST(FloodFill, SerpentineCorridorIsFilledToTheEnd) {
    // Walls with alternating gaps force the fill up and down the rows again and again.
    QImage image(61, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int x = 1; x < image.width(); x += 2) {
        for (int y = 0; y < image.height(); ++y) image.setPixel(x, y, qRgb(0, 0, 0));
        image.setPixel(x, (x / 2) % 2 == 0 ? image.height() - 1 : 0, qRgb(255, 255, 255));
    }
    QImage filled = image.copy();
    const int painted = floodFill(filled, QPoint(0, 0), qRgb(0, 0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(painted, referenceRegionSize(image, QPoint(0, 0), qRgb(0, 0, 0)));
    EXPECT_EQ(rgbAt(filled, image.width() - 1, 100), BLUE_RGB);
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    struct Case { double v; int rounded; };
    for (const Case c : {Case{0.5, 0}, Case{1.5, 2}, Case{2.5, 2}, Case{-0.5, 0}, Case{-1.5, -2}, Case{-2.6, -3},
                         Case{1.1547, 1}, Case{4.6188, 5}, Case{5.7735, 6}, Case{103.923, 104}, Case{84.0, 84}})
        EXPECT_EQ(roundHalfEven(c.v), c.rounded) << c.v;
}

TEST(Colours, StoredValuesAreBlueGreenRedFromTheTop) {
    EXPECT_EQ(toQColor(0x000000FF), QColor(255, 0, 0));
    EXPECT_EQ(toQColor(0x0000FF00), QColor(0, 255, 0));
    EXPECT_EQ(toQColor(0x00FF0000), QColor(0, 0, 255));
    EXPECT_EQ(toQColor(0x00123456), QColor(0x56, 0x34, 0x12));
}

}  // namespace
}  // namespace vexel
