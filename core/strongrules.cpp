// The strongest level's move lists under house rules. Kept apart from the
// classic lists, which run in every node of every classic game: a game by
// the classic rules never comes here.
//
// Chains are walked breadth first over the empty landings the rules allow, so
// the chain kept for each final hole is a shortest one. A swap ends a move:
// it is found from the start or from any landing, and walked no further.
#include "moves.h"
#include "strongboard.h"

namespace vexel::strong {

namespace {

// The holes a swap can end on, each with the hole it was reached from.
struct SwapEnds {
    std::array<CellIndex, MAX_PEGS> to{};
    std::array<CellIndex, MAX_PEGS> parent{};
    int count = 0;

    void add(CellIndex cell, CellIndex from) {
        for (int i = 0; i < count; ++i)
            if (to[std::size_t(i)] == cell) return;
        if (count == MAX_PEGS) return;  // the target has no more holes
        to[std::size_t(count)] = cell;
        parent[std::size_t(count++)] = from;
    }
};

bool canSwapOnto(const Board& board, Seat seat, CellIndex cell) {
    return swapAllowed(board.occupancy, seat, cell, board.pegCount, board.rules);
}

// Where a jump from each hole in each direction ends, in the position one
// move list is made for, each worked out once: every peg's chains cross the
// same holes, and a long jump's line is walked hole by hole, which took most
// of the search's time. The position does not change while the list is made
// (a moving peg stays on its hole while its chains are walked).
class JumpTable {
public:
    explicit JumpTable(const Board& board) : board_(board) {
        landing_.fill(UNKNOWN);
        onto_.fill(UNKNOWN);
    }
    // The empty hole a jump lands on, or NO_PEG.
    CellIndex landing(CellIndex from, int d) {
        CellIndex& c = landing_[std::size_t(from) * DIRECTION_COUNT + std::size_t(d)];
        if (c == UNKNOWN) c = ruleJumpLanding(board_.occupancy, from, d, board_.rules);
        return c;
    }
    // The occupied hole a jump would end on, or NO_PEG.
    CellIndex onto(CellIndex from, int d) {
        CellIndex& c = onto_[std::size_t(from) * DIRECTION_COUNT + std::size_t(d)];
        if (c == UNKNOWN) c = ruleJumpOntoPeg(board_.occupancy, from, d, board_.rules);
        return c;
    }

private:
    static constexpr CellIndex UNKNOWN = 0xFF;
    const Board& board_;
    std::array<CellIndex, CELL_COUNT * DIRECTION_COUNT> landing_;
    std::array<CellIndex, CELL_COUNT * DIRECTION_COUNT> onto_;
};

// Whether a move of `seat` can end in a swap at all: the home seat of its
// target still has a peg there. Mostly it has none (or does not play), and
// then no line needs to be followed onto a peg.
bool swapWaiting(const Board& board, Seat seat) {
    if (!board.rules.swapInTarget) return false;
    const Seat home = OPPOSITE_SEAT[seat];
    const auto& target = START_CELLS[home];
    for (int k = 0; k < board.pegCount; ++k)
        if (board.occupancy[target[std::size_t(k)]] == home) return true;
    return false;
}

// `swapsOpen`: swapWaiting for the seat.
void walkRuleChains(const Board& board, Seat seat, CellIndex start, bool swapsOpen, ChainWalk& chains, SwapEnds& swaps,
                    JumpTable& jumps) {
    for (int i = 0; i < chains.count; ++i) chains.seen[chains.queue[std::size_t(i)]] = false;
    chains.count = 0;
    swaps.count = 0;
    chains.seen[start] = true;  // the peg stands there while it jumps
    int head = -1;
    CellIndex from = start;
    for (;;) {
        for (int d = 0; d < DIRECTION_COUNT; ++d) {
            if (const CellIndex to = jumps.landing(from, d); to != NO_PEG) {
                if (chains.seen[to]) continue;
                chains.seen[to] = true;
                chains.parent[to] = from;
                chains.queue[std::size_t(chains.count++)] = to;
            } else if (swapsOpen) {
                const CellIndex onto = jumps.onto(from, d);
                if (onto != NO_PEG && canSwapOnto(board, seat, onto)) swaps.add(onto, from);
            }
        }
        if (++head >= chains.count) break;
        from = chains.queue[std::size_t(head)];
    }
    chains.seen[start] = false;
}

// A step onto an empty neighbour, or onto a peg to swap out.
bool stepOpen(const Board& board, Seat seat, CellIndex to) {
    return to != NO_PEG && (board.occupancy[to] == NO_PEG || canSwapOnto(board, seat, to));
}

void addRoot(std::vector<CandidateMove>& out, int peg, CellIndex from, CellIndex last, const ChainWalk& chains) {
    std::array<CellIndex, MAX_CHAIN> reversed{};
    int length = 0;
    reversed[std::size_t(length++)] = last;
    for (CellIndex c = chains.parent[last]; c != from; c = chains.parent[c]) reversed[std::size_t(length++)] = c;
    CandidateMove& m = out.emplace_back();
    m.pegIndex = std::uint8_t(peg);
    for (int j = 0; j < length; ++j) m.landings[std::size_t(j)] = reversed[std::size_t(length - 1 - j)];
    m.lastLanding = std::uint8_t(length - 1);
}

// Calls `step(peg, from, to)` for each step of `seat`'s pegs, then, per peg,
// `ends(peg, from, swaps)` with `chains` holding the peg's chain landings.
template <class Step, class Ends>
void forEachPeg(const Board& board, Seat seat, ChainWalk& chains, Step step, Ends ends) {
    SwapEnds swaps;
    JumpTable jumps(board);
    const bool swapsOpen = swapWaiting(board, seat);
    for (int k = 0; k < board.pegCount; ++k) {
        const CellIndex from = board.pegs[seat][k];
        if (from >= CELL_COUNT) continue;
        for (int d = 0; d < DIRECTION_COUNT; ++d)
            if (const CellIndex to = NEIGHBOURS[from][d]; stepOpen(board, seat, to)) step(k, from, to);
        walkRuleChains(board, seat, from, swapsOpen, chains, swaps, jumps);
        ends(k, from, swaps);
    }
}

}  // namespace

void appendRuleMoves(const Board& board, Seat seat, std::vector<Move>& out, ChainWalk& chains) {
    const auto add = [&](int k, CellIndex from, CellIndex to) { out.push_back({from, to, std::uint8_t(k), seat, 0}); };
    forEachPeg(board, seat, chains, add, [&](int k, CellIndex from, const SwapEnds& swaps) {
        for (int i = 0; i < chains.count; ++i) add(k, from, chains.queue[std::size_t(i)]);
        for (int i = 0; i < swaps.count; ++i) add(k, from, swaps.to[std::size_t(i)]);
    });
}

void rootRuleMoves(const Board& board, Seat seat, std::vector<CandidateMove>& out) {
    ChainWalk chains;
    const auto step = [&](int k, CellIndex, CellIndex to) {
        CandidateMove& m = out.emplace_back();
        m.pegIndex = std::uint8_t(k);
        m.landings[0] = to;
        m.lastLanding = 0;
    };
    forEachPeg(board, seat, chains, step, [&](int k, CellIndex from, const SwapEnds& swaps) {
        for (int i = 0; i < chains.count; ++i) addRoot(out, k, from, chains.queue[std::size_t(i)], chains);
        // The swap's own hole is no landing of the walk: its chain goes on from where it was reached.
        for (int i = 0; i < swaps.count; ++i) {
            const CellIndex last = swaps.to[std::size_t(i)];
            chains.parent[last] = swaps.parent[std::size_t(i)];
            addRoot(out, k, from, last, chains);
        }
    });
}

}  // namespace vexel::strong
