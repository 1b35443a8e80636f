#include "Vexoptio.h"

#include <QAccessibleWidget>
#include <QButtonGroup>
#include <QCoreApplication>
#include <QColorDialog>
#include <QFrame>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QValidator>

#include <algorithm>

#include "colournames.h"
#include "paint/colourvision.h"
#include "paint/drawprims.h"
#include "paint/pegmarks.h"
#include "paint/preview.h"
#include "qtexts.h"
#include "seating.h"
#include "windows1252.h"

namespace vexel {
namespace {

constexpr int NAME_MAX_TYPED = 20;

ColourRef colourRefOf(const QColor& colour) {
    return ColourRef(colour.red()) | ColourRef(colour.green()) << 8 | ColourRef(colour.blue()) << 16;
}

// A paint box that draws itself through a callback and reports clicks.
class PaintBox : public QWidget {
public:
    PaintBox(QWidget* parent, std::function<void(QPainter&)> paint, std::function<void()> clicked = {})
        : QWidget(parent), paint_(std::move(paint)), clicked_(std::move(clicked)) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        paint_(painter);
        if (hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
        }
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (clicked_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) clicked_();
    }
    // A swatch is pressed from the keyboard too, with Space as a button is;
    // Enter is left to the dialog's default button.
    void keyPressEvent(QKeyEvent* event) override {
        if (clicked_ && event->key() == Qt::Key_Space && !event->isAutoRepeat())
            clicked_();
        else
            QWidget::keyPressEvent(event);
    }
    void focusInEvent(QFocusEvent*) override { update(); }
    void focusOutEvent(QFocusEvent*) override { update(); }

private:
    std::function<void(QPainter&)> paint_;
    std::function<void()> clicked_;
};

// A colour swatch is a button to assistive technology, pressed as Space presses it.
class SwatchAccessible : public QAccessibleWidget {
public:
    explicit SwatchAccessible(QWidget* swatch) : QAccessibleWidget(swatch, QAccessible::Button) {}
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name != pressAction()) return;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QCoreApplication::sendEvent(widget(), &press);
    }
    QStringList keyBindingsForAction(const QString& name) const override {
        return name == pressAction() ? QStringList{QStringLiteral("Space")} : QStringList{};
    }
};

QAccessibleInterface* swatchFactory(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    return widget && widget->property("colourSwatch").toBool() ? new SwatchAccessible(widget) : nullptr;
}

QLabel* makeLabel(QWidget* parent, const char* name, QRect geometry) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    return label;
}

QPushButton* makeButton(QWidget* parent, const char* name, QRect geometry) {
    auto* button = new QPushButton(parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    return button;
}

}  // namespace

// Typing makes a name at most NAME_MAX_TYPED characters long. A longer name
// that the program puts into the box (the file holds up to 21 characters)
// stays whole; typing can shorten it but never lengthen it. What an edit
// inserts beyond the limit is cut from its end, as a length limit cuts it.
class NameLimit : public QValidator {
public:
    using QValidator::QValidator;

    // Called before the program puts a text of `length` characters into the box.
    void allow(int length) { allowed_ = std::max(NAME_MAX_TYPED, length); }

    State validate(QString& input, int& cursor) const override {
        const int excess = int(input.size()) - allowed_;
        if (excess > 0) {
            // The inserted text ends at the cursor.
            if (cursor < excess) return Invalid;
            input.remove(cursor - excess, excess);
            cursor -= excess;
        }
        allowed_ = std::max(NAME_MAX_TYPED, int(input.size()));
        return Acceptable;
    }

private:
    mutable int allowed_ = NAME_MAX_TYPED;
};

TOptionenDlg::TOptionenDlg(Settings& settings, TCompLevelDlg& levelDialog, std::function<void(int)> showHelp,
                           QWidget* parent)
    : TOptionenDlg(settings, std::move(showHelp), parent) {
    levelDialog_ = &levelDialog;
}

