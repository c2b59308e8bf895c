// The hint in the game window, headless: F5 and the menu command, the frame around a forced
// cell, the line under the board, and a hinted game kept out of the records.
#include "assets/pictures.h"
#include "widgets/board_widgets.h"
#include "game_window/game_window.h"
#include "game_window/hint_controller.h"
#include "support/fake_platform.h"

#include <QAction>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <set>

namespace quorvin::test {
namespace {

// A window dealt `colours` (none: at random), with every cell but `hidden` revealed (none: the
// pattern's).
struct HintFixture {
    FakePlatform platform;
    GameWindow window{platform};
    Game& game = window.game();

    HintFixture(const std::string& colours, int colorCount, int pattern,
                std::set<int> hidden = {}, int side = 5) {
        game.setUp(side, colorCount, pattern, false);
        window.layOutBoard();
        platform.scriptColours(colours, colorCount);
        window.newGame();
        if (!hidden.empty())
            for (int i = 0; i < game.cellCount(); ++i)
                if (!hidden.count(i)) game.revealCell(i);
        window.render();
    }
    template <class T = QWidget> T* find(const QString& name) { return window.findChild<T*>(name); }
    QWidget* cell(int i) { return find(QStringLiteral("Image1_%1").arg(i)); }
    QAction* hint() { return find<QAction>("MnuPista"); }
    QWidget* frame() { return find("ShapePista"); }
    QString line() { return find<QLabel>("Label1")->text(); }
    bool thinking() { return window.centralWidget()->cursor().shape() == Qt::BusyCursor; }
    void start() { QTest::mouseClick(find<QPushButton>("Command2"), Qt::LeftButton); }
    // The answer is worked out off the window's thread; wait for it as a player would.
    bool waitFor(const std::function<bool()>& shown) { return QTest::qWaitFor(shown, 10000); }
};

const std::string kAllGreenButOne = "11111 11111 11111 11111 11112";

TEST(Hint, TheCommandWorksOnlyWhileAGameRunsWithItsBoardOnView) {
    HintFixture f(kAllGreenButOne, 2, 0);
    ASSERT_NE(f.hint(), nullptr);
    EXPECT_EQ(f.hint()->text(), "Pista");
    EXPECT_EQ(f.hint()->shortcut(), QKeySequence(Qt::Key_F5));
    const QList<QAction*> commands = f.find<QMenu>("MnuJ")->actions();
    EXPECT_EQ(commands.indexOf(f.hint()), commands.indexOf(f.find<QAction>("MnuPause")) + 1);

    EXPECT_FALSE(f.hint()->isEnabled()); // before "Empezar"
    QTest::keyClick(&f.window, Qt::Key_F5);
    QTest::qWait(100);
    EXPECT_FALSE(f.frame()->isVisible());
    f.start();
    EXPECT_TRUE(f.hint()->isEnabled());
    QTest::keyClick(&f.window, Qt::Key_F3);
    EXPECT_FALSE(f.hint()->isEnabled()); // paused
    f.start();
    EXPECT_TRUE(f.hint()->isEnabled());
    QTest::keyClick(&f.window, Qt::Key_Right);
    QTest::keyClick(&f.window, Qt::Key_2); // cell 1 is hidden and green: the game is lost
    EXPECT_FALSE(f.game.gameRunning);
    EXPECT_FALSE(f.hint()->isEnabled());
}

TEST(Hint, F5FramesAForcedCellInItsColourForAWhile) {
    HintFixture f(kAllGreenButOne, 2, 0);
    f.start();
    QTest::keyClick(&f.window, Qt::Key_F5);
    EXPECT_TRUE(f.thinking()); // until the answer comes back
    ASSERT_TRUE(f.waitFor([&] { return f.frame()->isVisible(); }));
    EXPECT_FALSE(f.thinking());
    int framed = -1;
    for (int i = 0; i < 25; ++i)
        if (f.frame()->geometry() == f.cell(i)->geometry().adjusted(-4, -4, 4, 4)) framed = i;
    ASSERT_GE(framed, 0);
    EXPECT_TRUE(f.game.cells[framed].isHidden());
    EXPECT_EQ(static_cast<OutlineFrame*>(f.frame())->colour(), swatchColour(f.game.board[framed]));
    EXPECT_EQ(f.line(), "1º (999)"); // the rank stays
    EXPECT_TRUE(f.waitFor([&] { return !f.frame()->isVisible(); }));

    // A move takes the frame away at once.
    QTest::keyClick(&f.window, Qt::Key_F5);
    ASSERT_TRUE(f.waitFor([&] { return f.frame()->isVisible(); }));
    QTest::mouseClick(f.cell(1), Qt::LeftButton);
    EXPECT_FALSE(f.frame()->isVisible());

    // A question cut short by a new deal gives the pointer back too, and frames nothing.
    f.platform.scriptColours(kAllGreenButOne, 2);
    QTest::keyClick(&f.window, Qt::Key_F5);
    QTest::keyClick(&f.window, Qt::Key_F2);
    EXPECT_TRUE(f.waitFor([&] { return !f.thinking(); }));
    EXPECT_FALSE(f.frame()->isVisible());
}

// With every cell of a 15 x 15, four-colour board hidden the engine can think for a minute.
TEST(Hint, AMoveStopsTheQuestionBeingWorkedOut) {
    HintFixture f("", 4, 8, {}, 15);
    f.start();
    QTest::keyClick(&f.window, Qt::Key_F5);
    ASSERT_TRUE(f.thinking());
    QTest::mouseClick(f.cell(112), Qt::LeftButton);
    EXPECT_TRUE(f.waitFor([&] { return !f.thinking(); }));
    EXPECT_FALSE(f.frame()->isVisible());
}

// There the whole forced set takes the engine seconds, far past the hint's budget: a cell framed
// at all was proven by the quick stage, and it has its dealt colour.
TEST(Hint, OnABoardWithEveryCellHiddenTheQuickStageFramesAProvenCell) {
    HintFixture f("", 4, 8, {}, 15);
    f.start();
    QTest::keyClick(&f.window, Qt::Key_F5);
    ASSERT_TRUE(f.waitFor([&] { return !f.thinking(); }));
    ASSERT_TRUE(f.frame()->isVisible()) << f.line().toStdString();
    int framed = -1;
    for (int i = 0; i < f.game.cellCount(); ++i)
        if (f.frame()->geometry() == f.cell(i)->geometry().adjusted(-4, -4, 4, 4)) framed = i;
    ASSERT_GE(framed, 0);
    EXPECT_EQ(static_cast<OutlineFrame*>(f.frame())->colour(), swatchColour(f.game.board[framed]));

    // With no time at all the answer claims nothing: no frame, an honest line, and the game
    // may still enter the records.
    f.window.findChild<HintController*>("Pista")->setBudget(std::chrono::nanoseconds(0));
    QTest::mouseClick(f.cell(framed), Qt::RightButton); // a move: the next question is new
    QTest::keyClick(&f.window, Qt::Key_F5);
    ASSERT_TRUE(f.waitFor([&] { return !f.thinking(); }));
    EXPECT_FALSE(f.frame()->isVisible());
    EXPECT_EQ(f.line(), "No encuentro una jugada segura a tiempo.");
}

TEST(Hint, SaysSoWhenNoCellIsCertainThenShowsTheRankAgain) {
    // Swapping the colours of cells 0, 4, 5 and 9 keeps every count and face.
    HintFixture f("22121 11112 12221 11211 12111", 2, 8, {0, 4, 5, 9});
    f.start();
    f.hint()->trigger();
    ASSERT_TRUE(f.waitFor([&] { return f.line() == "No hay jugada segura: toca arriesgar."; }));
    EXPECT_FALSE(f.frame()->isVisible());
    // The whole sentence shows, even under a board this small.
    const QLabel* line = f.find<QLabel>("Label1");
    EXPECT_LE(QFontMetrics(line->font()).horizontalAdvance(line->text()), line->width());
    EXPECT_TRUE(f.waitFor([&] { return f.line() == "1º (999)"; }));
}

TEST(Hint, AGameSolvedWithTheHintIsNotOfferedToTheRecords) {
    HintFixture f(kAllGreenButOne, 2, 8);
    int offered = 0;
    f.window.onSolved = [&] { ++offered; };
    const auto solve = [&] {
        for (int i = 0; i < 24; ++i)
            QTest::mouseClick(f.cell(i), Qt::LeftButton);
        QTest::mouseClick(f.cell(24), Qt::RightButton);
        QTest::mouseClick(f.cell(24), Qt::LeftButton);
    };
    f.start();
    QTest::keyClick(&f.window, Qt::Key_F5);
    ASSERT_TRUE(f.waitFor([&] { return f.frame()->isVisible(); }));
    solve();
    EXPECT_FALSE(f.game.gameRunning);
    EXPECT_EQ(offered, 0);
    EXPECT_EQ(f.platform.questions,
              std::vector<std::string>{
                  "Tablero resuelto con ayuda de la Pista: esta partida no entra en los records."});

    // The next game, played without the hint, is offered again.
    f.platform.scriptColours(kAllGreenButOne, 2);
    QTest::keyClick(&f.window, Qt::Key_F2);
    f.start();
    solve();
    EXPECT_EQ(offered, 1);
}

} // namespace
} // namespace quorvin::test
