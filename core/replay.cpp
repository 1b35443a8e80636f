#include "replay.h"

#include "notation.h"
#include "strongsearch.h"

#include <algorithm>

namespace vexel {

RecordReplay::RecordReplay() : game_(settings_, view_, random_) {
    settings_.computerSpeed = 0;
    settings_.humanSpeed = 0;
    settings_.soundOn = false;
}

PlayerSlots playerSlotsOf(const GameRecord& record) {
    PlayerSlots slots{};
    for (int s = 0; s < SEAT_COUNT; ++s) {
        const RecordSeat& seat = record.seats[s];
        slots[s] = makePlayerSlot(seat.kind, seat.level, seat.colour, windows1252FromUtf8(seat.name));
    }
    return slots;
}

bool RecordReplay::fail(RecordError& error, TextPlace place, RecordProblem problem, std::vector<std::string> details) {
    error = {place, problem, std::move(details)};
    return false;
}

bool RecordReplay::play(const GameRecord& record, RecordError& error) {
    settings_.playerSettings = playerSlotsOf(record);
    settings_.alwaysTenPegs = record.pegs == 10;
    settings_.rules = record.rules;
    GameState& s = game_.state();
    game_.newGame();
    if (!s.gameRunning) return fail(error, {1, 1}, RecordProblem::NoSeatPlays);
    if (s.pegsPerPlayer != record.pegs) return fail(error, record.pegsPlace, RecordProblem::PegsDoNotFit);
    // The first mover was drawn when the game began; the record tells it.
    s.currentPlayer = record.firstMover;
    s.startingPlayer = record.firstMover;
    s.moveNumber = 1;
    s.movePathLength = 0;
    s.computerToMove = s.players[s.currentPlayer].kind == PlayerKind::Computer;
    s.computerPhase = 0;
    legacyNumber_ = 1;
    firstMove_ = true;
    oldNumbering_ = record.format == 1;

    for (std::size_t i = 0; i < record.moves.size(); ++i)
        if (!playMove(record.moves[i], i + 1 == record.moves.size(), record.ended, error)) return false;
    if (record.ended && s.gameRunning) game_.endGame();
    return true;
}

bool RecordReplay::checkOutcome(const GameRecord& record, RecordError& error) {
    const GameState& s = game_.state();
    std::vector<Seat> placed;
    for (Seat seat : s.finishOrder)
        if (seat != NO_PEG) placed.push_back(seat);
    if (placed != record.finishOrder) {
        std::string order;
        for (Seat seat : placed) order += " " + std::to_string(seat + 1);
        const TextPlace at = record.finishPlace.line ? record.finishPlace
                             : record.moves.empty() ? TextPlace{1, 1} : record.moves.back().place;
        return fail(error, at, RecordProblem::FinishMismatch, {order.empty() ? "-" : order.substr(1)});
    }
    if (record.position && *record.position != positionKey(s))
        return fail(error, record.positionPlace, RecordProblem::PositionMismatch);
    return true;
}

bool RecordReplay::playMove(const RecordMove& m, bool last, bool ended, RecordError& error) {
    GameState& s = game_.state();
    const std::string who = std::to_string(m.seat + 1);
    if (!s.gameRunning) return fail(error, m.place, RecordProblem::GameOver);
    if (m.seat != s.currentPlayer)
        return fail(error, m.place, RecordProblem::NotToMove, {who, std::to_string(s.currentPlayer + 1)});
    // Format 1 counted a round only when the first mover's turn came again,
    // so the number stood still once it had finished; those records still read.
    if (m.seat == s.startingPlayer && !firstMove_) ++legacyNumber_;
    firstMove_ = false;
    if (m.number != s.moveNumber && !(oldNumbering_ && m.number == legacyNumber_))
        return fail(error, {m.place.line, 1}, RecordProblem::WrongNumber,
                    {std::to_string(m.number), std::to_string(s.moveNumber)});
    const bool computer = s.players[m.seat].kind == PlayerKind::Computer;

    if (m.holes.empty()) {
        // Only a computer seat passes, and only when it has no legal move.
        if (!computer) return fail(error, m.place, RecordProblem::HumanPass, {who});
        if (trustPasses_ && settings_.playerSettings[m.seat].level == STRONG_LEVEL) {
            game_.setOutsideSearch(true);
            game_.enterSearchedMove(game_.searchTicket(), {});
            game_.setOutsideSearch(false);
            return true;
        }
        game_.computerTurnStep();
        if (s.computerToMove && s.computerPhase == 1 && s.currentPlayer == m.seat)
            return fail(error, m.place, RecordProblem::PassWithMove, {who});
        return true;
    }

    const auto at = [&](std::size_t i) { return TextPlace{m.place.line, i < m.holeColumns.size() ? m.holeColumns[i] : 1}; };
    if (s.occupancy[m.holes[0]] != m.seat)
        return fail(error, at(0), RecordProblem::NoPeg, {who, holeName(m.holes[0])});
    game_.chooseHole(m.holes[0]);
    for (std::size_t i = 1; i < m.holes.size(); ++i) {
        const int before = s.movePathLength;
        game_.chooseHole(m.holes[i]);
        if (s.movePathLength != before + 1 || s.pathEnd() != m.holes[i])
            return fail(error, at(i), RecordProblem::Impossible, {holeName(m.holes[i - 1]), holeName(m.holes[i])});
    }
    // A computer's turn commits what it entered once its search is released.
    s.computerToMove = false;
    s.computerPhase = 0;
    view_.answerWinners = [last, ended] { return last && ended ? ModalResult::Abort : ModalResult::Ok; };
    game_.commitMove();
    game_.completeMove();
    // The computer seat remembers the position it brought about.
    if (computer) s.producedPositions.insert(m.seat, positionKey(s));
    return true;
}

GameRecord recordOf(const Game& game, const Settings& live, std::string date) {
    const GameState& s = game.state();
    GameRecord r;
    r.date = std::move(date);
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        const PlayerSlot& p = s.players[seat];
        r.seats[seat] = {p.kind, live.playerSettings[seat].level, p.colour, utf8FromWindows1252(p.nameBytes())};
    }
    r.pegs = s.pegsPerPlayer;
    r.rules = s.rules;
    r.firstMover = s.startingPlayer;
    r.ended = !s.gameRunning;
    r.aborted = r.ended;  // until the finishing order says otherwise
    r.moves = game.playedMoves();
    // The finishing order and the final position: the game's own when its
    // last move is done. A move still on its way (or stopped on its way by
    // the end of the game) may yet finish a seat: then the replay's.
    const RecordMove* last = r.moves.empty() ? nullptr : &r.moves.back();
    const bool atRest = !s.moveInProgress && (!last || last->holes.empty() || s.occupancy[last->holes.back()] == last->seat);
    RecordReplay replay;
    replay.trustPasses();
    RecordError ignored;
    const bool replayed = !atRest && replay.play(r, ignored);
    if (!atRest && !replayed) return r;  // no check values rather than wrong ones
    const GameState& end = replayed ? replay.game().state() : s;
    for (Seat seat : end.finishOrder)
        if (seat != NO_PEG) r.finishOrder.push_back(seat);
    r.aborted = r.ended && int(r.finishOrder.size()) < r.playingSeats();
    r.position = positionKey(end);
    return r;
}

}  // namespace vexel