TOptionenDlg::TOptionenDlg(Settings& settings, std::function<void(int)> showHelp, QWidget* parent)
    : TCenteredForm(parent),
      settings_(settings),
      showHelp_(std::move(showHelp)),
      preview_(161, 151, QImage::Format_RGB32) {
    chooseColour = [](const QColor& initial, QWidget* owner) { return QColorDialog::getColor(initial, owner); };
    drawPreview = [](QImage& canvas, const Settings& current) { drawBoardPreview(canvas, current); };

    static const bool swatchesAreButtons = [] {
        QAccessible::installFactory(swatchFactory);
        return true;
    }();
    Q_UNUSED(swatchesAreButtons);
    setObjectName("OptionenDlg");
    setFixedSize(563, 428);
    setCentreOnScreenAtFirstShow(true);
    QFont dialogFont("Sans Serif", 8);
    dialogFont.setBold(true);
    setFont(dialogFont);

    Farbe_ = makeLabel(this, "Farbe", QRect(16, 6, 60, 16));
    Status_ = makeLabel(this, "Status", QRect(88, 6, 100, 16));
    Name_ = makeLabel(this, "Name", QRect(214, 6, 100, 16));

    for (int row = 0; row < SEAT_COUNT; ++row) {
        auto* frame = new QFrame(this);
        frame->setObjectName(QString("Bevel%1").arg(row + 1));
        frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
        frame->setGeometry(8, 24 + 66 * row, 360, 62);

        PaintBox_[row] = new PaintBox(
            frame,
            [this, row](QPainter& painter) {
                painter.setPen(QPen(Qt::black, 1));
                painter.setBrush(toQColor(settings_.pegColours[row]));
                painter.drawEllipse(QRect(20, 10, 27, 27));  // a circle of 28 pixels
                paintPegMark(painter, QPoint(34, 24), 4, settings_.pegColours[row],
                             pegMarkFor(settings_, std::uint8_t(row)));
            },
            [this, row] { ColorChange(row); });
        PaintBox_[row]->setObjectName(QString("PaintBox%1").arg(row + 1));
        PaintBox_[row]->setGeometry(2, 6, 68, 48);
        PaintBox_[row]->setCursor(Qt::PointingHandCursor);
        PaintBox_[row]->setFocusPolicy(Qt::StrongFocus);
        PaintBox_[row]->setProperty("colourSwatch", true);

        auto* panel = new QWidget(frame);
        panel->setObjectName(QString("Panel%1").arg(row + 1));
        panel->setGeometry(74, 2, 130, 58);
        auto* group = new QButtonGroup(this);
        for (int choice = 0; choice < 3; ++choice) {
            const int tag = 3 * row + choice;
            auto* radio = new QRadioButton(panel);
            radio->setObjectName(QString("Radio%1").arg(tag + 1));
            radio->setGeometry(4, 2 + 18 * choice, 124, 18);
            group->addButton(radio, choice);
            connect(radio, &QRadioButton::toggled, this, [this, tag](bool checked) {
                if (checked) RadioClick(tag);
            });
            if (choice == 1) radio->installEventFilter(this);
            Radio_[tag] = radio;
        }

        Edit_[row] = new QLineEdit(frame);
        Edit_[row]->setObjectName(QString("Edit%1").arg(row + 1));
        nameLimits_[row] = new NameLimit(Edit_[row]);
        Edit_[row]->setValidator(nameLimits_[row]);
        Edit_[row]->setGeometry(208, 18, 144, 24);
    }

    Brett_ = makeLabel(this, "Brett", QRect(384, 6, 160, 16));
    auto* boardFrame = new QFrame(this);
    boardFrame->setObjectName("BrettFrame");
    boardFrame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    boardFrame->setGeometry(384, 24, 160, 160);
    PB_Brett_ = new PaintBox(this, [this](QPainter& painter) { painter.drawImage(0, 0, preview_); });
    PB_Brett_->setObjectName("PB_Brett");
    // The star stands centred in the frame; the paint box is a pixel wider
    // than the frame's inside, so the frame lies over it and keeps its edges.
    PB_Brett_->setGeometry(384, 28, 161, 151);
    boardFrame->raise();

    Rotieren_ = makeButton(this, "Rotieren", QRect(384, 192, 166, 26));
    connect(Rotieren_, &QPushButton::clicked, this, [this] { RotierenClick(); });
    Immer10_ = new QCheckBox(this);
    Immer10_->setObjectName("Immer10");
    Immer10_->setGeometry(384, 230, 166, 22);
    // Centred under "Rotieren", a little wider for its longer caption.
    Palette_ = makeButton(this, "Palette", QRect(377, 262, 180, 26));
    connect(Palette_, &QPushButton::clicked, this, [this] { PaletteClick(); });

    OKBtn_ = makeButton(this, "OKBtn", QRect(420, 322, 100, 26));
    OKBtn_->setText("OK");
    OKBtn_->setDefault(true);
    connect(OKBtn_, &QPushButton::clicked, this, [this] { OKBtnClick(); });
    CancelBtn_ = makeButton(this, "CancelBtn", QRect(420, 356, 100, 26));
    connect(CancelBtn_, &QPushButton::clicked, this, [this] { CancelBtnClick(); });
    HelpBtn_ = makeButton(this, "HelpBtn", QRect(420, 390, 100, 26));
    connect(HelpBtn_, &QPushButton::clicked, this, [this] {
        if (showHelp_) showHelp_(1);
    });
}

