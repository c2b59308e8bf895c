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
        game.boardSize = side;
        game.colorCount = colours;
        game.startPattern = pattern;
        game.continuedGame = false;
        game.resizeBoard();
        session.newGame();
    }
    void runFor(double seconds) {
        platform.clock += seconds;
        session.tick();
    }
};

TEST(ClockText, CutsToTenthsBelowAHundredAndToSecondsFromThere) {
    EXPECT_EQ(clockText(0.05), "0.0");
    EXPECT_EQ(clockText(0.1), "0.1");
    EXPECT_EQ(clockText(12.3), "12.3");
    EXPECT_EQ(clockText(99.95), "99.9");
    EXPECT_EQ(clockText(99.999), "99.9");
    EXPECT_EQ(clockText(100.0), "100");
    EXPECT_EQ(clockText(345.99), "345");
    EXPECT_EQ(shortTime("012.3", '.'), "12.3");
    EXPECT_EQ(shortTime("012.3", ','), "12,3");
    EXPECT_EQ(shortTime("123.0", '.'), "123");
    EXPECT_EQ(shortTime("999", '.'), "999");
    EXPECT_EQ(leadingNumber("  9.5"), 9.5);
    EXPECT_EQ(leadingNumber("12abc"), 12);
    EXPECT_EQ(leadingNumber("abc"), 0);
}

TEST(NewGame, LeavesTheBoardHiddenBehindTheStartButtonWithTheCategoryTimes) {
    SessionFixture f;
    std::string askedFor;
    f.session.categoryTimesOf = [&](const std::string& key) {
        askedFor = key;
        return std::vector<std::string>{"010.0", "020.0", "030.0", "999"};
    };
    f.game.boardSize = 10;
    f.game.colorCount = 3;
    f.game.startPattern = 8;
    f.game.resizeBoard();
    bool noticeDuringDeal = false;
    f.platform.onEvents = [&] { noticeDuringDeal = f.session.noticeVisible; };
    f.session.newGame();
    EXPECT_TRUE(noticeDuringDeal);
    EXPECT_FALSE(f.session.noticeVisible);
    EXPECT_EQ(askedFor, "3  10x10  Vacío");
    EXPECT_EQ(f.session.categoryKey, askedFor);
    EXPECT_TRUE(f.session.startButtonVisible);
    EXPECT_EQ(f.session.startCaption, "Empezar");
    EXPECT_FALSE(f.session.boardVisible);
    EXPECT_EQ(f.session.clock, "0");
    EXPECT_TRUE(f.game.gameRunning);
    EXPECT_FALSE(f.game.timerEnabled);

    SessionFixture small(7);
    small.platform.onEvents = [&] { EXPECT_FALSE(small.session.noticeVisible); };
    small.session.newGame();
    EXPECT_EQ(small.session.categoryKey, "2  7x7    50-por-ciento");
    EXPECT_EQ(small.session.categoryTimes, std::vector<std::string>{"999"});
}

TEST(Clock, RunsFromTheStartAndShowsTheRankAsCategoryTimesArePassed) {
    SessionFixture f;
    f.session.categoryTimes = {"010.0", "020.0", "030.0", "999"};
    f.platform.clock += 50; // waiting before the start does not count
    f.session.pressStart();
    EXPECT_EQ(f.game.rankText, "1º (10)");
    EXPECT_TRUE(f.session.boardVisible);
    EXPECT_TRUE(f.game.cursorFrameVisible);
    EXPECT_TRUE(f.game.timerEnabled);
    f.runFor(15.25);
    EXPECT_EQ(f.session.clock, "15.2");
    EXPECT_EQ(f.game.rankText, "2º (20)");
    f.runFor(14.8);
    EXPECT_EQ(f.session.clock, "30.0");
    EXPECT_EQ(f.game.rankText, "4º (999)"); // 30.0 is not better than 30.0
    f.runFor(69.9);
    EXPECT_EQ(f.session.clock, "99.9");
    f.runFor(0.1);
    EXPECT_EQ(f.session.clock, "100");
    f.runFor(900);
    EXPECT_EQ(f.session.clock, "1000");
    EXPECT_EQ(f.game.rankText, "4º (999)"); // nothing is greater: the line keeps its text
    f.runFor(0.1);
    EXPECT_EQ(f.session.clock, "999");
    EXPECT_FALSE(f.game.timerEnabled);
    EXPECT_TRUE(f.game.gameRunning); // the game goes on without a clock
}

TEST(Pause, LeavesOutThePausedSpansAndKeepsEmpezarBeforeTheFirstTick) {
    SessionFixture f;
    f.session.pressStart();
    f.session.pause(); // before any tick
    EXPECT_EQ(f.session.startCaption, "Empezar");
    EXPECT_FALSE(f.session.boardVisible);
    EXPECT_FALSE(f.game.cursorFrameVisible);
    f.platform.clock += 30;
    f.session.pressStart();
    f.runFor(5.05);
    EXPECT_EQ(f.session.clock, "5.0");
    f.session.pause();
    EXPECT_EQ(f.session.startCaption, "Continuar");
    EXPECT_FALSE(f.game.timerEnabled);
    f.platform.clock += 100;
    f.session.pressStart();
    f.runFor(2.0);
    EXPECT_EQ(f.session.clock, "7.0");
    // A second pause while paused moves the pause's moment: that span counts as played.
    f.session.pause();
    f.platform.clock += 10;
    f.session.pause();
    f.platform.clock += 60;
    f.session.pressStart();
    f.runFor(1.0);
    EXPECT_EQ(f.session.clock, "18.0");

    f.game.gameRunning = false;
    f.session.pause();
    EXPECT_TRUE(f.session.boardVisible); // nothing to pause
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

} // namespace
} // namespace quorvin::test
