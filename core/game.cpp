// The life of a game: setting it up from the seats, handing the turn on,
// finishing a move, keeping the finishing order, and the two phases of a
// computer player's turn.
#include "game.h"

#include "board.h"
#include "speeds.h"
#include "strongsearch.h"

#include <algorithm>

namespace vexel {

Game::Game(Settings& settings, GameView& view, Random& random)
    : settings_(settings), view_(view), random_(random), computer_(state_, settings, random) {}

namespace {

// Fifteen pegs only fit when no two playing seats are neighbours: neighbouring
// seats share the corner hole of their border lines.
bool neighboursPlay(const PlayerSlots& players) {
    for (int s = 0; s < SEAT_COUNT; ++s)
        if (players[s].plays() && players[(s + 1) % SEAT_COUNT].plays()) return true;
    return false;
}

}  // namespace

void Game::newGame() {
    GameState& s = state_;
    if (s.gameRunning) return;
    const PlayerSlots& seats = settings_.playerSettings;
    const int playing = int(std::count_if(seats.begin(), seats.end(), [](const PlayerSlot& p) { return p.plays(); }));
    if (playing == 0) return;  // nobody to hand the first turn to

    history_.clear();
    historyMoveCounts_.clear();
    moves_.clear();
    hint_.clear();
    s.gameRunning = true;
    s.players = seats;
    s.rules = settings_.rules;
    s.pegsPerPlayer = (settings_.alwaysTenPegs || playing >= 4 || neighboursPlay(s.players)) ? 10 : 15;
    view_.drawBoard();

    s.movePathLength = 0;
    s.occupancy.fill(NO_PEG);
    s.producedPositions = {};
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        if (!s.players[seat].plays()) continue;
        s.finished[seat] = false;
        for (int k = 0; k < s.pegsPerPlayer; ++k) {
            const CellIndex cell = START_CELLS[seat][k];
            s.pegs[seat][k].cell = cell;
            s.occupancy[cell] = Seat(seat);
            view_.drawPlayerPeg(Seat(seat), k);
        }
    }
    s.finishOrder.fill(NO_PEG);
    s.keyboardCursorShown = false;
    s.nextVerticalLeft = false;
    s.keyboardCursor.fill(CENTRE_CELL);

    s.currentPlayer = Seat(random_.below(SEAT_COUNT));
    startingGame_ = true;
    passTurn();
    startingGame_ = false;
    s.startingPlayer = s.currentPlayer;
    s.moveNumber = 1;
    view_.showMoveNumber();
    view_.gameEvent(GameView::Event::GameStarted);
}

void Game::passTurn() {
    GameState& s = state_;
    ++turnsPassed_;
    // Find the next seat that plays and has not finished. The seat that has
    // just moved may be the only one left: then it moves again. A new round
    // begins when the turn reaches or passes the first mover's seat, so the
    // count goes on with the next seat once the first mover has finished.
    bool newRound = false;
    for (int tries = 0; tries < SEAT_COUNT; ++tries) {
        s.currentPlayer = Seat((s.currentPlayer + 1) % SEAT_COUNT);
        newRound = newRound || s.currentPlayer == s.startingPlayer;
        if (s.players[s.currentPlayer].plays() && !s.finished[s.currentPlayer]) break;
    }
    if (newRound) {
        ++s.moveNumber;
        view_.showMoveNumber();
    }
    s.movePathLength = 0;
    s.stepMade = false;
    view_.drawTurnPanel();
    view_.showPlayerName(s.players[s.currentPlayer].nameBytes());
    // A new game tells its start once its move number is set.
    if (!startingGame_) view_.gameEvent(GameView::Event::TurnPassed);
    if (s.players[s.currentPlayer].kind == PlayerKind::Computer && !seatIsRemote(s.currentPlayer)) startComputerTurn();
}

bool Game::hasFinished(Seat seat) const {
    const auto& target = START_CELLS[OPPOSITE_SEAT[seat]];
    for (int i = 0; i < state_.pegsPerPlayer; ++i)
        if (state_.occupancy[target[i]] != seat) return false;
    return true;
}

