// TSiegerAnzeige: the finishing order of the current or last game, shown after
// every finish and from the menu. "Weiter" (Ok) goes on, "Beenden" (Abort)
// ends the game; the close box gives Cancel, which callers treat as going on.
//
// The list lines change only through updateWinnerList and, while nobody has
// finished, at each showing; so after a game the display keeps its order until
// the next game clears it.
#pragma once

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include <array>

#include "Vexcentr.h"
#include "core/gamestate.h"
#include "core/settings.h"

namespace vexel {

class TSiegerAnzeige : public TCenteredForm {
    Q_OBJECT
public:
    TSiegerAnzeige(const Settings& settings, const GameState& game, QWidget* parent);

    // Writes the finishing order into the six lines: "1. Name", empty for a
    // free place. Leaves the lines alone while nobody has finished.
    void updateWinnerList();

protected:
    void prepareToShow() override;
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    // Hides the empty lines and puts the finishing order into the accessible
    // descriptions of the dialog and its buttons.
    void describeForScreenReaders();
    // Widens the window for list lines and a heading longer than their
    // designed room, and lengthens it for taller fonts; the designed
    // 400 x 352 is the least.
    void fitToTexts();

    const Settings& settings_;
    const GameState& game_;
    QFrame* panel_;
    QLabel* Image2_;
    QFrame* bar_;
    QFrame* line_;
    QLabel* Ueberschrift_;
    std::array<QLabel*, SEAT_COUNT> Sieger_{};
    QPushButton* WeiterButton_;
    QPushButton* EndeButton_;
};

}  // namespace vexel
