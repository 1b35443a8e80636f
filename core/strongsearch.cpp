// The strongest level's search: Best-Reply Search with alpha-beta. The seat to
// move (the root) and "the opponents" take turns; on the opponents' turn only
// the single most harmful move of any opponent is searched, and every other
// opponent plays its most advancing move, so that the board the root plans on
// changes round by round as it will in the game: the pegs it would jump over
// move on, and others come into its way. With two seats this is plain
// alpha-beta; with more it still looks several own moves ahead, where
// searching every opponent in turn could not.
//
// Iterative deepening, bounded by a number of positions rather than by the
// clock, so that the same position gives the same move everywhere. Each
// iteration searches the root moves in the order the one before left them,
// the best first; an iteration cut short by the budget still counts where it
// found a better move than the last complete one.
//
// Several opponents together nearly always have some reply that spoils the
// root's plan, and a search that expects it every time plans too timidly: in
// the game most of them simply race home. So with two or more opponents a
// reply node is worth the most harmful reply plus a share of the way up to
// the race round, in which the opponents in turn order each make their most
// advancing move on the board the ones before them left. There "most
// advancing" is judged as the original levels judge a position, by their
// table of hole values: that is how a computer seat will move, and the board
// the root plans on then looks more nearly as it will.
//
// Inside the tree only forward-ish moves are searched, the best few by the
// distance they gain, with the move that a transposition table, the killer
// slots or the history of cut-offs recommend first. Moves are scored from the
// root's side throughout: the root maximises, the opponents minimise.
#include "strongsearch.h"

#include "board.h"
#include "evaluation.h"
#include "strongboard.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace vexel {

