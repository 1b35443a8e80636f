#include "record.h"

#include "notation.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#ifndef VEXEL_VERSION
#define VEXEL_VERSION "unknown"
#endif

namespace vexel {

int GameRecord::playingSeats() const {
    return int(std::count_if(seats.begin(), seats.end(), [](const RecordSeat& s) { return s.kind != PlayerKind::NotPlaying; }));
}

// ---- Windows-1252 ---------------------------------------------------------

namespace {

// The characters of bytes 0x80..0x9F; 0 marks the five bytes without one,
// which stand for the control character of the same number.
constexpr char16_t HIGH_CONTROLS[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// The length of the UTF-8 sequence at `pos`, or 0 when it is not one
// (overlong forms, surrogates and values above U+10FFFF included).
std::size_t utf8Length(std::string_view s, std::size_t pos, char32_t& c) {
    const auto b = [&](std::size_t i) { return std::uint8_t(s[pos + i]); };
    const std::uint8_t lead = b(0);
    std::size_t n = 0;
    if (lead < 0x80) {
        c = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) n = 2, c = lead & 0x1F;
    else if (lead >= 0xE0 && lead <= 0xEF) n = 3, c = lead & 0x0F;
    else if (lead >= 0xF0 && lead <= 0xF4) n = 4, c = lead & 0x07;
    else return 0;
    if (pos + n > s.size()) return 0;
    for (std::size_t i = 1; i < n; ++i) {
        if ((b(i) & 0xC0) != 0x80) return 0;
        c = (c << 6) | (b(i) & 0x3F);
    }
    if ((n == 3 && (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF))) || (n == 4 && (c < 0x10000 || c > 0x10FFFF))) return 0;
    return n;
}

}  // namespace

std::string utf8FromWindows1252(std::string_view bytes) {
    std::string out;
    for (char ch : bytes) {
        const std::uint8_t b = std::uint8_t(ch);
        const char16_t high = b >= 0x80 && b <= 0x9F ? HIGH_CONTROLS[b - 0x80] : 0;
        appendUtf8(out, high ? high : char32_t(b));
    }
    return out;
}

std::string windows1252FromUtf8(std::string_view utf8) {
    std::string out;
    for (std::size_t pos = 0; pos < utf8.size();) {
        char32_t c = 0;
        const std::size_t n = utf8Length(utf8, pos, c);
        pos += n ? n : 1;
        if (!n) {
            out += '?';
        } else if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out += char(c);
        } else {
            const auto* found = std::find(std::begin(HIGH_CONTROLS), std::end(HIGH_CONTROLS), char16_t(c));
            if (c > 0xFFFF || found == std::end(HIGH_CONTROLS)) {
                // The five unassigned bytes come back as their control characters.
                const bool unassigned = c >= 0x80 && c <= 0x9F && HIGH_CONTROLS[c - 0x80] == 0;
                out += unassigned ? char(c) : '?';
            } else {
                out += char(0x80 + (found - std::begin(HIGH_CONTROLS)));
            }
        }
    }
    return out;
}

// ---- Problems -------------------------------------------------------------

namespace {

constexpr std::string_view PROBLEM_TEMPLATES[] = {
    "the quoted text is not closed (the line is cut off?)",
    "not a seat (1..6): %1",
    "a name is written in quotes: %1",
    "%1 is given twice (first in line %2)",
    "no Format tag: this is no Vexel game record",
    "%1 is missing",
    "no seat plays",
    "colour %1 is given to two seats",
    "more places than seats that play",
    "seat %1 does not play",
    "%1 is incomplete (the line is cut off?)",
    "unexpected text: %1",
    "record format %1 is not known (this program reads formats 1 and 2)",
    "a seat plays 10 or 15 pegs, not %1",
    "seat %1 is placed twice",
    "the status is running, finished or aborted, not %1",
    "a position check value has 16 hexadecimal digits: %1",
    "a seat is human, computer or none, not %1",
    "expected key=value: %1",
    "a name has at most 21 characters",
    "%1 is out of range 0..%2",
    "a move begins with its number and a dot: %1",
    "the seat of a move is followed by a colon: %1",
    "a move names its start hole and at least one landing (the line is cut off?)",
    "no such hole: %1",
    "the file is larger than %1 MB: no game record",
    "not a text: a byte that no text holds (binary data?)",
    "the file is UTF-16 text; a game record is UTF-8 text",
    "a finished game has every place taken, this finishing order %1 of %2",
    "15 pegs do not fit these seats (neighbours, or four or more)",
    "the finishing order does not match the moves, which give: %1",
    "the final position does not match the moves (moves missing or cut short?)",
    "the game is over before this move",
    "seat %1 is not to move; seat %2 is",
    "move number %1, but the game is at move %2",
    "seat %1 is human and cannot pass",
    "seat %1 has a legal move and cannot pass",
    "no peg of seat %1 on %2",
    "impossible move: no step or jump from %1 to %2",
    "there is no such file",
    "this is a folder, not a file",
    "no regular file that can be read",
    "the folder cannot be made",
    "the file cannot be written there (no permission, no room, or another user's file)",
    "the record would be larger than %1 MB",
};
static_assert(std::size(PROBLEM_TEMPLATES) == std::size_t(RecordProblem::Count));

}  // namespace

