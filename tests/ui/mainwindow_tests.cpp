// The main window driven as a user would: menu commands, clicks and keys on
// the board, whole games, the idle work and the layout.
#include "app/vexelapp.h"
#include "core/board.h"
#include "core/headlessview.h"
#include "core/record.h"
#include "core/replay.h"
#include "core/speeds.h"
#include "core/strongsearch.h"
#include "net/client.h"
#include "net/hostserver.h"
#include "settings/Vexcentr.h"
#include "settings/Vexfehlr.h"
#include "settings/Vexsieg.h"
#include "ui/animation.h"
#include "ui/boarddraw.h"
#include "ui/boardwidget.h"
#include "ui/gamerecordfiles.h"
#include "ui/netgame.h"
#include "ui/recordfile.h"
#include "ui/turnpanelwidget.h"

#include <QAction>
#include <QCheckBox>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

using namespace vexel;

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("vexel-window-" + std::to_string(::getpid()) + "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder_);
        app_ = std::make_unique<VexelApp>(folder_, 7);
        window().askYesNo = [this](const QString&, const QString&) {
            ++questions_;
            return answerYes_;
        };
        window().tell = [](const QString&, const QString&) {};
        window().warn = [](const QString&, const QString&) {};
        window().show();
        QCoreApplication::processEvents();
    }
    void TearDown() override {
        // Leave without the closing question.
        if (window().game().state().gameRunning) window().game().endGame();
        app_->settings.soundOn = false;
        window().close();
        app_.reset();
        std::filesystem::remove_all(folder_);
    }

    TMainWindow& window() { return *app_->window; }
    Settings& settings() { return app_->settings; }
    GameState& state() { return window().game().state(); }

    void seatsPlaying(std::initializer_list<std::pair<int, PlayerKind>> seats) {
        for (PlayerSlot& slot : settings().playerSettings) slot.kind = PlayerKind::NotPlaying;
        for (auto [seat, kind] : seats) settings().playerSettings[seat].kind = kind;
    }

    QPoint holePoint(CellIndex c) {
        const PixelPoint p = window().drawing().cellPos(c);
        return {p.x, p.y};
    }
    void click(CellIndex c) { QTest::mouseClick(window().board(), Qt::LeftButton, {}, holePoint(c)); }

    // Runs the event loop until `done` holds or `ms` pass.
    template <class F>
    bool runUntil(F done, int ms) {
        QElapsedTimer timer;
        timer.start();
        while (!done()) {
            if (timer.elapsed() > ms) return false;
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        }
        return true;
    }

    // Seats 0 and 3 human at `speed`, a new game started.
    void startHumanGame(std::uint8_t speed) {
        seatsPlaying({{0, PlayerKind::Human}, {3, PlayerKind::Human}});
        settings().humanSpeed = speed;
        window().mNeuesSpielClick();
    }
    // Clicks a legal single step of the seat to move and commits it; returns (start, landing).
    std::pair<CellIndex, CellIndex> commitSomeStep() {
        const auto step = someStep();
        click(step.first);
        click(step.second);
        click(step.second);
        return step;
    }

    // A legal single step for the seat to move: (peg hole, empty neighbour).
    std::pair<CellIndex, CellIndex> someStep() {
        const GameState& s = state();
        for (int k = 0; k < s.pegsPerPlayer; ++k) {
            const CellIndex from = s.pegs[s.currentPlayer][k].cell;
            for (int d = 0; d < 6; ++d) {
                const CellIndex to = NEIGHBOURS[from][d];
                if (to != NO_PEG && s.occupancy[to] == NO_PEG) return {from, to};
            }
        }
        return {NO_PEG, NO_PEG};
    }

    std::filesystem::path folder_;
    std::unique_ptr<VexelApp> app_;
    bool answerYes_ = true;
    int questions_ = 0;
};

// Answers every winners display that opens: Continue while offered, else Game Over.
struct WinnersAnswerer {
    QTimer timer;
    int answered = 0;
    std::function<void()> seen;  // called while each display is open
    WinnersAnswerer() {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<TSiegerAnzeige*>(QApplication::activeModalWidget());
            if (!dialog) return;
            if (seen) seen();
            auto* weiter = dialog->findChild<QPushButton*>("WeiterButton");
            auto* ende = dialog->findChild<QPushButton*>("EndeButton");
            ++answered;
            if (weiter && weiter->isVisible())
                QMetaObject::invokeMethod(weiter, "click", Qt::QueuedConnection);
            else if (ende)
                QMetaObject::invokeMethod(ende, "click", Qt::QueuedConnection);
        });
        timer.start(10);
    }
};

TEST_F(MainWindowTest, OpensAtTheLargestLevelWithTheTitlePicture) {
    EXPECT_EQ(window().sizeUnit(), window().maxSizeUnit());
    EXPECT_EQ(window().board()->size(), QSize(200 * window().sizeUnit(), 178 * window().sizeUnit()));
    EXPECT_EQ(window().windowTitle(), "Vexel");
    // Title picture: seat 3's ring and seat 2's outer ring and centre.
    EXPECT_EQ(state().occupancy[28], 3);
    EXPECT_EQ(state().occupancy[60], 2);
    EXPECT_EQ(state().occupancy[0], NO_PEG);
    const QImage& surface = window().drawing().surface();
    const PixelPoint centre = window().drawing().cellPos(60);
    EXPECT_EQ(QColor(surface.pixel(centre.x, centre.y)), QColor(255, 255, 0)) << "seat 2's default colour is yellow";
}

TEST_F(MainWindowTest, LayoutFollowsTheSizeLevel) {
    for (int u : {1, 2, 3}) {
        window().applySizeUnit(u, true);
        QCoreApplication::processEvents();
        EXPECT_EQ(window().board()->geometry(), QRect(0, 0, 200 * u, 178 * u));
        EXPECT_EQ(window().turnPanel()->geometry(), QRect(198 * u, 8 * u, 54 * u, 160 * u));
        EXPECT_EQ(window().turnPanel()->moveNumberLabel()->isVisibleTo(window().turnPanel()), u > 1) << "level " << u;
        EXPECT_EQ(window().drawing().surface().size(), QSize(200 * u, 178 * u));
    }
}

TEST_F(MainWindowTest, LanguageSwitchRecaptionsWindowMenuAndMoveNumber) {
    seatsPlaying({{0, PlayerKind::Human}, {3, PlayerKind::Human}});
    window().mNeuesSpielClick();
    auto* item = window().findChild<QAction*>("mSwitchtoEnglish");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), "Switch to &English");
    EXPECT_EQ(window().turnPanel()->moveNumberLabel()->text(), "Zug Nr.1");
    window().SprachenClick();
    EXPECT_EQ(window().windowTitle(), "Vexel Stars");
    EXPECT_EQ(item->text(), "Auf &Deutsch schalten");
    EXPECT_EQ(window().findChild<QAction*>("mNeuesSpiel")->text(), "&New game");
    EXPECT_EQ(window().turnPanel()->moveNumberLabel()->text(), "Move No.1");
    EXPECT_TRUE(state().gameRunning) << "the running game is not disturbed";
    window().SprachenClick();
    EXPECT_EQ(window().windowTitle(), "Vexel");
    EXPECT_EQ(window().findChild<QAction*>("mZuruecksetzen")->text(), "&Zurücksetzen");
}

