// What the player can see of a position, as a plain value: the deduction engine's only input.
#pragma once

#include <array>
#include <vector>

namespace quorvin {

class Game;

struct VisiblePosition {
    int side = 0;           // N: the board is N x N
    int colours = 0;        // colours in play, 2..4
    std::vector<int> shown; // every cell row by row: 0 while hidden, else its colour 1..colours
    std::vector<int> faces; // the face every cell shows, hidden or revealed: 0..4
    // Hidden cells of each colour (index colour - 1) per row and per column: what the row and
    // column counters show for each colour in turn.
    std::vector<std::array<int, 4>> rowHidden;
    std::vector<std::array<int, 4>> columnHidden;
    std::array<int, 4> colourHidden{}; // the colour counters

    int cellCount() const { return side * side; }
    bool isHidden(int cell) const { return shown[static_cast<std::size_t>(cell)] == 0; }
    // The sizes and ranges agree with one another (not that some board fits them).
    bool isWellFormed() const;
};

// The position a player sees in a running game. It reads the revealed cells' colours, every
// face, and the counters as the window shows them while the colours are stepped through, on a
// copy of the game; never the colour of a hidden cell.
VisiblePosition visiblePosition(const Game& game);

} // namespace quorvin
