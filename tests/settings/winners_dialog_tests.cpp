// The winners display before, during and after a game.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QPushButton>

#include <string>

#include "dialog_test_support.h"
#include "settings/Vexsieg.h"

namespace vexel {
namespace {

using testing::child;
using testing::OnModal;

class WinnersDisplay : public ::testing::Test {
protected:
    WinnersDisplay() : display(settings, game, &main) {}

    // Three players on seats 0, 2 and 4, as a game copies them.
    void startThreePlayerGame() {
        game = GameState{};
        game.players = DEFAULT_PLAYERS;
        for (const int s : {1, 3, 5}) game.players[s].kind = PlayerKind::NotPlaying;
        game.players[2].setName("J\xFCrgen");
        game.gameRunning = true;
    }
    QString line(int place) const { return child<QLabel>(display, ("Sieger" + std::to_string(place)).c_str())->text(); }
    QPushButton* weiter() const { return child<QPushButton>(display, "WeiterButton"); }
    QPushButton* ende() const { return child<QPushButton>(display, "EndeButton"); }

    QWidget main;
    Settings settings;
    GameState game;
    TSiegerAnzeige display;
};

TEST_F(WinnersDisplay, BeforeAnyGameAllLinesAreEmptyAndOnlyBeendenShows) {
    display.show();
    for (int place = 1; place <= 6; ++place) EXPECT_EQ(line(place), "") << place;
    EXPECT_FALSE(weiter()->isVisible());
    EXPECT_TRUE(ende()->isVisible());
    EXPECT_EQ(ende()->text(), "Beenden");
    EXPECT_EQ(display.focusWidget(), ende());
    EXPECT_EQ(display.windowTitle(), "Ruhm und Ehre");
    EXPECT_EQ(child<QLabel>(display, "Ueberschrift")->text(), "Die Sieger");
}

TEST_F(WinnersDisplay, DuringAGameWithNobodyFinishedTheGameIsStillTense) {
    startThreePlayerGame();
    display.show();
    EXPECT_EQ(line(1), "Noch ist das Spiel spannend!");
    for (int place = 2; place <= 6; ++place) EXPECT_EQ(line(place), "");
    EXPECT_TRUE(weiter()->isVisible());
    EXPECT_EQ(weiter()->text(), "Weiter");
    EXPECT_TRUE(ende()->isVisible());
    EXPECT_EQ(display.focusWidget(), weiter());
}

TEST_F(WinnersDisplay, AfterTheFirstFinishTheListShowsPlaceDotBlankName) {
    startThreePlayerGame();
    display.show();  // "still tense" first, replaced by the list
    display.hide();
    game.finishOrder[0] = 2;
    display.updateWinnerList();
    display.show();
    EXPECT_EQ(line(1), QString::fromUtf8("1. Jürgen"));
    for (int place = 2; place <= 6; ++place) EXPECT_EQ(line(place), "");
    EXPECT_TRUE(weiter()->isVisible());
    EXPECT_EQ(display.focusWidget(), weiter());
}

TEST_F(WinnersDisplay, WithEveryReachablePlaceTakenOnlyBeendenShows) {
    startThreePlayerGame();
    game.finishOrder[0] = 4;
    game.finishOrder[1] = 0;
    game.finishOrder[2] = 2;
    display.updateWinnerList();
    display.show();
    EXPECT_EQ(line(1), "1. Spieler 5");
    EXPECT_EQ(line(2), "2. Spieler 1");
    EXPECT_EQ(line(3), QString::fromUtf8("3. Jürgen"));
    EXPECT_EQ(line(4), "");
    EXPECT_FALSE(weiter()->isVisible());
    EXPECT_EQ(display.focusWidget(), ende());
}

TEST_F(WinnersDisplay, AfterTheGameTheLastOrderStaysWithoutWeiterUntilANewGameClearsIt) {
    startThreePlayerGame();
    game.finishOrder[0] = 4;
    display.updateWinnerList();
    game.gameRunning = false;  // aborted
    display.show();
    EXPECT_EQ(line(1), "1. Spieler 5");
    EXPECT_FALSE(weiter()->isVisible());
    display.hide();

    startThreePlayerGame();  // a new game: nobody has finished
    display.show();
    EXPECT_EQ(line(1), "Noch ist das Spiel spannend!");
}

TEST_F(WinnersDisplay, FollowsTheLanguage) {
    settings.language = Language::English;
    startThreePlayerGame();
    display.show();
    EXPECT_EQ(display.windowTitle(), "Hall Of Fame");
    EXPECT_EQ(child<QLabel>(display, "Ueberschrift")->text(), "The Winners");
    EXPECT_EQ(line(1), "The game is still tense!");
    EXPECT_EQ(weiter()->text(), "Continue");
    EXPECT_EQ(ende()->text(), "Game Over");
}

TEST_F(WinnersDisplay, WhereEveryTextFitsTheDesignedLayoutStands) {
    startThreePlayerGame();
    game.finishOrder = {4, 0, 2, NO_PEG, NO_PEG, NO_PEG};
    display.updateWinnerList();
    display.show();
    EXPECT_EQ(display.size(), QSize(400, 352));
    EXPECT_EQ(child<QLabel>(display, "Sieger6")->geometry(), QRect(72, 242, 300, 28));
    EXPECT_EQ(ende()->geometry(), QRect(272, 316, 120, 28));
}

TEST_F(WinnersDisplay, AWideNameWidensTheDisplayWhichStillOpensCentred) {
    startThreePlayerGame();
    game.players[4].setName("WWWWWWWWWWWWWWWWWWWWW");
    game.finishOrder = {4, 0, 2, NO_PEG, NO_PEG, NO_PEG};
    display.updateWinnerList();
    QRect where;
    OnModal closer([&](QWidget* open) {
        where = open->frameGeometry();
        open->close();
    });
    display.showCentred(&main);  // the first showing: centred on the screen
    EXPECT_GT(display.width(), 400);
    EXPECT_EQ(ende()->geometry().right() + 1, display.width() - 8) << "Beenden keeps to the right edge";
    EXPECT_EQ(where.topLeft(), screenCentredPosition(where.size(), QGuiApplication::primaryScreen()->geometry().size()))
        << "placed for the size it shows at";
}

TEST_F(WinnersDisplay, ButtonsAndCloseBoxGiveOkAbortAndCancel) {
    startThreePlayerGame();
    {
        OnModal press([](QWidget* open) { child<QPushButton>(*open, "WeiterButton")->click(); });
        EXPECT_EQ(display.showCentred(&main), ModalResult::Ok);
    }
    {
        OnModal press([](QWidget* open) { child<QPushButton>(*open, "EndeButton")->click(); });
        EXPECT_EQ(display.showCentred(&main), ModalResult::Abort);
    }
    {
        OnModal press([](QWidget* open) { open->close(); });
        EXPECT_EQ(display.showCentred(&main), ModalResult::Cancel);
    }
}

}  // namespace
}  // namespace vexel
