// The deduction engine against positions reasoned out by hand, and against a plain count of
// every colouring on small boards; whole random games played by it never go wrong; the hint's
// quick stage proves only forced cells, and its answers claim nothing unproven.
#include "model/board_fixture.h"
#include "solver/deduction.h"
#include "solver/game_analysis.h"
#include "solver/hint.h"
#include "solver/visible_position.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <random>
#include <set>

namespace quorvin::test {
namespace {

// Deals `colours` and leaves hidden only the cells of `hidden`, as a game in play would.
VisiblePosition positionOf(BoardFixture& f, const std::string& colours, int colorCount,
                           const std::set<int>& hidden) {
    f.deal(colours, colorCount);
    for (int i = 0; i < f.game.cellCount(); ++i)
        if (!hidden.count(i)) f.game.revealCell(i);
    return visiblePosition(f.game);
}

std::map<int, int> forcedOf(const VisiblePosition& position) {
    Deduction deduction;
    EXPECT_TRUE(deduction.setPosition(position));
    std::map<int, int> forced;
    for (const ForcedCell& cell : deduction.forcedCells())
        forced[cell.cell] = cell.colour;
    return forced;
}

TEST(Deduction, PositionsReasonedOutByHand) {
    BoardFixture f;
    // Cell 5 is the only hidden cell of row 1, and row 1 hides one cell of colour 2: it is 2.
    // The faces alone could not tell, as cells 0 and 5 touch each other.
    const std::string counts = "12212 21112 12222 11222 12221";
    EXPECT_EQ(forcedOf(positionOf(f, counts, 2, {0, 4, 5, 18, 21, 22})),
              (std::map<int, int>{{0, 1}, {4, 2}, {5, 2}, {18, 2}, {21, 2}, {22, 2}}));

    // Swapping the colours of the rectangle 0, 4, 5, 9 keeps every line's totals and every
    // face: both colourings fit, so no cell is forced.
    const std::string swappable = "22121 11112 12221 11211 12111";
    EXPECT_TRUE(forcedOf(positionOf(f, swappable, 2, {0, 4, 5, 9})).empty());

    // The same kind of rectangle, 0, 2, 10, 12, where the counts allow both colourings; but
    // cell 12 laughs among neighbours of colour 1, so it is 1, and the rest follows.
    const std::string laughing = "11211 11111 21111 11111 11112";
    EXPECT_EQ(forcedOf(positionOf(f, laughing, 2, {0, 2, 10, 12})),
              (std::map<int, int>{{0, 1}, {2, 2}, {10, 2}, {12, 1}}));
}

TEST(Deduction, RefusesMalformedPositionsAndFindsNoColouringForContradictoryOnes) {
    BoardFixture f;
    VisiblePosition position = positionOf(f, "12212 21112 12222 11222 12221", 2, {0, 4, 5});
    Deduction deduction;
    VisiblePosition cut = position;
    cut.faces.pop_back();
    EXPECT_FALSE(deduction.setPosition(cut));
    EXPECT_TRUE(deduction.forcedCells().empty());
    EXPECT_TRUE(deduction.possibleColours(0).empty());

    // Row 0's hidden cell of colour 1 said to be in row 2, which is full: the counters still
    // add up, but no colouring meets them.
    VisiblePosition contradictory = position;
    contradictory.rowHidden[0][0] = 0;
    contradictory.rowHidden[2][0] = 1;
    ASSERT_TRUE(deduction.setPosition(contradictory));
    EXPECT_FALSE(deduction.isConsistent());
    EXPECT_TRUE(deduction.forcedCells().empty());

    // The same engine, given the true position again, answers it.
    ASSERT_TRUE(deduction.setPosition(position));
    EXPECT_TRUE(deduction.isConsistent());
    EXPECT_EQ(deduction.possibleColours(5), std::vector<int>{2});
}

// Every colouring of the hidden cells that shows the same faces and counters: the plain way.
std::vector<std::vector<int>> fittingColourings(const VisiblePosition& p) {
    std::vector<int> hidden;
    for (int i = 0; i < p.cellCount(); ++i)
        if (p.isHidden(i)) hidden.push_back(i);
    std::vector<std::vector<int>> fitting;
    std::vector<int> colouring = p.shown;
    const auto fits = [&] {
        for (int line = 0; line < p.side; ++line)
            for (int c = 1; c <= p.colours; ++c) {
                int hiddenInRow = 0;
                int hiddenInColumn = 0;
                for (int k = 0; k < p.side; ++k) {
                    hiddenInRow +=
                        p.isHidden(line * p.side + k) && colouring[line * p.side + k] == c;
                    hiddenInColumn +=
                        p.isHidden(k * p.side + line) && colouring[k * p.side + line] == c;
                }
                if (hiddenInRow != p.rowHidden[line][c - 1] ||
                    hiddenInColumn != p.columnHidden[line][c - 1])
                    return false;
            }
        for (int i = 0; i < p.cellCount(); ++i) {
            int same = 0;
            int all = 0;
            for (int r = i / p.side - 1; r <= i / p.side + 1; ++r)
                for (int k = i % p.side - 1; k <= i % p.side + 1; ++k) {
                    if (r < 0 || k < 0 || r >= p.side || k >= p.side || r * p.side + k == i)
                        continue;
                    ++all;
                    same += colouring[r * p.side + k] == colouring[i];
                }
            if (neutralFace(same, all - same) != p.faces[i]) return false;
        }
        return true;
    };
    const std::function<void(std::size_t)> fill = [&](std::size_t k) {
        if (k == hidden.size()) {
            if (fits()) fitting.push_back(colouring);
            return;
        }
        for (int c = 1; c <= p.colours; ++c) {
            colouring[hidden[k]] = c;
            fill(k + 1);
        }
    };
    fill(0);
    return fitting;
}

// One engine follows each game as cells are revealed, and hidden again by the continued
// game's penalty, and must agree with the plain count at every step.
TEST(Deduction, AgreesWithEveryColouringCountedOnSmallBoards) {
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    for (int game = 0; game < 40; ++game) {
        BoardFixture f;
        const int colours = 2 + game % 3;
        f.game.setUp(5, colours, 8, true);
        f.platform.engine.seed(random());
        f.game.deal();
        // Reveal all but a few cells, then go back towards the full board step by step.
        std::vector<int> order(25);
        for (int i = 0; i < 25; ++i)
            order[i] = i;
        std::shuffle(order.begin(), order.end(), random);
        const int keepHidden = colours == 2 ? 11 : colours == 3 ? 8 : 5;
        for (int k = keepHidden; k < 25; ++k)
            f.game.revealCell(order[k]);
        Deduction deduction;
        for (int step = 0; step < 4 && f.game.gameRunning; ++step) {
            const VisiblePosition position = visiblePosition(f.game);
            const auto fitting = fittingColourings(position);
            ASSERT_FALSE(fitting.empty());
            ASSERT_TRUE(deduction.setPosition(position));
            std::map<int, int> expected;
            int mostConstrained = -1;
            std::size_t fewest = 5;
            for (int i = 0; i < 25; ++i) {
                if (!position.isHidden(i)) continue;
                std::set<int> possible;
                for (const auto& colouring : fitting)
                    possible.insert(colouring[i]);
                if (possible.size() == 1) expected[i] = *possible.begin();
                if (possible.size() < fewest) {
                    fewest = possible.size();
                    mostConstrained = i;
                }
                EXPECT_EQ(deduction.possibleColours(i),
                          std::vector<int>(possible.begin(), possible.end()))
                    << "game " << game << " step " << step << " cell " << i;
            }
            std::map<int, int> forced;
            for (const ForcedCell& cell : deduction.forcedCells())
                forced[cell.cell] = cell.colour;
            EXPECT_EQ(forced, expected) << "game " << game << " step " << step;
            Deduction fresh; // the guess's cell, found without every cell's colours known
            ASSERT_TRUE(fresh.setPosition(position));
            EXPECT_EQ(fresh.mostConstrainedCell(), mostConstrained)
                << "game " << game << " step " << step;
            if (step == 1) {
                // A wrong claim: the penalty hides revealed cells again.
                for (int i = 0; i < 25; ++i) {
                    if (f.game.cells[i].isHidden()) {
                        f.game.guessWrong(i);
                        break;
                    }
                }
            } else {
                f.game.revealCell(order[static_cast<std::size_t>(keepHidden - 1 - step)]);
            }
        }
    }
}

// Deal `deal` of a run from `seed`: sides from 5 up to 4 + `sides`, two to four colours and every
// pattern in turn, as the game deals them.
struct DealtGame {
    DealtGame(unsigned seed, int deal, int sides)
        : side(5 + deal % sides), colours(2 + deal % 3), pattern(deal % 9),
          platform(dealSeed(seed, side, colours, pattern, deal)) {
        dealCategory(game, side, colours, pattern);
    }
    int side;
    int colours;
    int pattern;
    SeededPlatform platform;
    Game game{platform};
};

// The engine plays every forced cell with the game's own move, so a wrong deduction would lose
// the game; none may. The real board is always among the colourings that fit.
TEST(Deduction, NeverWrongOnRandomDealsOfEveryPattern) {
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    for (int deal = 0; deal < 81; ++deal) {
        DealtGame dealt(seed, deal, 6);
        Game& game = dealt.game;
        Deduction deduction;
        ASSERT_TRUE(deduction.setPosition(visiblePosition(game)));
        for (int i = 0; i < game.cellCount(); i += 3) {
            if (!game.cells[i].isHidden()) continue;
            const std::vector<int> possible = deduction.possibleColours(i);
            EXPECT_NE(std::find(possible.begin(), possible.end(), game.board[i]), possible.end())
                << "deal " << deal << " cell " << i;
        }
        const GameReport report = playOut(game, deduction);
        EXPECT_TRUE(report.solved)
            << "deal " << deal << ": " << dealt.side << " x " << dealt.side << ", " << dealt.colours
            << " colours, pattern " << dealt.pattern;
    }
}

// A four-colour game whose search grows long goes on with a new solver in another search mode.
// One engine that changes at its first conflict and one that never does must give the same
// answers all through games that show cells from the start.
TEST(Deduction, AnswersStayTheSameWhenTheSolverChangesMidGame) {
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    int changed = 0;
    for (int deal = 0; deal < 6; ++deal) {
        const int pattern = deal % 2 == 0 ? 6 : 7; // few cells shown: searches need conflicts
        SeededPlatform platform(dealSeed(seed, 9, 4, pattern, deal));
        Game game(platform);
        dealCategory(game, 9, 4, pattern);
        Deduction changing(0);
        Deduction steady(std::numeric_limits<int>::max());
        while (game.gameRunning) {
            const VisiblePosition position = visiblePosition(game);
            ASSERT_TRUE(changing.setPosition(position));
            ASSERT_TRUE(steady.setPosition(position));
            const std::vector<ForcedCell> forced = steady.forcedCells();
            ASSERT_EQ(changing.forcedCells(), forced) << "deal " << deal;
            if (forced.empty()) {
                const int cell = steady.mostConstrainedCell();
                ASSERT_EQ(changing.mostConstrainedCell(), cell) << "deal " << deal;
                game.guessRight(cell);
            }
            playForcedCells(game, forced);
        }
        changed += changing.inStableMode() ? 1 : 0;
    }
    EXPECT_GT(changed, 0) << "no game needed a conflict: the change was never made";
}

// The quick stage's cells are forced cells with their colours. One engine follows each game,
// keeping the colours it rules out as facts, moving to the other search mode at its first
// conflict (its solver built again with those facts), and must then give the whole forced set
// of a fresh engine.
TEST(QuickStage, ProvesOnlyForcedCellsWithTheirColoursAsGamesGoOn) {
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    int proven = 0;
    for (int deal = 0; deal < 45; ++deal) {
        DealtGame dealt(seed, deal, 5);
        Game& game = dealt.game;
        Deduction quick(0);
        for (int step = 0; step < 4 && game.gameRunning; ++step) {
            const VisiblePosition position = visiblePosition(game);
            ASSERT_TRUE(quick.setPosition(position));
            Deduction full;
            ASSERT_TRUE(full.setPosition(position));
            const std::vector<ForcedCell> forced = full.forcedCells();
            for (const ForcedCell& cell : quick.quickForcedCells(kQuickConflicts)) {
                EXPECT_NE(std::find(forced.begin(), forced.end(), cell), forced.end())
                    << "deal " << deal << " step " << step << " cell " << cell.cell;
                ++proven;
            }
            EXPECT_EQ(quick.forcedCells(), forced) << "deal " << deal << " step " << step;
            if (forced.empty()) game.guessRight(full.mostConstrainedCell());
            playForcedCells(game, forced);
        }
    }
    EXPECT_GT(proven, 0) << "the quick stage never proved a cell";
}

TEST(Hint, FramesAProvenCellSaysWhenNoneIsAndClaimsNothingWhenItsBudgetEnds) {
    BoardFixture f;
    Deduction deduction;
    // Forced: 0, 4, 5, 18, 21, 22. From cell 24, 18 is nearest.
    const VisiblePosition forced =
        positionOf(f, "12212 21112 12222 11222 12221", 2, {0, 4, 5, 18, 21, 22});
    EXPECT_EQ(findHint(deduction, forced, 24), (HintAnswer{HintOutcome::Forced, {18, 2}}));
    // Both colourings of the rectangle fit: the engine proves that no cell is forced.
    const VisiblePosition swappable =
        positionOf(f, "22121 11112 12221 11211 12111", 2, {0, 4, 5, 9});
    EXPECT_EQ(findHint(deduction, swappable, 0), HintAnswer{HintOutcome::NoneForced});

    // Every cell hidden on 15 x 15 with four colours, and a budget too small for any search.
    SeededPlatform platform(dealSeed(1, 15, 4, 8, 0));
    Game game(platform);
    dealCategory(game, 15, 4, 8);
    const HintAnswer late =
        findHint(deduction, visiblePosition(game), 112, std::chrono::microseconds(1));
    EXPECT_EQ(late, HintAnswer{HintOutcome::Undecided});
    // The same engine with time enough proves a cell near it in the quick stage (the whole
    // question would take minutes here).
    const HintAnswer answer =
        findHint(deduction, visiblePosition(game), 112, std::chrono::seconds(60));
    ASSERT_EQ(answer.outcome, HintOutcome::Forced);
    EXPECT_EQ(game.board[static_cast<std::size_t>(answer.cell.cell)], answer.cell.colour);
}

} // namespace
} // namespace quorvin::test
