// The data folder and the start-up sequence, which connects the windows to the files.
#include "game_window/start_up.h"

#include "about/help.h"
#include "assets/pictures.h"
#include "game_window/configure_command.h"
#include "game_window/game_window.h"
#include "records/record_saver.h"
#include "records/records_window.h"
#include "settings/preferences.h"
#include "settings/settings_file.h"
#include "storage/text_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <ctime>
#include <memory>

namespace quorvin {

namespace {

const QString kHelpFile = QStringLiteral("quorvin.hlp");

// The help document of an installed copy: bin/quorvin finds it in share/quorvin/.
QString installedHelpDocument(const QString& programFolder) {
    return QDir::cleanPath(programFolder + QStringLiteral("/../share/quorvin/") + kHelpFile);
}

// The help document lies next to the program, or in share/quorvin/ for an installed copy; a
// data folder elsewhere gets its own copy, so the help is found where the data is. Returns the
// document the help command opens: the data folder's, or the original when no copy could be
// made (a full disk), so the help still opens.
QString placeHelpDocument(const QString& programFolder, const QString& dataFolder) {
    QString source = programFolder + QLatin1Char('/') + kHelpFile;
    if (!QFileInfo::exists(source)) source = installedHelpDocument(programFolder);
    const QString inData = dataFolder + kHelpFile;
    if (QFileInfo(source).absoluteFilePath() == QFileInfo(inData).absoluteFilePath()) return inData;
    if (!QFileInfo::exists(source)) return inData;
    const FileRead read = readWholeFile(source.toStdString());
    if (read.status == FileStatus::Ok && readWholeFile(inData.toStdString()).bytes == read.bytes)
        return inData; // already there, as it is
    if (read.status == FileStatus::Ok &&
        writeFileAtomically(inData.toStdString(), read.bytes) == FileStatus::Ok)
        return inData;
    return QFileInfo::exists(inData) ? inData : source;
}

// A program folder that cannot be written may still hold the player's settings and records
// (copied there by hand, or left by an older copy of the game that could write there). When
// the per-user folder is used instead and lacks them, they are copied there first, so the
// player keeps them; nothing is said when that works.
void adoptProgramFolderFiles(const QString& programFolder, const QString& dataFolder,
                             Platform& platform) {
    const QString from = QDir(programFolder).absolutePath() + QLatin1Char('/');
    if (QFileInfo(from) == QFileInfo(dataFolder)) return;
    for (const std::string_view name :
         {kSettingsFileName, kRecordsFileName, kNoGuessRecordsFileName}) {
        const std::string source = from.toStdString() + std::string(name);
        const std::string target = dataFolder.toStdString() + std::string(name);
        if (fileSize(target) >= 0 || fileSize(source) < 0) continue;
        const FileRead read = readWholeFile(source);
        if (read.status == FileStatus::Ok &&
            writeFileAtomically(target, read.bytes) == FileStatus::Ok)
            continue;
        platform.inform("No se pudo copiar " + source + " a " + dataFolder.toStdString() +
                            ". El juego sigue sin ese archivo.",
                        true);
    }
}

} // namespace

QString findDataFolder(const QString& programFolder) {
    QString folder = programFolder;
    // An installed copy keeps its data per user, even for an account that may write to bin/.
    if (!QFileInfo(folder).isWritable() ||
        QFileInfo::exists(installedHelpDocument(programFolder))) {
        folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QDir().mkpath(folder);
    }
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    return folder;
}

void startGame(GameWindow& window, const QString& programFolder) {
    // The about box greets the player before the game window appears; the files are looked at
    // only once it is closed. While it is read, the game window's pictures are drawn.
    showAboutBox(&window, window, [&window] { drawPicturesAhead(window.devicePixelRatioF()); });
    QCoreApplication::processEvents();
    const QString dataFolder = findDataFolder(programFolder);
    const std::string dataPath = dataFolder.toStdString();
    adoptProgramFolderFiles(programFolder, dataFolder, window);
    const std::string help = placeHelpDocument(programFolder, dataFolder).toStdString();
    window.onHelp = [&window, help] { openHelp(window, help); };
    window.onAbout = [&window] { showAboutBox(&window, window); };
    window.onConfigure = [&window, dataPath] { runConfiguration(window, dataPath); };

    const LoadedSettings loaded = loadSettings(dataPath);
    if (loaded.writeFailed()) window.inform(settingsWriteFailedMessage(dataPath), true);
    else if (loaded.readStatus != FileStatus::Ok)
        window.inform("No se pudo leer el archivo de configuración " + dataPath +
                          std::string(kSettingsFileName) +
                          ". El juego sigue con la configuración inicial.",
                      true);
    Game& game = window.game();
    game.boardSize = loaded.settings.boardSize;
    game.colorCount = loaded.settings.colorCount;
    game.startPattern = loaded.settings.startPattern;
    game.continuedGame = loaded.settings.continuedGame;
    // A marked face is drawn at its first showing, from the plain face drawn ahead.
    window.preferences() = loadPreferences();
    game.noGuessDeals = window.preferences().noGuessDeals;

    // The records live as long as the window; the window's hooks share them. Games dealt as
    // boards that deduction alone solves keep their records in a file of their own.
    auto loadRecords = [&window, &dataPath](std::string_view name, bool createMissing) {
        auto records = std::make_shared<RecordsFile>(dataPath + std::string(name));
        if (records->load(createMissing) != FileStatus::Ok)
            window.inform("No se pudo leer el archivo de records " + records->path() +
                              ". El juego sigue sin los records guardados.",
                          true);
        return records;
    };
    auto records = loadRecords(kRecordsFileName, true);
    auto noGuessRecords = loadRecords(kNoGuessRecordsFileName, false);
    window.session().categoryTimesOf = [records, noGuessRecords](int category, bool noGuess) {
        return categoryTimes((noGuess ? noGuessRecords : records)->records(), category);
    };
    // The records window lives as long as the game window. After a record it opens without
    // being modal on the current category, so the player sees the new rank. "Records" (F9)
    // shows it modally; when it is already open without being modal, F9 brings it to the
    // front, modal and refreshed on the current category, as every "Records" does.
    // It is built on first use: start-up does not pay for a window the player may never open.
    // It is a window of its own, deleted with the game window's commands that hold it.
    auto recordsWindow = [&window, records, noGuessRecords,
                          built = std::make_shared<std::unique_ptr<RecordsWindow>>()] {
        if (!*built)
            *built =
                std::make_unique<RecordsWindow>(window.game(), window, records, noGuessRecords);
        return built->get();
    };
    // Both open on the set of records of the game on view.
    window.onRecords = [&window, recordsWindow] {
        recordsWindow()->showModally(window.session().noGuessGame);
    };
    window.onSolved = [&window, records, noGuessRecords, recordsWindow] {
        const bool noGuess = window.session().noGuessGame;
        saveRecord(window.game(), window.session().clock.tenths,
                   noGuess ? *noGuessRecords : *records, std::time(nullptr));
        recordsWindow()->showOnCurrentCategory(noGuess);
    };
    // A record the file refused is not dropped without a word when the game closes.
    // Each set of records is asked about on its own, naming its file.
    window.onClosing = [&window, records, noGuessRecords] {
        return mayCloseWithRecords(*records, window) &&
               mayCloseWithRecords(*noGuessRecords, window);
    };

    game.resizeBoard();
    game.gameRunning = false;
    window.layOutBoard();
    game.peekMode = false;
    game.playerName = "Anónimo";
    game.rank.reset();
    window.newGame();
}

} // namespace quorvin
