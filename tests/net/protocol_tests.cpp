// The lines of a network game: every message reads back as written, every
// line that is no message is refused, and a move from elsewhere is taken only
// where a click would be.
#include "core/protocol.h"
#include "tests/core/test_table.h"

#include <gtest/gtest.h>

namespace vexel {
namespace {

using Kind = Message::Kind;
const std::string HMAC(64, 'a');

TEST(Protocol, EveryMessageReadsBackAsWritten) {
    const std::string lines[] = {
        "VEXEL 1", "CHALLENGE 0123456789abcdef0123456789abcdef", "JOIN " + HMAC + " 0 Ben",
        "WELCOME 3", "REFUSED wrong code", "RECORD Seat 1 human level=0 colour=0 name=\"Anna\"", "RECORD",
        "RECORDEND", "MOVE 0 1. 2: M2 L3", "MOVE 17 4. 6: E5 G5 G7", "MOVE 3 1. 3: pass", "WAIT 1", "BACK 6",
        "PING", "PONG", "BYE",
    };
    for (const std::string& line : lines) {
        const auto m = parseMessage(line);
        ASSERT_TRUE(m) << line;
        EXPECT_EQ(formatMessage(*m), line);
    }
    const auto move = parseMessage("MOVE 17 4. 6: E5 G5 G7\r");
    ASSERT_TRUE(move);
    EXPECT_EQ(move->kind, Kind::Move);
    EXPECT_EQ(move->number, 17);
    EXPECT_EQ(move->move.seat, 5);
    EXPECT_EQ(move->move.holes.size(), 3u);
    EXPECT_EQ(parseMessage("WELCOME 3")->number, 2);  // seats are 0-based inside
}

TEST(Protocol, LinesThatAreNoMessageAreRefused) {
    const std::string longRecord = "RECORD " + std::string(MAX_LINE, 'x');
    const std::string rows[] = {
        "", "vexel 1", "VEXEL", "VEXEL one", "VEXEL 0", "HELLO 1", "CHALLENGE 0123", "CHALLENGE " + std::string(32, 'G'),
        "CHALLENGE " + std::string(32, 'A'),  // upper-case hex is not how it is written
        "JOIN " + std::string(63, 'a') + " 0 Ben", "JOIN " + HMAC + " 7 Ben", "JOIN " + HMAC, "WELCOME 0",
        "WELCOME 7", "WELCOME", "WAIT -1", "MOVE 1 1. 7: E5 E6", "MOVE 1 1. 2: E5", "MOVE 1 1. 2: E5 Z9",
        "MOVE 1 0. 2: E5 E6", "MOVE x 1. 2: E5 E6", "MOVE 1 1. 2:", "MOVE 1 1 2: E5 E6", "PING now", "BYE!",
        "REFUSED \x01", "RECORD \xff\xfe", "RECORD \xc0\xaf",  // not UTF-8, an over-long form
        longRecord,
    };
    for (const std::string& row : rows) EXPECT_FALSE(parseMessage(row)) << row;
}

TEST(Protocol, NamesAreCleanedLikeTheSettingsFileNames) {
    const std::pair<std::string, std::string> rows[] = {
        {"Ben", "Ben"},
        {"  Ben  ", "Ben"},
        {"B\x01" "e\tn", "Ben"},
        {"Jürgen", "Jürgen"},
        {"Ω-Team", "?-Team"},
        {std::string(40, 'x'), std::string(21, 'x')},
        {"\"quoted\"", "quoted"},
        {"\xff", ""},
    };
    for (const auto& [in, out] : rows) EXPECT_EQ(cleanPlayerName(in), out) << in;
}

TEST(Protocol, LineReaderSplitsLinesAndStopsAtAnOverlongOne) {
    LineReader r;
    r.feed("PING\nPO");
    EXPECT_EQ(r.next(), "PING");
    EXPECT_FALSE(r.next());
    r.feed("NG\r\n");
    EXPECT_EQ(r.next(), "PONG\r");
    r.feed(std::string(MAX_LINE + 5, 'x'));  // no end in sight
    EXPECT_TRUE(r.overflowed());
    EXPECT_FALSE(r.next());

    LineReader s;
    s.feed("PING\n" + std::string(MAX_LINE + 5, 'y') + "\nPONG\n");
    EXPECT_EQ(s.next(), "PING");
    EXPECT_FALSE(s.next());
    EXPECT_TRUE(s.overflowed());
}

TEST(Protocol, AddressesAsTyped) {
    const std::pair<std::string, std::optional<HostAndPort>> rows[] = {
        {"127.0.0.1", HostAndPort{"127.0.0.1", 5000}},
        {"127.0.0.1:47000", HostAndPort{"127.0.0.1", 47000}},
        {" localhost:2 ", HostAndPort{"localhost", 2}},
        {"::1", HostAndPort{"::1", 5000}},
        {"[::1]:47001", HostAndPort{"::1", 47001}},
        {"[fe80::1%eth0]", HostAndPort{"fe80::1%eth0", 5000}},
        {"", std::nullopt},
        {":80", std::nullopt},
        {"host:", std::nullopt},
        {"host:0", std::nullopt},
        {"host:65536", std::nullopt},
        {"[::1", std::nullopt},
        {"[::1]x", std::nullopt},
        {"a b", std::nullopt},
        {"host/x", std::nullopt},
    };
    for (const auto& [text, expected] : rows) EXPECT_EQ(parseHostAndPort(text, 5000), expected) << text;
}

TEST(Protocol, HexBothWays) {
    EXPECT_EQ(toHex(std::string("\x00\x9f\xff", 3)), "009fff");
    EXPECT_EQ(fromHex("009fFF"), std::string("\x00\x9f\xff", 3));
    EXPECT_FALSE(fromHex("0"));
    EXPECT_FALSE(fromHex("zz"));
}

// Seat 0 plays here, seat 3 from elsewhere; seat 3 is to move.
struct RemoteTable : testing::TestTable {
    RemoteTable() : TestTable({{0, PlayerKind::Human}, {3, PlayerKind::Human}}) {
        startWithTurn(3);
        game.setRemoteSeats(1 << 3);
    }
    RecordMove move(int seat, std::vector<CellIndex> holes) { return {1, Seat(seat), std::move(holes), {}, {}}; }
};

TEST(RemoteMoves, OnlyTheSeatToMoveMakesLegalMovesFromElsewhere) {
    RemoteTable t;
    CellIndex peg = NO_PEG, step = NO_PEG;  // a peg of seat 3 with an open neighbour
    for (int k = 0; k < t.state().pegsPerPlayer && step == NO_PEG; ++k)
        for (int d = 0; d < DIRECTION_COUNT && step == NO_PEG; ++d) {
            peg = START_CELLS[3][k];
            const CellIndex n = NEIGHBOURS[peg][d];
            if (n != NO_PEG && t.state().occupancy[n] == NO_PEG) step = n;
        }
    ASSERT_NE(step, NO_PEG);
    const CellIndex farAway = CENTRE_CELL;
    struct Row {
        const char* what;
        RecordMove move;
    };
    const Row refused[] = {
        {"another seat's move", t.move(0, {START_CELLS[0][9], NEIGHBOURS[START_CELLS[0][9]][3]})},
        {"an illegal move", t.move(3, {peg, farAway})},
        {"a pass of a human seat", t.move(3, {})},
        {"a start hole alone", t.move(3, {peg})},
        {"a move from an empty hole", t.move(3, {farAway, step})},
    };
    for (const Row& row : refused) {
        EXPECT_FALSE(t.game.playRemoteMove(row.move)) << row.what;
        EXPECT_EQ(t.view.markedHoleCount(), 0) << row.what;
        EXPECT_FALSE(t.state().moveInProgress) << row.what;
    }
    // Clicks and keys of this screen do nothing in the remote seat's turn.
    EXPECT_FALSE(t.game.acceptsBoardInput());
    t.game.clickHole(peg);
    EXPECT_EQ(t.state().movePathLength, 0);

    EXPECT_TRUE(t.game.playRemoteMove(t.move(3, {peg, step})));
    EXPECT_TRUE(t.state().moveInProgress);
    EXPECT_FALSE(t.game.playRemoteMove(t.move(3, {peg, step}))) << "a move while one is carried out";
    t.game.completeMove();
    EXPECT_EQ(t.state().currentPlayer, 0);
    EXPECT_TRUE(t.game.acceptsBoardInput());
    EXPECT_FALSE(t.game.playRemoteMove(t.move(0, {START_CELLS[0][9], NEIGHBOURS[START_CELLS[0][9]][3]})))
        << "a move for a seat played here";
}

TEST(RemoteMoves, AComputerSeatPlayedElsewhereNeitherThinksNorIsStoppedFromPassing) {
    testing::TestTable t({{0, PlayerKind::Computer}, {3, PlayerKind::Human}});
    t.startWithTurn(0);
    t.state().computerToMove = true;
    t.game.setRemoteSeats(1 << 0);
    EXPECT_FALSE(t.state().computerToMove);
    EXPECT_TRUE(t.game.playRemoteMove({1, 0, {}, {}, {}}));
    EXPECT_EQ(t.state().currentPlayer, 3);
    EXPECT_EQ(t.game.playedMoves().size(), 1u);
}

}  // namespace
}  // namespace vexel