TEST_F(MainWindowTest, QtsOwnButtonsFollowTheLanguage) {
    const auto buttons = [] {
        QMessageBox box(QMessageBox::Question, "", "", QMessageBox::Yes | QMessageBox::No);
        return box.button(QMessageBox::Yes)->text().remove('&') + "/" + box.button(QMessageBox::No)->text().remove('&');
    };
    EXPECT_EQ(buttons(), "Ja/Nein");
    window().SprachenClick();
    EXPECT_EQ(buttons(), "Yes/No");
    window().SprachenClick();
    EXPECT_EQ(buttons(), "Ja/Nein");
}

TEST_F(MainWindowTest, DialogsAreCreatedInTheProgramsOrder) {
    QStringList order;
    for (const auto* dialog : window().findChildren<TCenteredForm*>(Qt::FindDirectChildrenOnly))
        order << QString(dialog->metaObject()->className()).remove("vexel::");
    EXPECT_EQ(order.join(' '), "TAboutBox TOptionenDlg TEnvironDlg TFehlerWin TCompLevelDlg TSiegerAnzeige");
}

TEST_F(MainWindowTest, MouseSelectsStepsAndCommitsWithMarksOnTheSurface) {
    seatsPlaying({{0, PlayerKind::Human}, {3, PlayerKind::Human}});
    settings().humanSpeed = 0;
    window().mNeuesSpielClick();
    const auto [from, to] = someStep();
    ASSERT_NE(from, NO_PEG);
    const QImage before = window().drawing().surface().copy();
    click(from);
    EXPECT_EQ(state().movePathLength, 1);
    const QImage selected = window().drawing().surface().copy();
    EXPECT_NE(selected, before);
    click(to);
    EXPECT_TRUE(state().stepMade);
    click(from);  // selecting the peg again drops the step
    EXPECT_EQ(state().movePathLength, 1);
    EXPECT_EQ(window().drawing().surface(), selected) << "marks match the path exactly";
    click(to);
    const Seat mover = state().currentPlayer;
    click(to);  // a second click on the last hole commits
    ASSERT_TRUE(runUntil([&] { return state().currentPlayer != mover; }, 5000));
    EXPECT_EQ(state().occupancy[to], mover);
    EXPECT_EQ(state().occupancy[from], NO_PEG);
}

TEST_F(MainWindowTest, IdleWorkRunsAboutOncePerFrameNotThousandsOfTimes) {
    seatsPlaying({{0, PlayerKind::Human}, {3, PlayerKind::Human}});
    settings().humanSpeed = 3;
    settings().moveSoundOn = false;
    window().mNeuesSpielClick();
    const auto [from, to] = someStep();
    click(from);
    click(to);
    const std::uint64_t before = window().idleCalls();
    const Seat mover = state().currentPlayer;
    click(to);
    ASSERT_TRUE(runUntil([&] { return state().currentPlayer != mover; }, 5000));
    const std::uint64_t calls = window().idleCalls() - before;
    // One hop at speed 3: 14 frames, the start of the hop and the end of the move.
    EXPECT_GE(calls, 15u);
    EXPECT_LE(calls, 40u);
}

TEST_F(MainWindowTest, KeyboardCursorEntersAMove) {
    seatsPlaying({{0, PlayerKind::Human}, {3, PlayerKind::Human}});
    window().mNeuesSpielClick();
    QTest::keyClick(&window(), Qt::Key_Up);
    EXPECT_TRUE(state().keyboardCursorShown);
    EXPECT_EQ(state().keyboardCursor[state().currentPlayer], 60);
    QTest::keyClick(&window(), Qt::Key_Up);
    EXPECT_EQ(state().keyboardCursor[state().currentPlayer], 51);
}

TEST_F(MainWindowTest, AllComputerGameAtSpeedZeroPlaysToTheEnd) {
    seatsPlaying({{0, PlayerKind::Computer}, {3, PlayerKind::Computer}});
    settings().playerSettings[0].level = 2;
    settings().playerSettings[3].level = 2;
    settings().computerSpeed = 0;
    settings().soundOn = false;
    WinnersAnswerer answerer;
    // With both places taken the game is over while the display still shows:
    // nothing is left to resume, even should the program be killed now.
    int autosavesWhileShown = 0;
    answerer.seen = [&] { autosavesWhileShown += std::filesystem::exists(window().records()->autosavePath()); };
    window().mNeuesSpielClick();
    ASSERT_TRUE(state().gameRunning);
    ASSERT_TRUE(std::filesystem::exists(window().records()->autosavePath()));
    ASSERT_TRUE(runUntil([&] { return !state().gameRunning; }, 120000)) << "move " << state().moveNumber;
    EXPECT_GE(answerer.answered, 1);
    EXPECT_EQ(autosavesWhileShown, 0);
    EXPECT_NE(state().finishOrder[0], NO_PEG);
    EXPECT_NE(state().finishOrder[1], NO_PEG);
}

// A hosted game whose network player drops out: in that seat's turn the turn
// panel says whom the game waits for. Given to the computer, the seat is
// played at the host, and its player coming back finds no seat left.
TEST_F(MainWindowTest, ANetworkSeatWaitsForItsPlayerByNameUntilTheComputerTakesIt) {
    seatsPlaying({{0, PlayerKind::Human}, {3, PlayerKind::Human}});
    settings().networkSeats = 0b001000;
    settings().playerSettings[3].level = 2;
    settings().humanSpeed = settings().computerSpeed = 0;
    settings().soundOn = false;
    NetGame& net = *window().net();
    ASSERT_TRUE(net.host(0));
    NetClient ben;
    ben.join("127.0.0.1", net.netHost()->port(), net.code(), "Ben");
    ASSERT_TRUE(runUntil([&] { return state().gameRunning && ben.welcomed(); }, 5000));
    ben.leave();
    ASSERT_TRUE(runUntil([&] { return !net.netHost()->seats()[3].connected; }, 5000));
    if (state().currentPlayer == 0) commitSomeStep();
    ASSERT_TRUE(runUntil([&] { return state().currentPlayer == 3 && !state().moveInProgress; }, 5000));
    const QLabel* name = window().turnPanel()->nameLabel();
    EXPECT_EQ(name->text(), "wartet auf Ben");
    EXPECT_FALSE(window().game().acceptsBoardInput());  // nobody here may move for Ben

    const std::size_t before = window().game().playedMoves().size();
    net.giveToComputer(3);
    EXPECT_EQ(state().players[3].kind, PlayerKind::Computer);
    ASSERT_TRUE(runUntil([&] { return window().game().playedMoves().size() > before; }, 5000));
    EXPECT_EQ(window().game().playedMoves()[before].seat, 3);

    QSignalSpy refused(&ben, &NetClient::refused);
    ben.join("127.0.0.1", net.netHost()->port(), net.code(), "Ben");
    ASSERT_TRUE(runUntil([&] { return refused.size() == 1; }, 5000));
    EXPECT_EQ(refused[0][0].toString(), "no free seat");
    EXPECT_TRUE(refused[0][1].toBool());
}

