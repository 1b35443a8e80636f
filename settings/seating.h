// Seating of the players dialog, apart from its widgets: which seat a colour
// row edits, and how the seat records move round the board when a seat joins
// or leaves, so that the players stay spread over the star. Qt-free.
//
// From all six seats playing, changing one row at a time only ever reaches:
// one player anywhere (on seat 0 when joining an empty table), two on
// opposite seats, three on every second seat, four with the two free seats
// opposite each other, or five anywhere. A seat record keeps its colour, name
// and level wherever it moves.
#pragma once

#include <cstdint>

#include "core/types.h"

namespace vexel {

// The lowest seat whose colour is `colour`; seat 0 if none has it.
Seat seatOfColour(const PlayerSlots& seats, std::uint8_t colour);

// Exchanges the whole records of two seats.
void swapSeats(PlayerSlots& seats, Seat a, Seat b);

// Every record moves one seat on, seat 5 to seat 0.
void rotateSeats(PlayerSlots& seats);

int countPlayingSeats(const PlayerSlots& seats);

// Gives the seat of colour row `row` the kind `kind`. When that changes the
// number of seats taking part (`seatCount` before), the records are moved
// round the board first (a joining seat) or afterwards (a leaving seat).
// Returns the new number of seats taking part.
int changeRowKind(PlayerSlots& seats, int seatCount, std::uint8_t row, PlayerKind kind);

// A game needs two players: with nobody taking part, seats 0 and 3 play; with
// one, the seat opposite it plays. Both as humans.
void completeTooFewPlayers(PlayerSlots& seats, int seatCount);

}  // namespace vexel
