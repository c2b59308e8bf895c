// Deals that deduction alone solves, in the game window: the option in the configuration dialog
// and the preferences, the board looked for while the window waits, the next one prepared, and
// their records kept apart.
#include "game_window/configure_command.h"
#include "game_window/deal_maker.h"
#include "game_window/game_window.h"
#include "game_window/start_up.h"
#include "records/records_file.h"
#include "settings/preferences.h"
#include "solver/game_analysis.h"
#include "support/fake_platform.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace quorvin::test {
namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

const QByteArray kSmallVacio = "\"NIVEL (5-15):\"\r\n5\r\n\"COLORES (2-4):\"\r\n3\r\n"
                               "\"INICIO (0-8):\"\r\n8\r\n\"CONTINUADO (0/1):\"\r\n0\r\n";

struct NoGuessWindow {
    FakePlatform platform;
    GameWindow window{platform};
    Game& game = window.game();

    template <class T = QWidget> T* find(const char* name) {
        return window.findChild<T*>(QString::fromLatin1(name));
    }
    QPushButton* start() { return find<QPushButton>("Command2"); }
    bool searching() { return find<QLabel>("Label3")->isVisible() && !start()->isEnabled(); }
    bool waitForDeal() {
        return QTest::qWaitFor([&] { return start()->isEnabled(); }, 20000);
    }
    // The dealt board, played out by deduction alone on a copy: the guesses it needed.
    int guessesNeeded() {
        Game copy = game;
        Deduction deduction;
        return playOut(copy, deduction).guesses;
    }
};

TEST(NoGuessDeals, TheWindowWaitsForABoardThenHasTheNextOneReadyForF2) {
    NoGuessWindow f;
    f.game.setUp(6, 3, 8, false);
    f.game.noGuessDeals = true;
    f.window.layOutBoard();
    f.window.newGame();
    // No board is ready at the first deal: the window says it looks for one, and waits.
    EXPECT_TRUE(f.searching());
    EXPECT_EQ(f.find<QLabel>("Label3")->text(), "Buscando tablero...");
    EXPECT_EQ(f.window.cursor().shape(), Qt::BusyCursor);
    QTest::mouseClick(f.start(), Qt::LeftButton);
    EXPECT_FALSE(f.window.session().boardVisible);
    ASSERT_TRUE(f.waitForDeal());
    EXPECT_FALSE(f.find<QLabel>("Label3")->isVisible());
    EXPECT_NE(f.window.cursor().shape(), Qt::BusyCursor);
    EXPECT_TRUE(f.window.session().noGuessGame);
    EXPECT_EQ(f.guessesNeeded(), 0);

    // The next board is looked for while this one is played; F2 then deals it at once.
    QTest::mouseClick(f.start(), Qt::LeftButton);
    auto* deals = f.window.findChild<DealMaker*>();
    ASSERT_NE(deals, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return deals->isReady(f.game.category()); }, 20000));
    const std::vector<int> before = f.game.board;
    QTest::keyClick(&f.window, Qt::Key_F2);
    EXPECT_TRUE(f.start()->isEnabled());
    EXPECT_FALSE(f.searching());
    EXPECT_NE(f.game.board, before);
    EXPECT_EQ(f.guessesNeeded(), 0);

    // Without the option the deal is the ordinary one, and is not labelled.
    f.game.noGuessDeals = false;
    QTest::keyClick(&f.window, Qt::Key_F2);
    EXPECT_FALSE(f.window.session().noGuessGame);
}

