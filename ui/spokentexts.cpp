#include "spokentexts.h"

#include "core/notation.h"
#include "settings/colournames.h"
#include "settings/qtexts.h"
#include "settings/windows1252.h"

#include <QStringList>

#include <algorithm>
#include <vector>

namespace vexel {

namespace {

QString hole(CellIndex cell) { return QString::fromStdString(holeName(cell)); }

QString fromText(std::string_view utf8) { return QString::fromUtf8(utf8.data(), qsizetype(utf8.size())); }

// The colour a seat's pegs are drawn in: the game's copy of the seats while a
// game runs, the players dialog's outside one.
ColourRef seatColour(const GameState& state, const Settings& settings, Seat seat) {
    const std::uint8_t colour = state.gameRunning ? state.players[seat].colour : settings.playerSettings[seat].colour;
    return settings.pegColours[colour < SEAT_COUNT ? colour : 0];
}

}  // namespace

QString seatLabel(const GameState& state, const Settings& settings, Seat seat) {
    const QString name = fromWindows1252(state.players[seat].nameBytes());
    if (!name.trimmed().isEmpty()) return name;
    return fromText(colourName(settings.language, seatColour(state, settings, seat)));
}

QString holeText(const GameState& state, const Settings& settings, CellIndex cell) {
    if (cell >= CELL_COUNT) return {};
    const Seat seat = state.occupancy[cell];
    if (seat >= SEAT_COUNT) return text(settings, 901).arg(hole(cell));
    QString peg = fromText(pegOfColour(settings.language, seatColour(state, settings, seat)));
    if (settings.pegMarks) {
        // The mark drawn on the peg, named after its colour: "grüner Stein mit Kreuz".
        const std::uint8_t colour = state.gameRunning ? state.players[seat].colour : settings.playerSettings[seat].colour;
        peg += QLatin1Char(' ') + text(settings, std::uint16_t(1210 + colour % SEAT_COUNT));
    }
    const QString owner = fromWindows1252(state.players[seat].nameBytes());
    if (!state.players[seat].plays() || owner.trimmed().isEmpty()) return text(settings, 903).arg(hole(cell), peg);
    return text(settings, 902).arg(hole(cell), peg, owner);
}

namespace {

// "who: start nach last over the landings between" for a path of holes.
QString pathText(const Settings& settings, const QString& who, std::span<const CellIndex> holes) {
    if (holes.size() < 2) return {};
    const QString from = hole(holes.front());
    const QString to = hole(holes.back());
    if (holes.size() == 2) return text(settings, 906).arg(who, from, to);
    QStringList way;
    for (std::size_t i = 1; i + 1 < holes.size(); ++i) way << hole(holes[i]);
    return text(settings, 907).arg(who, from, to, way.join(QStringLiteral(", ")));
}

}  // namespace

QString committedMoveText(const GameState& state, const Settings& settings) {
    std::vector<CellIndex> holes;
    for (int i = 0; i <= state.movePathLength; ++i) holes.push_back(state.movePath[std::size_t(i)].cell);
    return pathText(settings, seatLabel(state, settings, state.currentPlayer), holes);
}

QString hintText(std::span<const CellIndex> holes, const Settings& settings) {
    return pathText(settings, text(settings, 954), holes);
}

QString turnText(const GameState& state, const Settings& settings) {
    return text(settings, 908).arg(seatLabel(state, settings, state.currentPlayer), QString::number(state.moveNumber));
}

QString finishText(const GameState& state, const Settings& settings) {
    int place = 0;
    for (int i = 0; i < SEAT_COUNT; ++i)
        if (state.finishOrder[std::size_t(i)] == state.currentPlayer) place = i + 1;
    return text(settings, 909).arg(seatLabel(state, settings, state.currentPlayer), QString::number(place));
}

QString gameEndText(const GameState& state, const Settings& settings) {
    QStringList places;
    for (int i = 0; i < SEAT_COUNT; ++i) {
        const Seat seat = state.finishOrder[std::size_t(i)];
        if (seat >= SEAT_COUNT) break;
        places << QStringLiteral("%1. %2").arg(QString::number(i + 1), seatLabel(state, settings, seat));
    }
    const QString over = text(settings, 910);
    return places.isEmpty() ? over : over + QStringLiteral(": ") + places.join(QStringLiteral(", "));
}

QString joinedMessage(std::span<const SpokenPart> parts, const Settings& settings) {
    using Kind = SpokenPart::Kind;
    const auto moves = std::count_if(parts.begin(), parts.end(), [](const SpokenPart& p) { return p.kind == Kind::Move; });
    const SpokenPart* lastMove = nullptr;
    for (const SpokenPart& part : parts)
        if (part.kind == Kind::Move) lastMove = &part;
    QStringList sentences;
    bool summed = false;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const SpokenPart& part = parts[i];
        if (part.text.isEmpty()) continue;
        if (part.kind == Kind::Turn) {
            const bool outdated = std::any_of(parts.begin() + std::ptrdiff_t(i) + 1, parts.end(),
                                              [](const SpokenPart& p) { return p.kind != Kind::Other; });
            if (outdated) continue;
        }
        if (part.kind == Kind::Move && moves > MOVES_TOLD_ONE_BY_ONE) {
            if (summed) continue;
            summed = true;
            sentences << text(settings, 1053).arg(QString::number(moves), lastMove->text);
            continue;
        }
        sentences << part.text;
    }
    QString joined;
    for (const QString& sentence : sentences) {
        if (!joined.isEmpty()) joined += QLatin1Char(' ');
        joined += sentence;
        if (!sentence.endsWith(QLatin1Char('.'))) joined += QLatin1Char('.');
    }
    return joined;
}

}  // namespace vexel
