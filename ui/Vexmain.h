// TMainWindow: the program's one main window and its control centre. It holds
// the board, the turn panel and the menu, owns the game, implements the game's
// view onto the screen, and runs the idle work that carries out moves and
// computer turns. The idle work never spins: it sleeps until the next frame is
// due and arms nothing when there is nothing to do.
#pragma once

#include "core/game.h"
#include "core/gameview.h"
#include "core/random.h"
#include "core/settings.h"
#include "ui/animation.h"
#include "ui/boarddraw.h"
#include "ui/thinker.h"

#include <QMainWindow>
#include <QTimer>
#include <QTranslator>

#include <filesystem>
#include <memory>

class QAction;
class QMenu;

namespace vexel {

class Announcer;
class BoardAccess;
class BoardWidget;
class GameRecordFiles;
class NetGame;
class TurnPanelWidget;
class SettingsFile;
class SoundPlayer;
class TAboutBox;
class TOptionenDlg;
class TEnvironDlg;
class TFehlerWin;
class TCompLevelDlg;
class TSiegerAnzeige;
class TRulesDlg;

// The dialogs live as long as the program; the application creates them after
// the main window and hands them over.
struct Dialogs {
    TAboutBox* about = nullptr;
    TOptionenDlg* players = nullptr;
    TEnvironDlg* environment = nullptr;
    TFehlerWin* error = nullptr;
    TCompLevelDlg* level = nullptr;
    TSiegerAnzeige* winners = nullptr;
};

class TMainWindow : public QMainWindow, private GameView {
    Q_OBJECT
    friend class GameRecordFiles;  // stops the game's work and repaints as the menu commands do
    friend class NetGame;          // the same, for games played from several computers

public:
    // The settings are loaded from `settingsFile`, then the sounds from `soundFolder`.
    TMainWindow(Settings& settings, SettingsFile& settingsFile, SoundPlayer& sound,
                const std::filesystem::path& soundFolder, std::uint64_t seed);
    ~TMainWindow() override;
    void attachDialogs(const Dialogs& dialogs);

    Game& game() { return game_; }
    BoardDrawing& drawing() { return drawing_; }
    BoardWidget* board() const { return board_; }
    TurnPanelWidget* turnPanel() const { return panel_; }
    int sizeUnit() const { return sizeUnit_; }
    GameRecordFiles* records() const { return records_; }
    NetGame* net() const { return net_; }
    bool modalDialogOpen() const { return modalDialogOpen_; }
    // The strongest level's search off the window's thread, for computer turns and the hint.
    Thinker& thinker() { return thinker_; }
    std::uint64_t idleCalls() const { return idleCalls_; }

    // Layout
    int maxSizeUnit() const;
    void applySizeUnit(int u, bool resizeWindow);
    void showTitlePicture();
    void applyMainCaptions();
    // Installs Qt's translation of its own texts for the current language.
    void applyQtTexts();

    // Menu commands
    void mNeuesSpielClick();
    void Spielabbrechen();
    void mZugzuruecknehmenClick();  // take back the last human move (Ctrl+Z)
    void mTippClick();              // hint (H)
    void mSiegerClick();
    void Optionen1Click();
    void mUmgebungClick();
    void SprachenClick();
    void mOptionenspeichernClick();
    void mZuruecksetzenClick();
    void mRegelnClick();
    void mInhaltClick();
    void mInfoClick();
    void showHelp(int context);
    // Stops a search or hint in flight on the thinking thread and drops its
    // result; whoever replaces the game (open, resume) calls it first.
    void stopBackgroundWork();

    // One piece of timed work; returns true ("done") when nothing is pending.
    bool Almost_Nothing_To_Do();

