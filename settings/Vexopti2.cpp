#include "Vexopti2.h"

#include <QButtonGroup>
#include <QGroupBox>

#include "qtexts.h"

namespace vexel {
namespace {

constexpr std::uint16_t PROMPT_TEXT = 220;
constexpr std::uint16_t FIRST_CHOICE_TEXT = 221;  // 221..223, strongest first
constexpr std::uint16_t FIRST_NAME_TEXT = 224;    // 224..226

}  // namespace

TCompLevelDlg::TCompLevelDlg(Settings& settings, QWidget* parent) : TCenteredForm(parent), settings_(settings) {
    setObjectName("CompLevelDlg");
    setFixedSize(167, 185);
    setCentreOnScreenAtFirstShow(true);

    auto* frame = new QGroupBox(this);
    frame->setObjectName("GroupBox1");
    frame->setGeometry(8, 4, 151, 138);

    text_ = new QLabel(frame);
    text_->setObjectName("text");
    text_->setGeometry(8, 8, 135, 44);
    text_->setWordWrap(true);

    auto* group = new QButtonGroup(this);
    for (int level = 0; level < LEVEL_COUNT; ++level) {
        auto* radio = new QRadioButton(frame);
        radio->setObjectName(QString("Radio%1").arg(level + 1));
        radio->setGeometry(8, 58 + 26 * level, 135, 22);
        group->addButton(radio, level);
        Radio_[level] = radio;
    }

    OKBtn_ = addResultButton("OKBtn", QRect(46, 152, 75, 25), ModalResult::Ok, "OK");
    OKBtn_->setDefault(true);
}

ModalResult TCompLevelDlg::chooseLevel(Seat seat, const QString& caption) {
    seat_ = seat < SEAT_COUNT ? seat : Seat(0);
    setWindowTitle(caption);
    PlayerSlot& slot = settings_.playerSettings[seat_];
    if (hasTextTable(settings_)) text_->setText(text(settings_, PROMPT_TEXT));

    // A level outside 0..2 leaves every button clear and the level as it is,
    // unless the user picks one.
    Radio_[0]->group()->setExclusive(false);
    for (int level = 0; level < LEVEL_COUNT; ++level) {
        if (hasTextTable(settings_)) Radio_[level]->setText(text(settings_, std::uint16_t(FIRST_CHOICE_TEXT + level)));
        Radio_[level]->setChecked(slot.level == level);
    }
    Radio_[0]->group()->setExclusive(true);

    const ModalResult result = showCentred(parentWidget());
    for (int level = 0; level < LEVEL_COUNT; ++level)
        if (Radio_[level]->isChecked()) slot.level = std::uint8_t(level);
    return result;
}

QString TCompLevelDlg::levelName() const {
    for (int level = 0; level < LEVEL_COUNT; ++level)
        if (Radio_[level]->isChecked()) return text(settings_, std::uint16_t(FIRST_NAME_TEXT + level));
    return {};
}

}  // namespace vexel
