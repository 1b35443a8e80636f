#include "computer.h"

namespace vexel {

ComputerPlayer::ComputerPlayer(GameState& state, const Settings& settings, Random& random)
    : state_(state), settings_(settings), random_(random) {}

bool ComputerPlayer::searchComputerMove() { return false; }
std::span<const CandidateMove* const> ComputerPlayer::candidates() const { return ranked_; }
const CandidateMove& ComputerPlayer::chosen() const { return *ranked_.at(std::size_t(chosenCandidate_)); }
void ComputerPlayer::releaseCandidates() { ranked_.clear(); chosenCandidate_ = -1; }

}  // namespace vexel
