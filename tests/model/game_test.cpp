// The deal: colours, neighbour counts, faces and counters, checked against a recount.
#include "model/board_fixture.h"

#include <gtest/gtest.h>

#include <numeric>

namespace quorvin::test {
namespace {

// The neighbour counts recomputed the slow, obvious way.
std::pair<int, int> recount(const Game& g, int i) {
    const int n = g.boardSize;
    int same = 0, other = 0;
    for (int j = 0; j < n * n; ++j) {
        const int dr = std::abs(j / n - i / n), dc = std::abs(j % n - i % n);
        if (j == i || dr > 1 || dc > 1) continue;
        (g.board[j] == g.board[i] ? same : other)++;
    }
    return {same, other};
}

TEST(NeutralFace, EachConditionGivesItsFace) {
    EXPECT_EQ(neutralFace(8, 0), Laughing);
    EXPECT_EQ(neutralFace(3, 0), Laughing);
    EXPECT_EQ(neutralFace(0, 5), Dead);
    EXPECT_EQ(neutralFace(5, 3), Smiling);
    EXPECT_EQ(neutralFace(4, 4), Frowning);
    EXPECT_EQ(neutralFace(1, 2), Worried);
}

TEST(Deal, SeededBoardsAgreeWithARecountOnEverySideAndColourCount) {
    for (int side = 5; side <= 15; ++side) {
        for (int colours = 2; colours <= 4; ++colours) {
            FakePlatform platform;
            platform.engine.seed(static_cast<unsigned>(side * 10 + colours));
            Game g(platform);
            g.setUp(side, colours, 8, true);
            g.deal();
            SCOPED_TRACE("side " + std::to_string(side) + ", colours " + std::to_string(colours));

            std::array<int, 4> perColour{};
            for (int i = 0; i < side * side; ++i) {
                ASSERT_GE(g.board[i], 1);
                ASSERT_LE(g.board[i], colours);
                ++perColour[g.board[i] - 1];
                const auto [same, other] = recount(g, i);
                const Cell& c = g.cells[i];
                ASSERT_TRUE(c.isHidden()) << i;
                ASSERT_EQ(std::pair(c.sameNeighbours, c.otherNeighbours), std::pair(same, other))
                    << i;
                ASSERT_EQ(c.face, neutralFace(same, other)) << i;
                ASSERT_FALSE(c.coloured);
            }
            EXPECT_EQ(g.colourCounters, perColour);
        }
    }
}

TEST(Deal, UniformAndIsolatedCellsGetLaughingAndDeadFaces) {
    BoardFixture f;
    f.deal("11111 11111 11211 11111 11111", 3);
    EXPECT_EQ(f.neighbours(0), std::pair(3, 0));
    EXPECT_EQ(f.cell(0).face, Laughing);
    EXPECT_EQ(f.neighbours(12), std::pair(0, 8));
    EXPECT_EQ(f.cell(12).face, Dead);
    EXPECT_EQ(f.neighbours(6), std::pair(7, 1));
    EXPECT_EQ(f.cell(6).face, Smiling);
    EXPECT_EQ(f.game.colourCounters, (std::array{24, 1, 0, 0}));
}

TEST(Deal, LeavesTheStartingPlayStateAndRunsTheSelection) {
    BoardFixture f;
    // A lost game first: the whole board is shown in colour and the lost cell framed.
    f.deal("1212121212121212121212121", 2, 0);
    f.game.playCell(1);
    ASSERT_TRUE(f.game.lostMarkerVisible);
    f.game.selectedColour = 2;
    f.game.cursorCell = 17;
    f.game.peekMode = true;
    f.game.rowHighlighted[3] = true;
    f.deal("11111 11112 22222 11111 21111", 2, 8);
    const Game& g = f.game;
    for (int i = 0; i < 25; ++i) EXPECT_FALSE(g.cells[i].coloured) << i; // every face grey again
    EXPECT_TRUE(g.gameRunning);
    EXPECT_EQ(g.faceOverride, kNoFaceOverride);
    EXPECT_EQ(g.selectedColour, 1);
    EXPECT_EQ(g.swatchColour, 1);
    EXPECT_EQ(g.cursorCell, 0);
    EXPECT_FALSE(g.peekMode);
    EXPECT_FALSE(g.lostMarkerVisible);
    EXPECT_FALSE(g.cursorFrameVisible);
    EXPECT_EQ(g.rowHighlighted, (std::vector<bool>{true, false, false, false, false}));
    EXPECT_EQ(g.columnHighlighted, (std::vector<bool>{true, false, false, false, false}));
    EXPECT_FALSE(g.lineCountersBlank);
    EXPECT_EQ(g.rowCounters, (std::vector{5, 4, 0, 5, 4}));
    EXPECT_EQ(g.columnCounters, (std::vector{3, 4, 4, 4, 3}));
}

TEST(Deal, LetsWindowEventsRunOnceAfterTheColoursAndBeforeTheTags) {
    BoardFixture f;
    int calls = 0;
    f.platform.onEvents = [&] {
        ++calls;
        EXPECT_TRUE(f.game.gameRunning);
        for (int colour : f.game.board) EXPECT_GE(colour, 1);
        EXPECT_EQ(f.neighbours(0), std::pair(0, 0)); // counts not yet written
    };
    f.deal("1212121212121212121212121", 2);
    EXPECT_EQ(calls, 1);
}

TEST(Selection, CountsHiddenCellsOfTheColourAndWrapsAround) {
    BoardFixture f;
    f.deal("123 123 123 1231 2312 3123 1231", 3, 0); // 5x5 checkerboard reveals 13
    Game& g = f.game;
    for (int expected : {2, 3, 1, 2}) {
        g.nextColour();
        EXPECT_EQ(g.selectedColour, expected);
        EXPECT_EQ(g.swatchColour, expected);
        for (int r = 0; r < 5; ++r) EXPECT_EQ(g.rowCounters[r], f.hiddenOfColour(expected, r));
    }
    // Outside a game the colour steps but nothing shown changes.
    g.gameRunning = false;
    g.nextColour();
    EXPECT_EQ(g.selectedColour, 3);
    EXPECT_EQ(g.swatchColour, 2);
}

} // namespace
} // namespace quorvin::test
