#include "announcer.h"

#include "core/game.h"
#include "settings/qtexts.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include <algorithm>

namespace vexel {

namespace {

class AnnouncerAccessible : public QAccessibleWidget {
public:
    explicit AnnouncerAccessible(Announcer* announcer) : QAccessibleWidget(announcer, QAccessible::Notification) {}

    QString text(QAccessible::Text t) const override {
        const auto* announcer = static_cast<const Announcer*>(widget());
        if (t == QAccessible::Name) return announcer->message();
        if (t == QAccessible::Description) return announcer->lastMoves();
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
    deliveryTimer_.setSingleShot(true);
    connect(&deliveryTimer_, &QTimer::timeout, this, [this] { deliver(); });
}

void Announcer::gameEvent(GameView::Event event) {
    if (!QAccessible::isActive()) return;
    const GameState& s = game_.state();
    using Kind = SpokenPart::Kind;
    switch (event) {
        case GameView::Event::GameStarted:
            moves_.clear();
            add(Kind::Other, text(settings_, 911));
            add(Kind::Turn, turnText(s, settings_));
            break;
        case GameView::Event::MoveCommitted: add(Kind::Move, committedMoveText(s, settings_)); break;
        case GameView::Event::TurnPassed: add(Kind::Turn, turnText(s, settings_)); break;
        case GameView::Event::SeatFinished: add(Kind::Other, finishText(s, settings_)); break;
        case GameView::Event::GameEnded: add(Kind::Other, gameEndText(s, settings_)); break;
        case GameView::Event::TakenBack:
            add(Kind::Other, text(settings_, 912));
            add(Kind::Turn, turnText(s, settings_));
            break;
    }
}

void Announcer::hintShown() {
    if (!QAccessible::isActive() || game_.hintHoles().empty()) return;
    add(SpokenPart::Kind::Other, hintText(game_.hintHoles(), settings_));
}

void Announcer::refused(const QString& why) {
    if (!QAccessible::isActive()) return;
    add(SpokenPart::Kind::Other, why);
}

QString Announcer::lastMoves() const {
    return moves_.isEmpty() ? QString() : text(settings_, 1054).arg(moves_.join(QStringLiteral(". ")));
}

void Announcer::add(SpokenPart::Kind kind, const QString& text) {
    if (text.isEmpty()) return;
    pending_.push_back({kind, text});
    if (deliveryTimer_.isActive()) return;
    // After a quiet while the first part waits only for the rest of its
    // moment; otherwise the message standing keeps its time.
    const qint64 left = sinceLast_.isValid() ? gap_ - sinceLast_.elapsed() : 0;
    deliveryTimer_.start(int(std::clamp<qint64>(left, JOIN_MS, LONGEST_GAP_MS)));
}

int Announcer::gapAfter(const QString& message) {
    return int(std::clamp<qsizetype>(message.size() * MS_PER_CHARACTER, MESSAGE_GAP_MS, LONGEST_GAP_MS));
}

void Announcer::deliver() {
    if (pending_.empty()) return;
    const QString message = joinedMessage(pending_, settings_);
    bool movesChanged = false;
    for (const SpokenPart& part : pending_) {
        if (part.kind != SpokenPart::Kind::Move) continue;
        moves_ << part.text;
        movesChanged = true;
    }
    while (moves_.size() > MOVES_KEPT) moves_.removeFirst();
    pending_.clear();
    if (message.isEmpty()) return;
    message_ = message;
    ++sent_;
    sinceLast_.start();
    gap_ = gapAfter(message);
    QAccessibleEvent name(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&name);
    if (movesChanged) {
        QAccessibleEvent description(this, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&description);
    }
    // A notification that shows itself is read out by the screen reader.
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

}  // namespace vexel
