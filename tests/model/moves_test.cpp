// Moves: right and wrong claims, the one-step reveal, the penalty, and the solved check.
#include "model/board_fixture.h"

#include <gtest/gtest.h>

namespace quorvin::test {
namespace {

std::vector<int> revealedCells(const Game& g) {
    std::vector<int> out;
    for (int i = 0; i < g.cellCount(); ++i)
        if (!g.cells[i].isHidden()) out.push_back(i);
    return out;
}

TEST(Claims, ARightClaimRevealsTheCellInColourAndCountsItOff) {
    BoardFixture f;
    f.deal("12211 12121 21112 11211 22121", 2);
    const Cell before = f.cell(6); // colour 2, worried: 3 neighbours of its colour, 5 others
    f.game.selectColour(2);
    f.game.playCell(6);
    EXPECT_FALSE(f.cell(6).isHidden());
    EXPECT_EQ(f.neighbours(6), std::pair(before.sameNeighbours, before.otherNeighbours));
    EXPECT_TRUE(f.cell(6).coloured);
    EXPECT_EQ(f.cell(6).face, before.face);
    EXPECT_EQ(f.game.colourCounters[1], 9);
    EXPECT_EQ(f.game.faceOverride, kNoFaceOverride);
    EXPECT_EQ(revealedCells(f.game), std::vector<int>{6});

    // Playing it again, with the right colour or not, changes nothing.
    const Game snapshot = f.game;
    f.game.playCell(6);
    f.game.selectColour(1);
    f.game.playCell(6);
    EXPECT_EQ(f.game.colourCounters, snapshot.colourCounters);
    EXPECT_EQ(revealedCells(f.game), std::vector<int>{6});
    EXPECT_TRUE(f.game.gameRunning);
}

TEST(Claims, ALaughingFaceRevealsItsNeighboursOneStepOnly) {
    BoardFixture f;
    // Cell 12 and cell 6 both laugh (every neighbour is colour 1); only 12's ring opens.
    f.deal("11112 11111 11111 11111 21112", 3);
    ASSERT_EQ(f.cell(12).face, Laughing);
    ASSERT_EQ(f.cell(6).face, Laughing);
    f.game.playCell(12);
    EXPECT_EQ(revealedCells(f.game), (std::vector<int>{6, 7, 8, 11, 12, 13, 16, 17, 18}));
    EXPECT_EQ(f.game.colourCounters[0], 22 - 9);
    EXPECT_EQ(f.game.rowCounters[1], 2); // recounted after the move
}

TEST(Claims, ALaughingCornerTouchesOnlyItsThreeNeighbours) {
    BoardFixture f;
    f.deal("11222 11222 22222 22222 22221", 2);
    f.game.selectColour(1);
    f.game.playCell(1); // face 3 or so: reveals only itself
    ASSERT_EQ(revealedCells(f.game), std::vector<int>{1});
    f.game.playCell(0); // laughing corner: 1 (already shown), 5 and 6
    EXPECT_EQ(revealedCells(f.game), (std::vector<int>{0, 1, 5, 6}));
    EXPECT_EQ(f.game.colourCounters[0], 1);
}

TEST(Claims, ADeadFaceRevealsItsNeighboursOnlyWithTwoColours) {
    for (int colours : {2, 3}) {
        BoardFixture f;
        f.deal("22222 22222 22122 22222 22222", colours);
        ASSERT_EQ(f.cell(12).face, Dead);
        f.game.playCell(12);
        const auto expected = colours == 2 ? std::vector<int>{6, 7, 8, 11, 12, 13, 16, 17, 18}
                                           : std::vector<int>{12};
        EXPECT_EQ(revealedCells(f.game), expected) << colours << " colours";
    }
}

TEST(Claims, AWrongClaimLosesTheGameAndShowsTheWholeBoard) {
    BoardFixture f;
    f.deal("12121 21212 12121 21212 12121", 2, 6); // "Ekis" reveals 9 cells
    Game& g = f.game;
    g.timerEnabled = true;
    g.rank = Rank{1, kClockLimitTenths};
    g.cursorFrameVisible = true;
    const std::vector<Cell> before = g.cells;
    const auto counters = g.colourCounters;
    const auto rowCounters = g.rowCounters;
    g.playCell(1); // colour 2 while 1 is selected
    EXPECT_FALSE(g.gameRunning);
    EXPECT_FALSE(g.timerEnabled);
    EXPECT_TRUE(g.lostMarkerVisible);
    EXPECT_EQ(g.lostCell, 1);
    EXPECT_FALSE(g.cursorFrameVisible);
    EXPECT_FALSE(g.rank);
    for (int i = 0; i < 25; ++i) {
        EXPECT_TRUE(g.cells[i].coloured) << i;
        EXPECT_EQ(g.cells[i].state, before[i].state) << i; // hidden cells stay hidden
        EXPECT_EQ(g.cells[i].face, before[i].face) << i;
    }
    EXPECT_EQ(g.colourCounters, counters);
    EXPECT_EQ(g.rowCounters, rowCounters);
    EXPECT_FALSE(g.lineCountersBlank);
    EXPECT_EQ(g.rowHighlighted, std::vector<bool>(5, false));
    EXPECT_EQ(g.columnHighlighted, std::vector<bool>(5, false));
    EXPECT_EQ(f.platform.solvedCalls, 0);

    g.playCell(2); // nothing acts after the end
    EXPECT_TRUE(g.cells[2].isHidden());
}

// The number of cells a wrong claim hides again grows with the board side.
TEST(Penalty, HidesTwoThreeOrFourRevealedCellsByBoardSide) {
    for (int side = 5; side <= 15; ++side) {
        FakePlatform platform;
        Game g(platform);
        g.setUp(side, 2, 0, true); // "50-por-ciento": plenty revealed
        g.deal();
        const auto before = revealedCells(g);
        int wrong = 0;
        while (!g.cells[wrong].isHidden() || g.board[wrong] == 1) ++wrong;
        g.playCell(wrong);
        const int expected = side <= 6 ? 2 : side <= 12 ? 3 : 4;
        EXPECT_EQ(before.size() - revealedCells(g).size(), static_cast<std::size_t>(expected)) << side;
        EXPECT_TRUE(g.gameRunning);
        EXPECT_TRUE(g.cells[wrong].isHidden());
    }
}

TEST(Penalty, ReHiddenCellsGetTheirGreyFacesAndTheCountersFollow) {
    BoardFixture f;
    // 13 x 13: the checkerboard opens 85 cells.
    std::string colours;
    for (int i = 0; i < 169; ++i) colours += char('1' + (i * 7 / 3) % 3);
    f.deal(colours, 3, 0, true);
    Game& g = f.game;
    // The draws land on 2 (revealed), 1 (hidden: drawn again), 2 again (now hidden: drawn
    // again), 0, 28 and 30: four cells go back, the count for a side of 13.
    for (int cell : {2, 1, 2, 0, 28, 30}) f.platform.scriptCell(cell, 169);
    g.timerEnabled = true; // the clock is running
    int wrong = 1;
    while (g.board[wrong] == 1) wrong += 2;
    g.playCell(wrong);
    EXPECT_TRUE(g.gameRunning);
    EXPECT_TRUE(g.timerEnabled);
    EXPECT_FALSE(g.lostMarkerVisible);
    for (int cell : {0, 2, 28, 30}) {
        EXPECT_TRUE(f.cell(cell).isHidden()) << cell;
        EXPECT_FALSE(f.cell(cell).coloured);
        EXPECT_EQ(f.cell(cell).face,
                  neutralFace(f.cell(cell).sameNeighbours, f.cell(cell).otherNeighbours));
    }
    EXPECT_EQ(f.hiddenCount(), 169 - 85 + 4);
    std::array<int, 4> hidden{};
    for (int i = 0; i < 169; ++i)
        if (f.cell(i).isHidden()) ++hidden[g.board[i] - 1];
    EXPECT_EQ(g.colourCounters, hidden);
    // The row and column counters count the re-hidden cells of the selected colour too.
    for (int line = 0; line < 13; ++line) {
        EXPECT_EQ(g.rowCounters[line], f.hiddenOfColour(g.selectedColour, line)) << "row " << line;
        EXPECT_EQ(g.columnCounters[line], f.hiddenOfColour(g.selectedColour, line, true))
            << "column " << line;
    }
}

TEST(Penalty, NeverAsksForMoreCellsThanAreRevealed) {
    BoardFixture f;
    f.deal("1111111111111112111111111", 2, 8, true); // nothing revealed
    f.game.colourCounters = {-1, -1, -1, -1};
    f.game.playCell(15);
    EXPECT_EQ(f.hiddenCount(), 25);
    EXPECT_EQ(f.game.colourCounters, (std::array{24, 1, 0, 0}));

    f.game.playCell(0); // a laughing corner: 0, 1, 5 and 6
    const int revealed = 25 - f.hiddenCount();
    ASSERT_GE(revealed, 1);
    f.game.playCell(15);
    EXPECT_EQ(f.hiddenCount(), 25 - std::max(0, revealed - 2));

    // With a single revealed cell the penalty takes just that one, and does not draw forever.
    // (Three colours, so that the dead face of 15 does not open its neighbours.)
    f.deal("1111111111111112111111111", 3, 8, true);
    f.game.selectColour(2);
    f.game.playCell(15); // right: 15 alone opens
    ASSERT_EQ(f.hiddenCount(), 24);
    f.game.playCell(14); // wrong
    EXPECT_EQ(f.hiddenCount(), 25);
    EXPECT_TRUE(f.game.gameRunning);
}

TEST(Solved, TheLastRevealStopsTheClockBeforeTheRecordIsAskedFor) {
    BoardFixture f;
    f.deal("1111111111111111111111112", 2);
    Game& g = f.game;
    g.timerEnabled = true;
    g.rank = Rank{1, kClockLimitTenths};
    g.cursorFrameVisible = true;
    f.platform.onSolved = [&] {
        EXPECT_FALSE(g.gameRunning);
        EXPECT_FALSE(g.timerEnabled);
        EXPECT_FALSE(g.rank);
        EXPECT_EQ(f.hiddenCount(), 0);
    };
    // Everything but the lone 2 in the corner and its three neighbours is already open.
    for (int i = 0; i < 25; ++i)
        if (i != 18 && i != 19 && i != 23 && i != 24) g.revealCell(i);
    EXPECT_EQ(f.platform.solvedCalls, 0);
    g.selectColour(2);
    g.playCell(24); // a dead face with two colours: its ring opens, and the last one solves
    EXPECT_EQ(f.platform.solvedCalls, 1);
    EXPECT_FALSE(g.cursorFrameVisible);
    EXPECT_TRUE(g.lineCountersBlank);
    EXPECT_EQ(g.rowHighlighted, std::vector<bool>(5, false));
    EXPECT_EQ(g.colourCounters, (std::array{0, 0, 0, 0}));
}

TEST(Reveal, WithoutAGameOrOnThePreviewTheBoardStaysAsItIs) {
    BoardFixture f;
    f.deal("1212121212121212121212121", 2);
    const std::vector<Cell> before = f.game.cells;
    f.game.drawOnBoard = false;
    f.game.revealCell(24);
    EXPECT_TRUE(f.game.preview[24]);
    f.game.drawOnBoard = true;
    EXPECT_TRUE(f.game.cells == before);

    f.game.gameRunning = false;
    f.game.revealCell(3);
    EXPECT_TRUE(f.cell(3).coloured);
    EXPECT_TRUE(f.cell(3).isHidden());
    EXPECT_EQ(f.game.colourCounters[1], 12);
    EXPECT_EQ(f.platform.solvedCalls, 0);
}

} // namespace
} // namespace quorvin::test
