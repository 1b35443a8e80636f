// The strongest level's end race: once only a seat's last few pegs are outside
// its target, the fewest moves home with every other seat's pegs standing
// still is a small puzzle that can be solved exactly. The evaluation's steps
// to the tip cannot see it: a last peg at the edge away from the open hole,
// or two stragglers that could leapfrog each other, look as near as they are
// on an empty board.
//
// Iterative deepening over the seat's own moves, its pegs inside the target
// included (shifting one deeper can open the hole a last peg lands on). A
// first search is guided by each peg's own fewest moves to an open hole over
// the board as it stands, which finds a finish quickly but may miss a shorter
// one in which the pegs make room or jump over each other; a second search,
// bounded only by the pegs still outside, then looks for one. Positions that
// failed with so many moves left are remembered.
#include "board.h"
#include "strongboard.h"

#include <algorithm>
#include <unordered_map>

namespace vexel::strong {

namespace {

constexpr int UNREACHABLE = 64;

class FinishSearch {
public:
    // A guided search prunes by the pegs' own ways, which can overestimate:
    // pegs that move make new room and new pegs to jump over. Otherwise it
    // prunes only by the pegs still outside, which never overestimates.
    FinishSearch(Board& board, Seat seat, std::uint64_t nodeLimit, bool guided)
        : board_(board), seat_(seat), nodeLimit_(nodeLimit), guided_(guided) {
        const auto& target = START_CELLS[OPPOSITE_SEAT[seat]];
        for (int k = 0; k < board.pegCount; ++k) inTarget_[target[std::size_t(k)]] = true;
        measureWays();
    }

    // Moves still needed at least: as far as each peg alone can tell, or one
    // per peg outside.
    int estimate() const {
        int n = 0;
        for (int k = 0; k < board_.pegCount; ++k) n += guided_ ? ways_[board_.pegs[seat_][k]] : ways_[board_.pegs[seat_][k]] != 0;
        return n;
    }
    // How much a move lowers the estimate.
    int drop(const Move& m) const {
        return guided_ ? int(ways_[m.from]) - int(ways_[m.to]) : int(ways_[m.from] != 0) - int(ways_[m.to] != 0);
    }
    // Whether the seat finishes within `left` moves; false as well once the
    // node limit is spent (then `exhausted` tells).
    bool finishes(int left, int ply);
    bool exhausted() const { return nodes_ > nodeLimit_; }
    void movesOf(std::vector<Move>& out) { appendMoves(board_, seat_, out, chains_); }

private:
    void measureWays();

