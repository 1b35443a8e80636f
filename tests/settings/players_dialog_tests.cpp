// The players dialog and the level dialog: the seating rules round the board,
// what OK, Cancel, Esc and the close box take over, the level dialog's preset
// and names, colours, rotation and names, the palette for colour-blind players
// and how far apart its colours stay for them.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <map>
#include <queue>
#include <string>
#include <vector>

#include "dialog_test_support.h"
#include "paint/colourvision.h"
#include "paint/preview.h"
#include "settings/Vexopti2.h"
#include "settings/Vexoptio.h"
#include "settings/seating.h"

namespace vexel {
namespace {

using testing::child;
using testing::OnModal;

// ---- Seating, apart from the dialog -------------------------------------

std::string describe(const PlayerSlots& seats) {
    std::string text;
    for (const PlayerSlot& slot : seats) text += std::to_string(slot.colour) + (slot.plays() ? "+ " : "- ");
    return text;
}

// The arrangements that keep the players spread over the star.
bool spreadOverTheStar(const PlayerSlots& seats) {
    auto plays = [&](int seat) { return seats[seat % SEAT_COUNT].plays(); };
    switch (countPlayingSeats(seats)) {
    case 2:
        for (int p = 0; p < 3; ++p)
            if (plays(p) && plays(p + 3)) return true;
        return false;
    case 3:
        return (plays(0) && plays(2) && plays(4)) || (plays(1) && plays(3) && plays(5));
    case 4:
        for (int f = 0; f < 3; ++f)
            if (!plays(f) && !plays(f + 3)) return true;
        return false;
    default:
        return true;
    }
}

// Every colour once, each record still carrying its own name and level.
bool recordsIntact(const PlayerSlots& seats) {
    std::array<bool, SEAT_COUNT> seen{};
    for (const PlayerSlot& slot : seats) {
        if (slot.colour >= SEAT_COUNT || seen[slot.colour]) return false;
        seen[slot.colour] = true;
        const PlayerSlot& original = DEFAULT_PLAYERS[slot.colour];
        if (slot.nameBytes() != original.nameBytes() || slot.level != original.level) return false;
    }
    return true;
}

TEST(Seating, EveryArrangementReachedOneRowAtATimeKeepsThePlayersSpread) {
    PlayerSlots start = DEFAULT_PLAYERS;
    for (PlayerSlot& slot : start) slot.kind = PlayerKind::Human;
    std::map<std::string, PlayerSlots> seen{{describe(start), start}};
    std::queue<PlayerSlots> open;
    open.push(start);
    int transitions = 0;
    while (!open.empty()) {
        const PlayerSlots from = open.front();
        open.pop();
        const int count = countPlayingSeats(from);
        for (std::uint8_t row = 0; row < SEAT_COUNT; ++row) {
            const bool rowPlays = from[seatOfColour(from, row)].plays();
            PlayerSlots to = from;
            const int newCount = changeRowKind(to, count, row, rowPlays ? PlayerKind::NotPlaying : PlayerKind::Human);
            ++transitions;
            ASSERT_EQ(newCount, countPlayingSeats(to)) << describe(from) << "row " << int(row);
            ASSERT_EQ(newCount, count + (rowPlays ? -1 : 1));
            ASSERT_TRUE(spreadOverTheStar(to)) << describe(from) << "row " << int(row) << " -> " << describe(to);
            ASSERT_TRUE(recordsIntact(to)) << describe(to);
            if (count == 0) {
                EXPECT_EQ(to[0].colour, row) << "the first player sits at the top";
            }
            if (seen.emplace(describe(to), to).second) open.push(to);
        }
    }
    // All 2-player pairs, 3-player triples and so on are reachable, not just a few.
    EXPECT_GT(seen.size(), 700u);
    EXPECT_GT(transitions, 4000);
}

TEST(Seating, SeatOfColourTakesTheLowestSeatAndFallsBackToSeatZero) {
    PlayerSlots seats = DEFAULT_PLAYERS;
    EXPECT_EQ(seatOfColour(seats, 4), 4);
    seats[1].colour = 4;
    EXPECT_EQ(seatOfColour(seats, 4), 1);
    EXPECT_EQ(seatOfColour(seats, 1), 0);  // nobody has colour 1 now
    EXPECT_EQ(seatOfColour(seats, 200), 0);
}

TEST(Seating, RotatingSixTimesBringsEverySeatBack) {
    PlayerSlots seats = DEFAULT_PLAYERS;
    rotateSeats(seats);
    for (int s = 0; s < SEAT_COUNT; ++s) EXPECT_EQ(seats[(s + 1) % SEAT_COUNT], DEFAULT_PLAYERS[s]);
    for (int i = 1; i < 6; ++i) rotateSeats(seats);
    EXPECT_EQ(seats, DEFAULT_PLAYERS);
}

// ---- The dialog ---------------------------------------------------------

// Answers the level dialog without showing it: checks the button of `answer`
// and stores it, as the real dialog would after OK.
class ScriptedLevelDlg : public TCompLevelDlg {
public:
    ScriptedLevelDlg(Settings& settings, QWidget* parent) : TCompLevelDlg(settings, parent), settings_(settings) {}