namespace strong {
namespace {

constexpr int WIN = 100'000'000;
constexpr int PLY_WIN_STEP = 100'000;  // a win sooner counts more
constexpr int INFINITE_SCORE = std::numeric_limits<int>::max() / 2;
constexpr int MAX_DEPTH = 24;
constexpr int MAX_PLY = MAX_DEPTH + 8;
// Moves searched inside the tree: the root's own, and the opponents' together.
// Every opponent may spoil a plan, so the replies grow with their number: with
// five opponents the dozen most advancing replies are nearly all the leader's
// and miss the pegs that will stand in the root's way.
constexpr int OWN_WIDTH = 16;
constexpr int REPLIES_PER_OPPONENT = 10;
constexpr int MIN_REPLY_WIDTH = 12;
// Backward moves are searched inside the tree only among the first few.
constexpr int BACKWARD_KEPT = 2;
// Units added per step a root move gains on the board at once. Of two plans
// the search values alike, the one that takes its distance now is safer: the
// pegs a later jump needs may have moved on by then.
constexpr int ROOT_GAIN_BONUS = 4;
// The share, in percent, of the race round in a reply node's value, and the
// opponents it takes: against a single one the replies are few and the most
// harmful one is the one to expect; against two or more, each mostly races
// home, and expecting only harm left the root too cautious.
constexpr int RACE_SHARE = 30;
constexpr int RACE_MIN_OPPONENTS = 2;
// The opponents it takes to judge their advances by the value table rather
// than by the steps gained. The table values the middle of a row alike and
// its ends less, where the steps count otherwise, so the two often pick
// different moves; expecting the table's, the root plans over the pegs
// where the computer seats will put them, and won more races among two
// and among five. Against a single opponent the most harmful reply weighs
// most, and its advances are judged by the steps.
constexpr int TABLE_ADVANCES_MIN_OPPONENTS = 2;
// Positions of the budget that listing one opponent's moves anew in the race
// round counts for. Walking every jump chain of a seat costs several of the
// search's positions, most of which are leaves: counted as one, a six-seat
// move took about a third more processor time than before the round listed
// moves anew; counted as four, a little less than before.
constexpr std::uint64_t RACE_LISTING_NODES = 4;
// Root moves whose values lie within this many units (a tenth of a step each)
// of the best may be drawn instead of it, so that a seat does not play the
// same game every time; they are searched exactly to know which they are.
// Only in the first rounds: drawing among the moves within 0.3 step on every
// move cost first places, a little each time, and after the opening the
// games have parted anyway. Later only moves valued alike are drawn.
constexpr int VARIETY_MARGIN = 4;
constexpr int VARIETY_ROUNDS = 4;
// Once at most this many of the root's pegs are outside its target, its
// shortest finish with the other pegs standing still decides the move, if it
// is found within the positions given. Switched off (0): with it, the last
// three pegs planned on a crowded board and the last five against one
// opponent, the strongest level took fewer first places; the answer is kept
// for the next try.
constexpr int END_RACE_PEGS = 0;
constexpr int END_RACE_PEGS_ALONE = 0;
constexpr std::uint64_t END_RACE_NODES = 30'000;
// Picks taken one at a time before the rest of a node's choice is sorted.
constexpr int LAZY_PICKS = 3;
constexpr std::uint64_t STOP_POLL_INTERVAL = 1024;
constexpr std::uint64_t OPPONENTS_KEY = 0x9E6C63D0676A9A99ULL;
constexpr int TABLE_BITS = 17;

enum class Bound : std::uint8_t { None, Exact, Lower, Upper };

struct TableEntry {
    std::uint64_t key = 0;
    std::int32_t value = 0;
    std::int8_t depth = -1;
    Bound bound = Bound::None;
    CellIndex from = NO_PEG;
    CellIndex to = NO_PEG;
};

struct MoveRef {
    CellIndex from = NO_PEG;
    CellIndex to = NO_PEG;
    bool is(const Move& m) const { return m.from == from && m.to == to; }
};

// Each opponent's most advancing move in a reply node, and what it gains
// (in steps or in table values, as the Searcher judges advances).
struct Advances {
    std::array<Move, SEAT_COUNT> move{};
    std::array<int, SEAT_COUNT> gain{};
};

// A reply node's value: its most harmful reply's (`harmful`) plus the share
// of the way up to the race round's (`race`, never below it). Rounded down.
int mixedReply(int harmful, int race) {
    return harmful + int(std::int64_t(RACE_SHARE) * (race - harmful) / 100);
}

// The greatest harmful-reply value whose mixed value, with the race round's
// value `race`, stays at or below `bound`: searching the harmful reply within
// the window the mixed value's bounds give back keeps the cut-offs of
// alpha-beta.
int harmfulBound(int bound, int race) {
    if (bound <= -INFINITE_SCORE / 2) return -INFINITE_SCORE;
    if (bound >= INFINITE_SCORE / 2) return INFINITE_SCORE;
    const std::int64_t num = std::int64_t(100) * bound - std::int64_t(RACE_SHARE) * race;
    const std::int64_t den = 100 - RACE_SHARE;
    const std::int64_t floor = num >= 0 ? num / den : -((-num + den - 1) / den);
    return int(std::clamp<std::int64_t>(floor, -INFINITE_SCORE, INFINITE_SCORE));
}

class Searcher {
public:
    Searcher(const GameState& state, const std::atomic<bool>* stop, std::uint64_t budget)
        : stop_(stop), budget_(budget), table_(std::size_t(1) << TABLE_BITS), history_(CELL_COUNT * CELL_COUNT, 0) {
        board_.load(state);
        root_ = state.currentPlayer;
        for (int seat = 0; seat < SEAT_COUNT; ++seat)
            if (seat != root_ && state.players[seat].plays() && !state.finished[seat]) opponents_.push_back(Seat(seat));
        for (int i = 1; i < SEAT_COUNT; ++i)
            if (const Seat seat = Seat((root_ + i) % SEAT_COUNT); std::find(opponents_.begin(), opponents_.end(), seat) != opponents_.end())
                turnOrder_.push_back(seat);
        replyWidth_ = std::max(MIN_REPLY_WIDTH, REPLIES_PER_OPPONENT * int(opponents_.size()));
        margin_ = state.moveNumber <= VARIETY_ROUNDS ? VARIETY_MARGIN : 0;
        tableAdvances_ = int(opponents_.size()) >= TABLE_ADVANCES_MIN_OPPONENTS;
        for (auto& list : lists_) list.reserve(256);
    }

