// The state of a running game: one plain record. The move rules, the game flow,
// the computer player, the animation and the keyboard each change the fields
// they own; the window draws from it.
//
// Invariants while a game runs and no move is carried out: every peg of a
// playing seat stands on a hole whose occupancy names that seat; exactly
// pegsPerPlayer x (playing seats) holes are occupied; players does not change.
// While a move is carried out, the moving peg's start hole is already empty and
// its record still names it until the last hop is shown.
#pragma once

#include "settings.h"
#include "types.h"

#include <vector>

namespace vexel {

struct PegRecord {
    CellIndex cell = NO_PEG;
    // Saved square of the board under the drawn peg, owned by the window's
    // drawing code; the core only carries the handle and whether it is valid.
    std::uint32_t background = 0;
    bool hasBackground = false;
};

struct PathEntry {
    Direction direction = UpRight;  // meaningless for entry 0
    CellIndex cell = NO_PEG;
};

inline constexpr int MAX_PATH = 60;

// The board positions each computer seat has brought about with its own moves
// in this game, one 64-bit key per position (computer.cpp makes the keys),
// sorted per seat. The computer player reads it to keep out of loops; it lives
// in the game state so that a new game starts it afresh and a position taken
// back takes it back as well.
struct ProducedPositions {
    std::array<std::vector<std::uint64_t>, SEAT_COUNT> keys;

    bool contains(Seat seat, std::uint64_t key) const;
    void insert(Seat seat, std::uint64_t key);  // nothing when already there
};

struct GameState;
// The key of the board position by which ProducedPositions knows it, read
// from the pegs of the seats that play (computer.cpp).
std::uint64_t positionKey(const GameState& state);

struct GameState {
    bool gameRunning = false;
    std::uint16_t moveNumber = 0;
    Seat startingPlayer = 0;
    PlayerSlots players{};
    std::array<CellIndex, CELL_COUNT> occupancy{};  // seat on each hole, or NO_PEG
    std::array<std::array<PegRecord, MAX_PEGS>, SEAT_COUNT> pegs{};
    std::uint8_t pegsPerPlayer = 10;
    Seat currentPlayer = 0;
    std::array<bool, SEAT_COUNT> finished{};
    // The rules this game is played by: fixed when it starts (from the
    // settings, or from the record it goes on with), whatever the settings
    // say later.
    HouseRules rules;
    std::array<Seat, SEAT_COUNT> finishOrder{};  // NO_PEG for a free place

    // The move being entered or carried out. Entry 0 is the start hole.
    std::array<PathEntry, MAX_PATH> movePath{};
    std::uint8_t movePathLength = 0;  // entries while entering, steps once committed
    bool stepMade = false;            // the path is one single step
    std::uint8_t movingPeg = 0;

    // Carrying out a committed move, hop by hop.
    bool moveInProgress = false;
    std::uint8_t animStep = 0;  // 1-based hop being shown
    bool stepAnimating = false;
    std::uint32_t nextFrameTime = 0;

    bool computerToMove = false;
    std::uint8_t computerPhase = 0;
    ProducedPositions producedPositions;

    std::array<CellIndex, SEAT_COUNT> keyboardCursor{};
    bool keyboardCursorShown = false;
    bool nextVerticalLeft = false;

    GameState() {
        occupancy.fill(NO_PEG);
        finishOrder.fill(NO_PEG);
        keyboardCursor.fill(CENTRE_CELL);
    }

    int playingSeatCount() const;
    // The path ends on another seat's peg, which the move will swap out.
    bool pathEndsInSwap() const { return movePathLength > 1 && occupancy[pathEnd()] != NO_PEG; }
    // The hole of the last path entry.
    CellIndex pathEnd() const { return movePath[movePathLength == 0 ? 0 : movePathLength - 1].cell; }
};

// Checks the invariants above for a game at rest (no move carried out).
// Returns the number of violations found; `expectedPlayers` is the game's
// copy of the seats as it was when the game started.
int countInvariantViolations(const GameState& state, const PlayerSlots& expectedPlayers);

}  // namespace vexel
