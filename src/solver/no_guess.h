// Deals that never need a guess: a dealt game checked by playing only proven cells, the search
// for such a deal among many, and the categories where that search is quick enough to offer.
#pragma once

#include "model/game.h"
#include "model/platform.h"
#include "solver/deduction.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace quorvin {

// The chance that dealt a game: Platform::random()'s draws in the order the deal (and its start
// pattern) took them. A window replays them through its own Platform to deal exactly that game.
struct NoGuessDeal {
    std::vector<double> draws;
    int tries = 0;           // deals looked at, this one included
    double milliseconds = 0; // the search's time
};

// The engine's time for one deal's check in the search on a board of side `side`; a deal whose
// check takes longer is passed over (no_guess.cpp says how it was chosen).
std::chrono::steady_clock::duration noGuessDealBudget(int side);

// Playing only cells proven forced, with the game's own move rule, from the position the start
// pattern leaves, reaches the solved board. `stop` (may be null) gives up: false. The game is
// played on: deal it again (its draws) to hand it to a player. A deadline set on `deduction`
// gives up too (false), as does Deduction::interrupt() from another thread.
bool solvesWithoutGuess(Game& game, Deduction& deduction, const std::atomic<bool>* stop = nullptr);

// Deals games of the category from seeds drawn from `seed` until one solves without a guess;
// nothing when `stop` becomes true first. A deal whose check takes the engine longer than
// `budget` (zero: noGuessDealBudget(side)) is passed over.
std::optional<NoGuessDeal> findNoGuessDeal(
    int side, int colours, int pattern, std::uint64_t seed, const std::atomic<bool>* stop = nullptr,
    std::chrono::steady_clock::duration budget = std::chrono::steady_clock::duration::zero());

// Whether the category gets a no-guess deal quickly enough to offer the option: false where the
// measured 95th percentile of the search is over 1 s (docs/no-guess.md).
bool noGuessDealsOffered(int side, int colours, int pattern);

// A platform that gives a deal's draws back in order, for the core's tools and tests (a window
// replays them through its own platform); past the last draw, 0.
class ReplayPlatform : public Platform {
  public:
    explicit ReplayPlatform(const std::vector<double>& draws)
        : m_draws(draws.begin(), draws.end()) {}
    double now() override { return 0; }
    double random() override;

  private:
    std::deque<double> m_draws;
};

} // namespace quorvin
