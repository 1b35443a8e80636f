// Where dialogs open, how they report their closing, the About box, the
// error window of a failed save, and that every dialog shows its texts whole.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>

#include <string>
#include <vector>

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
    // Shows the dialog with showCentred over `over` (the main window unless
    // given), records where it stands while open (its outer rectangle, frame
    // included) and closes it with `result`.
    QRect openedAt(TCenteredForm& dialog, ModalResult result = ModalResult::Ok, QWidget* over = nullptr) {
        QRect where;
        OnModal closer([&](QWidget* open) {
            where = open->frameGeometry();
            static_cast<QDialog*>(open)->done(int(result));
        });
        EXPECT_EQ(dialog.showCentred(over != nullptr ? over : &main), result);
        return where;
    }
    QPoint overMain(QRect dialog) const { return centredPosition(dialog.size(), main.frameGeometry(), screen); }

    QSize screen;
    QWidget main;
    Settings settings;
    GameState game;
};

TEST_F(CentredDialogs, TheAboutBoxOpensOverTheMainWindowEveryTime) {
    // Also over a main window without a frame, which tells nothing of the
    // frame the dialog gets.
    QWidget frameless(nullptr, Qt::FramelessWindowHint);
    frameless.setGeometry(40, 30, 400, 300);
    frameless.show();
    for (QWidget* over : {&main, &frameless}) {
        TAboutBox about(settings, over);
        const QRect first = openedAt(about, ModalResult::Ok, over);
        const QRect frame = over->frameGeometry();
        const QPoint expected(frame.left() + frame.width() / 2 - first.width() / 2,
                              frame.top() + frame.height() / 2 - first.height() / 2);
        const bool framed = over == &main;
        EXPECT_EQ(first.topLeft(), expected) << "first showing, main window framed: " << framed;
        EXPECT_EQ(openedAt(about, ModalResult::Ok, over).topLeft(), expected) << "second showing, framed: " << framed;
    }
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

// A window manager may minimize or maximize a dialog although its hints ask
// for neither; every dialog, a message box too, is back in its normal state at once.
TEST_F(CentredDialogs, ADialogMinimizedOrMaximizedByTheWindowSystemComesBackNormal) {
    TAboutBox about(settings, &main);
    QMessageBox box(QMessageBox::Information, "Optionen", "Die Standardeinstellungen wurden wieder eingetragen.",
                    QMessageBox::Ok, &main);
    for (QDialog* dialog : std::initializer_list<QDialog*>{&about, &box}) {
        for (const Qt::WindowState state : {Qt::WindowMinimized, Qt::WindowMaximized, Qt::WindowFullScreen}) {
            Qt::WindowStates after = state;
            OnModal closer([&](QWidget* open) {
                open->setWindowState(state);
                QCoreApplication::processEvents();
                after = open->windowState();
                open->close();
            });
            dialog->exec();
            EXPECT_EQ(after, Qt::WindowNoState) << dialog->metaObject()->className() << " state " << int(state);
        }
    }
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

// ---- Every text shows whole ----------------------------------------------

// A caption as drawn: an accelerator's ampersand is not shown, "&&" shows one.
QString drawnText(QString text) {
    QString drawn;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) ++i;
        drawn += text[i];
    }
    return drawn;
}

