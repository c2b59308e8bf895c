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
    const bool noGuessBefore = game.noGuessDeals;
    const Preferences preferencesBefore = window.preferences();
    {
        ConfigDialog dialog(window.session(), window.preferences(), &window);
        QObject::connect(&dialog, &ConfigDialog::preferencesChanged, &window, &GameWindow::render);
        dialog.exec();
    }
    // The no-guess choice is a setting of the game in the dialog (it deals anew, and may ask
    // first) and a preference on disk. The preferences live in a file of their own, so
    // Quorvin.inf is written only for a new game of other settings.
    window.preferences().noGuessDeals = game.noGuessDeals;
    if (window.preferences() != preferencesBefore && !savePreferences(window.preferences()))
        window.inform(settingsWriteFailedMessage(preferencesFolder()), true);
    const ConfigOutcome outcome = configOutcome(before, settingsOf(game));
    if (outcome.relayout) {
        game.resizeBoard();
        window.layOutBoard();
    }
    const bool noGuessChanged = game.noGuessDeals != noGuessBefore;
    if (!outcome.restart && !noGuessChanged) return; // a paused game stays paused
    // An unwritable folder costs only the next run's settings; this run plays on with them.
    if (outcome.restart && saveSettings(dataPath, settingsOf(game)) != FileStatus::Ok)
        window.inform(settingsWriteFailedMessage(dataPath), true);
    window.newGame();
}

} // namespace quorvin
