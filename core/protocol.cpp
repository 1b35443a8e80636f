// Reading and writing the lines of a network game. Every field is checked
// against its range here, so that the layers above act only on what fits.
#include "protocol.h"

#include "gamestate.h"
#include "notation.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <vector>

namespace vexel {

namespace {

using Kind = Message::Kind;

struct Word {
    Kind kind;
    std::string_view word;
};
constexpr std::array<Word, 13> WORDS = {{
    {Kind::Hello, "VEXEL"}, {Kind::Challenge, "CHALLENGE"}, {Kind::Join, "JOIN"}, {Kind::Welcome, "WELCOME"},
    {Kind::Refused, "REFUSED"}, {Kind::Record, "RECORD"}, {Kind::RecordEnd, "RECORDEND"}, {Kind::Move, "MOVE"},
    {Kind::Wait, "WAIT"}, {Kind::Back, "BACK"}, {Kind::Ping, "PING"}, {Kind::Pong, "PONG"}, {Kind::Bye, "BYE"},
}};

bool validUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        int extra = 0;
        std::uint32_t code = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1;
            code = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            code = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            code = c & 0x07;
        } else {
            return false;
        }
        if (i + std::size_t(extra) >= s.size()) return false;
        for (int k = 1; k <= extra; ++k) {
            const auto d = static_cast<unsigned char>(s[i + std::size_t(k)]);
            if ((d & 0xC0) != 0x80) return false;
            code = code << 6 | (d & 0x3F);
        }
        static constexpr std::uint32_t LEAST[] = {0, 0x80, 0x800, 0x10000};
        if (code < LEAST[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += std::size_t(extra) + 1;
    }
    return true;
}

// Splits off the first space-separated field.
std::string_view field(std::string_view& rest) {
    const std::size_t space = rest.find(' ');
    const std::string_view f = rest.substr(0, space);
    rest = space == std::string_view::npos ? std::string_view{} : rest.substr(space + 1);
    return f;
}

std::optional<int> number(std::string_view s, int low, int high) {
    int value = 0;
    if (s.empty() || s.size() > 9) return std::nullopt;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc{} || end != s.data() + s.size() || value < low || value > high) return std::nullopt;
    return value;
}

