// The deduction engine: the backbone of the game's clauses (the cell colours every colouring
// that fits agrees on), found with a SAT solver under assumptions, and a cell's possible colours.
#include "solver/deduction.h"

#include "solver/colouring_walk.h"
#include "solver/encoding.h"

#include <cadical.hpp>

#include <algorithm>
#include <atomic>
#include <bit>
#include <chrono>
#include <cstdint>
#include <optional>

namespace quorvin {

namespace {

// Colourings kept from one question to the next, and from one position to the next while they
// still fit: each one spares the solver a search, and a search for a colouring far from all
// known ones is what costs most on a board with few cells revealed.
constexpr std::size_t kKeptColourings = 4096;
// A search for one colouring that takes longer than this marks the game as hard: there cheap
// swaps are tried before each search, and on such boards they pay for themselves.
constexpr auto kHardSearch = std::chrono::milliseconds(50);

std::uint8_t bit(int colour) {
    return static_cast<std::uint8_t>(1u << (colour - 1));
}

enum Answer { Unknown = 0, Satisfiable = 10, Unsatisfiable = 20 }; // as the solver returns them

using Clock = std::chrono::steady_clock;

// Stops the solver when asked from another thread, or at the deadline of the thread that asks
// the questions.
class Interruption : public CaDiCaL::Terminator {
  public:
    std::atomic<bool> requested{false};
    Clock::time_point deadline = Clock::time_point::max();
    bool terminate() override {
        return requested.load(std::memory_order_relaxed) ||
               (deadline != Clock::time_point::max() && Clock::now() >= deadline);
    }
};

} // namespace

struct Deduction::Engine {
    std::unique_ptr<CaDiCaL::Solver> sat;
    Interruption interruption;
    bool interrupted = false; // some answer since the last setPosition was cut short
    VisiblePosition position;
    solver::LineTotals totals;
    std::vector<int> revealed; // the colour each revealed cell entered the solver with; 0: none
    std::vector<int> deduced;  // the colour proven for a hidden cell, kept as a fact; 0: none
    // For every cell, one bit per colour proven impossible for it, each kept as a fact.
    std::vector<std::uint8_t> excluded;
    std::optional<bool> consistent;
    std::optional<std::vector<ForcedCell>> forced;
    // For every cell, one bit per colour (bit c - 1) that some colouring found gives it. Every
    // colouring kept fits the current position, so a cell with two bits set is not forced.
    std::vector<std::uint8_t> seen;
    std::vector<std::vector<int>> colourings; // colourings found that fit, oldest first
    bool hard = false;                        // some search of this game took long
    bool stable = false;                      // the solver searches in its stable mode only
    int conflictsBeforeStable = 0;