// A joined window held by a dialog while the host's computer moves shows that
// move once the dialog closes, with no further message to wake it: its own
// seat is next, so none would come, and both programs would wait for ever.
TEST_F(MainWindowTest, AJoinedWindowShowsTheMoveThatCameWhileADialogWasOpen) {
    settings().humanSpeed = settings().computerSpeed = 0;
    settings().soundOn = false;
    Settings hostSettings;
    hostSettings.computerSpeed = 0;
    for (PlayerSlot& slot : hostSettings.playerSettings) slot.kind = PlayerKind::NotPlaying;
    hostSettings.playerSettings[0].kind = PlayerKind::Computer;
    hostSettings.playerSettings[0].level = 2;
    hostSettings.playerSettings[3].kind = PlayerKind::Human;
    HeadlessView hostView;
    Random hostRandom(1);
    Game hostGame(hostSettings, hostView, hostRandom);
    do hostGame.newGame();
    while (hostGame.state().currentPlayer != 0);
    NetHost host;
    host.setCode("ACDEF3");
    host.setNetworkSeats(0b001000);
    host.currentRecord = [&] { return writeRecord(recordOf(hostGame, hostSettings, {})); };
    ASSERT_TRUE(host.listen(0));
    ASSERT_TRUE(window().net()->join(QString("127.0.0.1:%1").arg(host.port()), "Ben", "ACDEF3"));
    ASSERT_TRUE(runUntil([&] { return state().gameRunning && state().currentPlayer == 0; }, 5000));

    QTimer::singleShot(0, [&] {
        hostGame.computerTurnStep();
        hostGame.computerTurnStep();
        if (hostGame.state().moveInProgress) hostGame.completeMove();
        host.sendMove(0, hostGame.playedMoves().front());
        QTest::qWait(300);  // the move arrives while the dialog is open
        EXPECT_TRUE(window().game().playedMoves().empty());
        QApplication::activeModalWidget()->close();
    });
    window().mSiegerClick();
    ASSERT_TRUE(runUntil([&] { return window().game().playedMoves().size() == 1 && state().currentPlayer == 3; }, 2000));
    EXPECT_EQ(window().game().playedMoves().front(), hostGame.playedMoves().front());
    EXPECT_TRUE(window().game().acceptsBoardInput());  // Ben's turn, here
}

TEST_F(MainWindowTest, AbortDuringAHopLeavesTheMovingPegOffTheBoard) {
    startHumanGame(5);
    const auto [from, to] = commitSomeStep();
    ASSERT_TRUE(runUntil([&] { return state().stepAnimating; }, 3000));
    window().Spielabbrechen();
    EXPECT_EQ(questions_, 1);
    EXPECT_FALSE(state().gameRunning);
    EXPECT_EQ(state().occupancy[from], NO_PEG);
    EXPECT_EQ(state().occupancy[to], NO_PEG);
    // Nothing is pending: the idle work has stopped.
    const std::uint64_t calls = window().idleCalls();
    QTest::qWait(100);
    EXPECT_EQ(window().idleCalls(), calls);
}

TEST_F(MainWindowTest, NothingMovesBehindAnyMessageBox) {
    seatsPlaying({{0, PlayerKind::Computer}, {3, PlayerKind::Computer}});
    settings().computerSpeed = 1;
    settings().moveSoundOn = false;
    // Real boxes this time, answered when they have stood for a while.
    window().tell = [this](const QString& title, const QString& text) { QMessageBox::information(&window(), title, text); };
    window().askYesNo = [this](const QString& title, const QString& text) {
        return QMessageBox::question(&window(), title, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    };
    int boxes = 0;
    std::uint64_t callsWhenShown = 0;
    int ticksShown = 0;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        if (ticksShown++ == 0) {
            ++boxes;
            callsWhenShown = window().idleCalls();
            return;
        }
        if (ticksShown < 30) return;
        EXPECT_EQ(window().idleCalls(), callsWhenShown) << "box " << boxes << ": the game went on behind it";
        ticksShown = 0;
        QAbstractButton* button = box->button(QMessageBox::Ok) ? box->button(QMessageBox::Ok) : box->button(QMessageBox::No);
        QMetaObject::invokeMethod(button, "click", Qt::QueuedConnection);
    });
    answer.start(10);
    window().mNeuesSpielClick();
    ASSERT_TRUE(runUntil([&] { return state().moveInProgress || state().movePathLength > 0; }, 5000));
    window().mZuruecksetzenClick();  // the OK box of the reset
    window().Spielabbrechen();       // the Yes/No question, answered No
    EXPECT_EQ(boxes, 2);
    EXPECT_TRUE(state().gameRunning);
    const std::uint64_t calls = window().idleCalls();
    EXPECT_TRUE(runUntil([&] { return window().idleCalls() > calls; }, 3000)) << "the game goes on after the boxes";
}

TEST_F(MainWindowTest, NewGameQuestionAnsweredNoKeepsTheGame) {
    seatsPlaying({{0, PlayerKind::Human}, {3, PlayerKind::Human}});
    window().mNeuesSpielClick();
    const auto occupancy = state().occupancy;
    const auto [from, to] = someStep();
    click(from);
    answerYes_ = false;
    window().mNeuesSpielClick();
    EXPECT_EQ(questions_, 1);
    EXPECT_TRUE(state().gameRunning);
    EXPECT_EQ(state().movePathLength, 1) << "the selection stays";
    EXPECT_EQ(state().occupancy, occupancy);
}

TEST_F(MainWindowTest, NoGameStartsWhenNobodyPlays) {
    seatsPlaying({});
    window().mNeuesSpielClick();
    EXPECT_FALSE(state().gameRunning);
    EXPECT_EQ(window().idleCalls(), 0u);
}

TEST_F(MainWindowTest, AHopGoesOnAtTheNewScaleWhenTheLevelChanges) {
    window().applySizeUnit(2, true);
    startHumanGame(5);
    const Seat mover = state().currentPlayer;
    const CellIndex to = commitSomeStep().second;
    ASSERT_TRUE(runUntil([&] { return state().stepAnimating; }, 3000));
    window().applySizeUnit(3, true);
    ASSERT_TRUE(runUntil([&] { return state().currentPlayer != mover; }, 5000));
    // The peg stands on its hole at the new scale: its colour at the hole centre.
    const PixelPoint p = window().drawing().cellPos(to);
    const ColourRef colour = settings().pegColours[state().players[mover].colour];
    EXPECT_EQ(window().drawing().surface().pixelColor(p.x, p.y), toQColor(colour));
    EXPECT_EQ(window().drawing().surface().size(), QSize(600, 534));
}

// A repaint after the last frame of a move, before the move is completed (one
// idle call later), keeps the peg on its landing: the completion only enters
// it in the game and draws nothing.
TEST_F(MainWindowTest, ARepaintBetweenTheLastFrameAndTheCompletionKeepsThePeg) {
    startHumanGame(0);
    const Seat mover = state().currentPlayer;
    const CellIndex to = commitSomeStep().second;
    ASSERT_TRUE(state().moveInProgress);
    // The idle work by hand, so that nothing runs between the last frame and the repaint.
    for (int call = 0; call < 20 && (state().stepAnimating || state().animStep < state().movePathLength); ++call)
        window().Almost_Nothing_To_Do();
    ASSERT_TRUE(state().moveInProgress && !state().stepAnimating);
    window().applySizeUnit(window().sizeUnit(), false);
    window().Almost_Nothing_To_Do();
    ASSERT_NE(state().currentPlayer, mover);
    const PixelPoint p = window().drawing().cellPos(to);
    const ColourRef colour = settings().pegColours[state().players[mover].colour];
    EXPECT_EQ(window().drawing().surface().pixelColor(p.x, p.y), toQColor(colour));
}

