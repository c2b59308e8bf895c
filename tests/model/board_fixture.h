// Builds games from boards written as short strings, one digit per cell, row by row.
#pragma once

#include "model/game.h"
#include "support/fake_platform.h"

#include <string>
#include <utility>

namespace quorvin::test {

struct BoardFixture {
    FakePlatform platform;
    Game game{platform};

    // Deals exactly `colours` (N * N digits; blanks and slashes ignored) with the given pattern.
    void deal(const std::string& colours, int colorCount, int pattern = 8 /* "Vacío" */,
              bool continued = false) {
        int digits = 0;
        for (char c : colours) digits += (c >= '1' && c <= '4');
        int side = 1;
        while (side * side < digits) ++side;
        if (game.boardSize != side || game.cells.empty()) {
            game.boardSize = side;
            game.resizeBoard();
        }
        game.colorCount = colorCount;
        game.startPattern = pattern;
        game.continuedGame = continued;
        platform.scriptColours(colours, colorCount);
        game.deal();
    }

    const Cell& cell(int i) const { return game.cells[static_cast<std::size_t>(i)]; }
    std::pair<int, int> neighbours(int i) const {
        return {cell(i).sameNeighbours, cell(i).otherNeighbours};
    }
    // The hidden cells of `colour` in one row, or in one column: what its counter must show.
    int hiddenOfColour(int colour, int line, bool column = false) const {
        const int n = game.boardSize;
        int hidden = 0;
        for (int k = 0; k < n; ++k) {
            const int i = column ? k * n + line : line * n + k;
            hidden += cell(i).isHidden() && game.board[static_cast<std::size_t>(i)] == colour;
        }
        return hidden;
    }
    int hiddenCount() const {
        int hidden = 0;
        for (const Cell& c : game.cells) hidden += c.isHidden();
        return hidden;
    }
};

} // namespace quorvin::test
