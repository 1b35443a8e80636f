#include "Vexfehlr.h"

#include <QFrame>

#include <algorithm>

namespace vexel {

TFehlerWin::TFehlerWin(QWidget* parent) : TCenteredForm(parent) {
    setObjectName("FehlerWin");
    setWindowTitle("Fehler");

    panel_ = new QFrame(this);
    panel_->setObjectName("Panel1");
    panel_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel_->setLineWidth(2);

    Fehler_ = new QLabel(panel_);
    Fehler_->setObjectName("Fehler");
    QFont bold = Fehler_->font();
    bold.setBold(true);
    Fehler_->setFont(bold);

    const char* lines[] = {"Das kann z.B. daran liegen, daß Sie das Spiel von einer", "CD-ROM gestartet haben.",
                           "Abhilfe schafft eine Installation auf der Festplatte."};
    for (int i = 0; i < 3; ++i) {
        lines_[i] = new QLabel(QString::fromUtf8(lines[i]), panel_);
        lines_[i]->setObjectName(QString("Label%1").arg(i + 2));
    }

    CheckBox_ = new QCheckBox(QString::fromUtf8("Diese Fehlermeldung nicht mehr anzeigen."), this);
    CheckBox_->setObjectName("CheckBox");

    OKButton_ = addResultButton("OKButton", QRect(), ModalResult::Ok, "OK");
    OKButton_->setDefault(true);
    fitToTexts();
}

void TFehlerWin::fitToTexts() {
    // Designed for the message in 332 pixels, the lines 18 high, the whole window 372 x 184.
    const QFontMetrics boldMetrics(Fehler_->font());
    const QFontMetrics metrics(lines_[0]->font());
    const QSize checkBox = CheckBox_->sizeHint();
    int textWidth = std::max({332, boldMetrics.horizontalAdvance(Fehler_->text()), checkBox.width() - 20});
    for (const QLabel* line : lines_) textWidth = std::max(textWidth, metrics.horizontalAdvance(line->text()));
    const int messageHeight = std::max(20, boldMetrics.height());
    const int lineHeight = std::max(18, metrics.height());

    int y = 10;
    Fehler_->setGeometry(12, y, textWidth, messageHeight);
    y += messageHeight + 6;
    for (QLabel* line : lines_) {
        line->setGeometry(12, y, textWidth, lineHeight);
        y += lineHeight + 2;
    }
    const int width = textWidth + 40;
    panel_->setGeometry(8, 8, width - 16, y + 12);

    y = panel_->geometry().bottom() + 7;
    const int checkBoxHeight = std::max(20, checkBox.height());
    CheckBox_->setGeometry(12, y, textWidth + 20, checkBoxHeight);
    y += checkBoxHeight + 8;
    const int buttonHeight = std::max(25, OKButton_->sizeHint().height());
    OKButton_->setGeometry((width - 75) / 2, y, 75, buttonHeight);
    setFixedSize(width, y + buttonHeight + 9);
}

void TFehlerWin::showSaveError(QWidget* mainWindow) {
    if (!showSaveErrors_) return;
    Fehler_->setText(QString::fromUtf8("Die Einstellungen können nicht gespeichert werden."));
    CheckBox_->setChecked(false);
    fitToTexts();
    showCentred(mainWindow);
    showSaveErrors_ = !CheckBox_->isChecked();
}

}  // namespace vexel
