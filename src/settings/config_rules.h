// The configuration dialog's rules: what it saves when shown, when it warns before a change
// that restarts the game, what Cancelar restores, and what a closed dialog leads to.
#pragma once

#include "model/game.h"
#include "settings/settings_file.h"

#include <string>
#include <string_view>

namespace quorvin {

inline constexpr std::string_view kRestartWarning = "Este cambio reiniciará el juego. Continuar?";

// The settings whose change restarts the game (NoGuessDeals: 1 on, 0 off).
enum class ConfigSetting { BoardSize, ColorCount, StartPattern, NoGuessDeals };

// The four settings as the file holds them.
Settings settingsOf(const Game& game);

// What follows the closing of the dialog, from the settings before and after it.
struct ConfigOutcome {
    bool relayout = false; // the board side changed: resize the board and lay it out again
    bool restart = false;  // side, colours or pattern changed: write the file, deal a new game

    bool operator==(const ConfigOutcome&) const = default;
};
ConfigOutcome configOutcome(const Settings& before, const Settings& after);

// The dialog's state for one showing.
struct ConfigRules {
    int savedBoardSize = 7;
    int savedColorCount = 2;
    int savedStartPattern = 0;
    bool savedContinuedGame = true;
    bool savedNoGuessDeals = false;
    bool changeConfirmed = false; // the player accepted the restart warning during this showing

    // Each showing starts here: the settings as they are, nothing confirmed yet.
    void begin(const Game& game);

    // The setting already holds its new value. The warning is due while a game that has been
    // played (its clock has ticked) would be lost, once per showing.
    bool needsWarning(const Game& game, bool clockTicked, ConfigSetting which) const;

    // Puts `value` into the setting and asks the warning when due, through the game's platform.
    // Returns false when the player declined; the setting is then back at its saved value.
    bool change(Game& game, bool clockTicked, ConfigSetting which, int value);

    // Cancelar: every setting back to its saved value.
    void cancel(Game& game) const;

    int saved(ConfigSetting which) const;
};

} // namespace quorvin