    // Ranks `moves` (legal root moves), best first; false when stopped.
    bool rank(std::vector<CandidateMove>& moves);

private:
    int search(int depth, int ply, int alpha, int beta, bool rootToMove);
    int searchMove(const Move& m, const Advances* advances, int depth, int ply, int alpha, int beta);
    void scoreMoves(std::vector<Move>& list, int ply, const MoveRef& tableMove) const;
    static const Move& pickNext(std::vector<Move>& list, int index, int count);
    bool outOfBudget() {
        // The race round may count several positions at once, so the poll
        // goes by the positions since the last one, not by a multiple.
        if (nodes_ >= nextPoll_) {
            nextPoll_ = nodes_ + STOP_POLL_INTERVAL;
            if (stop_ && stop_->load(std::memory_order_relaxed)) stopped_ = true;
        }
        if (limited_ && nodes_ >= budget_) aborted_ = true;
        return stopped_ || aborted_;
    }
    int gain(const Move& m) const {
        const auto& row = (*board_.distances)[m.seat];
        return int(row[m.from]) - int(row[m.to]);
    }
    int advance(const Move& m) const {
        if (!tableAdvances_) return gain(m);
        const SeatValueRow& row = SEAT_VALUES[m.seat];
        return row[m.to] - row[m.from];
    }
    // A line the root wins counts more the sooner it ends. A line an opponent
    // wins counts by how far the root is still behind, not by how late it
    // ends: valuing a later loss more made the root stop racing and shuffle
    // pegs in an opponent's way once every line looked lost, and the lines
    // only look lost because every opponent plays its best in them.
    int finishedScore(Seat mover, int ply) const {
        if (mover == root_) return WIN - ply * PLY_WIN_STEP;
        return -WIN - std::min(remainingCost(board_, root_, int(opponents_.size())), PLY_WIN_STEP - 1);
    }
    void findAdvances(const std::vector<Move>& list, Advances& out) const;
    int searchRaceRound(const Advances& advances, int depth, int ply, int alpha, bool& played);
    int playAdvances(const Advances& advances, Seat replying, std::array<Move, SEAT_COUNT>& played, bool& finished);

