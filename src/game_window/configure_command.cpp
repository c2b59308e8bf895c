// The configuration command around the dialog.
#include "game_window/configure_command.h"

#include "game_window/game_window.h"
#include "settings/config_dialog.h"
#include "settings/preferences.h"
#include "settings/settings_file.h"

namespace quorvin {

void runConfiguration(GameWindow& window, const std::string& dataPath) {
    Game& game = window.game();
    const Settings before = settingsOf(game);
    const Preferences preferencesBefore = window.preferences();
    {
        ConfigDialog dialog(window.session(), window.preferences(), &window);
        QObject::connect(&dialog, &ConfigDialog::preferencesChanged, &window, &GameWindow::render);
        dialog.exec();
    }
    // The preferences live in a file of their own, so Quorvin.inf is written only for a new game.
    if (window.preferences() != preferencesBefore && !savePreferences(window.preferences()))
        window.inform(settingsWriteFailedMessage(preferencesFolder()), true);
    const ConfigOutcome outcome = configOutcome(before, settingsOf(game));
    if (outcome.relayout) {
        game.resizeBoard();
        window.layOutBoard();
    }
    if (!outcome.restart) return; // a paused game stays paused
    // An unwritable folder costs only the next run's settings; this run plays on with them.
    if (saveSettings(dataPath, settingsOf(game)) != FileStatus::Ok)
        window.inform(settingsWriteFailedMessage(dataPath), true);
    window.newGame();
}

} // namespace quorvin
