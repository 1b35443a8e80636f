// TEnvironDlg: presentation settings. The two move speeds (humans and
// computer players apart), the window's size level, the two sound switches and
// the target markers, and the marks on the pegs. Nothing is taken over before OK; a new size level is
// applied through the main window, and only when it differs from the current one.
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <array>
#include <functional>

#include "Vexcentr.h"
#include "core/settings.h"

namespace vexel {

// How the dialog reaches the main window's size level.
struct WindowSizing {
    std::function<int()> maxSizeUnit;         // the largest level for the screen, 1..5
    std::function<int()> sizeUnit;            // the level now
    std::function<void(int)> applySizeUnit;   // resize the window to a level
};

// A size level as the dialog shows it: right-aligned by two leading blanks
// below 10, so that 2 reads "  2".
QString formatSizeUnit(int value);

class TEnvironDlg : public TCenteredForm {
    Q_OBJECT
public:
    TEnvironDlg(Settings& settings, WindowSizing sizing, std::function<void(int)> showHelp, QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void winsize_Click(bool larger);
    void nameSizeButtons();
    void okbtnClick();
    int shownSizeUnit() const;

    Settings& settings_;
    WindowSizing sizing_;
    std::function<void(int)> showHelp_;

    QLabel* l_geschw_;
    QLabel* l_mensch_;
    QLabel* l_comp_;
    std::array<QLabel*, SPEED_COUNT> l_speed_{};
    std::array<QRadioButton*, 2 * SPEED_COUNT> R_{};  // R1..R6 humans, R7..R12 computer players
    QLabel* l_winsize_;
    QLineEdit* WinSize_;
    QPushButton* win_plus_;
    QPushButton* Win_minus_;
    QCheckBox* SoundBox_;
    QCheckBox* ZiehenSound_;
    QCheckBox* ColorHintBox_;
    QCheckBox* PegMarksBox_;
    QPushButton* okbtn_;
    QPushButton* cancelbtn_;
    QPushButton* helpbtn_;
};

}  // namespace vexel
