// Rectangle swaps between colourings that fit a position.
#include "solver/colouring_walk.h"

#include "model/game.h"

#include <algorithm>

namespace quorvin::solver {

ColouringWalk::ColouringWalk(const VisiblePosition& position)
    : m_position(position), m_neighbours(static_cast<std::size_t>(position.cellCount())) {
    const int n = position.side;
    for (int i = 0; i < position.cellCount(); ++i)
        for (int r = std::max(i / n - 1, 0); r <= std::min(i / n + 1, n - 1); ++r)
            for (int k = std::max(i % n - 1, 0); k <= std::min(i % n + 1, n - 1); ++k)
                if (r * n + k != i) m_neighbours[static_cast<std::size_t>(i)].push_back(r * n + k);
}

bool ColouringWalk::faceHolds(const std::vector<int>& colouring, int cell) const {
    const auto index = static_cast<std::size_t>(cell);
    int same = 0;
    for (int j : m_neighbours[index])
        same += colouring[static_cast<std::size_t>(j)] == colouring[index];
    const int other = static_cast<int>(m_neighbours[index].size()) - same;
    return neutralFace(same, other) == m_position.faces[index];
}

bool ColouringWalk::facesHold(const std::vector<int>& colouring, const int (&corners)[4]) const {
    for (int corner : corners) {
        if (!faceHolds(colouring, corner)) return false;
        for (int j : m_neighbours[static_cast<std::size_t>(corner)])
            if (!faceHolds(colouring, j)) return false;
    }
    return true;
}

void ColouringWalk::run(std::vector<int>& colouring, const std::function<bool(int, int)>& wanted,
                        const std::function<void(const std::vector<int>&)>& reached) const {
    const int n = m_position.side;
    const auto colourAt = [&](int cell) -> int& {
        return colouring[static_cast<std::size_t>(cell)];
    };
    const auto hidden = [&](int cell) { return m_position.isHidden(cell); };
    // Every swap taken gives some cell a colour it was not wanted in again, so the walk ends;
    // the budget only guards against a caller that keeps wanting.
    int budget = 4 * m_position.cellCount();
    bool moved = true;
    while (moved && budget > 0) {
        moved = false;
        for (int p = 0; p < m_position.cellCount(); ++p) {
            if (!hidden(p)) continue;
            const int a = colourAt(p);
            const int row = p / n;
            const int column = p % n;
            bool swapped = false;
            // p and t keep colour a, q and s colour b: p q on one row, s t on another, p s and
            // q t on two columns. After the swap every line has the same colours as before.
            for (int k = 0; k < n && !swapped; ++k) {
                const int q = row * n + k;
                const int b = colourAt(q);
                if (b == a || !hidden(q) || !wanted(p, b)) continue;
                for (int r = 0; r < n && !swapped; ++r) {
                    const int s = r * n + column;
                    const int t = r * n + k;
                    if (r == row || !hidden(s) || !hidden(t) || colourAt(s) != b ||
                        colourAt(t) != a)
                        continue;
                    colourAt(p) = colourAt(t) = b;
                    colourAt(q) = colourAt(s) = a;
                    if (facesHold(colouring, {p, q, s, t})) {
                        swapped = true;
                    } else {
                        colourAt(p) = colourAt(t) = a;
                        colourAt(q) = colourAt(s) = b;
                    }
                }
            }
            if (swapped) {
                moved = true;
                --budget;
                reached(colouring);
            }
        }
    }
}

} // namespace quorvin::solver