// The option is ticked in the dialog by a click: it is kept in the desktop's settings store,
// not in Quorvin.inf, and it deals anew.
TEST(NoGuessDeals, TheOptionGoesToThePreferencesAndLeavesQuorvinInfAsItWas) {
    QTemporaryDir folder;
    const QString inf = folder.filePath("Quorvin.inf");
    write(inf, kSmallVacio);
    NoGuessWindow f;
    f.game.setUp(5, 3, 8, false);
    f.window.layOutBoard();
    f.window.newGame();
    const std::string dataPath = folder.path().toStdString() + "/";
    f.window.onConfigure = [&] { runConfiguration(f.window, dataPath); };
    QTimer::singleShot(0, &f.window, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        auto* box = dialog->findChild<QCheckBox*>("Check3");
        EXPECT_TRUE(box->isEnabled());
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
        QTest::mouseClick(dialog->findChild<QPushButton*>("Command1"), Qt::LeftButton);
    });
    QTest::keyClick(&f.window, Qt::Key_F4);
    EXPECT_TRUE(f.game.noGuessDeals);
    EXPECT_EQ(contents(inf), kSmallVacio);
    const QString store =
        QSettings(QStringLiteral("Quorvin"), QStringLiteral("Quorvin")).fileName();
    EXPECT_TRUE(store.endsWith("Quorvin/Quorvin.conf")) << store.toStdString();
    EXPECT_TRUE(contents(store).startsWith("[General]\n"));
    EXPECT_TRUE(contents(store).contains("\nnoGuessDeals=true\n"));
    EXPECT_TRUE(loadPreferences().noGuessDeals);
    ASSERT_TRUE(f.waitForDeal());
    EXPECT_TRUE(f.window.session().noGuessGame);

    // A value a hand damaged reads as the default.
    write(store, "[General]\nnoGuessDeals=maybe\n");
    EXPECT_FALSE(loadPreferences().noGuessDeals);
    QFile::remove(store);
}

// A game dealt without a guess and solved enters its own records file, never Quorvin.dat, and
// the records window opens on that set.
TEST(NoGuessDeals, ItsRecordsGoToAFileOfTheirOwn) {
    QTemporaryDir folder;
    write(folder.filePath("Quorvin.inf"), kSmallVacio);
    Preferences noGuess;
    noGuess.noGuessDeals = true;
    ASSERT_TRUE(savePreferences(noGuess));
    NoGuessWindow f;
    QTimer::singleShot(0, &f.window,
                       [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return); });
    startGame(f.window, folder.path());
    EXPECT_FALSE(QFile::exists(folder.filePath("QuorvinSinAdivinar.dat"))); // none until a record
    ASSERT_TRUE(f.waitForDeal());
    QTest::mouseClick(f.start(), Qt::LeftButton);
    for (int i = 0; i < f.game.cellCount(); ++i) {
        if (!f.game.cells[static_cast<std::size_t>(i)].isHidden()) continue;
        f.game.selectColour(f.game.board[static_cast<std::size_t>(i)]);
        QTest::mouseClick(f.find(QStringLiteral("Image1_%1").arg(i).toLatin1().constData()),
                          Qt::LeftButton);
    }
    EXPECT_FALSE(f.game.gameRunning);
    EXPECT_EQ(contents(folder.filePath("Quorvin.dat")), "");
    const QByteArray line = contents(folder.filePath("QuorvinSinAdivinar.dat"));
    EXPECT_TRUE(line.startsWith("\"")) << line.toStdString();
    EXPECT_TRUE(line.endsWith("jugador    3  5x5    Vac\xEDo\"\r\n")) << line.toStdString();
    QWidget* records = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "Form2" && w->isVisible()) records = w;
    ASSERT_NE(records, nullptr);
    EXPECT_TRUE(records->findChild<QRadioButton*>("OptSinAdivinar")->isChecked());
    EXPECT_TRUE(records->findChild<QLabel*>("Label4")->text().contains("jugador"));
    QTest::mouseClick(records->findChild<QRadioButton*>("OptNormales"), Qt::LeftButton);
    EXPECT_FALSE(records->findChild<QLabel*>("Label4")->text().contains("jugador"));
    records->hide();
    savePreferences(Preferences{});
}

} // namespace
} // namespace quorvin::test