    ModalResult chooseLevel(Seat seat, const QString& caption) override {
        calls.push_back({seat, caption});
        child<QRadioButton>(*this, answer == 0 ? "Radio1" : answer == 1 ? "Radio2" : "Radio3")->setChecked(true);
        settings_.playerSettings[seat].level = answer;
        return ModalResult::Ok;
    }

    struct Call {
        Seat seat;
        QString caption;
    };
    std::vector<Call> calls;
    std::uint8_t answer = 2;

private:
    Settings& settings_;
};

class PlayersDialog : public ::testing::Test {
protected:
    PlayersDialog() : level(settings, &main), dialog(settings, level, [this](int context) { helpContexts.push_back(context); }, &main) {
        dialog.drawPreview = [this](QImage&, const Settings&) { ++previewDraws; };
    }
    void open() { dialog.show(); }
    QRadioButton* radio(int row, PlayerKind kind) const {
        return child<QRadioButton>(dialog, ("Radio" + std::to_string(3 * row + int(kind) + 1)).c_str());
    }
    QLineEdit* edit(int row) const { return child<QLineEdit>(dialog, ("Edit" + std::to_string(row + 1)).c_str()); }
    void setRow(int row, PlayerKind kind) { radio(row, kind)->click(); }
    const PlayerSlot& seatOfRow(int row) const {
        return settings.playerSettings[seatOfColour(settings.playerSettings, std::uint8_t(row))];
    }

