// The data folder and the start-up sequence.
#include "game_window/data_folder.h"

#include "about/help.h"
#include "game_window/game_window.h"
#include "settings/configure_command.h"
#include "settings/settings_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace quorvin {

namespace {

const QString kHelpFile = QStringLiteral("quorvin.hlp");

// The help document lies next to the program; a data folder elsewhere gets its own copy so the
// help is found wherever the data is.
void placeHelpDocument(const QString& dataFolder) {
    const QString beside = QCoreApplication::applicationDirPath() + QLatin1Char('/') + kHelpFile;
    const QString inData = dataFolder + kHelpFile;
    if (QFileInfo(beside).absoluteFilePath() == QFileInfo(inData).absoluteFilePath()) return;
    if (QFileInfo::exists(beside)) {
        QFile::remove(inData);
        QFile::copy(beside, inData);
    }
}

} // namespace

QString findDataFolder() {
    QString folder = QCoreApplication::applicationDirPath();
    if (!QFileInfo(folder).isWritable()) {
        folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QDir().mkpath(folder);
    }
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    return folder;
}

void startGame(GameWindow& window, const QString& dataFolder) {
    // The about box greets the player before the game window appears.
    showAboutBox(&window, window);
    QCoreApplication::processEvents();
    const std::string dataPath = dataFolder.toStdString();
    window.onHelp = [&window, dataPath] { openHelp(window, dataPath); };
    window.onAbout = [&window] { showAboutBox(&window, window); };
    window.onConfigure = [&window, dataPath] { runConfiguration(window, dataPath); };
    placeHelpDocument(dataFolder);

    const LoadedSettings loaded = loadSettings(dataPath);
    if (loaded.writeFailed()) window.inform(settingsWriteFailedMessage(dataPath), true);
    Game& game = window.game();
    game.boardSize = loaded.settings.boardSize;
    game.colorCount = loaded.settings.colorCount;
    game.startPattern = loaded.settings.startPattern;
    game.continuedGame = loaded.settings.continuedGame;

    game.resizeBoard();
    game.gameRunning = false;
    window.layOutBoard();
    game.peekMode = false;
    game.playerName = "Anónimo";
    game.rankText.clear();
    window.newGame();
}

} // namespace quorvin
