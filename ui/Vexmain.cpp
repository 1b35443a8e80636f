#include "Vexmain.h"

#include "settings/Vexcentr.h"
#include "settings/Vexfehlr.h"
#include "settings/Vexinfo.h"
#include "settings/Vexoptio.h"
#include "settings/Vexrules.h"
#include "settings/Vexsieg.h"
#include "settings/Vexspeed.h"
#include "settings/qtexts.h"
#include "settings/settingsfile.h"
#include "settings/windows1252.h"
#include "ui/accessibleboard.h"
#include "ui/announcer.h"
#include "ui/boardwidget.h"
#include "ui/gamerecordfiles.h"
#include "ui/help.h"
#include "ui/keyboard.h"
#include "ui/layout.h"
#include "ui/netgame.h"
#include "ui/recordfile.h"
#include "ui/sound.h"
#include "ui/soundfile.h"
#include "ui/tickcount.h"
#include "ui/turnpanelwidget.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QThread>

#include <algorithm>
#include <cstdlib>

namespace vexel {

namespace {

// The picture shown before the first game: a ring round the centre in seat 3's
// colour, an outer ring and the centre in seat 2's.
constexpr std::array<CellIndex, 12> TITLE_INNER_RING = {28, 29, 42, 53, 72, 82, 92, 91, 78, 67, 48, 38};
constexpr std::array<CellIndex, 13> TITLE_OUTER_RING = {1, 2, 20, 33, 96, 108, 119, 118, 100, 87, 24, 12, 60};

QRect screenGeometry(const QWidget* w) {
    const QScreen* screen = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 640, 480);
}

}  // namespace

TMainWindow::TMainWindow(Settings& settings, SettingsFile& settingsFile, SoundPlayer& sound,
                         const std::filesystem::path& soundFolder, std::uint64_t seed)
    : settings_(settings),
      settingsFile_(settingsFile),
      sound_(sound),
      random_(seed),
      game_(settings, *this, random_),
      drawing_(game_.state(), settings),
      animation_(game_, drawing_, *this) {
    setObjectName("TMainWindow");
    game_.setOutsideSearch(true);
    connect(&thinker_, &Thinker::ready, this, [this] { thinkerReady(); });
    windowSizingOn_ = true;
    idleTimer_.setSingleShot(true);
    idleTimer_.setTimerType(Qt::PreciseTimer);
    connect(&idleTimer_, &QTimer::timeout, this, [this] {
        if (inIdle_ || messageBoxShowing()) return;
        inIdle_ = true;
        Almost_Nothing_To_Do();
        inIdle_ = false;
        scheduleIdle();
    });
    // Whenever the event queue runs empty, make sure pending work has its timer.
    if (auto* dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this] { scheduleIdle(); });

    askYesNo = [this](const QString& title, const QString& text) {
        return QMessageBox::question(this, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
    };
    tell = [this](const QString& title, const QString& text) { QMessageBox::information(this, title, text); };
    warn = [this](const QString& title, const QString& text) { QMessageBox::warning(this, title, text); };

    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);

    auto* client = new QWidget(this);
    client->setAutoFillBackground(true);
    client->setPalette(pal);
    setCentralWidget(client);
    board_ = new BoardWidget(drawing_, client);
    board_->onMouseDown = [this](int x, int y) { BrettPaintMouseDown(x, y); };
    // On another screen's pixel density the same level is drawn afresh at that density.
    board_->onRatioChange = [this] {
        if (sizeUnit_ > 0) applySizeUnit(sizeUnit_, false);
    };
    panel_ = new TurnPanelWidget(game_.state(), settings_, client);
    boardAccess_ = new BoardAccess(game_, settings_, drawing_, board_);
    announcer_ = new Announcer(game_, settings_, client);
    boardAccess_->setAnnouncer(announcer_);
    buildMenu();

    settingsFile_.load(settings_);
    sound_.loadSounds(loadSoundFiles(soundFolder));
    showTitlePicture();
    applyMainCaptions();
    applyQtTexts();
    resize(640, 480);
    if (settings_.soundOn) playSound(settings_.language == Language::English ? 2 : 1);
}

TMainWindow::~TMainWindow() = default;

void TMainWindow::attachDialogs(const Dialogs& dialogs) { dialogs_ = dialogs; }

