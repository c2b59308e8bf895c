// The data folder and the start-up sequence.
#include "game_window/data_folder.h"

#include "game_window/game_window.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace quorvin {

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
    (void)dataFolder; // the settings and records files are read from here
    QCoreApplication::processEvents();
    Game& game = window.game();
    game.resizeBoard();
    game.gameRunning = false;
    window.layOutBoard();
    game.peekMode = false;
    game.playerName = "Anónimo";
    game.rankText.clear();
    window.newGame();
}

} // namespace quorvin
