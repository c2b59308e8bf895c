// The hint: a hidden cell whose colour is proven, the one nearest the cursor, found in two
// stages so that the player is not kept waiting: a quick try at each cell from the cursor
// outwards, then, only when that proves nothing, the whole question under a time budget.
#pragma once

#include "solver/deduction.h"
#include "solver/visible_position.h"

#include <chrono>
#include <vector>

namespace quorvin {

enum class HintOutcome {
    Forced,     // `cell` is proven to have its colour
    NoneForced, // the engine proved that no hidden cell's colour is certain
    Undecided,  // the budget ended before either was proven: the answer claims nothing
    Stopped,    // interrupted (a move made the question useless): nothing to show
};

struct HintAnswer {
    HintOutcome outcome = HintOutcome::Undecided;
    ForcedCell cell{-1, 0}; // only with Forced
    bool operator==(const HintAnswer&) const = default;
};

// The engine's time for one hint: with the window's own work the player waits under a second.
inline constexpr std::chrono::milliseconds kHintBudget{800};
// The solver's work for each colour the quick stage tries to rule out.
inline constexpr int kQuickConflicts = 10;

// The hidden cells of `position` from the cursor outwards: by squared distance, ties to the
// first in reading order. The player's eyes and the keyboard's cursor are there, and a hint
// far away would send them searching.
std::vector<int> cellsByDistance(const VisiblePosition& position, int cursor);
// Of `forced`, the cell nearest the cursor on a board of side `side` by the same order; the
// answer NoneForced when `forced` is empty.
HintAnswer nearestForced(const std::vector<ForcedCell>& forced, int side, int cursor);

// Answers the hint for `position` with the cursor on `cursor`. The engine keeps what it proves
// for the next question of the same game. interrupt() from another thread ends it with
// Stopped; but a stop asked for before the call is cleared by taking the position, so the
// caller tells a question stopped that early by a mark of its own.
HintAnswer findHint(Deduction& deduction, const VisiblePosition& position, int cursor,
                    std::chrono::steady_clock::duration budget = kHintBudget,
                    int quickConflicts = kQuickConflicts);

} // namespace quorvin
