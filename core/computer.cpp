// The computer player's face to the game: one search per turn, the list it
// leaves behind for the game to enter the chosen move from, and its release.
#include "computer.h"

#include "search.h"

namespace vexel {

ComputerPlayer::ComputerPlayer(GameState& state, const Settings& settings, Random& random)
    : state_(state), settings_(settings), random_(random), search_(std::make_unique<Search>()) {}

ComputerPlayer::~ComputerPlayer() = default;

bool ComputerPlayer::searchComputerMove() {
    chosenCandidate_ = search_->run(state_, settings_, random_, pool_, ranked_);
    return chosenCandidate_ >= 0;
}

std::span<const CandidateMove* const> ComputerPlayer::candidates() const { return ranked_; }

const CandidateMove& ComputerPlayer::chosen() const { return *ranked_.at(std::size_t(chosenCandidate_)); }

void ComputerPlayer::releaseCandidates() {
    ranked_.clear();
    chosenCandidate_ = -1;
}

}  // namespace vexel
