// A game record (.vxg): plain UTF-8 text that a person can read and that the
// program reads back to go on with a game. Tag lines first, one move a line:
//
//   # Vexel game record
//   Format 1
//   Program 1.1
//   Date 2026-12-07T14:30:00Z
//   Seat 1 human level=0 colour=0 name="Anna"
//   Seat 2 computer level=1 colour=1 name="Spieler 2"
//   Seat 3 none level=2 colour=2 name="Spieler 3"
//   ...                                  (all six seats, 1..6)
//   Pegs 10
//   FirstMover 2
//   Finish 2                             (the places known so far, first first)
//   Status running                       (or ended)
//   Position 3f0c9a2b7d41e655            (check value of the final position)
//   1. 2: M2 L3
//   1. 1: E5 G5 G7                       (start hole, then every landing)
//   2. 2: pass                           (a computer seat without a legal move)
//
// Holes are named as in notation.h. Reading is tolerant: blank lines,
// comments from '#' to the end of the line and tags it does not know are
// skipped, keywords may be in any case. Writing is canonical: the same record
// always gives the same bytes. Whether the moves are legal is for the replay
// (replay.h) to say; the reader checks the form and what the tags alone tell.
#pragma once

#include "types.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vexel {

inline constexpr int RECORD_FORMAT = 1;
// Longer texts are no game record: refused before they are read.
inline constexpr std::size_t MAX_RECORD_BYTES = 1 << 20;

struct RecordSeat {
    PlayerKind kind = PlayerKind::NotPlaying;
    std::uint8_t level = 0;   // 0..3, as the computer reads it
    std::uint8_t colour = 0;  // index 0..5 into the peg colours
    std::string name;         // UTF-8

    bool operator==(const RecordSeat&) const = default;
};

// Where a piece of the text stands, for the messages: 1-based.
struct TextPlace {
    int line = 0;
    int column = 0;
    bool operator==(const TextPlace&) const = default;
};

struct RecordMove {
    std::uint16_t number = 0;      // the move number the game showed
    Seat seat = 0;                 // 0..5 (written 1..6)
    std::vector<CellIndex> holes;  // start hole and landings; empty: the seat passed
    // Where the line and each hole stand in the text read (not compared).
    TextPlace place;
    std::vector<int> holeColumns;

    bool operator==(const RecordMove& o) const { return number == o.number && seat == o.seat && holes == o.holes; }
};

struct GameRecord {
    int format = RECORD_FORMAT;
    std::string program;  // the version of the program that wrote it
    std::string date;     // when it was written, ISO 8601
    std::array<RecordSeat, SEAT_COUNT> seats{};
    int pegs = 10;
    Seat firstMover = 0;
    std::vector<Seat> finishOrder;  // the places taken, first place first
    bool ended = false;             // the game is over (finished or stopped)
    std::optional<std::uint64_t> position;  // positionKey of the final position
    std::vector<RecordMove> moves;

    // Where the tags the replay checks stand in the text read.
    TextPlace pegsPlace, finishPlace, positionPlace, endPlace;

    int playingSeats() const;
};

struct RecordError {
    TextPlace place;
    std::string message;
};

// Reads a record. On failure returns nothing and tells the first problem.
std::optional<GameRecord> readRecord(std::string_view text, RecordError& error);
std::string writeRecord(const GameRecord& record);

// "file:line:column: message", the form every caller shows.
std::string describeError(std::string_view file, const RecordError& error);

// Names in the game are Windows-1252 bytes; records hold UTF-8. A character
// without a Windows-1252 byte becomes '?'.
std::string utf8FromWindows1252(std::string_view bytes);
std::string windows1252FromUtf8(std::string_view utf8);

}  // namespace vexel