    QWidget main;
    Settings settings;
    ScriptedLevelDlg level;
    TOptionenDlg dialog;
    int previewDraws = 0;
    std::vector<int> helpContexts;
};

TEST_F(PlayersDialog, RowsOneAfterAnotherOutAndBackKeepThePlayersSpreadAndRedrawOnCountChanges) {
    open();
    ASSERT_EQ(previewDraws, 1);  // the showing itself
    for (int row = 0; row < SEAT_COUNT; ++row) {
        setRow(row, PlayerKind::NotPlaying);
        EXPECT_EQ(countPlayingSeats(settings.playerSettings), 5 - row);
        EXPECT_TRUE(spreadOverTheStar(settings.playerSettings)) << describe(settings.playerSettings);
        EXPECT_EQ(previewDraws, 2 + row);
    }
    for (int row = 0; row < SEAT_COUNT; ++row) {
        setRow(row, PlayerKind::Human);
        EXPECT_EQ(countPlayingSeats(settings.playerSettings), row + 1);
        EXPECT_TRUE(spreadOverTheStar(settings.playerSettings)) << describe(settings.playerSettings);
        if (row == 0) {
            EXPECT_EQ(settings.playerSettings[0].colour, 0) << "the first player joins at the top";
        }
        EXPECT_EQ(previewDraws, 8 + row);
    }
    EXPECT_TRUE(level.calls.empty());
}

TEST_F(PlayersDialog, HumanToComputerAsksForTheLevelButMovesNobodyAndDrawsNothing) {
    const PlayerSlots before = settings.playerSettings;
    open();
    level.answer = 0;
    setRow(0, PlayerKind::Computer);
    ASSERT_EQ(level.calls.size(), 1u);
    EXPECT_EQ(level.calls[0].seat, 0);
    EXPECT_EQ(level.calls[0].caption, "Spieler 1");
    EXPECT_EQ(edit(0)->text(), "Orvian");
    EXPECT_EQ(settings.playerSettings[0].kind, PlayerKind::Computer);
    EXPECT_EQ(settings.playerSettings[0].level, 0);
    setRow(0, PlayerKind::Human);
    for (int s = 0; s < SEAT_COUNT; ++s) EXPECT_EQ(settings.playerSettings[s].colour, before[s].colour);
    EXPECT_EQ(previewDraws, 1);
}

TEST_F(PlayersDialog, AJoiningComputerIsAskedForItsLevelOnItsSeatBeforeMoving) {
    open();
    setRow(3, PlayerKind::NotPlaying);
    setRow(3, PlayerKind::Computer);
    ASSERT_EQ(level.calls.size(), 1u);
    EXPECT_EQ(level.calls[0].caption, "Spieler 4");
    EXPECT_EQ(seatOfRow(3).kind, PlayerKind::Computer);
    EXPECT_EQ(seatOfRow(3).level, level.answer);
    EXPECT_EQ(edit(3)->text(), "Mimsel");
}

TEST_F(PlayersDialog, DoubleClickOnACheckedComputerAsksAgainWithoutMovingAnybody) {
    open();
    const PlayerSlots before = settings.playerSettings;
    level.answer = 1;
    QTest::mouseDClick(radio(2, PlayerKind::Computer), Qt::LeftButton);
    ASSERT_EQ(level.calls.size(), 1u);
    EXPECT_EQ(level.calls[0].seat, 2);
    EXPECT_EQ(edit(2)->text(), "Quendor");
    EXPECT_EQ(settings.playerSettings[2].level, 1);
    for (int s = 0; s < SEAT_COUNT; ++s) EXPECT_EQ(settings.playerSettings[s].kind, before[s].kind);
    EXPECT_EQ(previewDraws, 1);
    // On a human row the double click does nothing of its own.
    QTest::mouseDClick(radio(0, PlayerKind::Human), Qt::LeftButton);
    EXPECT_EQ(level.calls.size(), 1u);
    // From the keyboard: Space on the checked computer choice asks the same,
    // and on one not yet checked it only checks it, asking once.
    level.answer = 2;
    QTest::keyClick(radio(2, PlayerKind::Computer), Qt::Key_Space);
    ASSERT_EQ(level.calls.size(), 2u);
    EXPECT_EQ(edit(2)->text(), "Mimsel");
    EXPECT_EQ(seatOfRow(2).kind, PlayerKind::Computer);
    QTest::keyClick(radio(0, PlayerKind::Computer), Qt::Key_Space);
    EXPECT_EQ(level.calls.size(), 3u);
    EXPECT_EQ(seatOfRow(0).kind, PlayerKind::Computer);
}

TEST_F(PlayersDialog, OKWithNobodyPlayingSeatsHumansOnZeroAndThreeUnderTheirNames) {
    open();
    for (int row = 0; row < SEAT_COUNT; ++row) setRow(row, PlayerKind::NotPlaying);
    const std::string name0(settings.playerSettings[0].nameBytes());
    const std::string name3(settings.playerSettings[3].nameBytes());
    child<QPushButton>(dialog, "OKBtn")->click();
    EXPECT_EQ(dialog.result(), int(ModalResult::Ok));
    EXPECT_EQ(settings.playerSettings[0].kind, PlayerKind::Human);
    EXPECT_EQ(settings.playerSettings[3].kind, PlayerKind::Human);
    EXPECT_EQ(countPlayingSeats(settings.playerSettings), 2);
    EXPECT_EQ(settings.playerSettings[0].nameBytes(), name0);
    EXPECT_EQ(settings.playerSettings[3].nameBytes(), name3);
}

TEST_F(PlayersDialog, OKWithOnePlayerSeatsAHumanOpposite) {
    open();
    for (int row = 0; row < SEAT_COUNT; ++row)
        if (row != 4) setRow(row, PlayerKind::NotPlaying);
    ASSERT_EQ(countPlayingSeats(settings.playerSettings), 1);
    const Seat alone = seatOfColour(settings.playerSettings, 4);
    child<QPushButton>(dialog, "OKBtn")->click();
    EXPECT_EQ(settings.playerSettings[(alone + 3) % 6].kind, PlayerKind::Human);
    EXPECT_EQ(countPlayingSeats(settings.playerSettings), 2);
}

TEST_F(PlayersDialog, OKTakesOverNamesAndTheTenPegOption) {
    open();
    edit(1)->setText(QString::fromUtf8("Müller"));
    child<QCheckBox>(dialog, "Immer10")->setChecked(true);
    child<QPushButton>(dialog, "OKBtn")->click();
    EXPECT_EQ(seatOfRow(1).nameBytes(), "M\xFCller");
    EXPECT_TRUE(settings.alwaysTenPegs);
}

TEST_F(PlayersDialog, NamesOfTwentyCharactersAreStoredWhole) {
    open();
    edit(0)->clear();
    QTest::keyClicks(edit(0), "ABCDEFGHIJKLMNOPQRSTU");  // 21 typed
    EXPECT_EQ(edit(0)->text(), "ABCDEFGHIJKLMNOPQRST");
    child<QPushButton>(dialog, "OKBtn")->click();
    EXPECT_EQ(seatOfRow(0).nameBytes(), "ABCDEFGHIJKLMNOPQRST");
}

TEST_F(PlayersDialog, NamesOfTwentyOneCharactersFromTheFileStayWholeButTypingCannotLengthenThem) {
    const std::string longName = "ABCDEFGHIJKLMNOPQRSTU";
    for (const int row : {2, 3}) settings.playerSettings[seatOfColour(settings.playerSettings, std::uint8_t(row))].setName(longName);
    open();
    for (const int row : {2, 3}) {
        EXPECT_EQ(edit(row)->text().toStdString(), longName) << row;
        EXPECT_EQ(edit(row)->cursorPosition(), 0) << "the box shows the name's start, row " << row;
    }
    // Row 2 is typed in: at the end nothing more goes in; once shorter, 20 is the limit again.
    QTest::keyClick(edit(2), Qt::Key_End);
    QTest::keyClicks(edit(2), "V");
    EXPECT_EQ(edit(2)->text().toStdString(), longName);
    QTest::keyClick(edit(2), Qt::Key_Backspace);
    QTest::keyClick(edit(2), Qt::Key_Backspace);
    QTest::keyClicks(edit(2), "XYZ");
    EXPECT_EQ(edit(2)->text(), "ABCDEFGHIJKLMNOPQRSX");
    child<QPushButton>(dialog, "OKBtn")->click();
    EXPECT_EQ(seatOfRow(2).nameBytes(), "ABCDEFGHIJKLMNOPQRSX");
    EXPECT_EQ(seatOfRow(3).nameBytes(), longName) << "left alone, all 21 characters are kept";
}

TEST_F(PlayersDialog, CancelRestoresSeatsKindsAndLevelsButKeepsColours) {
    const PlayerSlots before = settings.playerSettings;
    open();
    setRow(1, PlayerKind::NotPlaying);
    setRow(0, PlayerKind::Computer);
    child<QPushButton>(dialog, "Rotieren")->click();
    dialog.chooseColour = [](const QColor&, QWidget*) { return QColor(0x12, 0x34, 0x56); };
    QTest::mouseClick(child<QWidget>(dialog, "PaintBox3"), Qt::LeftButton);
    edit(0)->setText("Someone");
    child<QCheckBox>(dialog, "Immer10")->setChecked(true);
    child<QPushButton>(dialog, "CancelBtn")->click();
    EXPECT_EQ(dialog.result(), int(ModalResult::Cancel));
    EXPECT_EQ(settings.playerSettings, before);
    EXPECT_FALSE(settings.alwaysTenPegs);
    EXPECT_EQ(settings.pegColours[2], 0x00563412u);
    EXPECT_TRUE(dialog.coloursChanged());
}

TEST_F(PlayersDialog, ThePaletteForColourBlindPlayersStaysAfterCancelAndEachColourCanStillChange) {
    open();
    const int drawsBefore = previewDraws;
    auto* palette = child<QPushButton>(dialog, "Palette");
    EXPECT_EQ(palette->text(), "Farben für Farb&fehlsichtige");
    palette->click();
    EXPECT_EQ(settings.pegColours, COLOUR_BLIND_PEG_COLOURS);
    EXPECT_TRUE(dialog.coloursChanged());
    EXPECT_EQ(previewDraws, drawsBefore + 1);
    dialog.chooseColour = [](const QColor&, QWidget*) { return QColor(0x12, 0x34, 0x56); };
    QTest::mouseClick(child<QWidget>(dialog, "PaintBox2"), Qt::LeftButton);
    EXPECT_EQ(settings.pegColours[1], 0x00563412u);
    EXPECT_EQ(settings.pegColours[2], COLOUR_BLIND_PEG_COLOURS[2]);
    child<QPushButton>(dialog, "CancelBtn")->click();
    EXPECT_EQ(settings.pegColours[0], COLOUR_BLIND_PEG_COLOURS[0]);
}

// The closest two of the six colours, in CIE76 units, for each kind of colour
// vision: the default colours fail protanopes and tritanopes, the palette
// keeps every pair at least 22 apart for everyone. The default's figures pin
// the simulation itself (green and yellow fall together for a protanope).
TEST(ColourVision, ClosestPairsOfTheDefaultColoursAndOfThePalette) {
    struct Case {
        const char* what;
        std::array<ColourRef, SEAT_COUNT> colours;
        ColourVision vision;
        double closest;
        int first, second;
    };
    const Case cases[] = {
        {"default", DEFAULT_PEG_COLOURS, ColourVision::Normal, 58.0, 1, 4},
        {"default", DEFAULT_PEG_COLOURS, ColourVision::Protanopia, 8.3, 0, 2},
        {"default", DEFAULT_PEG_COLOURS, ColourVision::Deuteranopia, 19.6, 0, 2},
        {"default", DEFAULT_PEG_COLOURS, ColourVision::Tritanopia, 16.7, 0, 5},
        {"palette", COLOUR_BLIND_PEG_COLOURS, ColourVision::Normal, 37.1, 1, 5},
        {"palette", COLOUR_BLIND_PEG_COLOURS, ColourVision::Protanopia, 23.8, 1, 4},
        {"palette", COLOUR_BLIND_PEG_COLOURS, ColourVision::Deuteranopia, 25.5, 0, 4},
        {"palette", COLOUR_BLIND_PEG_COLOURS, ColourVision::Tritanopia, 22.3, 0, 1},
    };
    for (const Case& c : cases) {
        const ClosestPair pair = closestPair(c.colours, c.vision);
        EXPECT_NEAR(pair.difference, c.closest, 0.05) << c.what << " " << int(c.vision);
        EXPECT_EQ(pair.first, c.first) << c.what << " " << int(c.vision);
        EXPECT_EQ(pair.second, c.second) << c.what << " " << int(c.vision);
        if (c.colours == COLOUR_BLIND_PEG_COLOURS) {
            EXPECT_GE(pair.difference, 20.0);
        }
    }
}

TEST_F(PlayersDialog, EscWorksLikeCancel) {
    const PlayerSlots before = settings.playerSettings;
    open();
    setRow(5, PlayerKind::NotPlaying);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(settings.playerSettings, before);
}

TEST_F(PlayersDialog, TheCloseBoxKeepsSeatChangesButTakesOverNoNames) {
    open();
    setRow(5, PlayerKind::NotPlaying);
    const PlayerSlots changed = settings.playerSettings;
    edit(0)->setText("Someone");
    child<QCheckBox>(dialog, "Immer10")->setChecked(true);
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), int(ModalResult::Cancel));
    EXPECT_EQ(settings.playerSettings, changed);
    EXPECT_EQ(countPlayingSeats(settings.playerSettings), 5);
    EXPECT_FALSE(settings.alwaysTenPegs);
}

