// The configuration dialog and command, headless, driven by clicks and keys on its controls.
#include "assets/pictures.h"
#include "widgets/board_widgets.h"
#include "game_window/configure_command.h"
#include "game_window/game_window.h"
#include "settings/config_dialog.h"
#include "settings/preferences.h"
#include "support/fake_platform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSettings>
#include <QStandardPaths>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <functional>

namespace quorvin::test {
namespace {

const std::string kWarning = "Este cambio reiniciará el juego. Continuar?";
const QColor kGreen(0, 255, 0);

struct ConfigFixture {
    FakePlatform platform;
    GameWindow window{platform};
    QTemporaryDir folder;

    // A dealt game on a 7 x 7 board, two colours, pattern 0, continued mode on; its clock shows
    // 4.2 s when the game has been played, 0 when not.
    explicit ConfigFixture(bool played = false) {
        window.layOutBoard();
        window.newGame();
        if (played) window.session().clock = ClockReading{true, 42};
    }
    Game& game() { return window.game(); }
    std::string dataPath() { return QDir(folder.path()).filePath("").toStdString() + "/"; }
    QString settingsFile() { return QDir(folder.path()).filePath("Quorvin.inf"); }
    int cellWidgets() {
        int n = 0;
        for (QObject* child : window.findChildren<QWidget*>())
            n += child->objectName().startsWith("Image1_");
        return n;
    }
    // Runs the command with `player` acting on the open modal dialog.
    void configure(std::function<void(ConfigDialog&)> player) {
        QTimer::singleShot(0, &window, [this, player] {
            auto* dialog = window.findChild<ConfigDialog*>("Form5");
            ASSERT_NE(dialog, nullptr);
            ASSERT_TRUE(dialog->isModal() && dialog->isVisible());
            player(*dialog);
            if (dialog->isVisible()) dialog->close(); // a failed assertion must not hang the run
        });
        runConfiguration(window, dataPath());
    }
};

template <class T = QWidget> T* child(QWidget& dialog, const QString& name) {
    T* found = dialog.findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name.toStdString();
    return found;
}
QColor fill(QWidget& dialog, const QString& name) {
    return child(dialog, name)->palette().color(QPalette::Window);
}
void click(QWidget& dialog, const QString& name) {
    QTest::mouseClick(child(dialog, name), Qt::LeftButton);
}
void chooseColours(QWidget& dialog, int count) { click(dialog, QStringLiteral("Option1_%1").arg(count - 2)); }
void stepSize(QWidget& dialog, Qt::Key key) { QTest::keyClick(child(dialog, "HScroll1"), key); }
// Moves the pattern list down `steps` entries with the arrow key, as a player does.
void stepPattern(QWidget& dialog, int steps) {
    for (int k = 0; k < steps; ++k) QTest::keyClick(child(dialog, "cboInicio"), Qt::Key_Down);
}
void waitForTimer(QWidget& dialog) {
    auto* timer = child<QTimer>(dialog, "Timer1");
    EXPECT_TRUE(QTest::qWaitFor([timer] { return !timer->isActive(); }));
}
std::vector<bool> shownPreview(QWidget& dialog) {
    std::vector<bool> green;
    for (int i = 0; i < 49; ++i) green.push_back(fill(dialog, QStringLiteral("Shape2_%1").arg(i)) == kGreen);
    return green;
}

// Where a press on the bar lands: an arrow, the trough or the thumb.
QPoint barPoint(QScrollBar* bar, QStyle::SubControl part) {
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    option.state |= QStyle::State_Horizontal;
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.subControls = QStyle::SC_All;
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar).center();
}

// The warning is a real modal box that the player reads for longer than the bar's auto-repeat
// delay before answering, so whatever the bar would do behind it has the time to happen.
void answerAfterReading(ConfigFixture& f, bool ok) {
    f.platform.onConfirm = [&f, ok](const std::string& text) {
        QMessageBox box(QMessageBox::Question, "Quorvin", QString::fromStdString(text),
                        QMessageBox::Ok | QMessageBox::Cancel, &f.window);
        QTimer::singleShot(700, &box, [&box, ok] {
            box.button(ok ? QMessageBox::Ok : QMessageBox::Cancel)->click();
        });
        return box.exec() == QMessageBox::Ok;
    };
}

TEST(ConfigDialogSizeBar, AClickStepsOnceAndAsksOnceWhateverTheAnswer) {
    for (QStyle::SubControl part : {QStyle::SC_ScrollBarAddLine, QStyle::SC_ScrollBarAddPage}) {
        for (bool ok : {false, true}) {
            SCOPED_TRACE(std::string(part == QStyle::SC_ScrollBarAddLine ? "arrow" : "trough") +
                         (ok ? ", OK" : ", Cancel"));
            ConfigFixture f(true);
            answerAfterReading(f, ok);
            ConfigDialog d(f.window.session(), f.window.preferences(), &f.window);
            d.show();
            auto* bar = child<QScrollBar>(d, "HScroll1");
            const QPoint at = barPoint(bar, part);
            QTest::mousePress(bar, Qt::LeftButton, {}, at);
            QTest::qWait(80);
            QTest::mouseRelease(bar, Qt::LeftButton, {}, at);
            QTest::qWait(1600); // the box, and then time for any repeat behind it
            EXPECT_EQ(f.platform.questions, std::vector<std::string>{kWarning});
            EXPECT_EQ(f.game().boardSize, ok ? 8 : 7);
            EXPECT_EQ(bar->value(), f.game().boardSize);
            EXPECT_EQ(child<QLabel>(d, "Label1")->text(), ok ? "8 x 8" : "7 x 7");
        }
    }
}

TEST(ConfigDialogSizeBar, HeldArrowDraggedThumbKeysAndWheelStillChangeTheSize) {
    ConfigFixture f(true);
    answerAfterReading(f, true);
    ConfigDialog d(f.window.session(), f.window.preferences(), &f.window);
    d.show();
    auto* bar = child<QScrollBar>(d, "HScroll1");
    // Held past the repeat delay the arrow keeps stepping; the one question comes at the release.
    const QPoint arrow = barPoint(bar, QStyle::SC_ScrollBarAddLine);
    QTest::mousePress(bar, Qt::LeftButton, {}, arrow);
    QTest::qWait(800);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, arrow);
    QTest::qWait(900);
    EXPECT_EQ(f.platform.questions.size(), 1u);
    EXPECT_GT(f.game().boardSize, 8);
    EXPECT_EQ(bar->value(), f.game().boardSize);