// Describes how `widget` fails to show its whole text inside `dialog`, or
// returns "" when it shows it whole.
std::string textCut(const QWidget& widget, const QWidget& dialog) {
    QString text;
    QSize need;
    QRect room = widget.rect();
    const QFontMetrics metrics(widget.font());
    if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
        text = label->buddy() != nullptr ? drawnText(label->text()) : label->text();
        if (text.isEmpty()) return {};
        room = label->contentsRect().marginsRemoved(QMargins(label->margin(), label->margin(), label->margin(), label->margin()));
        need = label->wordWrap() ? metrics.boundingRect(room, int(label->alignment()) | Qt::TextWordWrap, text).size()
                                 : QSize(metrics.horizontalAdvance(text), metrics.height());
    } else if (const auto* button = qobject_cast<const QPushButton*>(&widget)) {
        text = drawnText(button->text());
        if (text.isEmpty()) return {};
        const int margin = widget.style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, &widget) +
                           2 * widget.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &widget);
        need = QSize(metrics.horizontalAdvance(text) + margin, metrics.height());
    } else if (const auto* box = qobject_cast<const QAbstractButton*>(&widget)) {
        text = drawnText(box->text());
        if (text.isEmpty()) return {};
        need = QSize(box->sizeHint().width(), metrics.height());  // indicator, spacing and text
    } else {
        return {};
    }
    const std::string name = widget.objectName().toStdString() + " \"" + text.toStdString() + "\"";
    if (need.width() > room.width() || need.height() > room.height())
        return name + " needs " + std::to_string(need.width()) + " x " + std::to_string(need.height()) + ", has " +
               std::to_string(room.width()) + " x " + std::to_string(room.height());
    for (const QWidget* w = &widget; w != &dialog && w->parentWidget() != nullptr; w = w->parentWidget())
        if (!w->parentWidget()->rect().contains(w->geometry()))
            return name + " sticks out of " + w->parentWidget()->objectName().toStdString();
    return {};
}

// Every cut text of the open dialog, one line each.
std::string cutTexts(const QWidget& dialog) {
    std::string cuts;
    for (const QWidget* widget : dialog.findChildren<QWidget*>())
        if (widget->isVisibleTo(&dialog))
            if (const std::string cut = textCut(*widget, dialog); !cut.empty()) cuts += cut + "\n";
    return cuts;
}

// Sets the application's font for the life of the object.
class ApplicationFont {
public:
    explicit ApplicationFont(const QFont& font) : saved_(QApplication::font()) { QApplication::setFont(font); }
    ~ApplicationFont() { QApplication::setFont(saved_); }

private:
    QFont saved_;
};

TEST(DialogTexts, EveryDialogShowsEveryTextWholeInBothLanguagesAlsoWithALargerFont) {
    QFont larger = QApplication::font();
    larger.setPointSizeF(larger.pointSizeF() + 2);
    for (const QFont& font : {QApplication::font(), larger}) {
        const ApplicationFont applied(font);
        for (const Language language : {Language::German, Language::English}) {
            const std::string where = (language == Language::German ? "German, " : "English, ") +
                                      std::to_string(font.pointSizeF()) + " pt: ";
            QWidget main;
            main.setGeometry(40, 30, 800, 600);
            main.show();
            Settings settings;
            settings.language = language;
            // Long names, as far as 21 characters go, and the widest letters.
            for (PlayerSlot& slot : settings.playerSettings) slot.setName("Maximilian Mustermann");
            settings.playerSettings[0].setName("WWWWWWWWWWWWWWWWWWWWW");
            settings.playerSettings[5].setName("MMMMMMMMMMMMMMMMMMMMM");
            GameState game;
            game.players = settings.playerSettings;

            // Opens the dialog with showCentred and checks it while it is open.
            auto check = [&](const char* what, auto show) {
                std::string cuts = "not shown";
                OnModal closer([&](QWidget* open) {
                    cuts = cutTexts(*open);
                    open->close();
                });
                show();
                EXPECT_EQ(cuts, "") << where << what;
            };

            TAboutBox about(settings, &main);
            check("About box", [&] { about.showCentred(&main); });
            TCompLevelDlg level(settings, &main);
            check("level dialog", [&] { level.chooseLevel(0, "Maximilian Mustermann"); });
            TOptionenDlg players(settings, level, {}, &main);
            check("players dialog", [&] { players.showCentred(&main); });
            TEnvironDlg environment(settings, WindowSizing{[] { return 5; }, [] { return 5; }, [](int) {}}, {}, &main);
            check("environment dialog", [&] { environment.showCentred(&main); });
            TFehlerWin error(&main);
            check("error window", [&] { error.showSaveError(&main); });
            TSiegerAnzeige winners(settings, game, &main);
            game.gameRunning = true;
            check("winners display, nobody finished", [&] { winners.showCentred(&main); });
            game.finishOrder = {0, 1, 2, 3, 4, 5};
            winners.updateWinnerList();
            check("winners display, every place taken", [&] { winners.showCentred(&main); });
        }
    }
}

}  // namespace
}  // namespace vexel
