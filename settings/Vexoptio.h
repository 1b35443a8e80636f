// TOptionenDlg: who takes part in the next game. One row per peg colour: the
// seat of that colour plays as a human, as a computer player or not at all,
// under a name; a preview star shows where each colour sits.
//
// The dialog edits the live settings directly: kinds, levels and seats change
// at once (Cancel and Esc restore them, the close box keeps them); names and
// the 10-peg option are taken over only by OK; colour changes always stay.
#pragma once

#include <QCheckBox>
#include <QColor>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <array>
#include <functional>

#include "Vexcentr.h"
#include "Vexopti2.h"
#include "core/settings.h"

namespace vexel {

class NameLimit;

class TOptionenDlg : public TCenteredForm {
    Q_OBJECT
public:
    TOptionenDlg(Settings& settings, TCompLevelDlg& levelDialog, std::function<void(int)> showHelp, QWidget* parent);
    // The program creates this dialog before the level dialog and hands that over afterwards.
    TOptionenDlg(Settings& settings, std::function<void(int)> showHelp, QWidget* parent);
    void setLevelDialog(TCompLevelDlg& levelDialog) { levelDialog_ = &levelDialog; }

    // A colour swatch was clicked since the dialog was last shown, whether or
    // not a colour was chosen: the main window then repaints the board.
    bool coloursChanged() const { return coloursChanged_; }

    // Asks for a colour starting from `initial`; an invalid colour means the
    // user cancelled. The system colour dialog unless replaced.
    std::function<QColor(const QColor& initial, QWidget* parent)> chooseColour;
    // Draws the star into the preview surface; replaceable to watch redraws.
    std::function<void(QImage& canvas, const Settings& settings)> drawPreview;

    const QImage& preview() const { return preview_; }

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();
    void RadioClick(int tag);
    void RadioDblClick(int tag);
    void ColorChange(int row);
    void RotierenClick();
    void PaletteClick();
    void OKBtnClick();
    void CancelBtnClick();
    void askLevel(int row);
    // Puts a name into a row's edit, which keeps it whole even beyond what typing allows.
    void putName(int row, const QString& name);
    void nameRows();
    void redrawPreview();

    Settings& settings_;
    TCompLevelDlg* levelDialog_ = nullptr;
    std::function<void(int)> showHelp_;

    int seatCount_ = 0;
    PlayerSlots savedSlots_{};
    bool filling_ = false;
    bool coloursChanged_ = false;
    QImage preview_;

    std::array<QWidget*, SEAT_COUNT> PaintBox_{};
    std::array<QRadioButton*, 3 * SEAT_COUNT> Radio_{};
    std::array<QLineEdit*, SEAT_COUNT> Edit_{};
    std::array<NameLimit*, SEAT_COUNT> nameLimits_{};
    QLabel* Farbe_;
    QLabel* Status_;
    QLabel* Name_;
    QLabel* Brett_;
    QWidget* PB_Brett_;
    QPushButton* Rotieren_;
    QCheckBox* Immer10_;
    QPushButton* Palette_;
    QPushButton* OKBtn_;
    QPushButton* CancelBtn_;
    QPushButton* HelpBtn_;
};

}  // namespace vexel
