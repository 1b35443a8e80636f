#include "Vexspeed.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QPainter>
#include <QPolygon>

#include "qtexts.h"

namespace vexel {
namespace {

// The glyph of a size button: a small triangle pointing up (larger) or down.
QIcon sizeGlyph(bool up) {
    QPixmap glyph(11, 7);
    glyph.fill(Qt::transparent);
    QPainter painter(&glyph);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    const QPolygon triangle = up ? QPolygon({QPoint(0, 6), QPoint(10, 6), QPoint(5, 1)})
                                 : QPolygon({QPoint(0, 1), QPoint(10, 1), QPoint(5, 6)});
    painter.drawPolygon(triangle);
    return QIcon(glyph);
}

QGroupBox* makeFrame(QWidget* parent, const char* name, QRect geometry) {
    auto* frame = new QGroupBox(parent);
    frame->setObjectName(name);
    frame->setGeometry(geometry);
    return frame;
}

// Unchecks every button of an exclusive group, which Qt allows only with
// exclusivity switched off for a moment.
void clearGroup(QButtonGroup* group) {
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons()) button->setChecked(false);
    group->setExclusive(true);
}

// A caption as a screen reader should say it: without its accelerator sign
// and the colon that leads to its field.
QString plainCaption(QString caption) {
    caption.remove(QLatin1Char('&'));
    if (caption.endsWith(QLatin1Char(':'))) caption.chop(1);
    return caption;
}

}  // namespace

QString formatSizeUnit(int value) { return value < 10 ? QString("  %1").arg(value) : QString::number(value); }

