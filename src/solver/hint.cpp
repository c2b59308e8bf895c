// The hint in two stages, with the engine's time bounded by a budget.
#include "solver/hint.h"

#include <algorithm>
#include <utility>

namespace quorvin {

namespace {

using Clock = std::chrono::steady_clock;

std::pair<int, int> distanceKey(int cell, int side, int cursor) {
    const int dr = cell / side - cursor / side;
    const int dc = cell % side - cursor % side;
    return {dr * dr + dc * dc, cell};
}

// The engine stops its searches at the deadline while this lives; later questions have none.
class DeadlineScope {
  public:
    DeadlineScope(Deduction& deduction, Clock::time_point deadline) : m_deduction(deduction) {
        m_deduction.setDeadline(deadline);
    }
    ~DeadlineScope() { m_deduction.setDeadline(Clock::time_point::max()); }
    DeadlineScope(const DeadlineScope&) = delete;
    DeadlineScope& operator=(const DeadlineScope&) = delete;

  private:
    Deduction& m_deduction;
};

} // namespace

std::vector<int> cellsByDistance(const VisiblePosition& position, int cursor) {
    std::vector<int> cells;
    for (int i = 0; i < position.cellCount(); ++i)
        if (position.isHidden(i)) cells.push_back(i);
    std::sort(cells.begin(), cells.end(), [&](int a, int b) {
        return distanceKey(a, position.side, cursor) < distanceKey(b, position.side, cursor);
    });
    return cells;
}

HintAnswer nearestForced(const std::vector<ForcedCell>& forced, int side, int cursor) {
    const auto nearest =
        std::min_element(forced.begin(), forced.end(), [&](ForcedCell a, ForcedCell b) {
            return distanceKey(a.cell, side, cursor) < distanceKey(b.cell, side, cursor);
        });
    if (nearest == forced.end()) return {HintOutcome::NoneForced};
    return {HintOutcome::Forced, *nearest};
}

HintAnswer findHint(Deduction& deduction, const VisiblePosition& position, int cursor,
                    Clock::duration budget, int quickConflicts) {
    const DeadlineScope scope(deduction, Clock::now() + budget);
    // A malformed position never comes from a game; it is answered with a claim of nothing.
    if (!deduction.setPosition(position)) return {HintOutcome::Undecided};
    const auto cut = [&] {
        return HintAnswer{deduction.stopRequested() ? HintOutcome::Stopped
                                                    : HintOutcome::Undecided};
    };
    // The quick stage: the first cell proven from the cursor outwards is the nearest proven
    // one, though a nearer cell may be forced in a way that takes more work to see; the player
    // gets a proven cell at once rather than the nearest one seconds later.
    for (int cell : cellsByDistance(position, cursor)) {
        if (const int colour = deduction.quickForcedColour(cell, quickConflicts); colour != 0)
            return {HintOutcome::Forced, {cell, colour}};
        if (deduction.wasInterrupted()) return cut();
    }
    // The whole question: some cell may be forced for reasons that only a full search shows.
    const std::vector<ForcedCell> forced = deduction.forcedCells();
    if (deduction.wasInterrupted()) return cut();
    // No forced cell and no colouring that fits: a game never gives that; claim nothing.
    if (forced.empty() && !deduction.isConsistent()) return {HintOutcome::Undecided};
    return nearestForced(forced, position.side, cursor);
}

} // namespace quorvin
