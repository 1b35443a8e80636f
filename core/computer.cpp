// The computer player's face to the game: one search per turn, the list it
// leaves behind for the game to enter the chosen move from, and its release.
#include "computer.h"

#include "pegkeys.h"
#include "search.h"
#include "strongsearch.h"

namespace vexel {

ComputerPlayer::ComputerPlayer(GameState& state, const Settings& settings, Random& random)
    : state_(state), settings_(settings), random_(random), search_(std::make_unique<Search>()) {}

ComputerPlayer::~ComputerPlayer() = default;

bool ComputerPlayer::searchComputerMove() {
    if (settings_.playerSettings[state_.currentPlayer].level == STRONG_LEVEL) {
        if (!searchStrongMove(state_, settings_, pool_)) return false;
        adoptRanking();
    } else {
        chosenCandidate_ = search_->run(state_, settings_, random_, pool_, ranked_);
        if (chosenCandidate_ < 0) return false;
    }
    keepOutOfLoops();
    return true;
}

void ComputerPlayer::adoptSearchedMoves(std::span<const CandidateMove> ranked) {
    pool_.assign(ranked.begin(), ranked.end());
    adoptRanking();
    keepOutOfLoops();
}

namespace {

constexpr PegKeys PEG_KEYS = makePegKeys(0x5645'5845'4C00'0001ULL);

}  // namespace

// Read from the pegs of the seats that play, a few dozen lookups, rather than
// from all 121 holes.
std::uint64_t positionKey(const GameState& s) {
    std::uint64_t key = 0;
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        if (!s.players[seat].plays()) continue;
        for (int k = 0; k < s.pegsPerPlayer && k < MAX_PEGS; ++k)
            if (const CellIndex c = s.pegs[seat][k].cell; c < CELL_COUNT) key ^= PEG_KEYS[c][seat];
    }
    return key;
}

// Left to the ranking alone, two seats can answer each other's moves for ever:
// walls of pegs facing each other while each seat shuffles one peg to and fro,
// or a peg hemmed in on a target whose owner keeps waiting for the hole. A seat
// that may never bring back a position of its own has to try something else
// sooner or later, and there are only so many positions. Moves that lead
// somewhere new are chosen exactly as before, draw included.
void ComputerPlayer::keepOutOfLoops() {
    GameState& s = state_;
    const Seat seat = s.currentPlayer;
    if (s.players[seat].kind != PlayerKind::Computer) return;  // a human seat may repeat as often as it likes
    const std::uint64_t before = positionKey(s);
    const auto keyAfter = [&](const CandidateMove& m) {
        const CellIndex from = s.pegs[seat][m.pegIndex].cell, to = m.finalHole();
        std::uint64_t key = before ^ PEG_KEYS[from][seat] ^ PEG_KEYS[to][seat];
        // A swap moves the home seat's peg from the final hole to the start.
        if (const Seat other = s.occupancy[to]; other < SEAT_COUNT) key ^= PEG_KEYS[to][other] ^ PEG_KEYS[from][other];
        return key;
    };
    std::uint64_t key = keyAfter(chosen());
    if (s.producedPositions.contains(seat, key)) {
        for (int i = int(ranked_.size()) - 1; i >= 0; --i) {
            const std::uint64_t other = keyAfter(*ranked_[std::size_t(i)]);
            if (!s.producedPositions.contains(seat, other)) {
                chosenCandidate_ = i;
                key = other;
                break;
            }
        }
    }
    s.producedPositions.insert(seat, key);
}

void ComputerPlayer::adoptRanking() {
    ranked_.clear();
    for (CandidateMove& m : pool_) ranked_.push_back(&m);
    chosenCandidate_ = drawStrongMove(pool_, random_);
}

std::span<const CandidateMove* const> ComputerPlayer::candidates() const { return ranked_; }

const CandidateMove& ComputerPlayer::chosen() const { return *ranked_.at(std::size_t(chosenCandidate_)); }

void ComputerPlayer::releaseCandidates() {
    ranked_.clear();
    chosenCandidate_ = -1;
}

}  // namespace vexel
