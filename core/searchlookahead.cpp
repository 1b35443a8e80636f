// The own look-ahead: the best candidates are tried one by one, and the seat's
// own next move (and, two deep, the move after it) on the otherwise unchanged
// board earns them a bonus.
//
// One move deep, the order in which the follow-up moves are found matters: the
// first one that fills the target ends the whole look-ahead, and what was found
// before it is all that counts. Those moves are listed in exactly that order:
// each peg's steps, then the holes its chains reach in the order they are first
// reached (a chain arriving at a hole already reached adds nothing, as the move
// is judged by where it ends). Two moves deep only the best total counts, so it
// is computed in any order, cut short by bounds, and reuses the best single
// move of every peg that the first move cannot have touched.
#include "search.h"

#include "board.h"

#include <algorithm>

namespace vexel {

void ComputerPlayer::Search::lookAhead(int depth) {
    std::vector<CandidateMove*>& a = *ranked_;
    for (CandidateMove* c : a) {
        c->followGain1 = 0;
        c->followGain2 = 0;
        if (depth == 2) c->score = c->value;
    }
    const int last = int(a.size()) - 1;
    sortByScore(0, last);
    if (a[std::size_t(last)]->score == perfect_) return;
    const int n = std::min(last, LOOK_AHEAD_WIDTH);
    stopLookAhead_ = false;
    for (int i = last; i > last - n; --i) {
        CandidateMove& c = *a[std::size_t(i)];
        examine(c, depth);
        c.score += depth == 1 ? lookAheadBonus1(c.followGain1, takingPart_) : lookAheadBonus2(c.followGain1, c.followGain2);
        if (stopLookAhead_) return;
    }
}

void ComputerPlayer::Search::examine(CandidateMove& c, int depth) {
    const int peg = c.pegIndex;
    const CellIndex from = cells_[peg], to = c.finalHole();
    const CellIndex fromBefore = occupancy_[from], toBefore = occupancy_[to];
    occupancy_[from] = toBefore;  // a swapped peg goes to the start
    occupancy_[to] = seat_;
    cells_[peg] = to;

    listFirstMoves(c.value, depth == 2);
    // A follow-up move that fills the target counts itself, but ends the look-ahead
    // before anything found after it, or two deep from it.
    std::size_t before = firstMoves_.size();
    for (std::size_t i = 0; i < firstMoves_.size(); ++i) {
        if (firstMoves_[i].value == perfect_) {
            before = i;
            stopLookAhead_ = true;
            break;
        }
    }
    const std::size_t counted = stopLookAhead_ ? before + 1 : before;
    std::int32_t best = c.value;
    for (std::size_t i = 0; i < counted; ++i) best = std::max(best, firstMoves_[i].value);
    c.followGain1 = best - c.value;
    if (depth == 2) c.followGain2 = bestSecondMove(c.value, before) - c.value;

    cells_[peg] = from;
    occupancy_[to] = toBefore;
    occupancy_[from] = fromBefore;
}

// Lists every own move from the board as it stands, in the order the
// look-ahead tries them, and notes per peg its best gain and the holes whose
// occupancy that gain was found from.
void ComputerPlayer::Search::listFirstMoves(std::int32_t value, bool withReach) {
    const SeatValueRow& row = *row_;
    firstMoves_.clear();
    for (int k = 0; k < pegCount_; ++k) {
        const CellIndex from = cells_[k];
        const std::int32_t base = value - row[from];
        std::int32_t gain = NO_GAIN;
        HoleSet reach = JUMP_REACH[from];
        for (int d = 0; d < DIRECTION_COUNT; ++d) {
            const CellIndex to = NEIGHBOURS[from][d];
            if (to == NO_PEG || occupancy_[to] != NO_PEG) continue;
            firstMoves_.push_back({std::uint8_t(k), from, to, base + row[to]});
            gain = std::max(gain, row[to] - row[from]);
        }
        seen_.nextRound();
        auto visit = [&](CellIndex to) {
            firstMoves_.push_back({std::uint8_t(k), from, to, base + row[to]});
            gain = std::max(gain, row[to] - row[from]);
            if (withReach) reach |= JUMP_REACH[to];
        };
        walkLandings(from, row[from] - 50, visit);
        pegGain_[k] = gain;
        pegReach_[k] = reach;
    }
}

// Holes reached by jump chains from `from`, each once, in the order a walk
// that tries the directions in turn reaches them first. Landings worth less
// than `floor` are neither taken nor walked on from.
template <class Visit>
void ComputerPlayer::Search::walkLandings(CellIndex from, std::int32_t floor, Visit& visit) {
    for (int d = 0; d < DIRECTION_COUNT; ++d) {
        const CellIndex to = openJump(occupancy_, from, d);
        if (to == NO_PEG || seen_.has(to) || (*row_)[to] < floor) continue;
        seen_.set(to);
        visit(to);
        walkLandings(to, floor, visit);
    }
}

// The best position value after one of the listed first moves and any second
// move, or `candidateValue` when no pair of moves beats it.
std::int32_t ComputerPlayer::Search::bestSecondMove(std::int32_t candidateValue, std::size_t firstMoveCount) {
    const SeatValueRow& row = *row_;
    // The two best empty holes, so that the one a first move fills can be left out.
    std::int32_t top1 = NO_GAIN, top2 = NO_GAIN;
    CellIndex top1Hole = NO_PEG;
    for (int h = 0; h < CELL_COUNT; ++h) {
        if (occupancy_[h] != NO_PEG) continue;
        if (row[h] > top1) {
            top2 = top1;
            top1 = row[h];
            top1Hole = CellIndex(h);
        } else if (row[h] > top2) {
            top2 = row[h];
        }
    }
    std::int32_t lowestPeg = row[cells_[0]];
    for (int k = 1; k < pegCount_; ++k) lowestPeg = std::min(lowestPeg, row[cells_[k]]);

    // The most promising first moves first, so that the bounds cut early.
    byValue_.clear();
    for (std::size_t i = 0; i < firstMoveCount; ++i) byValue_.push_back(std::uint32_t(i));
    std::sort(byValue_.begin(), byValue_.end(),
              [&](std::uint32_t x, std::uint32_t y) { return firstMoves_[x].value > firstMoves_[y].value; });

    std::int32_t best = candidateValue;
    for (const std::uint32_t index : byValue_) {
        const FirstMove m = firstMoves_[index];
        // No second move can land on a hole worth more than the best empty one.
        const std::int32_t bestEmpty = std::max(row[m.from], top1Hole != m.to ? top1 : top2);
        if (m.value + bestEmpty - std::min(lowestPeg, row[m.to]) <= best) continue;

        // Pegs whose walk never looked at the two holes the first move changed
        // have the same best move as before it.
        std::int32_t untouched = NO_GAIN;
        for (int k = 0; k < pegCount_; ++k) {
            if (k == m.peg || pegReach_[k].has(m.from) || pegReach_[k].has(m.to)) continue;
            untouched = std::max(untouched, pegGain_[k]);
        }
        best = std::max(best, m.value + untouched);

        bool made = false;
        const CellIndex fromBefore = occupancy_[m.from];
        for (int k = 0; k < pegCount_; ++k) {
            if (k != m.peg && !pegReach_[k].has(m.from) && !pegReach_[k].has(m.to)) continue;
            const CellIndex at = k == m.peg ? m.to : cells_[k];
            const std::int32_t cap = bestEmpty - row[at];
            if (m.value + cap <= best) continue;
            if (!made) {
                occupancy_[m.from] = NO_PEG;
                occupancy_[m.to] = seat_;
                cells_[m.peg] = m.to;
                made = true;
            }
            best = std::max(best, m.value + bestGainOf(k, cap));
        }
        if (made) {
            cells_[m.peg] = m.from;
            occupancy_[m.to] = NO_PEG;
            occupancy_[m.from] = fromBefore;
        }
    }
    return best;
}

// The best gain of one move of peg k on the board as it stands (NO_GAIN when
// it cannot move); the search stops as soon as `cap` is reached.
std::int32_t ComputerPlayer::Search::bestGainOf(int peg, std::int32_t cap) {
    const SeatValueRow& row = *row_;
    const CellIndex from = cells_[peg];
    std::int32_t best = NO_GAIN;
    for (int d = 0; d < DIRECTION_COUNT; ++d) {
        const CellIndex to = NEIGHBOURS[from][d];
        if (to == NO_PEG || occupancy_[to] != NO_PEG) continue;
        best = std::max(best, row[to] - row[from]);
    }
    if (best >= cap) return best;
    std::int32_t bestValue = best == NO_GAIN ? NO_GAIN : best + row[from];
    seen_.nextRound();
    walkForBest(from, row[from] - 50, cap + row[from], bestValue);
    return bestValue == NO_GAIN ? NO_GAIN : bestValue - row[from];
}

// Raises `best` to the best value of a hole the chains from `from` reach;
// returns true once `cap` is reached.
bool ComputerPlayer::Search::walkForBest(CellIndex from, std::int32_t floor, std::int32_t cap, std::int32_t& best) {
    const SeatValueRow& row = *row_;
    int top = 0;
    stack_[top++] = from;
    while (top > 0) {
        const CellIndex h = stack_[--top];
        for (int d = 0; d < DIRECTION_COUNT; ++d) {
            const CellIndex to = openJump(occupancy_, h, d);
            if (to == NO_PEG || seen_.has(to) || row[to] < floor) continue;
            seen_.set(to);
            best = std::max(best, row[to]);
            if (best >= cap) return true;
            stack_[top++] = to;
        }
    }
    return false;
}

}  // namespace vexel
