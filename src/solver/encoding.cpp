// The game's rules as clauses: one colour per cell, the faces, the line totals.
#include "solver/encoding.h"

#include <cadical.hpp>

#include <algorithm>

namespace quorvin::solver {

LineTotals lineTotals(const VisiblePosition& position) {
    const int n = position.side;
    LineTotals totals{position.rowHidden, position.columnHidden};
    for (int i = 0; i < position.cellCount(); ++i) {
        const int colour = position.shown[static_cast<std::size_t>(i)];
        if (colour == 0) continue;
        const auto c = static_cast<std::size_t>(colour - 1);
        ++totals.rows[static_cast<std::size_t>(i / n)][c];
        ++totals.columns[static_cast<std::size_t>(i % n)][c];
    }
    return totals;
}

Range sameNeighboursRange(int face, int neighbours) {
    const int n = neighbours;
    switch (face) {
    case 0:
        return {n, n}; // every neighbour shares the colour
    case 4:
        return {0, 0}; // none does
    case 1:
        return {n / 2 + 1, n - 1}; // more share it than not, but not all
    case 2:
        return n % 2 == 0 ? Range{n / 2, n / 2} : Range{1, 0}; // as many as not
    default:
        return {1, (n - 1) / 2}; // fewer share it than not, but some do
    }
}

void Totalizer::clause(std::initializer_list<int> literals) {
    for (int literal : literals)
        if (literal != 0) m_sat.add(literal);
    m_sat.add(0);
}

std::vector<int> Totalizer::count(std::span<const int> inputs, int cap) {
    if (inputs.size() == 1) return {inputs[0]};
    const std::size_t half = inputs.size() / 2;
    const std::vector<int> a = count(inputs.first(half), cap);
    const std::vector<int> b = count(inputs.subspan(half), cap);
    const int size = std::min(static_cast<int>(inputs.size()), cap);
    std::vector<int> out(static_cast<std::size_t>(size));
    for (int& variable : out)
        variable = m_next++;
    const auto at = [](const std::vector<int>& v, int k) { return v[static_cast<std::size_t>(k)]; };
    const int as = static_cast<int>(a.size());
    const int bs = static_cast<int>(b.size());
    for (int i = 0; i <= as; ++i) {
        for (int j = 0; j <= bs; ++j) {
            // At least i on the left and j on the right: at least i + j in all.
            if (i + j > 0)
                clause({i > 0 ? -at(a, i - 1) : 0, j > 0 ? -at(b, j - 1) : 0,
                        at(out, std::min(i + j, size) - 1)});
            // At most i on the left and j on the right: at most i + j in all.
            if (i + j < size)
                clause({i < as ? at(a, i) : 0, j < bs ? at(b, j) : 0, -at(out, i + j)});
        }
    }
    return out;
}

void Totalizer::between(std::span<const int> inputs, int lo, int hi, int guard) {
    const int n = static_cast<int>(inputs.size());
    lo = std::max(lo, 0);
    hi = std::min(hi, n);
    if (lo > hi) {
        clause({-guard}); // cannot hold: the guard is false, or with no guard nothing is
        return;
    }
    if (lo == 0 && hi == n) return;
    if (hi == 0 || lo == n) { // all false or all true: plain two-literal clauses
        for (int input : inputs)
            clause({-guard, hi == 0 ? -input : input});
        return;
    }
    const std::vector<int> out = count(inputs, std::min(n, hi + 1));
    if (lo > 0) clause({-guard, out[static_cast<std::size_t>(lo - 1)]});
    if (hi < n) clause({-guard, -out[static_cast<std::size_t>(hi)]});
}

void encodeGame(CaDiCaL::Solver& sat, const VisiblePosition& position, const LineTotals& totals) {
    const int n = position.side;
    const int colours = position.colours;
    const int cells = position.cellCount();
    const auto x = [colours](int cell, int colour) {
        return colourVariable(cell, colour, colours);
    };
    Totalizer totalizer(sat, cells * colours + 1);
    const auto clause = [&sat](std::initializer_list<int> literals) {
        for (int literal : literals)
            sat.add(literal);
        sat.add(0);
    };

    // One colour per cell.
    for (int i = 0; i < cells; ++i) {
        for (int c = 1; c <= colours; ++c)
            sat.add(x(i, c));
        sat.add(0);
        for (int c = 1; c <= colours; ++c)
            for (int d = c + 1; d <= colours; ++d)
                clause({-x(i, c), -x(i, d)});
    }

    // The faces. For every two touching cells one variable says whether they share a colour,
    // and a face bounds how many of a cell's neighbours do. (Bounding, for each colour, the
    // neighbours of that colour of a cell of that colour says the same with more clauses, and
    // proved no faster.)
    std::vector<std::vector<int>> same(static_cast<std::size_t>(cells));
    for (int i = 0; i < cells; ++i) {
        const int row = i / n;
        const int column = i % n;
        for (int r = std::max(row - 1, 0); r <= std::min(row + 1, n - 1); ++r) {
            for (int k = std::max(column - 1, 0); k <= std::min(column + 1, n - 1); ++k) {
                const int j = r * n + k;
                if (j <= i) continue;
                const int e = totalizer.newVariable();
                same[static_cast<std::size_t>(i)].push_back(e);
                same[static_cast<std::size_t>(j)].push_back(e);
                for (int c = 1; c <= colours; ++c) {
                    clause({-e, -x(i, c), x(j, c)});
                    clause({-e, x(i, c), -x(j, c)});
                    clause({e, -x(i, c), -x(j, c)});
                }
            }
        }
    }
    for (int i = 0; i < cells; ++i) {
        const std::vector<int>& neighbours = same[static_cast<std::size_t>(i)];
        const Range range = sameNeighboursRange(position.faces[static_cast<std::size_t>(i)],
                                                static_cast<int>(neighbours.size()));
        totalizer.between(neighbours, range.lo, range.hi, 0);
    }

    // Every line's total of each colour.
    for (int line = 0; line < n; ++line) {
        for (int c = 1; c <= colours; ++c) {
            std::vector<int> row;
            std::vector<int> column;
            for (int k = 0; k < n; ++k) {
                row.push_back(x(line * n + k, c));
                column.push_back(x(k * n + line, c));
            }
            const auto colour = static_cast<std::size_t>(c - 1);
            const int inRow = totals.rows[static_cast<std::size_t>(line)][colour];
            const int inColumn = totals.columns[static_cast<std::size_t>(line)][colour];
            totalizer.between(row, inRow, inRow, 0);
            totalizer.between(column, inColumn, inColumn, 0);
        }
    }
}

} // namespace quorvin::solver