void TMainWindow::buildMenu() {
    QMenuBar* bar = menuBar();
    mSpiel_ = bar->addMenu(QString());
    mNeuesSpiel_ = mSpiel_->addAction(QString(), this, [this] { mNeuesSpielClick(); });
    mSpielabbrechen_ = mSpiel_->addAction(QString(), this, [this] { Spielabbrechen(); });
    mZugzuruecknehmen_ = mSpiel_->addAction(QString(), this, [this] { mZugzuruecknehmenClick(); });
    mZugzuruecknehmen_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    mTipp_ = mSpiel_->addAction(QString(), this, [this] { mTippClick(); });
    mTipp_->setShortcut(QKeySequence(Qt::Key_H));
    records_ = new GameRecordFiles(*this, settings_, autosaveFile(std::getenv("XDG_STATE_HOME"), std::getenv("HOME")));
    records_->addMenuItems(mSpiel_);
    connect(mSpiel_, &QMenu::aboutToShow, this, [this] { updateGameItems(); });
    updateGameItems();
    mSpiel_->addSeparator();
    mSieger_ = mSpiel_->addAction(QString(), this, [this] { mSiegerClick(); });
    mSpiel_->addSeparator();
    mBeenden_ = mSpiel_->addAction(QString(), this, [this] { close(); });
    net_ = new NetGame(*this, settings_);
    net_->addMenuItems(mSpiel_);
    mOptionen_ = bar->addMenu(QString());
    mSpieler_ = mOptionen_->addAction(QString(), this, [this] { Optionen1Click(); });
    mUmgebung_ = mOptionen_->addAction(QString(), this, [this] { mUmgebungClick(); });
    mOptionen_->addSeparator();
    mSwitchtoEnglish_ = mOptionen_->addAction(QString(), this, [this] { SprachenClick(); });
    mOptionen_->addSeparator();
    mOptionenspeichern_ = mOptionen_->addAction(QString(), this, [this] { mOptionenspeichernClick(); });
    mZuruecksetzen_ = mOptionen_->addAction(QString(), this, [this] { mZuruecksetzenClick(); });
    mRegeln_ = mOptionen_->addAction(QString(), this, [this] { mRegelnClick(); });
    mHilfe_ = bar->addMenu(QString());
    mInhalt_ = mHilfe_->addAction(QString(), this, [this] { mInhaltClick(); });
    mHilfe_->addSeparator();
    mInfo_ = mHilfe_->addAction(QString(), this, [this] { mInfoClick(); });

    const std::pair<QObject*, const char*> names[] = {
        {mSpiel_, "mSpiel"},       {mNeuesSpiel_, "mNeuesSpiel"},       {mSpielabbrechen_, "mSpielabbrechen"},
        {mSieger_, "mSieger"},     {mBeenden_, "mBeenden"},             {mOptionen_, "mOptionen"},
        {mSpieler_, "mSpieler"},   {mUmgebung_, "mUmgebung"},           {mSwitchtoEnglish_, "mSwitchtoEnglish"},
        {mOptionenspeichern_, "mOptionenspeichern"}, {mZuruecksetzen_, "mZuruecksetzen"},
        {mHilfe_, "mHilfe"},       {mInhalt_, "mInhalt"},               {mInfo_, "mInfo"},
        {mZugzuruecknehmen_, "mZugzuruecknehmen"}, {mTipp_, "mTipp"},
        {mRegeln_, "mRegeln"},
    };
    for (const auto& [object, name] : names) object->setObjectName(name);
}

void TMainWindow::applyMainCaptions() {
    setWindowTitle(text(settings_, 1));
    mSpiel_->setTitle(text(settings_, 2));
    mNeuesSpiel_->setText(text(settings_, 3));
    mSpielabbrechen_->setText(text(settings_, 4));
    mSieger_->setText(text(settings_, 5));
    mBeenden_->setText(text(settings_, 6));
    mOptionen_->setTitle(text(settings_, 7));
    mSpieler_->setText(text(settings_, 8));
    mUmgebung_->setText(text(settings_, 9));
    mSwitchtoEnglish_->setText(text(settings_, 10));
    mOptionenspeichern_->setText(text(settings_, 11));
    mZuruecksetzen_->setText(text(settings_, 12));
    mRegeln_->setText(text(settings_, 1220));
    mHilfe_->setTitle(text(settings_, 17));
    mInhalt_->setText(text(settings_, 18));
    mInfo_->setText(text(settings_, 19));
    mZugzuruecknehmen_->setText(text(settings_, 13));
    mTipp_->setText(text(settings_, 14));
    records_->applyCaptions();
    net_->applyCaptions();
    showMoveNumber();
}