void Game::completeMove() {
    GameState& s = state_;
    if (!s.gameRunning || !s.moveInProgress) return;
    s.moveInProgress = false;
    const CellIndex h = s.movePath[s.movePathLength].cell;
    if (const Seat swapped = s.occupancy[h]; swapped < SEAT_COUNT && swapped != s.currentPlayer) {
        // A swap in the target: the home seat's peg goes to the hole the move started from.
        const CellIndex start = s.movePath[0].cell;
        for (int k = 0; k < s.pegsPerPlayer; ++k) {
            if (s.pegs[swapped][k].cell != h) continue;
            s.pegs[swapped][k].cell = start;
            s.occupancy[start] = swapped;
            view_.drawPlayerPeg(swapped, k);
            break;
        }
    }
    s.occupancy[h] = s.currentPlayer;
    s.pegs[s.currentPlayer][s.movingPeg].cell = h;

    if (!hasFinished(s.currentPlayer)) {
        passTurn();
        return;
    }

    const int playing = s.playingSeatCount();
    const auto freePlace = std::find(s.finishOrder.begin(), s.finishOrder.end(), NO_PEG);
    if (freePlace != s.finishOrder.end()) {
        const int place = int(freePlace - s.finishOrder.begin()) + 1;
        s.finished[s.currentPlayer] = true;
        *freePlace = s.currentPlayer;
        // One seat left: it takes the last place at once, unfinished.
        if (place + 1 == playing) {
            for (int seat = 0; seat < SEAT_COUNT; ++seat) {
                if (s.players[seat].plays() && !s.finished[seat]) {
                    s.finishOrder[playing - 1] = Seat(seat);
                    break;
                }
            }
        }
    }

    view_.gameEvent(GameView::Event::SeatFinished);
    view_.updateWinnerList();
    if (settings_.soundOn) view_.playSound(4);
    showingWinners_ = true;
    const ModalResult result = view_.showWinners();
    showingWinners_ = false;
    // With every place taken nobody is left to play on, whatever closed the display.
    const bool allPlaced = s.finishOrder[std::max(playing, 1) - 1] != NO_PEG;
    if (result == ModalResult::Abort || allPlaced) {
        s.movePathLength = 0;
        endGame();
    } else {
        passTurn();
    }
}

void Game::endGame() {
    GameState& s = state_;
    if (!s.gameRunning) return;
    // A committed move took its marks off already, and movePathLength then
    // counts hops: only a path still being entered has marks to remove.
    const bool pathMarked = !s.moveInProgress;
    clearHint();
    history_.clear();
    historyMoveCounts_.clear();
    ++positionsLeft_;
    s.gameRunning = false;
    s.moveInProgress = false;
    if (s.stepAnimating) {
        view_.discardMovingBackground();
        s.stepAnimating = false;
    }
    if (s.computerToMove) {
        if (s.computerPhase == 1) computer_.releaseCandidates();
        s.computerToMove = false;
    }
    if (pathMarked) unmarkPath();
    if (s.keyboardCursorShown) view_.toggleCursorMark(s.keyboardCursor[s.currentPlayer]);
    view_.gameEvent(GameView::Event::GameEnded);
}

void Game::startComputerTurn() {
    state_.computerToMove = true;
    state_.computerPhase = 0;
}

void Game::releaseCandidates() {
    computer_.releaseCandidates();
    state_.computerToMove = false;
}

void Game::computerTurnStep() {
    GameState& s = state_;
    if (!s.gameRunning || !s.computerToMove || s.moveInProgress || wantsOutsideSearch()) return;
    const std::uint8_t phase = s.computerPhase++;
    if (phase == 0) {
        if (!computer_.searchComputerMove()) {
            // No legal move: the seat cannot pass by itself, so the turn moves on.
            s.computerToMove = false;
            moves_.push_back({s.moveNumber, s.currentPlayer, {}, {}, {}});
            passTurn();
            return;
        }
        enterComputerMove();
    } else {
        releaseCandidates();
        commitMove();
    }
}

bool Game::wantsOutsideSearch() const {
    const GameState& s = state_;
    return outsideSearch_ && s.gameRunning && s.computerToMove && !s.moveInProgress && s.computerPhase == 0 &&
           s.currentPlayer < SEAT_COUNT && settings_.playerSettings[s.currentPlayer].level == STRONG_LEVEL;
}

std::uint64_t Game::searchTicket() const { return std::uint64_t(positionsLeft_) << 32 | turnsPassed_; }

void Game::enterSearchedMove(std::uint64_t ticket, std::span<const CandidateMove> ranked) {
    if (ticket != searchTicket() || !wantsOutsideSearch()) return;
    GameState& s = state_;
    s.computerPhase = 1;
    if (ranked.empty()) {
        s.computerToMove = false;
        moves_.push_back({s.moveNumber, s.currentPlayer, {}, {}, {}});
        passTurn();
        return;
    }
    computer_.adoptSearchedMoves(ranked);
    enterComputerMove();
}

void Game::enterComputerMove() {
    GameState& s = state_;
    const CandidateMove& move = computer_.chosen();
    chooseHole(s.pegs[s.currentPlayer][move.pegIndex].cell);
    const std::uint16_t delay = COMPUTER_STEP_DELAY[std::min<std::uint8_t>(settings_.computerSpeed, SPEED_COUNT - 1)];
    // Should a pause ever let a take back or the end of the game in, the rest
    // of this move belongs to a position that is gone.
    const std::uint32_t positionsLeft = positionsLeft_;
    for (int i = 0; i <= move.lastLanding; ++i) {
        const std::uint32_t due = view_.tickCount() + delay;
        chooseHole(move.landings[i]);
        view_.waitUntil(due);
        if (positionsLeft_ != positionsLeft) return;
    }
}

}  // namespace vexel
