#include "gamestate.h"

#include <algorithm>

namespace vexel {

bool ProducedPositions::contains(Seat seat, std::uint64_t key) const {
    const std::vector<std::uint64_t>& k = keys[seat];
    return std::binary_search(k.begin(), k.end(), key);
}

void ProducedPositions::insert(Seat seat, std::uint64_t key) {
    std::vector<std::uint64_t>& k = keys[seat];
    const auto at = std::lower_bound(k.begin(), k.end(), key);
    if (at == k.end() || *at != key) k.insert(at, key);
}

int GameState::playingSeatCount() const {
    return int(std::count_if(players.begin(), players.end(), [](const PlayerSlot& p) { return p.plays(); }));
}

int countInvariantViolations(const GameState& state, const PlayerSlots& expectedPlayers) {
    int violations = 0;
    if (!(state.players == expectedPlayers)) ++violations;
    if (state.pegsPerPlayer != 10 && state.pegsPerPlayer != 15) return violations + 1;
    int pegsOnBoard = 0;
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        if (!state.players[seat].plays()) continue;
        for (int k = 0; k < state.pegsPerPlayer; ++k) {
            const CellIndex cell = state.pegs[seat][k].cell;
            if (cell >= CELL_COUNT || state.occupancy[cell] != seat) ++violations;
        }
        pegsOnBoard += state.pegsPerPlayer;
    }
    const int occupied = int(std::count_if(state.occupancy.begin(), state.occupancy.end(), [](CellIndex c) { return c != NO_PEG; }));
    if (occupied != pegsOnBoard) ++violations;
    for (CellIndex c : state.occupancy)
        if (c != NO_PEG && c >= SEAT_COUNT) ++violations;
    return violations;
}

}  // namespace vexel
