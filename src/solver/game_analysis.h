// Whole games played by deduction alone: whether a game is solved without a guess, and how many
// guesses it needs when nothing is certain.
#pragma once

#include "model/game.h"
#include "model/platform.h"
#include "solver/deduction.h"

#include <chrono>
#include <cstdint>
#include <random>

namespace quorvin {

// The game's own chance from a given seed: the engine and the mapping to [0, 1) the game uses,
// so deals and random start patterns are the ones a player could get. No clock, no questions.
class SeededPlatform : public Platform {
  public:
    explicit SeededPlatform(std::uint64_t seed) : m_engine(seed) {}
    double now() override { return 0; }
    double random() override { return unitInterval(m_engine()); }

  private:
    std::mt19937_64 m_engine;
};

struct GameReport {
    bool solved = false; // every cell revealed and no claim wrong
    int guesses = 0;     // times nothing was certain and a cell had to be guessed
};

// The seed of deal `deal` of a category for the run seed `runSeed`: the same numbers give the
// same deal whatever order the deals are played in.
std::uint64_t dealSeed(std::uint64_t runSeed, int side, int colours, int pattern, int deal);

// Plays a dealt game to its end: every cell forced by what is visible is played with its colour
// through the game's own move rule (first those a quick try proves, the whole forced set when
// that proves none); when none is, the most constrained cell (the fewest
// possible colours; ties to the first in reading order, which depends on the position alone,
// so a run can be repeated) is guessed. The game
// must not be in the continued-game mode, so that a wrong deduction would lose it.
GameReport playOut(Game& game, Deduction& deduction);

// The cells proven forced in the position the engine holds: those the quick stage proves or,
// only when it proves none and was not cut short, the whole forced set. With `wholeQuestionEnd`
// the whole question gives up then, and the engine's deadline is `afterwards` again.
std::vector<ForcedCell> provenCells(Deduction& deduction,
                                    std::chrono::steady_clock::time_point wholeQuestionEnd =
                                        std::chrono::steady_clock::time_point::max(),
                                    std::chrono::steady_clock::time_point afterwards =
                                        std::chrono::steady_clock::time_point::max());

// Plays each forced cell still hidden with its colour, through the game's own move rule (a cell
// may have been shown meanwhile by a neighbour's move), until the game ends.
void playForcedCells(Game& game, const std::vector<ForcedCell>& forced);

// Deals a game of a category with the game's own deal and start pattern, outside the
// continued-game mode.
void dealCategory(Game& game, int side, int colours, int pattern);

// Deals a game of the category from `seed` and plays it out.
GameReport analyseGame(int side, int colours, int pattern, std::uint64_t seed);

} // namespace quorvin