    const std::atomic<bool>* stop_;
    std::uint64_t budget_;
    std::uint64_t nodes_ = 0;
    std::uint64_t nextPoll_ = 0;
    bool limited_ = false;  // the first iteration always completes
    bool aborted_ = false;
    bool stopped_ = false;
    Board board_;
    Seat root_ = 0;
    std::vector<Seat> opponents_;
    std::vector<Seat> turnOrder_;  // the opponents as they move after the root
    int replyWidth_ = MIN_REPLY_WIDTH;
    int margin_ = 0;  // VARIETY_MARGIN in the opening
    bool tableAdvances_ = false;
    ChainWalk chains_;
    std::vector<TableEntry> table_;
    std::vector<std::int32_t> history_;
    std::array<std::vector<Move>, MAX_PLY> lists_;
    std::vector<Move> raceList_;  // one opponent's moves in the race round
    std::array<std::array<MoveRef, 2>, MAX_PLY> killers_{};
};

void Searcher::scoreMoves(std::vector<Move>& list, int ply, const MoveRef& tableMove) const {
    const auto& killers = killers_[std::size_t(ply)];
    for (Move& m : list) {
        if (tableMove.is(m))
            m.order = INFINITE_SCORE;
        else if (killers[0].is(m))
            m.order = INFINITE_SCORE - 1;
        else if (killers[1].is(m))
            m.order = INFINITE_SCORE - 2;
        else
            m.order = gain(m) * 4096 + std::min(history_[std::size_t(m.from) * CELL_COUNT + m.to], 4095);
    }
}

// Most nodes are cut off after a move or two, so the list is not sorted at
// first: each of the first picks brings the best of the rest forward. A node
// that gets past them will likely search all `count`, and the opponents' lists
// run to hundreds of moves, so the rest of its choice is sorted at once. Ties
// go to the lower holes, so the order is fixed by the list alone.
const Move& Searcher::pickNext(std::vector<Move>& list, int index, int count) {
    auto before = [](const Move& a, const Move& b) {
        if (a.order != b.order) return a.order > b.order;
        if (a.from != b.from) return a.from < b.from;
        return a.to < b.to;
    };
    const auto at = list.begin() + index;
    if (index < LAZY_PICKS) {
        std::iter_swap(at, std::min_element(at, list.end(), before));
    } else if (index == LAZY_PICKS) {
        const auto end = list.begin() + count;
        std::nth_element(at, end, list.end(), before);
        std::sort(at, end, before);
    }
    return *at;
}

// Each opponent's most advancing move in `list`: of equal advances the one
// that gains more steps, then the first.
void Searcher::findAdvances(const std::vector<Move>& list, Advances& out) const {
    out.gain.fill(0);
    out.move.fill(Move{});
    std::array<int, SEAT_COUNT> steps{};
    for (const Move& m : list) {
        const int a = advance(m);
        const int g = gain(m);
        if (a > out.gain[m.seat] || (a > 0 && a == out.gain[m.seat] && g > steps[m.seat])) {
            out.gain[m.seat] = a;
            steps[m.seat] = g;
            out.move[m.seat] = m;
        }
    }
}

// The race round: every opponent in turn order makes its most advancing move
// on the board as the ones before it left it, and the root moves next. Taking
// them in turn, each on the board it will see, and not all on the board of
// the node, is what makes the round look as the game will: a peg the root
// means to jump over may be the one an opponent before it moves away, and a
// move one opponent makes opens or closes the jumps of the next. Returns the
// value of that line; `played` is false when nobody could advance.
int Searcher::searchRaceRound(const Advances& advances, int depth, int ply, int alpha, bool& played) {
    std::array<Move, SEAT_COUNT> moves{};
    int count = 0;
    bool finished = false;
    for (const Seat o : turnOrder_) {
        // Until one of them has moved, the node's own list still holds.
        Advances fresh;
        const Advances* own = &advances;
        if (count > 0) {
            raceList_.clear();
            appendMoves(board_, o, raceList_, chains_);
            findAdvances(raceList_, fresh);
            own = &fresh;
            nodes_ += RACE_LISTING_NODES;
        }
        if (own->gain[o] <= 0) continue;
        moves[std::size_t(count++)] = own->move[o];
        board_.make(own->move[o]);
        if (board_.finished(o)) {
            finished = true;
            break;
        }
    }
    played = count > 0;
    int value = 0;
    if (played) {
        ++nodes_;
        if (finished)
            value = finishedScore(moves[std::size_t(count - 1)].seat, ply);
        else if (!outOfBudget())
            value = search(depth - 1, ply + 1, alpha, INFINITE_SCORE, true);
    }
    while (count > 0) board_.unmake(moves[std::size_t(--count)]);
    return value;
}

// Plays, after the reply of `replying`, the most advancing move of every other
// opponent where its start is still its own and its end still empty. A jump
// whose chain the reply broke is played all the same: the search only needs
// the board to look as it soon will. Stops at a move that finishes its seat,
// with `finished` set. Returns how many moves it played, into `played`.
int Searcher::playAdvances(const Advances& advances, Seat replying, std::array<Move, SEAT_COUNT>& played, bool& finished) {
    int count = 0;
    for (const Seat o : opponents_) {
        const Move& m = advances.move[o];
        if (o == replying || advances.gain[o] <= 0) continue;
        if (board_.occupancy[m.from] != o || board_.occupancy[m.to] != NO_PEG) continue;
        board_.make(m);
        played[std::size_t(count++)] = m;
        if (board_.finished(o)) {
            finished = true;
            break;
        }
    }
    return count;
}

int Searcher::search(int depth, int ply, int alpha, int beta, bool rootToMove) {
    if (depth <= 0 || ply >= MAX_PLY - 1) return evaluate(board_, root_, opponents_);

    const std::uint64_t key = board_.key ^ (rootToMove ? 0 : OPPONENTS_KEY);
    TableEntry& entry = table_[key & ((std::size_t(1) << TABLE_BITS) - 1)];
    MoveRef tableMove;
    if (entry.key == key && entry.bound != Bound::None) {
        tableMove = {entry.from, entry.to};
        if (entry.depth >= depth) {
            if (entry.bound == Bound::Exact) return entry.value;
            if (entry.bound == Bound::Lower && entry.value >= beta) return entry.value;
            if (entry.bound == Bound::Upper && entry.value <= alpha) return entry.value;
        }
    }

    std::vector<Move>& list = lists_[std::size_t(ply)];
    list.clear();
    if (rootToMove)
        appendMoves(board_, root_, list, chains_);
    else
        for (const Seat o : opponents_) appendMoves(board_, o, list, chains_);
    // Nobody of this side can move: the other side moves again.
    if (list.empty()) return search(depth - 1, ply + 1, alpha, beta, !rootToMove);

    scoreMoves(list, ply, tableMove);
    const int count = std::min(int(list.size()), rootToMove ? OWN_WIDTH : replyWidth_);

    Advances advances;
    if (!rootToMove) findAdvances(list, advances);

    const int alphaIn = alpha;
    const int betaIn = beta;
    int best = rootToMove ? -INFINITE_SCORE : INFINITE_SCORE;
    MoveRef bestMove;
    // The race round first. Only its value above alpha matters, since the
    // mixed value never exceeds it.
    std::optional<int> race;
    if (!rootToMove && int(opponents_.size()) >= RACE_MIN_OPPONENTS) {
        bool played = false;
        const int value = searchRaceRound(advances, depth, ply, alpha, played);
        if (stopped_ || aborted_) return 0;
        if (played) {
            best = value;
            if (value > alpha) {
                race = value;
                alpha = harmfulBound(alpha, value);
                beta = std::min(harmfulBound(beta, value) + 1, value);
            } else {
                beta = alpha;  // cut off: the mixed value cannot rise above it
            }
        }
    }
    for (int i = 0; i < count && alpha < beta; ++i) {
        const Move m = pickNext(list, i, count);
        if (i >= BACKWARD_KEPT && gain(m) < 0) break;
        const int value = searchMove(m, rootToMove ? nullptr : &advances, depth, ply, alpha, beta);
        if (stopped_ || aborted_) return 0;

        const bool better = rootToMove ? value > best : value < best;
        if (!better) continue;
        best = value;
        bestMove = {m.from, m.to};
        if (rootToMove)
            alpha = std::max(alpha, value);
        else
            beta = std::min(beta, value);
        if (alpha >= beta) {
            auto& k = killers_[std::size_t(ply)];
            if (!k[0].is(m)) {
                k[1] = k[0];
                k[0] = bestMove;
            }
            std::int32_t& h = history_[std::size_t(m.from) * CELL_COUNT + m.to];
            h = std::min(h + depth * depth, 1 << 20);
            break;
        }
    }

    if (race) best = mixedReply(best, *race);
    entry.key = key;
    entry.value = best;
    entry.depth = std::int8_t(depth);
    entry.bound = best <= alphaIn ? Bound::Upper : best >= betaIn ? Bound::Lower : Bound::Exact;
    entry.from = bestMove.from;
    entry.to = bestMove.to;
    return best;
}

// Makes `m` and, in a reply node, the other opponents' advances after it,
// and searches on from there.
int Searcher::searchMove(const Move& m, const Advances* advances, int depth, int ply, int alpha, int beta) {
    board_.make(m);
    ++nodes_;
    std::array<Move, SEAT_COUNT> others{};
    int othersPlayed = 0;
    bool finished = board_.finished(m.seat);
    if (!finished && advances) othersPlayed = playAdvances(*advances, m.seat, others, finished);
    int value = 0;
    if (finished)
        value = finishedScore(othersPlayed > 0 ? others[std::size_t(othersPlayed - 1)].seat : m.seat, ply);
    else if (!outOfBudget())
        value = search(depth - 1, ply + 1, alpha, beta, m.seat != root_);
    while (othersPlayed > 0) board_.unmake(others[std::size_t(--othersPlayed)]);
    board_.unmake(m);
    return value;
}

bool Searcher::rank(std::vector<CandidateMove>& moves) {
    const int n = int(moves.size());
    std::vector<Move> rootList;
    for (const CandidateMove& c : moves) {
        const CellIndex from = board_.pegs[root_][c.pegIndex];
        rootList.push_back({from, c.finalHole(), c.pegIndex, root_, 0});
    }
    // First by the distance gained, then as listed.
    std::vector<int> order(std::size_t(n), 0);
    for (int i = 0; i < n; ++i) order[std::size_t(i)] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return gain(rootList[std::size_t(a)]) > gain(rootList[std::size_t(b)]); });
    std::vector<int> scores(std::size_t(n), -INFINITE_SCORE);
    int drawn = 0;  // how many of the first in `order` may be drawn; 0: as the scores say

