// TFehlerWin: the one error message of the program, shown when the settings
// could not be saved. German only. Its check box silences it for the rest of
// the run; a restart shows it again.
#pragma once

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include <array>

#include "Vexcentr.h"

namespace vexel {

class TFehlerWin : public TCenteredForm {
    Q_OBJECT
public:
    explicit TFehlerWin(QWidget* parent);

    // Reports a failed save over the main window and waits until the window is
    // closed, unless the user asked earlier in this run not to see it again.
    void showSaveError(QWidget* mainWindow);

    bool showSaveErrors() const { return showSaveErrors_; }

private:
    // Sizes the lines, the panel and the window from the texts in the font of
    // the moment, never below the designed size; the OK button stays centred.
    void fitToTexts();

    bool showSaveErrors_ = true;
    QFrame* panel_;
    QLabel* Fehler_;
    std::array<QLabel*, 3> lines_{};
    QCheckBox* CheckBox_;
    QPushButton* OKButton_;
};

}  // namespace vexel
