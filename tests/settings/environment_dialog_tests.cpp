// The environment dialog: the size level with its bounds, what OK and Cancel
// take over, the two speed columns, the marks on the pegs and the captions.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <string>
#include <vector>

#include "dialog_test_support.h"
#include "settings/Vexspeed.h"

namespace vexel {
namespace {

using testing::child;

class EnvironmentDialog : public ::testing::Test {
protected:
    EnvironmentDialog()
        : dialog(settings,
                 WindowSizing{[this] { return maxSizeUnit; }, [this] { return sizeUnit; },
                              [this](int u) { applied.push_back(u); }},
                 [this](int context) { helpContexts.push_back(context); }, &main) {}

    QString shownSize() const { return child<QLineEdit>(dialog, "WinSize")->text(); }
    void press(const char* name, int times = 1) {
        for (int i = 0; i < times; ++i) child<QPushButton>(dialog, name)->click();
    }
    QRadioButton* speedButton(int number) const {
        return child<QRadioButton>(dialog, ("R" + std::to_string(number)).c_str());
    }

    QWidget main;
    Settings settings;
    int maxSizeUnit = 4;
    int sizeUnit = 3;
    std::vector<int> applied;
    std::vector<int> helpContexts;
    TEnvironDlg dialog;
};

TEST(FormatSizeUnit, PadsOneDigitWithTwoBlanks) {
    EXPECT_EQ(formatSizeUnit(1), "  1");
    EXPECT_EQ(formatSizeUnit(2), "  2");
    EXPECT_EQ(formatSizeUnit(9), "  9");
    EXPECT_EQ(formatSizeUnit(10), "10");
    EXPECT_EQ(formatSizeUnit(12), "12");
}

TEST_F(EnvironmentDialog, PlusStopsAtTheLargestLevelAndMinusAtOne) {
    dialog.show();
    EXPECT_EQ(shownSize(), "  3");
    press("win_plus", 3);
    EXPECT_EQ(shownSize(), "  4");
    press("Win_minus", 5);
    EXPECT_EQ(shownSize(), "  1");
    press("win_plus");
    EXPECT_EQ(shownSize(), "  2");
    EXPECT_TRUE(applied.empty()) << "the window waits for OK";
}

TEST_F(EnvironmentDialog, AWindowLargerThanTheScreenAllowsOnlyShrinks) {
    // A frame dragged wider than the largest level gives a level above it.
    sizeUnit = 6;
    dialog.show();
    EXPECT_EQ(shownSize(), "  6");
    press("win_plus");
    EXPECT_EQ(shownSize(), "  6");
    press("Win_minus");
    EXPECT_EQ(shownSize(), "  5");
}

TEST_F(EnvironmentDialog, CancelLeavesTheSizeAndEverySetting) {
    const Settings before = settings;
    dialog.show();
    press("win_plus");
    speedButton(1)->click();
    child<QCheckBox>(dialog, "SoundBox")->setChecked(false);
    press("cancelbtn");
    EXPECT_EQ(dialog.result(), int(ModalResult::Cancel));
    EXPECT_TRUE(applied.empty());
    EXPECT_EQ(settings, before);
    dialog.show();
    EXPECT_EQ(shownSize(), "  3") << "refilled from the window at the next showing";
    EXPECT_TRUE(speedButton(4)->isChecked());
    EXPECT_TRUE(child<QCheckBox>(dialog, "SoundBox")->isChecked());
}

TEST_F(EnvironmentDialog, OKAppliesTheSizeOnlyWhenItChanged) {
    dialog.show();
    press("win_plus");
    press("Win_minus");
    press("okbtn");
    EXPECT_EQ(dialog.result(), int(ModalResult::Ok));
    EXPECT_TRUE(applied.empty());

    dialog.show();
    press("Win_minus", 2);
    press("okbtn");
    EXPECT_EQ(applied, std::vector<int>{1});
}

TEST_F(EnvironmentDialog, OKTakesOverBothSpeedColumnsIndependentlyAndTheSwitches) {
    dialog.show();
    EXPECT_TRUE(speedButton(1 + DEFAULT_SPEED)->isChecked());
    EXPECT_TRUE(speedButton(7 + DEFAULT_SPEED)->isChecked());
    speedButton(1)->click();   // humans: "Warp 9,3"
    speedButton(12)->click();  // computers: "Laangsaaamm"
    EXPECT_TRUE(speedButton(1)->isChecked());
    EXPECT_TRUE(speedButton(12)->isChecked());
    child<QCheckBox>(dialog, "SoundBox")->setChecked(false);
    child<QCheckBox>(dialog, "ColorHintBox")->setChecked(false);
    press("okbtn");
    EXPECT_EQ(settings.humanSpeed, 0);
    EXPECT_EQ(settings.computerSpeed, 5);
    EXPECT_FALSE(settings.soundOn);
    EXPECT_TRUE(settings.moveSoundOn);
    EXPECT_FALSE(settings.markDirection);
}

TEST_F(EnvironmentDialog, MarksOnThePegsAreOffByDefaultAndTakenOverOnlyByOK) {
    dialog.show();
    auto* marks = child<QCheckBox>(dialog, "PegMarksBox");
    EXPECT_FALSE(marks->isChecked());
    EXPECT_EQ(marks->text(), "Zei&chen auf den Steinen");
    marks->setChecked(true);
    press("cancelbtn");
    EXPECT_FALSE(settings.pegMarks);
    dialog.show();
    EXPECT_FALSE(marks->isChecked());
    marks->setChecked(true);
    press("okbtn");
    EXPECT_TRUE(settings.pegMarks);
    EXPECT_TRUE(settings.markDirection) << "a switch of its own";
    dialog.show();
    EXPECT_TRUE(marks->isChecked());
}

TEST_F(EnvironmentDialog, AStoredSpeedOutOfRangeChecksNothingAndSurvivesOK) {
    settings.humanSpeed = 9;
    dialog.show();
    for (int number = 1; number <= 6; ++number) EXPECT_FALSE(speedButton(number)->isChecked());
    press("okbtn");
    EXPECT_EQ(settings.humanSpeed, 9);
}

TEST_F(EnvironmentDialog, SpeedNamesFollowTheLanguageAndSoundReadsTheSame) {
    const std::vector<const char*> german = {"Warp 9,3", "Turbo", "Schnell", "Gemütlich", "Langsam", "Laangsaaamm"};
    const std::vector<const char*> english = {"Warp 9.3", "Turbo", "Fast", "Comfortable", "Slow", "Slloooooww"};
    for (const Language language : {Language::German, Language::English}) {
        settings.language = language;
        dialog.show();
        const auto& names = language == Language::German ? german : english;
        for (int line = 0; line < 6; ++line)
            EXPECT_EQ(child<QLabel>(dialog, ("l_speed" + std::to_string(line + 1)).c_str())->text(), QString::fromUtf8(names[line]));
        EXPECT_EQ(child<QCheckBox>(dialog, "SoundBox")->text(), "&Sound");
        EXPECT_EQ(child<QPushButton>(dialog, "okbtn")->text(), "OK");
        dialog.hide();
    }
    EXPECT_EQ(dialog.windowTitle(), "Environment");
    EXPECT_EQ(child<QLabel>(dialog, "l_winsize")->text(), "&Window size:");
    EXPECT_EQ(child<QCheckBox>(dialog, "ZiehenSound")->text(), "Sound when &moving");
    EXPECT_EQ(child<QPushButton>(dialog, "cancelbtn")->text(), "Cancel");
}

TEST_F(EnvironmentDialog, HelpAsksForContextTwo) {
    dialog.show();
    press("helpbtn");
    EXPECT_EQ(helpContexts, std::vector<int>{2});
}

}  // namespace
}  // namespace vexel
