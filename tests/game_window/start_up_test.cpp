// The start-up as a whole, headless: the about box before anything else, then the files, the
// window and the first game.
#include "game_window/desktop_platform.h"
#include "game_window/game_window.h"
#include "game_window/start_up.h"
#include "records/record_saver.h"
#include "settings/settings_file.h"
#include "storage/temp_dir.h"
#include "support/fake_platform.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace quorvin::test {
namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

// Runs the start-up on `folder` as the program's folder; while the about box is up, records
// what the player could see then, and closes it with a key.
struct StartUp {
    FakePlatform platform;
    GameWindow window{platform};
    bool aboutSeen = false;
    bool windowShownUnderAbout = true;
    QStringList filesUnderAbout;

    // `colours`: the first deal's, as FakePlatform::scriptColours takes them.
    explicit StartUp(const QString& folder, const std::string& colours = {}) {
        platform.scriptColours(colours, 2);
        QTimer::singleShot(0, &window, [this, folder] {
            QWidget* about = QApplication::activeModalWidget();
            ASSERT_NE(about, nullptr);
            aboutSeen = about->objectName() == "FormVantomir";
            windowShownUnderAbout = window.isVisible();
            filesUnderAbout = QDir(folder).entryList(QDir::Files);
            QTest::keyClick(about, Qt::Key_Return);
        });
        startGame(window, folder);
    }
};

TEST(StartUp, AboutBoxFirstThenTheFilesAndTheFirstGame) {
    QTemporaryDir folder;
    {
        // A first run: the about box on an empty folder, then both files made with defaults.
        StartUp run(folder.path());
        EXPECT_TRUE(run.aboutSeen);
        EXPECT_FALSE(run.windowShownUnderAbout);
        EXPECT_TRUE(run.filesUnderAbout.isEmpty()) << run.filesUnderAbout.join(' ').toStdString();
        EXPECT_EQ(contents(folder.filePath("Quorvin.inf")),
                  "\"NIVEL (5-15):\"\r\n\"7\"\r\n\"COLORES (2-4):\"\r\n\"2\"\r\n"
                  "\"INICIO (0-8):\"\r\n\"0\"\r\n\"CONTINUADO (0/1):\"\r\n\"1\"\r\n");
        EXPECT_EQ(contents(folder.filePath("Quorvin.dat")), "");
        EXPECT_TRUE(run.window.isVisible());
        EXPECT_EQ(run.window.game().cellCount(), 49);
        EXPECT_EQ(run.window.findChild<QPushButton*>("Command2")->text(), "Empezar");
        EXPECT_TRUE(run.platform.questions.empty());
    }
    // The next run reads what the files hold: a 5 x 5 board, three colours, "Vacío", and the
    // category's record as the time to beat.
    QFile settings(folder.filePath("Quorvin.inf"));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly | QIODevice::Truncate));
    settings.write("\"NIVEL (5-15):\"\r\n5\r\n\"COLORES (2-4):\"\r\n3\r\n"
                   "\"INICIO (0-8):\"\r\n8\r\n\"CONTINUADO (0/1):\"\r\n0\r\n");
    settings.close();
    QFile records(folder.filePath("Quorvin.dat"));
    ASSERT_TRUE(records.open(QIODevice::WriteOnly));
    records.write("\" 123  2024/03/07 Ana        3  5x5    Vac\xEDo\"\r\n");
    records.close();
    const QStringList before = QDir(folder.path()).entryList(QDir::Files);
    StartUp run(folder.path());
    EXPECT_EQ(run.filesUnderAbout, before);
    EXPECT_TRUE(run.platform.questions.empty());
    const Game& g = run.window.game();
    EXPECT_EQ(g.cellCount(), 25);
    EXPECT_EQ(g.colorCount, 3);
    EXPECT_EQ(g.startPattern, 8);
    EXPECT_FALSE(g.continuedGame);
    EXPECT_EQ(g.playerName, "Anónimo");
    QTest::mouseClick(run.window.findChild<QPushButton*>("Command2"), Qt::LeftButton);
    EXPECT_EQ(run.window.findChild<QLabel*>("Label1")->text(), "1º (12.3)");
}

// A 5 x 5 board of two colours with every cell hidden: all colour 1 but the last cell.
const std::string kBoard = "11111 11111 11111 11111 11112";

// Starts the game on `folder` holding a record and settings for kBoard's category, as a folder
// the records file can refuse: moved away (as root too, unlike a read-only folder) and back.
struct RefusingFolder {
    QTemporaryDir folder;
    const std::string away = folder.path().toStdString() + ".away";
    const std::string records = folder.filePath("Quorvin.dat").toStdString();
    const std::string before = "\" 123  2024/03/07 Ana        2  5x5    Vac\xEDo\"\r\n";
    std::unique_ptr<StartUp> run;

