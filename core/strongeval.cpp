// The strongest level's judgement of a position: a race. Each seat's cost is
// the steps its pegs still have to go to the tip of its target, plus
// penalties for pegs left far behind: a straggler has nobody to jump over any
// more and crawls home one step per move at the end, which loses more races
// than a slightly slower middle game. So, against one or two opponents, a step
// counts for more the further its peg still has to go, and with any number a
// peg far behind its seat's average costs more again. Near the end, against
// three or more opponents, the last pegs outside the target also pay for the
// way round to the holes still open there. Under house rules, against a
// single opponent, the root also pays for the last pegs that opponent leaves
// in its home, the root's target. The root compares its own cost with the
// leading opponent's, since first place is what counts.
#include "board.h"
#include "moves.h"
#include "strongboard.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <numeric>

namespace vexel::strong {

namespace {

// Evaluation units per step still to go.
constexpr int STEP_WEIGHT = 10;
// Tenths of a unit per step squared, per peg: one peg 16 steps from the tip
// costs about a third more than four pegs 4 steps away each. Only against one
// or two opponents: with more, the board stays crowded to the end and a peg
// left behind still finds pegs to jump over, and pulling the back pegs along
// cost the strongest level first places there.
constexpr int SQUARED_WEIGHT = 3;
constexpr int SQUARED_MAX_OPPONENTS = 2;
// Units per step that a peg stands further back than STRAGGLER_SLACK steps
// behind its seat's average peg.
constexpr int STRAGGLER_WEIGHT = 4;
constexpr int STRAGGLER_SLACK = 3;
// Units per hole that a peg stands off the line from its home tip to its
// target tip: the middle of the board has the most pegs to jump over and
// the shortest way round the others.
constexpr int LATERAL_WEIGHT = 3;
// Tenths of a unit per step that the way of the last pegs outside the target
// onto its open holes is longer than their way to its tip, once at most
// DETOUR_MAX_PEGS are outside. Against three or more opponents, where the
// race is closest: a last peg that reaches the edge of the target away from
// the open hole spends a whole move going along it.
constexpr int DETOUR_WEIGHT = 12;
constexpr int DETOUR_MAX_PEGS = 4;
constexpr int DETOUR_MIN_OPPONENTS = 3;
// Under house rules against a single opponent, once at most CAMP_MAX_PEGS
// pegs of the seat whose home is the root's target are left there: units
// per such peg, and more for one without a move of its own. Left to the race
// alone the search would keep such a peg in: every step it takes out of its
// home is a step its seat gains, and the search expects the most harmful
// reply, so it never expects the peg to leave, and a peg walled in by the
// root's own pegs never can.
// Priced this way the root leaves it a way out, or swaps it out, and takes
// the hole the moment it comes free. What the root's own pegs do never
// switches the price on or off, so it never holds the root back from its
// target: only the home seat's leaving does.
constexpr int CAMP_WEIGHT = 80;
constexpr int CAMP_WALLED_WEIGHT = 60;
constexpr int CAMP_MAX_PEGS = 3;
// The same stand-off the other way round, by long jumps alone: units per peg
// of the root still in its own home without a move, with a peg of another
// seat beside it. The seat whose target that is may wall it in for good and
// wait, and the root can then neither finish nor stop the other: so the root
// takes its last pegs out before it can be walled in. With the swap, that
// seat swaps the peg out instead.
constexpr int TRAPPED_WEIGHT = 100;

// Single steps from one hole to another over an empty board: a step changes
// the row by one and x by one, or x by two within the row, so rows first,
// then what is left across two at a time.
int stepsBetween(CellIndex a, CellIndex b) {
    const CellCoord p = cellCoord(a);
    const CellCoord q = cellCoord(b);
    const int rows = std::abs(p.row - q.row);
    const int across = std::abs(p.x - q.x);
    return rows + std::max(0, across - rows) / 2;
}

std::array<DistanceRow, SEAT_COUNT> makeDistances() {
    std::array<DistanceRow, SEAT_COUNT> table{};
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        const CellIndex tip = START_CELLS[OPPOSITE_SEAT[seat]][0];
        for (int c = 0; c < CELL_COUNT; ++c) table[std::size_t(seat)][std::size_t(c)] = std::uint8_t(stepsBetween(CellIndex(c), tip));
    }
    return table;
}

// Holes off the seat's axis, rounded down: the distance from the line through
// the centre and the target tip, in hole spacings.
std::array<DistanceRow, SEAT_COUNT> makeLateral() {
    std::array<DistanceRow, SEAT_COUNT> table{};
    const double rowHeight = std::sqrt(3.0);
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        const CellCoord tip = cellCoord(START_CELLS[OPPOSITE_SEAT[seat]][0]);
        const double length = std::hypot(double(tip.x), (tip.row - 8) * rowHeight);
        const double ux = tip.x / length, uy = (tip.row - 8) * rowHeight / length;
        for (int c = 0; c < CELL_COUNT; ++c) {
            const CellCoord p = cellCoord(CellIndex(c));
            const double across = std::abs(p.x * uy - (p.row - 8) * rowHeight * ux);
            table[std::size_t(seat)][std::size_t(c)] = std::uint8_t(across / 2.0 + 1e-9);
        }
    }
    return table;
}