void TOptionenDlg::showEvent(QShowEvent* event) {
    FormShow();
    TCenteredForm::showEvent(event);
}

void TOptionenDlg::keyPressEvent(QKeyEvent* event) {
    // Esc presses Cancel, which restores the seats; the close box does not.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        CancelBtn_->click();
        return;
    }
    TCenteredForm::keyPressEvent(event);
}

bool TOptionenDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick)
        for (int row = 0; row < SEAT_COUNT; ++row)
            if (watched == Radio_[3 * row + 1] && Radio_[3 * row + 1]->isChecked()) RadioDblClick(3 * row + 1);
    // Space on a computer choice already checked (where it does nothing else)
    // opens the level dialog, as the double click does: the keyboard's way.
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        for (int row = 0; row < SEAT_COUNT; ++row) {
            if (watched != Radio_[3 * row + 1] || !Radio_[3 * row + 1]->isChecked()) continue;
            if (key->key() != Qt::Key_Space || key->isAutoRepeat() || key->modifiers() != Qt::NoModifier) continue;
            RadioDblClick(3 * row + 1);
            return true;
        }
    }
    return TCenteredForm::eventFilter(watched, event);
}

void TOptionenDlg::FormShow() {
    PlayerSlots& seats = settings_.playerSettings;
    seatCount_ = countPlayingSeats(seats);
    savedSlots_ = seats;

    if (hasTextTable(settings_)) {
        setWindowTitle(text(settings_, 200));
        Farbe_->setText(text(settings_, 204));
        Status_->setText(text(settings_, 205));
        Name_->setText(text(settings_, 206));
        Brett_->setText(text(settings_, 207));
        Rotieren_->setText(text(settings_, 208));
        Immer10_->setText(text(settings_, 209));
        Palette_->setText(text(settings_, 1201));
        for (int tag = 0; tag < 3 * SEAT_COUNT; ++tag) Radio_[tag]->setText(text(settings_, std::uint16_t(201 + tag % 3)));
        CancelBtn_->setText(text(settings_, 50));
        HelpBtn_->setText(text(settings_, 51));
        nameRows();
    }

    filling_ = true;
    for (int row = 0; row < SEAT_COUNT; ++row) {
        const PlayerSlot& slot = seats[seatOfColour(seats, std::uint8_t(row))];
        const int choice = std::min(int(slot.kind), int(PlayerKind::NotPlaying));
        Radio_[3 * row + choice]->setChecked(true);
        putName(row, fromWindows1252(slot.nameBytes()));
    }
    Immer10_->setChecked(settings_.alwaysTenPegs);
    filling_ = false;

    coloursChanged_ = false;
    redrawPreview();
}

