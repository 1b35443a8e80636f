// TRulesDlg: the house rules a table may agree on beside the classic ones,
// long jumps and the swap in the target, each with a line that says what it
// does. Both off is the classic game. Nothing is taken over before OK, and
// what is chosen holds from the next new game on: a running game keeps the
// rules it started with.
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "Vexcentr.h"
#include "core/settings.h"

namespace vexel {

class TRulesDlg : public TCenteredForm {
    Q_OBJECT
public:
    TRulesDlg(Settings& settings, QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void okbtnClick();

    Settings& settings_;
    QCheckBox* WeiteSpruenge_;
    QLabel* l_weite_;
    QCheckBox* TauschenImZiel_;
    QLabel* l_tauschen_;
    QLabel* l_naechstes_;
    QPushButton* okbtn_;
    QPushButton* cancelbtn_;
};

}  // namespace vexel
