// Game records: the reader's table of good and bad records (each refusal with
// its place in the text), the replay that rebuilds what a game keeps besides
// its position, and the round trip of arena games through text.
#include "test_table.h"

#include "core/notation.h"
#include "core/replay.h"
#include "tools/arena/arena_record.h"
#include "tools/arena/arena_report.h"

#include <algorithm>
#include <string>

using namespace vexel;
using namespace vexel::testing;

namespace {

// Seats 1 and 4 facing each other, five moves, the last a chain of two jumps.
const std::string BASE = "# Vexel game record\n"
                         "Format 1\n"
                         "Program 1.1\n"
                         "Date 2026-12-07T14:30:00Z\n"
                         "Seat 1 human level=0 colour=0 name=\"Spieler 1\"\n"
                         "Seat 2 none level=1 colour=1 name=\"Spieler 2\"\n"
                         "Seat 3 none level=2 colour=2 name=\"Spieler 3\"\n"
                         "Seat 4 human level=0 colour=3 name=\"J\u00fcrgen \u20ac\"\n"
                         "Seat 5 none level=1 colour=4 name=\"Spieler 5\"\n"
                         "Seat 6 none level=2 colour=5 name=\"Spieler 6\"\n"
                         "Pegs 15\n"
                         "FirstMover 1\n"
                         "Status running\n"
                         "Position 1e74c3d9eebdd655\n"
                         "1. 1: E6 F6\n"
                         "1. 4: M6 L6\n"
                         "2. 1: D2 F7\n"
                         "2. 4: N2 L7\n"
                         "3. 1: E8 E6 E4\n";

// BASE with line `line` (1-based) replaced, or deleted for nullptr.
std::string edited(int line, const char* replacement) {
    std::string out;
    int n = 0;
    for (std::size_t start = 0; start < BASE.size();) {
        const std::size_t end = BASE.find('\n', start) + 1;
        if (++n != line) out += BASE.substr(start, end - start);
        else if (replacement) out += std::string(replacement) + "\n";
        start = end;
    }
    return out;
}

std::string crOnly(std::string text) {
    std::replace(text.begin(), text.end(), '\n', '\r');
    return text;
}

std::string utf16(const std::string& ascii) {
    std::string out;
    for (char c : ascii) out += std::string{c, '\0'};
    return out;
}

// Reads and replays; the error of whichever step refused.
std::optional<RecordError> refusal(const std::string& text) {
    RecordError error;
    const auto record = readRecord(text, error);
    RecordReplay replay;
    if (record && replay.run(*record, error)) return std::nullopt;
    return error;
}

}  // namespace