TEST_F(PlayersDialog, ACancelledColourDialogStillCountsAsAColourChange) {
    open();
    EXPECT_FALSE(dialog.coloursChanged());
    QColor offered;
    dialog.chooseColour = [&](const QColor& initial, QWidget*) {
        offered = initial;
        return QColor();
    };
    QTest::mouseClick(child<QWidget>(dialog, "PaintBox4"), Qt::LeftButton);
    EXPECT_EQ(offered, QColor(Qt::red));  // row 3 is red by default
    EXPECT_EQ(settings.pegColours, DEFAULT_PEG_COLOURS);
    EXPECT_TRUE(dialog.coloursChanged());
    dialog.hide();
    open();
    EXPECT_FALSE(dialog.coloursChanged()) << "each showing starts afresh";
}

TEST_F(PlayersDialog, RotatingSixTimesBringsEverySeatBackAndRedrawsEachTime) {
    open();
    auto* rotate = child<QPushButton>(dialog, "Rotieren");
    rotate->click();
    EXPECT_EQ(settings.playerSettings[1], DEFAULT_PLAYERS[0]);
    EXPECT_EQ(settings.playerSettings[0], DEFAULT_PLAYERS[5]);
    for (int i = 1; i < 6; ++i) rotate->click();
    EXPECT_EQ(settings.playerSettings, DEFAULT_PLAYERS);
    EXPECT_EQ(previewDraws, 7);
}

