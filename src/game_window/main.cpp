// Starts the game: Qt's Spanish texts, the data folder, the settings and records, the window.
#include "game_window/start_up.h"
#include "game_window/desktop_platform.h"
#include "game_window/game_window.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <csignal>

int main(int argc, char* argv[]) {
    // Under a file-size limit a write past it would end the program with SIGXFSZ, mid-line;
    // ignored, the write fails instead, and the file code reports it and keeps the file whole.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvin"));
    // The desktop matches the window to quorvin.desktop (its name and icon in the task bar).
    QGuiApplication::setDesktopFileName(QStringLiteral("quorvin"));

    // The standard buttons of boxes and prompts in Spanish; English stays if the file is missing.
    QTranslator qtSpanish;
    if (qtSpanish.load(QStringLiteral("qtbase_es"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtSpanish);

    quorvin::DesktopPlatform platform;
    quorvin::GameWindow window(platform);
    platform.setOwner(&window);
    quorvin::startGame(window, QCoreApplication::applicationDirPath());
    return app.exec();
}
