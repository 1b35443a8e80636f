// What a screen reader is told: the holes' texts and the messages of moves,
// turns and finishes in both languages, the colours by name, and the board's
// accessible holes driven as assistive technology drives them.
#include "app/vexelapp.h"
#include "settings/Vexinfo.h"
#include "settings/Vexfehlr.h"
#include "settings/Vexopti2.h"
#include "settings/Vexoptio.h"
#include "settings/Vexsieg.h"
#include "settings/Vexspeed.h"
#include "settings/colournames.h"
#include "ui/boardwidget.h"
#include "ui/spokentexts.h"

#include <vector>

#include <QAbstractButton>
#include <QAccessible>
#include <QCoreApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>

using namespace vexel;

namespace {

constexpr Language DE = Language::German;
constexpr Language EN = Language::English;

// Anna (green, seat 0) plays Mimsel (red, seat 3); a peg of each on the board.
struct Table {
    GameState state;
    Settings settings;
    Table() {
        state.gameRunning = true;
        state.players[0] = makePlayerSlot(PlayerKind::Human, 0, 0, "Anna");
        state.players[3] = makePlayerSlot(PlayerKind::Computer, 2, 3, "Mimsel");
        state.occupancy[60] = 0;
        state.occupancy[28] = 3;
    }
    Table& in(Language language) {
        settings.language = language;
        return *this;
    }
};

TEST(SpokenTexts, HolesSayTheirNameAndWhatStandsThere) {
    struct Row {
        int cell;
        Language language;
        const char* text;
    };
    const Row rows[] = {
        {0, DE, "A1, leer"},
        {120, EN, "Q1, empty"},
        {60, DE, "I5, grüner Stein von Anna"},
        {60, EN, "I5, green peg of Anna"},
        {28, DE, "F6, roter Stein von Mimsel"},
        {28, EN, "F6, red peg of Mimsel"},
    };
    for (const Row& row : rows) {
        Table t;
        EXPECT_EQ(holeText(t.in(row.language).state, t.settings, CellIndex(row.cell)), QString::fromUtf8(row.text));
    }

    // A colour picked by hand is named by the nearest named colour.
    Table t;
    t.settings.pegColours[3] = 0x0000A0F0;  // (240, 160, 0)
    EXPECT_EQ(holeText(t.in(DE).state, t.settings, 28), QString::fromUtf8("F6, orangefarbener Stein von Mimsel"));
    // Outside a game the pegs are drawn, and named, in the players dialog's colours.
    t.state.gameRunning = false;
    t.settings.playerSettings[0].colour = 2;
    t.state.players[0] = {};
    EXPECT_EQ(holeText(t.in(EN).state, t.settings, 60), "I5, yellow peg");

    // With marks on the pegs a peg is named with the mark of its colour.
    Table m;
    m.settings.pegMarks = true;
    EXPECT_EQ(holeText(m.in(DE).state, m.settings, 60), QString::fromUtf8("I5, grüner Stein mit Punkt von Anna"));
    EXPECT_EQ(holeText(m.in(EN).state, m.settings, 28), "F6, red peg with a bar of Mimsel");
}

TEST(SpokenTexts, MovesTurnsFinishesAndTheEnd) {
    Table t;
    // A chain of jumps of Mimsel's: start, the landings on the way, the last landing.
    t.state.currentPlayer = 3;
    t.state.movePath[0].cell = 120;
    t.state.movePath[1].cell = 100;
    t.state.movePath[2].cell = 60;
    t.state.movePath[3].cell = 28;
    t.state.movePathLength = 3;  // hops, once committed
    EXPECT_EQ(committedMoveText(t.in(DE).state, t.settings), QString::fromUtf8("Mimsel: Q1 nach F6 über M3, I5"));
    EXPECT_EQ(committedMoveText(t.in(EN).state, t.settings), "Mimsel: Q1 to F6 over M3, I5");
    t.state.movePathLength = 1;
    EXPECT_EQ(committedMoveText(t.in(EN).state, t.settings), "Mimsel: Q1 to M3");
    const CellIndex hint[] = {16, 29};
    EXPECT_EQ(hintText(hint, t.in(DE).settings), "Tipp: E7 nach F7");

    // A name is taken as it is, with whatever signs it holds.
    t.state.players[0].setName("A&B %2");
    t.state.currentPlayer = 0;
    t.state.moveNumber = 12;
    EXPECT_EQ(turnText(t.in(DE).state, t.settings), "A&B %2 ist am Zug, Zug 12");
    EXPECT_EQ(turnText(t.in(EN).state, t.settings), "A&B %2 is to move, move 12");
    // Without a name a seat is called by its colour.
    t.state.players[0].setName("");
    EXPECT_EQ(turnText(t.in(DE).state, t.settings), QString::fromUtf8("grün ist am Zug, Zug 12"));

    t.state.currentPlayer = 3;
    t.state.finishOrder[0] = 3;
    EXPECT_EQ(finishText(t.in(EN).state, t.settings), "Mimsel has finished, place 1");
    t.state.players[0].setName("Anna");
    t.state.finishOrder[1] = 0;
    EXPECT_EQ(gameEndText(t.in(DE).state, t.settings), "Spielende: 1. Mimsel, 2. Anna");
    t.state.finishOrder.fill(NO_PEG);
    EXPECT_EQ(gameEndText(t.in(EN).state, t.settings), "Game over");
}

// What one message says when several things happened since the last one.
TEST(SpokenTexts, MessagesOfOneMomentAreJoinedAndManyMovesSummedUp) {
    using K = SpokenPart::Kind;
    const SpokenPart anna{K::Move, "Anna: E7 nach F7"};
    const SpokenPart mimsel{K::Move, QString::fromUtf8("Mimsel: P2 nach L7 über N2")};
    const SpokenPart mimselToMove{K::Turn, "Mimsel ist am Zug, Zug 1"};
    const SpokenPart annaToMove{K::Turn, "Anna ist am Zug, Zug 2"};
    const SpokenPart finished{K::Other, "Mimsel ist im Ziel, Platz 1"};
    const SpokenPart refusal{K::Other, "Kein erlaubter Zug."};
    struct Row {
        std::vector<SpokenPart> parts;
        const char* message;
    };
    const Row rows[] = {
        {{anna}, "Anna: E7 nach F7."},
        // A turn that a later move made old is left out; the last one stays.
        {{anna, mimselToMove, mimsel, annaToMove},
         "Anna: E7 nach F7. Mimsel: P2 nach L7 über N2. Anna ist am Zug, Zug 2."},
        {{mimselToMove, annaToMove}, "Anna ist am Zug, Zug 2."},
        // A finish is never left out, and a sentence that ends already keeps its one stop.
        {{mimsel, finished, annaToMove, refusal},
         "Mimsel: P2 nach L7 über N2. Mimsel ist im Ziel, Platz 1. Anna ist am Zug, Zug 2. Kein erlaubter Zug."},
        // Up to three moves are told one by one, more are summed up where the first stood.
        {{anna, mimsel, anna}, "Anna: E7 nach F7. Mimsel: P2 nach L7 über N2. Anna: E7 nach F7."},
        {{anna, mimselToMove, mimsel, finished, anna, mimsel, annaToMove},
         "4 Züge, zuletzt Mimsel: P2 nach L7 über N2. Mimsel ist im Ziel, Platz 1. Anna ist am Zug, Zug 2."},
        {{}, ""},
    };
    Settings settings;
    settings.language = DE;
    for (const Row& row : rows)
        EXPECT_EQ(joinedMessage(row.parts, settings), QString::fromUtf8(row.message)) << row.message;
    settings.language = EN;
    const std::vector<SpokenPart> many(5, SpokenPart{K::Move, "Mimsel: Q1 to M3"});
    EXPECT_EQ(joinedMessage(many, settings), "5 moves, the last Mimsel: Q1 to M3.");
}

TEST(ColourNames, TheDefaultColoursAndNearbyOnes) {
    struct Row {
        ColourRef colour;
        const char* german;
        const char* english;
    };
    const Row rows[] = {
        {DEFAULT_PEG_COLOURS[0], "grün", "green"},     {DEFAULT_PEG_COLOURS[1], "blau", "blue"},
        {DEFAULT_PEG_COLOURS[2], "gelb", "yellow"},    {DEFAULT_PEG_COLOURS[3], "rot", "red"},
        {DEFAULT_PEG_COLOURS[4], "magenta", "magenta"}, {DEFAULT_PEG_COLOURS[5], "türkis", "cyan"},
        {0x00101010, "schwarz", "black"},              {0x00F0F0F0, "weiß", "white"},
        {0x00640000, "dunkelblau", "dark blue"},       {0x00108010, "dunkelgrün", "dark green"},
        {0x00CBC0FF, "rosa", "pink"},                  {0x00808080, "grau", "grey"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(colourName(DE, row.colour), row.german) << std::hex << row.colour;
        EXPECT_EQ(colourName(EN, row.colour), row.english) << std::hex << row.colour;
    }
    EXPECT_EQ(pegOfColour(DE, 0x000000FF), "roter Stein");
    EXPECT_EQ(pegOfColour(EN, 0x000000FF), "red peg");
}

// The board's accessible holes, asked and pressed as a screen reader does.
TEST(AccessibleBoard, HolesAreNamedFocusedMarkedAndPressedLikeSpace) {
    const auto folder = std::filesystem::temp_directory_path() / ("vexel-a11y-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    {
        VexelApp app(folder, 3);
        app.settings.soundOn = false;
        for (PlayerSlot& slot : app.settings.playerSettings) slot.kind = PlayerKind::NotPlaying;
        app.settings.playerSettings[0] = makePlayerSlot(PlayerKind::Human, 0, 0, "Anna");
        app.settings.playerSettings[3] = makePlayerSlot(PlayerKind::Human, 0, 3, "Bert");
        TMainWindow& window = *app.window;
        window.show();
        QCoreApplication::processEvents();

        QAccessibleInterface* board = QAccessible::queryAccessibleInterface(window.board());
        ASSERT_NE(board, nullptr);
        ASSERT_EQ(board->childCount(), CELL_COUNT);
        QAccessibleInterface* centre = board->child(60);
        ASSERT_NE(centre, nullptr);
        EXPECT_EQ(centre->text(QAccessible::Name), QString::fromUtf8("I5, gelber Stein"));  // the title picture
        EXPECT_EQ(board->child(60), centre) << "a hole's interface is made once and kept";
        EXPECT_EQ(board->indexOfChild(centre), 60);
        EXPECT_EQ(centre->parent(), board);

        window.mNeuesSpielClick();
        GameState& s = window.game().state();
        const Seat mover = s.currentPlayer;
        const CellIndex peg = mover == 0 ? 16 : 104;  // E7 or M7, in front of the seat's point
        const CellIndex empty = mover == 0 ? 29 : 91;
        EXPECT_EQ(centre->text(QAccessible::Name), QString::fromUtf8("I5, leer"));
        EXPECT_EQ(board->child(peg)->text(QAccessible::Name).endsWith(mover == 0 ? "von Anna" : "von Bert"), true);
        EXPECT_EQ(board->focusChild(), nullptr) << "no cursor shown yet";

        // Press on a peg: the cursor goes there and Space selects it.
        QAccessibleActionInterface* action = board->child(peg)->actionInterface();
        ASSERT_NE(action, nullptr);
        action->doAction(QAccessibleActionInterface::pressAction());
        EXPECT_EQ(s.keyboardCursor[mover], peg);
        EXPECT_TRUE(s.keyboardCursorShown);
        EXPECT_EQ(board->focusChild(), board->child(peg));
        EXPECT_TRUE(board->child(peg)->state().focused);
        EXPECT_TRUE(board->child(peg)->state().selected);
        EXPECT_FALSE(board->child(empty)->state().selected);
        // Press on the empty hole in front: the step is entered, not yet made.
        board->child(empty)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        EXPECT_TRUE(board->child(empty)->state().selected);
        EXPECT_FALSE(board->child(peg)->state().focused);
        EXPECT_FALSE(s.moveInProgress);
        EXPECT_EQ(s.movePathLength, 2);

        // A hole's place on the screen is where the mouse finds it.
        const QPoint middle = board->child(empty)->rect().center();
        EXPECT_EQ(board->childAt(middle.x(), middle.y()), board->child(empty));

        window.game().endGame();
        window.close();
    }
    std::filesystem::remove_all(folder);
}

// Every control a user can reach has a name a screen reader can say, in both
// languages; a control added to a dialog later is caught here as well.
TEST(AccessibleDialogs, EveryControlHasAName) {
    const auto folder = std::filesystem::temp_directory_path() / ("vexel-a11y-dialogs-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    {
        VexelApp app(folder, 3);
        app.settings.soundOn = false;
        const auto unnamed = [](const QWidget* dialog) {
            QStringList missing;
            for (QWidget* w : dialog->findChildren<QWidget*>()) {
                const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                                     (w->focusPolicy() & Qt::TabFocus);
                if (!control || !w->isVisibleTo(dialog)) continue;
                QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
                if (!iface || iface->text(QAccessible::Name).trimmed().isEmpty()) missing << w->objectName();
            }
            return missing.join(QStringLiteral(" "));
        };
        for (const Language language : {DE, EN}) {
            app.settings.language = language;
            for (QWidget* dialog : std::initializer_list<QWidget*>{app.dialogs.about, app.dialogs.players,
                                                                   app.dialogs.environment, app.dialogs.error,
                                                                   app.dialogs.winners}) {
                dialog->show();
                EXPECT_EQ(unnamed(dialog).toStdString(), "") << dialog->objectName().toStdString();
                dialog->hide();
            }
            // The level dialog is filled only when it asks.
            QString levelMissing = QStringLiteral("not shown");
            QTimer::singleShot(0, [&] {
                levelMissing = unnamed(app.dialogs.level);
                app.dialogs.level->close();
            });
            app.dialogs.level->chooseLevel(1, QStringLiteral("Mimsel"));
            EXPECT_EQ(levelMissing.toStdString(), "");
        }

        // A colour swatch is pressed with Space and says its colour.
        TOptionenDlg& players = *app.dialogs.players;
        int asked = 0;
        players.chooseColour = [&](const QColor&, QWidget*) {
            ++asked;
            return QColor(255, 140, 0);
        };
        app.settings.language = DE;
        players.show();
        auto* swatch = players.findChild<QWidget*>(QStringLiteral("PaintBox2"));
        ASSERT_NE(swatch, nullptr);
        // A button that says what Space does on it.
        QAccessibleInterface* button = QAccessible::queryAccessibleInterface(swatch);
        EXPECT_EQ(button->role(), QAccessible::Button);
        EXPECT_EQ(button->text(QAccessible::Name), QString::fromUtf8("Farbe wählen: blau"));
        swatch->setFocus();
        QTest::keyClick(swatch, Qt::Key_Space);
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(button->text(QAccessible::Name), QString::fromUtf8("Farbe wählen: orange"));
        ASSERT_NE(button->actionInterface(), nullptr);
        button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        EXPECT_EQ(asked, 2);
        players.hide();
    }
    std::filesystem::remove_all(folder);
}

}  // namespace
