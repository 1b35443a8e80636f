// A joined program's side of a network game: connects to the host by address
// (IPv4, IPv6 or host name), proves the join code, receives the game's record
// and every move, sends its own seat's moves. A connection that drops is tried
// again by itself, a few times a few seconds apart, asking for the same seat.
// Every wait has a deadline: 5 s to connect, 10 s to be welcomed, 20 s of
// silence from a welcomed host.
#pragma once

#include "core/protocol.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

class QTcpSocket;

namespace vexel {

class NetClient : public QObject {
    Q_OBJECT
public:
    static constexpr int CONNECT_MS = 5000;
    static constexpr int WELCOME_MS = 10000;
    static constexpr int SILENT_MS = 20000;
    static constexpr int RETRY_MS = 1000;
    static constexpr int RETRIES = 30;

    explicit NetClient(QObject* parent = nullptr);
    ~NetClient() override;

    // Starts joining; `seatWish` 0..5, or -1 for any free seat.
    void join(const QString& host, quint16 port, const QString& code, const QString& name, int seatWish = -1);
    void sendMove(int index, const RecordMove& move);
    // Leaves for good: no more tries.
    void leave();
    int seat() const { return seat_; }
    bool welcomed() const { return welcomed_; }
    bool active() const { return active_; }

signals:
    void welcomedToSeat(int seat);
    // The host's whole record (a join, a new game, a seat given away).
    void recordArrived(const std::string& text);
    void moveArrived(int index, vexel::RecordMove move);
    void seatWaiting(int seat, bool waiting);
    // The host refused a move or the joining; `final` when it was the joining.
    void refused(const QString& reason, bool final);
    void connectionLost();  // trying again
    void hostEnded();       // BYE: the host's program has ended the game here
    void gaveUp(const QString& why);

private:
    void connectNow();
    void readLines();
    void handle(const Message& m);
    void lost(const QString& why);
    void send(const Message& m);
    void tick();

    QTcpSocket* socket_ = nullptr;
    LineReader reader_;
    QString host_;
    quint16 port_ = 0;
    QString code_;
    QString name_;
    int seat_ = -1;
    int tries_ = 0;
    bool active_ = false;
    bool welcomed_ = false;
    bool greeted_ = false;
    std::string record_;
    std::size_t recordLines_ = 0;
    QElapsedTimer sinceHeard_;
    QElapsedTimer sinceConnect_;
    QTimer tick_;
};

}  // namespace vexel
