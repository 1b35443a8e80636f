// TCompLevelDlg: asks for the strength of a computer player. Works directly on
// the level of one seat in the live settings; it has only an OK button, and
// closing it by its close box keeps the checked choice all the same.
#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <array>

#include "Vexcentr.h"
#include "core/settings.h"

namespace vexel {

class TCompLevelDlg : public TCenteredForm {
    Q_OBJECT
public:
    TCompLevelDlg(Settings& settings, QWidget* parent);

    // Shows the dialog for `seat`, titled `caption`, with the seat's level
    // checked; afterwards the seat has the checked level.
    virtual ModalResult chooseLevel(Seat seat, const QString& caption);

    // The computer player's name for the checked level; empty if none is checked.
    QString levelName() const;

protected:
    // The focus starts on the checked level, so that a screen reader reads
    // the level the seat has.
    void showEvent(QShowEvent* event) override;

private:
    // Sizes the frame and the window from the texts in the font of the moment,
    // never below the designed size; the prompt wraps, the OK button stays centred.
    void fitToTexts();

    Settings& settings_;
    Seat seat_ = 0;
    QGroupBox* frame_;
    QLabel* text_;
    std::array<QRadioButton*, LEVEL_COUNT> Radio_{};
    QPushButton* OKBtn_;
};

}  // namespace vexel