void TMainWindow::showTitlePicture() {
    GameState& s = game_.state();
    s.occupancy.fill(NO_PEG);
    for (CellIndex c : TITLE_INNER_RING) s.occupancy[c] = 3;
    for (CellIndex c : TITLE_OUTER_RING) s.occupancy[c] = 2;
}

// ---- Layout ---------------------------------------------------------------

int TMainWindow::maxSizeUnit() const { return maxSizeUnitForScreen(screenGeometry(this).width()); }

void TMainWindow::applySizeUnit(int u, bool resizeWindow) {
    u = std::max(u, 1);
    inLayout_ = true;
    const bool recentre = sizeUnit_ < u || maxSizeUnit() == sizeUnit_;
    sizeUnit_ = u;
    if (resizeWindow && windowSizingOn_) {
        const QRect screen = screenGeometry(this);
        if (u == maxSizeUnit()) {
            leavingMaximized_ = false;
            if (!isMaximized()) placeBeforeMaximizing(screen, u);
            showMaximized();
        } else {
            if (isMaximized()) {
                // A window manager first gives back the size the window had
                // before it was maximized, as wide as the screen, and only then
                // the size asked for below.
                leavingMaximized_ = true;
                showNormal();
            }
            resize(CLIENT_WIDTH_UNITS * u, CLIENT_HEIGHT_UNITS * u + menuBar()->sizeHint().height());
            if (recentre) {
                const QSize outer = frameGeometry().size() - geometry().size() + size();
                move(std::max(0, (screen.width() - outer.width()) / 2), std::max(0, (screen.height() - outer.height()) / 2));
            }
        }
    }
    board_->setGeometry(0, 0, 200 * u, 178 * u);
    drawing_.setSizeUnit(u, board_->devicePixelRatioF());
    panel_->applySizeUnit(u);
    Neuzeichnen();
    animation_.layoutChanged();
    inLayout_ = false;
}

void TMainWindow::placeBeforeMaximizing(const QRect& screen, int u) {
    const QSize frame = frameGeometry().size() - geometry().size();
    if (frame.isEmpty()) {
        // No frame yet (the first showing) or none at all (no window manager,
        // where a maximize request does nothing): fill the screen with the
        // window itself. Should a window manager restore this, the restored
        // window is as wide as the screen and is maximized again (FormResize).
        setGeometry(screen);
        return;
    }
    // What a window manager gives back on restoring, or keeps when it does not
    // maximize: the level's exact size with the whole frame on the screen.
    resize(CLIENT_WIDTH_UNITS * u, CLIENT_HEIGHT_UNITS * u + menuBar()->sizeHint().height());
    const QSize outer = size() + frame;
    move(std::max(0, (screen.width() - outer.width()) / 2), std::max(0, (screen.height() - outer.height()) / 2));
}

void TMainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    // Restoring a maximized window may keep its size, so that no resize event
    // comes: it is a resize all the same.
    const auto old = static_cast<QWindowStateChangeEvent*>(event)->oldState();
    if ((old & Qt::WindowMaximized) && !(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized))) FormResize();
}

void TMainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!firstPaint_) return;
    firstPaint_ = false;
    applySizeUnit(maxSizeUnit(), true);
}

void TMainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TMainWindow::FormResize() {
    if (inLayout_ || sizeUnit_ == 0 || !centralWidget()) return;
    const QSize client = centralWidget()->size();
    const bool screenWide = client.width() == screenGeometry(this).width();
    if (leavingMaximized_) {
        // That screen-wide size on the way out of maximized is no restore by
        // the user; whatever comes next is the window manager's last word.
        leavingMaximized_ = false;
        if (screenWide && !isMaximized()) {
            leavingMaximized_ = true;
            return;
        }
    }
    int u = sizeUnitForClient(client.width(), client.height());
    if (screenWide) u = maxSizeUnit();
    const bool fits = client == QSize(CLIENT_WIDTH_UNITS * u, CLIENT_HEIGHT_UNITS * u);
    // The largest level is always shown maximized: a window restored from it
    // is maximized again.
    if (u == sizeUnit_ && (isMaximized() || (fits && u != maxSizeUnit()))) return;
    applySizeUnit(u, true);
}