namespace vexel {

void Game::adoptGame(const Game& other) {
    GameState& s = state_;
    // Stop cleanly, as a take back does: no mark stays, no hop goes on, no
    // computer turn comes back to commit what it had entered.
    clearHint();
    if (s.gameRunning && !s.moveInProgress) unmarkPath();
    if (s.gameRunning && s.keyboardCursorShown) view_.toggleCursorMark(s.keyboardCursor[s.currentPlayer]);
    if (s.stepAnimating) view_.discardMovingBackground();
    computer_.releaseCandidates();

    GameState adopted = other.state_;
    // The saved squares under the pegs belong to this screen.
    for (int seat = 0; seat < SEAT_COUNT; ++seat)
        for (int k = 0; k < MAX_PEGS; ++k) {
            adopted.pegs[seat][k].background = s.pegs[seat][k].background;
            adopted.pegs[seat][k].hasBackground = s.pegs[seat][k].hasBackground;
        }
    adopted.keyboardCursorShown = false;
    s = adopted;
    history_ = other.history_;
    historyMoveCounts_ = other.historyMoveCounts_;
    moves_ = other.moves_;
    showingWinners_ = false;
    ++positionsLeft_;

    view_.updateWinnerList();
    view_.showMoveNumber();
    view_.drawTurnPanel();
    view_.showPlayerName(s.players[s.currentPlayer].nameBytes());
}

void RecordReplay::adoptSeats(Settings& live) const {
    for (int s = 0; s < SEAT_COUNT; ++s) {
        const PlayerSlot& seat = settings_.playerSettings[s];
        PlayerSlot& slot = live.playerSettings[s];
        slot.kind = seat.kind;
        slot.level = seat.level;
        slot.colour = seat.colour;
        slot.setName(seat.nameBytes());
    }
}

}  // namespace vexel