std::string_view problemTemplate(RecordProblem problem) {
    return std::size_t(problem) < std::size(PROBLEM_TEMPLATES) ? PROBLEM_TEMPLATES[std::size_t(problem)] : "";
}

std::string fillTemplate(std::string_view pattern, const std::vector<std::string>& details) {
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : 0;
        if (pattern[i] == '%' && next >= '1' && next <= '9') {
            const std::size_t k = std::size_t(next - '1');
            if (k < details.size()) out += details[k];
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

std::string excerpt(std::string_view value) {
    constexpr std::size_t MAX = 32;
    if (value.size() <= MAX) return std::string(value);
    // Cut at a character's start, so that the excerpt stays UTF-8.
    std::size_t cut = MAX;
    while (cut > 0 && (std::uint8_t(value[cut]) & 0xC0) == 0x80) --cut;
    return std::string(value.substr(0, cut)) + "\u2026";
}

RecordError::RecordError(TextPlace at, RecordProblem why, std::vector<std::string> what)
    : place(at), message(fillTemplate(problemTemplate(why), what)), problem(why), details(std::move(what)) {}

// ---- Writing --------------------------------------------------------------

namespace {

constexpr std::string_view KIND_WORDS[] = {"human", "computer", "none"};

std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        // A control character (a settings file may hold any byte) is no text.
        out += std::uint8_t(c) < 0x20 || c == 0x7F ? '?' : c;
    }
    return out + '"';
}

}  // namespace

std::string writeRecord(const GameRecord& r) {
    std::string out = "# Vexel game record\n";
    out += "Format " + std::to_string(RECORD_FORMAT) + "\n";
    out += "Program " + (r.program.empty() ? std::string(VEXEL_VERSION) : r.program) + "\n";
    if (!r.date.empty()) out += "Date " + r.date + "\n";
    for (int s = 0; s < SEAT_COUNT; ++s) {
        const RecordSeat& seat = r.seats[s];
        out += "Seat " + std::to_string(s + 1) + " " + std::string(KIND_WORDS[std::min(int(seat.kind), 2)]) +
               " level=" + std::to_string(seat.level) + " colour=" + std::to_string(seat.colour) +
               " name=" + quoted(seat.name) + "\n";
    }
    out += "Pegs " + std::to_string(r.pegs) + "\n";
    if (!r.rules.classic())
        out += std::string("Rules") + (r.rules.longJumps ? " long-jumps" : "") + (r.rules.swapInTarget ? " swap" : "") + "\n";
    out += "FirstMover " + std::to_string(r.firstMover + 1) + "\n";
    if (!r.finishOrder.empty()) {
        out += "Finish";
        for (Seat s : r.finishOrder) out += " " + std::to_string(s + 1);
        out += "\n";
    }
    out += !r.ended ? "Status running\n" : r.aborted ? "Status aborted\n" : "Status finished\n";
    if (r.position) {
        char hex[17];
        std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(*r.position));
        out += "Position " + std::string(hex) + "\n";
    }
    for (const std::string& line : r.kept) out += line + "\n";
    for (const RecordMove& m : r.moves) {
        out += std::to_string(m.number) + ". " + std::to_string(m.seat + 1) + ":";
        if (m.holes.empty()) out += " pass";
        for (CellIndex h : m.holes) out += " " + holeName(h);
        out += "\n";
    }
    return out;
}

