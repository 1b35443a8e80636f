// What a screen reader says about the game, made from the game state when
// asked and in the language of the live settings: a hole with what stands on
// it, a committed move, whose turn it is, a finish and the end of a game.
#pragma once

#include "core/gamestate.h"
#include "core/settings.h"

#include <QString>

#include <span>
#include <vector>

namespace vexel {

// "E5, leer" / "E5, empty"; "E5, grüner Stein von Anna" / "E5, green peg of
// Anna"; with marks on the pegs "E5, green peg with a cross of Anna". Outside a game the pegs are named by the colours they are drawn in
// (the players dialog's), and by their owner only when the last game had one.
QString holeText(const GameState& state, const Settings& settings, CellIndex cell);

// How a seat is called: its name, or its peg colour when it has none.
QString seatLabel(const GameState& state, const Settings& settings, Seat seat);

// The move just committed by the seat to move: "Mimsel: C3 nach G5 über E5"
// (start, last landing, then the landings on the way).
QString committedMoveText(const GameState& state, const Settings& settings);
// The hint's move (its peg's hole, then each landing): "Tipp: E7 nach F7".
QString hintText(std::span<const CellIndex> holes, const Settings& settings);
// "Anna ist am Zug, Zug 12".
QString turnText(const GameState& state, const Settings& settings);
// "Anna ist im Ziel, Platz 1" for the seat to move, just finished.
QString finishText(const GameState& state, const Settings& settings);
// "Spielende: 1. Anna, 2. Mimsel", or "Spielende" when nobody had finished.
QString gameEndText(const GameState& state, const Settings& settings);

// One thing to tell, as the game produced it. Turns are told only while no
// later move or turn makes them old; moves can be summed up.
struct SpokenPart {
    enum class Kind : std::uint8_t { Move, Turn, Other };
    Kind kind;
    QString text;
};

// How many moves one message tells one by one; beyond it they are summed up.
inline constexpr int MOVES_TOLD_ONE_BY_ONE = 3;

// The parts gathered since the last message, joined into one: a turn that a
// later move or turn followed is left out, more than MOVES_TOLD_ONE_BY_ONE
// moves become "7 Züge, zuletzt Mimsel: P2 nach L7" where the first of them
// stood, and every part ends with a full stop: "Anna: E7 nach F7. Mimsel: P2
// nach L7 über N2. Anna ist am Zug, Zug 2."
QString joinedMessage(std::span<const SpokenPart> parts, const Settings& settings);

}  // namespace vexel
