// The strongest level's board and move lists: make and unmake keep the
// distance sums and the Zobrist key up to date by the difference of one peg.
#include "board.h"
#include "pegkeys.h"
#include "strongboard.h"

namespace vexel::strong {

namespace {

constexpr PegKeys PEG_KEYS = makePegKeys(0x5354'524F'4E47'0001ULL);

}  // namespace

void ChainWalk::walk(const std::array<CellIndex, CELL_COUNT>& occupancy, CellIndex start) {
    for (int i = 0; i < count; ++i) seen[queue[i]] = false;
    count = 0;
    seen[start] = true;  // the peg stands there while it jumps
    int head = -1;
    CellIndex from = start;
    for (;;) {
        for (int d = 0; d < DIRECTION_COUNT; ++d) {
            const CellIndex to = openJump(occupancy, from, d);
            if (to == NO_PEG || seen[to]) continue;
            seen[to] = true;
            parent[to] = from;
            queue[count++] = to;
        }
        if (++head >= count) break;
        from = queue[head];
    }
    seen[start] = false;
}

void Board::load(const GameState& state) {
    occupancy = state.occupancy;
    rules = state.rules;
    pegCount = state.pegsPerPlayer;
    finishedSum = finishedDistanceSum(pegCount);
    key = 0;
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        distanceSum[seat] = 0;
        pegs[seat].fill(NO_PEG);
        if (!state.players[seat].plays()) continue;
        for (int k = 0; k < pegCount; ++k) {
            const CellIndex c = state.pegs[seat][k].cell;
            pegs[seat][k] = c;
            if (c >= CELL_COUNT) continue;
            distanceSum[seat] += (*distances)[seat][c];
            key ^= PEG_KEYS[c][seat];
        }
    }
}

void Board::make(const Move& m) {
    const CellIndex swapped = rules.swapInTarget ? occupancy[m.to] : NO_PEG;
    const auto& row = (*distances)[m.seat];
    occupancy[m.from] = NO_PEG;
    occupancy[m.to] = m.seat;
    pegs[m.seat][m.peg] = m.to;
    distanceSum[m.seat] += row[m.to] - row[m.from];
    key ^= PEG_KEYS[m.from][m.seat] ^ PEG_KEYS[m.to][m.seat];
    if (swapped != NO_PEG) moveSwapped(swapped, m.to, m.from);
}

void Board::unmake(const Move& m) {
    const CellIndex swapped = rules.swapInTarget ? occupancy[m.from] : NO_PEG;
    const auto& row = (*distances)[m.seat];
    occupancy[m.to] = NO_PEG;
    occupancy[m.from] = m.seat;
    pegs[m.seat][m.peg] = m.from;
    distanceSum[m.seat] -= row[m.to] - row[m.from];
    key ^= PEG_KEYS[m.from][m.seat] ^ PEG_KEYS[m.to][m.seat];
    if (swapped != NO_PEG) moveSwapped(swapped, m.from, m.to);
}

void Board::moveSwapped(Seat seat, CellIndex at, CellIndex to) {
    for (int k = 0; k < pegCount; ++k) {
        if (pegs[seat][k] != at) continue;
        pegs[seat][k] = to;
        occupancy[to] = seat;
        distanceSum[seat] += (*distances)[seat][to] - (*distances)[seat][at];
        key ^= PEG_KEYS[at][seat] ^ PEG_KEYS[to][seat];
        return;
    }
}

void appendMoves(const Board& board, Seat seat, std::vector<Move>& out, ChainWalk& chains) {
    if (!board.rules.classic()) return appendRuleMoves(board, seat, out, chains);
    for (int k = 0; k < board.pegCount; ++k) {
        const CellIndex from = board.pegs[seat][k];
        if (from >= CELL_COUNT) continue;
        for (int d = 0; d < DIRECTION_COUNT; ++d) {
            const CellIndex to = NEIGHBOURS[from][d];
            if (to != NO_PEG && board.occupancy[to] == NO_PEG) out.push_back({from, to, std::uint8_t(k), seat, 0});
        }
        chains.walk(board.occupancy, from);
        for (int i = 0; i < chains.count; ++i) out.push_back({from, chains.queue[i], std::uint8_t(k), seat, 0});
    }
}

void rootMoves(const Board& board, Seat seat, std::vector<CandidateMove>& out) {
    if (!board.rules.classic()) return rootRuleMoves(board, seat, out);
    ChainWalk chains;
    for (int k = 0; k < board.pegCount; ++k) {
        const CellIndex from = board.pegs[seat][k];
        if (from >= CELL_COUNT) continue;
        for (int d = 0; d < DIRECTION_COUNT; ++d) {
            const CellIndex to = NEIGHBOURS[from][d];
            if (to == NO_PEG || board.occupancy[to] != NO_PEG) continue;
            CandidateMove& m = out.emplace_back();
            m.pegIndex = std::uint8_t(k);
            m.landings[0] = to;
            m.lastLanding = 0;
        }
        chains.walk(board.occupancy, from);
        for (int i = 0; i < chains.count; ++i) {
            // Breadth first, so the chain back to the start is a shortest one
            // and far shorter than the room for landings.
            std::array<CellIndex, MAX_CHAIN> reversed{};
            int length = 0;
            for (CellIndex c = chains.queue[i]; c != from; c = chains.parent[c]) reversed[std::size_t(length++)] = c;
            CandidateMove& m = out.emplace_back();
            m.pegIndex = std::uint8_t(k);
            for (int j = 0; j < length; ++j) m.landings[std::size_t(j)] = reversed[std::size_t(length - 1 - j)];
            m.lastLanding = std::uint8_t(length - 1);
        }
    }
}

}  // namespace vexel::strong
