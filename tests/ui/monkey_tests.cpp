// A long, seeded stream of random input against the real main window: clicks
// anywhere, keys, every menu command in any order, resizes, language switches,
// dialogs answered with random buttons or their close box, new games and
// aborts at any moment, also during hops and computer turns. After every
// event the game's invariants hold and the board on screen is exactly what a
// fresh repaint of the same state would draw.
//
// VEXEL_MONKEY_EVENTS sets the number of events (default 1000), VEXEL_MONKEY_SEED the seed.
#include "app/vexelapp.h"
#include "core/random.h"
#include "ui/boardwidget.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

using namespace vexel;

namespace {

int envInt(const char* name, int fallback) {
    bool ok = false;
    const int v = qEnvironmentVariableIntValue(name, &ok);
    return ok ? v : fallback;
}

// Closes whatever modal dialog is open: a random button, or the close box.
class DialogAnswerer {
public:
    explicit DialogAnswerer(Random& random) : random_(random) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { answer(); });
        timer_.start(5);
    }

private:
    void answer() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) return;
        if (qEnvironmentVariableIsSet("VEXEL_MONKEY_TRACE"))
            std::fprintf(stderr, "  modal %s %s\n", modal->metaObject()->className(), qPrintable(modal->objectName()));
        QList<QAbstractButton*> buttons;
        for (QAbstractButton* b : modal->findChildren<QAbstractButton*>())
            if (b->isVisible() && b->isEnabled()) buttons.append(b);
        const std::uint32_t pick = random_.below(std::uint32_t(buttons.size()) + 2);
        // Queued, so that a dialog the click opens in turn gets answered by this
        // timer too (a timer does not fire again while its own slot runs).
        if (pick < std::uint32_t(buttons.size())) {
            // May toggle a radio or check box and leave the dialog open.
            QMetaObject::invokeMethod(buttons[int(pick)], "click", Qt::QueuedConnection);
        } else {
            QMetaObject::invokeMethod(modal, "close", Qt::QueuedConnection);  // the close box
        }
    }
    Random& random_;
    QTimer timer_;
};

class Monkey : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() / ("vexel-monkey-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    std::filesystem::path folder_;
};

TEST_F(Monkey, RandomInputNeverBreaksTheGame) {
    const int events = envInt("VEXEL_MONKEY_EVENTS", 1000);
    const auto seed = std::uint64_t(envInt("VEXEL_MONKEY_SEED", 2024));
    Random random(seed);
    VexelApp app(folder_, seed);
    TMainWindow& window = *app.window;
    app.settings.soundOn = false;
    app.settings.moveSoundOn = false;
    app.settings.humanSpeed = 1;
    app.settings.computerSpeed = 0;
    window.askYesNo = [&](const QString&, const QString&) { return random.below(2) == 0; };
    window.tell = [](const QString&, const QString&) {};
    window.warn = [](const QString&, const QString&) {};
    window.show();
    DialogAnswerer answerer(random);
    // A watchdog: no single event may hold the program for long.
    int currentEvent = 0;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        std::fprintf(stderr, "monkey: event %d hangs; modal widget: %s\n", currentEvent,
                     modal ? modal->metaObject()->className() : "none");
        std::abort();
    });

    const char* actions[] = {"mNeuesSpiel", "mNeuesSpiel",     "mNeuesSpiel", "mSpielabbrechen",    "mSieger",
                             "mSpieler",    "mUmgebung",       "mSwitchtoEnglish", "mOptionenspeichern", "mZuruecksetzen",
                             "mInfo",       "mInhalt",         "mZugzuruecknehmen", "mTipp"};
    const int keys[] = {Qt::Key_Up,    Qt::Key_Down, Qt::Key_Left, Qt::Key_Right, Qt::Key_Space, Qt::Key_Return,
                        Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Tab, Qt::Key_A,   Qt::Key_F1,    Qt::Key_Delete};
    PlayerSlots playersAtStart{};
    const bool trace = qEnvironmentVariableIsSet("VEXEL_MONKEY_TRACE");

    for (int e = 0; e < events; ++e) {
        currentEvent = e;
        watchdog.start(30000);
        const GameState& s = window.game().state();
        const std::uint32_t kind = random.below(100);
        if (trace) std::fprintf(stderr, "event %d kind %u running %d\n", e, kind, int(s.gameRunning));
        if (kind < 45) {
            // A click somewhere on the board, often right on a hole.
            const int u = window.sizeUnit();
            QPoint p(int(random.below(std::uint32_t(256 * u))), int(random.below(std::uint32_t(180 * u))));
            if (random.below(2) == 0) {
                const PixelPoint hole = window.drawing().cellPos(CellIndex(random.below(121)));
                p = {hole.x + int(random.below(9)) - 4, hole.y + int(random.below(9)) - 4};
            }
            QTest::mouseClick(window.board(), Qt::MouseButton(1 << random.below(3)), {}, p);
        } else if (kind < 75) {
            QTest::keyClick(&window, Qt::Key(keys[random.below(std::size(keys))]));
        } else if (kind < 93) {
            const char* name = actions[random.below(std::size(actions))];
            const Settings settingsBefore = app.settings;
            if (auto* action = window.findChild<QAction*>(name)) action->trigger();
            // A new game takes fresh copies of the seats.
            if (std::string_view(name) == "mNeuesSpiel" && s.gameRunning) playersAtStart = s.players;
            if (trace) std::fprintf(stderr, "  %s\n", name);
            // Colours and target rings changed in a dialog show from the next repaint on.
            if (app.settings != settingsBefore) window.applySizeUnit(window.sizeUnit(), false);
        } else if (kind < 94) {
            // Closing while a game runs, answered No: window and game stay.
            if (s.gameRunning) {
                auto ask = window.askYesNo;
                window.askYesNo = [](const QString&, const QString&) { return false; };
                window.close();
                window.askYesNo = ask;
                EXPECT_TRUE(window.isVisible()) << "event " << e;
            }
        } else if (kind < 97) {
            window.resize(200 + int(random.below(900)), 150 + int(random.below(700)));
        } else {
            window.applySizeUnit(1 + int(random.below(3)), true);
        }
        // Let hops and computer turns go on for a while.
        QElapsedTimer t;
        t.start();
        const int wait = int(random.below(30));
        do QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        while (t.elapsed() < wait);

        if (!s.gameRunning || s.moveInProgress) continue;
        ASSERT_EQ(countInvariantViolations(s, playersAtStart), 0) << "event " << e;
        // The path marks on the surface: a fresh repaint of this state draws the same pixels.
        GameState copy = s;
        Settings settingsCopy = app.settings;
        BoardDrawing fresh(copy, settingsCopy);
        fresh.setSizeUnit(window.sizeUnit(), window.drawing().devicePixelRatio());
        fresh.repaint();
        for (CellIndex c : window.game().hintHoles()) fresh.toggleHintMark(c);
        if (!(fresh.surface() == window.drawing().surface())) {
            const QString dir = QString::fromStdString(std::filesystem::temp_directory_path().string());
            fresh.surface().save(dir + "/vexel-monkey-expected.png");
            window.drawing().surface().save(dir + "/vexel-monkey-actual.png");
            FAIL() << "event " << e << ": the board differs from a fresh repaint (path length " << int(s.movePathLength)
                   << "); pictures in " << dir.toStdString() << "/vexel-monkey-*.png";
        }
    }
    if (window.game().state().gameRunning) window.game().endGame();
    window.close();
}

}  // namespace
