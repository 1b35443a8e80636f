// Reply scoring: a candidate is marked down by what the next seat could gain
// with one jump move after it.
//
// A peg reaches by its chains exactly the holes jump-connected to its first
// landings, whatever the order of the chains, so the best reply of a peg is the
// best hole of the groups of empty holes next to it. Each group is walked once
// per candidate and shared by every peg of the replying seat.
#include "search.h"

#include "board.h"

#include <algorithm>

namespace vexel {

void ComputerPlayer::Search::scoreReplies(const GameState& state, const Settings& settings) {
    // The next seat is found among the seats as the settings have them now,
    // and may differ from the turn order of the running game.
    Seat next = NO_PEG;
    if (takingPart_ >= 2) {
        for (int i = 1; i < SEAT_COUNT && next == NO_PEG; ++i) {
            const Seat s = Seat((seat_ + i) % SEAT_COUNT);
            if (settings.playerSettings[s].plays()) next = s;
        }
    }
    // A seat that has no pegs in this game has no jump either.
    const bool nextHasPegs = next != NO_PEG && state.players[next].plays();

    for (CandidateMove* c : *ranked_) {
        std::int32_t gain = NO_REPLY;
        if (nextHasPegs) {
            const CellIndex to = c->finalHole();
            const std::size_t key = std::size_t(c->pegIndex) * CELL_COUNT + to;
            std::int32_t& cached = replyCache_[key];
            if (!replyKnown_.has(key)) {
                const CellIndex from = cells_[c->pegIndex];
                const CellIndex fromBefore = occupancy_[from], toBefore = occupancy_[to];
                occupancy_[from] = toBefore;  // a swapped peg goes to the start
                occupancy_[to] = seat_;
                cached = replyGain(state, next);
                occupancy_[to] = toBefore;
                occupancy_[from] = fromBefore;
                replyKnown_.set(key);
            }
            gain = cached;
        }
        c->score = replyScore(c->value, valueBefore_, gain, takingPart_);
    }
}

// The next seat's best gain by one jump move on the board as it stands.
std::int32_t ComputerPlayer::Search::replyGain(const GameState& state, Seat next) {
    const SeatValueRow& row = SEAT_VALUES[next];
    grouped_.nextRound();
    groupCount_ = 0;
    std::int32_t best = NO_REPLY;
    for (int k = 0; k < pegCount_; ++k) {
        const CellIndex from = state.pegs[next][k].cell;
        if (from >= CELL_COUNT) continue;
        for (int d = 0; d < DIRECTION_COUNT; ++d) {
            const CellIndex to = openJump(occupancy_, from, d);
            if (to == NO_PEG) continue;
            if (!grouped_.has(to)) fillGroup(to, row);
            best = std::max(best, groupBest_[groupOf_[to]] - row[from]);
        }
    }
    return best;
}

// Marks the empty holes jump-connected to `from` as one group and notes its best value.
void ComputerPlayer::Search::fillGroup(CellIndex from, const SeatValueRow& row) {
    const std::uint8_t group = groupCount_++;
    int top = 0;
    stack_[top++] = from;
    grouped_.set(from);
    groupOf_[from] = group;
    std::int32_t best = row[from];
    while (top > 0) {
        const CellIndex h = stack_[--top];
        for (int d = 0; d < DIRECTION_COUNT; ++d) {
            const CellIndex to = openJump(occupancy_, h, d);
            if (to == NO_PEG || grouped_.has(to)) continue;
            grouped_.set(to);
            groupOf_[to] = group;
            best = std::max(best, row[to]);
            stack_[top++] = to;
        }
    }
    groupBest_[group] = best;
}

}  // namespace vexel
