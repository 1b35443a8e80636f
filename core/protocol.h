// The lines that programs of a network game send each other: UTF-8 text over
// TCP, one message a line ending in '\n', no line longer than MAX_LINE bytes.
// The host holds the game; a joined program proves the join code and then only
// sends the moves of its own seat. The state of the game travels as the lines
// of a game record (record.h), a move as a record's move line:
//
//   host -> peer   VEXEL 1                   greeting: the protocol's version
//   host -> peer   CHALLENGE 9f3c...         32 hex digits, new for each connection
//   peer -> host   VEXEL 1
//   peer -> host   JOIN 5a7e... 0 Ben        HMAC-SHA-256 of the challenge under the
//                                            join code (64 hex digits), the seat
//                                            wished for (1..6, 0: any), the name
//   host -> peer   WELCOME 3                 the seat given (or REFUSED reason)
//   host -> peer   RECORD Format 1           the whole game record, line by line,
//   host -> peer   RECORD Seat 1 human ...   then RECORDEND; sent on joining and
//   host -> peer   RECORDEND                 whenever a new game starts
//   both ways      MOVE 7 4. 2: E5 G5 G7     move 7 of the game (counted from 0),
//                                            as a record's move line
//   host -> peer   WAIT 3 / BACK 3           seat 3 lost its connection / is back
//   host -> peer   REFUSED reason            the last line asked for what is not allowed
//   both ways      PING / PONG               keep-alive
//   host -> peer   BYE                       the host's game ends here
//
// A program that reads a line it does not know, or a version it does not
// speak, says REFUSED and closes. Parsing is plain C++ so that tests and the
// fuzzer reach it without sockets.
#pragma once

#include "record.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vexel {

inline constexpr int PROTOCOL_VERSION = 1;
inline constexpr std::size_t MAX_LINE = 512;   // bytes without the '\n'
inline constexpr std::size_t MAX_RECORD_LINES = 4096;  // RECORD lines of one state
inline constexpr std::size_t CHALLENGE_HEX = 32;
inline constexpr std::size_t ANSWER_HEX = 64;
inline constexpr std::uint16_t DEFAULT_PORT = 47821;

struct Message {
    enum class Kind : std::uint8_t {
        Hello, Challenge, Join, Welcome, Refused, Record, RecordEnd, Move, Wait, Back, Ping, Pong, Bye
    };
    Kind kind = Kind::Ping;
    int number = 0;     // Hello: version; Join: seat wished (0 any); Welcome, Wait, Back: seat 0..5; Move: index
    std::string text;   // Challenge, Join: hex; Refused: reason; Record: the record's line
    std::string name;   // Join: the player's name, cleaned (UTF-8)
    RecordMove move;    // Move

    bool operator==(const Message&) const = default;
};

// One line without its '\n' (a '\r' before it is taken off). Nothing for a
// line that is no message of this protocol: unknown word, missing or extra
// field, a number or hole out of range, over-long, not UTF-8.
std::optional<Message> parseMessage(std::string_view line);
// The line of `message` without '\n'; parseMessage reads it back unchanged.
std::string formatMessage(const Message& message);

// A record's move line "4. 2: E5 G5 G7" or "4. 2: pass", and back.
std::optional<RecordMove> parseMoveLine(std::string_view line);
std::string formatMoveLine(const RecordMove& move);

// A player's name as the game can keep it: control characters and
// leading/trailing spaces gone, characters without a Windows-1252 byte as '?',
// at most PlayerSlot::MAX_NAME bytes in Windows-1252; returned as UTF-8.
std::string cleanPlayerName(std::string_view utf8);

// Collects the lines of a byte stream: at most MAX_LINE bytes a line. A
// longer line makes the stream unusable (overflowed), since what follows
// cannot be trusted to start a line.
class LineReader {
public:
    void feed(std::string_view bytes);
    // The next complete line, if any.
    std::optional<std::string> next();
    bool overflowed() const { return overflowed_; }

private:
    std::string buffer_;
    std::size_t start_ = 0;
    bool overflowed_ = false;
};

// "host", "host:port", "1.2.3.4:port", "::1", "[::1]:port" as typed into the
// address field: the host (brackets off) and the port (`defaultPort` when
// none is given). Nothing for an empty host, a bad port or stray characters.
struct HostAndPort {
    std::string host;
    std::uint16_t port = DEFAULT_PORT;
    bool operator==(const HostAndPort&) const = default;
};
std::optional<HostAndPort> parseHostAndPort(std::string_view text, std::uint16_t defaultPort = DEFAULT_PORT);

// Lower-case hex of bytes, and back (nothing for odd length or a non-hex digit).
std::string toHex(std::string_view bytes);
std::optional<std::string> fromHex(std::string_view hex);

}  // namespace vexel