    const QPoint thumb = barPoint(bar, QStyle::SC_ScrollBarSlider);
    QTest::mousePress(bar, Qt::LeftButton, {}, thumb);
    QTest::mouseMove(bar, QPoint(0, thumb.y()));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(0, thumb.y()));
    QTest::qWait(50);
    EXPECT_EQ(f.game().boardSize, 5);
    QTest::keyClick(bar, Qt::Key_Right);
    EXPECT_EQ(f.game().boardSize, 6);
    QWheelEvent wheel(QPointF(arrow), bar->mapToGlobal(QPointF(arrow)), {}, {0, 120}, Qt::NoButton,
                      {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(bar, &wheel);
    EXPECT_EQ(f.game().boardSize, 7);
    EXPECT_EQ(child<QLabel>(d, "Label1")->text(), "7 x 7");
    EXPECT_EQ(f.platform.questions.size(), 1u) << "confirmed once for the showing";
}

TEST(ConfigDialogWarning, OncePerShowingAfterTheClockRan) {
    ConfigFixture f(true);
    ConfigDialog d(f.window.session(), f.window.preferences(), &f.window);
    d.show();
    click(d, "Check1"); // the continued mode never warns
    EXPECT_TRUE(f.platform.questions.empty());
    chooseColours(d, 3);
    stepSize(d, Qt::Key_Left);
    stepPattern(d, 1);
    EXPECT_EQ(f.platform.questions, std::vector<std::string>{kWarning});
    EXPECT_EQ(settingsOf(f.game()), (Settings{6, 3, 1, false}));
    click(d, "Command1");
    EXPECT_FALSE(d.isVisible());

    d.show(); // a new showing asks again
    chooseColours(d, 2);
    EXPECT_EQ(f.platform.questions.size(), 2u);
    click(d, "Command1");

    f.game().gameRunning = false; // solved or lost: no game to lose
    d.show();
    chooseColours(d, 3);
    EXPECT_EQ(f.platform.questions.size(), 2u);
}

TEST(ConfigDialogWarning, DeclinedChangeSetsEachControlBack) {
    ConfigFixture f(true);
    f.game().colorCount = 2;
    f.game().startPattern = 1;
    f.platform.answer = false;
    ConfigDialog d(f.window.session(), f.window.preferences(), &f.window);
    d.show();
    const QColor background = d.palette().color(QPalette::Window);

    chooseColours(d, 3);
    EXPECT_TRUE(child<QRadioButton>(d, "Option1_0")->isChecked());
    EXPECT_FALSE(child<QRadioButton>(d, "Option1_1")->isChecked());
    EXPECT_EQ(f.game().colorCount, 2);
    EXPECT_EQ(fill(d, "Shape1_2"), background);

    stepSize(d, Qt::Key_Right);
    EXPECT_EQ(child<QScrollBar>(d, "HScroll1")->value(), 7);
    EXPECT_EQ(child<QLabel>(d, "Label1")->text(), "7 x 7");
    EXPECT_EQ(f.game().boardSize, 7);

    const std::vector<bool> bars = shownPreview(d);
    QTest::keyClick(child(d, "cboInicio"), Qt::Key_End); // "Vacío"
    EXPECT_EQ(f.game().startPattern, 1);
    EXPECT_EQ(shownPreview(d), bars);
    waitForTimer(d);
    EXPECT_EQ(child<QComboBox>(d, "cboInicio")->currentText(), "Barrotes");
    EXPECT_EQ(shownPreview(d), bars);
    EXPECT_EQ(f.platform.questions.size(), 3u) << "every declined change asks again";
}

TEST(ConfigDialogClosing, CancelarAndEscapeRestoreAllFourAndTheFrameKeepsTheEdits) {
    for (const char* way : {"Cancelar", "Escape", "frame"}) {
        SCOPED_TRACE(way);
        const bool byFrame = std::string(way) == "frame";
        ConfigFixture f(true);
        f.configure([way](ConfigDialog& d) {
            stepSize(d, Qt::Key_Right);
            chooseColours(d, 4);
            stepPattern(d, 3);
            click(d, "Check1");
            if (std::string(way) == "frame")
                d.close();
            else if (std::string(way) == "Escape")
                QTest::keyClick(&d, Qt::Key_Escape);
            else
                click(d, "Command2");
        });
        if (byFrame) {
            EXPECT_EQ(settingsOf(f.game()), (Settings{8, 4, 3, false}));
            EXPECT_FALSE(f.window.session().clock.ticked) << "a new game";
            EXPECT_TRUE(QFile::exists(f.settingsFile()));
        } else {
            EXPECT_EQ(settingsOf(f.game()), (Settings{7, 2, 0, true}));
            EXPECT_EQ(f.window.session().clock.tenths, 42) << "the game is kept";
            EXPECT_FALSE(QFile::exists(f.settingsFile()));
            EXPECT_EQ(f.cellWidgets(), 49);
        }
    }
}

TEST(ConfigureCommand, SizeChangeRelaysTheBoardWritesBareNumbersAndDeals) {
    ConfigFixture f(true);
    f.configure([](ConfigDialog& d) {
        stepSize(d, Qt::Key_Right);
        stepSize(d, Qt::Key_Right);
        chooseColours(d, 3);
        click(d, "Command1");
    });
    EXPECT_EQ(f.cellWidgets(), 81);
    EXPECT_EQ(f.game().cellCount(), 81);
    EXPECT_FALSE(f.window.session().clock.ticked);
    QFile file(f.settingsFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "\"NIVEL (5-15):\"\r\n9\r\n\"COLORES (2-4):\"\r\n3\r\n"
                              "\"INICIO (0-8):\"\r\n0\r\n\"CONTINUADO (0/1):\"\r\n1\r\n");
}

TEST(ConfigureCommand, SizeChangedAndBackOrContinuedModeAloneChangesNothingElse) {
    ConfigFixture f(true);
    f.configure([](ConfigDialog& d) {
        stepSize(d, Qt::Key_Right);
        stepSize(d, Qt::Key_Left);
        click(d, "Check1");
        click(d, "Command1");
    });
    EXPECT_FALSE(f.game().continuedGame);
    EXPECT_EQ(f.window.session().clock.tenths, 42);
    EXPECT_FALSE(QFile::exists(f.settingsFile()));
    EXPECT_EQ(f.cellWidgets(), 49);
}

TEST(ConfigureCommand, UnwritableFolderIsReportedAndTheNewGameStillStarts) {
    ConfigFixture f;
    f.folder.remove(); // the data folder is gone
    f.configure([](ConfigDialog& d) {
        chooseColours(d, 4);
        click(d, "Command1");
    });
    ASSERT_EQ(f.platform.questions.size(), 1u);
    EXPECT_EQ(f.platform.questions[0], settingsWriteFailedMessage(f.dataPath()));
    EXPECT_EQ(f.game().colorCount, 4);
}

// The marks show on the game window while the dialog is still open, ask nothing and deal no new
// game; they are kept in Quorvin/Quorvin.conf, never in Quorvin.inf.
TEST(ConfigureCommand, ColourMarksShowAtOnceAndAreKeptWithQSettingsApartFromQuorvinInf) {
    ConfigFixture f(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, f.folder.path());
    const QString conf = QDir(f.folder.path()).filePath("Quorvin/Quorvin.conf");
    Game& g = f.game();
    int revealed = 0;
    while (!g.cells[revealed].coloured) ++revealed;
    auto* cell = f.window.findChild<CellPicture*>(QStringLiteral("Image1_%1").arg(revealed));
    const auto face = [&](bool marked) {
        const qreal ratio = cell->picture().devicePixelRatio();
        return facePixmap(g.cells[revealed].face, g.board[revealed], ratio, marked).cacheKey();
    };
    f.configure([&](ConfigDialog& d) {
        click(d, "Check2");
        EXPECT_EQ(cell->picture().cacheKey(), face(true));
        EXPECT_TRUE(f.window.findChild<QWidget*>("MarcaLabel7")->isVisible());
        click(d, "Command1");
    });
    EXPECT_TRUE(f.platform.questions.empty());
    EXPECT_EQ(f.window.session().clock.tenths, 42);
    EXPECT_FALSE(QFile::exists(f.settingsFile()));
    QFile file(conf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "[General]\ncolourMarks=true\nnoGuessDeals=false\n");
    EXPECT_TRUE(loadPreferences().colourMarks);

    f.configure([&](ConfigDialog& d) { // unticked, then "Cancelar": the marks stay
        click(d, "Check2");
        EXPECT_EQ(cell->picture().cacheKey(), face(false));
        click(d, "Command2");
    });
    EXPECT_EQ(cell->picture().cacheKey(), face(true));
    for (const char* damaged : {"[General]\ncolourMarks=1\n", "[General]\ncolourMarks=tru\xff\n"}) {
        file.close();
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(damaged);
        file.close();
        EXPECT_FALSE(loadPreferences().colourMarks) << damaged;
    }
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
}

TEST(ConfigDialogPictures, SwatchesShowExactlyTheColoursInPlay) {
    ConfigFixture f;
    ConfigDialog d(f.window.session(), f.window.preferences(), &f.window);
    d.show();
    const QColor background = d.palette().color(QPalette::Window);
    for (int count : {4, 2, 3}) {
        chooseColours(d, count);
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(fill(d, QStringLiteral("Shape1_%1").arg(k)) != background, k < count)
                << count << " colours, swatch " << k;
    }
}

TEST(ConfigDialogPictures, PreviewShowsTheChosenPattern) {
    ConfigFixture f;
    ConfigDialog d(f.window.session(), f.window.preferences(), &f.window);
    d.show();
    const QColor background = d.palette().color(QPalette::Window);
    auto expect = [&](const char* name, const std::function<bool(int)>& revealed) {
        SCOPED_TRACE(name);
        waitForTimer(d);
        EXPECT_EQ(child<QComboBox>(d, "cboInicio")->currentText(), QString::fromUtf8(name));
        for (int i = 0; i < 49; ++i)
            EXPECT_EQ(fill(d, QStringLiteral("Shape2_%1").arg(i)), revealed(i) ? kGreen : background)
                << "circle " << i;
    };
    stepPattern(d, 1);
    expect("Barrotes", [](int i) { return i % 7 % 2 == 1; });
    stepPattern(d, 3);
    auto randomCount = [&] {
        const std::vector<bool> shown = shownPreview(d);
        return std::count(shown.begin(), shown.end(), true);
    };
    EXPECT_EQ(randomCount(), 19) << "Aleatorio2";
    stepPattern(d, 2);
    expect("Ekis", [](int i) { return i % 8 == 0 || (i % 6 == 0 && i > 0 && i < 48); });
    stepPattern(d, 2);
    expect("Vacío", [](int) { return false; });
}

} // namespace
} // namespace quorvin::test