TEST(RecordReader, RefusesEachFaultWithItsPlace) {
    struct Case {
        const char* what;
        std::string text;
        const char* message;
        int line, column;
    };
    std::string junk = "\x7f" "ELF\x02\x01\x01";
    junk += std::string(3, '\0') + "\xff\xfe garbage";
    const Case cases[] = {
        {"no such hole", edited(17, "2. 1: D2 Z7"), "no such hole: Z7", 17, 10},
        {"past the end of its row", edited(17, "2. 1: D2 E14"), "no such hole: E14", 17, 10},
        {"impossible move", edited(17, "2. 1: D2 F8"), "impossible move: no step or jump from D2 to F8", 17, 10},
        {"impossible second landing", edited(19, "3. 1: E8 E6 E2"), "from E6 to E2", 19, 13},
        {"a step and then more", edited(15, "1. 1: E6 F6 G6"), "from F6 to G6", 15, 13},
        {"no peg of the seat there", edited(15, "1. 1: M5 L5"), "no peg of seat 1 on M5", 15, 7},
        {"move by a seat that does not play", edited(17, "2. 2: D2 F7"), "seat 2 does not play", 17, 4},
        {"first mover does not play", edited(12, "FirstMover 3"), "seat 3 does not play", 12, 12},
        {"seat out of turn", edited(15, "1. 4: M6 L6"), "seat 4 is not to move; seat 1 is", 15, 4},
        {"wrong move number", edited(17, "3. 1: D2 F7"), "move number 3, but the game is at move 2", 17, 1},
        {"a human seat passing", edited(17, "2. 1: pass"), "seat 1 is human and cannot pass", 17, 4},
        {"duplicate tag", edited(13, "Pegs 10"), "Pegs is given twice (first in line 11)", 13, 1},
        {"duplicate seat", edited(9, "Seat 4 none"), "Seat 4 is given twice", 9, 6},
        {"missing seat", edited(10, nullptr), "Seat 6 is missing", 18, 1},
        {"no format", edited(2, nullptr), "no Format tag", 18, 1},
        {"later format", edited(2, "Format 3"), "record format 3 is not known", 2, 8},
        {"a rule not known", edited(4, "Rules swap castling"), "unexpected text: castling", 4, 12},
        {"level out of range", edited(8, "Seat 4 human level=4"), "level=4 is out of range 0..3", 8, 20},
        {"colour given twice", edited(9, "Seat 5 none level=1 colour=3"), "colour 3 is given to two seats", 9, 28},
        {"15 pegs for neighbours", edited(7, "Seat 3 human"), "15 pegs do not fit", 11, 6},
        {"name cut off", edited(8, "Seat 4 human level=0 colour=3 name=\"J\u00fcr"), "the quoted text is not closed", 8, 36},
        {"move line cut off", edited(19, "3. 1: E8"), "at least one landing", 19, 9},
        {"last move missing", edited(19, nullptr), "the final position does not match", 14, 10},
        {"finishing order not played", edited(13, "Finish 1"), "the finishing order does not match the moves, which give: -", 13, 1},
        {"10 MB", std::string(10 << 20, 'x'), "larger than 2 MB", 1, 1},
        {"one byte over the limit", BASE + std::string(MAX_RECORD_BYTES - BASE.size() + 1, '\n'), "larger than 2 MB", 1, 1},
        {"a huge bad value, cut short", edited(11, ("Pegs " + std::string(1 << 20, '9')).c_str()),
         "a seat plays 10 or 15 pegs, not 99999999999999999999999999999999\u2026", 11, 6},
        {"finished with places open", edited(13, "Status finished"), "a finished game has every place taken", 13, 1},
        {"a fault after CR-only line ends", crOnly(edited(17, "2. 1: D2 Z7")), "no such hole: Z7", 17, 10},
        {"UTF-16 with its mark", "\xFF\xFE" + utf16(BASE), "UTF-16", 1, 1},
        {"UTF-16 without a mark", utf16(BASE), "UTF-16", 1, 1},
        {"binary junk", junk, "not a text", 1, 1},
        {"a byte that is no UTF-8", edited(8, "Seat 4 human name=\"J\xfcrgen\""), "not a text", 8, 21},
    };
    for (const Case& c : cases) {
        const auto error = refusal(c.text);
        ASSERT_TRUE(error) << c.what;
        EXPECT_NE(error->message.find(c.message), std::string::npos) << c.what << ": " << error->message;
        EXPECT_EQ(error->place, (TextPlace{c.line, c.column})) << c.what << ": " << error->message;
        EXPECT_LT(error->message.size(), 200u) << c.what << ": a message repeats only an excerpt";
        EXPECT_EQ(error->message, fillTemplate(problemTemplate(error->problem), error->details)) << c.what;
    }
    EXPECT_EQ(describeError("a.vxg", {{17, 10}, RecordProblem::NoSuchHole, {"Z7"}}), "a.vxg:17:10: no such hole: Z7");
}

