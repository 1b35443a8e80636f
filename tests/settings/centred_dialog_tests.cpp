// Where dialogs open, how they report their closing, the About box and the
// error window of a failed save.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "dialog_test_support.h"
#include "settings/Vexcentr.h"
#include "settings/Vexfehlr.h"
#include "settings/Vexinfo.h"
#include "settings/Vexopti2.h"
#include "settings/Vexoptio.h"
#include "settings/Vexsieg.h"
#include "settings/Vexspeed.h"

namespace vexel {
namespace {

using testing::child;
using testing::OnModal;

struct PlacementCase {
    const char* what;
    QRect mainWindow;
    QPoint expected;
};

// A 200 x 100 dialog on a 1024 x 768 screen.
TEST(CentredPosition, FollowsTheMainWindowAndKeepsTheTopLeftOnScreen) {
    const QSize dialog(200, 100);
    const QSize screen(1024, 768);
    const PlacementCase cases[] = {
        {"centred over a window in the middle", QRect(212, 184, 600, 400), QPoint(412, 334)},
        {"odd sizes round towards zero", QRect(11, 21, 301, 201), QPoint(61, 71)},
        {"left edge beyond screen width minus dialog width", QRect(900, 184, 600, 400), QPoint(824, 334)},
        {"left edge exactly at the limit is still centred", QRect(824, 184, 600, 400), QPoint(1024, 334)},
        {"top edge beyond screen height minus dialog height", QRect(212, 700, 600, 400), QPoint(412, 668)},
        {"partly left of the screen", QRect(-700, 184, 600, 400), QPoint(0, 334)},
        {"partly above the screen", QRect(212, -500, 600, 400), QPoint(412, 0)},
        {"a centre at exactly 0 stays 0", QRect(-200, -150, 200, 200), QPoint(0, 0)},
    };
    for (const PlacementCase& c : cases) EXPECT_EQ(centredPosition(dialog, c.mainWindow, screen), c.expected) << c.what;
}

TEST(CentredPosition, ScreenCentringNeverGoesNegative) {
    EXPECT_EQ(screenCentredPosition(QSize(200, 100), QSize(1024, 768)), QPoint(412, 334));
    EXPECT_EQ(screenCentredPosition(QSize(1100, 900), QSize(1024, 768)), QPoint(0, 0));
}

class CentredDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        screen = QGuiApplication::primaryScreen()->geometry().size();
        main.setGeometry(40, 30, 400, 300);
        main.show();  // so that it has a frame, as the real main window has
    }
    // Shows the dialog with showCentred, records where it stands while open
    // (its outer rectangle, frame included) and closes it with `result`.
    QRect openedAt(TCenteredForm& dialog, ModalResult result = ModalResult::Ok) {
        QRect where;
        OnModal closer([&](QWidget* open) {
            where = open->frameGeometry();
            static_cast<QDialog*>(open)->done(int(result));
        });
        EXPECT_EQ(dialog.showCentred(&main), result);
        return where;
    }
    QPoint overMain(QRect dialog) const { return centredPosition(dialog.size(), main.frameGeometry(), screen); }

    QSize screen;
    QWidget main;
    Settings settings;
    GameState game;
};

TEST_F(CentredDialogs, TheAboutBoxOpensOverTheMainWindowEveryTime) {
    TAboutBox about(settings, &main);
    const QRect first = openedAt(about);
    const QRect frame = main.frameGeometry();
    const QPoint expected(frame.left() + frame.width() / 2 - first.width() / 2,
                          frame.top() + frame.height() / 2 - first.height() / 2);
    EXPECT_EQ(first.topLeft(), expected) << "the first showing guesses its frame from the main window's";
    EXPECT_EQ(openedAt(about).topLeft(), expected);
}