TEnvironDlg::TEnvironDlg(Settings& settings, WindowSizing sizing, std::function<void(int)> showHelp, QWidget* parent)
    : TCenteredForm(parent), settings_(settings), sizing_(std::move(sizing)), showHelp_(std::move(showHelp)) {
    setObjectName("EnvironDlg");
    setFixedSize(438, 344);

    QGroupBox* speeds = makeFrame(this, "SpeedFrame", QRect(8, 6, 422, 196));
    l_geschw_ = new QLabel(speeds);
    l_geschw_->setObjectName("l_geschw");
    l_geschw_->setAlignment(Qt::AlignCenter);
    l_geschw_->setGeometry(8, 6, 406, 18);
    l_mensch_ = new QLabel(speeds);
    l_mensch_->setObjectName("l_mensch");
    l_mensch_->setGeometry(16, 28, 120, 18);
    l_comp_ = new QLabel(speeds);
    l_comp_->setObjectName("l_comp");
    l_comp_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l_comp_->setGeometry(286, 28, 120, 18);

    auto* p_mensch = new QWidget(speeds);
    p_mensch->setObjectName("p_mensch");
    p_mensch->setGeometry(16, 50, 40, 140);
    auto* p_comp = new QWidget(speeds);
    p_comp->setObjectName("p_comp");
    p_comp->setGeometry(382, 50, 40, 140);
    auto* humanGroup = new QButtonGroup(this);
    auto* computerGroup = new QButtonGroup(this);
    for (int line = 0; line < SPEED_COUNT; ++line) {
        l_speed_[line] = new QLabel(speeds);
        l_speed_[line]->setObjectName(QString("l_speed%1").arg(line + 1));
        l_speed_[line]->setAlignment(Qt::AlignCenter);
        l_speed_[line]->setGeometry(64, 50 + 23 * line, 294, 20);

        auto* human = new QRadioButton(p_mensch);
        human->setObjectName(QString("R%1").arg(line + 1));
        human->setGeometry(4, 23 * line, 24, 20);
        humanGroup->addButton(human, line);
        R_[line] = human;
        auto* computer = new QRadioButton(p_comp);
        computer->setObjectName(QString("R%1").arg(line + 7));
        computer->setGeometry(4, 23 * line, 24, 20);
        computerGroup->addButton(computer, line);
        R_[SPEED_COUNT + line] = computer;
    }

    QGroupBox* sizeFrame = makeFrame(this, "SizeFrame", QRect(8, 206, 422, 38));
    l_winsize_ = new QLabel(sizeFrame);
    l_winsize_->setObjectName("l_winsize");
    l_winsize_->setGeometry(12, 9, 160, 20);
    WinSize_ = new QLineEdit(sizeFrame);
    WinSize_->setObjectName("WinSize");
    WinSize_->setReadOnly(true);
    WinSize_->setEnabled(false);
    WinSize_->setGeometry(180, 7, 48, 24);
    win_plus_ = new QPushButton(sizeFrame);
    win_plus_->setObjectName("win_plus");
    win_plus_->setIcon(sizeGlyph(true));
    win_plus_->setGeometry(236, 7, 28, 24);
    connect(win_plus_, &QPushButton::clicked, this, [this] { winsize_Click(true); });
    Win_minus_ = new QPushButton(sizeFrame);
    Win_minus_->setObjectName("Win_minus");
    Win_minus_->setIcon(sizeGlyph(false));
    Win_minus_->setGeometry(268, 7, 28, 24);
    connect(Win_minus_, &QPushButton::clicked, this, [this] { winsize_Click(false); });
    l_winsize_->setBuddy(win_plus_);

    QGroupBox* soundFrame = makeFrame(this, "SoundFrame", QRect(8, 248, 422, 30));
    SoundBox_ = new QCheckBox("&Sound", soundFrame);
    SoundBox_->setObjectName("SoundBox");
    SoundBox_->setGeometry(12, 5, 150, 20);
    ZiehenSound_ = new QCheckBox(soundFrame);
    ZiehenSound_->setObjectName("ZiehenSound");
    ZiehenSound_->setGeometry(180, 5, 230, 20);

    QGroupBox* hintFrame = makeFrame(this, "HintFrame", QRect(8, 282, 422, 26));
    ColorHintBox_ = new QCheckBox(hintFrame);
    ColorHintBox_->setObjectName("ColorHintBox");
    ColorHintBox_->setGeometry(12, 3, 190, 20);
    // The marks share the line of the target markers: both say how the board looks.
    PegMarksBox_ = new QCheckBox(hintFrame);
    PegMarksBox_->setObjectName("PegMarksBox");
    PegMarksBox_->setGeometry(204, 3, 214, 20);

    okbtn_ = new QPushButton("OK", this);
    okbtn_->setObjectName("okbtn");
    okbtn_->setGeometry(102, 313, 75, 25);
    okbtn_->setDefault(true);
    connect(okbtn_, &QPushButton::clicked, this, [this] { okbtnClick(); });
    cancelbtn_ = addResultButton("cancelbtn", QRect(182, 313, 75, 25), ModalResult::Cancel);
    helpbtn_ = new QPushButton(this);
    helpbtn_->setObjectName("helpbtn");
    helpbtn_->setGeometry(262, 313, 75, 25);
    connect(helpbtn_, &QPushButton::clicked, this, [this] {
        if (showHelp_) showHelp_(2);
    });

    // The keyboard goes down the speeds of humans, then of computers, then on
    // through the dialog as it reads.
    QWidget* order[] = {R_[0], R_[1], R_[2], R_[3], R_[4], R_[5], R_[6], R_[7], R_[8], R_[9], R_[10], R_[11],
                        win_plus_, Win_minus_, SoundBox_, ZiehenSound_, ColorHintBox_, PegMarksBox_, okbtn_, cancelbtn_, helpbtn_};
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

void TEnvironDlg::showEvent(QShowEvent* event) {
    FormShow();
    TCenteredForm::showEvent(event);
}

void TEnvironDlg::FormShow() {
    if (hasTextTable(settings_)) {
        setWindowTitle(text(settings_, 300));
        l_mensch_->setText(text(settings_, 301));
        l_comp_->setText(text(settings_, 302));
        for (int line = 0; line < SPEED_COUNT; ++line) l_speed_[line]->setText(text(settings_, std::uint16_t(303 + line)));
        l_geschw_->setText(text(settings_, 309));
        l_winsize_->setText(text(settings_, 310));
        ZiehenSound_->setText(text(settings_, 312));
        ColorHintBox_->setText(text(settings_, 311));
        PegMarksBox_->setText(text(settings_, 1200));
        cancelbtn_->setText(text(settings_, 50));
        helpbtn_->setText(text(settings_, 51));
        // The speed buttons have no captions of their own: they are named by
        // their column and the speed of their line.
        for (int line = 0; line < SPEED_COUNT; ++line) {
            const QString speed = text(settings_, std::uint16_t(303 + line));
            R_[line]->setAccessibleName(l_mensch_->text() + QStringLiteral(": ") + speed);
            R_[SPEED_COUNT + line]->setAccessibleName(l_comp_->text() + QStringLiteral(": ") + speed);
        }
        WinSize_->setAccessibleName(plainCaption(l_winsize_->text()));
    }

    // A speed outside 0..5 checks no button and stays as it is unless chosen.
    clearGroup(R_[0]->group());
    clearGroup(R_[SPEED_COUNT]->group());
    if (settings_.humanSpeed < SPEED_COUNT) R_[settings_.humanSpeed]->setChecked(true);
    if (settings_.computerSpeed < SPEED_COUNT) R_[SPEED_COUNT + settings_.computerSpeed]->setChecked(true);

    WinSize_->setText(formatSizeUnit(sizing_.sizeUnit ? sizing_.sizeUnit() : 1));
    nameSizeButtons();
    SoundBox_->setChecked(settings_.soundOn);
    ZiehenSound_->setChecked(settings_.moveSoundOn);
    ColorHintBox_->setChecked(settings_.markDirection);
    PegMarksBox_->setChecked(settings_.pegMarks);
}

int TEnvironDlg::shownSizeUnit() const { return WinSize_->text().trimmed().toInt(); }

void TEnvironDlg::winsize_Click(bool larger) {
    int value = shownSizeUnit();
    const int largest = sizing_.maxSizeUnit ? sizing_.maxSizeUnit() : 1;
    if (larger && value < largest) ++value;
    if (!larger && value > 1) --value;
    WinSize_->setText(formatSizeUnit(value));
    nameSizeButtons();
}

// The size buttons show only arrows; their names say what they do and the
// size now chosen, so that a screen reader tells the new size on each press.
void TEnvironDlg::nameSizeButtons() {
    if (!hasTextTable(settings_)) return;
    const QString size = QString::number(shownSizeUnit());
    win_plus_->setAccessibleName(text(settings_, 952).arg(size));
    Win_minus_->setAccessibleName(text(settings_, 953).arg(size));
}

void TEnvironDlg::okbtnClick() {
    const int human = R_[0]->group()->checkedId();
    const int computer = R_[SPEED_COUNT]->group()->checkedId();
    if (human >= 0) settings_.humanSpeed = std::uint8_t(human);
    if (computer >= 0) settings_.computerSpeed = std::uint8_t(computer);

    const int value = shownSizeUnit();
    if (sizing_.sizeUnit && value != sizing_.sizeUnit() && sizing_.applySizeUnit) sizing_.applySizeUnit(value);

    settings_.soundOn = SoundBox_->isChecked();
    settings_.moveSoundOn = ZiehenSound_->isChecked();
    settings_.markDirection = ColorHintBox_->isChecked();
    settings_.pegMarks = PegMarksBox_->isChecked();
    done(int(ModalResult::Ok));
}

}  // namespace vexel