bool isHex(std::string_view s, std::size_t length) {
    return s.size() == length &&
           std::all_of(s.begin(), s.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

bool hasControl(std::string_view s) {
    return std::any_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

}  // namespace

std::optional<RecordMove> parseMoveLine(std::string_view line) {
    std::string_view rest = line;
    const std::string_view numberField = field(rest);
    if (numberField.size() < 2 || numberField.back() != '.') return std::nullopt;
    const auto moveNumber = number(numberField.substr(0, numberField.size() - 1), 1, 65535);
    const std::string_view seatField = field(rest);
    if (seatField.size() != 2 || seatField.back() != ':') return std::nullopt;
    const auto seat = number(seatField.substr(0, 1), 1, SEAT_COUNT);
    if (!moveNumber || !seat) return std::nullopt;
    RecordMove move;
    move.number = std::uint16_t(*moveNumber);
    move.seat = Seat(*seat - 1);
    if (rest == "pass") return move;
    while (!rest.empty()) {
        const CellIndex hole = parseHoleName(field(rest));
        if (hole == NO_PEG || move.holes.size() >= std::size_t(MAX_PATH)) return std::nullopt;
        move.holes.push_back(hole);
    }
    if (move.holes.size() < 2) return std::nullopt;
    return move;
}

std::string formatMoveLine(const RecordMove& move) {
    std::string line = std::to_string(move.number) + ". " + std::to_string(move.seat + 1) + ":";
    if (move.holes.empty()) return line + " pass";
    for (CellIndex hole : move.holes) line += " " + holeName(hole);
    return line;
}

std::optional<Message> parseMessage(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.size() > MAX_LINE || hasControl(line) || !validUtf8(line)) return std::nullopt;
    std::string_view rest = line;
    const std::string_view word = field(rest);
    const auto known = std::find_if(WORDS.begin(), WORDS.end(), [&](const Word& w) { return w.word == word; });
    if (known == WORDS.end()) return std::nullopt;
    Message m;
    m.kind = known->kind;
    switch (m.kind) {
    case Kind::Hello: {
        const auto version = number(rest, 1, 9999);
        if (!version) return std::nullopt;
        m.number = *version;
        return m;
    }
    case Kind::Challenge:
        if (!isHex(rest, CHALLENGE_HEX)) return std::nullopt;
        m.text = rest;
        return m;
    case Kind::Join: {
        const std::string_view answer = field(rest);
        const auto seat = number(field(rest), 0, SEAT_COUNT);
        if (!isHex(answer, ANSWER_HEX) || !seat) return std::nullopt;
        m.text = answer;
        m.number = *seat;
        m.name = cleanPlayerName(rest);
        return m;
    }
    case Kind::Welcome:
    case Kind::Wait:
    case Kind::Back: {
        const auto seat = number(rest, 1, SEAT_COUNT);
        if (!seat) return std::nullopt;
        m.number = *seat - 1;
        return m;
    }
    case Kind::Refused:
    case Kind::Record:
        m.text = rest;
        return m;
    case Kind::Move: {
        const auto index = number(field(rest), 0, 1 << 20);
        auto move = parseMoveLine(rest);
        if (!index || !move) return std::nullopt;
        m.number = *index;
        m.move = std::move(*move);
        return m;
    }
    case Kind::RecordEnd:
    case Kind::Ping:
    case Kind::Pong:
    case Kind::Bye:
        if (!rest.empty()) return std::nullopt;
        return m;
    }
    return std::nullopt;
}

std::string formatMessage(const Message& m) {
    const std::string word(std::find_if(WORDS.begin(), WORDS.end(), [&](const Word& w) { return w.kind == m.kind; })->word);
    switch (m.kind) {
    case Kind::Hello: return word + " " + std::to_string(m.number);
    case Kind::Challenge: return word + " " + m.text;
    case Kind::Join: return word + " " + m.text + " " + std::to_string(m.number) + " " + cleanPlayerName(m.name);
    case Kind::Welcome:
    case Kind::Wait:
    case Kind::Back: return word + " " + std::to_string(m.number + 1);
    case Kind::Refused:
    case Kind::Record: return m.text.empty() ? word : word + " " + m.text;
    case Kind::Move: return word + " " + std::to_string(m.number) + " " + formatMoveLine(m.move);
    case Kind::RecordEnd:
    case Kind::Ping:
    case Kind::Pong:
    case Kind::Bye: return word;
    }
    return word;
}

std::string cleanPlayerName(std::string_view utf8) {
    std::string bytes = windows1252FromUtf8(validUtf8(utf8) ? utf8 : std::string_view{});
    std::erase_if(bytes, [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F || c == '"'; });
    const auto first = bytes.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    bytes = bytes.substr(first, bytes.find_last_not_of(' ') - first + 1);
    if (bytes.size() > std::size_t(PlayerSlot::MAX_NAME)) bytes.resize(std::size_t(PlayerSlot::MAX_NAME));
    while (!bytes.empty() && bytes.back() == ' ') bytes.pop_back();
    return utf8FromWindows1252(bytes);
}

void LineReader::feed(std::string_view bytes) {
    if (overflowed_) return;
    if (start_ > 0 && start_ >= buffer_.size() / 2) {
        buffer_.erase(0, start_);
        start_ = 0;
    }
    buffer_.append(bytes);
    // A part line without its end may not grow past the limit either.
    const std::size_t newline = buffer_.find('\n', start_);
    const std::size_t open = (newline == std::string::npos ? buffer_.size() : newline) - start_;
    if (open > MAX_LINE + 1) overflowed_ = true;
}

std::optional<std::string> LineReader::next() {
    if (overflowed_) return std::nullopt;
    const std::size_t newline = buffer_.find('\n', start_);
    if (newline == std::string::npos) return std::nullopt;
    std::string line = buffer_.substr(start_, newline - start_);
    start_ = newline + 1;
    if (line.size() > MAX_LINE + 1) {
        overflowed_ = true;
        return std::nullopt;
    }
    // Each complete line behind this one must keep to the limit as well.
    const std::size_t following = buffer_.find('\n', start_);
    const std::size_t open = (following == std::string::npos ? buffer_.size() : following) - start_;
    if (open > MAX_LINE + 1) overflowed_ = true;
    return line;
}

std::optional<HostAndPort> parseHostAndPort(std::string_view text, std::uint16_t defaultPort) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    HostAndPort result;
    result.port = defaultPort;
    std::string_view host = text, port;
    if (!text.empty() && text.front() == '[') {
        const std::size_t close = text.find(']');
        if (close == std::string_view::npos) return std::nullopt;
        host = text.substr(1, close - 1);
        const std::string_view after = text.substr(close + 1);
        if (!after.empty()) {
            if (after.front() != ':') return std::nullopt;
            port = after.substr(1);
            if (port.empty()) return std::nullopt;
        }
    } else if (std::count(text.begin(), text.end(), ':') == 1) {
        const std::size_t colon = text.find(':');
        host = text.substr(0, colon);
        port = text.substr(colon + 1);
        if (port.empty()) return std::nullopt;
    }
    if (host.empty() || host.size() > 253) return std::nullopt;
    for (char c : host)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == ':' || c == '%' || c == '_'))
            return std::nullopt;
    if (!port.empty()) {
        const auto value = number(port, 1, 65535);
        if (!value) return std::nullopt;
        result.port = std::uint16_t(*value);
    }
    result.host = host;
    return result;
}

std::string toHex(std::string_view bytes) {
    static constexpr char DIGITS[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        hex += DIGITS[b >> 4];
        hex += DIGITS[b & 15];
    }
    return hex;
}

std::optional<std::string> fromHex(std::string_view hex) {
    if (hex.size() % 2 != 0) return std::nullopt;
    auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    std::string bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int hi = digit(hex[i]), lo = digit(hex[i + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        bytes += char(hi << 4 | lo);
    }
    return bytes;
}

}  // namespace vexel