TEST(RecordReader, ToleratesWhatPeopleWriteAndWritesCanonically) {
    // Comments, blank lines, CR LF, a byte order mark, unknown tags and keys,
    // any case, the seats in another order, no newline at the end.
    const std::string messy = "\xEF\xBB\xBF# written by hand\r\n"
                              "\r\n"
                              "format 1\r\n"
                              "Event Club night  # not ours\r\n"
                              "Program 1.1\r\nDate 2026-12-07T14:30:00Z\r\n"
                              "SEAT 4 Human colour=3 name=\"J\u00fcrgen \u20ac\" level=0 mood=fine\r\n"
                              "Seat 1 human level=0 colour=0 name=\"Spieler 1\"\r\n"
                              "Seat 2 none level=1 name=\"Spieler 2\"\r\n"
                              "Seat 3 none level=2 colour=2 name=\"Spieler 3\"\r\n"
                              "Seat 5 none level=1 colour=4 name=\"Spieler 5\"\r\n"
                              "Seat 6 none level=2 colour=5 name=\"Spieler 6\"\r\n"
                              "Pegs  15\r\nFirstMover\t1\r\nstatus Running\r\nPosition 1E74C3D9EEBDD655\r\n"
                              "1. 1: e6 f6   # the opening\r\n"
                              "1. 4: M6 L6\r\n\r\n"
                              "2. 1: D2 F7\r\n2. 4: N2 L7\r\n3. 1: E8 E6 E4";
    RecordError error;
    const auto record = readRecord(messy, error);
    ASSERT_TRUE(record) << error.message;
    std::string canonical = BASE;
    canonical.replace(canonical.find("Format 1"), 8, "Format 2");
    canonical.insert(canonical.find("1. 1:"), "# written by hand\nEvent Club night  # not ours\n");
    EXPECT_EQ(writeRecord(*record), canonical);
    RecordReplay replay;
    ASSERT_TRUE(replay.run(*record, error)) << error.message;
    // Names go into the game as Windows-1252 bytes.
    EXPECT_EQ(replay.game().state().players[3].nameBytes(), "J\xfcrgen \x80");
    EXPECT_EQ(utf8FromWindows1252("J\xfcrgen \x80\x81"), "J\u00fcrgen \u20ac\u0081");
    EXPECT_EQ(windows1252FromUtf8("\u0105\xff"), "??");
}

namespace {

// What a game must have back after a replay: everything but the screen's handles.
void expectSameGame(const GameState& a, const GameState& b, const std::string& what) {
    EXPECT_EQ(a.occupancy, b.occupancy) << what;
    EXPECT_EQ(a.currentPlayer, b.currentPlayer) << what;
    EXPECT_EQ(a.moveNumber, b.moveNumber) << what;
    EXPECT_EQ(a.startingPlayer, b.startingPlayer) << what;
    EXPECT_EQ(a.finishOrder, b.finishOrder) << what;
    EXPECT_EQ(a.finished, b.finished) << what;
    EXPECT_EQ(a.gameRunning, b.gameRunning) << what;
    EXPECT_EQ(a.computerToMove, b.computerToMove) << what;
    EXPECT_EQ(a.players, b.players) << what;
    EXPECT_EQ(a.pegsPerPlayer, b.pegsPerPlayer) << what;
    EXPECT_EQ(a.rules, b.rules) << what;
    for (int s = 0; s < SEAT_COUNT; ++s) EXPECT_EQ(a.producedPositions.keys[s], b.producedPositions.keys[s]) << what;
}

void playComputerTurn(TestTable& t) {
    t.game.computerTurnStep();
    t.game.computerTurnStep();
    if (t.state().moveInProgress) t.game.completeMove();
}

}  // namespace

