// The deduction engine: from what the player sees, the hidden cells whose colour is certain,
// and the colours each hidden cell may still have. A SAT solver does the reasoning.
#pragma once

#include "solver/visible_position.h"

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

    // The game's solver has left its usual search mode for the stable one.
    bool inStableMode() const;

    // Safe from any thread: the question being answered gives up soon, and its answer, as any
    // answer until the next setPosition, is incomplete and must be ignored.
    void interrupt();
    bool wasInterrupted() const;

  private:
    struct Engine;
    std::unique_ptr<Engine> m_engine;
};

} // namespace quorvin
