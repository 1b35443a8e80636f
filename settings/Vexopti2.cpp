#include "Vexopti2.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QShowEvent>

#include <algorithm>

#include "qtexts.h"

namespace vexel {
namespace {

constexpr std::uint16_t PROMPT_TEXT = 220;
constexpr std::uint16_t FIRST_CHOICE_TEXT = 221;  // 221..223, strongest original first
constexpr std::uint16_t FIRST_NAME_TEXT = 224;    // 224..226
// The strongest level came later: its texts follow the original ones.
constexpr std::uint16_t STRONG_CHOICE_TEXT = 227;
constexpr std::uint16_t STRONG_NAME_TEXT = 228;

std::uint16_t choiceText(int level) {
    return level < ORIGINAL_LEVEL_COUNT ? std::uint16_t(FIRST_CHOICE_TEXT + level) : STRONG_CHOICE_TEXT;
}
std::uint16_t nameText(int level) {
    return level < ORIGINAL_LEVEL_COUNT ? std::uint16_t(FIRST_NAME_TEXT + level) : STRONG_NAME_TEXT;
}

}  // namespace

TCompLevelDlg::TCompLevelDlg(Settings& settings, QWidget* parent) : TCenteredForm(parent), settings_(settings) {
    setObjectName("CompLevelDlg");
    setCentreOnScreenAtFirstShow(true);

    frame_ = new QGroupBox(this);
    frame_->setObjectName("GroupBox1");

    text_ = new QLabel(frame_);
    text_->setObjectName("text");
    text_->setWordWrap(true);

    auto* group = new QButtonGroup(this);
    for (int level = 0; level < LEVEL_COUNT; ++level) {
        auto* radio = new QRadioButton(frame_);
        radio->setObjectName(QString("Radio%1").arg(level + 1));
        group->addButton(radio, level);
        Radio_[level] = radio;
    }

    OKBtn_ = addResultButton("OKBtn", QRect(), ModalResult::Ok, "OK");
    OKBtn_->setDefault(true);
    fitToTexts();
}

void TCompLevelDlg::fitToTexts() {
    // Designed for a column 135 pixels wide, the prompt 44 and each choice 22
    // high, the whole window 167 x 185 with three choices; the fourth adds a row.
    int column = 135;
    int choiceHeight = 22;
    for (const QRadioButton* radio : Radio_) {
        column = std::max(column, radio->sizeHint().width());
        choiceHeight = std::max(choiceHeight, radio->sizeHint().height());
    }
    const QRect wrapped = QFontMetrics(text_->font())
                              .boundingRect(QRect(0, 0, column, 10000), int(text_->alignment()) | Qt::TextWordWrap, text_->text());
    const int promptHeight = std::max(44, wrapped.height());

    text_->setGeometry(8, 8, column, promptHeight);
    int y = 8 + promptHeight + 6;
    for (QRadioButton* radio : Radio_) {
        radio->setGeometry(8, y, column, choiceHeight);
        y += choiceHeight + 4;
    }
    frame_->setGeometry(8, 4, column + 16, y + 2);

    const int width = column + 32;
    const int buttonTop = frame_->geometry().bottom() + 11;
    const int buttonHeight = std::max(25, OKBtn_->sizeHint().height());
    OKBtn_->setGeometry((width - 75) / 2, buttonTop, 75, buttonHeight);
    setFixedSize(width, buttonTop + buttonHeight + 8);
}

ModalResult TCompLevelDlg::chooseLevel(Seat seat, const QString& caption) {
    seat_ = seat < SEAT_COUNT ? seat : Seat(0);
    setWindowTitle(caption);
    PlayerSlot& slot = settings_.playerSettings[seat_];
    if (hasTextTable(settings_)) text_->setText(text(settings_, PROMPT_TEXT));
    // The choices' frame carries the question, which a screen reader says on entering it.
    frame_->setAccessibleName(text_->text());

    // A level outside 0..3 leaves every button clear and the level as it is,
    // unless the user picks one.
    Radio_[0]->group()->setExclusive(false);
    for (int level = 0; level < LEVEL_COUNT; ++level) {
        if (hasTextTable(settings_)) Radio_[level]->setText(text(settings_, choiceText(level)));
        Radio_[level]->setChecked(slot.level == level);
    }
    Radio_[0]->group()->setExclusive(true);
    fitToTexts();

    const ModalResult result = showCentred(parentWidget());
    for (int level = 0; level < LEVEL_COUNT; ++level)
        if (Radio_[level]->isChecked()) slot.level = std::uint8_t(level);
    return result;
}

void TCompLevelDlg::showEvent(QShowEvent* event) {
    TCenteredForm::showEvent(event);
    // After the dialog's own focus choice, so that ours stands.
    for (QRadioButton* radio : Radio_)
        if (radio->isChecked()) radio->setFocus();
}

QString TCompLevelDlg::levelName() const {
    for (int level = 0; level < LEVEL_COUNT; ++level)
        if (Radio_[level]->isChecked()) return text(settings_, nameText(level));
    return {};
}

}  // namespace vexel
