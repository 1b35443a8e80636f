// The two text tables: every id found in both languages, unknown ids empty,
// and the order the binary search depends on.
#include <gtest/gtest.h>

#include <string_view>

#include "settings/texts.h"

namespace vexel {
namespace {

struct Row {
    std::uint16_t id;
    std::string_view german;
    std::string_view english;
};

// Every row of both tables, checked one by one so that a lookup that misses a
// position of the search (first, last, middle) shows up.
constexpr Row EXPECTED[] = {
    {1, "Vexel", "Vexel Stars"},
    {2, "&Spiel", "&Game"},
    {3, "&Neues Spiel", "&New game"},
    {4, "&Spiel abbrechen", "&Abort game"},
    {5, "S&ieger", "&Winners..."},
    {6, "&Beenden", "E&xit"},
    {7, "&Optionen", "&Options"},
    {8, "&Spieler...", "&Players..."},
    {9, "&Umgebung...", "&Environment"},
    {10, "Switch to &English", "Auf &Deutsch schalten"},
    {11, "&Optionen speichern", "S&ave options"},
    {12, "&Zurücksetzen", "&Reset"},
    {17, "&Hilfe", "&Help"},
    {18, "&Inhalt", "&Contents"},
    {19, "I&nfo", "&About..."},
    {50, "Abbruch", "Cancel"},
    {51, "Hilfe", "Help"},
    {52, "Ja", "Yes"},
    {53, "Nein", "No"},
    {101, "Vexel", "Vexel Stars"},
    {102, "Version 1.1 / 1999", "Version 1.1 / 1999"},
    {200, "Spieler", "Players"},
    {201, "Mensch", "Human"},
    {202, "Computer", "Computer"},
    {203, "spielt nicht", "Does not play"},
    {204, "Farbe", "Color"},
    {205, "Status", "Actor"},
    {206, "Name", "Name"},
    {207, "Spielbrett", "Board"},
    {208, "Farben rotieren", "Rotate colors"},
    {209, "&Immer 10 Figuren", "&Always 10 figures"},
    {220, "Bitte wählen Sie einen Computerspieler aus:", "Please choose a computer player:"},
    {221, "Orvian (sehr gut)", "Orvian (very good)"},
    {222, "Quendor (gut)", "Quenny (good)"},
    {223, "Mimsel", "Plimsy"},
    {224, "Orvian", "Orvian"},
    {225, "Quendor", "Quenny"},
    {226, "Mimsel", "Plimsy"},
    {300, "Umgebung", "Environment"},
    {301, "Mensch", "Human"},
    {302, "Computer", "Computer"},
    {303, "Warp 9,3", "Warp 9.3"},
    {304, "Turbo", "Turbo"},
    {305, "Schnell", "Fast"},
    {306, "Gemütlich", "Comfortable"},
    {307, "Langsam", "Slow"},
    {308, "Laangsaaamm", "Slloooooww"},
    {309, "- Geschwindigkeiten -", "- Speed -"},
    {310, "&Fenstergröße:", "&Window size:"},
    {311, "&Richtung markieren", "&Mark direction"},
    {312, "Sound beim &Ziehen", "Sound when &moving"},
    {350, "Ruhm und Ehre", "Hall Of Fame"},
    {351, "Die Sieger", "The Winners"},
    {352, "Noch ist das Spiel spannend!", "The game is still tense!"},
    {353, "Weiter", "Continue"},
    {354, "Beenden", "Game Over"},
    {800, "Wirklich?", "Really?"},
    {801, "Das laufende Spiel abbrechen?", "Abort the running game?"},
    {802, "Optionen", "Options"},
    {803, "Die Standardeinstellungen wurden wieder eingetragen.", "The default settings are restored."},
    {850, "Zug Nr.", "Move No."},
};

TEST(TextTables, EveryIdIsFoundInBothLanguages) {
    ASSERT_EQ(std::size(EXPECTED), TEXT_COUNT);
    for (const Row& row : EXPECTED) {
        EXPECT_EQ(lookupText(Language::German, row.id), row.german) << "id " << row.id;
        EXPECT_EQ(lookupText(Language::English, row.id), row.english) << "id " << row.id;
    }
}

TEST(TextTables, UnknownIdsGiveTheEmptyText) {
    // Below, between and above the ids of the table, including the gaps
    // 13-16, 20-49 and the neighbours of the last id.
    for (const int id : {0, 13, 16, 20, 49, 54, 100, 103, 199, 210, 219, 227, 299, 313, 349, 355, 799, 804,
                                   849, 851, 1000, 32767, 32768, 65535}) {
        EXPECT_EQ(lookupText(Language::German, std::uint16_t(id)), "") << "id " << id;
        EXPECT_EQ(lookupText(Language::English, std::uint16_t(id)), "") << "id " << id;
    }
}

TEST(TextTables, ALanguageWithoutATableFindsNothing) {
    EXPECT_TRUE(textTable(Language(0)).empty());
    EXPECT_TRUE(textTable(Language(3)).empty());
    EXPECT_EQ(lookupText(Language(0), 1), "");
    EXPECT_EQ(lookupText(Language(3), 850), "");
}

TEST(TextTables, AreSortedAndHoldTheSameIds) {
    const auto german = textTable(Language::German);
    const auto english = textTable(Language::English);
    ASSERT_EQ(german.size(), TEXT_COUNT);
    ASSERT_EQ(english.size(), TEXT_COUNT);
    for (std::size_t i = 0; i < TEXT_COUNT; ++i) {
        EXPECT_EQ(german[i].id, english[i].id) << "row " << i;
        EXPECT_FALSE(german[i].text.empty()) << "row " << i;
        EXPECT_FALSE(english[i].text.empty()) << "row " << i;
        if (i > 0) {
            EXPECT_LT(german[i - 1].id, german[i].id) << "row " << i;
        }
    }
}

TEST(TextTables, TheLanguageItemNamesTheOtherLanguage) {
    EXPECT_EQ(lookupText(Language::German, 10), "Switch to &English");
    EXPECT_EQ(lookupText(Language::English, 10), "Auf &Deutsch schalten");
}

}  // namespace
}  // namespace vexel