TEST_F(PlayersDialog, RowsFollowColoursNotSeats) {
    rotateSeats(settings.playerSettings);
    settings.playerSettings[2].kind = PlayerKind::NotPlaying;  // colour 1 now sits on seat 2
    open();
    EXPECT_TRUE(radio(1, PlayerKind::NotPlaying)->isChecked());
    EXPECT_TRUE(radio(0, PlayerKind::Human)->isChecked());
    EXPECT_EQ(edit(1)->text(), "Spieler 2");
    EXPECT_TRUE(level.calls.empty()) << "filling the rows asks nothing";
}

TEST_F(PlayersDialog, CaptionsFollowTheLanguageAtEachShowing) {
    open();
    EXPECT_EQ(dialog.windowTitle(), "Spieler");
    EXPECT_EQ(radio(0, PlayerKind::NotPlaying)->text(), "spielt nicht");
    EXPECT_EQ(child<QCheckBox>(dialog, "Immer10")->text(), "&Immer 10 Figuren");
    EXPECT_EQ(child<QPushButton>(dialog, "CancelBtn")->text(), "Abbruch");
    dialog.hide();
    settings.language = Language::English;
    open();
    EXPECT_EQ(dialog.windowTitle(), "Players");
    EXPECT_EQ(radio(5, PlayerKind::NotPlaying)->text(), "Does not play");
    EXPECT_EQ(child<QLabel>(dialog, "Brett")->text(), "Board");
    EXPECT_EQ(child<QPushButton>(dialog, "Rotieren")->text(), "Rotate colors");
    EXPECT_EQ(child<QCheckBox>(dialog, "Immer10")->text(), "&Always 10 figures");
    EXPECT_EQ(child<QPushButton>(dialog, "OKBtn")->text(), "OK");
    EXPECT_EQ(child<QPushButton>(dialog, "HelpBtn")->text(), "Help");
}

