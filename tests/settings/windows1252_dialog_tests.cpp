// Names cross between the settings (Windows-1252 bytes) and the dialogs
// (QString) only through these two conversions.
#include <gtest/gtest.h>

#include <string>

#include "settings/windows1252.h"

namespace vexel {
namespace {

TEST(Windows1252, UmlautsAndSharpSRoundTrip) {
    const QString name = QString::fromUtf8("Jürgen Größe ÄÖÜäöüß");
    const std::string bytes = toWindows1252(name);
    ASSERT_EQ(bytes.size(), std::size_t(name.size()));
    EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0xFC);  // ü
    EXPECT_EQ(static_cast<unsigned char>(bytes[10]), 0xDF);  // ß
    EXPECT_EQ(fromWindows1252(bytes), name);
}

TEST(Windows1252, EveryByteRoundTrips) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(char(b));
    const QString text = fromWindows1252(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(toWindows1252(text), all);
}

TEST(Windows1252, TheRowAbove0x7FMapsToItsOwnCharacters) {
    EXPECT_EQ(fromWindows1252("\x80"), QString::fromUtf8("€"));
    EXPECT_EQ(fromWindows1252("\x8A\x9F"), QString::fromUtf8("ŠŸ"));
    EXPECT_EQ(toWindows1252(QString::fromUtf8("€…™")), std::string("\x80\x85\x99"));
}

TEST(Windows1252, CharactersWithoutAByteBecomeQuestionMarks) {
    EXPECT_EQ(toWindows1252(QString::fromUtf8("Ωmega")), "?mega");
    EXPECT_EQ(toWindows1252(QString::fromUtf8("a→b")), "a?b");
    // A character outside the basic plane is one character: one '?'.
    EXPECT_EQ(toWindows1252(QString::fromUtf8("x😀y")), "x?y");
    // Latin-1 code points that Windows-1252 reuses for other characters.
    EXPECT_EQ(toWindows1252(QString(QChar(0x80))), "?");
}

}  // namespace
}  // namespace vexel
