#include "hostserver.h"

#include "joincode.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

namespace vexel {

using Kind = Message::Kind;

namespace {

// Whatever was written last (a refusal, a goodbye) still goes out before the
// socket is closed; a peer that does not take it has two seconds.
void closeGently(QTcpSocket* socket) {
    QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    QTimer::singleShot(2000, socket, &QObject::deleteLater);
    socket->disconnectFromHost();
}

}  // namespace

struct NetHost::Peer {
    QTcpSocket* socket = nullptr;
    LineReader reader;
    QByteArray challenge;
    bool greeted = false;
    bool proven = false;
    int seat = -1;
    qint64 connectedAt = 0;
    qint64 lastHeard = 0;
    qint64 lastPing = 0;
    int refusals = 0;
};

NetHost::NetHost(QObject* parent) : QObject(parent), server_(new QTcpServer(this)) {
    clock_.start();
    server_->setMaxPendingConnections(MAX_PEERS);
    connect(server_, &QTcpServer::newConnection, this, [this] { accept(); });
    keepAlive_.setInterval(250);
    connect(&keepAlive_, &QTimer::timeout, this, [this] { keepAlive(); });
}

NetHost::~NetHost() { close(); }

bool NetHost::listen(quint16 port) {
    if (server_->isListening()) server_->close();
    const bool ok = server_->listen(QHostAddress::Any, port);
    if (ok) keepAlive_.start();
    return ok;
}

quint16 NetHost::port() const { return server_->serverPort(); }
bool NetHost::listening() const { return server_->isListening(); }

void NetHost::setNetworkSeats(std::uint8_t seats) {
    for (int k = 0; k < SEAT_COUNT; ++k) {
        const bool network = (seats >> k & 1) != 0;
        if (seats_[k].network && !network) {
            // The seat goes elsewhere: its program, if any, is let go.
            std::vector<QTcpSocket*> gone;
            for (auto& [socket, peer] : peers_)
                if (peer->seat == k) {
                    peer->seat = -1;
                    send(*peer, {Kind::Refused, 0, "seat given away", {}, {}});
                    gone.push_back(socket);
                }
            for (QTcpSocket* socket : gone) drop(socket, "seat given away");
            seats_[k] = {};
        }
        seats_[k].network = network;
    }
    emit seatsChanged();
}

std::uint8_t NetHost::takenSeats() const {
    std::uint8_t taken = 0;
    for (int k = 0; k < SEAT_COUNT; ++k)
        if (seats_[k].taken) taken |= std::uint8_t(1 << k);
    return taken;
}

void NetHost::sendRecordToAll() {
    for (auto& [socket, peer] : peers_)
        if (peer->proven) sendRecord(*peer);
}

void NetHost::sendMove(int index, const RecordMove& move) {
    Message m{Kind::Move, index, {}, {}, move};
    for (auto& [socket, peer] : peers_)
        if (peer->proven) send(*peer, m);
}

void NetHost::refuseMove(int seat, const QString& reason) {
    qWarning("vexel-net: move of seat %d refused: %s", seat + 1, qPrintable(reason));
    for (auto& [socket, peer] : peers_)
        if (peer->proven && peer->seat == seat) {
            send(*peer, {Kind::Refused, 0, reason.toStdString(), {}, {}});
            // A program that keeps sending what is refused is no player.
            if (++peer->refusals > 20) drop(socket, "too many refused moves");
            return;
        }
}

void NetHost::close() {
    keepAlive_.stop();
    // Closing a socket may tell of it at once: nothing may reach drop() now.
    auto peers = std::move(peers_);
    peers_.clear();
    for (auto& [socket, peer] : peers) {
        socket->disconnect(this);
        if (peer->proven) send(*peer, {Kind::Bye, 0, {}, {}, {}});
        closeGently(socket);
    }
    if (server_) server_->close();
}

void NetHost::accept() {
    while (QTcpSocket* socket = server_->nextPendingConnection()) {
        const QString address = socket->peerAddress().toString();
        const Failures& f = failures_.value(address);
        if (int(peers_.size()) >= MAX_PEERS || f.pausedUntil > clock_.elapsed()) {
            qWarning("vexel-net: connection from %s refused (%s)", qPrintable(address),
                     int(peers_.size()) >= MAX_PEERS ? "full" : "pausing after wrong codes");
            socket->write("REFUSED busy\n");
            closeGently(socket);
            continue;
        }
        auto peer = std::make_unique<Peer>();
        peer->socket = socket;
        peer->challenge = newChallenge();
        peer->connectedAt = peer->lastHeard = clock_.elapsed();
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        send(*peer, {Kind::Hello, PROTOCOL_VERSION, {}, {}, {}});
        send(*peer, {Kind::Challenge, 0, peer->challenge.toStdString(), {}, {}});
        peers_[socket] = std::move(peer);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] { drop(socket, {}); });
    }
}

void NetHost::readFrom(QTcpSocket* socket) {
    auto it = peers_.find(socket);
    if (it == peers_.end()) return;
    Peer& peer = *it->second;
    peer.reader.feed(socket->readAll().toStdString());
    peer.lastHeard = clock_.elapsed();
    while (auto line = peer.reader.next()) {
        const auto m = parseMessage(*line);
        if (!m) {
            drop(socket, "not a line of the protocol");
            return;
        }
        handle(peer, *m);
        if (!peers_.count(socket)) return;
    }
    if (peer.reader.overflowed()) drop(socket, "line too long");
}

