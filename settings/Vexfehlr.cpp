#include "Vexfehlr.h"

#include <QFrame>

namespace vexel {

TFehlerWin::TFehlerWin(QWidget* parent) : TCenteredForm(parent) {
    setObjectName("FehlerWin");
    setWindowTitle("Fehler");
    setFixedSize(372, 184);

    auto* panel = new QFrame(this);
    panel->setObjectName("Panel1");
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);
    panel->setGeometry(8, 8, 356, 108);

    Fehler_ = new QLabel(panel);
    Fehler_->setObjectName("Fehler");
    QFont bold = Fehler_->font();
    bold.setBold(true);
    Fehler_->setFont(bold);
    Fehler_->setGeometry(12, 10, 332, 20);

    const char* lines[] = {"Das kann z.B. daran liegen, daß Sie das Spiel von einer", "CD-ROM gestartet haben.",
                           "Abhilfe schafft eine Installation auf der Festplatte."};
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(QString::fromUtf8(lines[i]), panel);
        label->setObjectName(QString("Label%1").arg(i + 2));
        label->setGeometry(12, 36 + 20 * i, 332, 18);
    }

    CheckBox_ = new QCheckBox(QString::fromUtf8("Diese Fehlermeldung nicht mehr anzeigen."), this);
    CheckBox_->setObjectName("CheckBox");
    CheckBox_->setGeometry(12, 122, 352, 20);

    OKButton_ = addResultButton("OKButton", QRect(148, 150, 75, 25), ModalResult::Ok, "OK");
    OKButton_->setDefault(true);
}

void TFehlerWin::showSaveError(QWidget* mainWindow) {
    if (!showSaveErrors_) return;
    Fehler_->setText(QString::fromUtf8("Die Einstellungen können nicht gespeichert werden."));
    CheckBox_->setChecked(false);
    showCentred(mainWindow);
    showSaveErrors_ = !CheckBox_->isChecked();
}

}  // namespace vexel