    Board& board_;
    Seat seat_;
    std::uint64_t nodeLimit_;
    bool guided_;
    std::uint64_t nodes_ = 0;
    std::array<bool, CELL_COUNT> inTarget_{};
    // Fewest moves of a single peg from each hole to a target hole, the other
    // pegs standing where they are now and its own pegs outside the target
    // both something to jump over and a hole to pass through; 0 inside.
    std::array<std::uint8_t, CELL_COUNT> ways_{};
    ChainWalk chains_;
    std::array<std::vector<Move>, SHORTEST_FINISH_MAX_MOVES + 1> lists_;
    std::unordered_map<std::uint64_t, int> failed_;  // key: most moves left that were not enough
};

// Breadth first from the open target holes. A step and a chain of jumps can
// each be taken back, so the holes one move away from a hole are the ones
// that reach it in one move.
void FinishSearch::measureWays() {
    const auto& occupancy = board_.occupancy;
    const auto passable = [&](CellIndex c) { return occupancy[c] == NO_PEG || (occupancy[c] == seat_ && !inTarget_[c]); };
    ways_.fill(UNREACHABLE);
    std::array<CellIndex, CELL_COUNT> queue{};
    int count = 0;
    for (int c = 0; c < CELL_COUNT; ++c)
        if (inTarget_[c]) {
            ways_[c] = 0;
            if (occupancy[c] == NO_PEG) queue[std::size_t(count++)] = CellIndex(c);
        }
    // The holes a chain of jumps links, found hop by hop from each hole reached.
    std::array<CellIndex, CELL_COUNT> chain{};
    std::array<bool, CELL_COUNT> seen{};
    for (int head = 0; head < count; ++head) {
        const CellIndex from = queue[std::size_t(head)];
        const std::uint8_t next = std::uint8_t(ways_[from] + 1);
        const auto reach = [&](CellIndex to) {
            if (ways_[to] <= next || !passable(to)) return;
            ways_[to] = next;
            queue[std::size_t(count++)] = to;
        };
        for (int d = 0; d < DIRECTION_COUNT; ++d)
            if (const CellIndex to = NEIGHBOURS[from][d]; to != NO_PEG) reach(to);
        seen.fill(false);
        seen[from] = true;
        int links = 0;
        chain[std::size_t(links++)] = from;
        for (int i = 0; i < links; ++i)
            for (int d = 0; d < DIRECTION_COUNT; ++d) {
                const CellIndex over = NEIGHBOURS[chain[std::size_t(i)]][d];
                if (over == NO_PEG || occupancy[over] == NO_PEG) continue;
                const CellIndex to = NEIGHBOURS[over][d];
                if (to == NO_PEG || seen[to] || !passable(to)) continue;
                seen[to] = true;
                chain[std::size_t(links++)] = to;
                reach(to);
            }
    }
}

bool FinishSearch::finishes(int left, int ply) {
    const int least = estimate();
    if (least == 0) return true;
    if (least > left || exhausted()) return false;
    if (const auto it = failed_.find(board_.key); it != failed_.end() && it->second >= left) return false;
    std::vector<Move>& list = lists_[std::size_t(ply)];
    list.clear();
    if (least < left) {
        appendMoves(board_, seat_, list, chains_);
    } else {
        // No move to spare: only a peg coming nearer can help, and pegs
        // inside the target come no nearer.
        for (int k = 0; k < board_.pegCount; ++k) {
            const CellIndex from = board_.pegs[seat_][k];
            if (ways_[from] == 0) continue;
            for (int d = 0; d < DIRECTION_COUNT; ++d) {
                const CellIndex to = NEIGHBOURS[from][d];
                if (to != NO_PEG && board_.occupancy[to] == NO_PEG) list.push_back({from, to, std::uint8_t(k), seat_, 0});
            }
            chains_.walk(board_.occupancy, from);
            for (int i = 0; i < chains_.count; ++i) list.push_back({from, chains_.queue[i], std::uint8_t(k), seat_, 0});
        }
    }
    // The estimate's drop first, then the surest progress.
    for (Move& m : list) m.order = drop(m) * 256 + int(ways_[m.from]) - int(ways_[m.to]);
    std::stable_sort(list.begin(), list.end(), [](const Move& a, const Move& b) { return a.order > b.order; });
    for (const Move& m : list) {
        // The estimate after the move; the rest of the list only raises it.
        if (least - drop(m) > left - 1) break;
        board_.make(m);
        ++nodes_;
        const bool done = finishes(left - 1, ply + 1);
        board_.unmake(m);
        if (done) return true;
        if (exhausted()) return false;
    }
    int& worst = failed_[board_.key];
    worst = std::max(worst, left);
    return false;
}

}  // namespace

int shortestFinish(Board& board, Seat seat, int maxMoves, std::uint64_t nodeLimit, std::vector<Move>* firstMoves) {
    maxMoves = std::min(maxMoves, SHORTEST_FINISH_MAX_MOVES);
    // A hole of the target that another seat holds stays held.
    const auto& target = START_CELLS[OPPOSITE_SEAT[seat]];
    for (int k = 0; k < board.pegCount; ++k)
        if (const CellIndex h = board.occupancy[target[std::size_t(k)]]; h != NO_PEG && h != seat) return -1;
    // A guided search finds a finish quickly; a plain one then looks for a
    // shorter one, as far as the positions given allow.
    FinishSearch guided(board, seat, nodeLimit, true);
    if (guided.estimate() == 0) return 0;
    int found = -1;
    for (int left = guided.estimate(); left <= maxMoves && found < 0; ++left) {
        if (guided.finishes(left, 0)) found = left;
        if (guided.exhausted()) return -1;
    }
    if (found < 0) return -1;
    FinishSearch plain(board, seat, nodeLimit, false);
    int length = found;
    for (int left = plain.estimate(); left < found && length == found && !plain.exhausted(); ++left)
        if (plain.finishes(left, 0)) length = left;
    if (!firstMoves) return length;
    FinishSearch& search = length < found ? plain : guided;
    std::vector<Move> list;
    search.movesOf(list);
    for (const Move& m : list) {
        board.make(m);
        const bool starts = search.finishes(length - 1, 1);
        board.unmake(m);
        if (starts) firstMoves->push_back(m);
    }
    return length;
}

}  // namespace vexel::strong
