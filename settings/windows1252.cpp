#include "windows1252.h"

#include <QList>

#include <array>

namespace vexel {
namespace {

// Bytes 0x80..0x9F: the characters Windows-1252 puts there. The unassigned
// bytes map to the C1 control of the same value.
constexpr std::array<char16_t, 32> HIGH_CONTROLS = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178',
};

char16_t unicodeOf(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) return HIGH_CONTROLS[byte - 0x80];
    return char16_t(byte);  // ASCII and Latin-1 agree with Unicode
}

char byteOf(char32_t code) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return char(code);
    for (std::size_t i = 0; i < HIGH_CONTROLS.size(); ++i)
        if (HIGH_CONTROLS[i] == code) return char(0x80 + i);
    return '?';
}

}  // namespace

QString fromWindows1252(std::string_view bytes) {
    QString text;
    text.reserve(qsizetype(bytes.size()));
    for (const char byte : bytes) text.append(QChar(unicodeOf(static_cast<unsigned char>(byte))));
    return text;
}

std::string toWindows1252(const QString& text) {
    std::string bytes;
    // By code point, so that a character outside the BMP gives one '?', not two.
    for (const char32_t code : text.toUcs4()) bytes.push_back(byteOf(code));
    return bytes;
}

}  // namespace vexel