std::string describeError(std::string_view file, const RecordError& e) {
    return std::string(file) + ":" + std::to_string(e.place.line) + ":" + std::to_string(e.place.column) + ": " +
           e.message;
}

// ---- Reading --------------------------------------------------------------

namespace {

struct Token {
    std::string_view text;  // for a key=value token the whole of it
    std::size_t pos = 0;    // byte offset in the line
};

// Thrown inside the reader only: the first problem ends the reading.
struct Refusal {
    std::size_t pos;
    RecordProblem problem;
    std::vector<std::string> details{};
};

using P = RecordProblem;

class LineReader {
public:
    LineReader(std::string_view line) : line_(line) {}

    // Splits the line into tokens; a '#' outside quotes starts a comment. A
    // quoted part ("...", with \" and \\) belongs to the token it stands in.
    std::vector<Token> tokens() {
        std::vector<Token> out;
        std::size_t i = 0;
        while (i < line_.size()) {
            const char c = line_[i];
            if (c == ' ' || c == '\t') {
                ++i;
                continue;
            }
            if (c == '#') break;
            const std::size_t start = i;
            while (i < line_.size() && line_[i] != ' ' && line_[i] != '\t') {
                if (line_[i] == '"') {
                    const std::size_t open = i++;
                    while (i < line_.size() && line_[i] != '"') i += line_[i] == '\\' ? 2 : 1;
                    if (i >= line_.size()) throw Refusal{open, P::QuoteNotClosed};
                }
                ++i;
            }
            out.push_back({line_.substr(start, i - start), start});
        }
        return out;
    }

private:
    std::string_view line_;
};

bool sameWord(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return (x | 0x20) == (y | 0x20); });
}

