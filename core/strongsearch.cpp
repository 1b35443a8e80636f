#include "strongsearch.h"

namespace vexel {

// Stand-in until the deeper search lands: the strongest original level's ranking.
bool searchStrongMove(const GameState& state, const Settings& settings, std::vector<CandidateMove>& ranked,
                      const std::atomic<bool>* stop, const StrongBudget&) {
    ranked.clear();
    if (stop && stop->load(std::memory_order_relaxed)) return false;
    GameState position = state;
    position.players[state.currentPlayer].kind = PlayerKind::Human;  // notes nothing, never re-ranks
    Settings strongest = settings;
    strongest.playerSettings[state.currentPlayer].level = 0;
    Random random(1);
    ComputerPlayer player(position, strongest, random);
    if (!player.searchComputerMove()) return false;
    const auto list = player.candidates();
    for (int i = 0; i < int(list.size()); ++i)
        if (i != player.chosenCandidate()) ranked.push_back(*list[std::size_t(i)]);
    ranked.push_back(player.chosen());
    return true;
}

}  // namespace vexel
