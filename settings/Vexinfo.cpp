#include "Vexinfo.h"

#include "qtexts.h"

namespace vexel {

namespace {

QLabel* makeBoldLabel(QWidget* parent, const char* name, QColor colour, int pointSize, QRect geometry) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSize(pointSize);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(geometry);
    return label;
}

}  // namespace

TAboutBox::TAboutBox(Settings& settings, QWidget* parent) : TCenteredForm(parent), settings_(settings) {
    setObjectName("AboutBox");
    setWindowTitle("Info");
    setFixedSize(301, 252);

    panel_ = new QFrame(this);
    panel_->setObjectName("Panel1");
    panel_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel_->setLineWidth(2);
    panel_->setGeometry(8, 8, 285, 196);
    // A dark panel so that the red title and the yellow version stand out.
    panel_->setAutoFillBackground(true);
    QPalette panelPalette = panel_->palette();
    panelPalette.setColor(QPalette::Window, QColor(0x30, 0x30, 0x40));
    panel_->setPalette(panelPalette);

    ProgramIcon_ = new QLabel(panel_);
    ProgramIcon_->setObjectName("ProgramIcon");
    ProgramIcon_->setGeometry(110, 12, 64, 64);
    ProgramIcon_->setScaledContents(true);
    ProgramIcon_->setPixmap(programIcon(64));

    Titel_ = makeBoldLabel(panel_, "Titel", Qt::red, 18, QRect(8, 88, 269, 40));
    Version_ = makeBoldLabel(panel_, "Version", Qt::yellow, 10, QRect(8, 140, 269, 24));

    OKButton_ = addResultButton("OKButton", QRect(113, 214, 75, 25), ModalResult::Ok, "OK");
    OKButton_->setDefault(true);
}

void TAboutBox::showEvent(QShowEvent* event) {
    FormShow();
    TCenteredForm::showEvent(event);
}

void TAboutBox::FormShow() {
    if (!hasTextTable(settings_)) return;
    Titel_->setText(text(settings_, 101));
    Version_->setText(text(settings_, 102));
}

}  // namespace vexel
