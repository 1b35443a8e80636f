#include "Vexrules.h"

#include <QGroupBox>

#include "qtexts.h"

namespace vexel {

namespace {

QLabel* explanation(QWidget* parent, const char* name, QRect geometry) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(geometry);
    return label;
}

}  // namespace

TRulesDlg::TRulesDlg(Settings& settings, QWidget* parent) : TCenteredForm(parent), settings_(settings) {
    setObjectName("RulesDlg");
    setFixedSize(438, 218);

    auto* frame = new QGroupBox(this);
    frame->setObjectName("RulesFrame");
    frame->setGeometry(8, 6, 422, 148);
    WeiteSpruenge_ = new QCheckBox(frame);
    WeiteSpruenge_->setObjectName("WeiteSpruenge");
    WeiteSpruenge_->setGeometry(12, 8, 400, 20);
    l_weite_ = explanation(frame, "l_weite", QRect(32, 30, 380, 36));
    TauschenImZiel_ = new QCheckBox(frame);
    TauschenImZiel_->setObjectName("TauschenImZiel");
    TauschenImZiel_->setGeometry(12, 74, 400, 20);
    l_tauschen_ = explanation(frame, "l_tauschen", QRect(32, 96, 380, 48));
    l_naechstes_ = explanation(this, "l_naechstes", QRect(16, 160, 406, 20));

    okbtn_ = new QPushButton("OK", this);
    okbtn_->setObjectName("okbtn");
    okbtn_->setGeometry(140, 187, 75, 25);
    okbtn_->setDefault(true);
    connect(okbtn_, &QPushButton::clicked, this, [this] { okbtnClick(); });
    cancelbtn_ = addResultButton("cancelbtn", QRect(222, 187, 75, 25), ModalResult::Cancel);

    setTabOrder(WeiteSpruenge_, TauschenImZiel_);
    setTabOrder(TauschenImZiel_, okbtn_);
    setTabOrder(okbtn_, cancelbtn_);
}

void TRulesDlg::showEvent(QShowEvent* event) {
    FormShow();
    TCenteredForm::showEvent(event);
}

void TRulesDlg::FormShow() {
    if (hasTextTable(settings_)) {
        setWindowTitle(text(settings_, 1221));
        WeiteSpruenge_->setText(text(settings_, 1222));
        l_weite_->setText(text(settings_, 1223));
        TauschenImZiel_->setText(text(settings_, 1224));
        l_tauschen_->setText(text(settings_, 1225));
        l_naechstes_->setText(text(settings_, 1226));
        cancelbtn_->setText(text(settings_, 50));
        // A screen reader tells the explanation with its box.
        WeiteSpruenge_->setAccessibleDescription(l_weite_->text());
        TauschenImZiel_->setAccessibleDescription(l_tauschen_->text());
    }
    WeiteSpruenge_->setChecked(settings_.rules.longJumps);
    TauschenImZiel_->setChecked(settings_.rules.swapInTarget);
}

void TRulesDlg::okbtnClick() {
    settings_.rules.longJumps = WeiteSpruenge_->isChecked();
    settings_.rules.swapInTarget = TauschenImZiel_->isChecked();
    done(int(ModalResult::Ok));
}

}  // namespace vexel
