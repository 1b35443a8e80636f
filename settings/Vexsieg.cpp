#include "Vexsieg.h"

#include <QFrame>

#include <algorithm>

#include "qtexts.h"
#include "windows1252.h"

namespace vexel {

TSiegerAnzeige::TSiegerAnzeige(const Settings& settings, const GameState& game, QWidget* parent)
    : TCenteredForm(parent), settings_(settings), game_(game) {
    setObjectName("SiegerAnzeige");
    setFixedSize(400, 352);
    setCentreOnScreenAtFirstShow(true);

    auto* panel = new QFrame(this);
    panel->setObjectName("Panel1");
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);
    panel->setGeometry(8, 8, 384, 296);

    const QPixmap icon = programIcon(40);
    auto* topIcon = new QLabel(panel);
    topIcon->setObjectName("ProgramIcon");
    topIcon->setGeometry(10, 10, 40, 40);
    topIcon->setPixmap(icon);
    auto* bottomIcon = new QLabel(panel);
    bottomIcon->setObjectName("Image2");
    bottomIcon->setGeometry(10, 246, 40, 40);
    bottomIcon->setPixmap(icon);

    auto* bar = new QFrame(panel);
    bar->setObjectName("Bar");
    bar->setGeometry(28, 56, 4, 184);
    bar->setAutoFillBackground(true);
    QPalette blue = bar->palette();
    blue.setColor(QPalette::Window, Qt::blue);
    bar->setPalette(blue);
    auto* line = new QFrame(panel);
    line->setObjectName("Line");
    line->setGeometry(60, 58, 312, 3);
    line->setAutoFillBackground(true);
    line->setPalette(blue);

    Ueberschrift_ = new QLabel(panel);
    Ueberschrift_->setObjectName("Ueberschrift");
    Ueberschrift_->setGeometry(60, 12, 312, 40);
    Ueberschrift_->setAlignment(Qt::AlignCenter);
    QFont headingFont = Ueberschrift_->font();
    headingFont.setPointSize(20);
    Ueberschrift_->setFont(headingFont);
    QPalette red = Ueberschrift_->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    Ueberschrift_->setPalette(red);

    QFont lineFont = font();
    lineFont.setBold(true);
    lineFont.setPointSize(11);
    QPalette navy = palette();
    navy.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0x80));
    for (int i = 0; i < SEAT_COUNT; ++i) {
        auto* label = new QLabel(panel);
        label->setObjectName(QString("Sieger%1").arg(i + 1));
        label->setGeometry(72, 72 + 34 * i, 300, 28);
        label->setFont(lineFont);
        label->setPalette(navy);
        Sieger_[i] = label;
    }

    WeiterButton_ = addResultButton("WeiterButton", QRect(8, 316, 120, 28), ModalResult::Ok);
    EndeButton_ = addResultButton("EndeButton", QRect(272, 316, 120, 28), ModalResult::Abort);

    updateWinnerList();
}

void TSiegerAnzeige::updateWinnerList() {
    if (game_.finishOrder[0] == NO_PEG) return;
    for (int place = 0; place < SEAT_COUNT; ++place) {
        const Seat seat = game_.finishOrder[place];
        // A place holding anything but a seat number is shown as free.
        if (seat >= SEAT_COUNT) {
            Sieger_[place]->clear();
            continue;
        }
        Sieger_[place]->setText(QString("%1. ").arg(place + 1) + fromWindows1252(game_.players[seat].nameBytes()));
    }
}

void TSiegerAnzeige::showEvent(QShowEvent* event) {
    FormShow();
    TCenteredForm::showEvent(event);
    // After the dialog's own focus choice, so that ours stands.
    (WeiterButton_->isVisibleTo(this) ? WeiterButton_ : EndeButton_)->setFocus();
}

void TSiegerAnzeige::FormShow() {
    const bool captions = hasTextTable(settings_);
    if (captions) {
        setWindowTitle(text(settings_, 350));
        Ueberschrift_->setText(text(settings_, 351));
    }
    if (game_.finishOrder[0] == NO_PEG) {
        if (game_.gameRunning) {
            if (captions) Sieger_[0]->setText(text(settings_, 352));
        } else {
            Sieger_[0]->clear();
        }
        for (int place = 1; place < SEAT_COUNT; ++place) Sieger_[place]->clear();
    }
    if (captions) {
        WeiterButton_->setText(text(settings_, 353));
        EndeButton_->setText(text(settings_, 354));
    }

    // "Weiter" only while a place is still to be won: the last place a seat
    // of this game can reach is the number of seats taking part.
    const int lastPlace = std::clamp(game_.playingSeatCount(), 1, SEAT_COUNT) - 1;
    const bool goOn = game_.gameRunning && game_.finishOrder[lastPlace] == NO_PEG;
    WeiterButton_->setVisible(goOn);
    WeiterButton_->setDefault(goOn);
    EndeButton_->setDefault(!goOn);
}

}  // namespace vexel