void TOptionenDlg::RadioClick(int tag) {
    // While the rows are filled, every button checked matches its seat already.
    if (filling_) return;
    const int row = tag / 3;
    const auto kind = PlayerKind(tag % 3);
    if (kind == PlayerKind::Computer) askLevel(row);
    const int count = changeRowKind(settings_.playerSettings, seatCount_, std::uint8_t(row), kind);
    if (count != seatCount_) redrawPreview();
    seatCount_ = count;
}

void TOptionenDlg::RadioDblClick(int tag) { askLevel(tag / 3); }

// A seat that becomes a computer player takes the chosen computer player's name.
void TOptionenDlg::askLevel(int row) {
    if (!levelDialog_) return;
    const Seat seat = seatOfColour(settings_.playerSettings, std::uint8_t(row));
    levelDialog_->chooseLevel(seat, Edit_[row]->text());
    putName(row, levelDialog_->levelName());
}

void TOptionenDlg::putName(int row, const QString& name) {
    nameLimits_[row]->allow(int(name.size()));
    Edit_[row]->setText(name);
    // A name longer than the box shows its start.
    Edit_[row]->setCursorPosition(0);
}

void TOptionenDlg::ColorChange(int row) {
    const QColor chosen = chooseColour ? chooseColour(toQColor(settings_.pegColours[row]), this) : QColor();
    if (chosen.isValid()) settings_.pegColours[row] = colourRefOf(chosen);
    coloursChanged_ = true;
    for (QWidget* box : PaintBox_) box->update();
    if (hasTextTable(settings_)) nameRows();
    // The preview shows the colours too.
    redrawPreview();
}

// The palette for colour-blind players replaces all six colours at once; like
// a colour chosen on a swatch it stays, whatever closes the dialog.
void TOptionenDlg::PaletteClick() {
    settings_.pegColours = COLOUR_BLIND_PEG_COLOURS;
    coloursChanged_ = true;
    for (QWidget* box : PaintBox_) box->update();
    if (hasTextTable(settings_)) nameRows();
    redrawPreview();
}

// For a screen reader every control of a row says which row it is in: the
// rows stand for the peg colours, so each is named by its colour.
void TOptionenDlg::nameRows() {
    for (int row = 0; row < SEAT_COUNT; ++row) {
        const std::string_view colour = colourName(settings_.language, settings_.pegColours[row]);
        const QString rowName = QString::fromUtf8(colour.data(), qsizetype(colour.size()));
        PaintBox_[row]->setAccessibleName(text(settings_, 1055).arg(rowName));
        for (int choice = 0; choice < 3; ++choice)
            Radio_[3 * row + choice]->setAccessibleName(Radio_[3 * row + choice]->text().remove(QLatin1Char('&')) +
                                                        QStringLiteral(", ") + rowName);
        Radio_[3 * row + 1]->setAccessibleDescription(text(settings_, 1059));
        Edit_[row]->setAccessibleName(text(settings_, 206) + QStringLiteral(", ") + rowName);
    }
    PB_Brett_->setAccessibleName(text(settings_, 207));
}

void TOptionenDlg::RotierenClick() {
    rotateSeats(settings_.playerSettings);
    redrawPreview();
}

void TOptionenDlg::OKBtnClick() {
    PlayerSlots& seats = settings_.playerSettings;
    completeTooFewPlayers(seats, seatCount_);
    for (int row = 0; row < SEAT_COUNT; ++row)
        seats[seatOfColour(seats, std::uint8_t(row))].setName(toWindows1252(Edit_[row]->text().left(PlayerSlot::MAX_NAME)));
    settings_.alwaysTenPegs = Immer10_->isChecked();
    done(int(ModalResult::Ok));
}

void TOptionenDlg::CancelBtnClick() {
    settings_.playerSettings = savedSlots_;
    done(int(ModalResult::Cancel));
}

void TOptionenDlg::redrawPreview() {
    // At the screen's pixel density, so that the star is as sharp as the board.
    if (preview_.devicePixelRatio() != surfaceRatio(devicePixelRatioF()))
        preview_ = makeSurface(161, 151, 1, devicePixelRatioF());
    preview_.fill(palette().color(QPalette::Window));
    if (drawPreview) drawPreview(preview_, settings_);
    PB_Brett_->update();
}

}  // namespace vexel
