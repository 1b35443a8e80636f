// The search as a whole: set-up, the generation of every legal move, the
// choice of scoring pass by level and phase, the sort and the random choice
// among the best.
#include "search.h"

#include "board.h"
#include "moves.h"

#include <algorithm>

namespace vexel {

namespace {

std::array<HoleSet, CELL_COUNT> makeJumpReach() {
    std::array<HoleSet, CELL_COUNT> reach{};
    for (int h = 0; h < CELL_COUNT; ++h) {
        for (int d = 0; d < DIRECTION_COUNT; ++d) {
            const CellIndex n = NEIGHBOURS[h][d];
            if (n == NO_PEG) continue;
            reach[h].add(n);
            if (const CellIndex l = NEIGHBOURS[n][d]; l != NO_PEG) reach[h].add(l);
        }
    }
    return reach;
}

}  // namespace

const std::array<HoleSet, CELL_COUNT> JUMP_REACH = makeJumpReach();

// ---------------------------------------------------------------------------
// Set-up

bool ComputerPlayer::Search::prepare(const GameState& state, const Settings& settings) {
    seat_ = state.currentPlayer;
    pegCount_ = state.pegsPerPlayer;
    // A state that names no seat or holes off the board has nothing to search.
    if (seat_ >= SEAT_COUNT || pegCount_ < 1 || pegCount_ > MAX_PEGS) return false;
    for (int k = 0; k < pegCount_; ++k) {
        cells_[k] = state.pegs[seat_][k].cell;
        if (cells_[k] >= CELL_COUNT) return false;
    }
    occupancy_ = state.occupancy;
    rules_ = state.rules;
    row_ = &SEAT_VALUES[seat_];
    valueBefore_ = positionValue(state);
    perfect_ = perfectTotal(pegCount_);
    takingPart_ = int(std::count_if(settings.playerSettings.begin(), settings.playerSettings.end(),
                                    [](const PlayerSlot& p) { return p.plays(); }));
    return true;
}

int ComputerPlayer::Search::run(const GameState& state, const Settings& settings, Random& random,
                                std::vector<CandidateMove>& pool, std::vector<CandidateMove*>& ranked) {
    ranked.clear();
    if (!prepare(state, settings)) return -1;
    pool_ = &pool;
    ranked_ = &ranked;
    count_ = 0;
    replyKnown_.nextRound();

    generateSteps();
    generateJumps();
    if (count_ == 0) return -1;
    // The pool no longer grows from here on, so pointers into it stay valid.
    for (std::size_t i = 0; i < count_; ++i) ranked.push_back(&pool[i]);

    scoreCandidates(state, settings);
    sortByScore(0, int(ranked.size()) - 1);
    return choose(random);
}

void ComputerPlayer::Search::scoreCandidates(const GameState& state, const Settings& settings) {
    const int level = settings.playerSettings[seat_].level;
    switch (levelRule(level, isEndPhase(state), isOpening(state, takingPart_))) {
        case Scoring::Plain:
            for (CandidateMove* c : *ranked_) c->score = c->value;
            break;
        case Scoring::Reply:
            scoreReplies(state, settings);
            break;
        case Scoring::ReplyAndLookAhead1:
            scoreReplies(state, settings);
            lookAhead(1);
            break;
        case Scoring::LookAhead2:
            lookAhead(2);
            break;
    }
}

// ---------------------------------------------------------------------------
// Generation

CandidateMove& ComputerPlayer::Search::newCandidate(int peg, std::int32_t value) {
    std::vector<CandidateMove>& pool = *pool_;
    if (count_ == pool.size()) pool.emplace_back();
    CandidateMove& c = pool[count_++];
    c.pegIndex = std::uint8_t(peg);
    c.value = value;
    c.followGain1 = 0;
    c.followGain2 = 0;
    c.score = 0;
    return c;
}

void ComputerPlayer::Search::generateSteps() {
    const SeatValueRow& row = *row_;
    for (int k = 0; k < pegCount_; ++k) {
        const CellIndex from = cells_[k];
        for (int d = 0; d < DIRECTION_COUNT; ++d) {
            const CellIndex to = NEIGHBOURS[from][d];
            if (to == NO_PEG) continue;
            if (occupancy_[to] != NO_PEG && !swapAllowed(occupancy_, seat_, to, pegCount_, rules_)) continue;
            CandidateMove& c = newCandidate(k, valueBefore_ - row[from] + row[to]);
            c.landings[0] = to;
            c.lastLanding = 0;
        }
    }
}

void ComputerPlayer::Search::generateJumps() {
    for (int k = 0; k < pegCount_; ++k) {
        hasFirst_.nextRound();
        chainLast_ = -1;
        // The peg stays on its hole while its chains are walked, so no chain
        // comes back to it.
        walkChains(k, cells_[k], valueBefore_ - (*row_)[cells_[k]]);
    }
}

// Every landing is recorded unless this peg already reaches it by a chain as
// short. A shorter chain to a known hole is handed to the first candidate that
// ends there and is listed once more, so the move may stand twice and takes
// both places in the draw among equal best moves.
void ComputerPlayer::Search::walkChains(int peg, CellIndex from, std::int32_t startValue) {
    for (int d = 0; d < DIRECTION_COUNT; ++d) {
        CellIndex to = ruleJumpLanding(occupancy_, from, d, rules_);
        // A swap can only be the last landing of a chain.
        bool swap = false;
        if (to == NO_PEG && rules_.swapInTarget) {
            to = ruleJumpOntoPeg(occupancy_, from, d, rules_);
            swap = to != NO_PEG && swapAllowed(occupancy_, seat_, to, pegCount_, rules_);
            if (!swap) continue;
        }
        if (to == NO_PEG) continue;

        chain_[++chainLast_] = to;
        const std::size_t length = std::size_t(chainLast_) + 1;
        if (hasFirst_.has(to)) {
            CandidateMove& first = (*pool_)[std::size_t(firstFor_[to])];
            if (first.lastLanding <= chainLast_) {
                --chainLast_;
                continue;
            }
            std::copy_n(chain_.begin(), length, first.landings.begin());
            first.lastLanding = std::uint8_t(chainLast_);
        } else {
            hasFirst_.set(to);
            firstFor_[to] = std::int32_t(count_);
        }
        CandidateMove& c = newCandidate(peg, startValue + (*row_)[to]);
        std::copy_n(chain_.begin(), length, c.landings.begin());
        c.lastLanding = std::uint8_t(chainLast_);

        if (!swap) walkChains(peg, to, startValue);
        --chainLast_;
    }
}

// ---------------------------------------------------------------------------
// Ranking

// Quicksort by score, ascending, partitioning round the middle entry's score.
// Which of several tied candidates ends up where follows from this exact
// procedure, and with it which move the draw among equals can pick.
void ComputerPlayer::Search::sortByScore(int l, int r) {
    std::vector<CandidateMove*>& a = *ranked_;
    while (l < r) {
        const std::int32_t pivot = a[std::size_t((l + r) / 2)]->score;
        int i = l, j = r;
        do {
            while (a[std::size_t(i)]->score < pivot) ++i;
            while (a[std::size_t(j)]->score > pivot) --j;
            if (i <= j) {
                std::swap(a[std::size_t(i)], a[std::size_t(j)]);
                ++i;
                --j;
            }
        } while (i <= j);
        if (l < j) sortByScore(l, j);
        l = i;  // then i..r, without growing the stack
    }
}

// One of the entries sharing the highest score, each equally likely.
int ComputerPlayer::Search::choose(Random& random) const {
    const std::vector<CandidateMove*>& a = *ranked_;
    const int last = int(a.size()) - 1;
    int first = last;
    while (first > 0 && a[std::size_t(first - 1)]->score == a[std::size_t(last)]->score) --first;
    return first + int(random.below(std::uint32_t(last - first + 1)));
}

}  // namespace vexel
