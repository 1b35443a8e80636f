// The computer player's move search: every legal move of the seat to move is
// listed, scored by the rules of the seat's level (evaluation.h) and sorted;
// one of the best is drawn at random. The game enters the chosen move hole by
// hole through the same hole-choice a human's clicks drive.
#pragma once

#include "gamestate.h"
#include "random.h"
#include "settings.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace vexel {

// Room for the landings of one move. Jumps keep a peg on a quarter of the
// holes (both coordinates change by an even amount), so no chain of distinct
// landings comes near this.
inline constexpr int MAX_CHAIN = 66;

struct CandidateMove {
    std::array<CellIndex, MAX_CHAIN> landings{};  // a step's hole, or a chain's landings in order
    std::uint8_t pegIndex = 0;
    std::uint8_t lastLanding = 0;  // index of the final hole in landings
    std::int32_t value = 0;        // position value with this move made
    std::int32_t followGain1 = 0;  // best gains of the own look-ahead, one and two moves deep
    std::int32_t followGain2 = 0;
    std::int32_t score = 0;        // ranking key

    CellIndex finalHole() const { return landings[lastLanding]; }
};

class ComputerPlayer {
public:
    ComputerPlayer(GameState& state, const Settings& settings, Random& random);
    ~ComputerPlayer();
    ComputerPlayer(const ComputerPlayer&) = delete;
    ComputerPlayer& operator=(const ComputerPlayer&) = delete;

    // Lists, scores and sorts the moves of state.currentPlayer and picks one
    // of the best at random. A seat that the computer plays in this game then
    // keeps out of loops: should the drawn move bring about a board position
    // the seat has brought about before (state.producedPositions), it takes
    // the best-ranked move that leads to a new one instead, and keeps the drawn
    // move only when every move leads back; the position it moves to is noted.
    // A human seat's search (a hint) is never changed and notes nothing.
    // Returns false, leaving the list empty, when the seat has no legal move.
    // The board is left exactly as it was found.
    bool searchComputerMove();
    // Takes the list of a search made elsewhere for state.currentPlayer (not
    // empty, the chosen move last) as searchComputerMove would have left it,
    // the loop rule included.
    void adoptSearchedMoves(std::span<const CandidateMove> ranked);

    // The candidates in ranking order (ascending score) after a search.
    std::span<const CandidateMove* const> candidates() const;
    const CandidateMove& chosen() const;
    int chosenCandidate() const { return chosenCandidate_; }

    // Forgets the candidates; their storage is kept for the next search.
    void releaseCandidates();

private:
    void keepOutOfLoops();
    // Ranks the whole pool as it stands, best last, and draws the move from
    // the near-best at its end.
    void adoptRanking();

    class Search;
    GameState& state_;
    const Settings& settings_;
    Random& random_;
    std::unique_ptr<Search> search_;     // scratch tables, kept from search to search
    std::vector<CandidateMove> pool_;    // grows as needed, never shrinks
    std::vector<CandidateMove*> ranked_;  // the candidate list proper, into pool_
    int chosenCandidate_ = -1;
};

}  // namespace vexel
