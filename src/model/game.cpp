// The board model: sizing, the deal, neighbour counts, and the selection counters.
#include "model/game.h"

#include <algorithm>

namespace quorvin {

int neutralFace(int sameNeighbours, int otherNeighbours) {
    if (otherNeighbours == 0) return Laughing;
    if (sameNeighbours == 0) return Dead;
    if (sameNeighbours > otherNeighbours) return Smiling;
    if (sameNeighbours == otherNeighbours) return Frowning;
    return Worried;
}

void Game::resizeBoard() {
    const auto n = static_cast<std::size_t>(boardSize);
    board.assign(n * n, 0);
    cells.assign(n * n, Cell{});
    rowCounters.assign(n, 0);
    columnCounters.assign(n, 0);
    lineCountersBlank = true;
    rowHighlighted.assign(n, false);
    columnHighlighted.assign(n, false);
    cursorCell = 0;
}

void Game::setUp(int side, int colours, int pattern, bool continued) {
    boardSize = side;
    colorCount = colours;
    startPattern = pattern;
    continuedGame = continued;
    resizeBoard();
}

std::pair<int, int> Game::countNeighbours(int i) const {
    const int n = boardSize;
    const int row = i / n;
    const int column = i % n;
    int same = 0;
    int other = 0;
    for (int dr = -1; dr <= 1; ++dr) {
        for (int dc = -1; dc <= 1; ++dc) {
            const int r = row + dr;
            const int c = column + dc;
            if ((dr == 0 && dc == 0) || r < 0 || r >= n || c < 0 || c >= n) continue;
            const int colour = board[static_cast<std::size_t>(r * n + c)];
            if (colour <= 0) continue; // not dealt yet
            if (colour == board[static_cast<std::size_t>(i)]) ++same;
            else ++other;
        }
    }
    return {same, other};
}

void Game::deal() {
    if (static_cast<int>(cells.size()) != cellCount()) resizeBoard();
    faceOverride = kNoFaceOverride;
    gameRunning = true;
    cursorFrameVisible = false;
    lostMarkerVisible = false;
    timerEnabled = false;
    rank.reset();
    // The peek colour is left alone: a peek held across "Nuevo" ends on its own release,
    // which is what clears the line under the board.

    std::array<int, 4> dealt{};
    for (int i = 0; i < cellCount(); ++i) {
        const int k =
            std::min(static_cast<int>(platform().random() * colorCount), colorCount - 1) + 1;
        board[static_cast<std::size_t>(i)] = k;
        ++dealt[static_cast<std::size_t>(k - 1)];
    }
    platform().processEvents();
    colourCounters = dealt;

    for (int i = 0; i < cellCount(); ++i) {
        const auto [same, other] = countNeighbours(i);
        Cell& cell = cells[static_cast<std::size_t>(i)];
        cell.state = CellState::Hidden;
        cell.sameNeighbours = same;
        cell.otherNeighbours = other;
        cell.face = neutralFace(same, other);
        cell.coloured = false;
    }

    applyStartPattern();
    selectedColour = 1;
    showSelection();
    peekMode = false;

    std::fill(rowHighlighted.begin(), rowHighlighted.end(), false);
    std::fill(columnHighlighted.begin(), columnHighlighted.end(), false);
    cursorCell = 0;
    highlightCursor(true);
}

void Game::showSelection() {
    if (!gameRunning) return;
    const int n = boardSize;
    for (int line = 0; line < n; ++line) {
        int inRow = 0;
        int inColumn = 0;
        for (int k = 0; k < n; ++k) {
            const auto rowCell = static_cast<std::size_t>(line * n + k);
            const auto columnCell = static_cast<std::size_t>(k * n + line);
            if (cells[rowCell].isHidden() && board[rowCell] == selectedColour) ++inRow;
            if (cells[columnCell].isHidden() && board[columnCell] == selectedColour) ++inColumn;
        }
        rowCounters[static_cast<std::size_t>(line)] = inRow;
        columnCounters[static_cast<std::size_t>(line)] = inColumn;
    }
    lineCountersBlank = false;
    swatchColour = selectedColour;
}

void Game::nextColour() {
    selectedColour = selectedColour + 1 > colorCount ? 1 : selectedColour + 1;
    showSelection();
}

void Game::selectColour(int colour) {
    selectedColour = colour;
    showSelection();
}

void Game::highlightCursor(bool on) {
    if (rowHighlighted.empty()) return;
    rowHighlighted[static_cast<std::size_t>(cursorCell / boardSize)] = on;
    columnHighlighted[static_cast<std::size_t>(cursorCell % boardSize)] = on;
}

void Game::recountColourCounters() {
    std::array<int, 4> hidden{};
    for (int i = 0; i < cellCount(); ++i) {
        const int colour = board[static_cast<std::size_t>(i)];
        if (cells[static_cast<std::size_t>(i)].isHidden() && colour >= 1 && colour <= 4)
            ++hidden[static_cast<std::size_t>(colour - 1)];
    }
    colourCounters = hidden;
}

} // namespace quorvin