    for (int depth = 1; depth <= MAX_DEPTH && n > 1; ++depth) {
        limited_ = depth > 1;
        std::vector<int> iteration(std::size_t(n), -INFINITE_SCORE);
        int alpha = -INFINITE_SCORE;
        int completed = 0;
        for (const int i : order) {
            const Move& m = rootList[std::size_t(i)];
            board_.make(m);
            ++nodes_;
            int value = 0;
            if (board_.finished(root_)) {
                value = finishedScore(root_, 0);
            } else if (!outOfBudget()) {
                // The first move with a full window, the rest only to see
                // whether they come within the margin of it.
                const int bonus = ROOT_GAIN_BONUS * gain(m);
                const int bar = alpha == -INFINITE_SCORE ? alpha : alpha - margin_ - 1 - bonus;
                value = search(depth - 1, 1, completed == 0 ? -INFINITE_SCORE : bar, completed == 0 ? INFINITE_SCORE : bar + 1, false);
                if (completed > 0 && value > bar && !stopped_ && !aborted_) value = search(depth - 1, 1, bar, INFINITE_SCORE, false);
                value += bonus;
            }
            board_.unmake(m);
            if (stopped_) return false;
            if (aborted_) break;
            iteration[std::size_t(i)] = value;
            alpha = std::max(alpha, value);
            ++completed;
        }
        if (completed == 0) break;
        // An iteration cut short keeps the order of the last complete one,
        // except that a move proven better than the old best goes first.
        if (aborted_) {
            const int oldBest = order.front();
            int newBest = oldBest;
            for (int j = 1; j < completed; ++j) {
                const int i = order[std::size_t(j)];
                if (iteration[std::size_t(i)] > iteration[std::size_t(newBest)]) newBest = i;
            }
            if (newBest != oldBest) {
                order.erase(std::find(order.begin(), order.end(), newBest));
                order.insert(order.begin(), newBest);
                drawn = 1;
            }
            break;
        }
        scores = iteration;
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return scores[std::size_t(a)] > scores[std::size_t(b)]; });
        if (scores[std::size_t(order.front())] >= WIN - MAX_PLY * PLY_WIN_STEP) break;  // a sure win
        if (nodes_ >= budget_) break;
    }

    if (drawn == 0) {
        const int best = scores[std::size_t(order.front())];
        while (drawn < n && (best == -INFINITE_SCORE ? drawn == 0 : scores[std::size_t(order[std::size_t(drawn)])] >= best - margin_))
            ++drawn;
    }
    std::vector<CandidateMove> ranked;
    ranked.reserve(moves.size());
    for (int j = n - 1; j >= 0; --j) {
        const int i = order[std::size_t(j)];
        CandidateMove c = moves[std::size_t(i)];
        c.value = scores[std::size_t(i)] == -INFINITE_SCORE ? 0 : scores[std::size_t(i)];
        c.score = j < drawn ? 1 : 0;
        ranked.push_back(c);
    }
    moves = std::move(ranked);
    return true;
}