TEST_F(PlayersDialog, HelpAsksForContextOne) {
    open();
    child<QPushButton>(dialog, "HelpBtn")->click();
    EXPECT_EQ(helpContexts, std::vector<int>{1});
    EXPECT_TRUE(dialog.isVisible());
}

TEST(PlayersDialogPreview, ShowsEachPlayingSeatInItsColourAndFreeSeatsWhite) {
    QWidget main;
    Settings settings;
    TCompLevelDlg level(settings, &main);
    TOptionenDlg dialog(settings, level, {}, &main);  // the real preview drawing
    dialog.show();
    EXPECT_EQ(child<QFrame>(dialog, "BrettFrame")->size(), QSize(160, 160));
    const auto seeds = previewSeeds();
    auto pointColour = [&](int seat) { return dialog.preview().pixelColor(seeds[seat].x, seeds[seat].y); };
    for (int seat = 0; seat < SEAT_COUNT; ++seat) EXPECT_EQ(pointColour(seat), toQColor(DEFAULT_PEG_COLOURS[seat])) << seat;

    child<QRadioButton>(dialog, "Radio6")->click();  // blue, on seat 1, leaves
    EXPECT_EQ(pointColour(1), QColor(Qt::white));
    child<QPushButton>(dialog, "Rotieren")->click();
    EXPECT_EQ(pointColour(2), QColor(Qt::white));
    EXPECT_EQ(pointColour(1), toQColor(DEFAULT_PEG_COLOURS[0]));
}