    RefusingFolder() {
        testing::spit(folder.filePath("Quorvin.inf").toStdString(),
                      formatSettings(Settings{5, 2, 8, false}, false));
        testing::spit(records, before);
        run = std::make_unique<StartUp>(folder.path(), kBoard);
    }
    void refuse(bool refused) {
        std::filesystem::rename(refused ? folder.path().toStdString() : away,
                                refused ? away : folder.path().toStdString());
    }
    // Plays the board to the end with the mouse (a record), then deals it again.
    void solve() {
        QTest::mouseClick(run->window.findChild<QPushButton*>("Command2"), Qt::LeftButton);
        for (int i = 0; i < 25; ++i) {
            QWidget* cell = run->window.findChild<QWidget*>(QStringLiteral("Image1_%1").arg(i));
            if (i == 24) QTest::mouseClick(cell, Qt::RightButton); // the second colour
            QTest::mouseClick(cell, Qt::LeftButton);
        }
        run->platform.scriptColours(kBoard, 2);
        run->window.findChild<QAction*>("MnuNew")->trigger();
    }
    // "Borrar a partir del 20º puesto" in the records window the record opened, confirmed.
    void deleteFromTwentieth() {
        QWidget* listing = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == "Form2" && top->isVisible()) listing = top;
        ASSERT_NE(listing, nullptr);
        auto* bar = listing->findChild<QMenuBar*>();
        auto* menu = listing->findChild<QMenu*>("MnuBor");
        QTest::mouseClick(bar, Qt::LeftButton, {},
                          bar->actionGeometry(menu->menuAction()).center());
        QTest::mouseClick(menu, Qt::LeftButton, {},
                          menu->actionGeometry(menu->actions().at(3)).center());
    }
    // Closes the game window with `answer` ready for a question; what was asked, if anything.
    std::string close(bool answer) {
        run->platform.answer = answer;
        run->platform.questions.clear();
        run->window.close();
        return run->platform.questions.empty() ? "" : run->platform.questions.back();
    }
    std::string line(int tenths) const {
        return fileLine(
            recordText(tenths, localDate(std::time(nullptr)), "jugador", categoryIndex({2, 5, 8})));
    }
};

TEST(ClosingWithRecordsWaiting, NoKeepsTheGameOpenAndTheNextCloseWritesThem) {
    RefusingFolder f;
    f.refuse(true);
    f.solve();
    EXPECT_TRUE(f.run->platform.questions.back().starts_with("No se pudo guardar el record"));
    EXPECT_EQ(f.close(false), unsavedRecordsQuestion(1, f.records));
    EXPECT_TRUE(f.run->window.isVisible());
    f.run->platform.answer = true;
    f.deleteFromTwentieth(); // fails: the record goes on waiting
    EXPECT_EQ(f.close(false), unsavedRecordsQuestion(1, f.records));
    EXPECT_TRUE(f.run->window.isVisible());

    f.refuse(false); // the player frees space: the close writes the record, without a word
    EXPECT_EQ(f.close(false), "");
    EXPECT_FALSE(f.run->window.isVisible());
    EXPECT_EQ(testing::slurp(f.records), f.before + f.line(0));
}

TEST(ClosingWithRecordsWaiting, ADeletionWritesThemAndYesLosesOnlyThem) {
    RefusingFolder f;
    f.refuse(true);
    f.solve();
    f.refuse(false);
    f.deleteFromTwentieth(); // the waiting record is kept by the deletion's rewrite
    const std::string kept = f.line(0) + f.before; // ranked: the faster first
    EXPECT_EQ(testing::slurp(f.records), kept);

    f.refuse(true);
    f.solve();
    f.solve();
    EXPECT_EQ(f.close(true), unsavedRecordsQuestion(2, f.records));
    EXPECT_FALSE(f.run->window.isVisible());
    f.refuse(false);
    EXPECT_EQ(testing::slurp(f.records), kept);
    EXPECT_EQ(QDir(f.folder.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"Quorvin.dat", "Quorvin.inf"}));
}

// The real box: Spanish buttons; Enter answers "No", so a stray key loses no record.
TEST(DesktopPlatform, TheYesNoQuestionIsSpanishAndEnterAnswersNo) {
    DesktopPlatform platform;
    for (const bool yes : {false, true}) {
        QStringList buttons;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            for (QAbstractButton* button : box->buttons())
                buttons << button->text();
            if (yes)
                box->button(QMessageBox::Yes)->click();
            else
                QTest::keyClick(box, Qt::Key_Return);
        });
        EXPECT_EQ(platform.askYesNo("¿Cerrar?"), yes);
        buttons.sort();
        EXPECT_EQ(buttons, (QStringList{"&No", "&Sí"}));
    }
}

} // namespace
} // namespace quorvin::test
