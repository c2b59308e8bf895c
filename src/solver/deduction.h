// The deduction engine: from what the player sees, the hidden cells whose colour is certain,
// and the colours each hidden cell may still have. A SAT solver does the reasoning.
#pragma once

#include "solver/visible_position.h"

#include <chrono>
#include <memory>
#include <vector>

namespace quorvin {

struct ForcedCell {
    int cell;
    int colour;
    bool operator==(const ForcedCell&) const = default;
};

class Deduction {
  public:
    // In a four-colour game the solver leaves its usual search mode for good at the first
    // search that takes more conflicts than this (about half a second on a large board); 0 leaves
    // it at the first search that needs any.
    static constexpr int kConflictsBeforeStable = 5000;
    explicit Deduction(int conflictsBeforeStable = kConflictsBeforeStable);
    ~Deduction();
    Deduction(const Deduction&) = delete;
    Deduction& operator=(const Deduction&) = delete;

    // Takes the position to reason about. One that continues the last (the same game with more
    // cells revealed) reuses the solver and all it has learnt; any other starts afresh. A
    // position that is not well formed is refused: false, and every answer is empty.
    bool setPosition(const VisiblePosition& position);

    // Some colouring of the hidden cells agrees with everything visible.
    bool isConsistent();
    // The hidden cells that have the same colour in every colouring that agrees with what is
    // visible, with that colour, in cell order. None when the position is inconsistent.
    std::vector<ForcedCell> forcedCells();
    // The colours a hidden cell has in at least one such colouring, in ascending order; the
    // shown colour of a revealed cell.
    std::vector<int> possibleColours(int cell);
    // A hidden cell with the fewest possible colours: the first in reading order among them.
    // -1 when no hidden cell is left or no colouring fits.
    int mostConstrainedCell();

    // A quick try at one hidden cell: each colour no known colouring gives it is ruled out with
    // at most `conflicts` solver conflicts. Its colour when every other one was ruled out (kept
    // as a fact for the questions that follow), else 0, which proves nothing either way. It
    // takes a position of a real game, where the dealt board fits: on one where no colouring
    // fits, every colour could be ruled out, and a cell the engine has not yet found
    // inconsistent could come out with any colour.
    int quickForcedColour(int cell, int conflicts);
    // The quick try at every hidden cell, in cell order: the cells it proves, with their colour.
    // A subset of forcedCells(), found with a bounded effort per cell.
    std::vector<ForcedCell> quickForcedCells(int conflicts);

    // The game's solver has left its usual search mode for the stable one.
    bool inStableMode() const;

    // Safe from any thread: the question being answered gives up soon, and its answer, as any
    // answer until the next setPosition, is incomplete and must be ignored.
    void interrupt();
    bool wasInterrupted() const;
    // interrupt() was called since the last setPosition.
    bool stopRequested() const;
    // Every question gives up at `deadline` as it does when interrupted (time_point::max(): no
    // deadline, as at the start). Kept across positions until changed.
    void setDeadline(std::chrono::steady_clock::time_point deadline);

  private:
    struct Engine;
    std::unique_ptr<Engine> m_engine;
};

} // namespace quorvin