    int x(int cell, int colour) const {
        return solver::colourVariable(cell, colour, position.colours);
    }
    bool isContinuedBy(const VisiblePosition& next, const solver::LineTotals& nextTotals) const;
    void start(const solver::LineTotals& nextTotals);
    void newSolver(bool stableOnly);
    void addFact(int cell, int colour);
    void fix(std::vector<int>& facts, int cell, int colour);
    bool countsAgree() const;
    Answer solve(const std::vector<int>& constraint = {});
    Answer tryColour(int cell, int colour, int conflicts);
    void readColouring();
    void record(const std::vector<int>& colouring);
    bool fits(const std::vector<int>& colouring);
    void walk(const std::function<bool(int, int)>& wanted);
    std::vector<int> unsettled() const;
    Answer widen(int cell, int limit);
    int onlyColour(int cell) const {
        return std::countr_zero(seen[static_cast<std::size_t>(cell)]) + 1;
    }
};

Deduction::Deduction(int conflictsBeforeStable) : m_engine(std::make_unique<Engine>()) {
    m_engine->conflictsBeforeStable = conflictsBeforeStable;
}
Deduction::~Deduction() = default;

void Deduction::interrupt() {
    m_engine->interruption.requested = true;
}
bool Deduction::inStableMode() const {
    return m_engine->stable;
}
bool Deduction::wasInterrupted() const {
    return m_engine->interrupted;
}
bool Deduction::stopRequested() const {
    return m_engine->interruption.requested;
}
void Deduction::setDeadline(std::chrono::steady_clock::time_point deadline) {
    m_engine->interruption.deadline = deadline;
}

bool Deduction::Engine::isContinuedBy(const VisiblePosition& next,
                                      const solver::LineTotals& nextTotals) const {
    if (!sat || next.side != position.side || next.colours != position.colours) return false;
    if (next.faces != position.faces || !(nextTotals == totals)) return false;
    // A cell hidden again (the continued game's penalty) takes away a fact the solver keeps;
    // proven colours stay true as long as every revealed cell stays revealed.
    for (std::size_t i = 0; i < revealed.size(); ++i)
        if (revealed[i] != 0 && next.shown[i] != revealed[i]) return false;
    return true;
}

void Deduction::Engine::start(const solver::LineTotals& nextTotals) {
    totals = nextTotals;
    revealed.assign(static_cast<std::size_t>(position.cellCount()), 0);
    deduced = revealed;
    excluded.assign(revealed.size(), 0);
    colourings.clear();
    hard = false;
    newSolver(false);
}

// A solver with the game's rules and every fact known so far. A game starts with the solver's
// usual alternation of search modes, the faster on easy positions. In a four-colour game where
// a search outgrows `conflictsBeforeStable`, the costly searches are those for a colouring
// unlike every known one, and the stable mode alone finds them sooner (a quarter to a third
// less time over the hardest categories), so the game goes on with a new solver in that mode.
void Deduction::Engine::newSolver(bool stableOnly) {
    sat = std::make_unique<CaDiCaL::Solver>();
    if (stableOnly) sat->set("stabilizeonly", 1);
    stable = stableOnly;
    sat->connect_terminator(&interruption);
    solver::encodeGame(*sat, position, totals);
    for (const std::vector<int>* facts : {&revealed, &deduced})
        for (int i = 0; i < position.cellCount(); ++i)
            if (const int colour = (*facts)[static_cast<std::size_t>(i)]; colour != 0)
                addFact(i, colour);
    for (int i = 0; i < position.cellCount(); ++i)
        for (int c = 1; c <= position.colours; ++c)
            if ((excluded[static_cast<std::size_t>(i)] & bit(c)) != 0) {
                sat->add(-x(i, c));
                sat->add(0);
            }
}

void Deduction::Engine::addFact(int cell, int colour) {
    sat->add(x(cell, colour));
    sat->add(0);
}

void Deduction::Engine::fix(std::vector<int>& facts, int cell, int colour) {
    addFact(cell, colour);
    facts[static_cast<std::size_t>(cell)] = colour;
}

// The colour counters are the sums of the row counters and of the column counters; a colour
// out of play has no cell.
bool Deduction::Engine::countsAgree() const {
    for (std::size_t c = 0; c < 4; ++c) {
        int inRows = 0;
        int inColumns = 0;
        for (std::size_t k = 0; k < position.rowHidden.size(); ++k) {
            inRows += position.rowHidden[k][c];
            inColumns += position.columnHidden[k][c];
        }
        if (inRows != position.colourHidden[c] || inColumns != position.colourHidden[c])
            return false;
        if (static_cast<int>(c) >= position.colours && inRows != 0) return false;
    }
    return true;
}

void Deduction::Engine::record(const std::vector<int>& colouring) {
    for (std::size_t i = 0; i < colouring.size(); ++i)
        seen[i] |= bit(colouring[i]);
    if (colourings.size() == kKeptColourings) colourings.erase(colourings.begin());
    colourings.push_back(colouring);
}

// Looks for a colouring that also makes one of `constraint` true (none: any colouring); one
// found is recorded. A four-colour game's search that outgrows the usual mode's limit is taken
// up again by a solver in the stable mode, which keeps the game from then on.
Answer Deduction::Engine::solve(const std::vector<int>& constraint) {
    const auto started = Clock::now();
    Answer answer = Unknown;
    for (;;) {
        const bool limited = position.colours == 4 && !stable;
        if (limited) sat->limit("conflicts", conflictsBeforeStable);
        for (int literal : constraint)
            sat->constrain(literal);
        if (!constraint.empty()) sat->constrain(0);
        answer = static_cast<Answer>(sat->solve());
        if (answer != Unknown || !limited || interruption.requested) break;
        newSolver(true);
    }
    if (Clock::now() - started > kHardSearch) hard = true;
    if (answer == Unknown) interrupted = true;
    if (answer == Satisfiable) readColouring();
    return answer;
}

// Looks for a colouring that gives the cell the colour, giving up after `conflicts` conflicts
// (or when interrupted); one found is recorded.
Answer Deduction::Engine::tryColour(int cell, int colour, int conflicts) {
    sat->limit("conflicts", conflicts);
    sat->assume(x(cell, colour));
    const auto answer = static_cast<Answer>(sat->solve());
    if (answer == Satisfiable) readColouring();
    if (answer == Unknown && interruption.terminate()) interrupted = true;
    return answer;
}

void Deduction::Engine::readColouring() {
    std::vector<int> colouring(static_cast<std::size_t>(position.cellCount()));
    for (int i = 0; i < position.cellCount(); ++i)
        for (int c = 1; c <= position.colours; ++c)
            if (sat->val(x(i, c)) > 0) colouring[static_cast<std::size_t>(i)] = c;
    record(colouring);
}

// The solver itself checks a colouring the walk found: with every cell's colour assumed, it
// only has to propagate.
bool Deduction::Engine::fits(const std::vector<int>& colouring) {
    for (int i = 0; i < position.cellCount(); ++i)
        sat->assume(x(i, colouring[static_cast<std::size_t>(i)]));
    return sat->solve() == Satisfiable;
}

// Only in a hard game: elsewhere the solver finds colourings faster than the walk.
void Deduction::Engine::walk(const std::function<bool(int, int)>& wanted) {
    if (colourings.empty() || !hard) return;
    const solver::ColouringWalk walker(position);
    std::vector<int> colouring = colourings.back();
    walker.run(
        colouring,
        [&](int cell, int colour) {
            return (seen[static_cast<std::size_t>(cell)] & bit(colour)) == 0 &&
                   wanted(cell, colour);
        },
        [&](const std::vector<int>& reached) {
            if (fits(reached)) record(reached);
        });
}

// Hidden cells that every colouring found so far gives the same colour, not yet proven forced.
std::vector<int> Deduction::Engine::unsettled() const {
    std::vector<int> cells;
    for (int i = 0; i < position.cellCount(); ++i) {
        const auto index = static_cast<std::size_t>(i);
        if (position.isHidden(i) && deduced[index] == 0 && std::popcount(seen[index]) == 1)
            cells.push_back(i);
    }
    return cells;
}

bool Deduction::setPosition(const VisiblePosition& position) {
    Engine& e = *m_engine;
    e.forced.reset();
    e.consistent.reset();
    e.interrupted = false;
    e.interruption.requested = false;
    if (!position.isWellFormed()) {
        e.sat.reset();
        e.position = {};
        e.consistent = false;
        return false;
    }
    const solver::LineTotals totals = solver::lineTotals(position);
    const bool continued = e.isContinuedBy(position, totals);
    e.position = position;
    if (!continued) e.start(totals);
    // Revealed cells enter as facts, so that one solver serves a whole game; the colourings
    // that agree with every cell revealed since still fit.
    std::vector<std::vector<int>> kept;
    for (std::vector<int>& colouring : e.colourings) {
        bool agrees = true;
        for (std::size_t i = 0; i < colouring.size() && agrees; ++i)
            agrees = position.shown[i] == 0 || position.shown[i] == colouring[i];
        if (agrees) kept.push_back(std::move(colouring));
    }
    e.colourings.clear();
    e.seen.assign(static_cast<std::size_t>(position.cellCount()), 0);
    for (const std::vector<int>& colouring : kept)
        e.record(colouring);
    for (int i = 0; i < position.cellCount(); ++i) {
        const int shown = position.shown[static_cast<std::size_t>(i)];
        if (shown != 0 && e.revealed[static_cast<std::size_t>(i)] == 0) e.fix(e.revealed, i, shown);
    }
    if (!e.countsAgree()) e.consistent = false;
    return true;
}

bool Deduction::isConsistent() {
    Engine& e = *m_engine;
    if (e.consistent) return *e.consistent;
    if (!e.colourings.empty()) return *(e.consistent = true);
    const Answer answer = e.solve();
    if (answer != Unknown) e.consistent = answer == Satisfiable;
    return answer == Satisfiable;
}

std::vector<ForcedCell> Deduction::forcedCells() {
    Engine& e = *m_engine;
    if (e.forced) return *e.forced;
    if (!isConsistent()) return {};
    // A cell keeps its colour in every colouring that fits exactly when the solver cannot find
    // one that gives it another. Cheap swaps settle some cells first; then the solver is asked
    // for a colouring that differs from the known ones on some unsettled cell, and when there
    // is none, every unsettled cell is forced at once.
    for (;;) {
        e.walk([&](int cell, int) {
            return std::popcount(e.seen[static_cast<std::size_t>(cell)]) == 1;
        });
        const std::vector<int> open = e.unsettled();
        if (open.empty()) break;
        std::vector<int> otherColour;
        for (int i : open)
            otherColour.push_back(-e.x(i, e.onlyColour(i)));
        const Answer answer = e.solve(otherColour);
        if (answer == Unknown) return {};
        if (answer == Unsatisfiable) {
            // Consequences of the rules, kept as facts: they help every later question.
            for (int i : open)
                e.fix(e.deduced, i, e.onlyColour(i));
            break;
        }
    }
    std::vector<ForcedCell> forced;
    for (int i = 0; i < e.position.cellCount(); ++i) {
        const int colour = e.deduced[static_cast<std::size_t>(i)];
        if (colour != 0 && e.position.isHidden(i)) forced.push_back({i, colour});
    }
    e.forced = forced;
    return forced;
}

// Rules out, one by one, the colours that no known colouring gives the cell, each with a small
// effort: on a board with most cells hidden a single search for a colouring can take seconds,
// while a cell whose other colours break the rules nearby is often refuted in a few conflicts.
int Deduction::quickForcedColour(int cell, int conflicts) {
    Engine& e = *m_engine;
    if (!e.sat || cell < 0 || cell >= e.position.cellCount() || !e.position.isHidden(cell) ||
        e.consistent == false)
        return 0;
    const auto index = static_cast<std::size_t>(cell);
    if (e.deduced[index] != 0) return e.deduced[index];
    // Colours still possible: seen in a colouring, or not ruled out within the effort. Two of
    // them and the cell is not proven.
    std::uint8_t open = e.seen[index];
    for (int c = 1; c <= e.position.colours; ++c) {
        if (std::popcount(open) > 1) return 0;
        if (((e.seen[index] | e.excluded[index]) & bit(c)) != 0) continue;
        const Answer answer = e.tryColour(cell, c, conflicts);
        if (answer == Unknown && e.interrupted) return 0;
        if (answer != Unsatisfiable)
            open = static_cast<std::uint8_t>(open | e.seen[index] | bit(c));
        else {
            e.excluded[index] |= bit(c);
            e.sat->add(-e.x(cell, c));
            e.sat->add(0);
        }
    }
    const auto left =
        static_cast<std::uint8_t>(~e.excluded[index] & ((1u << e.position.colours) - 1));
    if (left == 0) e.consistent = false; // every colour broke the rules: no colouring fits
    if (std::popcount(left) != 1) return 0;
    const int colour = std::countr_zero(left) + 1;
    e.fix(e.deduced, cell, colour);
    return colour;
}

// A cell proven before an interruption stays proven: the answer holds what it holds, though
// another cell may be missing from it.
std::vector<ForcedCell> Deduction::quickForcedCells(int conflicts) {
    Engine& e = *m_engine;
    std::vector<ForcedCell> forced;
    for (int i = 0; i < e.position.cellCount() && !e.interrupted; ++i)
        if (const int colour = quickForcedColour(i, conflicts); colour != 0)
            forced.push_back({i, colour});
    return forced;
}

// Asks for colourings that give the cell a colour not seen yet, until there is none or the
// cell has been seen with more than `limit` colours.
Answer Deduction::Engine::widen(int cell, int limit) {
    const auto index = static_cast<std::size_t>(cell);
    while (std::popcount(seen[index]) <= limit) {
        std::vector<int> unseen;
        for (int c = 1; c <= position.colours; ++c)
            if (((seen[index] | excluded[index]) & bit(c)) == 0) unseen.push_back(x(cell, c));
        if (unseen.empty()) return Unsatisfiable;
        const Answer answer = solve(unseen);
        if (answer != Satisfiable) return answer;
    }
    return Satisfiable;
}

std::vector<int> Deduction::possibleColours(int cell) {
    Engine& e = *m_engine;
    if (cell < 0 || cell >= e.position.cellCount() || !isConsistent()) return {};
    const auto index = static_cast<std::size_t>(cell);
    if (!e.position.isHidden(cell)) return {e.position.shown[index]};
    e.walk([cell](int other, int) { return other == cell; });
    if (e.widen(cell, e.position.colours) == Unknown) return {};
    std::vector<int> colours;
    for (int c = 1; c <= e.position.colours; ++c)
        if ((e.seen[index] & bit(c)) != 0) colours.push_back(c);
    return colours;
}

// Looks for a cell with two possible colours, then three, and so on, in reading order. A cell
// already seen with more colours than sought is passed by without a question, which spares the
// solver most of its work on boards with few cells revealed.
int Deduction::mostConstrainedCell() {
    Engine& e = *m_engine;
    if (!isConsistent()) return -1;
    for (int size = 1; size <= e.position.colours; ++size) {
        for (int i = 0; i < e.position.cellCount(); ++i) {
            if (!e.position.isHidden(i) ||
                std::popcount(e.seen[static_cast<std::size_t>(i)]) > size)
                continue;
            const Answer answer = e.widen(i, size);
            if (answer == Unknown) return -1;
            if (answer == Unsatisfiable) return i;
        }
    }
    return -1;
}

} // namespace quorvin
