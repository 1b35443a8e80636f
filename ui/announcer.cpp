#include "announcer.h"

#include "core/game.h"
#include "settings/qtexts.h"
#include "ui/spokentexts.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace vexel {

namespace {

class AnnouncerAccessible : public QAccessibleWidget {
public:
    explicit AnnouncerAccessible(Announcer* announcer) : QAccessibleWidget(announcer, QAccessible::Notification) {}

    QString text(QAccessible::Text t) const override {
        const auto* announcer = static_cast<const Announcer*>(widget());
        if (t == QAccessible::Name) return announcer->message();
        if (t == QAccessible::Description) return announcer->lastMove();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* announcerFactory(const QString&, QObject* object) {
    auto* announcer = qobject_cast<Announcer*>(object);
    return announcer ? new AnnouncerAccessible(announcer) : nullptr;
}

}  // namespace

Announcer::Announcer(const Game& game, const Settings& settings, QWidget* parent)
    : QWidget(parent), game_(game), settings_(settings) {
    static const bool installed = [] {
        QAccessible::installFactory(announcerFactory);
        return true;
    }();
    Q_UNUSED(installed);
    setObjectName("Ansage");
    // Nothing to see or click: it exists for assistive technology alone.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(0, 0, 0, 0);
}

void Announcer::gameEvent(GameView::Event event) {
    if (!QAccessible::isActive()) return;
    const GameState& s = game_.state();
    const QString sentenceEnd = QStringLiteral(". ");
    switch (event) {
        case GameView::Event::GameStarted:
            lastMove_.clear();
            announce(text(settings_, 911) + sentenceEnd + turnText(s, settings_));
            break;
        case GameView::Event::MoveCommitted:
            lastMove_ = committedMoveText(s, settings_);
            announce(lastMove_);
            break;
        case GameView::Event::TurnPassed: announce(turnText(s, settings_)); break;
        case GameView::Event::SeatFinished: announce(finishText(s, settings_)); break;
        case GameView::Event::GameEnded: announce(gameEndText(s, settings_)); break;
        case GameView::Event::TakenBack:
            lastMove_.clear();
            announce(text(settings_, 912) + sentenceEnd + turnText(s, settings_));
            break;
    }
}

void Announcer::hintShown() {
    if (!QAccessible::isActive() || game_.hintHoles().empty()) return;
    announce(hintText(game_.hintHoles(), settings_));
}

void Announcer::announce(const QString& message) {
    message_ = message;
    QAccessibleEvent name(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&name);
    QAccessibleEvent description(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&description);
    // A notification that shows itself is read out by the screen reader.
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

}  // namespace vexel
