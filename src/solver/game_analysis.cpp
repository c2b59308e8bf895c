// Whole games played by deduction: forced cells first, a guess when there is none.
#include "solver/game_analysis.h"

#include "solver/hint.h"
#include "solver/visible_position.h"

#include <algorithm>

namespace quorvin {

namespace {

std::uint64_t splitMix(std::uint64_t x) {
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

} // namespace

std::uint64_t dealSeed(std::uint64_t runSeed, int side, int colours, int pattern, int deal) {
    std::uint64_t seed = splitMix(runSeed);
    for (int part : {side, colours, pattern, deal})
        seed = splitMix(seed ^ static_cast<std::uint64_t>(part));
    return seed;
}

GameReport playOut(Game& game, Deduction& deduction) {
    GameReport report;
    while (game.gameRunning) {
        const VisiblePosition position = visiblePosition(game);
        deduction.setPosition(position);
        const std::vector<ForcedCell> forced = provenCells(deduction);
        if (forced.empty()) {
            const int cell = deduction.mostConstrainedCell();
            if (cell < 0) break;
            // The guess is counted and then taken as right: the cell is revealed as a right
            // claim reveals it, neighbours included, and the game goes on.
            ++report.guesses;
            game.guessRight(cell);
            continue;
        }
        playForcedCells(game, forced);
    }
    report.solved = !game.lostMarkerVisible && game.isSolved();
    return report;
}

// The cells the quick stage proves are played first, and the whole forced set is asked for only
// when it proves none. The order does not change what a game reaches: playing a forced cell only
// adds information (a revealed colour, and neighbours that the move rule reveals from the true
// board alone), so every cell forced before the move is still forced after it, and deduction
// reaches the same cells before each guess, and so the same position and the same guess,
// whatever order it plays them in.
std::vector<ForcedCell> provenCells(Deduction& deduction,
                                    std::chrono::steady_clock::time_point wholeQuestionEnd,
                                    std::chrono::steady_clock::time_point afterwards) {
    std::vector<ForcedCell> forced = deduction.quickForcedCells(kQuickConflicts);
    if (!forced.empty() || deduction.wasInterrupted()) return forced;
    const bool bounded = wholeQuestionEnd != std::chrono::steady_clock::time_point::max();
    if (bounded) deduction.setDeadline(wholeQuestionEnd);
    forced = deduction.forcedCells();
    if (bounded) deduction.setDeadline(afterwards);
    return forced;
}

void playForcedCells(Game& game, const std::vector<ForcedCell>& forced) {
    for (const ForcedCell& f : forced) {
        if (!game.gameRunning) break;
        if (!game.cells[static_cast<std::size_t>(f.cell)].isHidden())
            continue; // shown by a neighbour
        game.selectColour(f.colour);
        game.playCell(f.cell);
    }
}

void dealCategory(Game& game, int side, int colours, int pattern) {
    game.setUp(side, colours, pattern, false);
    game.deal();
}

GameReport analyseGame(int side, int colours, int pattern, std::uint64_t seed) {
    SeededPlatform platform(seed);
    Game game(platform);
    dealCategory(game, side, colours, pattern);
    Deduction deduction;
    return playOut(game, deduction);
}

} // namespace quorvin