// ---- The level dialog itself --------------------------------------------

struct LevelCase {
    Language language;
    std::uint8_t storedLevel;
    const char* pick;
    std::uint8_t pickedLevel;
    const char* name;
};

TEST(LevelDialog, PresetsTheSeatsLevelAndGivesTheChosenPlayersName) {
    const LevelCase cases[] = {
        {Language::German, 0, "Radio1", 0, "Orvian"}, {Language::German, 2, "Radio2", 1, "Quendor"},
        {Language::German, 1, "Radio3", 2, "Mimsel"}, {Language::English, 1, "Radio1", 0, "Orvian"},
        {Language::English, 0, "Radio2", 1, "Quenny"}, {Language::English, 2, "Radio3", 2, "Plimsy"},
        // The strongest level is the fourth choice, after the three original ones.
        {Language::German, 3, "Radio4", 3, "Velmar"}, {Language::English, 1, "Radio4", 3, "Velmar"},
        {Language::English, 3, "Radio1", 0, "Orvian"},
    };
    for (const LevelCase& c : cases) {
        QWidget main;
        Settings settings;
        settings.language = c.language;
        settings.playerSettings[4].level = c.storedLevel;
        TCompLevelDlg level(settings, &main);
        OnModal answer([&](QWidget* open) {
            EXPECT_EQ(open->windowTitle(), "Anna");
            const bool german = c.language == Language::German;
            EXPECT_EQ(child<QLabel>(*open, "text")->text(),
                      german ? QString::fromUtf8("Bitte wählen Sie einen Computerspieler aus:") : "Please choose a computer player:");
            EXPECT_EQ(child<QRadioButton>(*open, "Radio1")->text(), german ? "Orvian (sehr gut)" : "Orvian (very good)");
            EXPECT_EQ(child<QRadioButton>(*open, "Radio3")->text(), german ? "Mimsel" : "Plimsy");
            EXPECT_EQ(child<QRadioButton>(*open, "Radio4")->text(), german ? "Velmar (meisterhaft)" : "Velmar (masterly)");
            // One row below the other, the fourth last.
            EXPECT_GT(child<QRadioButton>(*open, "Radio4")->y(), child<QRadioButton>(*open, "Radio3")->geometry().bottom());
            for (int i = 0; i < 4; ++i)
                EXPECT_EQ(child<QRadioButton>(*open, ("Radio" + std::to_string(i + 1)).c_str())->isChecked(), i == c.storedLevel);
            // The focus starts on the level the seat has, for a screen reader to read it.
            EXPECT_EQ(open->focusWidget(), child<QRadioButton>(*open, ("Radio" + std::to_string(c.storedLevel + 1)).c_str()));
            child<QRadioButton>(*open, c.pick)->setChecked(true);
            child<QPushButton>(*open, "OKBtn")->click();
        });
        EXPECT_EQ(level.chooseLevel(4, "Anna"), ModalResult::Ok);
        EXPECT_EQ(answer.runs(), 1);
        EXPECT_EQ(settings.playerSettings[4].level, c.pickedLevel);
        EXPECT_EQ(level.levelName(), c.name);
    }
}