const std::array<DistanceRow, SEAT_COUNT>& lateralDistances() {
    static const std::array<DistanceRow, SEAT_COUNT> table = makeLateral();
    return table;
}

// Steps from the tip of a target to the hole of its k-th nearest peg: the
// tip, then rows of 2, 3 and 4 holes, then the five holes beyond.
constexpr std::array<int, MAX_PEGS> STEPS_OF_PEG = {0, 1, 1, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 4};

// The steps from a point's tip to its holes farthest out: only the point's
// own holes lie this near the tip. Looked up, not summed: the evaluation
// asks for it for every seat at every leaf.
int pointDepth(const Board& board) { return STEPS_OF_PEG[std::size_t(board.pegCount - 1)]; }

// The steps the seat's pegs outside its target still have to go beyond their
// distance to its tip when each goes onto its own one of the target holes
// not yet taken by the seat, matched the cheapest way; 0 with more than
// DETOUR_MAX_PEGS outside. A hole that an opposing peg holds counts as open:
// that peg is on its way out. Kept out of line: inlined into remainingCost,
// it slowed every evaluation by about a tenth, also where it does not apply.
[[gnu::noinline]] int detour(const Board& board, Seat seat) {
    const auto& steps = (*board.distances)[seat];
    const int targetDepth = pointDepth(board);
    std::array<CellIndex, DETOUR_MAX_PEGS> outside{};
    int n = 0;
    for (int k = 0; k < board.pegCount; ++k) {
        const CellIndex c = board.pegs[seat][k];
        if (steps[c] <= targetDepth) continue;
        if (n == DETOUR_MAX_PEGS) return 0;
        outside[std::size_t(n++)] = c;
    }
    if (n == 0) return 0;
    std::array<CellIndex, DETOUR_MAX_PEGS> open{};
    const auto& target = START_CELLS[OPPOSITE_SEAT[seat]];
    for (int k = 0, found = 0; found < n; ++k)
        if (board.occupancy[target[std::size_t(k)]] != seat) open[std::size_t(found++)] = target[std::size_t(k)];
    std::array<std::array<int, DETOUR_MAX_PEGS>, DETOUR_MAX_PEGS> extra{};
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            extra[std::size_t(i)][std::size_t(j)] = stepsBetween(outside[std::size_t(i)], open[std::size_t(j)]) +
                                                    steps[open[std::size_t(j)]] - steps[outside[std::size_t(i)]];
    std::array<int, DETOUR_MAX_PEGS> hole{};
    std::iota(hole.begin(), hole.begin() + n, 0);
    int least = std::numeric_limits<int>::max();
    do {
        int sum = 0;
        for (int i = 0; i < n; ++i) sum += extra[std::size_t(i)][std::size_t(hole[std::size_t(i)])];
        least = std::min(least, sum);
    } while (std::next_permutation(hole.begin(), hole.begin() + n));
    return least;
}

// Whether the peg on `cell` has a move: a step, or a jump by the game's rules.
bool canLeave(const Board& board, CellIndex cell) {
    for (int d = 0; d < DIRECTION_COUNT; ++d) {
        const CellIndex next = NEIGHBOURS[cell][d];
        if (next != NO_PEG && board.occupancy[next] == NO_PEG) return true;
        if (ruleJumpLanding(board.occupancy, cell, d, board.rules) != NO_PEG) return true;
    }
    return false;
}