// ---- Drawing --------------------------------------------------------------

void TMainWindow::Neuzeichnen() {
    if (sizeUnit_ == 0) return;
    GameState& s = game_.state();
    // A peg waiting between two hops keeps a square saved before this repaint.
    if (s.moveInProgress && !s.stepAnimating) {
        PegRecord& peg = s.pegs[s.currentPlayer][s.movingPeg];
        if (peg.hasBackground) drawing_.deleteBackground(peg.background);
        peg.hasBackground = false;
    }
    drawing_.repaint();
    // The repaint knows nothing of a hint on the board: its marks go on again.
    for (CellIndex c : game_.hintHoles()) drawing_.toggleHintMark(c);
    animation_.forgetBackground();
    board_->showChanges();
    panel_->drawTurnPanel();
}

void TMainWindow::drawBoard() {
    drawing_.drawBoard();
    board_->showChanges();
}
void TMainWindow::drawPlayerPeg(Seat seat, int peg) {
    drawing_.drawPlayerPeg(seat, peg);
    board_->showChanges();
}
void TMainWindow::toggleHoleMark(CellIndex cell) {
    drawing_.toggleHoleMark(cell);
    board_->showChanges();
}
void TMainWindow::toggleCursorMark(CellIndex cell) {
    drawing_.toggleCursorMark(cell);
    board_->showChanges();
}
void TMainWindow::toggleHintMark(CellIndex cell) {
    drawing_.toggleHintMark(cell);
    board_->showChanges();
}
void TMainWindow::discardMovingBackground() { animation_.discardMovingBackground(); }
void TMainWindow::drawTurnPanel() { panel_->drawTurnPanel(); }
void TMainWindow::showPlayerName(std::string_view name) { panel_->showPlayerName(fromWindows1252(name)); }
void TMainWindow::showMoveNumber() {
    panel_->showMoveNumberText(text(settings_, 850) + QString::number(game_.state().moveNumber));
}
void TMainWindow::playSound(int sound) { sound_.playSound(sound); }
void TMainWindow::updateWinnerList() {
    if (dialogs_.winners) dialogs_.winners->updateWinnerList();
}
ModalResult TMainWindow::showWinners() {
    if (!dialogs_.winners) return ModalResult::Ok;
    const ModalResult result = dialogs_.winners->showCentred(this);
    boardAccess_->backFromDialog();
    return result;
}
std::uint32_t TMainWindow::tickCount() { return vexel::tickCount(); }

void TMainWindow::waitUntil(std::uint32_t tick) {
    // The window holds still for the pause, but what was drawn shows at once.
    board_->showChangesNow();
    for (;;) {
        const std::int32_t left = std::int32_t(tick - vexel::tickCount());
        if (left <= 0) break;
        QThread::msleep(unsigned(left));
    }
}

// Those who follow the game beyond the board hear of each event here.
void TMainWindow::gameEvent(Event event) {
    announcer_->gameEvent(event);
    records_->gameEvent(event);
    net_->gameEvent(event);
}

// ---- Input ----------------------------------------------------------------

void TMainWindow::BrettPaintMouseDown(int x, int y) {
    stopHintSearch();
    game_.clearHint();  // whatever the click does, the hint goes first
    if (!game_.acceptsBoardInput()) return;
    const CellIndex hole = drawing_.holeAt(x, y);
    if (hole == NO_PEG) return;
    game_.clickHole(hole);
    scheduleIdle();
}

void TMainWindow::mousePressEvent(QMouseEvent* event) {
    // A click beside the board takes a shown hint off as well.
    stopHintSearch();
    game_.clearHint();
    QMainWindow::mousePressEvent(event);
}

void TMainWindow::keyPressEvent(QKeyEvent* event) {
    // Any key takes a shown hint off the board first; a modifier alone is no key yet.
    const int pressed = event->key();
    if (pressed != Qt::Key_Shift && pressed != Qt::Key_Control && pressed != Qt::Key_Alt && pressed != Qt::Key_Meta &&
        pressed != Qt::Key_AltGr) {
        stopHintSearch();
        game_.clearHint();
    }
    const auto key = cursorKeyFor(pressed);
    if (!key) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    boardAccess_->pressKey(*key);
    scheduleIdle();
}

