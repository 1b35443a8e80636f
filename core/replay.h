// Replaying a game record through the game's own move entry: each move is
// chosen hole by hole and committed as a click would, so a move the rules
// refuse is refused here by the same code. The replay rebuilds everything a
// game keeps besides its position: the take-back history (each human move
// keeps the position before it), what the computer seats remember of the
// positions they brought about, the move number and the finishing order.
#pragma once

#include "game.h"
#include "headlessview.h"
#include "record.h"

#include <string>

namespace vexel {

class RecordReplay {
public:
    RecordReplay();
    RecordReplay(const RecordReplay&) = delete;
    RecordReplay& operator=(const RecordReplay&) = delete;

    // Plays `record` from its first move to its last. False tells the first
    // move (or tag) that does not fit, with its place in the text.
    bool run(const GameRecord& record, RecordError& error) { return play(record, error) && checkOutcome(record, error); }
    // The two halves: the moves, then the finishing order and the final
    // position against the record's tags.
    bool play(const GameRecord& record, RecordError& error);
    // For the game's own moves (recordOf): a pass of the strongest level is
    // taken as it stands rather than searched again, which takes long.
    void trustPasses() { trustPasses_ = true; }
    bool checkOutcome(const GameRecord& record, RecordError& error);

    // The game as the record leaves it, and the settings it was played with:
    // the record's seats with their levels.
    const Game& game() const { return game_; }
    const Settings& settings() const { return settings_; }
    // The record's seats become `live`'s seats from now on: kind, level,
    // colour and name (the bytes behind each name stay as they were), so that
    // the computer plays the record's levels and a new game keeps the table.
    void adoptSeats(Settings& live) const;

private:
    bool fail(RecordError& error, TextPlace place, RecordProblem problem, std::vector<std::string> details = {});
    bool playMove(const RecordMove& move, bool last, bool ended, RecordError& error);

    Settings settings_;
    HeadlessView view_;
    Random random_;
    Game game_;
    bool trustPasses_ = false;
    std::uint16_t legacyNumber_ = 1;  // the number Format 1 gave the move being played
    bool oldNumbering_ = false;
    bool firstMove_ = true;
};

// The record of `game` as it stands: its seats (with the levels the computer
// plays now, from `live`), its moves, whether it is over, and its finishing
// order and final position as the replay of its moves gives them, a move being
// carried out counted as done. `date` goes into the record as it is.
GameRecord recordOf(const Game& game, const Settings& live, std::string date);

// The seats of a record as the game keeps them (names in Windows-1252).
PlayerSlots playerSlotsOf(const GameRecord& record);

}  // namespace vexel