TEST(RecordReplay, RestoresTakeBackHistoryAndComputerMemory) {
    // A human against a computer: the record is taken while the computer's
    // move is still on its way, as the window's autosave takes it.
    TestTable t({{0, PlayerKind::Human}, {3, PlayerKind::Computer}}, 5);
    t.startWithTurn(0);
    for (int round = 0; round < 6; ++round) {
        t.playAnyStep();
        if (round == 3) t.game.takeBack();  // the cut moves must leave the record too
        else playComputerTurn(t);
    }
    t.playAnyStep();
    t.game.computerTurnStep();
    t.game.computerTurnStep();
    ASSERT_TRUE(t.state().moveInProgress);
    const std::string text = writeRecord(recordOf(t.game, t.settings, "2026-12-07"));
    t.game.completeMove();

    RecordError error;
    const auto record = readRecord(text, error);
    ASSERT_TRUE(record) << error.message;
    RecordReplay replay;
    ASSERT_TRUE(replay.run(*record, error)) << describeError("record", error) << "\n" << text;
    expectSameGame(replay.game().state(), t.state(), "after the replay");

    // Adopted by another game, it goes on as the original does, take backs included.
    TestTable other({{0, PlayerKind::Human}, {3, PlayerKind::Computer}}, 9);
    other.game.newGame();
    other.game.adoptGame(replay.game());
    expectSameGame(other.state(), t.state(), "adopted");
    while (t.game.canTakeBack()) {
        ASSERT_TRUE(other.game.canTakeBack());
        t.game.takeBack();
        other.game.takeBack();
        expectSameGame(other.state(), t.state(), "taken back");
    }
    EXPECT_FALSE(other.game.canTakeBack());
}

TEST(RecordReplay, ArenaGamesRoundTripThroughText) {
    using namespace vexel::arena;
    struct Table {
        std::vector<std::pair<int, int>> levels;
        bool ten;
        int games;
        int maxTurns = 3000;
        HouseRules rules = {};
    };
    const Table tables[] = {
        {{{0, 0}, {3, 2}}, false, 60},
        {{{1, 1}, {4, 0}}, true, 40},
        {{{0, 2}, {2, 1}, {4, 0}}, false, 60},
        {{{1, 0}, {3, 1}, {5, 2}}, true, 40},
        {{{0, 1}, {1, 2}, {3, 0}, {4, 1}}, false, 40},
        {{{0, 0}, {1, 1}, {2, 2}, {3, 0}, {4, 1}, {5, 2}}, false, 40},
        // The strongest level thinks long: one game, stopped early.
        {{{2, 3}, {5, 1}}, false, 1, 40},
        // House rules: the Rules tag brings them back, and the replay plays by them.
        {{{0, 0}, {3, 1}}, false, 4, 400, {true, false}},
        {{{0, 1}, {2, 0}, {4, 2}}, true, 4, 400, {false, true}},
        {{{1, 0}, {4, 0}}, false, 4, 400, {true, true}},
    };
    int checked = 0;
    for (const Table& table : tables) {
        ArenaOptions o;
        for (const auto& [seat, level] : table.levels) o.levels[seat] = level;
        o.alwaysTenPegs = table.ten;
        o.keepRecords = true;
        o.maxTurns = table.maxTurns;
        o.rules = table.rules;
        o.seed = std::uint64_t(100 + checked);
        for (int n = 1; n <= table.games; ++n) {
            const ArenaGameResult game = playArenaGame(o, arenaGameSeed(o.seed, n));
            const RecordCheck check = checkRecordText("game", game.record);
            ASSERT_TRUE(check.ok) << check.report << "\n" << game.record;
            expectSameGame(check.final, game.finalState, "game " + std::to_string(n));
            ++checked;
        }
    }
    EXPECT_EQ(checked, 293);
}

