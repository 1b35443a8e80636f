// The two text tables: every id found in both languages, unknown ids empty,
// and the order the binary search depends on.
#include <gtest/gtest.h>

#include <string_view>

#include "core/record.h"
#include "settings/texts.h"

namespace vexel {
namespace {

// The search must find every row, wherever it sits in the table.
TEST(TextTables, EveryIdIsFoundInBothLanguages) {
    for (const Language language : {Language::German, Language::English}) {
        const auto rows = textTable(language);
        for (const TextEntry& row : rows) EXPECT_EQ(lookupText(language, std::uint16_t(row.id)), row.text) << "id " << row.id;
    }
    EXPECT_EQ(lookupText(Language::German, 1), "Vexel");
    EXPECT_EQ(lookupText(Language::English, 1), "Vexel Stars");
    EXPECT_EQ(lookupText(Language::German, 12), "&Zurücksetzen");
    EXPECT_EQ(lookupText(Language::German, 220), "Bitte wählen Sie einen Computerspieler aus:");
    EXPECT_EQ(lookupText(Language::English, 803), "The default settings are restored.");
    EXPECT_EQ(lookupText(Language::German, 850), "Zug Nr.");
    EXPECT_EQ(lookupText(Language::English, 850), "Move No.");
}

TEST(TextTables, UnknownIdsGiveTheEmptyText) {
    // Below, between and above the ids of the table, and the neighbours of the last id.
    for (const int id : {0, 49, 54, 100, 103, 199, 210, 219, 299, 313, 349, 355, 799, 804, 849, 851, 1048, 32767,
                         32768, 65535}) {
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
    ASSERT_EQ(german.size(), english.size());
    for (std::size_t i = 0; i < german.size(); ++i) {
        EXPECT_EQ(german[i].id, english[i].id) << "row " << i;
        EXPECT_FALSE(german[i].text.empty()) << "row " << i;
        EXPECT_FALSE(english[i].text.empty()) << "row " << i;
        if (i > 0) {
            EXPECT_LT(german[i - 1].id, german[i].id) << "row " << i;
        }
    }
}

// The window shows why a record was refused from these rows: English as the
// reader words it, German with the same details.
TEST(TextTables, EveryRecordProblemHasItsTextInBothLanguages) {
    for (int k = 0; k < int(RecordProblem::Count); ++k) {
        const auto id = std::uint16_t(RECORD_PROBLEM_TEXT_ID + k);
        const std::string_view english = lookupText(Language::English, id), german = lookupText(Language::German, id);
        EXPECT_EQ(english, problemTemplate(RecordProblem(k))) << "id " << id;
        for (const std::string_view mark : {"%1", "%2", "%3"})
            EXPECT_EQ(english.find(mark) == english.npos, german.find(mark) == german.npos) << "id " << id << " " << mark;
    }
}

TEST(TextTables, TheLanguageItemNamesTheOtherLanguage) {
    EXPECT_EQ(lookupText(Language::German, 10), "Switch to &English");
    EXPECT_EQ(lookupText(Language::English, 10), "Auf &Deutsch schalten");
}

}  // namespace
}  // namespace vexel
