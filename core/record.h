// A game record (.vxg): plain UTF-8 text that a person can read and that the
// program reads back to go on with a game. Tag lines first, one move a line
// (docs/game-records.md describes every line for other programs):
//
//   # Vexel game record
//   Format 2
//   Program 1.1
//   Date 2026-12-07T14:30:00Z            (when the game began)
//   Seat 1 human level=0 colour=0 name="Anna"
//   Seat 2 computer level=1 colour=1 name="Spieler 2"
//   Seat 3 none level=2 colour=2 name="Spieler 3"
//   ...                                  (all six seats, 1..6)
//   Pegs 10
//   Rules long-jumps swap                (house rules in force; no tag: classic)
//   FirstMover 2
//   Finish 2                             (the places known so far, first first)
//   Status running                       (or finished, or aborted)
//   Position 3f0c9a2b7d41e655            (check value of the final position)
//   Event Club night                     (tags and comments of others, kept)
//   1. 2: M2 L3
//   1. 1: E5 G5 G7                       (start hole, then every landing)
//   2. 2: pass                           (a computer seat without a legal move)
//
// Holes are named as in notation.h. Reading is tolerant: blank lines,
// comments from '#' to the end of the line and tags it does not know are
// skipped (whole comment lines and unknown tags before the moves are kept, in
// order, and written back), keywords may be in any case, a line may end in
// LF, CR LF or CR alone. Format 1 records (Status ended, and the move numbers
// that stood still once the first mover had finished) are read as before.
// Writing is canonical: the same record always gives the same bytes. Whether the moves are legal is for the replay
// (replay.h) to say; the reader checks the form and what the tags alone tell.
#pragma once

#include "settings.h"
#include "types.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vexel {

inline constexpr int RECORD_FORMAT = 2;
// Longer texts are no game record: refused before they are read, and never
// written (recordfile.h), so that every record the program writes reads back.
inline constexpr std::size_t MAX_RECORD_MB = 2;
inline constexpr std::size_t MAX_RECORD_BYTES = MAX_RECORD_MB << 20;

// Why a record was refused. The window shows each in its language: text id
// RECORD_PROBLEM_TEXT_ID + the number, with %1.. for the details.
enum class RecordProblem : std::uint8_t {
    QuoteNotClosed, NotASeat, NameNotQuoted, GivenTwice, NoFormat, Missing, NoSeatPlays, ColourTwice,
    TooManyPlaces, SeatDoesNotPlay, CutOff, UnexpectedText, UnknownFormat, PegCount, PlacedTwice, BadStatus,
    BadPosition, BadKind, NotKeyValue, NameTooLong, OutOfRange, MoveNumberForm, SeatColon, NoLanding,
    NoSuchHole, TooLarge, NotText, Utf16, FinishedIncomplete, PegsDoNotFit, FinishMismatch, PositionMismatch,
    GameOver, NotToMove, WrongNumber, HumanPass, PassWithMove, NoPeg, Impossible, NoFile,
    IsFolder, NotRegular, CannotMakeFolder, CannotWrite, TooLargeToWrite,
    Count
};
inline constexpr std::uint16_t RECORD_PROBLEM_TEXT_ID = 1000;
// The English text of a problem, with %1.. where its details go.
std::string_view problemTemplate(RecordProblem problem);
// The template with %1.. replaced by `details`.
std::string fillTemplate(std::string_view pattern, const std::vector<std::string>& details);
// At most a few dozen characters of a value from the text, for a message:
// a huge bad value is cut short rather than repeated whole.
std::string excerpt(std::string_view value);

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
    std::string date;     // when the game began, ISO 8601 (Format 1: when it was written)
    std::array<RecordSeat, SEAT_COUNT> seats{};
    int pegs = 10;
    HouseRules rules;  // the game is played by these
    Seat firstMover = 0;
    std::vector<Seat> finishOrder;  // the places taken, first place first
    bool ended = false;             // the game is over (finished or stopped)
    bool aborted = false;           // ended by the user before every place was taken
    std::optional<std::uint64_t> position;  // positionKey of the final position
    std::vector<RecordMove> moves;
    // Whole comment lines and tags of other programs before the first move,
    // as read (without the line end), to be written back in the same order.
    std::vector<std::string> kept;

    // Where the tags the replay checks stand in the text read.
    TextPlace pegsPlace, finishPlace, positionPlace, endPlace;

    int playingSeats() const;
};

struct RecordError {
    TextPlace place;
    std::string message;  // in English
    RecordProblem problem = RecordProblem::Count;
    std::vector<std::string> details;  // what goes into the problem's template

    RecordError() = default;
    RecordError(TextPlace at, RecordProblem why, std::vector<std::string> what = {});
};

// Reads a record. On failure returns nothing and tells the first problem.
// A text that is whole and fits the limit is read in time linear in its size.
std::optional<GameRecord> readRecord(std::string_view text, RecordError& error);
std::string writeRecord(const GameRecord& record);

// "file:line:column: message", the form every caller shows.
std::string describeError(std::string_view file, const RecordError& error);

// Names in the game are Windows-1252 bytes; records hold UTF-8. A character
// without a Windows-1252 byte becomes '?'.
std::string utf8FromWindows1252(std::string_view bytes);
std::string windows1252FromUtf8(std::string_view utf8);

}  // namespace vexel
