// The host's server against a fake peer on the loopback address: each row
// sends what a stranger might and expects to be dropped without a seat; a
// proven peer gets its seat and the record, and its moves only for that seat.
#include "net/client.h"
#include "net/hostserver.h"
#include "net/joincode.h"
#include "waitfor.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QSignalSpy>
#include <QTcpSocket>

#include <gtest/gtest.h>

namespace vexel {
namespace {

struct FakePeer {
    QTcpSocket socket;
    LineReader reader;
    std::vector<std::string> lines;
    std::size_t looked = 0;  // lines before this one have been looked at
    explicit FakePeer(quint16 port, const char* address = "127.0.0.1") { socket.connectToHost(QHostAddress(address), port); }
    void say(const std::string& text) { socket.write(QByteArray::fromStdString(text)); }
    // Reads until a line starting with `prefix` arrives (or the host closes).
    std::string expect(const std::string& prefix) {
        std::string found;
        waitFor([&] {
            reader.feed(socket.readAll().toStdString());
            while (auto l = reader.next()) lines.push_back(*l);
            for (; found.empty() && looked < lines.size(); ++looked)
                if (lines[looked].rfind(prefix, 0) == 0) found = lines[looked];
            return !found.empty() || socket.state() == QAbstractSocket::UnconnectedState;
        });
        return found;
    }
    bool closedByHost() {
        return waitFor([&] {
            socket.readAll();
            return socket.state() == QAbstractSocket::UnconnectedState;
        });
    }
};

struct Host {
    NetHost host;
    Host() {
        host.setCode("ACDEF3");
        host.setDeadlines(600, 1500);
        host.setNetworkSeats(0b001010);  // seats 2 and 4
        host.currentRecord = [] { return std::string("Format 1\nPegs 10\n"); };
        EXPECT_TRUE(host.listen(0));
    }
    std::string answer(FakePeer& p) {
        const std::string challenge = p.expect("CHALLENGE ").substr(10);
        return joinAnswer("ACDEF3", QByteArray::fromStdString(challenge)).toStdString();
    }
};

TEST(NetHost, StrangersWithoutTheCodeGetNothing) {
    Host h;
    const std::string wrong = std::string(64, '0');
    struct Row {
        const char* what;
        std::function<void(Host&, FakePeer&)> act;
    };
    const Row rows[] = {
        {"garbage", [](Host&, FakePeer& p) { p.say("GET / HTTP/1.0\n"); }},
        {"a wrong version", [](Host&, FakePeer& p) { p.say("VEXEL 2\n"); }},
        {"a wrong code", [&](Host& host, FakePeer& p) { host.answer(p); p.say("VEXEL 1\nJOIN " + wrong + " 0 Eve\n"); }},
        {"a move before the code", [](Host&, FakePeer& p) { p.say("VEXEL 1\nMOVE 0 1. 2: M2 L3\n"); }},
        {"an over-long line", [](Host&, FakePeer& p) { p.say("VEXEL 1\n" + std::string(MAX_LINE + 10, 'x')); }},
        {"a silent peer", [](Host&, FakePeer&) {}},
        {"a line only the host sends", [&](Host& host, FakePeer& p) {
             p.say("VEXEL 1\nJOIN " + host.answer(p) + " 0 Mallory\nWELCOME 1\n");
         }},
    };
    for (const Row& row : rows) {
        FakePeer p(h.host.port());
        row.act(h, p);
        EXPECT_TRUE(p.closedByHost()) << row.what;
        for (const std::string& l : p.lines) EXPECT_EQ(l.rfind("RECORD ", 0), std::string::npos) << row.what;
    }
    // The last row had proven the code and is gone again: its seat waits for it.
    EXPECT_EQ(h.host.takenSeats(), 0b000010);
    EXPECT_FALSE(h.host.seats()[1].connected);
}

TEST(NetHost, ThreeWrongAnswersFromOneAddressAndItWaits) {
    Host h;
    for (int i = 0; i < NetHost::WRONG_TRIES; ++i) {
        FakePeer p(h.host.port());
        h.answer(p);
        p.say("VEXEL 1\nJOIN " + std::string(64, '1') + " 0 Eve\n");
        EXPECT_TRUE(p.closedByHost());
    }
    FakePeer right(h.host.port());
    EXPECT_EQ(right.expect("CHALLENGE"), "");  // refused at once, right code or not
    EXPECT_TRUE(right.closedByHost());
    FakePeer other(h.host.port(), "::1");  // another address is not held up
    if (other.socket.waitForConnected(2000)) {
        other.say("VEXEL 1\nJOIN " + h.answer(other) + " 4 Ben\n");
        EXPECT_EQ(other.expect("WELCOME"), "WELCOME 4");
    }
}

TEST(NetHost, AProvenPeerGetsItsSeatTheRecordAndMovesOnlyForThatSeat) {
    Host h;
    QSignalSpy moves(&h.host, &NetHost::moveArrived);
    FakePeer p(h.host.port());
    p.say("VEXEL 1\nJOIN " + h.answer(p) + " 0 Ben\n");
    EXPECT_EQ(p.expect("WELCOME"), "WELCOME 2");
    EXPECT_EQ(p.expect("RECORDEND"), "RECORDEND");
    EXPECT_NE(std::find(p.lines.begin(), p.lines.end(), "RECORD Pegs 10"), p.lines.end());
    EXPECT_EQ(h.host.seats()[1].name, "Ben");
    p.say("MOVE 0 1. 4: M2 L3\nMOVE 0 1. 2: M2 L3\n");
    EXPECT_EQ(p.expect("REFUSED"), "REFUSED a move for another seat");
    ASSERT_TRUE(waitFor([&] { return moves.size() == 1; }));
    EXPECT_EQ(moves[0][0].toInt(), 1);
    // A full table: nobody else gets seat 2; the next one gets seat 4, then none is left.
    FakePeer q(h.host.port());
    q.say("VEXEL 1\nJOIN " + h.answer(q) + " 2 Ann\n");
    EXPECT_EQ(q.expect("WELCOME"), "WELCOME 4");
    FakePeer r(h.host.port());
    r.say("VEXEL 1\nJOIN " + h.answer(r) + " 0 Cy\n");
    EXPECT_EQ(r.expect("REFUSED"), "REFUSED no free seat");
}

TEST(NetClient, JoinsDropsOutAndComesBackToItsSeat) {
    Host h;
    NetClient c;
    QSignalSpy records(&c, &NetClient::recordArrived);
    QSignalSpy lost(&c, &NetClient::connectionLost);
    c.join("localhost", h.host.port(), "acd-ef3", "Ben");
    ASSERT_TRUE(waitFor([&] { return records.size() == 1; }));
    EXPECT_EQ(c.seat(), 1);
    EXPECT_EQ(records[0][0].value<std::string>(), "Format 1\nPegs 10\n");
    // The host stops hearing from the client: it is dropped, and comes back.
    h.host.setDeadlines(600, 100);
    ASSERT_TRUE(waitFor([&] { return lost.size() >= 1; }));
    h.host.setDeadlines(600, 20000);
    ASSERT_TRUE(waitFor([&] { return c.welcomed(); }));
    EXPECT_EQ(c.seat(), 1);
    EXPECT_EQ(h.host.takenSeats(), 0b000010);

    QSignalSpy ended(&c, &NetClient::hostEnded);
    h.host.close();
    EXPECT_TRUE(waitFor([&] { return ended.size() == 1; }));
}

TEST(NetClient, AWrongCodeIsRefusedForGood) {
    Host h;
    NetClient c;
    QSignalSpy refused(&c, &NetClient::refused);
    c.join("127.0.0.1", h.host.port(), "WRONG1", "Eve");
    ASSERT_TRUE(waitFor([&] { return refused.size() == 1; }));
    EXPECT_EQ(refused[0][0].toString(), "wrong code");
    EXPECT_FALSE(c.active());
}

}  // namespace
}  // namespace vexel