template <typename T>
std::optional<T> number(std::string_view text) {
    T value{};
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

// A seat number 1..6 that the reader has to know plays.
Seat seatNumber(const Token& t) {
    const auto n = number<int>(t.text);
    if (!n || *n < 1 || *n > SEAT_COUNT) throw Refusal{t.pos, P::NotASeat, {excerpt(t.text)}};
    return Seat(*n - 1);
}

std::string unquote(const Token& t, std::string_view value, std::size_t valuePos) {
    if (value.size() < 2 || value.front() != '"' || value.back() != '"')
        throw Refusal{valuePos, P::NameNotQuoted, {excerpt(value)}};
    std::string out;
    for (std::size_t i = 1; i + 1 < value.size(); ++i) {
        if (value[i] == '\\') ++i;
        else if (value[i] == '"') throw Refusal{t.pos, P::NameNotQuoted, {excerpt(value)}};
        out += value[i];
    }
    return out;
}

class RecordReader {
public:
    explicit RecordReader(GameRecord& r) : r_(r) {}

    void line(std::string_view text, int lineNumber) {
        line_ = lineNumber;
        std::vector<Token> t = LineReader(text).tokens();
        if (t.empty()) {
            // A comment line before the moves is kept, save the program's own heading.
            const std::size_t first = text.find_first_not_of(" \t");
            if (first != std::string_view::npos && r_.moves.empty() && text.substr(first) != "# Vexel game record")
                r_.kept.emplace_back(text);
            return;
        }
        if (t[0].text[0] >= '0' && t[0].text[0] <= '9') return move(t);
        const std::string_view key = t[0].text;
        if (sameWord(key, "Seat")) return seat(t);
        static constexpr std::string_view KNOWN[] = {"Format", "Program", "Date",   "Pegs",
                                                     "FirstMover", "Finish", "Status", "Position", "Rules"};
        const auto known = std::find_if(std::begin(KNOWN), std::end(KNOWN), [&](std::string_view k) { return sameWord(k, key); });
        if (known == std::end(KNOWN)) {
            // A tag of another program or a later format: kept while no move came yet.
            if (r_.moves.empty()) r_.kept.emplace_back(text);
            return;
        }
        const int index = int(known - std::begin(KNOWN));
        if (tagLines_[index])
            throw Refusal{t[0].pos, P::GivenTwice, {std::string(*known), std::to_string(tagLines_[index])}};
        tagLines_[index] = lineNumber;
        tag(index, t, text);
    }

    // What can only be told once every line is read.
    void finish(int lastLine) {
        line_ = lastLine;
        if (!tagLines_[0]) throw Refusal{0, P::NoFormat};
        for (int s = 0; s < SEAT_COUNT; ++s)
            if (!seatLines_[s]) throw Refusal{0, P::Missing, {"Seat " + std::to_string(s + 1)}};
        if (!tagLines_[3]) throw Refusal{0, P::Missing, {"Pegs"}};
        if (!tagLines_[4]) throw Refusal{0, P::Missing, {"FirstMover"}};
        if (r_.playingSeats() == 0) throw Refusal{0, P::NoSeatPlays};
        std::array<bool, SEAT_COUNT> used{};
        for (int s = 0; s < SEAT_COUNT; ++s) {
            const std::uint8_t c = r_.seats[s].colour;
            if (used[c]) { line_ = seatLines_[s]; throw Refusal{colourPos_[s], P::ColourTwice, {std::to_string(c)}}; }
            used[c] = true;
        }
        checkPlays(r_.firstMover, firstMoverAt_);
        for (std::size_t i = 0; i < r_.finishOrder.size(); ++i) checkPlays(r_.finishOrder[i], finishAt_[i]);
        const int places = int(r_.finishOrder.size()), playing = r_.playingSeats();
        if (places > playing) {
            line_ = r_.finishPlace.line;
            throw Refusal{std::size_t(finishAt_.back().column - 1), P::TooManyPlaces};
        }
        // Every place taken is a finished game, whatever the user chose after the last finish.
        if (r_.ended && !statusSaid_) r_.aborted = places < playing;
        if (r_.ended && statusSaid_ && !r_.aborted && places < playing) {
            line_ = r_.endPlace.line;
            throw Refusal{std::size_t(r_.endPlace.column - 1), P::FinishedIncomplete,
                          {std::to_string(places), std::to_string(playing)}};
        }
        if (r_.aborted && places == playing) r_.aborted = false;
        for (const RecordMove& m : r_.moves) checkPlays(m.seat, {m.place.line, m.place.column});
    }

    int line_ = 0;

private:
    void checkPlays(Seat seat, TextPlace at) {
        if (r_.seats[seat].kind != PlayerKind::NotPlaying) return;
        line_ = at.line;
        throw Refusal{std::size_t(at.column - 1), P::SeatDoesNotPlay, {std::to_string(seat + 1)}};
    }

    void tag(int index, const std::vector<Token>& t, std::string_view text) {
        const auto one = [&]() -> const Token& {
            if (t.size() < 2) throw Refusal{text.size(), P::CutOff, {std::string(t[0].text)}};
            if (t.size() > 2) throw Refusal{t[2].pos, P::UnexpectedText, {excerpt(t[2].text)}};
            return t[1];
        };
        switch (index) {
            case 0: {
                const auto f = number<int>(one().text);
                if (f != 1 && f != 2) throw Refusal{t[1].pos, P::UnknownFormat, {excerpt(t[1].text)}};
                r_.format = *f;
                break;
            }
            case 1: r_.program = std::string(trimmedRest(t, text)); break;
            case 2: r_.date = std::string(trimmedRest(t, text)); break;
            case 3: {
                const auto p = number<int>(one().text);
                if (p != 10 && p != 15) throw Refusal{t[1].pos, P::PegCount, {excerpt(t[1].text)}};
                r_.pegs = *p;
                r_.pegsPlace = {line_, column(t[1])};
                break;
            }
            case 4:
                r_.firstMover = seatNumber(one());
                firstMoverAt_ = {line_, column(t[1])};
                break;
            case 5:
                r_.finishPlace = {line_, column(t[0])};
                for (std::size_t i = 1; i < t.size(); ++i) {
                    const Seat s = seatNumber(t[i]);
                    if (std::find(r_.finishOrder.begin(), r_.finishOrder.end(), s) != r_.finishOrder.end())
                        throw Refusal{t[i].pos, P::PlacedTwice, {std::string(t[i].text)}};
                    r_.finishOrder.push_back(s);
                    finishAt_.push_back({line_, column(t[i])});
                }
                break;
            case 6: {
                // "ended" is Format 1's word for both ends: the finishing order tells which.
                const Token& v = one();
                const bool running = sameWord(v.text, "running"), ended = sameWord(v.text, "ended");
                const bool finished = sameWord(v.text, "finished"), aborted = sameWord(v.text, "aborted");
                if (!running && !ended && !finished && !aborted) throw Refusal{v.pos, P::BadStatus, {excerpt(v.text)}};
                r_.ended = !running;
                r_.aborted = aborted;
                statusSaid_ = finished || aborted;
                r_.endPlace = {line_, column(t[0])};
                break;
            }
            case 7: {
                const Token& v = one();
                std::uint64_t key = 0;
                const auto [ptr, ec] = std::from_chars(v.text.data(), v.text.data() + v.text.size(), key, 16);
                if (v.text.size() != 16 || ec != std::errc() || ptr != v.text.data() + v.text.size())
                    throw Refusal{v.pos, P::BadPosition, {excerpt(v.text)}};
                r_.position = key;
                r_.positionPlace = {line_, column(v)};
                break;
            }
            case 8:
                // A rule this program does not know would replay the game wrongly: refused.
                for (std::size_t i = 1; i < t.size(); ++i) {
                    if (sameWord(t[i].text, "long-jumps"))
                        r_.rules.longJumps = true;
                    else if (sameWord(t[i].text, "swap"))
                        r_.rules.swapInTarget = true;
                    else
                        throw Refusal{t[i].pos, P::UnexpectedText, {excerpt(t[i].text)}};
                }
                break;
        }
    }

    static std::string_view trimmedRest(const std::vector<Token>& t, std::string_view text) {
        if (t.size() < 2) return {};
        return text.substr(t[1].pos, t.back().pos + t.back().text.size() - t[1].pos);
    }

    void seat(const std::vector<Token>& t) {
        if (t.size() < 3) throw Refusal{t.back().pos + t.back().text.size(), P::CutOff, {"Seat"}};
        const Seat s = seatNumber(t[1]);
        if (seatLines_[s])
            throw Refusal{t[1].pos, P::GivenTwice, {"Seat " + std::string(t[1].text), std::to_string(seatLines_[s])}};
        seatLines_[s] = line_;
        RecordSeat& seat = r_.seats[s];
        const auto kind = std::find_if(std::begin(KIND_WORDS), std::end(KIND_WORDS), [&](std::string_view k) { return sameWord(k, t[2].text); });
        if (kind == std::end(KIND_WORDS)) throw Refusal{t[2].pos, P::BadKind, {excerpt(t[2].text)}};
        seat.kind = PlayerKind(kind - std::begin(KIND_WORDS));
        std::array<bool, 3> given{};
        for (std::size_t i = 3; i < t.size(); ++i) {
            const std::size_t eq = t[i].text.find('=');
            if (eq == std::string_view::npos) throw Refusal{t[i].pos, P::NotKeyValue, {excerpt(t[i].text)}};
            const std::string_view key = t[i].text.substr(0, eq), value = t[i].text.substr(eq + 1);
            const std::size_t valuePos = t[i].pos + eq + 1;
            const int k = sameWord(key, "level") ? 0 : sameWord(key, "colour") || sameWord(key, "color") ? 1 : sameWord(key, "name") ? 2 : -1;
            if (k < 0) continue;  // a later format's detail
            if (given[k]) throw Refusal{t[i].pos, P::GivenTwice, {std::string(key), std::to_string(line_)}};
            given[k] = true;
            if (k == 2) {
                seat.name = unquote(t[i], value, valuePos);
                if (windows1252FromUtf8(seat.name).size() > PlayerSlot::MAX_NAME) throw Refusal{valuePos, P::NameTooLong};
                continue;
            }
            const auto n = number<int>(value);
            const int limit = k == 0 ? 3 : 5;
            if (!n || *n < 0 || *n > limit)
                throw Refusal{valuePos, P::OutOfRange, {excerpt(t[i].text), std::to_string(limit)}};
            (k == 0 ? seat.level : seat.colour) = std::uint8_t(*n);
            if (k == 1) colourPos_[s] = valuePos;
        }
        if (!given[1]) {
            seat.colour = s;  // the seat's own colour, as a fresh players dialog has it
            colourPos_[s] = t[1].pos;
        }
    }

    void move(const std::vector<Token>& t) {
        RecordMove m;
        m.place = {line_, column(t[0])};
        const std::string_view n = t[0].text;
        if (n.back() != '.' || !number<std::uint16_t>(n.substr(0, n.size() - 1)) || n.size() == 1)
            throw Refusal{t[0].pos, P::MoveNumberForm, {excerpt(n)}};
        m.number = *number<std::uint16_t>(n.substr(0, n.size() - 1));
        if (t.size() < 2) throw Refusal{t[0].pos + n.size(), P::CutOff, {excerpt(n)}};
        const std::string_view s = t[1].text;
        if (s.size() < 2 || s.back() != ':') throw Refusal{t[1].pos, P::SeatColon, {excerpt(s)}};
        m.seat = seatNumber({s.substr(0, s.size() - 1), t[1].pos});
        m.place.column = column(t[1]);
        if (t.size() == 3 && sameWord(t[2].text, "pass")) {
            r_.moves.push_back(std::move(m));
            return;
        }
        if (t.size() < 4) throw Refusal{t.size() == 3 ? t[2].pos + t[2].text.size() : t[1].pos + s.size(), P::NoLanding};
        for (std::size_t i = 2; i < t.size(); ++i) {
            const CellIndex h = parseHoleName(t[i].text);
            if (h == NO_PEG) throw Refusal{t[i].pos, P::NoSuchHole, {excerpt(t[i].text)}};
            m.holes.push_back(h);
            m.holeColumns.push_back(column(t[i]));
        }
        r_.moves.push_back(std::move(m));
    }

    // Columns count characters, not bytes; the tokens before a name are ASCII.
    static int column(const Token& t) { return int(t.pos) + 1; }

    GameRecord& r_;
    std::array<int, 9> tagLines_{};
    std::array<int, SEAT_COUNT> seatLines_{};
    std::array<std::size_t, SEAT_COUNT> colourPos_{};
    TextPlace firstMoverAt_;
    std::vector<TextPlace> finishAt_;
    bool statusSaid_ = false;  // finished or aborted said in words
};

// Characters before byte `pos` of `line`, plus one.
int characterColumn(std::string_view line, std::size_t pos) {
    pos = std::min(pos, line.size());
    int column = 1;
    for (std::size_t i = 0; i < pos; ++i) column += (std::uint8_t(line[i]) & 0xC0) != 0x80;
    return column;
}

}  // namespace

