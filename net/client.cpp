#include "client.h"

#include "joincode.h"

#include <QTcpSocket>

namespace vexel {

using Kind = Message::Kind;

NetClient::NetClient(QObject* parent) : QObject(parent) {
    tick_.setInterval(500);
    connect(&tick_, &QTimer::timeout, this, [this] { tick(); });
}

NetClient::~NetClient() { leave(); }

void NetClient::join(const QString& host, quint16 port, const QString& code, const QString& name, int seatWish) {
    leave();
    host_ = host;
    port_ = port;
    code_ = code;
    name_ = QString::fromStdString(cleanPlayerName(name.toStdString()));
    seat_ = seatWish;
    tries_ = 0;
    active_ = true;
    tick_.start();
    connectNow();
}

void NetClient::connectNow() {
    if (socket_) {
        socket_->disconnect(this);
        socket_->abort();
        socket_->deleteLater();
    }
    socket_ = new QTcpSocket(this);
    reader_ = LineReader();
    welcomed_ = greeted_ = false;
    record_.clear();
    recordLines_ = 0;
    ++tries_;
    connect(socket_, &QTcpSocket::connected, this,
            [this] { socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1); });
    connect(socket_, &QTcpSocket::readyRead, this, [this] { readLines(); });
    connect(socket_, &QTcpSocket::disconnected, this, [this] { lost("connection closed"); });
    connect(socket_, &QTcpSocket::errorOccurred, this, [this] { lost(socket_->errorString()); });
    sinceConnect_.start();
    sinceHeard_.start();
    socket_->connectToHost(host_, port_);
}

void NetClient::leave() {
    active_ = false;
    tick_.stop();
    if (socket_) {
        socket_->disconnect(this);
        socket_->disconnectFromHost();
        socket_->deleteLater();
        socket_ = nullptr;
    }
    welcomed_ = false;
}

void NetClient::sendMove(int index, const RecordMove& move) {
    if (welcomed_) send({Kind::Move, index, {}, {}, move});
}

void NetClient::send(const Message& m) {
    if (socket_) socket_->write(QByteArray::fromStdString(formatMessage(m) + "\n"));
}

void NetClient::readLines() {
    if (!socket_) return;
    reader_.feed(socket_->readAll().toStdString());
    sinceHeard_.start();
    while (active_ && socket_) {
        auto line = reader_.next();
        if (!line) break;
        const auto m = parseMessage(*line);
        if (!m) {
            qWarning("vexel-net: the host sent what is no line of the protocol");
            leave();
            emit gaveUp(QStringLiteral("protocol"));
            return;
        }
        handle(*m);
    }
    if (reader_.overflowed() && active_) {
        leave();
        emit gaveUp(QStringLiteral("protocol"));
    }
}

void NetClient::handle(const Message& m) {
    switch (m.kind) {
    case Kind::Hello:
        if (m.number != PROTOCOL_VERSION) {
            send({Kind::Refused, 0, "version " + std::to_string(PROTOCOL_VERSION) + " only", {}, {}});
            leave();
            emit gaveUp(QStringLiteral("version"));
            return;
        }
        greeted_ = true;
        send({Kind::Hello, PROTOCOL_VERSION, {}, {}, {}});
        return;
    case Kind::Challenge:
        if (!greeted_) break;
        send({Kind::Join, seat_ + 1, joinAnswer(code_, QByteArray::fromStdString(m.text)).toStdString(),
              name_.toStdString(), {}});
        return;
    case Kind::Welcome:
        welcomed_ = true;
        tries_ = 0;
        seat_ = m.number;
        emit welcomedToSeat(seat_);
        return;
    case Kind::Refused:
        if (!welcomed_) {
            leave();
            emit refused(QString::fromStdString(m.text), true);
        } else {
            emit refused(QString::fromStdString(m.text), false);
        }
        return;
    case Kind::Record:
        if (!welcomed_ || ++recordLines_ > MAX_RECORD_LINES) break;
        record_ += m.text + "\n";
        return;
    case Kind::RecordEnd:
        if (!welcomed_) break;
        emit recordArrived(record_);
        record_.clear();
        recordLines_ = 0;
        return;
    case Kind::Move:
        if (!welcomed_) break;
        emit moveArrived(m.number, m.move);
        return;
    case Kind::Wait:
    case Kind::Back:
        if (!welcomed_) break;
        emit seatWaiting(m.number, m.kind == Kind::Wait);
        return;
    case Kind::Ping: send({Kind::Pong, 0, {}, {}, {}}); return;
    case Kind::Pong: return;
    case Kind::Bye:
        leave();
        emit hostEnded();
        return;
    case Kind::Join: break;
    }
    qWarning("vexel-net: the host sent a line out of place");
    leave();
    emit gaveUp(QStringLiteral("protocol"));
}

void NetClient::lost(const QString& why) {
    if (!active_ || !socket_) return;
    qWarning("vexel-net: connection to %s lost: %s", qPrintable(host_), qPrintable(why));
    QTcpSocket* old = socket_;
    socket_ = nullptr;
    old->disconnect(this);
    old->abort();
    old->deleteLater();
    const bool wasWelcomed = welcomed_;
    welcomed_ = false;
    if (tries_ >= RETRIES) {
        leave();
        emit gaveUp(why);
        return;
    }
    if (wasWelcomed) emit connectionLost();
    QTimer::singleShot(RETRY_MS, this, [this] {
        if (active_ && !socket_) connectNow();
    });
}

void NetClient::tick() {
    if (!active_ || !socket_) return;
    if (!welcomed_ && sinceConnect_.elapsed() > (socket_->state() == QAbstractSocket::ConnectedState ? WELCOME_MS : CONNECT_MS)) {
        lost(QStringLiteral("no answer in time"));
        return;
    }
    if (welcomed_ && sinceHeard_.elapsed() > SILENT_MS) {
        lost(QStringLiteral("the host is silent"));
        return;
    }
    if (welcomed_ && sinceHeard_.elapsed() > 4000) send({Kind::Ping, 0, {}, {}, {}});
}

}  // namespace vexel
