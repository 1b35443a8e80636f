// The turn panel's small star: its measures at every size level, its colours
// read back from the surface, and the peg of the seat to move; where the
// name and the move number stand.
#include "core/settings.h"
#include "paint/floodfill.h"
#include "ui/layout.h"
#include "ui/turnpanel.h"
#include "ui/turnpanelwidget.h"

#include <QFontMetrics>
#include <QImage>
#include <QLabel>

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace vexel {
namespace {

constexpr QRgb BLACK_RGB = 0x000000, WHITE_RGB = 0xFFFFFF, SILVER_RGB = 0xC0C0C0;

QRgb rgbAt(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }
QRgb rgbAt(const QImage& image, PixelPoint p) { return rgbAt(image, p.x, p.y); }
QRgb rgbOf(ColourRef c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

struct Expected {
    int s, H, T, r;
    int left, top, right, bottom;
    PixelPoint mark;
    std::array<PixelPoint, 6> seeds;
};

const Expected TABLE[] = {
    {1, 17, 6, 12, 3, 0, 27, 23, {15, 11}, {{{15, 3}, {22, 9}, {8, 9}, {22, 14}, {8, 14}, {15, 20}}}},
    {2, 35, 12, 23, 7, 0, 53, 47, {30, 23}, {{{30, 6}, {43, 18}, {17, 18}, {43, 29}, {17, 29}, {30, 41}}}},
    {3, 52, 17, 35, 10, 0, 80, 69, {45, 35}, {{{45, 9}, {65, 26}, {25, 26}, {65, 43}, {25, 43}, {45, 61}}}},
    {4, 69, 23, 46, 14, 0, 106, 92, {60, 46}, {{{60, 12}, {87, 35}, {33, 35}, {87, 57}, {33, 57}, {60, 80}}}},
    {5, 87, 29, 58, 17, 0, 133, 116, {75, 58}, {{{75, 14}, {108, 43}, {42, 43}, {108, 73}, {42, 73}, {75, 102}}}},
};

class TurnStar : public ::testing::TestWithParam<Expected> {
protected:
    QImage draw(const GameState& state) {
        const int s = GetParam().s;
        QImage canvas(TURN_PANEL_WIDTH_UNITS * s, TURN_PANEL_HEIGHT_UNITS * s, QImage::Format_RGB32);
        canvas.fill(Qt::red);  // whatever was there before is painted over
        drawTurnPanel(canvas, s, state, settings);
        return canvas;
    }
    Settings settings;
};
void PrintTo(const Expected& e, std::ostream* os) { *os << "size level " << e.s; }
INSTANTIATE_TEST_SUITE_P(Levels, TurnStar, ::testing::ValuesIn(TABLE),
                         [](const ::testing::TestParamInfo<Expected>& level) { return "s" + std::to_string(level.param.s); });

TEST_P(TurnStar, MeasuresFollowTheSizeLevel) {
    const Expected& e = GetParam();
    const TurnStarGeometry g = turnStarGeometry(e.s);
    EXPECT_EQ(g.H, e.H);
    EXPECT_EQ(g.T, e.T);
    EXPECT_EQ(g.r, e.r);
    EXPECT_EQ(g.ellipseLeft, e.left);
    EXPECT_EQ(g.ellipseTop, e.top);
    EXPECT_EQ(g.ellipseRight, e.right);
    EXPECT_EQ(g.ellipseBottom, e.bottom);
    EXPECT_EQ(turnMarkPos(e.s), e.mark);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(g.seeds[i], e.seeds[i]) << "seed " << i;
}

TEST_P(TurnStar, RimFillsItsBoxOnTheSilverPanel) {
    const Expected& e = GetParam();
    const QImage image = draw(GameState());
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (rgbAt(image, x, y) == SILVER_RGB) continue;
            left = std::min(left, x), right = std::max(right, x);
            top = std::min(top, y), bottom = std::max(bottom, y);
        }
    }
    EXPECT_EQ(QRect(QPoint(left, top), QPoint(right, bottom)), QRect(QPoint(e.left, e.top), QPoint(e.right, e.bottom)));
    EXPECT_EQ(rgbAt(image, 0, 0), SILVER_RGB);
    EXPECT_EQ(rgbAt(image, image.width() - 1, image.height() - 1), SILVER_RGB);
}

TEST_P(TurnStar, PointsAreSilverAndCentreAndMarginWhite) {
    const Expected& e = GetParam();
    const QImage image = draw(GameState());
    for (int i = 0; i < 6; ++i) EXPECT_EQ(rgbAt(image, e.seeds[i]), SILVER_RGB) << "seed " << i;
    EXPECT_EQ(rgbAt(image, e.mark), WHITE_RGB);  // no game: no peg
    // Between the rim and the star's left corners.
    EXPECT_EQ(rgbAt(image, 15 * e.s - 9 * e.s, (e.H + e.T) / 2), WHITE_RGB);
    // The six silver points are closed: none of them reaches the panel outside the rim.
    const FillRegion outside = floodRegion(image, QPoint(0, 0), qRgb(0, 0, 0));
    for (int i = 0; i < 6; ++i) EXPECT_FALSE(outside.contains(e.seeds[i].x, e.seeds[i].y)) << "seed " << i;
}

TEST_P(TurnStar, PegOfTheSeatToMoveOnlyWhileAGameRuns) {
    const Expected& e = GetParam();
    const int s = e.s;
    GameState state;
    state.gameRunning = true;
    state.players = DEFAULT_PLAYERS;
    state.currentPlayer = 4;
    state.players[4].colour = 2;  // the game's copy decides, not the settings
    settings.playerSettings[4].colour = 5;
    const QImage withPeg = draw(state);
    const QRgb yellow = rgbOf(settings.pegColours[2]);
    EXPECT_EQ(rgbAt(withPeg, e.mark), yellow);
    EXPECT_EQ(rgbAt(withPeg, e.mark.x + 2 * s, e.mark.y), yellow);
    EXPECT_EQ(rgbAt(withPeg, e.mark.x + 3 * s, e.mark.y), BLACK_RGB);
    EXPECT_EQ(rgbAt(withPeg, e.mark.x - 2 * s, e.mark.y), WHITE_RGB);  // highlight

    // The next drawing without a game paints the star over the old peg.
    QImage canvas = withPeg;
    state.gameRunning = false;
    drawTurnPanel(canvas, s, state, settings);
    EXPECT_EQ(canvas, draw(GameState()));
}

TEST(TurnPeg, DamagedSeatOrColourIndexWrapsRound) {
    Settings settings;
    GameState state;
    state.gameRunning = true;
    state.players = DEFAULT_PLAYERS;
    state.currentPlayer = 7;     // 7 % 6 = seat 1
    state.players[1].colour = 8;  // 8 % 6 = colour 2
    QImage canvas(60, 56, QImage::Format_RGB32);
    drawTurnPanel(canvas, 2, state, settings);
    EXPECT_EQ(rgbAt(canvas, turnMarkPos(2)), rgbOf(settings.pegColours[2]));
}

// The labels draw from the top of their boxes: the name's ink starts right
// below the box top 32s, and the move number's right below the top the layout
// gives it between the two rules, 50s + (26s - points) / 2.
TEST(TurnPanelText, InkStandsWhereTheLayoutPutsTheLabelTops) {
    for (int s : {2, 5}) {
        GameState state;
        Settings settings;
        TurnPanelWidget panel(state, settings, nullptr);
        panel.applySizeUnit(s);
        panel.showPlayerName("Spieler 1");
        panel.showMoveNumberText("Zug Nr.12");
        const QImage image = panel.grab().toImage();
        const int numberTop = 50 * s + (26 * s - panelFontPoints(s)) / 2;
        const struct {
            QLabel* label;
            int top;
        } labels[] = {{panel.nameLabel(), 32 * s}, {panel.moveNumberLabel(), numberTop}};
        for (const auto& [label, top] : labels) {
            ASSERT_EQ(label->geometry().top(), top) << "level " << s;
            int inkTop = -1, inkBottom = -1;
            for (int y = label->geometry().top(); y <= label->geometry().bottom(); ++y)
                for (int x = label->geometry().left(); x <= label->geometry().right(); ++x)
                    if (qGray(image.pixel(x, y)) < 96) {
                        if (inkTop < 0) inkTop = y;
                        inkBottom = y;
                        break;
                    }
            const QFontMetrics metrics(label->font());
            // Capitals and digits reach from the ascent's top less the cap height down to the baseline.
            const int capTop = top + metrics.ascent() - metrics.capHeight();
            EXPECT_GE(inkTop, capTop - 2) << "level " << s << ", " << label->objectName().toStdString();
            EXPECT_LE(inkTop, capTop + 2) << "level " << s << ", " << label->objectName().toStdString();
            EXPECT_LE(inkBottom, top + metrics.height()) << "level " << s << ", " << label->objectName().toStdString();
        }
        EXPECT_LT(numberTop + QFontMetrics(panel.moveNumberLabel()->font()).height(), 76 * s)
            << "the move number stands above the second rule at level " << s;
    }
}

}  // namespace
}  // namespace vexel