TEST_F(MainWindowTest, AWindowResizedByHandSnapsToALevel) {
    window().applySizeUnit(1, true);
    QCoreApplication::processEvents();
    const int menu = window().height() - window().centralWidget()->height();
    window().resize(600, 400 + menu);
    QCoreApplication::processEvents();
    EXPECT_EQ(window().sizeUnit(), 2);
    EXPECT_EQ(window().centralWidget()->size(), QSize(512, 360));
    window().resize(500, 350 + menu);
    QCoreApplication::processEvents();
    EXPECT_EQ(window().sizeUnit(), 1);
    EXPECT_EQ(window().centralWidget()->size(), QSize(256, 180));
}

TEST_F(MainWindowTest, AFailedSaveShowsTheErrorWindowUntilTheUserTicksItsBox) {
    // A folder where the settings file should be: the save cannot replace it.
    std::filesystem::create_directory(folder_ / "VEXEL.CFG");
    int shown = 0;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* error = qobject_cast<TFehlerWin*>(QApplication::activeModalWidget());
        if (!error) return;
        ++shown;
        error->findChild<QCheckBox*>("CheckBox")->setChecked(true);
        QMetaObject::invokeMethod(error->findChild<QPushButton*>("OKButton"), "click", Qt::QueuedConnection);
    });
    answer.start(10);
    window().mOptionenspeichernClick();
    EXPECT_EQ(shown, 1);
    window().mOptionenspeichernClick();
    EXPECT_EQ(shown, 1) << "ticked: not shown again in this run";
    EXPECT_TRUE(std::filesystem::is_directory(folder_ / "VEXEL.CFG"));
}

TEST_F(MainWindowTest, SavedSettingsComeBackAtTheNextStart) {
    settings().humanSpeed = 5;
    settings().language = Language::English;
    settings().playerSettings[2].setName("Zoë");
    window().mOptionenspeichernClick();
    ASSERT_TRUE(std::filesystem::exists(folder_ / "VEXEL.CFG"));
    EXPECT_EQ(std::filesystem::file_size(folder_ / "VEXEL.CFG"), 200u);
    VexelApp second(folder_, 1);
    EXPECT_EQ(second.settings.humanSpeed, 5);
    EXPECT_EQ(second.settings.language, Language::English);
    EXPECT_EQ(second.window->windowTitle(), "Vexel Stars");
    EXPECT_EQ(second.settings.playerSettings[2].nameBytes(), "Zoë");
    second.settings.soundOn = false;
}

// The hop's arc for one hop in each direction, at 2 frames (speed 0) and 14
// (speed 3): on the line between the holes, lifted towards the top of the
// screen, rounded half to even (frame 7 of 14 up-right: 14.5 rows up gives 14).
struct HopRow {
    Direction direction;
    PixelPoint to;
    int frames, frame;
    PixelPoint expected;
};
const HopRow HOPS[] = {
    {UpRight, {110, 83}, 2, 1, {95, 86}},     {UpRight, {110, 83}, 14, 4, {95, 90}},
    {UpRight, {110, 83}, 14, 7, {95, 86}},    {UpRight, {110, 83}, 14, 14, {110, 83}},
    {Right, {120, 100}, 2, 1, {110, 88}},     {Right, {120, 100}, 14, 4, {106, 91}},
    {Right, {120, 100}, 2, 2, {120, 100}},    {DownRight, {110, 117}, 2, 1, {115, 102}},
    {DownRight, {110, 117}, 14, 4, {111, 100}}, {DownRight, {110, 117}, 14, 7, {115, 102}},
    {DownLeft, {90, 117}, 2, 1, {85, 102}},   {DownLeft, {90, 117}, 14, 4, {89, 100}},
    {DownLeft, {90, 117}, 14, 14, {90, 117}}, {Left, {80, 100}, 2, 1, {90, 88}},
    {Left, {80, 100}, 14, 4, {94, 91}},       {UpLeft, {90, 83}, 2, 1, {105, 86}},
    {UpLeft, {90, 83}, 14, 4, {105, 90}},     {UpLeft, {90, 83}, 14, 7, {105, 86}},
};

TEST(HopArc, EveryDirectionAtTwoSpeeds) {
    for (const HopRow& row : HOPS) {
        const PixelPoint at = hopPosition({100, 100}, row.to, row.direction, 12, row.frame, row.frames);
        EXPECT_EQ(at, row.expected) << "direction " << int(row.direction) << ", frame " << row.frame << " of "
                                    << row.frames << ": (" << at.x << ", " << at.y << ")";
    }
}

// Per speed: frames per hop, the gap between frames, the pause between hops,
// the computer's pause after each marked hole, and whether a hop sounds.
struct SpeedRow {
    int frames, frameGap, pause, markingDelay;
    bool hopSound;
};
const SpeedRow SPEEDS[] = {
    {2, 0, 0, 0, false},     {6, 30, 50, 50, true},    {10, 50, 100, 100, true},
    {14, 50, 180, 300, true}, {20, 50, 250, 500, true}, {28, 60, 500, 900, true},
};

TEST(HopSpeeds, FramesGapsPausesAndTheHopSound) {
    for (int speed = 0; speed < 6; ++speed) {
        const SpeedRow& row = SPEEDS[speed];
        EXPECT_EQ(STEP_PAUSE[std::size_t(speed)], row.pause) << "speed " << speed;
        EXPECT_EQ(COMPUTER_STEP_DELAY[std::size_t(speed)], row.markingDelay) << "speed " << speed;

        // One single step of a human seat, carried out by the animation.
        Settings settings;
        settings.humanSpeed = std::uint8_t(speed);
        settings.moveSoundOn = true;
        for (PlayerSlot& slot : settings.playerSettings) slot.kind = PlayerKind::NotPlaying;
        settings.playerSettings[0].kind = PlayerKind::Human;
        settings.playerSettings[3].kind = PlayerKind::Human;
        HeadlessView view;
        Random random(1);
        Game game(settings, view, random);
        BoardDrawing drawing(game.state(), settings);
        drawing.setSizeUnit(2);
        MoveAnimation animation(game, drawing, view);
        game.newGame();
        GameState& s = game.state();
        CellIndex from = NO_PEG, to = NO_PEG;
        for (int k = 0; k < s.pegsPerPlayer && to == NO_PEG; ++k) {
            from = s.pegs[s.currentPlayer][k].cell;
            for (int d = 0; d < 6 && to == NO_PEG; ++d)
                if (NEIGHBOURS[from][d] != NO_PEG && s.occupancy[NEIGHBOURS[from][d]] == NO_PEG) to = NEIGHBOURS[from][d];
        }
        ASSERT_NE(to, NO_PEG);
        game.clickHole(from);
        game.clickHole(to);
        game.clickHole(to);
        ASSERT_TRUE(s.moveInProgress);
        animation.advanceMove();
        ASSERT_TRUE(s.stepAnimating);
        int frames = 0;
        while (s.stepAnimating && frames < 100) {
            animation.animateFrame();
            ++frames;
            if (s.stepAnimating) {
                EXPECT_EQ(s.nextFrameTime - view.clock, std::uint32_t(row.frameGap)) << "speed " << speed;
            }
        }
        EXPECT_EQ(frames, row.frames) << "speed " << speed;
        EXPECT_EQ(std::count(view.sounds.begin(), view.sounds.end(), 3), row.hopSound ? 1 : 0) << "speed " << speed;
    }
}

