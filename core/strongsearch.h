// The strongest computer level: a deeper search than the three original
// levels, bounded by a budget of nodes rather than by the clock, so that the
// same position gives the same ranking on any machine. The search reads only
// its arguments and draws nothing from a random generator, which lets the
// window run it on a worker thread over copies of the state and the settings;
// the draw among its near-best moves is made afterwards, from the game's
// generator, so that the same seed still gives the same game.
#pragma once

#include "computer.h"

#include <atomic>
#include <span>
#include <cstdint>
#include <vector>

namespace vexel {

// The level of the strongest player in the live settings (the settings file
// stores it as level 0 with a flag of its own).
inline constexpr std::uint8_t STRONG_LEVEL = 3;

struct StrongBudget {
    // Positions searched at most for one move; the window and the arena use the
    // default: about 0.1 s of one core per move on average in self-play.
    std::uint64_t nodes = 100'000;
};

// Searches the move of state.currentPlayer. On success `ranked` holds every
// legal move of that seat, the best one last and the others in the order
// of the search's preference (ascending), so that the loop rule of computer
// seats can fall back on the next best. The moves at the end whose `score` is
// 1 are as good as the best within a small margin; a computer seat draws one
// of them (drawStrongMove), the hint takes the last. Returns false, with `ranked` empty,
// when the seat has no legal move or when `stop` (may be null) was set; it
// polls `stop` often enough to return within a few milliseconds.
bool searchStrongMove(const GameState& state, const Settings& settings, std::vector<CandidateMove>& ranked,
                      const std::atomic<bool>* stop = nullptr, const StrongBudget& budget = {});

// Index into `ranked` (as searchStrongMove leaves it) of a move drawn from
// `random` among the near-best at its end; draws nothing when there is one.
int drawStrongMove(std::span<const CandidateMove> ranked, Random& random);

}  // namespace vexel
