#include "netgame.h"

#include "core/headlessview.h"
#include "core/protocol.h"
#include "core/random.h"
#include "core/replay.h"
#include "net/client.h"
#include "net/dnssd.h"
#include "net/hostserver.h"
#include "net/joincode.h"
#include "settings/qtexts.h"
#include "settings/windows1252.h"
#include "ui/Vexmain.h"
#include "ui/boardwidget.h"
#include "ui/gamerecordfiles.h"
#include "ui/netdialogs.h"
#include "ui/turnpanelwidget.h"

#include <QAction>
#include <QDateTime>
#include <QHostInfo>
#include <QMenu>
#include <QTimer>

namespace vexel {

namespace {

std::uint8_t humanSeats(const PlayerSlots& seats) {
    std::uint8_t mask = 0;
    for (int k = 0; k < SEAT_COUNT; ++k)
        if (seats[k].kind == PlayerKind::Human) mask |= std::uint8_t(1 << k);
    return mask;
}

// A queued move waits at most for the one being shown and a winners display.
constexpr std::size_t MAX_PENDING = 8;

// The move a computer of `level` would make for the seat to move, searched on
// a copy of the game so that nothing of the search shows on the board.
std::vector<CellIndex> computerChoice(const Game& game, int level) {
    Settings settings = game.settings();
    const Seat seat = game.state().currentPlayer;
    settings.playerSettings[seat].kind = PlayerKind::Computer;
    settings.playerSettings[seat].level = std::uint8_t(level);
    settings.computerSpeed = 0;
    HeadlessView view;
    // Among equally good moves a different one each time, as the computer seats choose.
    Random random(std::uint64_t(QDateTime::currentMSecsSinceEpoch()));
    Game trial(settings, view, random);
    trial.state() = game.state();
    trial.state().players[seat].kind = PlayerKind::Computer;
    trial.state().players[seat].level = std::uint8_t(level);
    trial.state().movePathLength = 0;
    trial.state().computerToMove = true;
    trial.state().computerPhase = 0;
    trial.computerTurnStep();
    std::vector<CellIndex> holes;
    for (int i = 0; i < trial.state().movePathLength; ++i) holes.push_back(trial.state().movePath[i].cell);
    return holes;
}

}  // namespace

NetGame::NetGame(TMainWindow& window, Settings& settings) : QObject(&window), window_(window), settings_(settings) {
    const QString fixed = qEnvironmentVariable("VEXEL_JOIN_CODE");
    code_ = fixed.isEmpty() ? newJoinCode() : normaliseJoinCode(fixed);
    // Meant for tests and scripts, like VEXEL_JOIN_CODE: a joined program that
    // plays its own seat by itself at one of the three computer levels.
    bool ok = false;
    const int level = qEnvironmentVariableIntValue("VEXEL_NET_AUTOPLAY", &ok);
    if (ok && level >= 0 && level <= 2) autoplayLevel_ = level;
    pendingRetry_.setSingleShot(true);
    pendingRetry_.setInterval(100);
    connect(&pendingRetry_, &QTimer::timeout, this, [this] { applyPending(); });
}

NetGame::~NetGame() = default;

// A dialog of the network game holds the timed work as the menu's dialogs do.
template <class F> auto NetGame::modally(F&& show) {
    window_.modalDialogOpen_ = true;
    window_.idleTimer_.stop();
    auto result = show();
    window_.modalDialogOpen_ = false;
    window_.scheduleIdle();
    return result;
}

bool NetGame::hosting() const { return host_ && host_->listening(); }
bool NetGame::joined() const { return client_ && client_->active(); }

void NetGame::addMenuItems(QMenu* menu) {
    menu->addSeparator();
    host_item_ = menu->addAction(QString(), this, [this] { hostGame(); });
    join_item_ = menu->addAction(QString(), this, [this] { joinGame(); });
    host_item_->setObjectName("mNetzHost");
    join_item_->setObjectName("mNetzJoin");
}

void NetGame::applyCaptions() {
    if (!host_item_) return;
    host_item_->setText(text(settings_, 1100));
    join_item_->setText(text(settings_, 1101));
}

void NetGame::updateItems() {
    if (!host_item_) return;
    host_item_->setEnabled(!joined());
    join_item_->setEnabled(!hosting());
}

// ---- Hosting ----------------------------------------------------------------

bool NetGame::host(quint16 port) {
    if (joined()) return false;
    if (!host_) {
        host_ = std::make_unique<NetHost>();
        connect(host_.get(), &NetHost::moveArrived, this,
                [this](int seat, int index, const RecordMove& move) { hostMoveArrived(seat, index, move); });
        connect(host_.get(), &NetHost::seatsChanged, this, [this] { hostSeatsChanged(); });
        host_->currentRecord = [this] { return recordNow(); };
    }
    host_->setCode(code_);
    const GameState& s = window_.game().state();
    const PlayerSlots& seats = s.gameRunning ? s.players : settings_.playerSettings;
    networkSeats_ = std::uint8_t(settings_.networkSeats & humanSeats(seats));
    host_->setNetworkSeats(networkSeats_);
    if (!host_->listen(port)) {
        qWarning("vexel-net: cannot listen on port %u", unsigned(port));
        host_.reset();
        return false;
    }
    window_.game().setRemoteSeats(networkSeats_);
    // Others on the local network find the game in their list.
    if (!announcer_) announcer_ = std::make_unique<ServiceAnnouncer>();
    announcer_->announce(QStringLiteral("Vexel %1").arg(QHostInfo::localHostName()), host_->port());
    if (s.gameRunning) publishRecord();
    autoStart_ = !s.gameRunning;
    hostSeatsChanged();
    updateItems();
    return true;
}

void NetGame::hostGame() {
    if (joined()) return;
    THostDlg dialog(*this, settings_, &window_);
    modally([&] { return dialog.showCentred(&window_); });
    window_.scheduleIdle();
}

void NetGame::startHostedGame() {
    autoStart_ = false;
    Game& game = window_.game();
    game.setRemoteSeats(networkSeats_);
    if (game.state().gameRunning) return;
    window_.stopBackgroundWork();
    game.newGame();
    if (!game.state().gameRunning) window_.Neuzeichnen();
    window_.board()->showChanges();
    window_.scheduleIdle();
}

void NetGame::giveToComputer(int seat) {
    if (seat < 0 || seat >= SEAT_COUNT || !(networkSeats_ >> seat & 1)) return;
    networkSeats_ = std::uint8_t(networkSeats_ & ~(1 << seat));
    settings_.playerSettings[seat].kind = PlayerKind::Computer;
    Game& game = window_.game();
    if (game.state().gameRunning) game.state().players[seat].kind = PlayerKind::Computer;
    if (host_) host_->setNetworkSeats(networkSeats_);
    game.setRemoteSeats(networkSeats_);
    if (game.state().gameRunning) publishRecord();
    showWaiting();
    window_.scheduleIdle();
}

void NetGame::hostSeatsChanged() {
    if (!host_) return;
    Game& game = window_.game();
    bool renamed = false;
    for (int k = 0; k < SEAT_COUNT; ++k) {
        const auto& seat = host_->seats()[k];
        waiting_[k] = seat.network && seat.taken && !seat.connected;
        waitingNames_[k] = seat.name;
        // The seat takes the name its player gave on joining.
        const std::string name = toWindows1252(seat.name);
        if (seat.taken && !name.empty() && settings_.playerSettings[k].nameBytes() != name) {
            settings_.playerSettings[k].setName(name);
            if (game.state().gameRunning) game.state().players[k].setName(name);
            renamed = true;
        }
    }
    if (renamed && game.state().gameRunning) publishRecord();
    showWaiting();
    if (autoStart_ && networkSeats_ != 0 && host_->takenSeats() == networkSeats_) {
        bool all = true;
        for (int k = 0; k < SEAT_COUNT; ++k)
            if ((networkSeats_ >> k & 1) && !host_->seats()[k].connected) all = false;
        if (all) QTimer::singleShot(0, this, [this] {
            if (autoStart_ && !window_.modalDialogOpen()) startHostedGame();
        });
    }
}

std::string NetGame::recordNow() const {
    const Game& game = window_.game();
    if (!game.state().gameRunning && game.playedMoves().empty()) return {};
    return writeRecord(recordOf(game, settings_, {}));
}

void NetGame::publishRecord() {
    if (!host_) return;
    host_->sendRecordToAll();
    sentMoves_ = window_.game().playedMoves().size();
}

void NetGame::sendNewMoves() {
    const auto& moves = window_.game().playedMoves();
    if (sentMoves_ > moves.size()) sentMoves_ = moves.size();
    for (; sentMoves_ < moves.size(); ++sentMoves_) host_->sendMove(int(sentMoves_), moves[sentMoves_]);
}

void NetGame::hostMoveArrived(int seat, int index, const RecordMove& move) {
    if (pending_.size() >= MAX_PENDING) {
        host_->refuseMove(seat, QStringLiteral("too many moves at once"));
        return;
    }
    pending_.push_back({seat, index, move});
    applyPending();
}

// ---- Joined -----------------------------------------------------------------

bool NetGame::join(const QString& address, const QString& name, const QString& code) {
    if (hosting()) return false;
    const auto target = parseHostAndPort(address.toStdString());
    if (!target) return false;
    if (!client_) {
        client_ = std::make_unique<NetClient>();
        connect(client_.get(), &NetClient::welcomedToSeat, this, [this](int seat) { mySeat_ = seat; });
        connect(client_.get(), &NetClient::recordArrived, this, [this](const std::string& t) { recordArrived(t); });
        connect(client_.get(), &NetClient::moveArrived, this,
                [this](int index, const RecordMove& move) { joinedMoveArrived(index, move); });
        connect(client_.get(), &NetClient::seatWaiting, this, [this](int seat, bool waiting) {
            waiting_[seat] = waiting;
            showWaiting();
        });
        connect(client_.get(), &NetClient::refused, this, [this](const QString& reason, bool final) {
            if (final) stopJoined(1125, reason);
        });
        connect(client_.get(), &NetClient::hostEnded, this, [this] { stopJoined(1119, {}); });
        connect(client_.get(), &NetClient::gaveUp, this, [this](const QString& why) { stopJoined(1126, why); });
    }
    waiting_.fill(false);
    pending_.clear();
    mySeat_ = -1;
    client_->join(QString::fromStdString(target->host), target->port, code.isEmpty() ? code_ : code, name);
    updateItems();
    return true;
}

void NetGame::joinGame() {
    if (hosting()) return;
    TJoinDlg dialog(settings_, &window_);
    if (modally([&] { return dialog.showCentred(&window_); }) != ModalResult::Ok) return;
    join(dialog.address(), dialog.name(), dialog.code());
}

void NetGame::stopJoined(std::uint16_t message, const QString& detail) {
    if (client_) client_->leave();
    // What was the host's game goes on here, every seat played at this screen.
    window_.game().setRemoteSeats(0);
    waiting_.fill(false);
    pending_.clear();
    showWaiting();
    updateItems();
    window_.scheduleIdle();
    QString body = text(settings_, message);
    if (body.contains(u"%1")) body = body.arg(detail);
    window_.tell(text(settings_, 1102), body);
}

void NetGame::recordArrived(const std::string& recordText) {
    RecordError error;
    const auto record = readRecord(recordText, error);
    RecordReplay replay;
    replay.trustPasses();
    if (!record || !replay.run(*record, error)) {
        qWarning("vexel-net: the host's record does not replay: %s", describeError("host", error).c_str());
        return;
    }
    Game& game = window_.game();
    const std::uint8_t others = std::uint8_t(0x3F & ~(mySeat_ >= 0 ? 1 << mySeat_ : 0));
    // The same game as shown here already (a connection come back): nothing to do.
    if (game.playedMoves() == replay.game().playedMoves() &&
        game.state().gameRunning == replay.game().state().gameRunning && game.state().gameRunning) {
        game.setRemoteSeats(others);
        autoplaySoon();
        return;
    }
    window_.stopBackgroundWork();
    game.setRemoteSeats(others);
    replay.adoptSeats(settings_);
    game.adoptGame(replay.game());
    game.setRemoteSeats(others);
    pending_.clear();
    // The host's game is kept here from the start, should the host go.
    window_.records()->gameEvent(GameView::Event::MoveCommitted);
    window_.Neuzeichnen();
    window_.board()->showChanges();
    showWaiting();
    window_.scheduleIdle();
    autoplaySoon();
}

void NetGame::joinedMoveArrived(int index, const RecordMove& move) {
    if (std::size_t(index) < window_.game().playedMoves().size() && pending_.empty()) return;  // our own, or known
    // A dialog may hold this window for as long as its player likes while the
    // game goes on: keep as many moves as a record may hold, not fewer, or the
    // screen would stop short of the game for good.
    if (pending_.size() >= MAX_RECORD_LINES) return;
    pending_.push_back({move.seat, index, move});
    applyPending();
}

// ---- Both ----------------------------------------------------------------------

void NetGame::applyPending() {
    Game& game = window_.game();
    // Nothing tells this object when a dialog closes, and no other message may
    // come to wake it (this program's own seat may be next): look again soon.
    if (!pending_.empty() && window_.modalDialogOpen()) pendingRetry_.start();
    while (!pending_.empty() && game.atRest() && !window_.modalDialogOpen()) {
        const Pending p = pending_.front();
        const std::size_t played = game.playedMoves().size();
        if (std::size_t(p.index) < played && joined()) {  // shown already
            pending_.pop_front();
            continue;
        }
        if (std::size_t(p.index) > played && joined()) return;  // an earlier one is still to come
        pending_.pop_front();
        if (std::size_t(p.index) != played || !game.playRemoteMove(p.move)) {
            if (host_) {
                host_->refuseMove(p.seat, std::size_t(p.index) != played ? QStringLiteral("not this move's turn")
                                                                          : QStringLiteral("not a move of the rules"));
                publishRecord();  // the mover's screen goes back to the game as it is
            } else {
                qWarning("vexel-net: the host's move %d does not fit here", p.index);
            }
            continue;
        }
        window_.board()->showChanges();
        window_.scheduleIdle();
        return;  // the next one once this one has been shown
    }
}

void NetGame::gameEvent(GameView::Event event) {
    using E = GameView::Event;
    if (hosting()) {
        switch (event) {
        case E::GameStarted:
        case E::GameEnded:
        case E::TakenBack: publishRecord(); break;
        case E::MoveCommitted:
        case E::TurnPassed: sendNewMoves(); break;
        case E::SeatFinished: break;
        }
    } else if (joined() && event == E::MoveCommitted && mySeat_ >= 0) {
        const Game& game = window_.game();
        const auto& moves = game.playedMoves();
        if (!moves.empty() && moves.back().seat == mySeat_ && !game.seatIsRemote(Seat(mySeat_)))
            client_->sendMove(int(moves.size() - 1), moves.back());
    }
    if (event == E::TurnPassed) {
        showWaiting();
        // Moves that came while the last one was shown are taken once the window is back in its loop.
        QTimer::singleShot(0, this, [this] { applyPending(); });
        autoplaySoon();
    }
}

void NetGame::autoplaySoon() {
    if (autoplayLevel_ >= 0 && joined()) QTimer::singleShot(0, this, [this] { autoplay(); });
}

// The chosen move goes in as clicks on its holes and a second click on the
// last, the way a player enters it, so that it is sent and checked as theirs.
// A turn that cannot be played now (a move still being shown, the winners
// display open) is tried again when the turn passes.
void NetGame::autoplay() {
    Game& game = window_.game();
    const GameState& s = game.state();
    if (!joined() || mySeat_ < 0 || s.currentPlayer != mySeat_ || !pending_.empty() || !game.acceptsBoardInput() ||
        !game.atRest() || window_.modalDialogOpen() || s.movePathLength != 0)
        return;
    const std::vector<CellIndex> holes = computerChoice(game, autoplayLevel_);
    if (holes.size() < 2) return;  // nothing found: the turn stays with the player
    for (CellIndex hole : holes) {
        const PixelPoint p = window_.drawing().cellPos(hole);
        window_.BrettPaintMouseDown(p.x, p.y);
    }
    const PixelPoint last = window_.drawing().cellPos(holes.back());
    window_.BrettPaintMouseDown(last.x, last.y);
}

void NetGame::showWaiting() {
    const GameState& s = window_.game().state();
    if (!s.gameRunning) return;
    const Seat seat = s.currentPlayer;
    if (seat < SEAT_COUNT && waiting_[seat]) {
        const QString name = waitingNames_[seat].isEmpty() ? fromWindows1252(s.players[seat].nameBytes()) : waitingNames_[seat];
        window_.turnPanel()->showPlayerName(text(settings_, 1112).arg(name));
    } else {
        window_.turnPanel()->showPlayerName(fromWindows1252(s.players[seat].nameBytes()));
    }
}

void NetGame::windowClosing() {
    if (announcer_) announcer_->withdraw();
    if (host_) host_->close();
    if (client_) client_->leave();
}

}  // namespace vexel