namespace {

// A headless game whose pegs and marks are drawn on a real board surface.
struct DrawnView : HeadlessView {
    BoardDrawing* drawing = nullptr;
    void drawBoard() override { drawing->drawBoard(); }
    void drawPlayerPeg(Seat seat, int peg) override { drawing->drawPlayerPeg(seat, peg); }
    void toggleHoleMark(CellIndex cell) override {
        HeadlessView::toggleHoleMark(cell);
        drawing->toggleHoleMark(cell);
    }
};

}  // namespace

// A swap in the target, played through the animation: the mover ends on the
// hole, the home seat's peg on the start, and nothing of either is left
// where it was; the board is pixel for pixel a fresh repaint. With
// VEXEL_SCREENSHOT_DIR set, the picture of the help and the documents
// (swap-in-target.png: the move entered, then made) is written there.
TEST(HouseRulesAnimation, ASwapLeavesTheBoardAsAFreshRepaintShowsIt) {
    Settings settings;
    settings.rules.swapInTarget = true;
    settings.humanSpeed = 2;
    for (PlayerSlot& slot : settings.playerSettings) slot.kind = PlayerKind::NotPlaying;
    settings.playerSettings[0].kind = PlayerKind::Human;
    settings.playerSettings[3].kind = PlayerKind::Human;
    DrawnView view;
    Random random(1);
    Game game(settings, view, random);
    BoardDrawing drawing(game.state(), settings);
    drawing.setSizeUnit(3);
    view.drawing = &drawing;
    MoveAnimation animation(game, drawing, view);
    game.newGame();
    GameState& s = game.state();
    // Late in a game: seat 0 has eight pegs home, one on K7 and one behind;
    // seat 3 keeps one peg at home on O2, its other pegs home or on their way.
    const int k7 = cellAt(0, 10), m8 = cellAt(2, 12), n3 = cellAt(1, 13), o2 = cellAt(0, 14);
    const std::vector<int> own = {120, 119, 118, 117, 115, 114, 113, 112, cellAt(-6, 12), k7};
    const std::vector<int> other = {o2, 0, 1, 2, 3, 4, 5, 7, cellAt(-1, 5), cellAt(1, 11)};
    s.occupancy.fill(NO_PEG);
    for (int k = 0; k < 10; ++k) {
        s.pegs[0][k].cell = CellIndex(own[std::size_t(k)]);
        s.occupancy[own[std::size_t(k)]] = 0;
        s.pegs[3][k].cell = CellIndex(other[std::size_t(k)]);
        s.occupancy[other[std::size_t(k)]] = 3;
    }
    s.currentPlayer = 0;
    s.computerToMove = false;
    drawing.repaint();
    ASSERT_EQ(s.occupancy[n3], 0);  // the peg jumped over on the way

    for (int h : {k7, m8, o2}) game.clickHole(CellIndex(h));
    ASSERT_EQ(s.movePathLength, 3);
    const QImage entered = drawing.surface().copy();
    game.clickHole(CellIndex(o2));
    ASSERT_TRUE(s.moveInProgress);
    for (int guard = 0; s.moveInProgress && guard < 1000; ++guard) {
        if (s.stepAnimating)
            animation.animateFrame();
        else
            animation.advanceMove();
    }
    ASSERT_FALSE(s.moveInProgress);
    EXPECT_EQ(s.occupancy[o2], 0);
    EXPECT_EQ(s.occupancy[k7], 3);
    const QImage made = drawing.surface().copy();
    drawing.repaint();
    EXPECT_TRUE(made == drawing.surface()) << "a peg left behind or missing after the swap";

    if (const char* dir = std::getenv("VEXEL_SCREENSHOT_DIR")) {
        const int gap = 12;
        QImage picture(entered.width() * 2 + gap, entered.height(), QImage::Format_RGB32);
        picture.fill(Qt::white);
        QPainter painter(&picture);
        painter.drawImage(0, 0, entered);
        painter.drawImage(entered.width() + gap, 0, made);
        painter.end();
        EXPECT_TRUE(picture.save(QString::fromLocal8Bit(dir) + "/swap-in-target.png"));
    }
}

}  // namespace

// ---- Take back and hint ---------------------------------------------------

namespace {

// What a take back restores, and that nothing is left running or marked.
void expectBackTo(TMainWindow& window, const GameState& saved, const QImage& board) {
    const GameState& s = window.game().state();
    EXPECT_EQ(s.occupancy, saved.occupancy);
    EXPECT_EQ(s.currentPlayer, saved.currentPlayer);
    EXPECT_EQ(s.moveNumber, saved.moveNumber);
    EXPECT_FALSE(s.moveInProgress);
    EXPECT_FALSE(s.stepAnimating);
    EXPECT_FALSE(s.computerToMove);
    EXPECT_EQ(s.movePathLength, 0);
    EXPECT_TRUE(window.drawing().surface() == board) << "no mark, no half-drawn peg: the board as it was";
    // Nothing is pending: the idle work has stopped.
    const std::uint64_t calls = window.idleCalls();
    QTest::qWait(100);
    EXPECT_EQ(window.idleCalls(), calls);
}

}  // namespace

TEST_F(MainWindowTest, TakeBackDuringAHopAndDuringTheComputersMarkingRestoresTheBoard) {
    seatsPlaying({{0, PlayerKind::Human}, {3, PlayerKind::Computer}});
    settings().humanSpeed = 5;
    settings().computerSpeed = 1;
    settings().soundOn = false;
    settings().moveSoundOn = false;
    auto* takeBack = window().findChild<QAction*>("mZugzuruecknehmen");
    ASSERT_NE(takeBack, nullptr);
    EXPECT_EQ(takeBack->shortcut(), QKeySequence("Ctrl+Z"));
    QCoreApplication::processEvents();
    EXPECT_FALSE(takeBack->isEnabled()) << "no game";
    window().mNeuesSpielClick();
    ASSERT_TRUE(runUntil([&] { return state().currentPlayer == 0 && !state().computerToMove && !state().moveInProgress; }, 20000));
    QCoreApplication::processEvents();
    EXPECT_FALSE(takeBack->isEnabled()) << "no human move yet";
    const GameState saved = state();
    const QImage before = window().drawing().surface().copy();

    // During a hop, through the shortcut.
    const auto [from, to] = commitSomeStep();
    ASSERT_TRUE(runUntil([&] { return state().stepAnimating; }, 3000));
    QTest::qWait(200);  // a few frames into the hop
    ASSERT_TRUE(state().stepAnimating);
    EXPECT_TRUE(takeBack->isEnabled());
    QTest::keyClick(&window(), Qt::Key_Z, Qt::ControlModifier);
    {
        SCOPED_TRACE("during a hop");
        expectBackTo(window(), saved, before);
    }
    EXPECT_FALSE(takeBack->isEnabled()) << "back at the game's start";

    // During the computer's marking: the idle work by hand until its move is marked.
    settings().humanSpeed = 0;
    click(from);
    click(to);
    click(to);
    for (int i = 0; i < 1000 && !(state().computerToMove && state().computerPhase == 1); ++i) window().Almost_Nothing_To_Do();
    ASSERT_TRUE(state().computerToMove && state().computerPhase == 1);
    EXPECT_NE(window().drawing().surface(), before);
    window().mZugzuruecknehmenClick();
    {
        SCOPED_TRACE("during the computer's marking");
        expectBackTo(window(), saved, before);
    }
}

