// How the computer player judges a position: a fixed value per hole and seat,
// rising from the seat's home point to its target, and the rules by which the
// three levels refine that judgement.
//
// Every judgement is made for state.currentPlayer and reads only where that
// seat's pegs stand; the position value reads `pegs`, the phase tests read
// `occupancy`.
#pragma once

#include "gamestate.h"

namespace vexel {

using SeatValueRow = std::array<std::int32_t, CELL_COUNT>;

// SEAT_VALUES[seat][cell]. Seat k's row is seat 0's row turned k sixths clockwise.
extern const std::array<SeatValueRow, SEAT_COUNT> SEAT_VALUES;

// The nearest integer; an exact half goes to the even neighbour.
std::int32_t nearest(double x);

// Position value of the seat to move: the sum of its row over its pegs' holes.
std::int32_t positionValue(const GameState& state);
// The position value with every peg on the target: 29600 for 15 pegs, 20100 for 10.
std::int32_t perfectTotal(int pegsPerPlayer);

// Phase of the game for the seat to move.
int pegsOnTarget(const GameState& state);
int pegsAtHome(const GameState& state);
bool isEndPhase(const GameState& state);
bool isOpening(const GameState& state, int takingPartCount);

// The next seat's best jump gain when it has no jump at all.
inline constexpr std::int32_t NO_REPLY = -32768;
// A candidate's value, less the value before the move, less the share of the
// next seat's reply gain. With one seat or none taking part nobody replies.
std::int32_t replyScore(std::int32_t value, std::int32_t valueBefore, std::int32_t replyGain, int takingPartCount);
// What the own look-ahead adds to a candidate's score, at depth 1 and depth 2.
std::int32_t lookAheadBonus1(std::int32_t followGain1, int takingPartCount);
std::int32_t lookAheadBonus2(std::int32_t followGain1, std::int32_t followGain2);

// The scoring passes a level applies in a phase of the game.
enum class Scoring {
    Plain,               // score = value
    Reply,               // reply scoring
    ReplyAndLookAhead1,  // reply scoring, then own look-ahead one move deep
    LookAhead2,          // plain scoring, then own look-ahead two moves deep
};
// Levels above the weakest are read as the weakest.
Scoring levelRule(int level, bool endPhase, bool opening);

}  // namespace vexel
