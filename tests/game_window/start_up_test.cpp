// The start-up as a whole, headless: the about box before anything else, then the files, the
// window and the first game.
#include "game_window/game_window.h"
#include "game_window/start_up.h"
#include "support/fake_platform.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
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

// Runs the start-up on `folder` as the program's folder; while the about box is up, records
// what the player could see then, and closes it with a key.
struct StartUp {
    FakePlatform platform;
    GameWindow window{platform};
    bool aboutSeen = false;
    bool windowShownUnderAbout = true;
    QStringList filesUnderAbout;

    explicit StartUp(const QString& folder) {
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

} // namespace
} // namespace quorvin::test