namespace {

// A byte order mark of UTF-16, or a first character of it that is ASCII.
bool looksLikeUtf16(std::string_view text) {
    if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) return true;
    return text.size() >= 2 && (text[0] == 0) != (text[1] == 0);
}

}  // namespace

std::optional<GameRecord> readRecord(std::string_view text, RecordError& error) {
    if (text.size() > MAX_RECORD_BYTES) {
        error = {{1, 1}, P::TooLarge, {std::to_string(MAX_RECORD_MB)}};
        return std::nullopt;
    }
    if (looksLikeUtf16(text)) {
        error = {{1, 1}, P::Utf16};
        return std::nullopt;
    }
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    GameRecord record;
    RecordReader reader(record);
    std::string_view line;
    int lineNumber = 0;
    std::vector<std::string_view> lines;
    try {
        for (std::size_t start = 0; start < text.size();) {
            // A line ends in LF, CR LF or a CR alone (as old editors write).
            const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
            line = text.substr(start, end - start);
            const std::size_t next = end + (text.substr(end).starts_with("\r\n") ? 2 : 1);
            ++lineNumber;
            lines.push_back(line);
            reader.line_ = lineNumber;
            for (std::size_t i = 0; i < line.size();) {
                char32_t c = 0;
                const std::size_t n = utf8Length(line, i, c);
                if (n == 0 || (c < 0x20 && c != '\t') || c == 0x7F) throw Refusal{i, P::NotText};
                i += n;
            }
            reader.line(line, lineNumber);
            start = next;
        }
        reader.finish(std::max(lineNumber, 1));
    } catch (const Refusal& refusal) {
        const int at = reader.line_;
        const std::string_view where = at >= 1 && at <= int(lines.size()) ? lines[std::size_t(at - 1)] : std::string_view();
        error = {{at, characterColumn(where, refusal.pos)}, refusal.problem, refusal.details};
        return std::nullopt;
    }
    return record;
}

}  // namespace vexel
