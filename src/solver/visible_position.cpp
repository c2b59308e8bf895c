// The visible position of a running game, and the checks on a position given by hand.
#include "solver/visible_position.h"

#include "model/game.h"

namespace quorvin {

bool VisiblePosition::isWellFormed() const {
    const auto cells = static_cast<std::size_t>(cellCount());
    const auto lines = static_cast<std::size_t>(side);
    if (side < 1 || colours < 2 || colours > 4) return false;
    if (shown.size() != cells || faces.size() != cells) return false;
    if (rowHidden.size() != lines || columnHidden.size() != lines) return false;
    for (std::size_t i = 0; i < cells; ++i)
        if (shown[i] < 0 || shown[i] > colours || faces[i] < 0 || faces[i] > 4) return false;
    for (std::size_t k = 0; k < lines; ++k)
        for (std::size_t c = 0; c < 4; ++c)
            if (rowHidden[k][c] < 0 || rowHidden[k][c] > side || columnHidden[k][c] < 0 ||
                columnHidden[k][c] > side)
                return false;
    return true;
}

VisiblePosition visiblePosition(const Game& game) {
    VisiblePosition position;
    position.side = game.boardSize;
    position.colours = game.colorCount;
    const auto cells = static_cast<std::size_t>(game.cellCount());
    position.shown.resize(cells);
    position.faces.resize(cells);
    for (std::size_t i = 0; i < cells; ++i) {
        const Cell& cell = game.cells[i];
        position.shown[i] = cell.isHidden() ? 0 : game.board[i];
        position.faces[i] = cell.face;
    }

    // The player steps the selected colour and reads the counters beside the board each time.
    Game stepped = game;
    const auto lines = static_cast<std::size_t>(game.boardSize);
    position.rowHidden.assign(lines, {});
    position.columnHidden.assign(lines, {});
    for (int colour = 1; colour <= game.colorCount; ++colour) {
        stepped.selectColour(colour);
        const auto c = static_cast<std::size_t>(colour - 1);
        for (std::size_t k = 0; k < lines; ++k) {
            position.rowHidden[k][c] = stepped.rowCounters[k];
            position.columnHidden[k][c] = stepped.columnCounters[k];
        }
        position.colourHidden[c] = game.colourCounters[c];
    }
    return position;
}

} // namespace quorvin