namespace {

// The hint's diamond: its left corner and a pixel of its upper left side are
// inverted, the path mark's square at 4s is not touched.
// The window's tests need a legal move of the strongest level, not its depth:
// a small budget keeps them quick, also under ThreadSanitizer.
constexpr StrongBudget QUICK_SEARCH{2'000};

void expectHintMarks(TMainWindow& window, const QImage& plain, const QImage& hinted, const std::vector<CellIndex>& holes) {
    const int s = window.sizeUnit();
    for (CellIndex c : holes) {
        const PixelPoint p = window.drawing().cellPos(c);
        EXPECT_EQ(hinted.pixel(p.x - 6 * s, p.y) & 0xFFFFFF, ~plain.pixel(p.x - 6 * s, p.y) & 0xFFFFFF) << "hole " << int(c);
        EXPECT_EQ(hinted.pixel(p.x - 3 * s, p.y - 3 * s) & 0xFFFFFF, ~plain.pixel(p.x - 3 * s, p.y - 3 * s) & 0xFFFFFF) << "hole " << int(c);
        EXPECT_EQ(hinted.pixel(p.x - 4 * s, p.y), plain.pixel(p.x - 4 * s, p.y)) << "hole " << int(c);
    }
}

}  // namespace

TEST_F(MainWindowTest, HintMarksTheMoveUntilTheNextKeyAndSurvivesARepaint) {
    seatsPlaying({{0, PlayerKind::Human}, {3, PlayerKind::Human}});
    auto* hint = window().findChild<QAction*>("mTipp");
    ASSERT_NE(hint, nullptr);
    EXPECT_EQ(hint->shortcut(), QKeySequence("H"));
    EXPECT_EQ(hint->text(), "&Tipp");
    EXPECT_EQ(window().findChild<QAction*>("mZugzuruecknehmen")->text(), "&Zug zurücknehmen");
    QCoreApplication::processEvents();
    EXPECT_FALSE(hint->isEnabled()) << "no game";
    window().thinker().setSearch([](const GameState& state, const Settings& settings, std::vector<CandidateMove>& ranked,
                                    const std::atomic<bool>* stop) { return searchStrongMove(state, settings, ranked, stop, QUICK_SEARCH); });
    window().mNeuesSpielClick();
    QCoreApplication::processEvents();
    EXPECT_TRUE(hint->isEnabled());
    const QImage plain = window().drawing().surface().copy();

    // Searched in the background: the marks come when the move is found.
    QTest::keyClick(&window(), Qt::Key_H);
    ASSERT_TRUE(runUntil([&] { return !window().game().hintHoles().empty(); }, 20000));
    const std::vector<CellIndex> holes(window().game().hintHoles().begin(), window().game().hintHoles().end());
    ASSERT_GE(holes.size(), 2u);
    EXPECT_EQ(state().occupancy[holes[0]], state().currentPlayer);
    EXPECT_FALSE(state().moveInProgress);
    const QImage hinted = window().drawing().surface().copy();
    expectHintMarks(window(), plain, hinted, holes);

    window().applySizeUnit(window().sizeUnit(), false);  // a full repaint keeps the hint on the board
    EXPECT_TRUE(window().drawing().surface() == hinted);
    QTest::keyClick(&window(), Qt::Key_Escape);  // the next key takes it off
    EXPECT_TRUE(window().game().hintHoles().empty());
    EXPECT_TRUE(window().drawing().surface() == plain);

    QTest::keyClick(&window(), Qt::Key_H);
    ASSERT_TRUE(runUntil([&] { return !window().game().hintHoles().empty(); }, 20000));
    // A click beside the board, on the window's white corner above the turn panel.
    const int s = window().sizeUnit();
    QTest::mouseClick(window().centralWidget(), Qt::LeftButton, {}, QPoint(201 * s, 2 * s));
    EXPECT_TRUE(window().game().hintHoles().empty());
    EXPECT_TRUE(window().drawing().surface() == plain);

    // The hinted peg selected, H again: the selection stays with its own mark,
    // the hint's marks come and go beside it, and the landing can be entered.
    click(holes[0]);
    const QImage selected = window().drawing().surface().copy();
    ASSERT_NE(selected, plain);
    QTest::keyClick(&window(), Qt::Key_H);
    ASSERT_TRUE(runUntil([&] { return !window().game().hintHoles().empty(); }, 20000));
    EXPECT_EQ(state().movePathLength, 1);
    EXPECT_EQ(state().movePath[0].cell, holes[0]);
    expectHintMarks(window(), selected, window().drawing().surface(), holes);
    click(holes[1]);
    EXPECT_TRUE(window().game().hintHoles().empty());
    ASSERT_EQ(state().movePathLength, 2);
    EXPECT_EQ(state().movePath[1].cell, holes[1]);
    click(holes[0]);  // back to the bare selection: exactly the picture before the hint
    EXPECT_TRUE(window().drawing().surface() == selected);
}

// ---- Thinking in the background ---------------------------------------------

namespace {

// A search held on the worker until released or stopped, then the real one.
struct HeldSearch {
    std::atomic<bool> release{false};
    std::atomic<int> started{0};
    std::atomic<int> stopped{0};
};

void holdThinker(TMainWindow& window, const std::shared_ptr<HeldSearch>& held) {
    window.thinker().setSearch([held](const GameState& state, const Settings& settings, std::vector<CandidateMove>& ranked,
                                      const std::atomic<bool>* stop) {
        ++held->started;
        while (!held->release.load() && !stop->load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (stop->load()) {
            ++held->stopped;
            return false;
        }
        return searchStrongMove(state, settings, ranked, stop, QUICK_SEARCH);
    });
}

}  // namespace

TEST_F(MainWindowTest, TheStrongestLevelThinksWhileTheWindowAnswersAndTakeBackNewGameAndHintKeysStopIt) {
    seatsPlaying({{0, PlayerKind::Human}, {3, PlayerKind::Computer}});
    settings().playerSettings[3].level = STRONG_LEVEL;
    settings().humanSpeed = 0;
    settings().computerSpeed = 0;
    settings().soundOn = false;
    settings().moveSoundOn = false;
    auto held = std::make_shared<HeldSearch>();
    holdThinker(window(), held);
    held->release = true;  // the computer's first move, should it begin
    window().mNeuesSpielClick();
    ASSERT_TRUE(runUntil([&] { return state().currentPlayer == 0 && !state().computerToMove && !state().moveInProgress; }, 20000));
    held->release = false;
    const GameState saved = state();
    const QImage before = window().drawing().surface().copy();

    for (const char* stopper : {"take back", "new game"}) {
        SCOPED_TRACE(stopper);
        const int started = held->started;
        commitSomeStep();
        ASSERT_TRUE(runUntil([&] { return held->started > started; }, 20000)) << "the computer thinks";
        // While it thinks the idle work sleeps and the window answers.
        EXPECT_TRUE(state().computerToMove);
        const std::uint64_t calls = window().idleCalls();
        QTest::qWait(100);
        EXPECT_LE(window().idleCalls() - calls, 2u) << "waiting must not spin";
        window().applySizeUnit(window().sizeUnit(), false);
        EXPECT_TRUE(window().thinker().busy());

        const int stopped = held->stopped;
        if (std::string(stopper) == "take back") {
            window().mZugzuruecknehmenClick();
            EXPECT_FALSE(window().thinker().busy());
            EXPECT_EQ(held->stopped, stopped + 1) << "the search saw its stop before the take back went on";
            expectBackTo(window(), saved, before);
        } else {
            window().mNeuesSpielClick();
            EXPECT_FALSE(window().thinker().busy());
            EXPECT_GE(held->stopped, stopped + 1);
            held->release = true;
            ASSERT_TRUE(runUntil([&] { return state().currentPlayer == 0 && !state().computerToMove && !state().moveInProgress; }, 20000));
            EXPECT_EQ(state().moveNumber, 1) << "no move of the old game came in";
            held->release = false;
        }
    }

    // A key while the hint is searched stops it, and no hint appears later.
    const int stopped = held->stopped;
    QTest::keyClick(&window(), Qt::Key_H);
    ASSERT_TRUE(window().thinker().busy());
    QTest::keyClick(&window(), Qt::Key_Escape);
    EXPECT_FALSE(window().thinker().busy());
    EXPECT_EQ(held->stopped, stopped + 1);
    held->release = true;
    QTest::qWait(50);
    EXPECT_TRUE(window().game().hintHoles().empty());

    // Released, the computer's move comes in and is entered.
    const auto occupancy = state().occupancy;
    commitSomeStep();
    ASSERT_TRUE(runUntil([&] { return state().currentPlayer == 0 && !state().computerToMove && !state().moveInProgress; }, 20000));
    int changed = 0;
    for (int h = 0; h < CELL_COUNT; ++h) changed += state().occupancy[h] != occupancy[h];
    EXPECT_GE(changed, 3) << "the human's step and the computer's move";
    window().stopBackgroundWork();
}

TEST_F(MainWindowTest, ARecordThatFailsChangesNothingAndAGoodOneTakesTheGameOver) {
    auto* save = window().findChild<QAction*>("mPartieSpeichern");
    ASSERT_NE(save, nullptr);
    EXPECT_FALSE(save->isEnabled()) << "nothing to save before the first game";
    QString told, title;
    window().warn = [&](const QString& caption, const QString& text) { title = caption, told = text; };

    startHumanGame(0);
    commitSomeStep();
    ASSERT_TRUE(runUntil([&] { return !state().moveInProgress; }, 5000));
    EXPECT_TRUE(save->isEnabled());
    const QString path = QString::fromStdString((folder_ / "game.vxg").string());
    ASSERT_TRUE(window().records()->saveFile(path));
    const GameState saved = state();
    // The running game's autosave holds the same game.
    ASSERT_TRUE(std::filesystem::exists(window().records()->autosavePath()));

    // Another move, then a damaged copy of the record: refused with its place,
    // without a question, and the game stays where it is.
    commitSomeStep();
    ASSERT_TRUE(runUntil([&] { return !state().moveInProgress; }, 5000));
    const GameState before = state();
    std::string text;
    RecordProblem error{};
    ASSERT_TRUE(readRecordFile(path.toStdString(), text, error));
    const std::size_t move = text.find("\n1. ");
    ASSERT_NE(move, std::string::npos);
    text.replace(move + 7, 2, "Z9");
    const QString bad = QString::fromStdString((folder_ / "bad.vxg").string());
    ASSERT_TRUE(writeRecordFile(bad.toStdString(), text, false, error));
    const int questions = questions_;
    EXPECT_FALSE(window().records()->openFile(bad));
    // Told with the opening's title, in the window's language.
    EXPECT_EQ(title, "Partie öffnen");
    EXPECT_TRUE(told.contains("bad.vxg:") && told.contains(": kein solches Loch: Z9")) << told.toStdString();
    EXPECT_EQ(questions_, questions);
    EXPECT_EQ(state().occupancy, before.occupancy);
    EXPECT_EQ(state().currentPlayer, before.currentPlayer);

    // The good record, after the question, brings back the saved position.
    told.clear();
    EXPECT_TRUE(window().records()->openFile(path));
    EXPECT_TRUE(told.isEmpty()) << told.toStdString();
    EXPECT_EQ(questions_, questions + 1);
    EXPECT_TRUE(state().gameRunning);
    EXPECT_EQ(state().occupancy, saved.occupancy);
    EXPECT_EQ(state().currentPlayer, saved.currentPlayer);
    EXPECT_EQ(state().moveNumber, saved.moveNumber);
    EXPECT_TRUE(window().game().canTakeBack());
}

TEST_F(MainWindowTest, TwoCopiesKeepTwoGamesAndResumeFindsTheOtherOnceItsCopyIsGone) {
    namespace fs = std::filesystem;
    startHumanGame(0);
    commitSomeStep();
    ASSERT_TRUE(runUntil([&] { return !state().moveInProgress; }, 5000));
    const fs::path first = window().records()->autosavePath();
    ASSERT_TRUE(fs::exists(first));
    std::string firstBytes, bytes;
    RecordProblem problem{};
    ASSERT_TRUE(readRecordFile(first, firstBytes, problem));

    // A second copy: it does not offer the first's running game, and its own
    // game goes into a file of its own beside it.
    auto second = std::make_unique<VexelApp>(folder_ / "second", 8);
    TMainWindow& other = *second->window;
    other.warn = [](const QString&, const QString&) {};
    EXPECT_FALSE(other.records()->canResume());
    EXPECT_EQ(other.records()->autosavePath(), first.parent_path() / "current-2.vxg");
    for (PlayerSlot& slot : second->settings.playerSettings) slot.kind = PlayerKind::NotPlaying;
    second->settings.playerSettings[1].kind = PlayerKind::Human;
    second->settings.playerSettings[4].kind = PlayerKind::Human;
    other.mNeuesSpielClick();
    ASSERT_TRUE(fs::exists(other.records()->autosavePath()));
    ASSERT_TRUE(readRecordFile(first, bytes, problem));
    EXPECT_EQ(bytes, firstBytes) << "the second copy wrote into the first's game";
    // The second copy goes away with its game running (as when killed).
    second.reset();

    // The first copy's game ends; Resume now finds the second copy's game,
    // takes it into its own file and leaves no copy of it behind.
    window().game().endGame();
    EXPECT_FALSE(fs::exists(first));
    app_.reset();
    app_ = std::make_unique<VexelApp>(folder_, 9);
    window().warn = [](const QString&, const QString&) {};
    ASSERT_TRUE(window().records()->canResume());
    EXPECT_EQ(window().records()->resumePath(), first.parent_path() / "current-2.vxg");
    window().records()->resume();
    ASSERT_TRUE(state().gameRunning);
    EXPECT_EQ(state().players[1].kind, PlayerKind::Human);
    EXPECT_TRUE(fs::exists(first));
    EXPECT_FALSE(fs::exists(first.parent_path() / "current-2.vxg"));
}

TEST_F(MainWindowTest, AFailedAutosaveIsToldOnceAndPlayGoesOn) {
    namespace fs = std::filesystem;
    int warnings = 0;
    QString told;
    window().warn = [&](const QString&, const QString& text) { ++warnings, told = text; };
    startHumanGame(0);
    // Something in the way at the autosave's name: every write fails.
    const fs::path autosave = window().records()->autosavePath();
    fs::remove(autosave);
    fs::create_directory(autosave);
    for (int i = 0; i < 3; ++i) {
        commitSomeStep();
        ASSERT_TRUE(runUntil([&] { return !state().moveInProgress; }, 5000));
    }
    QTest::qWait(50);
    EXPECT_EQ(warnings, 1);
    EXPECT_TRUE(told.contains("bis Zug 1")) << told.toStdString();
    EXPECT_TRUE(state().gameRunning);
    EXPECT_EQ(state().moveNumber, 2);
    // A note beside it tells the next start that the kept game stops short.
    std::string note;
    std::getline(std::ifstream(fs::path(autosave) += ".behind"), note);
    EXPECT_EQ(note, "1");
    window().game().endGame();
    fs::remove_all(autosave);
}

TEST_F(MainWindowTest, AResumeThatIsKnownToStopShortSaysSo) {
    namespace fs = std::filesystem;
    startHumanGame(0);
    commitSomeStep();
    ASSERT_TRUE(runUntil([&] { return !state().moveInProgress; }, 5000));
    const fs::path autosave = window().records()->autosavePath();
    const GameState kept = state();
    std::ofstream(fs::path(autosave) += ".behind") << "1\n";
    // The next start, the game left running.
    app_.reset();
    app_ = std::make_unique<VexelApp>(folder_, 9);
    QString told;
    window().warn = [&](const QString&, const QString& text) { told = text; };
    ASSERT_TRUE(window().records()->canResume());
    window().records()->resume();
    EXPECT_EQ(state().occupancy, kept.occupancy);
    EXPECT_TRUE(told.contains("nur bis Zug 1")) << told.toStdString();
    EXPECT_FALSE(fs::exists(fs::path(autosave) += ".behind"));
}

TEST_F(MainWindowTest, AnAbortedRecordOpensToPlayOn) {
    startHumanGame(0);
    commitSomeStep();
    ASSERT_TRUE(runUntil([&] { return !state().moveInProgress; }, 5000));
    const GameState before = state();
    window().Spielabbrechen();
    ASSERT_FALSE(state().gameRunning);
    const QString path = QString::fromStdString((folder_ / "aborted.vxg").string());
    ASSERT_TRUE(window().records()->saveFile(path));
    std::string text;
    RecordProblem problem{};
    ASSERT_TRUE(readRecordFile(path.toStdString(), text, problem));
    EXPECT_NE(text.find("\nStatus aborted\n"), std::string::npos) << text;
    EXPECT_TRUE(window().records()->openFile(path));
    EXPECT_TRUE(state().gameRunning);
    EXPECT_EQ(state().occupancy, before.occupancy);
    EXPECT_EQ(state().currentPlayer, before.currentPlayer);
}

TEST(RecordFiles, EachFailureHasItsOwnReason) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("vexel-recordfiles-" + std::to_string(::getpid()));
    fs::create_directories(dir / "folder");
    std::string text;
    RecordProblem problem{};
    ASSERT_TRUE(writeRecordFile(dir / "big.vxg", std::string(MAX_RECORD_BYTES, '#'), false, problem));
    std::ofstream(dir / "bigger.vxg") << std::string(MAX_RECORD_BYTES + 1, '#');
    ::mkfifo((dir / "fifo.vxg").c_str(), 0600);
    const struct {
        const char* name;
        RecordProblem problem;
    } cases[] = {
        {"missing.vxg", RecordProblem::NoFile},
        {"folder", RecordProblem::IsFolder},
        {"fifo.vxg", RecordProblem::NotRegular},
        {"bigger.vxg", RecordProblem::TooLarge},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(readRecordFile(dir / c.name, text, problem)) << c.name;
        EXPECT_EQ(problem, c.problem) << c.name;
    }
    // What the writer writes, the reader takes: the limits are one.
    EXPECT_TRUE(readRecordFile(dir / "big.vxg", text, problem));
    EXPECT_EQ(text.size(), MAX_RECORD_BYTES);
    EXPECT_FALSE(writeRecordFile(dir / "over.vxg", std::string(MAX_RECORD_BYTES + 1, '#'), false, problem));
    EXPECT_EQ(problem, RecordProblem::TooLargeToWrite);
    EXPECT_FALSE(fs::exists(dir / "over.vxg"));