void NetHost::handle(Peer& peer, const Message& m) {
    QTcpSocket* socket = peer.socket;
    if (!peer.greeted) {
        if (m.kind != Kind::Hello || m.number != PROTOCOL_VERSION) {
            send(peer, {Kind::Refused, 0, "version " + std::to_string(PROTOCOL_VERSION) + " only", {}, {}});
            drop(socket, "no greeting of this version");
            return;
        }
        peer.greeted = true;
        return;
    }
    if (!peer.proven) {
        if (m.kind != Kind::Join) {
            drop(socket, "no proof of the code");
            return;
        }
        const QString address = socket->peerAddress().toString();
        if (!sameAnswer(QByteArray::fromStdString(m.text), joinAnswer(code_, peer.challenge))) {
            Failures& f = failures_[address];
            if (++f.count >= WRONG_TRIES) {
                f.count = 0;
                f.pausedUntil = clock_.elapsed() + PAUSE_MS;
            }
            send(peer, {Kind::Refused, 0, "wrong code", {}, {}});
            drop(socket, "wrong code");
            return;
        }
        failures_.remove(address);
        const QString name = QString::fromStdString(m.name);
        const int seat = freeSeat(m.number - 1, name);
        if (seat < 0) {
            send(peer, {Kind::Refused, 0, "no free seat", {}, {}});
            drop(socket, "no free seat");
            return;
        }
        const bool back = seats_[seat].taken;
        std::vector<QTcpSocket*> replaced;
        for (auto& [other, p] : peers_)
            if (p.get() != &peer && p->seat == seat) {
                // The same player back on a new connection: the old one goes.
                p->seat = -1;
                replaced.push_back(other);
            }
        for (QTcpSocket* other : replaced) drop(other, "replaced by a new connection");
        peer.proven = true;
        peer.seat = seat;
        seats_[seat].taken = seats_[seat].connected = true;
        if (!name.isEmpty()) seats_[seat].name = name;
        send(peer, {Kind::Welcome, seat, {}, {}, {}});
        sendRecord(peer);
        if (back)
            for (auto& [other, p] : peers_)
                if (p->proven && p.get() != &peer) send(*p, {Kind::Back, seat, {}, {}, {}});
        emit seatsChanged();
        return;
    }
    switch (m.kind) {
    case Kind::Ping: send(peer, {Kind::Pong, 0, {}, {}, {}}); return;
    case Kind::Pong: return;
    case Kind::Move:
        if (m.move.seat != peer.seat) {
            refuseMove(peer.seat, "a move for another seat");
            return;
        }
        emit moveArrived(peer.seat, m.number, m.move);
        return;
    default: drop(socket, "a line only the host sends"); return;
    }
}

int NetHost::freeSeat(int wished, const QString& name) const {
    auto free = [&](int k) {
        if (k < 0 || k >= SEAT_COUNT || !seats_[k].network) return false;
        // A seat whose player dropped out waits for that player by name.
        return !seats_[k].connected && (!seats_[k].taken || seats_[k].name == name || wished == k);
    };
    if (free(wished)) return wished;
    for (int k = 0; k < SEAT_COUNT; ++k)
        if (free(k) && !seats_[k].taken) return k;
    for (int k = 0; k < SEAT_COUNT; ++k)
        if (free(k) && seats_[k].name == name) return k;
    return -1;
}

void NetHost::drop(QTcpSocket* socket, const QString& why) {
    auto it = peers_.find(socket);
    if (it == peers_.end()) return;
    std::unique_ptr<Peer> peer = std::move(it->second);
    peers_.erase(it);
    if (!why.isEmpty())
        qWarning("vexel-net: %s dropped: %s", qPrintable(socket->peerAddress().toString()), qPrintable(why));
    socket->disconnect(this);
    closeGently(socket);
    if (peer->seat >= 0 && seats_[peer->seat].connected) {
        // The seat stays its player's; the others see that it waits.
        seats_[peer->seat].connected = false;
        for (auto& [other, p] : peers_)
            if (p->proven) send(*p, {Kind::Wait, peer->seat, {}, {}, {}});
        emit seatsChanged();
    }
}

void NetHost::send(Peer& peer, const Message& m) {
    peer.socket->write(QByteArray::fromStdString(formatMessage(m) + "\n"));
}

void NetHost::sendRecord(Peer& peer) {
    const std::string record = currentRecord ? currentRecord() : std::string();
    if (record.empty()) return;
    std::size_t start = 0;
    std::size_t lines = 0;
    while (start < record.size() && lines < MAX_RECORD_LINES) {
        std::size_t end = record.find('\n', start);
        if (end == std::string::npos) end = record.size();
        const std::string line = record.substr(start, end - start);
        // Comments are not part of the game; the record reads without them.
        if (!line.empty() && line[0] != '#') send(peer, {Kind::Record, 0, line, {}, {}});
        start = end + 1;
        ++lines;
    }
    for (int k = 0; k < SEAT_COUNT; ++k)
        if (seats_[k].taken && !seats_[k].connected) send(peer, {Kind::Wait, k, {}, {}, {}});
    send(peer, {Kind::RecordEnd, 0, {}, {}, {}});
}

void NetHost::keepAlive() {
    const qint64 now = clock_.elapsed();
    std::vector<std::pair<QTcpSocket*, QString>> late;
    for (auto& [socket, peer] : peers_) {
        if (!peer->proven && now - peer->connectedAt > proveMs_)
            late.push_back({socket, "the code was not proven in time"});
        else if (now - peer->lastHeard > silentMs_)
            late.push_back({socket, "silent"});
        else if (peer->proven && now - peer->lastPing >= PING_MS) {
            peer->lastPing = now;
            send(*peer, {Kind::Ping, 0, {}, {}, {}});
        }
    }
    for (const auto& [socket, why] : late) drop(socket, why);
}

}  // namespace vexel