// ---- Idle work ------------------------------------------------------------

bool TMainWindow::messageBoxShowing() {
    // Whoever shows it: a box over the window holds the game still until it is
    // answered, as no box may let a hop or a computer turn run behind it.
    return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr;
}

bool TMainWindow::idleWorkPending() const {
    const GameState& s = game_.state();
    return !closed_ && !modalDialogOpen_ && !messageBoxShowing() && s.gameRunning &&
           (s.moveInProgress || (s.computerToMove && !waitingForThinker()));
}

void TMainWindow::scheduleIdle() {
    updateGameItems();
    if (inIdle_) return;
    if (!idleWorkPending()) {
        idleTimer_.stop();
        return;
    }
    int delay = 0;
    const GameState& s = game_.state();
    if (s.moveInProgress && s.stepAnimating) delay = std::max(0, int(std::int32_t(s.nextFrameTime - vexel::tickCount())));
    if (idleTimer_.isActive() && idleTimer_.remainingTime() <= delay) return;
    idleTimer_.start(delay);
}

bool TMainWindow::Almost_Nothing_To_Do() {
    ++idleCalls_;
    GameState& s = game_.state();
    if (!modalDialogOpen_ && s.gameRunning) {
        if (s.moveInProgress) {
            if (s.stepAnimating) {
                if (tickReached(vexel::tickCount(), s.nextFrameTime)) animation_.animateFrame();
            } else {
                animation_.advanceMove();
            }
        } else if (s.computerToMove) {
            if (game_.wantsOutsideSearch())
                thinkForComputer();
            else
                game_.computerTurnStep();
        }
        board_->showChanges();
    }
    return modalDialogOpen_ || !(s.moveInProgress || (s.computerToMove && !waitingForThinker()));
}

// ---- Thinking in the background ---------------------------------------------

bool TMainWindow::waitingForThinker() const {
    return thinking_ == Thinking::ComputerMove && thinker_.busy() && game_.wantsOutsideSearch() &&
           thinkingTicket_ == game_.searchTicket();
}

void TMainWindow::thinkForComputer() {
    if (thinking_ == Thinking::ComputerMove && thinkingTicket_ == game_.searchTicket()) {
        if (auto ranked = thinker_.takeResult()) {
            thinking_ = Thinking::Nothing;
            game_.enterSearchedMove(thinkingTicket_, *ranked);
            return;
        }
        if (thinker_.busy()) return;
    }
    // A new turn, or a search of something else that is no longer wanted.
    thinking_ = Thinking::ComputerMove;
    thinkingTicket_ = game_.searchTicket();
    thinker_.start(game_.state(), settings_);
}

void TMainWindow::thinkerReady() {
    if (thinking_ == Thinking::Hint) {
        if (auto ranked = thinker_.takeResult()) {
            thinking_ = Thinking::Nothing;
            game_.showHintMove(thinkingTicket_, *ranked);
            board_->showChanges();
            announcer_->hintShown();
        }
    }
    scheduleIdle();
}

void TMainWindow::stopHintSearch() {
    if (thinking_ != Thinking::Hint) return;
    thinker_.stop();
    thinking_ = Thinking::Nothing;
}

void TMainWindow::stopBackgroundWork() {
    thinker_.stop();
    thinking_ = Thinking::Nothing;
}

// ---- Menu commands --------------------------------------------------------

template <class F>
auto TMainWindow::withModalDialog(F&& show) {
    modalDialogOpen_ = true;
    idleTimer_.stop();
    auto result = show();
    boardAccess_->backFromDialog();
    modalDialogOpen_ = false;
    scheduleIdle();
    return result;
}

bool TMainWindow::confirmAbort() { return askYesNo(text(settings_, 800), text(settings_, 801)); }

void TMainWindow::mNeuesSpielClick() {
    if (game_.state().gameRunning) {
        if (!confirmAbort()) {
            scheduleIdle();
            return;
        }
        game_.endGame();
    }
    stopBackgroundWork();
    game_.newGame();
    if (!game_.state().gameRunning) Neuzeichnen();
    board_->showChanges();
    scheduleIdle();
}

