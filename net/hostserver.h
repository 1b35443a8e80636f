// The host's side of a network game: a TCP server that lets strangers prove
// the join code, gives each proven program a free network seat, and passes on
// what the window decides. It owns the sockets and every deadline; the game
// itself stays with the window, which hears of moves through moveArrived on
// its own thread.
//
// Bounds: MAX_PEERS connections at once, 10 s to prove the code, three wrong
// answers from one address and that address waits a minute, a peer silent
// for 20 s is dropped, a peer that sends what is not a line of the protocol
// is dropped. Every refusal is logged (qWarning) and never acted on.
#pragma once

#include "core/protocol.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QString>
#include <QTimer>

#include <array>
#include <functional>
#include <map>
#include <memory>

class QTcpServer;
class QTcpSocket;

namespace vexel {

class NetHost : public QObject {
    Q_OBJECT
public:
    static constexpr int MAX_PEERS = 12;
    static constexpr int PROVE_MS = 10000;
    static constexpr int SILENT_MS = 20000;
    static constexpr int PING_MS = 5000;
    static constexpr int WRONG_TRIES = 3;
    static constexpr int PAUSE_MS = 60000;

    struct SeatInfo {
        bool network = false;    // played from another computer
        bool taken = false;      // a program has proven the code for it
        bool connected = false;  // ...and is connected now
        QString name;
    };

    explicit NetHost(QObject* parent = nullptr);
    ~NetHost() override;

    // Tests shorten the waits; the program keeps the constants above.
    void setDeadlines(int proveMs, int silentMs) {
        proveMs_ = proveMs;
        silentMs_ = silentMs;
    }

    // Listens on every address (IPv4 and IPv6) at `port`; 0 takes a free one.
    bool listen(quint16 port);
    quint16 port() const;
    bool listening() const;
    void setCode(const QString& code) { code_ = code; }
    const QString& code() const { return code_; }

    // Which seats are played from elsewhere (bit k: seat k). A seat that
    // leaves the set loses its program (given to a computer, say).
    void setNetworkSeats(std::uint8_t seats);
    std::uint8_t takenSeats() const;
    const std::array<SeatInfo, SEAT_COUNT>& seats() const { return seats_; }

    // The game's record as it stands, asked for whenever a program joins.
    std::function<std::string()> currentRecord;
    // Sends the record to every joined program (a new game, a seat given away).
    void sendRecordToAll();
    void sendMove(int index, const RecordMove& move);
    // Tells the program of `seat` that its last move was not taken.
    void refuseMove(int seat, const QString& reason);
    // Says goodbye to everybody and closes.
    void close();

signals:
    void seatsChanged();
    // A proven program sent a move for its own seat (index: its place in the game's moves).
    void moveArrived(int seat, int index, vexel::RecordMove move);

private:
    struct Peer;
    void accept();
    void readFrom(QTcpSocket* socket);
    void handle(Peer& peer, const Message& m);
    void drop(QTcpSocket* socket, const QString& why);
    void send(Peer& peer, const Message& m);
    void sendRecord(Peer& peer);
    void keepAlive();
    int freeSeat(int wished, const QString& name) const;

    QTcpServer* server_ = nullptr;
    QString code_;
    std::array<SeatInfo, SEAT_COUNT> seats_{};
    std::map<QTcpSocket*, std::unique_ptr<Peer>> peers_;
    struct Failures {
        int count = 0;
        qint64 pausedUntil = 0;
    };
    QHash<QString, Failures> failures_;  // by address
    QElapsedTimer clock_;
    QTimer keepAlive_;
    int proveMs_ = PROVE_MS;
    int silentMs_ = SILENT_MS;
};

}  // namespace vexel
