// The game's rules as clauses for the SAT solver: one colour per cell, the faces, and every
// line's total of each colour, with a totalizer for the counts.
#pragma once

#include "solver/visible_position.h"

#include <array>
#include <span>
#include <vector>

namespace CaDiCaL {
class Solver;
}

namespace quorvin::solver {

// How many cells of each colour (index colour - 1) every row and every column holds, hidden or
// revealed. These never change during a game, so they are encoded once.
struct LineTotals {
    std::vector<std::array<int, 4>> rows;
    std::vector<std::array<int, 4>> columns;
    bool operator==(const LineTotals&) const = default;
};
LineTotals lineTotals(const VisiblePosition& position);

// The variable "cell i has colour c" (c from 1) when `colours` colours are in play.
inline int colourVariable(int cell, int colour, int colours) {
    return cell * colours + colour;
}

// The smallest and largest number of neighbours of its own colour that a cell with `neighbours`
// neighbours may have under a face; lo > hi when the face cannot occur with that many.
struct Range {
    int lo;
    int hi;
};
Range sameNeighboursRange(int face, int neighbours);

// Adds the rules of a game whose board shows `position`'s faces and holds `totals`.
void encodeGame(CaDiCaL::Solver& sat, const VisiblePosition& position, const LineTotals& totals);

// Counts how many of `inputs` are true with a totalizer: output k (from 0) is true exactly when
// at least k + 1 inputs are, for k below `cap`; the clauses go both ways.
class Totalizer {
  public:
    Totalizer(CaDiCaL::Solver& sat, int firstFreeVariable)
        : m_sat(sat), m_next(firstFreeVariable) {}
    std::vector<int> count(std::span<const int> inputs, int cap);
    // Under `guard` (0: always), between lo and hi of `inputs` are true.
    void between(std::span<const int> inputs, int lo, int hi, int guard);
    int newVariable() { return m_next++; }

  private:
    void clause(std::initializer_list<int> literals);
    CaDiCaL::Solver& m_sat;
    int m_next;
};

} // namespace quorvin::solver