void TMainWindow::updateGameItems() {
    // Kept current whenever the event loop goes idle, so that a shortcut of a
    // greyed-out item never fires.
    if (!mZugzuruecknehmen_) return;
    // Take back and hint belong to games at one screen: in a network game a
    // move once committed is everybody's, and a hint would be one player's secret help.
    const bool networkGame = net_ && net_->active();
    mZugzuruecknehmen_->setEnabled(game_.canTakeBack() && !networkGame);
    mTipp_->setEnabled(game_.canShowHint() && !networkGame);
    records_->updateItems();
    if (net_) net_->updateItems();
}

void TMainWindow::mZugzuruecknehmenClick() {
    if (modalDialogOpen_ || !game_.canTakeBack() || net_->active()) return;
    stopBackgroundWork();
    game_.takeBack();
    // The whole board afresh: no mark and no half-drawn peg of what was stopped stays.
    Neuzeichnen();
    scheduleIdle();
}

void TMainWindow::mTippClick() {
    if (modalDialogOpen_ || !game_.canShowHint() || net_->active()) return;
    // The marks appear when the search has found the move; meanwhile the window answers.
    game_.clearHint();
    thinking_ = Thinking::Hint;
    thinkingTicket_ = game_.searchTicket();
    thinker_.start(game_.state(), settings_);
    scheduleIdle();
}

void TMainWindow::Spielabbrechen() {
    if (!game_.state().gameRunning) return;
    if (confirmAbort()) {
        stopBackgroundWork();
        game_.endGame();
        Neuzeichnen();
    }
    scheduleIdle();
}

void TMainWindow::mSiegerClick() {
    withModalDialog([this] {
        if (dialogs_.winners && dialogs_.winners->showCentred(this) == ModalResult::Abort) Spielabbrechen();
        return 0;
    });
}

void TMainWindow::Optionen1Click() {
    if (!dialogs_.players) return;
    const bool coloursChanged = withModalDialog([this] {
        dialogs_.players->showCentred(this);
        return dialogs_.players->coloursChanged();
    });
    if (coloursChanged) Neuzeichnen();
}

void TMainWindow::mUmgebungClick() {
    if (!dialogs_.environment) return;
    const bool hadMarks = settings_.pegMarks;
    withModalDialog([this] { return dialogs_.environment->showCentred(this); });
    // Pegs drawn before and after must not differ in their marks: all of them change at once.
    if (settings_.pegMarks != hadMarks) Neuzeichnen();
}

void TMainWindow::SprachenClick() {
    settings_.language = settings_.language == Language::German ? Language::English : Language::German;
    applyMainCaptions();
    applyQtTexts();
}

void TMainWindow::applyQtTexts() {
    // Qt's own words (the Yes and No of the questions, the colour dialog) in
    // the program's language; Qt speaks English without a translation.
    QCoreApplication::removeTranslator(&qtTexts_);
    if (settings_.language == Language::German &&
        qtTexts_.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTexts_);
}

void TMainWindow::mOptionenspeichernClick() {
    if (!settingsFile_.save(settings_) && dialogs_.error) dialogs_.error->showSaveError(this);
}

void TMainWindow::mZuruecksetzenClick() {
    settings_.reset(false);
    if (!game_.state().gameRunning) {
        showTitlePicture();
        Neuzeichnen();
    }
    tell(text(settings_, 802), text(settings_, 803));
    scheduleIdle();
}

void TMainWindow::mRegelnClick() {
    if (!rulesDialog_) rulesDialog_ = new TRulesDlg(settings_, this);
    withModalDialog([this] { return rulesDialog_->showCentred(this); });
}

void TMainWindow::mInhaltClick() { showHelp(0); }

void TMainWindow::showHelp(int context) { vexel::showHelp(this, settings_.language, context); }

void TMainWindow::mInfoClick() {
    if (!dialogs_.about) return;
    withModalDialog([this] { return dialogs_.about->showCentred(this); });
}

void TMainWindow::closeEvent(QCloseEvent* event) {
    if (game_.state().gameRunning && !confirmAbort()) {
        event->ignore();
        scheduleIdle();
        return;
    }
    records_->windowClosing();
    net_->windowClosing();
    windowSizingOn_ = false;
    closed_ = true;
    idleTimer_.stop();
    stopBackgroundWork();
    drawing_.releasePegBackgrounds();
    if (settings_.soundOn) {
        playSound(5);
        sound_.waitSoundEnd();
    }
    sound_.freeSounds();
    event->accept();
}

}  // namespace vexel
