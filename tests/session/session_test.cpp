// The game window's rules without a window: new game, clock and rank line, pause, mouse, keys.
#include "session/session.h"
#include "support/fake_platform.h"

#include <gtest/gtest.h>

namespace quorvin::test {
namespace {

struct SessionFixture {
    FakePlatform platform;
    Game game{platform};
    Session session{game};

    explicit SessionFixture(int side = 7, int colours = 2, int pattern = 0) {
        game.setUp(side, colours, pattern, false);
        session.newGame();
    }
    void runFor(double seconds) {
        platform.clock += seconds;
        session.tick();
    }
};

TEST(ShownTenths, CutsToTenthsBelowAHundredAndToSecondsFromThere) {
    const std::pair<double, int> shown[] = {{0.05, 0},    {0.1, 1},       {12.3, 123},
                                            {99.95, 999}, {99.999, 999},  {100.0, 1000},
                                            {345.99, 3450}};
    for (const auto& [seconds, tenths] : shown) EXPECT_EQ(shownTenths(seconds), tenths) << seconds;
}

TEST(NewGame, LeavesTheBoardHiddenBehindTheStartButtonWithTheCategoryTimes) {
    SessionFixture f;
    int askedFor = -1;
    f.session.categoryTimesOf = [&](int category, bool) {
        askedFor = category;
        return std::vector<int>{100, 200, 300, kClockLimitTenths};
    };
    f.game.boardSize = 10;
    f.game.colorCount = 3;
    f.game.startPattern = 8;
    f.game.resizeBoard();
    f.session.newGame();
    EXPECT_EQ(askedFor, categoryIndex({3, 10, 8}));
    EXPECT_EQ(f.session.category, askedFor);
    EXPECT_TRUE(f.session.startButtonVisible);
    EXPECT_EQ(f.session.startAction, StartAction::Start);
    EXPECT_FALSE(f.session.boardVisible);
    EXPECT_FALSE(f.session.clock.ticked);
    EXPECT_TRUE(f.game.gameRunning);
    EXPECT_FALSE(f.game.timerEnabled);

    SessionFixture small(7);
    small.platform.onEvents = [&] { EXPECT_FALSE(small.session.noticeVisible); };
    small.session.newGame(); // no notice for a board up to 7 x 7
    EXPECT_EQ(small.session.category, categoryIndex({2, 7, 0}));
    EXPECT_EQ(small.session.categoryTimes, std::vector<int>{kClockLimitTenths});
}

TEST(Clock, RunsFromTheStartAndShowsTheRankAsCategoryTimesArePassed) {
    SessionFixture f;
    f.session.categoryTimes = {100, 200, 300, kClockLimitTenths};
    f.platform.clock += 50; // waiting before the start does not count
    f.session.pressStart();
    EXPECT_EQ(f.game.rank, (Rank{1, 100}));
    EXPECT_TRUE(f.session.boardVisible);
    EXPECT_TRUE(f.game.cursorFrameVisible);
    EXPECT_TRUE(f.game.timerEnabled);
    f.runFor(15.25);
    EXPECT_EQ(f.session.clock, (ClockReading{true, 152}));
    EXPECT_EQ(f.game.rank, (Rank{2, 200}));
    f.runFor(14.8);
    EXPECT_EQ(f.session.clock.tenths, 300);
    EXPECT_EQ(f.game.rank, (Rank{4, kClockLimitTenths})); // 30.0 is not better than 30.0
    f.runFor(69.9);
    EXPECT_EQ(f.session.clock.tenths, 999);
    f.runFor(0.1);
    EXPECT_EQ(f.session.clock.tenths, 1000);
    f.runFor(900);
    EXPECT_EQ(f.session.clock.tenths, 10000);
    EXPECT_EQ(f.game.rank, (Rank{4, kClockLimitTenths})); // nothing is greater: the line stays
    f.runFor(0.1);
    EXPECT_EQ(f.session.clock.tenths, kClockLimitTenths);
    EXPECT_FALSE(f.game.timerEnabled);
    EXPECT_TRUE(f.game.gameRunning); // the game goes on without a clock
}

TEST(Pause, LeavesOutThePausedSpansAndKeepsEmpezarBeforeTheFirstTick) {
    SessionFixture f;
    f.session.pressStart();
    f.session.pause(); // before any tick
    EXPECT_EQ(f.session.startAction, StartAction::Start);
    EXPECT_FALSE(f.session.boardVisible);
    EXPECT_FALSE(f.game.cursorFrameVisible);
    f.platform.clock += 30;
    f.session.pressStart();
    f.runFor(5.05);
    EXPECT_EQ(f.session.clock.tenths, 50);
    f.session.pause();
    EXPECT_EQ(f.session.startAction, StartAction::Continue);
    EXPECT_FALSE(f.game.timerEnabled);
    f.platform.clock += 100;
    f.session.pressStart();
    f.runFor(2.0);
    EXPECT_EQ(f.session.clock.tenths, 70);
    // A second pause while paused moves the pause's moment: that span counts as played.
    f.session.pause();
    f.platform.clock += 10;
    f.session.pause();
    f.platform.clock += 60;
    f.session.pressStart();
    f.runFor(1.0);
    EXPECT_EQ(f.session.clock.tenths, 180);

    f.game.gameRunning = false;
    f.session.pause();
    EXPECT_TRUE(f.session.boardVisible); // nothing to pause

    // A first tick at 0.05 s shows 0.0: the clock has run, so the button continues.
    SessionFixture quick;
    quick.session.pressStart();
    quick.runFor(0.05);
    quick.session.pause();
    EXPECT_EQ(quick.session.startAction, StartAction::Continue);
}

TEST(Keys, ArrowsWrapWithinTheirRowOrColumnOnFiveByFive) {
    SessionFixture f(5);
    Game& g = f.game;
    const struct { int from, key, to; } moves[] = {
        {2, KeyUp, 22},    {22, KeyDown, 2},   {10, KeyLeft, 14}, {14, KeyRight, 10},
        {12, KeyUp, 7},    {12, KeyDown, 17},  {12, KeyLeft, 11}, {12, KeyRight, 13},
        {0, KeyLeft, 4},   {24, KeyDown, 4},   {24, KeyRight, 20},
    };
    for (const auto& m : moves) {
        g.highlightCursor(false);
        g.cursorCell = m.from;
        g.highlightCursor(true);
        f.session.keyDown(m.key);
        EXPECT_EQ(g.cursorCell, m.to) << m.from << " key " << m.key;
        for (int k = 0; k < 5; ++k) {
            EXPECT_EQ(g.rowHighlighted[k], k == m.to / 5);
            EXPECT_EQ(g.columnHighlighted[k], k == m.to % 5);
        }
    }
}

TEST(Keys, DigitsChooseAndPlayAndIgnoreColoursOutOfPlay) {
    SessionFixture f(5, 2, 8);
    Game& g = f.game;
    f.session.keyDown(Key1 + 2); // "3" with two colours: nothing at all
    EXPECT_EQ(g.selectedColour, 1);
    f.session.keyDown(KeySpace);
    EXPECT_EQ(g.selectedColour, 2);
    f.session.keyDown(KeySpace);
    EXPECT_EQ(g.selectedColour, 1);

    // The right digit on the cursor cell reveals it; then the same digit on it only selects.
    const int colour = g.board[0];
    f.session.keyDown(Key1 + colour - 1);
    EXPECT_FALSE(g.cells[0].isHidden());
    f.session.keyDown(Key1 + (colour % 2));
    EXPECT_EQ(g.selectedColour, colour % 2 + 1);
    EXPECT_TRUE(g.gameRunning);

    // The wrong digit on a hidden cell loses the game; the cursor is left as the end left it.
    f.session.keyDown(KeyRight);
    while (!g.cells[g.cursorCell].isHidden()) f.session.keyDown(KeyRight);
    const int wrong = 3 - g.board[g.cursorCell];
    f.session.keyDown(Key1 + wrong - 1);
    EXPECT_FALSE(g.gameRunning);
    EXPECT_EQ(g.rowHighlighted, std::vector<bool>(5, false));
    f.session.keyDown(KeyK);
    EXPECT_FALSE(g.peekMode); // K does nothing without a game
}

// A hint's answer counts only for the position it was asked about; of several forced cells it
// frames the one nearest the cursor.
TEST(Hint, AnswersForAnEarlierPositionAreDroppedAndTheNearestCellIsFramed) {
    SessionFixture f(5, 2, 8);
    EXPECT_FALSE(f.session.canHint()); // before the start
    f.session.pressStart();
    ASSERT_TRUE(f.session.canHint());
    const std::vector<ForcedCell> forced{{24, 2}, {0, 1}, {13, 1}, {11, 2}};

    const unsigned beforePause = f.session.requestHint().stamp;
    f.session.pause();
    f.session.pressStart();
    EXPECT_FALSE(f.session.showHint(beforePause, forced));
    const unsigned beforeMove = f.session.requestHint().stamp;
    f.game.selectColour(f.game.board[6]);
    f.session.pressCell(6, MouseButton::Left);
    EXPECT_FALSE(f.session.showHint(beforeMove, forced));
    EXPECT_FALSE(f.session.hintUsed());

    // Cursor on 12: cells 11 and 13 are as near; the first in reading order wins.
    f.session.hoverCell(12);
    EXPECT_TRUE(f.session.showHint(f.session.requestHint().stamp, forced));
    EXPECT_EQ(f.session.hintCell(), 11);
    EXPECT_EQ(f.session.hintColour(), 2);
    EXPECT_EQ(f.session.hintLine(), "");
    EXPECT_TRUE(f.session.showHint(f.session.requestHint().stamp, std::vector<ForcedCell>{}));
    EXPECT_EQ(f.session.hintCell(), -1);
    EXPECT_TRUE(f.session.noSafeMoveShown());
    EXPECT_EQ(f.session.hintLine(), "No hay jugada segura: toca arriesgar.");
    f.session.hintExpired();
    EXPECT_FALSE(f.session.noSafeMoveShown());
    EXPECT_EQ(f.session.hintLine(), "");
    EXPECT_TRUE(f.session.hintUsed());

    const unsigned beforeNewGame = f.session.requestHint().stamp;
    f.session.newGame();
    f.session.pressStart();
    EXPECT_FALSE(f.session.hintUsed());
    EXPECT_FALSE(f.session.showHint(beforeNewGame, forced));
}

// An answer of the budget that ran out claims nothing: its line shows, no cell, and the game
// may still enter the records; a stopped question shows nothing; the request carries the cursor.
TEST(Hint, AnUndecidedAnswerShowsItsLineAndLeavesTheGameForTheRecords) {
    SessionFixture f(5, 2, 8);
    f.session.pressStart();
    f.session.hoverCell(7);
    const HintRequest request = f.session.requestHint();
    EXPECT_EQ(request.cursor, 7);
    EXPECT_FALSE(f.session.showHint(request.stamp, HintAnswer{HintOutcome::Stopped}));
    EXPECT_EQ(f.session.hintLine(), "");
    EXPECT_TRUE(f.session.showHint(request.stamp, HintAnswer{HintOutcome::Undecided}));
    EXPECT_EQ(f.session.hintLine(), "No encuentro una jugada segura a tiempo.");
    EXPECT_EQ(f.session.hintCell(), -1);
    EXPECT_FALSE(f.session.noSafeMoveShown());
    EXPECT_FALSE(f.session.hintUsed());
    EXPECT_TRUE(f.session.showHint(request.stamp, HintAnswer{HintOutcome::Forced, {3, 1}}));
    EXPECT_EQ(f.session.hintLine(), "");
    EXPECT_EQ(f.session.hintCell(), 3);
    EXPECT_TRUE(f.session.hintUsed());
}

} // namespace
} // namespace quorvin::test
