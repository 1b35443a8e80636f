// The inside of the strongest computer level (internal to core/): a compact
// board it makes and unmakes moves on, the move lists, and the evaluation.
//
// A peg's progress is measured in steps: the number of single steps from its
// hole to the tip of the seat's target point, over an empty board. Inside the
// target this is the distance along the seat's own axis; outside it also
// counts the way back in from the sides. A seat whose pegs all stand on its
// target holes has the smallest sum there is (20 with 10 pegs, 40 with 15),
// and no other placing has that sum, so "finished" is a comparison of sums.
#pragma once

#include "computer.h"

#include <array>
#include <cstdint>
#include <vector>

namespace vexel::strong {

// Steps from each hole to the tip of each seat's target point.
using DistanceRow = std::array<std::uint8_t, CELL_COUNT>;
const std::array<DistanceRow, SEAT_COUNT>& targetDistances();

// The distance sum of a seat with every one of `pegs` pegs on its target.
int finishedDistanceSum(int pegs);

// One move as the search sees it: a peg and its final hole. How a jump chain
// gets there does not matter inside the search; only the moves at the root
// carry their landings (rootMoves).
struct Move {
    CellIndex from = NO_PEG;
    CellIndex to = NO_PEG;
    std::uint8_t peg = 0;
    Seat seat = 0;
    std::int32_t order = 0;  // ordering key, higher first
};

struct Board {
    std::array<CellIndex, CELL_COUNT> occupancy{};  // seat on each hole, or NO_PEG
    std::array<std::array<CellIndex, MAX_PEGS>, SEAT_COUNT> pegs{};
    std::array<int, SEAT_COUNT> distanceSum{};
    int pegCount = 10;
    int finishedSum = 20;
    std::uint64_t key = 0;  // Zobrist key of the pegs
    const std::array<DistanceRow, SEAT_COUNT>* distances = &targetDistances();
    HouseRules rules;  // the game's: which moves there are

    void load(const GameState& state);
    // A move onto another seat's peg (only by the swap rule) sends that peg to m.from.
    void make(const Move& m);
    void unmake(const Move& m);
    bool finished(Seat seat) const { return distanceSum[seat] == finishedSum; }

private:
    // The peg of `seat` on `at` goes to `to` (a swap); `at` is left as it is.
    void moveSwapped(Seat seat, CellIndex at, CellIndex to);
};

// The holes one peg's jump chains reach, breadth first, each once, with the
// hole each was first reached from, which gives a shortest chain to it.
struct ChainWalk {
    std::array<CellIndex, CELL_COUNT> queue{};
    std::array<CellIndex, CELL_COUNT> parent{};
    std::array<bool, CELL_COUNT> seen{};
    int count = 0;

    void walk(const std::array<CellIndex, CELL_COUNT>& occupancy, CellIndex start);
};

// Appends every move of `seat` to `out`: all steps, and per peg each hole its
// jump chains can reach, once. The moving peg stays on its hole while its
// chains are walked, as when a move is entered hole by hole.
void appendMoves(const Board& board, Seat seat, std::vector<Move>& out, ChainWalk& chains);

// Every legal move of `seat` with the shortest chain of landings to each
// final hole, in the order appendMoves lists them.
void rootMoves(const Board& board, Seat seat, std::vector<CandidateMove>& out);

// appendMoves and rootMoves for a game with house rules (strongrules.cpp):
// long jumps over a peg with equal empty stretches, and swaps in the target,
// which only end a move.
void appendRuleMoves(const Board& board, Seat seat, std::vector<Move>& out, ChainWalk& chains);
void rootRuleMoves(const Board& board, Seat seat, std::vector<CandidateMove>& out);

// Score of the position for `root` against the seats in `opponents`: the
// leading opponent's distance still to go minus the root's, both with their
// penalties for pegs left behind. Higher is better for the root.
int evaluate(const Board& board, Seat root, const std::vector<Seat>& opponents);

// The fewest own moves that bring all of `seat`'s pegs onto its target while
// every other seat's pegs stand still, or -1 when that takes more than
// `maxMoves` (at most SHORTEST_FINISH_MAX_MOVES), when it cannot be done, or
// when no finish is found within about `nodeLimit` positions; a shorter
// finish than the one first found is looked for within as many again, so the
// answer is exact where that search completes. With `firstMoves`, appends each
// move that starts a finish of that length. The board is left as it was found.
inline constexpr int SHORTEST_FINISH_MAX_MOVES = 16;
int shortestFinish(Board& board, Seat seat, int maxMoves, std::uint64_t nodeLimit, std::vector<Move>* firstMoves = nullptr);

// What is left for one seat to go, penalties included, in evaluation units,
// with `opponents` seats racing the root.
int remainingCost(const Board& board, Seat seat, int opponents);

}  // namespace vexel::strong
