// The game window, headless, driven through real mouse and key events on its widgets.
#include "assets/pictures.h"
#include "widgets/board_widgets.h"
#include "game_window/captions.h"
#include "game_window/game_window.h"
#include "support/fake_platform.h"

#include <QAction>
#include <QBitArray>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <array>

namespace quorvin::test {
namespace {

struct WindowFixture {
    FakePlatform platform;
    GameWindow window{platform};

    explicit WindowFixture(int side = 7, int colours = 2, int pattern = 0, bool continued = true) {
        window.game().setUp(side, colours, pattern, continued);
        window.layOutBoard();
        window.newGame();
    }
    template <class T = QWidget> T* find(const QString& name) {
        return window.findChild<T*>(name);
    }
    QWidget* cell(int i) { return find(QStringLiteral("Image1_%1").arg(i)); }
    QLabel* label(const QString& name) { return find<QLabel>(name); }
    int count(const QString& prefix) {
        int n = 0;
        for (QObject* child : window.findChildren<QWidget*>())
            n += child->objectName().startsWith(prefix);
        return n;
    }
    void start() { QTest::mouseClick(find<QPushButton>("Command2"), Qt::LeftButton); }
    void tickAt(double seconds) {
        platform.clock = seconds;
        QTest::qWait(150); // the real 100 ms timer ticks; the fake clock says what time it is
    }
    QColor background(const QString& name) {
        return find(name)->palette().color(QPalette::Window);
    }
};

// Twips of the layout, as pixels on the screen.
QRect twips(double left, double top, double width, double height) { return twipsRect(left, top, width, height); }

TEST(GameWindowLayout, FollowsTheBoardSideAndRebuildsOnAChange) {
    WindowFixture f(5);
    EXPECT_EQ(f.window.windowTitle(), "Quorvin 1.0");
    EXPECT_FALSE(f.window.windowIcon().availableSizes().isEmpty()); // our drawn icon
    for (int side : {5, 15, 5, 7}) {
        f.window.game().boardSize = side;
        f.window.game().resizeBoard();
        f.window.layOutBoard();
        f.window.newGame();
        SCOPED_TRACE(side);
        EXPECT_EQ(f.count("Image1_"), side * side);
        EXPECT_EQ(f.count("Label4_"), side);
        EXPECT_EQ(f.count("Label5_"), side);
        const int last = side * side - 1;
        EXPECT_EQ(f.cell(last)->geometry(), twips(480 + 300 * (side - 1), 1200 + 300 * (side - 1), 300, 300));
        EXPECT_EQ(f.find("Frame1")->geometry(), twips(540 + 300 * side, 720, 855, 2055));
        EXPECT_EQ(f.window.centralWidget()->size(), twips(0, 0, 1395 + 300 * side, 1515 + 300 * side).size());
    }
    // The start button covers four fifths of a 7 x 7 board's background: 1776 twips from 642.
    EXPECT_EQ(f.find("Command2")->geometry(), twips(642, 1140 + (2220 - 615) / 2.0, 1776, 615));
}

TEST(GameWindowPlay, BeforeTheStartOnlyThePanelShowsAndTheStartRevealsTheBoard) {
    WindowFixture f(7);
    EXPECT_TRUE(f.find("Command2")->isVisible());
    EXPECT_EQ(f.find<QPushButton>("Command2")->text(), "Empezar");
    EXPECT_FALSE(f.cell(0)->isVisible());
    EXPECT_FALSE(f.find("Label4_0")->isVisible());
    EXPECT_FALSE(f.find("Label6_0")->isVisible());
    EXPECT_TRUE(f.find("Label7")->isVisible());
    EXPECT_EQ(f.label("Label2")->text(), "0");
    EXPECT_EQ(f.find("Label7")->toolTip(), "Color Seleccionado");

    // Keys do nothing while the board is hidden.
    QTest::keyClick(&f.window, Qt::Key_Right);
    EXPECT_EQ(f.window.game().cursorCell, 0);

    f.platform.clock = 2000;
    f.start();
    EXPECT_FALSE(f.find("Command2")->isVisible());
    EXPECT_TRUE(f.cell(48)->isVisible());
    EXPECT_TRUE(f.find("Label6_1")->isVisible());
    EXPECT_FALSE(f.find("Label6_2")->isVisible()); // two colours in play
    EXPECT_TRUE(f.find("Shape2")->isVisible());
    EXPECT_EQ(f.label("Label1")->text(), "1º (999)");
    EXPECT_EQ(f.background("Label4_0"), QColor(255, 255, 255));
    EXPECT_EQ(f.background("Label4_1"), f.window.palette().color(QPalette::Window));
    EXPECT_EQ(f.background("Label7"), swatchColour(1));

    f.tickAt(2099.95);
    EXPECT_EQ(f.label("Label2")->text(), "99.9");
    f.tickAt(2100.02);
    EXPECT_EQ(f.label("Label2")->text(), "100");

    // F3 pauses; the button continues, leaving the paused span out.
    QTest::keyClick(&f.window, Qt::Key_F3);
    EXPECT_EQ(f.find<QPushButton>("Command2")->text(), "Continuar");
    EXPECT_FALSE(f.cell(0)->isVisible());
    f.platform.clock = 5000;
    f.start();
    f.tickAt(5010.5);
    EXPECT_EQ(f.label("Label2")->text(), "110");

    // Minimising pauses too.
    f.window.setWindowState(Qt::WindowMinimized);
    EXPECT_TRUE(f.find("Command2")->isVisible());
}

// Every command that opens another window pauses a running game first, so that the clock
// never runs behind it; the menus carry the captions and keys the player reads.
TEST(GameWindowMenus, EveryCommandThatOpensAWindowPausesTheGameFirst) {
    WindowFixture f(5);
    int opened = 0;
    const auto expectPaused = [&] {
        ++opened;
        EXPECT_EQ(f.find<QPushButton>("Command2")->text(), QStringLiteral("Continuar"));
        EXPECT_FALSE(f.cell(0)->isVisible());
        EXPECT_FALSE(f.window.game().cursorFrameVisible);
    };
    f.window.onConfigure = expectPaused;
    f.window.onRecords = expectPaused;
    f.window.onHelp = expectPaused;
    f.window.onAbout = expectPaused;
    for (int key : {int(Qt::Key_F4), int(Qt::Key_F9), int(Qt::Key_F1), 0}) {
        f.start();
        f.tickAt(f.platform.clock + 1); // after a tick the button reads "Continuar"
        ASSERT_TRUE(f.cell(0)->isVisible());
        if (key) QTest::keyClick(&f.window, Qt::Key(key));
        else f.find<QAction>("MnuABout")->trigger();
    }
    EXPECT_EQ(opened, 4);
}

// The clock's and the rank line's texts that the play in these tests does not reach.
TEST(GameWindowCaptions, TheClockAndTheRankLineAsThePlayerReadsThem) {
    EXPECT_EQ(clockCaption({true, 0}), "0.0"); // a first tick at 0.05 s
    EXPECT_EQ(clockCaption({true, 9990}), "999");
    EXPECT_EQ(rankCaption(Rank{1, 123}, ','), "1º (12,3)");
    EXPECT_EQ(rankCaption(Rank{2, 1230}, ','), "2º (123)");
}

TEST(GameWindowPlay, MouseHoverRightClickPeekTheSwatchAndNothingAfterTheEnd) {
    WindowFixture f(5, 3, 8, false); // nothing revealed; a wrong claim loses
    Game& g = f.window.game();
    f.start();
    const QColor white(255, 255, 255);
    // The pointer on the cursor cell changes nothing; on another cell of row 0 the frame and
    // the column's highlight follow it, the row's stays.
    QTest::mouseMove(f.cell(0));
    EXPECT_EQ(g.cursorCell, 0);
    QTest::mouseMove(f.cell(3));
    EXPECT_EQ(f.find("Shape2")->geometry(), f.cell(3)->geometry().adjusted(-2, -2, 2, 2));
    EXPECT_EQ(f.background("Label4_0"), white);
    EXPECT_EQ(f.background("Label5_3"), white);
    EXPECT_NE(f.background("Label5_0"), white);
    QTest::mouseMove(f.cell(13));
    EXPECT_EQ(f.background("Label4_2"), white);
    EXPECT_NE(f.background("Label4_0"), white);

    // A right press does nothing until its release, which steps the colour; so does the swatch.
    QTest::mousePress(f.cell(7), Qt::RightButton);
    EXPECT_EQ(f.background("Label7"), swatchColour(1));
    QTest::mouseRelease(f.cell(7), Qt::RightButton);
    EXPECT_EQ(f.background("Label7"), swatchColour(2));
    QTest::mouseClick(f.find("Label7"), Qt::LeftButton);
    EXPECT_EQ(f.background("Label7"), swatchColour(3));

    // Holding K, a left press shows the cell's colour under the board; a right release then
    // only ends the peek and does not step the colour.
    QTest::keyPress(&f.window, Qt::Key_K);
    QTest::mousePress(f.cell(7), Qt::LeftButton);
    EXPECT_EQ(f.background("Label1"), swatchColour(g.board[7]));
    QTest::mouseRelease(f.cell(7), Qt::RightButton);
    EXPECT_EQ(f.background("Label1"), f.window.palette().color(QPalette::Window));
    EXPECT_EQ(f.background("Label7"), swatchColour(3));
    QTest::keyRelease(&f.window, Qt::Key_K);
    EXPECT_TRUE(g.cells[7].isHidden());

    // A wrong claim ends the game; from then on the board ignores the mouse, the swatch does not.
    int wrong = 0;
    while (g.board[wrong] == 3) ++wrong;
    QTest::mouseClick(f.cell(wrong), Qt::LeftButton);
    ASSERT_FALSE(g.gameRunning);
    QTest::keyPress(&f.window, Qt::Key_K);
    QTest::mousePress(f.cell(4), Qt::LeftButton);
    EXPECT_EQ(f.background("Label1"), f.window.palette().color(QPalette::Window));
    QTest::mouseRelease(f.cell(4), Qt::RightButton);
    QTest::keyRelease(&f.window, Qt::Key_K);
    QTest::mouseMove(f.cell(4));
    EXPECT_EQ(g.cursorCell, 13);
    EXPECT_FALSE(f.find("Shape2")->isVisible());
    EXPECT_NE(f.background("Label4_2"), white);
    QTest::mouseClick(f.find("Label7"), Qt::LeftButton);
    EXPECT_EQ(g.selectedColour, 1);
}

TEST(GameWindowPlay, AGameWonWithTheMouseCallsTheRecordSaverOnce) {
    FakePlatform platform;
    GameWindow window(platform);
    Game& g = window.game();
    g.boardSize = 5;
    g.colorCount = 2;
    g.startPattern = 8;
    g.resizeBoard();
    window.layOutBoard();
    platform.scriptColours("11111 11111 11111 11111 11112", 2);
    window.newGame();
    int solved = 0;
    window.onSolved = [&] {
        ++solved;
        EXPECT_FALSE(g.gameRunning);
    };
    QTest::mouseClick(window.findChild<QPushButton*>("Command2"), Qt::LeftButton);
    auto cell = [&](int i) { return window.findChild<QWidget*>(QStringLiteral("Image1_%1").arg(i)); };
    for (int i = 0; i < 24; ++i) QTest::mouseClick(cell(i), Qt::LeftButton);
    EXPECT_EQ(solved, 0);
    QTest::mouseClick(cell(24), Qt::RightButton);
    QTest::mouseClick(cell(24), Qt::LeftButton);
    EXPECT_EQ(solved, 1);
    EXPECT_EQ(window.findChild<QLabel*>("Label1")->text(), "");
    EXPECT_FALSE(window.findChild<QWidget*>("Shape2")->isVisible());
    EXPECT_EQ(window.findChild<QLabel*>("Label6_0")->text(), "0");
    EXPECT_EQ(window.findChild<QLabel*>("Label4_0")->text(), "");
    // "Nuevo" after the end deals at once, without asking.
    QTest::keyClick(&window, Qt::Key_F2);
    EXPECT_TRUE(platform.questions.empty());
    EXPECT_TRUE(g.gameRunning);
}

TEST(GameWindowPlay, AGameLostWithTheKeysFramesTheCellAndNuevoAsksFirst) {
    WindowFixture f(5, 2, 8, false);
    Game& g = f.window.game();
    f.start();
    // The focus on the start button or anywhere else does not keep the keys from the board.
    f.find("Label2")->setFocus();
    QTest::keyClick(&f.window, Qt::Key_Left);
    QTest::keyClick(&f.window, Qt::Key_Up);
    EXPECT_EQ(g.cursorCell, 24);
    const int wrong = 3 - g.board[24];
    QTest::keyClick(&f.window, static_cast<Qt::Key>(Qt::Key_1 + wrong - 1));
    EXPECT_FALSE(g.gameRunning);
    EXPECT_TRUE(f.find("Shape1")->isVisible());
    EXPECT_EQ(f.find("Shape1")->geometry(), f.cell(24)->geometry().adjusted(-4, -4, 4, 4));
    EXPECT_EQ(f.background("Label4_4"), f.window.palette().color(QPalette::Window));
    const QPixmap shown = static_cast<CellPicture*>(f.cell(3))->picture();
    EXPECT_EQ(shown.cacheKey(), facePixmap(g.cells[3].face, g.board[3], shown.devicePixelRatio()).cacheKey());

    // A fresh game asks before it is replaced; Cancel keeps it.
    QTest::keyClick(&f.window, Qt::Key_F2);
    ASSERT_TRUE(f.platform.questions.empty());
    f.platform.answer = false;
    QTest::keyClick(&f.window, Qt::Key_F2);
    EXPECT_EQ(f.platform.questions, std::vector<std::string>{"Quieres empezar otra partida?"});
    EXPECT_FALSE(f.find("Shape1")->isVisible());
}

// A key as the desktop sends it: what it types, and where it lies (its native scan code, here
// X11's: the digit row's 1 is 10, K is 45, the keypad's 1 is 87).
void sendKey(QWidget* to, QEvent::Type type, int key, quint32 scanCode,
             Qt::KeyboardModifiers modifiers = {}, bool autoRepeat = false) {
    QKeyEvent event(type, key, modifiers, scanCode, 0, 0, QString(), autoRepeat);
    QApplication::sendEvent(to, &event);
}
void typeKey(QWidget* to, int key, quint32 scanCode, Qt::KeyboardModifiers modifiers = {}) {
    sendKey(to, QEvent::KeyPress, key, scanCode, modifiers);
    sendKey(to, QEvent::KeyRelease, key, scanCode, modifiers);
}

TEST(GameWindowKeys, DigitsAndKPlayByTheirPlaceWhateverTheLayoutAndShift) {
    WindowFixture f(5, 4, 8);
    Game& g = f.window.game();
    f.platform.scriptColours("12341 23412 34123 41234 12341", 4);
    f.window.newGame();
    f.start();
    QWidget* focus = f.find("Command2"); // the keys reach the board from any widget
    // Shift+2 types '"' on a US keyboard: it still selects colour 2. The French digit row types
    // "&" for 1 and "'" for 4 without Shift. The keypad's 1, with or without its code, does nothing.
    typeKey(focus, Qt::Key_QuoteDbl, 11, Qt::ShiftModifier);
    EXPECT_EQ(g.selectedColour, 2);
    typeKey(focus, Qt::Key_Apostrophe, 13);
    EXPECT_EQ(g.selectedColour, 4);
    EXPECT_TRUE(g.cells[0].isHidden());
    typeKey(focus, Qt::Key_Ampersand, 10);
    EXPECT_EQ(g.selectedColour, 1);
    EXPECT_FALSE(g.cells[0].isHidden()) << "cell 0 is green";
    typeKey(focus, Qt::Key_Right, 114);
    typeKey(focus, Qt::Key_2, 0, Qt::KeypadModifier);
    typeKey(focus, Qt::Key_2, 88, Qt::KeypadModifier);
    EXPECT_EQ(g.selectedColour, 1);
    EXPECT_TRUE(g.cells[1].isHidden()) << "cell 1 is red";

    // K held: the desktop repeats it as release and press pairs; the peek lasts until the real
    // release. On a layout that puts "T" where K lies, that key peeks.
    const int cell = 18;
    sendKey(focus, QEvent::KeyPress, Qt::Key_T, 45);
    for (int repeat = 0; repeat < 3; ++repeat) {
        sendKey(focus, QEvent::KeyRelease, Qt::Key_T, 45, {}, true);
        sendKey(focus, QEvent::KeyPress, Qt::Key_T, 45, {}, true);
    }
    QTest::mousePress(f.cell(cell), Qt::LeftButton);
    EXPECT_EQ(f.background("Label1"), swatchColour(g.board[cell]));
    QTest::mouseRelease(f.cell(cell), Qt::LeftButton);
    EXPECT_NE(f.background("Label1"), swatchColour(g.board[cell]));
    EXPECT_TRUE(g.cells[cell].isHidden()) << "a peek plays nothing";
    sendKey(focus, QEvent::KeyRelease, Qt::Key_T, 45);
    EXPECT_FALSE(g.peekMode);
    QTest::keyClick(focus, Qt::Key_K); // without a scan code, the letter itself
    EXPECT_FALSE(g.peekMode);
}

// The dark pixels inside a label's border: its text, when the text is dark.
int darkInk(QWidget* label) {
    const QImage image = label->grab().toImage();
    int dark = 0;
    for (int y = 3; y < image.height() - 3; ++y)
        for (int x = 3; x < image.width() - 3; ++x) dark += qGray(image.pixel(x, y)) < 100;
    return dark;
}

TEST(GameWindowLayout, CountersStayReadableUnderADarkDesktopTheme) {
    const QPalette before = QApplication::palette();
    QPalette dark(QColor(53, 53, 53));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    QApplication::setPalette(dark);
    {
        WindowFixture f(5, 3);
        f.start();
        Game& g = f.window.game();
        QTest::keyPress(&f.window, Qt::Key_K);
        QTest::mousePress(f.cell(0), Qt::LeftButton);
        // Dark text on the white highlight, on the colour counters and on a peeked colour.
        for (const char* name : {"Label4_0", "Label5_0", "Label6_0", "Label6_2", "Label1"})
            EXPECT_GT(darkInk(f.find(name)), 0) << name;
        EXPECT_EQ(f.background("Label1"), swatchColour(g.board[0]));
        QTest::mouseRelease(f.cell(0), Qt::LeftButton);
        QTest::keyRelease(&f.window, Qt::Key_K);
        EXPECT_EQ(f.find("Label4_1")->palette().color(QPalette::WindowText), QColor(230, 230, 230))
            << "the theme's own text on the theme's own background";
    }
    QApplication::setPalette(before);
}

TEST(GameWindowLayout, CellsAreDrawnForTheScreensDensity) {
    WindowFixture f(5);
    f.start();
    const qreal ratio = f.window.devicePixelRatioF();
    const QPixmap face = static_cast<CellPicture*>(f.cell(0))->picture();
    EXPECT_EQ(face.devicePixelRatio(), ratio);
    EXPECT_EQ(face.width(), qRound(20 * ratio)); // drawn at full density, not stretched
    const QImage shown = f.cell(0)->grab().toImage();
    EXPECT_EQ(shown.width(), qRound(20 * ratio));
}

TEST(GameWindowLayout, TheDealNoticeIsPaintedWhileABigBoardIsDealt) {
    WindowFixture f(8);
    bool shownDuringDeal = false;
    f.platform.onEvents = nullptr;
    QLabel* notice = f.label("Label3");
    // The window lets events run in the middle of the deal; look at the notice then.
    QObject probe;
    QTimer::singleShot(0, &probe, [&] { shownDuringDeal = notice->isVisible(); });
    f.window.newGame();
    EXPECT_TRUE(shownDuringDeal);
    EXPECT_FALSE(notice->isVisible());
    EXPECT_EQ(notice->text(), "Generando partida...");
}

// What a player without red cones (protanopia) or green cones (deuteranopia) sees, after
// Machado, Oliveira and Fernandes (2009) at severity 1, in grey.
using Vision = std::array<std::array<double, 3>, 3>;
const Vision kProtanopia{{{0.152286, 1.052583, -0.204868},
                          {0.114503, 0.786281, 0.099216},
                          {-0.003882, -0.048116, 1.051998}}};
const Vision kDeuteranopia{{{0.367322, 0.860646, -0.227968},
                            {0.280085, 0.672501, 0.047413},
                            {-0.011820, 0.042940, 0.968881}}};
double greySeen(QRgb pixel, const Vision& vision) {
    std::array<double, 3> seen{};
    for (std::size_t i = 0; i < 3; ++i)
        seen[i] = std::clamp(vision[i][0] * qRed(pixel) + vision[i][1] * qGreen(pixel) +
                                 vision[i][2] * qBlue(pixel), 0.0, 255.0);
    return 0.299 * seen[0] + 0.587 * seen[1] + 0.114 * seen[2];
}
// The mark as that player sees it: the pixels whose grey it changes, a shape without a shade.
QBitArray markShape(const QImage& marked, const QImage& plain, const Vision& vision) {
    QBitArray shape(marked.width() * marked.height());
    for (int y = 0; y < marked.height(); ++y)
        for (int x = 0; x < marked.width(); ++x)
            shape.setBit(y * marked.width() + x,
                         std::abs(greySeen(marked.pixel(x, y), vision) -
                                  greySeen(plain.pixel(x, y), vision)) > 40);
    return shape;
}

TEST(GameWindowMarks, EveryColourTellsByItsShapeInTheGreyOfProtanopiaAndDeuteranopia) {
    WindowFixture f(5, 4, 8);
    f.platform.scriptColours("12341 23412 34123 41234 12341", 4);
    f.window.newGame();
    f.start();
    for (int colour = 1; colour <= 4; ++colour) { // cells 0 to 3 claimed with the keys 1 to 4
        QTest::keyClick(&f.window, Qt::Key(Qt::Key_0 + colour));
        QTest::keyClick(&f.window, Qt::Key_Right);
    }
    const QImage before = f.window.grab().toImage();
    std::array<std::array<QImage, 4>, 2> cells, swatches; // plain, then marked; by colour
    for (bool marks : {false, true}) {
        f.window.preferences().colourMarks = marks;
        for (std::size_t k = 0; k < 4; ++k) {
            QTest::mouseClick(f.find("Label7"), Qt::LeftButton); // colour 4 steps on to 1
            cells[marks][k] = f.cell(static_cast<int>(k))->grab().toImage();
            swatches[marks][k] = f.find("Label7")->grab().toImage();
        }
    }
    const qreal ratio = f.window.devicePixelRatioF();
    for (const Vision* vision : {&kProtanopia, &kDeuteranopia})
        for (const auto* pictures : {&cells, &swatches})
            for (std::size_t a = 0; a < 4; ++a)
                for (std::size_t b = a + 1; b < 4; ++b) {
                    const QBitArray x = markShape((*pictures)[1][a], (*pictures)[0][a], *vision);
                    const QBitArray y = markShape((*pictures)[1][b], (*pictures)[0][b], *vision);
                    EXPECT_GT((x ^ y).count(true), 8 * ratio * ratio)
                        << (pictures == &cells ? "cells " : "swatches ") << a + 1 << ", " << b + 1;
                }
    f.window.preferences().colourMarks = false;
    f.window.render();
    EXPECT_EQ(f.window.grab().toImage(), before) << "without the marks the window is as it was";
}

} // namespace
} // namespace quorvin::test
