// Start patterns: how many cells each reveals on every side, the preview drawings, and the
// random patterns' distinct draws.
#include "model/board_fixture.h"

#include <gtest/gtest.h>

namespace quorvin::test {
namespace {

// Cells revealed, by side 5..15 and pattern 0..7 ("Vacío" reveals none).
constexpr int kRevealed[11][8] = {
    {13, 10, 16, 8, 10, 7, 9, 5},        {18, 18, 20, 12, 14, 9, 12, 7},
    {25, 21, 24, 17, 20, 13, 13, 10},    {32, 32, 28, 24, 26, 16, 16, 13},
    {41, 36, 32, 32, 32, 21, 17, 16},    {50, 50, 36, 40, 40, 25, 20, 20},
    {61, 55, 40, 49, 48, 31, 21, 24},    {72, 72, 44, 60, 58, 36, 24, 29},
    {85, 78, 48, 72, 68, 43, 25, 34},    {98, 98, 52, 84, 78, 49, 28, 39},
    {113, 105, 56, 97, 90, 57, 29, 45},
};

TEST(StartPatterns, RevealTheirCellCountOnEverySide) {
    for (int side = 5; side <= 15; ++side) {
        for (int pattern = 0; pattern <= 8; ++pattern) {
            FakePlatform platform;
            platform.engine.seed(static_cast<unsigned>(side * 9 + pattern));
            Game g(platform);
            g.setUp(side, 4, pattern, true);
            g.deal();
            int revealed = 0;
            std::array<int, 4> hidden{};
            for (int i = 0; i < side * side; ++i) {
                const Cell& c = g.cells[i];
                EXPECT_EQ(c.coloured, !c.isHidden());
                if (c.isHidden()) ++hidden[g.board[i] - 1];
                else ++revealed;
            }
            const int expected = pattern == 8 ? 0 : kRevealed[side - 5][pattern];
            EXPECT_EQ(revealed, expected) << "side " << side << ", pattern " << pattern;
            EXPECT_EQ(g.colourCounters, hidden);
            EXPECT_TRUE(g.gameRunning);
            EXPECT_EQ(platform.solvedCalls, 0);
        }
    }
}

std::string previewRows(const Game& g) {
    std::string rows;
    for (int i = 0; i < 49; ++i) {
        rows += g.preview[i] ? 'X' : '.';
        if (i % 7 == 6 && i != 48) rows += ' ';
    }
    return rows;
}

TEST(StartPatterns, DrawTheSevenBySevenPreviewWhateverTheBoardSide) {
    const std::pair<int, const char*> drawings[] = {
        {0, "X.X.X.X .X.X.X. X.X.X.X .X.X.X. X.X.X.X .X.X.X. X.X.X.X"},
        {1, ".X.X.X. .X.X.X. .X.X.X. .X.X.X. .X.X.X. .X.X.X. .X.X.X."},
        {2, ".X...X. XXXXXXX .X...X. .X...X. .X...X. XXXXXXX .X...X."},
        {3, "....... .XXXXX. .X...X. .X.X.X. .X...X. .XXXXX. ......."},
        {5, "X...X.. .X...X. ..X...X ...X... X...X.. .X...X. ..X...X"},
        {6, "X.....X .X...X. ..X.X.. ...X... ..X.X.. .X...X. X.....X"},
        {8, "....... ....... ....... ....... ....... ....... ......."},
    };
    BoardFixture f;
    f.deal(std::string(225, '1'), 2);
    const std::vector<Cell> board = f.game.cells;
    for (const auto& [pattern, rows] : drawings) {
        f.game.startPattern = pattern;
        f.game.drawPreview();
        EXPECT_EQ(previewRows(f.game), rows) << "pattern " << pattern;
        EXPECT_TRUE(f.game.drawOnBoard);
    }
    EXPECT_TRUE(f.game.cells == board);
    EXPECT_EQ(f.game.colourCounters[0], 225);
}

TEST(StartPatterns, RandomPatternsDrawDistinctCellsAndThePreviewHasItsOwnCounts) {
    for (const auto& [pattern, previewCount] : {std::pair{7, 9}, std::pair{4, 19}}) {
        BoardFixture f;
        f.deal(std::string(49, '1'), 2);
        f.game.startPattern = pattern;
        // Every draw lands on cell 10 first: the repeats must be drawn again, not counted.
        for (int k = 0; k < 5; ++k) f.platform.scriptCell(10, 49);
        f.game.drawPreview();
        int green = 0;
        for (bool on : f.game.preview) green += on;
        EXPECT_EQ(green, previewCount);
        EXPECT_TRUE(f.game.preview[10]);
    }
}

} // namespace
} // namespace quorvin::test
