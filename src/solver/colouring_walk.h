// Other colourings that fit a position, found cheaply from one that fits: two colours swapped on
// the corners of a rectangle of hidden cells keep every line's totals, so only the faces around
// the four corners need a look.
#pragma once

#include "solver/visible_position.h"

#include <functional>
#include <vector>

namespace quorvin::solver {

class ColouringWalk {
  public:
    explicit ColouringWalk(const VisiblePosition& position);

    // Starting from `colouring`, which fits the position, takes every swap that gives a cell a
    // colour `wanted(cell, colour)` asks for and keeps every face, one after the other, and
    // hands each colouring reached to `reached`; stops after a pass over the board takes none.
    // `colouring` ends as the last colouring reached.
    void run(std::vector<int>& colouring, const std::function<bool(int, int)>& wanted,
             const std::function<void(const std::vector<int>&)>& reached) const;

  private:
    bool facesHold(const std::vector<int>& colouring, const int (&corners)[4]) const;
    bool faceHolds(const std::vector<int>& colouring, int cell) const;

    const VisiblePosition& m_position;
    std::vector<std::vector<int>> m_neighbours;
};

} // namespace quorvin::solver