TEST_F(CentredDialogs, PlayersLevelAndWinnersOpenOnTheScreenCentreOnlyTheFirstTime) {
    TCompLevelDlg level(settings, &main);
    TOptionenDlg players(settings, level, {}, &main);
    players.drawPreview = [](QImage&, const Settings&) {};
    TSiegerAnzeige winners(settings, game, &main);
    for (TCenteredForm* dialog : std::initializer_list<TCenteredForm*>{&players, &level, &winners}) {
        const QRect first = openedAt(*dialog);
        EXPECT_EQ(first.topLeft(), screenCentredPosition(first.size(), screen)) << dialog->objectName().toStdString();
        const QRect second = openedAt(*dialog);
        EXPECT_EQ(second.topLeft(), overMain(second)) << dialog->objectName().toStdString();
        EXPECT_NE(second.topLeft(), first.topLeft());
    }
}

TEST_F(CentredDialogs, TheEnvironmentDialogOpensOverTheMainWindowAtOnce) {
    TEnvironDlg environment(settings, WindowSizing{[] { return 3; }, [] { return 2; }, [](int) {}}, {}, &main);
    const QRect first = openedAt(environment, ModalResult::Cancel);
    EXPECT_EQ(first.topLeft(), overMain(first));
}

TEST_F(CentredDialogs, AMainWindowPushedRightPutsTheDialogAgainstTheRightEdge) {
    main.setGeometry(screen.width() - 100, 30, 400, 300);
    TAboutBox about(settings, &main);
    const QRect at = openedAt(about);
    EXPECT_EQ(at.right() + 1, screen.width());
    EXPECT_EQ(at.top(), overMain(at).y()) << "only the left edge is pulled back";
}

TEST_F(CentredDialogs, AMainWindowPartlyAboveAndLeftPutsTheDialogAtZero) {
    main.setGeometry(-390, -290, 400, 300);
    TAboutBox about(settings, &main);
    EXPECT_EQ(openedAt(about).topLeft(), QPoint(0, 0));
}

TEST_F(CentredDialogs, TheCloseBoxGivesCancel) {
    TAboutBox about(settings, &main);
    OnModal closer([](QWidget* open) { open->close(); });
    EXPECT_EQ(about.showCentred(&main), ModalResult::Cancel);
}

TEST_F(CentredDialogs, TheAboutBoxFollowsTheLanguageButKeepsItsCaption) {
    TAboutBox about(settings, &main);
    for (const auto& [language, title] : {std::pair{Language::German, "Vexel"}, std::pair{Language::English, "Vexel Stars"}}) {
        settings.language = language;
        about.show();
        EXPECT_EQ(about.windowTitle(), "Info");
        EXPECT_EQ(child<QLabel>(about, "Titel")->text(), title);
        EXPECT_EQ(child<QLabel>(about, "Version")->text(), "Version 1.1 / 1999");
        about.hide();
    }
}

TEST(ErrorWindow, ShowsInGermanUntilTheUserTicksTheBox) {
    QWidget main;
    main.setGeometry(40, 30, 400, 300);
    TFehlerWin error(&main);

    {  // First failed save: shown, closed by its frame without ticking.
        OnModal closer([](QWidget* open) {
            EXPECT_EQ(open->windowTitle(), "Fehler");
            EXPECT_EQ(child<QLabel>(*open, "Fehler")->text(),
                      QString::fromUtf8("Die Einstellungen können nicht gespeichert werden."));
            EXPECT_FALSE(child<QCheckBox>(*open, "CheckBox")->isChecked());
            open->close();
        });
        error.showSaveError(&main);
        EXPECT_EQ(closer.runs(), 1);
        EXPECT_TRUE(error.showSaveErrors());
    }
    {  // Second: the box starts clear again; the user ticks it and presses OK.
        OnModal closer([](QWidget* open) {
            EXPECT_FALSE(child<QCheckBox>(*open, "CheckBox")->isChecked());
            child<QCheckBox>(*open, "CheckBox")->setChecked(true);
            child<QPushButton>(*open, "OKButton")->click();
        });
        error.showSaveError(&main);
        EXPECT_EQ(closer.runs(), 1);
        EXPECT_FALSE(error.showSaveErrors());
    }
    {  // Third: nothing is shown for the rest of the run.
        OnModal closer([](QWidget* open) { open->close(); });
        error.showSaveError(&main);
        EXPECT_EQ(closer.runs(), 0);
    }
}

}  // namespace
}  // namespace vexel