// Whether the peg of `seat` on `cell` is walled in with another seat's peg beside it.
bool trapped(const Board& board, Seat seat, CellIndex cell) {
    bool other = false;
    for (int d = 0; d < DIRECTION_COUNT; ++d) {
        const CellIndex next = NEIGHBOURS[cell][d];
        if (next != NO_PEG && board.occupancy[next] != NO_PEG && board.occupancy[next] != seat) other = true;
    }
    return other && !canLeave(board, cell);
}

// What the root's own pegs walled in at home cost it.
[[gnu::noinline]] int trappedCost(const Board& board, Seat root) {
    if (board.pegs[OPPOSITE_SEAT[root]][0] >= CELL_COUNT) return 0;  // nobody races to the root's home
    const auto& steps = (*board.distances)[OPPOSITE_SEAT[root]];
    const int homeDepth = pointDepth(board);
    int cost = 0;
    for (int k = 0; k < board.pegCount; ++k) {
        const CellIndex c = board.pegs[root][k];
        if (c < CELL_COUNT && steps[c] <= homeDepth && trapped(board, root, c)) cost += TRAPPED_WEIGHT;
    }
    return cost;
}

// What the home seat's last pegs on the root's target cost the root.
[[gnu::noinline]] int campingCost(const Board& board, Seat root) {
    const auto& steps = (*board.distances)[root];
    const int targetDepth = pointDepth(board);
    const auto& homePegs = board.pegs[OPPOSITE_SEAT[root]];
    int left = 0;
    int cost = 0;
    for (int k = 0; k < board.pegCount; ++k) {
        const CellIndex c = homePegs[std::size_t(k)];
        if (c >= CELL_COUNT || steps[c] > targetDepth) continue;
        if (++left > CAMP_MAX_PEGS) return 0;
        cost += canLeave(board, c) ? CAMP_WEIGHT : CAMP_WEIGHT + CAMP_WALLED_WEIGHT;
    }
    return cost;
}

}  // namespace

const std::array<DistanceRow, SEAT_COUNT>& targetDistances() {
    static const std::array<DistanceRow, SEAT_COUNT> table = makeDistances();
    return table;
}

int finishedDistanceSum(int pegs) {
    int sum = 0;
    for (int k = 0; k < pegs && k < MAX_PEGS; ++k) sum += STEPS_OF_PEG[std::size_t(k)];
    return sum;
}

int remainingCost(const Board& board, Seat seat, int opponents) {
    int cost = STEP_WEIGHT * (board.distanceSum[seat] - board.finishedSum);
    const auto& lateral = lateralDistances()[seat];
    const auto& steps = (*board.distances)[seat];
    const bool squaredCounts = opponents <= SQUARED_MAX_OPPONENTS;
    int squared = 0;
    for (int k = 0; k < board.pegCount; ++k) {
        const int c = board.pegs[seat][k];
        cost += LATERAL_WEIGHT * lateral[c];
        if (squaredCounts) squared += steps[c] * steps[c];
    }
    cost += SQUARED_WEIGHT * squared / 10;
    if (opponents >= DETOUR_MIN_OPPONENTS) cost += DETOUR_WEIGHT * detour(board, seat) / 10;
    if (STRAGGLER_WEIGHT != 0) {
        // Compared in units of 1/pegCount steps, so the average needs no rounding.
        const int limit = board.distanceSum[seat] + STRAGGLER_SLACK * board.pegCount;
        for (int k = 0; k < board.pegCount; ++k) {
            const int behind = steps[board.pegs[seat][k]] * board.pegCount - limit;
            if (behind > 0) cost += STRAGGLER_WEIGHT * behind / board.pegCount;
        }
    }
    return cost;
}

int evaluate(const Board& board, Seat root, const std::vector<Seat>& opponents) {
    int leader = 0;
    bool any = false;
    for (const Seat o : opponents) {
        const int cost = remainingCost(board, o, int(opponents.size()));
        if (!any || cost < leader) leader = cost;
        any = true;
    }
    int own = remainingCost(board, root, int(opponents.size()));
    // Only under house rules and against a single opponent. In classic games
    // the search had a peg walled in like this rarely, and with more seats
    // the stand-off is rare and the price drew the root to those pegs while
    // another seat raced ahead: either way it lost games it used to win.
    if (!board.rules.classic() && opponents.size() == 1) own += campingCost(board, root);
    if (board.rules.longJumps && !board.rules.swapInTarget) own += trappedCost(board, root);
    return leader - own;
}

}  // namespace vexel::strong
