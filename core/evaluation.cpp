// The value table and the level rules. Seat 0's row is written out; the other
// five are turned from it about the centre hole, so that every seat sees the
// board the same way from its own home point.
#include "evaluation.h"

#include "board.h"

#include <algorithm>
#include <cmath>

namespace vexel {

namespace {

// Seat 0: home at the top point (low values), target at the bottom point.
// Board row 11 is deliberately not mirror-symmetric (hole 86 1000, hole 97 1100).
constexpr SeatValueRow SEAT0_VALUES = {
    -700,                                                                    // row 0
    100, 100,                                                                // row 1
    500, 500, 500,                                                           // row 2
    700, 700, 700, 700,                                                      // row 3
    300, 600, 700, 800, 900, 900, 900, 900, 900, 800, 700, 600, 300,         // row 4
    350, 720, 850, 920, 1100, 1100, 1100, 1100, 920, 850, 720, 350,          // row 5
    800, 900, 950, 1250, 1250, 1250, 1250, 1250, 950, 900, 800,              // row 6
    950, 1100, 1200, 1400, 1400, 1400, 1400, 1200, 1100, 950,                // row 7
    1250, 1300, 1550, 1550, 1550, 1550, 1550, 1300, 1250,                    // row 8
    1300, 1500, 1600, 1650, 1650, 1650, 1650, 1600, 1500, 1300,              // row 9
    1200, 1500, 1600, 1750, 1750, 1750, 1750, 1750, 1600, 1500, 1200,        // row 10
    1000, 1300, 1520, 1850, 1850, 1850, 1850, 1850, 1850, 1520, 1300, 1100,  // row 11
    800, 1100, 1320, 1800, 1900, 1900, 1900, 1900, 1900, 1800, 1320, 1100, 800,  // row 12
    1950, 1950, 1950, 1950,                                                  // row 13
    2000, 2000, 2000,                                                        // row 14
    2050, 2050,                                                              // row 15
    2200,                                                                    // row 16
};

// A sixth of a turn clockwise about hole 60. The turn keeps the centre and
// turns every direction one step clockwise, so walking outward from the centre
// over the neighbour relation carries each hole to its image.
std::array<CellIndex, CELL_COUNT> makeSixthTurn() {
    std::array<CellIndex, CELL_COUNT> turn;
    turn.fill(NO_PEG);
    std::array<CellIndex, CELL_COUNT> queue{};
    int head = 0, tail = 0;
    turn[CENTRE_CELL] = CENTRE_CELL;
    queue[tail++] = CENTRE_CELL;
    while (head < tail) {
        const CellIndex h = queue[head++];
        for (int d = 0; d < DIRECTION_COUNT; ++d) {
            const CellIndex n = NEIGHBOURS[h][d];
            if (n == NO_PEG || turn[n] != NO_PEG) continue;
            turn[n] = NEIGHBOURS[turn[h]][(d + 1) % DIRECTION_COUNT];
            queue[tail++] = n;
        }
    }
    return turn;
}

std::array<SeatValueRow, SEAT_COUNT> makeSeatValues() {
    const auto turn = makeSixthTurn();
    std::array<SeatValueRow, SEAT_COUNT> values{};
    values[0] = SEAT0_VALUES;
    // image[h] = turn_k(h), built up one sixth at a time.
    std::array<CellIndex, CELL_COUNT> image;
    for (int h = 0; h < CELL_COUNT; ++h) image[h] = CellIndex(h);
    for (int k = 1; k < SEAT_COUNT; ++k) {
        for (auto& c : image) c = turn[c];
        for (int h = 0; h < CELL_COUNT; ++h) values[k][image[h]] = SEAT0_VALUES[h];
    }
    return values;
}

}  // namespace

// NEIGHBOURS is constant-initialised, so it is complete before this runs.
const std::array<SeatValueRow, SEAT_COUNT> SEAT_VALUES = makeSeatValues();

std::int32_t nearest(double x) {
    const double below = std::floor(x);
    const double rest = x - below;
    double result = below;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(below, 2.0) != 0.0)) result = below + 1.0;
    return std::int32_t(result);
}

std::int32_t positionValue(const GameState& state) {
    const SeatValueRow& row = SEAT_VALUES[state.currentPlayer];
    const auto& pegs = state.pegs[state.currentPlayer];
    std::int32_t sum = 0;
    for (int k = 0; k < state.pegsPerPlayer; ++k) sum += row[pegs[k].cell];
    return sum;
}

std::int32_t perfectTotal(int pegsPerPlayer) {
    // The same for every seat, since the rows are turns of one another.
    const auto& target = START_CELLS[OPPOSITE_SEAT[0]];
    std::int32_t sum = 0;
    for (int i = 0; i < std::min(pegsPerPlayer, MAX_PEGS); ++i) sum += SEAT_VALUES[0][target[i]];
    return sum;
}

namespace {

int pegsOn(const GameState& state, const std::array<CellIndex, MAX_PEGS>& cells) {
    int count = 0;
    for (int i = 0; i < std::min<int>(state.pegsPerPlayer, MAX_PEGS); ++i)
        if (state.occupancy[cells[i]] == state.currentPlayer) ++count;
    return count;
}

}  // namespace

int pegsOnTarget(const GameState& state) { return pegsOn(state, START_CELLS[OPPOSITE_SEAT[state.currentPlayer]]); }
int pegsAtHome(const GameState& state) { return pegsOn(state, START_CELLS[state.currentPlayer]); }

bool isEndPhase(const GameState& state) {
    // At least 11 of 15, or 7 of 10.
    return pegsOnTarget(state) > nearest(0.7 * (state.pegsPerPlayer - 1));
}

bool isOpening(const GameState& state, int takingPartCount) {
    // At most one peg has left home, in a game of three seats or fewer.
    return takingPartCount <= 3 && pegsAtHome(state) > state.pegsPerPlayer - 2;
}

std::int32_t replyScore(std::int32_t value, std::int32_t valueBefore, std::int32_t replyGain, int takingPartCount) {
    // One seat alone (the players dialog can leave that mid-game) has nobody to
    // answer it, and the share 1 / (count - 1) would not exist.
    if (takingPartCount <= 1) return value - valueBefore;
    const double factor = 1.0 / double(takingPartCount - 1);
    return value - valueBefore - nearest(double(replyGain) * factor);
}

std::int32_t lookAheadBonus1(std::int32_t followGain1, int takingPartCount) {
    return followGain1 / (2 * std::max(takingPartCount, 1));
}

std::int32_t lookAheadBonus2(std::int32_t followGain1, std::int32_t followGain2) {
    return nearest(double(nearest(0.8 * double(followGain2)) + followGain1) * 0.6);
}

Scoring levelRule(int level, bool endPhase, bool opening) {
    if (endPhase) return Scoring::LookAhead2;
    switch (std::clamp(level, 0, 2)) {
        case 0: return opening ? Scoring::LookAhead2 : Scoring::ReplyAndLookAhead1;
        case 1: return opening ? Scoring::LookAhead2 : Scoring::Reply;
        default: return Scoring::Plain;
    }
}

}  // namespace vexel