TEST(LevelDialog, TheCloseBoxKeepsTheCheckedChoice) {
    QWidget main;
    Settings settings;
    TCompLevelDlg level(settings, &main);
    OnModal answer([](QWidget* open) {
        child<QRadioButton>(*open, "Radio3")->setChecked(true);
        open->close();
    });
    EXPECT_EQ(level.chooseLevel(1, "Spieler 2"), ModalResult::Cancel);
    EXPECT_EQ(settings.playerSettings[1].level, 2);
}

TEST(LevelDialog, ALevelOutOfRangeChecksNothingAndStaysUnlessChosen) {
    QWidget main;
    Settings settings;
    settings.playerSettings[1].level = 7;
    TCompLevelDlg level(settings, &main);
    OnModal answer([](QWidget* open) {
        for (const char* name : {"Radio1", "Radio2", "Radio3", "Radio4"}) EXPECT_FALSE(child<QRadioButton>(*open, name)->isChecked());
        child<QPushButton>(*open, "OKBtn")->click();
    });
    level.chooseLevel(1, "x");
    EXPECT_EQ(settings.playerSettings[1].level, 7);
    EXPECT_EQ(level.levelName(), "");
}

TEST(LevelDialog, ChosenFromThePlayersDialogTheRowTakesTheNameAndCancelRestoresIt) {
    QWidget main;
    Settings settings;
    settings.language = Language::English;
    settings.playerSettings[0].setName("Anna");
    settings.playerSettings[0].level = 2;
    TCompLevelDlg level(settings, &main);
    TOptionenDlg dialog(settings, level, {}, &main);
    dialog.drawPreview = [](QImage&, const Settings&) {};
    dialog.show();
    {
        OnModal answer([](QWidget* open) {
            EXPECT_EQ(open->windowTitle(), "Anna");
            EXPECT_TRUE(child<QRadioButton>(*open, "Radio3")->isChecked());
            child<QRadioButton>(*open, "Radio2")->setChecked(true);
            child<QPushButton>(*open, "OKBtn")->click();
        });
        child<QRadioButton>(dialog, "Radio2")->click();
        EXPECT_EQ(answer.runs(), 1);
    }
    EXPECT_EQ(child<QLineEdit>(dialog, "Edit1")->text(), "Quenny");
    EXPECT_EQ(settings.playerSettings[0].level, 1);
    child<QPushButton>(dialog, "CancelBtn")->click();
    EXPECT_EQ(settings.playerSettings[0].nameBytes(), "Anna");
    EXPECT_EQ(settings.playerSettings[0].level, 2);
    EXPECT_EQ(settings.playerSettings[0].kind, PlayerKind::Human);
}

}  // namespace
}  // namespace vexel
