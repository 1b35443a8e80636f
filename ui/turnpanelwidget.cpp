#include "turnpanelwidget.h"

#include "core/gamestate.h"
#include "core/settings.h"
#include "paint/drawprims.h"
#include "ui/layout.h"
#include "ui/turnpanel.h"

#include <QLabel>
#include <QPainter>

namespace vexel {

class TurnPanelWidget::StarBox : public QWidget {
public:
    StarBox(const QImage& image, QWidget* parent) : QWidget(parent), image_(image) { setObjectName("DranPaint"); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawImage(0, 0, image_);
    }

private:
    const QImage& image_;
};

TurnPanelWidget::TurnPanelWidget(const GameState& state, const Settings& settings, QWidget* parent)
    : QFrame(parent), state_(state), settings_(settings) {
    setObjectName("DranPanel");
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(192, 192, 192));
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
    // The panel only shows; clicks on it do nothing.
    setAttribute(Qt::WA_TransparentForMouseEvents);

    starBox_ = new StarBox(star_, this);
    name_ = new QLabel(this);
    name_->setObjectName("Drantext");
    // Both labels draw their text from the top of their box: the box tops are
    // chosen so that the text, not the box, stands where it belongs.
    name_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    name_->setTextFormat(Qt::PlainText);
    rule1_ = new QFrame(this);
    rule2_ = new QFrame(this);
    rule1_->setObjectName("Panel_hr1");
    rule2_->setObjectName("Panel_hr2");
    for (QFrame* rule : {rule1_, rule2_}) rule->setFrameStyle(QFrame::HLine | QFrame::Raised);
    moveNumber_ = new QLabel(this);
    moveNumber_->setObjectName("zugnrtext");
    moveNumber_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    moveNumber_->setTextFormat(Qt::PlainText);
    moveNumber_->setText("Zug Nr.");
}

void TurnPanelWidget::applySizeUnit(int u) {
    u_ = u;
    setGeometry(198 * u, 8 * u, 54 * u, 160 * u);
    starBox_->setGeometry(12 * u, 6 * u, 30 * u, 28 * u);
    // Drawn at the screen's pixel density, shown at its logical size.
    star_ = makeSurface(TURN_PANEL_WIDTH_UNITS, TURN_PANEL_HEIGHT_UNITS, u, devicePixelRatioF());
    star_.fill(QColor(192, 192, 192));

    QFont font("DejaVu Sans");
    font.setPointSize(panelFontPoints(u));
    name_->setFont(font);
    moveNumber_->setFont(font);
    name_->setGeometry(u, 32 * u, 50 * u, 14 * u);
    rule1_->setGeometry(2 * u, 50 * u, 49 * u, 2);
    rule2_->setGeometry(2 * u, 76 * u, 49 * u, 2);
    const int top = 50 * u + (76 * u - 50 * u - panelFontPoints(u)) / 2;
    moveNumber_->setGeometry(4 * u, top, 40 * u, 14 * u);
    moveNumber_->setVisible(u > 1);
    drawTurnPanel();
}

void TurnPanelWidget::drawTurnPanel() {
    if (star_.isNull()) return;
    star_.fill(QColor(192, 192, 192));
    vexel::drawTurnPanel(star_, u_, state_, settings_);
    starBox_->update();
}

// The panel reads to assistive technology as the seat to move and the move
// number, also at the smallest size where the number's label is hidden.
void TurnPanelWidget::showPlayerName(const QString& name) {
    name_->setText(name);
    setAccessibleName(name);
}

void TurnPanelWidget::showMoveNumberText(const QString& text) {
    moveNumber_->setText(text);
    setAccessibleDescription(text);
}

}  // namespace vexel
