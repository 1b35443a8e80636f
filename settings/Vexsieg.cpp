#include "Vexsieg.h"

#include <QFrame>
#include <QStringList>

#include <algorithm>

#include "qtexts.h"
#include "windows1252.h"

namespace vexel {

TSiegerAnzeige::TSiegerAnzeige(const Settings& settings, const GameState& game, QWidget* parent)
    : TCenteredForm(parent), settings_(settings), game_(game) {
    setObjectName("SiegerAnzeige");
    setCentreOnScreenAtFirstShow(true);

    auto* panel = panel_ = new QFrame(this);
    panel->setObjectName("Panel1");
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);

    const QPixmap icon = programIcon(40);
    auto* topIcon = new QLabel(panel);
    topIcon->setObjectName("ProgramIcon");
    topIcon->setGeometry(10, 10, 40, 40);
    topIcon->setPixmap(icon);
    auto* bottomIcon = Image2_ = new QLabel(panel);
    bottomIcon->setObjectName("Image2");
    bottomIcon->setPixmap(icon);

    auto* bar = bar_ = new QFrame(panel);
    bar->setObjectName("Bar");
    bar->setAutoFillBackground(true);
    QPalette blue = bar->palette();
    blue.setColor(QPalette::Window, Qt::blue);
    bar->setPalette(blue);
    auto* line = line_ = new QFrame(panel);
    line->setObjectName("Line");
    line->setAutoFillBackground(true);
    line->setPalette(blue);

    Ueberschrift_ = new QLabel(panel);
    Ueberschrift_->setObjectName("Ueberschrift");
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
        label->setFont(lineFont);
        label->setPalette(navy);
        Sieger_[i] = label;
    }

    WeiterButton_ = addResultButton("WeiterButton", QRect(), ModalResult::Ok);
    EndeButton_ = addResultButton("EndeButton", QRect(), ModalResult::Abort);

    updateWinnerList();
    fitToTexts();
}

void TSiegerAnzeige::fitToTexts() {
    // Designed for list lines 300 pixels wide and 28 high, 34 apart, under a
    // heading of 312 x 40, buttons of 120 x 28, the whole window 400 x 352.
    const QFontMetrics lineMetrics(Sieger_[0]->font());
    const QFontMetrics headingMetrics(Ueberschrift_->font());
    int lineWidth = 300;
    for (const QLabel* line : Sieger_) lineWidth = std::max(lineWidth, lineMetrics.horizontalAdvance(line->text()));
    const int wider = std::max(lineWidth - 300, headingMetrics.horizontalAdvance(Ueberschrift_->text()) - 312);
    const int headingHeight = std::max(40, headingMetrics.height());
    const int lineHeight = std::max(28, lineMetrics.height());
    int buttonWidth = 120;
    int buttonHeight = 28;
    for (const QPushButton* button : {WeiterButton_, EndeButton_}) {
        buttonWidth = std::max(buttonWidth, button->sizeHint().width());
        buttonHeight = std::max(buttonHeight, button->fontMetrics().height() + 8);
    }

    const int width = std::max(400 + wider, 2 * buttonWidth + 24);
    const int room = width - 88;  // from the heading's left edge to the panel's right margin
    Ueberschrift_->setGeometry(60, 12, room, headingHeight);
    const int lineTop = headingHeight + 18;
    line_->setGeometry(60, lineTop, room, 3);
    int y = lineTop + 14;
    for (QLabel* line : Sieger_) {
        line->setGeometry(72, y, room - 12, lineHeight);
        y += lineHeight + 6;
    }
    const int longer = y - 6 - 270;  // below the last line as designed
    bar_->setGeometry(28, 56, 4, 184 + longer);
    Image2_->setGeometry(10, 246 + longer, 40, 40);
    panel_->setGeometry(8, 8, width - 16, 296 + longer);

    const int buttonTop = 316 + longer;
    WeiterButton_->setGeometry(8, buttonTop, buttonWidth, buttonHeight);
    EndeButton_->setGeometry(width - 8 - buttonWidth, buttonTop, buttonWidth, buttonHeight);
    setFixedSize(width, buttonTop + buttonHeight + 8);
}

void TSiegerAnzeige::prepareToShow() {
    FormShow();
    fitToTexts();
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
    describeForScreenReaders();
}

void TSiegerAnzeige::describeForScreenReaders() {
    // An empty line is nothing to read: it is hidden, which shows the same.
    QStringList order;
    for (QLabel* line : Sieger_) {
        line->setVisible(!line->text().isEmpty());
        if (!line->text().isEmpty()) order << line->text();
    }
    if (!hasTextTable(settings_)) return;
    // The finishing order is read with the dialog, and with the button that
    // has the focus when it opens.
    const QString description = game_.finishOrder[0] == NO_PEG
                                    ? text(settings_, 1058)
                                    : text(settings_, 1057).arg(order.join(QStringLiteral(", ")));
    setAccessibleDescription(description);
    WeiterButton_->setAccessibleDescription(description);
    EndeButton_->setAccessibleDescription(description);
}

void TSiegerAnzeige::showEvent(QShowEvent* event) {
    // Shown by showCentred, texts and size are in place already; shown
    // otherwise, they are filled in here.
    prepareToShow();
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
    describeForScreenReaders();
    WeiterButton_->setVisible(goOn);
    WeiterButton_->setDefault(goOn);
    EndeButton_->setDefault(!goOn);
}

}  // namespace vexel
