// The inside of the computer player's search (internal to core/). One Search
// object lives as long as its ComputerPlayer and keeps its scratch tables from
// turn to turn; nothing is allocated during a search once the tables have grown.
//
// Trial moves are made on a private copy of the board (occupancy and the pegs
// of the seat to move), so the game state is only ever read.
//
// Speed without changing a result:
//  - position values are updated by the difference of two table entries;
//  - the reply estimate and the look-ahead need, per peg, only the set of holes
//    its jump chains can reach and the order in which they are first reached,
//    so they walk each hole once instead of every chain to it;
//  - two own moves deep only the best total counts, so that part is bounded
//    and reuses what one move deep already found for pegs the first move
//    cannot have touched.
// The generation of the candidates is exact to the chain, because which chain
// a candidate keeps, and how often a move is listed, depend on chain lengths.
#pragma once

#include "computer.h"
#include "evaluation.h"

#include <array>
#include <cstdint>
#include <vector>

namespace vexel {

// A set of holes, one bit per hole.
struct HoleSet {
    std::array<std::uint64_t, 2> bits{};
    void add(CellIndex c) { bits[c >> 6] |= std::uint64_t(1) << (c & 63); }
    bool has(CellIndex c) const { return (bits[c >> 6] >> (c & 63)) & 1; }
    HoleSet& operator|=(const HoleSet& o) {
        bits[0] |= o.bits[0];
        bits[1] |= o.bits[1];
        return *this;
    }
};

// Marks that are never cleared one by one: each round of marking has its own
// number, and a mark counts only while it carries the current one. Should the
// number ever wrap, every mark is cleared once.
template <std::size_t N>
class RoundMarks {
public:
    void nextRound() {
        if (++round_ == 0) {
            marks_.fill(0);
            round_ = 1;
        }
    }
    bool has(std::size_t i) const { return marks_[i] == round_; }
    void set(std::size_t i) { marks_[i] = round_; }

private:
    std::array<std::uint32_t, N> marks_{};
    std::uint32_t round_ = 1;
};

// Holes one or two steps from a hole in a straight line: every hole whose
// occupancy a step or a jump from it looks at.
extern const std::array<HoleSet, CELL_COUNT> JUMP_REACH;

class ComputerPlayer::Search {
public:
    // One whole search for state.currentPlayer: fills `ranked` with pointers
    // into `pool` in ranking order and returns the chosen index, or -1 (and an
    // empty list) when the seat has no legal move.
    int run(const GameState& state, const Settings& settings, Random& random, std::vector<CandidateMove>& pool,
            std::vector<CandidateMove*>& ranked);

    // The pass by which the candidates are ranked for the level and phase of the seat to move.
    void scoreCandidates(const GameState& state, const Settings& settings);

private:
    static constexpr std::int32_t NO_GAIN = -1'000'000;  // a peg without any move
    static constexpr int LOOK_AHEAD_WIDTH = 16;          // candidates examined at most

    bool prepare(const GameState& state, const Settings& settings);

    // Generation (search.cpp): steps first, then the jump chains of each peg.
    CandidateMove& newCandidate(int peg, std::int32_t value);
    void generateSteps();
    void generateJumps();
    void walkChains(int peg, CellIndex from, std::int32_t startValue);

    // Reply scoring (searchreply.cpp).
    void scoreReplies(const GameState& state, const Settings& settings);
    std::int32_t replyGain(const GameState& state, Seat next);
    void fillGroup(CellIndex from, const SeatValueRow& row);

    // Own look-ahead (searchlookahead.cpp).
    struct FirstMove {
        std::uint8_t peg;
        CellIndex from, to;
        std::int32_t value;
    };
    void lookAhead(int depth);
    void examine(CandidateMove& c, int depth);
    void listFirstMoves(std::int32_t value, bool withReach);
    template <class Visit>
    void walkLandings(CellIndex from, std::int32_t floor, Visit& visit);
    std::int32_t bestGainOf(int peg, std::int32_t cap);
    bool walkForBest(CellIndex from, std::int32_t floor, std::int32_t cap, std::int32_t& best);
    std::int32_t bestSecondMove(std::int32_t candidateValue, std::size_t firstMoveCount);

    // Ranking (search.cpp).
    void sortByScore(int l, int r);
    int choose(Random& random) const;

    // The board of the search.
    std::array<CellIndex, CELL_COUNT> occupancy_{};
    std::array<CellIndex, MAX_PEGS> cells_{};  // the seat to move's pegs
    Seat seat_ = 0;
    int pegCount_ = 0;
    HouseRules rules_;  // which moves are listed; the scoring knows only the classic ones
    const SeatValueRow* row_ = nullptr;  // SEAT_VALUES of the seat to move
    std::int32_t valueBefore_ = 0;
    std::int32_t perfect_ = 0;
    int takingPart_ = 0;

    // The candidate list of the running search.
    std::vector<CandidateMove>* pool_ = nullptr;
    std::size_t count_ = 0;
    std::vector<CandidateMove*>* ranked_ = nullptr;

    // Generation: the chain being walked and, per hole, the first candidate of
    // the current peg that ends there (where marked).
    std::array<CellIndex, MAX_CHAIN> chain_{};
    int chainLast_ = -1;
    std::array<std::int32_t, CELL_COUNT> firstFor_{};
    RoundMarks<CELL_COUNT> hasFirst_;

    // Reply estimate: jump-connected groups of empty holes and their best
    // value for the replying seat, and answers already found per (peg, hole).
    RoundMarks<CELL_COUNT> grouped_;
    std::array<std::uint8_t, CELL_COUNT> groupOf_{};
    std::array<std::int32_t, CELL_COUNT> groupBest_{};
    std::uint8_t groupCount_ = 0;
    std::array<CellIndex, CELL_COUNT> stack_{};
    std::array<std::int32_t, MAX_PEGS * CELL_COUNT> replyCache_{};  // by peg * CELL_COUNT + hole
    RoundMarks<MAX_PEGS * CELL_COUNT> replyKnown_;                   // a new round each search

    // Look-ahead: holes seen by the walk in progress, the first own moves of
    // the candidate under examination in the order they are found, and per
    // peg its best single-move gain and the holes that gain depends on.
    RoundMarks<CELL_COUNT> seen_;
    std::vector<FirstMove> firstMoves_;
    std::vector<std::uint32_t> byValue_;
    std::array<std::int32_t, MAX_PEGS> pegGain_{};
    std::array<HoleSet, MAX_PEGS> pegReach_{};
    bool stopLookAhead_ = false;
};

}  // namespace vexel
