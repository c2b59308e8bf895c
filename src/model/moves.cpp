// Moves: a claim on a hidden cell, the reveal of cells with the solved check, and the two
// punishments of a wrong claim.
#include "model/game.h"

#include <algorithm>

namespace quorvin {

void Game::revealCell(int i) {
    if (!drawOnBoard) {
        preview[static_cast<std::size_t>(i)] = true;
        return;
    }
    const auto index = static_cast<std::size_t>(i);
    Cell& cell = cells[index];
    int face = cell.face;
    if (cell.coloured) {
        if (faceOverride == kNoFaceOverride) return; // already revealed: left as it is
        face = faceOverride;
    }
    cell.face = face;
    cell.coloured = true;
    if (!gameRunning) return; // a lost game only shows the colours

    cell.state = CellState::Revealed;
    --colourCounters[static_cast<std::size_t>(board[index] - 1)];
    if (isSolved()) finishSolved();
}

// The board is solved when no hidden cell is left: a full count after every reveal.
bool Game::isSolved() const {
    return std::none_of(cells.begin(), cells.end(), [](const Cell& c) { return c.isHidden(); });
}

void Game::finishSolved() {
    timerEnabled = false;
    gameRunning = false;
    lineCountersBlank = true;
    rank.reset();
    cursorFrameVisible = false;
    std::fill(rowHighlighted.begin(), rowHighlighted.end(), false);
    std::fill(columnHighlighted.begin(), columnHighlighted.end(), false);
    platform().boardSolved();
}

void Game::playCell(int i) {
    if (!gameRunning) return;
    if (!cells[static_cast<std::size_t>(i)].isHidden()) return;
    if (selectedColour == board[static_cast<std::size_t>(i)]) guessRight(i);
    else guessWrong(i);
}

void Game::guessRight(int i) {
    faceOverride = 0;
    revealCell(i);
    faceOverride = kNoFaceOverride;
    if (!gameRunning) return;

    const Cell& cell = cells[static_cast<std::size_t>(i)];
    const int same = cell.sameNeighbours;
    const int other = cell.otherNeighbours;
    // Every neighbour shares the played colour; or, with two colours, every neighbour has the
    // other one. Either way the face makes their colours certain. One step only.
    if (other == 0) revealNeighbours(i);
    if (colorCount == 2 && same == 0) revealNeighbours(i);
    showSelection();
}

void Game::revealNeighbours(int i) {
    const int n = boardSize;
    const int row = i / n;
    const int column = i % n;
    const bool up = row > 0;
    const bool down = row < n - 1;
    const bool left = column > 0;
    const bool right = column < n - 1;
    if (up) revealCell(i - n);
    if (up && left) revealCell(i - n - 1);
    if (up && right) revealCell(i - n + 1);
    if (down) revealCell(i + n);
    if (down && left) revealCell(i + n - 1);
    if (down && right) revealCell(i + n + 1);
    if (left) revealCell(i - 1);
    if (right) revealCell(i + 1);
}

void Game::guessWrong(int i) {
    if (continuedGame) {
        // The penalty: a few revealed cells, drawn at random, are hidden again; more on bigger
        // boards. The game and its clock go on.
        const int revealed = static_cast<int>(
            std::count_if(cells.begin(), cells.end(), [](const Cell& c) { return !c.isHidden(); }));
        const int m = std::min((boardSize - 1) / 6 + 2, revealed);
        for (int pass = 0; pass < m; ++pass) {
            std::size_t j = 0;
            do {
                const int drawn = static_cast<int>(platform().random() * cellCount());
                j = static_cast<std::size_t>(std::clamp(drawn, 0, cellCount() - 1));
            } while (cells[j].isHidden());
            Cell& cell = cells[j];
            cell.state = CellState::Hidden;
            cell.face = neutralFace(cell.sameNeighbours, cell.otherNeighbours);
            cell.coloured = false;
        }
        showSelection();
        recountColourCounters();
        return;
    }

    // The game is lost: the whole board is shown in colour and the played cell framed.
    gameRunning = false;
    timerEnabled = false;
    faceOverride = 0;
    revealCell(i);
    faceOverride = kNoFaceOverride;
    for (int k = 0; k < cellCount(); ++k) revealCell(k);
    lostCell = i;
    lostMarkerVisible = true;
    std::fill(rowHighlighted.begin(), rowHighlighted.end(), false);
    std::fill(columnHighlighted.begin(), columnHighlighted.end(), false);
    rank.reset();
    cursorFrameVisible = false;
}

} // namespace quorvin