TEST(RecordReader, KeepsWhatOthersWroteAndTellsHowTheGameEnded) {
    // Another program's tags and comments before the moves come back in
    // order; comments among the moves do not. Format 1's "ended" becomes
    // "aborted" or "finished" as the finishing order tells.
    std::string text = edited(13, "# Round 3\nEvent Club night\nStatus ended");
    text.insert(text.find("2. 1:"), "# a comment among the moves\n");
    RecordError error;
    auto record = readRecord(text, error);
    ASSERT_TRUE(record) << error.message;
    EXPECT_EQ(record->kept, (std::vector<std::string>{"# Round 3", "Event Club night"}));
    EXPECT_TRUE(record->ended && record->aborted);
    const std::string written = writeRecord(*record);
    EXPECT_NE(written.find("Format 2\n"), std::string::npos);
    EXPECT_NE(written.find("Status aborted\nPosition 1e74c3d9eebdd655\n# Round 3\nEvent Club night\n1. 1:"), std::string::npos)
        << written;
    EXPECT_EQ(written.find("among the moves"), std::string::npos);
    const auto again = readRecord(written, error);
    ASSERT_TRUE(again) << error.message;
    EXPECT_EQ(writeRecord(*again), written);

    // A record at the size limit is read; the writer's limit is the same.
    std::string padded = BASE;
    padded.insert(padded.find("1. 1:"), "# " + std::string(MAX_RECORD_BYTES - BASE.size() - 3, 'x') + "\n");
    ASSERT_EQ(padded.size(), MAX_RECORD_BYTES);
    const auto full = readRecord(padded, error);
    ASSERT_TRUE(full) << error.message;
    EXPECT_EQ(writeRecord(*full).size(), MAX_RECORD_BYTES);  // "Format 2" and "Status running": as long
}

TEST(RecordReader, ThePositionCheckValueFollowsItsDocumentedRule) {
    // The rule other programs are given: splitmix64 from the seed
    // 0x564558454C000001, one number per hole (0..120) and seat (0..5) in
    // that order, the key the XOR of the numbers of every peg on the board.
    std::uint64_t x = 0x564558454C000001ULL;
    std::array<std::array<std::uint64_t, SEAT_COUNT>, CELL_COUNT> keys{};
    for (auto& hole : keys)
        for (auto& key : hole) {
            std::uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
            key = z ^ (z >> 31);
        }
    RecordError error;
    const auto record = readRecord(BASE, error);
    RecordReplay replay;
    ASSERT_TRUE(record && replay.run(*record, error)) << error.message;
    std::uint64_t key = 0;
    for (int h = 0; h < CELL_COUNT; ++h)
        if (const Seat s = replay.game().state().occupancy[h]; s != NO_PEG) key ^= keys[h][s];
    EXPECT_EQ(key, *record->position);
}

TEST(RecordReplay, Format1MoveNumbersThatStoodStillStillRead) {
    // Format 1 counted a round only when the first mover's turn came again:
    // once it had finished, every later move kept the same number.
    using namespace vexel::arena;
    ArenaOptions o;
    o.levels = {2, NOT_SEATED, 2, NOT_SEATED, 2, NOT_SEATED};
    o.keepRecords = true;
    int checked = 0;
    for (int n = 1; n <= 20 && checked < 2; ++n) {
        const ArenaGameResult game = playArenaGame(o, arenaGameSeed(5, n));
        RecordError error;
        auto record = readRecord(game.record, error);
        ASSERT_TRUE(record) << error.message;
        const auto first = std::find(record->finishOrder.begin(), record->finishOrder.end(), record->firstMover);
        // Only when at least two seats played on after the first mover finished.
        if (record->finishOrder.end() - first < 3) continue;
        std::uint16_t legacy = 1;
        bool differs = false;
        for (std::size_t i = 0; i < record->moves.size(); ++i) {
            if (i > 0 && record->moves[i].seat == record->firstMover) ++legacy;
            differs = differs || record->moves[i].number != legacy;
            record->moves[i].number = legacy;
        }
        ASSERT_TRUE(differs);
        std::string text = writeRecord(*record);
        RecordReplay asFormat2;
        EXPECT_FALSE(readRecord(text, error) && asFormat2.run(*readRecord(text, error), error));
        EXPECT_NE(error.message.find("move number"), std::string::npos) << error.message;
        text.replace(text.find("Format 2"), 8, "Format 1");
        const auto old = readRecord(text, error);
        RecordReplay asFormat1;
        ASSERT_TRUE(old && asFormat1.run(*old, error)) << describeError("old", error);
        // Written again, the numbers go on counting.
        const std::vector<RecordMove> counted = readRecord(game.record, error)->moves;
        EXPECT_EQ(asFormat1.game().playedMoves(), counted);
        ++checked;
    }
    EXPECT_EQ(checked, 2);
}
