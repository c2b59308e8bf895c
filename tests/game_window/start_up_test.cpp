// The start-up as a whole, headless: the about box before anything else, then the files, the
// window and the first game.
#include "game_window/desktop_platform.h"
#include "game_window/game_window.h"
#include "game_window/start_up.h"
#include "records/record_saver.h"
#include "records/records_file.h"
#include "settings/settings_file.h"
#include "storage/temp_dir.h"
#include "support/fake_platform.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
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
    QTemporaryDir configuration; // the player's, where the preferences are
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configuration.path());
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
        EXPECT_FALSE(run.window.preferences().colourMarks);
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
    Preferences marked;
    marked.colourMarks = true;
    ASSERT_TRUE(savePreferences(marked));
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
    EXPECT_TRUE(run.window.preferences().colourMarks);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    QTest::mouseClick(run.window.findChild<QPushButton*>("Command2"), Qt::LeftButton);
    EXPECT_EQ(run.window.findChild<QLabel*>("Label1")->text(), "1º (12.3)");
}

// The game on a folder holding a record and the settings of a 5 x 5 board of two colours with
// every cell hidden, dealt all colour 1 but the last cell. The records file refuses while its
// folder is moved away (as it does for root too, unlike a read-only folder).
struct Refusing {
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString(), path = folder + "/Quorvin.dat";
    const std::string before = "\" 123  2024/03/07 Ana        2  5x5    Vac\xEDo\"\r\n";
    const std::string board = "11111 11111 11111 11111 11112";
    std::unique_ptr<StartUp> run;

    Refusing() {
        testing::spit(folder + "/Quorvin.inf", formatSettings(Settings{5, 2, 8, false}, false));
        testing::spit(path, before);
        run = std::make_unique<StartUp>(dir.path(), board);
    }
    void refuse(bool refused) {
        std::filesystem::rename(refused ? folder : folder + "~", refused ? folder + "~" : folder);
    }
    // Plays the board to the end with the mouse (a record), then deals it again.
    void solve() {
        QTest::mouseClick(run->window.findChild<QPushButton*>("Command2"), Qt::LeftButton);
        for (int i = 0; i < 25; ++i) {
            QWidget* cell = run->window.findChild<QWidget*>(QStringLiteral("Image1_%1").arg(i));
            if (i == 24) QTest::mouseClick(cell, Qt::RightButton); // the second colour
            QTest::mouseClick(cell, Qt::LeftButton);
        }
        run->platform.scriptColours(board, 2);
        run->window.findChild<QAction*>("MnuNew")->trigger();
    }
    // "Borrar a partir del 20º puesto", confirmed, in the records window the record opened.
    void deleteFromTwentieth() {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == "Form2" && top->isVisible())
                return top->findChild<QAction*>("MnuB_3")->trigger();
        ADD_FAILURE() << "no records window";
    }
    // Closes the game window, a question answered `answer`: what was asked ("" for nothing).
    std::string close(bool answer) {
        run->platform.answer = answer;
        run->platform.questions = {""};
        run->window.close();
        return run->platform.questions.back();
    }
};

TEST(ClosingWithRecordsWaiting, NoKeepsThemAndTheGameOpenUntilTheFileTakesThem) {
    Refusing f;
    f.refuse(true);
    f.solve();
    EXPECT_TRUE(f.run->platform.questions.back().starts_with("No se pudo guardar el record"));
    EXPECT_EQ(f.close(false), unsavedRecordsQuestion(1, f.path));
    EXPECT_TRUE(f.run->window.isVisible());
    f.run->platform.answer = true;
    f.deleteFromTwentieth(); // refused too: the record goes on waiting
    f.solve();
    EXPECT_EQ(f.close(false), unsavedRecordsQuestion(2, f.path));
    EXPECT_TRUE(f.run->window.isVisible());

    f.refuse(false); // the player frees space: the close writes them, without a word
    EXPECT_EQ(f.close(false), "");
    EXPECT_FALSE(f.run->window.isVisible());
    RecordsFile next(f.path);
    ASSERT_EQ(next.load(), FileStatus::Ok);
    EXPECT_EQ(next.records().size(), 3u);
}

TEST(ClosingWithRecordsWaiting, ADeletionWritesThemAndYesLosesOnlyThem) {
    Refusing f;
    f.refuse(true);
    f.solve();
    f.refuse(false);
    f.run->platform.answer = true;
    f.deleteFromTwentieth(); // its rewrite takes the waiting record
    const std::string kept = testing::slurp(f.path);
    EXPECT_NE(kept, f.before);

    f.refuse(true);
    f.solve();
    EXPECT_EQ(f.close(true), unsavedRecordsQuestion(1, f.path));
    EXPECT_FALSE(f.run->window.isVisible());
    f.refuse(false);
    EXPECT_EQ(testing::slurp(f.path), kept);
    EXPECT_EQ(QDir(f.dir.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"Quorvin.dat", "Quorvin.inf"}));
}

// The real box: its buttons Spanish, and Enter answers "No", so a stray key loses no record.
TEST(DesktopPlatform, TheYesNoQuestionIsSpanishAndEnterAnswersNo) {
    DesktopPlatform platform;
    for (const bool yes : {false, true}) {
        QTimer::singleShot(0, [yes] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            EXPECT_EQ(box->button(QMessageBox::Yes)->text(), "&Sí");
            EXPECT_EQ(box->button(QMessageBox::No)->text(), "&No");
            yes ? box->button(QMessageBox::Yes)->click() : QTest::keyClick(box, Qt::Key_Return);
        });
        EXPECT_EQ(platform.askYesNo("¿Cerrar?"), yes);
    }
}

} // namespace
} // namespace quorvin::test
