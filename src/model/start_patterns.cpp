// The nine start patterns, laid on the board or on the configuration dialog's 7 x 7 preview.
#include "model/game.h"

#include <algorithm>
#include <cmath>

namespace quorvin {

namespace {

enum Pattern {
    HalfBoard = 0,  // "50-por-ciento": a checkerboard
    Bars = 1,       // "Barrotes": the odd columns
    Hash = 2,       // "Almohadilla": rows and columns 1 and n - 2
    Squares = 3,    // "Cuadrados": concentric outlines
    Random40 = 4,   // "Aleatorio2"
    Blur = 5,       // "Difuminado": every fourth cell
    Cross = 6,      // "Ekis": both diagonals
    Random20 = 7,   // "Aleatorio1"
    Empty = 8,      // "Vacío"
};

} // namespace

void Game::applyStartPattern() {
    const int n = drawOnBoard ? boardSize : kPreviewSide;
    const int last = n * n - 1;
    auto isRevealed = [&](int i) {
        return drawOnBoard ? !cells[static_cast<std::size_t>(i)].isHidden()
                           : preview[static_cast<std::size_t>(i)];
    };
    auto revealRandom = [&](int count) {
        for (int k = 0; k < count; ++k) {
            int i = 0;
            do {
                i = std::min(static_cast<int>(platform().random() * n * n), last);
            } while (isRevealed(i));
            revealCell(i);
        }
    };

    switch (startPattern) {
    case HalfBoard:
        for (int parity = 0; parity <= 1; ++parity)
            for (int row = parity; row < n; row += 2)
                for (int column = parity; column < n; column += 2) revealCell(row * n + column);
        break;
    case Bars:
        for (int column = 1; column <= n - 1; column += 2)
            for (int i = column; i <= last; i += n) revealCell(i);
        break;
    case Hash:
        for (int k = 0; k < n; ++k) {
            revealCell(n + k);
            revealCell(n * n - 2 * n + k);
            revealCell(k * n + 1);
            revealCell(k * n + n - 2);
        }
        break;
    case Squares: {
        // Outlines at distance 1, 3, 5, ... from the border: top-left cell a, side w.
        int a = n + 1;
        int w = n - 2;
        do {
            for (int j = a; j <= a + w - 1; ++j) {
                revealCell(j);
                revealCell((w - 1) * n + j);
            }
            for (int j = a + n; j <= n * n - n - a; j += n) {
                revealCell(j);
                revealCell(j + w - 1);
            }
            a += 2 * n + 2;
            w -= 4;
        } while (n * n / 2.0 > a && w >= 1);
        break;
    }
    case Random40:
        revealRandom(drawOnBoard ? static_cast<int>(std::lround(4.0 * n * n / 10.0)) : 19);
        break;
    case Blur:
        for (int i = 0; i <= last; i += 4) revealCell(i);
        break;
    case Cross:
        for (int i = 0; i <= last; i += n + 1) revealCell(i);
        for (int i = 0; i <= last; i += n - 1) revealCell(i);
        break;
    case Random20:
        revealRandom(drawOnBoard ? static_cast<int>(std::lround(n * n / 5.0)) : 9);
        break;
    case Empty:
    default: // an index without a pattern reveals nothing
        break;
    }
}

void Game::drawPreview() {
    preview.fill(false);
    drawOnBoard = false;
    applyStartPattern();
    drawOnBoard = true;
}

} // namespace quorvin