    // The running game is kept only in a real folder of the user's own.
    fs::create_directory(dir / "theirs");
    fs::create_directory_symlink(dir / "folder", dir / "link");
    ASSERT_EQ(::chown((dir / "theirs").c_str(), 4321, 4321) == 0, ::geteuid() == 0);
    EXPECT_TRUE(ownFolder(dir / "folder"));
    EXPECT_FALSE(ownFolder(dir / "link"));
    EXPECT_FALSE(ownFolder(dir / "missing"));
    EXPECT_FALSE(ownFolder(dir / "big.vxg"));
    if (::geteuid() == 0) {
        EXPECT_FALSE(ownFolder(dir / "theirs"));
    }
    EXPECT_FALSE(writeRecordFile(dir / "link" / "current.vxg", "x", true, problem));
    EXPECT_FALSE(fs::exists(dir / "folder" / "current.vxg"));
    fs::remove_all(dir);
}

TEST_F(MainWindowTest, TheCommandLineOpensAnyFileNameAndNamesWhatItLeavesAlone) {
    startHumanGame(0);
    commitSomeStep();
    ASSERT_TRUE(runUntil([&] { return !state().moveInProgress; }, 5000));
    const QString good = QString::fromStdString((folder_ / "good.vxg").string());
    ASSERT_TRUE(window().records()->saveFile(good));
    const GameState saved = state();
    window().game().endGame();
    // A name that is no UTF-8, as the system may hand it over.
    const std::string odd = (folder_ / "name-\xff\xfe.vxg").string();
    std::filesystem::copy_file(folder_ / "good.vxg", odd);
    QStringList told;
    window().warn = [&](const QString&, const QString& text) { told << text; };
    window().records()->openFromCommandLine({odd, (folder_ / "other.vxg").string()});
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].contains("other.vxg") && told[0].contains("Nicht geöffnet")) << told[0].toStdString();
    EXPECT_TRUE(state().gameRunning);
    EXPECT_EQ(state().occupancy, saved.occupancy);
}