// In the end race: when at most END_RACE_PEGS of the root's pegs are outside
// its target (END_RACE_PEGS_ALONE against `opponents` = 1) and a shortest finish is found, ranks `moves` by it, the moves
// that start one last (all of them may be drawn) and the rest before them by
// the steps they gain. False, with `moves` untouched, otherwise.
bool rankEndRace(Board& board, Seat root, int opponents, std::vector<CandidateMove>& moves) {
    const auto& target = START_CELLS[OPPOSITE_SEAT[root]];
    std::array<bool, CELL_COUNT> inTarget{};
    for (int k = 0; k < board.pegCount; ++k) inTarget[target[std::size_t(k)]] = true;
    int outside = 0;
    for (int k = 0; k < board.pegCount; ++k) outside += inTarget[board.pegs[root][k]] ? 0 : 1;
    if (outside == 0 || outside > (opponents == 1 ? END_RACE_PEGS_ALONE : END_RACE_PEGS)) return false;
    std::vector<Move> first;
    if (shortestFinish(board, root, SHORTEST_FINISH_MAX_MOVES, END_RACE_NODES, &first) < 0 || first.empty()) return false;
    const auto& steps = (*board.distances)[root];
    const auto keyOf = [&](const CandidateMove& c) {
        const CellIndex from = board.pegs[root][c.pegIndex];
        const bool starts = std::any_of(first.begin(), first.end(), [&](const Move& m) { return m.from == from && m.to == c.finalHole(); });
        return std::make_pair(starts, int(steps[from]) - int(steps[c.finalHole()]));
    };
    std::stable_sort(moves.begin(), moves.end(), [&](const CandidateMove& a, const CandidateMove& b) { return keyOf(a) < keyOf(b); });
    for (CandidateMove& c : moves) {
        const auto [starts, gained] = keyOf(c);
        c.score = starts ? 1 : 0;
        c.value = gained;
    }
    return true;
}

}  // namespace
}  // namespace strong

int drawStrongMove(std::span<const CandidateMove> ranked, Random& random) {
    int last = int(ranked.size()) - 1;
    int count = 0;
    while (count <= last && ranked[std::size_t(last - count)].score != 0) ++count;
    return count <= 1 ? last : last - int(random.below(std::uint32_t(count)));
}

bool searchStrongMove(const GameState& state, const Settings&, std::vector<CandidateMove>& ranked,
                      const std::atomic<bool>* stop, const StrongBudget& budget) {
    ranked.clear();
    if (stop && stop->load(std::memory_order_relaxed)) return false;
    strong::Board board;
    board.load(state);
    strong::rootMoves(board, state.currentPlayer, ranked);
    if (ranked.empty()) return false;
    int opponents = 0;
    for (int seat = 0; seat < SEAT_COUNT; ++seat)
        opponents += seat != state.currentPlayer && state.players[seat].plays() && !state.finished[seat];
    if (strong::rankEndRace(board, state.currentPlayer, opponents, ranked)) return true;
    strong::Searcher searcher(state, stop, budget.nodes);
    if (!searcher.rank(ranked)) {
        ranked.clear();
        return false;
    }
    return true;
}

}  // namespace vexel