    // Yes/No and OK questions go through these, so that tests can answer them.
    // While any message box is up the timed work waits (messageBoxShowing).
    std::function<bool(const QString& title, const QString& text)> askYesNo;
    std::function<void(const QString& title, const QString& text)> tell;
    // The same with a warning sign: something the player asked for failed.
    std::function<void(const QString& title, const QString& text)> warn;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // GameView
    void drawBoard() override;
    void drawPlayerPeg(Seat seat, int peg) override;
    void toggleHoleMark(CellIndex cell) override;
    void toggleCursorMark(CellIndex cell) override;
    void toggleHintMark(CellIndex cell) override;
    void discardMovingBackground() override;
    void drawTurnPanel() override;
    void showPlayerName(std::string_view windows1252Name) override;
    void showMoveNumber() override;
    void playSound(int sound) override;
    void updateWinnerList() override;
    ModalResult showWinners() override;
    std::uint32_t tickCount() override;
    void waitUntil(std::uint32_t tick) override;
    void gameEvent(Event event) override;

    void buildMenu();
    void Neuzeichnen();
    void FormResize();
    // The window's normal geometry before it is maximized at level u.
    void placeBeforeMaximizing(const QRect& screen, int u);
    void BrettPaintMouseDown(int x, int y);
    bool confirmAbort();
    // Runs a dialog opened from the menu with the timed work held.
    template <class F> auto withModalDialog(F&& show);
    // Arms the idle timer for the next piece of work, if any.
    void scheduleIdle();
    bool idleWorkPending() const;
    // Greys out take back and hint when they cannot be used.
    void updateGameItems();
    // The thinker's result is in: a hint is shown at once, a computer move is
    // left to the next idle call.
    void thinkerReady();
    // A computer turn of the strongest level: starts its search or enters its move.
    void thinkForComputer();
    bool waitingForThinker() const;
    // Any key or click while a hint is being searched stops that search.
    void stopHintSearch();
    static bool messageBoxShowing();

    Settings& settings_;
    SettingsFile& settingsFile_;
    SoundPlayer& sound_;
    Random random_;
    Game game_;
    BoardDrawing drawing_;
    MoveAnimation animation_;
    Thinker thinker_;
    // What the thinker searches for, and the game's ticket of that turn.
    enum class Thinking : std::uint8_t { Nothing, ComputerMove, Hint };
    Thinking thinking_ = Thinking::Nothing;
    std::uint64_t thinkingTicket_ = 0;
    Dialogs dialogs_;

    BoardWidget* board_ = nullptr;
    TurnPanelWidget* panel_ = nullptr;
    BoardAccess* boardAccess_ = nullptr;  // the board and the game as assistive technology sees them
    Announcer* announcer_ = nullptr;
    QTimer idleTimer_;
    QTranslator qtTexts_;

    int sizeUnit_ = 0;
    bool inLayout_ = false;
    bool windowSizingOn_ = false;
    bool firstPaint_ = true;
    bool modalDialogOpen_ = false;
    // A smaller level was asked for while maximized; the window manager's answer is on its way.
    bool leavingMaximized_ = false;
    bool inIdle_ = false;
    bool closed_ = false;
    std::uint64_t idleCalls_ = 0;

    QMenu* mSpiel_ = nullptr;
    QMenu* mOptionen_ = nullptr;
    QMenu* mHilfe_ = nullptr;
    QAction* mNeuesSpiel_ = nullptr;
    QAction* mSpielabbrechen_ = nullptr;
    QAction* mZugzuruecknehmen_ = nullptr;
    QAction* mTipp_ = nullptr;
    QAction* mSieger_ = nullptr;
    QAction* mBeenden_ = nullptr;
    QAction* mSpieler_ = nullptr;
    QAction* mUmgebung_ = nullptr;
    QAction* mSwitchtoEnglish_ = nullptr;
    QAction* mOptionenspeichern_ = nullptr;
    QAction* mZuruecksetzen_ = nullptr;
    QAction* mRegeln_ = nullptr;
    TRulesDlg* rulesDialog_ = nullptr;  // made at its first showing
    QAction* mInhalt_ = nullptr;
    QAction* mInfo_ = nullptr;
    GameRecordFiles* records_ = nullptr;  // save, open and resume, after take back and hint
    NetGame* net_ = nullptr;              // hosting and joining, last in the game menu
};

}  // namespace vexel
