// The window's side of a network game. Hosting, the window's game is the one
// game: a network seat is a move source like a computer seat, its moves
// arrive from NetHost on the window's thread and go through the same move
// entry as clicks. Joined, the window shows the host's game: every seat but
// its own is played elsewhere, every move comes from the host, and its own
// seat's moves are sent there as they are committed. When the host ends, the
// joined game goes on at this screen with every seat played here.
#pragma once

#include "core/gameview.h"
#include "core/record.h"
#include "core/settings.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <array>
#include <deque>
#include <functional>
#include <memory>

class QAction;
class QMenu;

namespace vexel {

class NetClient;
class NetHost;
class ServiceAnnouncer;
class TMainWindow;

class NetGame : public QObject {
    Q_OBJECT
public:
    NetGame(TMainWindow& window, Settings& settings);
    ~NetGame() override;

    void addMenuItems(QMenu* menu);
    void applyCaptions();
    void updateItems();
    void gameEvent(GameView::Event event);
    void windowClosing();

    // Hosting or joined: take back and hint stay with one-screen games.
    bool active() const { return hosting() || joined(); }
    bool hosting() const;
    bool joined() const;

    // Menu commands.
    void hostGame();
    void joinGame();
    // Without a dialog: the command line and tests. Hosting starts a new game
    // as soon as every network seat is taken, unless a game runs already.
    bool host(quint16 port);
    bool join(const QString& address, const QString& name, const QString& code);

    NetHost* netHost() const { return host_.get(); }
    NetClient* client() const { return client_.get(); }
    // The join code: VEXEL_JOIN_CODE when set, else a new one for each hosting.
    const QString& code() const { return code_; }
    // Human seats played over the network in this hosting (bit k: seat k).
    std::uint8_t networkSeats() const { return networkSeats_; }
    // Gives an untaken network seat to the computer at its level.
    void giveToComputer(int seat);
    // Starts the game (or goes on with the running one) for the seats as they are.
    void startHostedGame();

private:
    template <class F> auto modally(F&& show);
    std::string recordNow() const;
    void publishRecord();
    void sendNewMoves();
    void hostMoveArrived(int seat, int index, const RecordMove& move);
    void hostSeatsChanged();
    void recordArrived(const std::string& text);
    void joinedMoveArrived(int index, const RecordMove& move);
    void applyPending();
    void showWaiting();
    void autoplaySoon();
    void autoplay();
    void stopJoined(std::uint16_t message, const QString& detail);

    TMainWindow& window_;
    Settings& settings_;
    std::unique_ptr<NetHost> host_;
    std::unique_ptr<NetClient> client_;
    std::unique_ptr<ServiceAnnouncer> announcer_;
    QString code_;
    std::uint8_t networkSeats_ = 0;
    bool autoStart_ = false;
    std::size_t sentMoves_ = 0;
    int mySeat_ = -1;
    // VEXEL_NET_AUTOPLAY's computer level (0..2) for a joined program's own seat; -1: off.
    int autoplayLevel_ = -1;
    struct Pending {
        int seat;
        int index;
        RecordMove move;
    };
    std::deque<Pending> pending_;
    // Looks again at moves held back by a dialog, once it may have closed.
    QTimer pendingRetry_;
    std::array<bool, SEAT_COUNT> waiting_{};
    std::array<QString, SEAT_COUNT> waitingNames_{};
    QAction* host_item_ = nullptr;
    QAction* join_item_ = nullptr;
};

}  // namespace vexel
