// The configuration dialog's rules, free of any window.
#include "settings/config_rules.h"

namespace quorvin {

namespace {

int& settingOf(Game& game, ConfigSetting which) {
    switch (which) {
    case ConfigSetting::BoardSize: return game.boardSize;
    case ConfigSetting::ColorCount: return game.colorCount;
    case ConfigSetting::StartPattern: break;
    }
    return game.startPattern;
}

int settingOf(const Game& game, ConfigSetting which) {
    switch (which) {
    case ConfigSetting::BoardSize: return game.boardSize;
    case ConfigSetting::ColorCount: return game.colorCount;
    case ConfigSetting::StartPattern: break;
    }
    return game.startPattern;
}

} // namespace

Settings settingsOf(const Game& game) {
    return Settings{game.boardSize, game.colorCount, game.startPattern, game.continuedGame};
}

ConfigOutcome configOutcome(const Settings& before, const Settings& after) {
    ConfigOutcome outcome;
    outcome.relayout = after.boardSize != before.boardSize;
    // The continued-game mode alone takes effect in the running game and is not written.
    outcome.restart = outcome.relayout || after.colorCount != before.colorCount ||
                      after.startPattern != before.startPattern;
    return outcome;
}

void ConfigRules::begin(const Game& game) {
    savedBoardSize = game.boardSize;
    savedColorCount = game.colorCount;
    savedStartPattern = game.startPattern;
    savedContinuedGame = game.continuedGame;
    changeConfirmed = false;
}

int ConfigRules::saved(ConfigSetting which) const {
    switch (which) {
    case ConfigSetting::BoardSize: return savedBoardSize;
    case ConfigSetting::ColorCount: return savedColorCount;
    case ConfigSetting::StartPattern: break;
    }
    return savedStartPattern;
}

bool ConfigRules::needsWarning(const Game& game, bool clockTicked, ConfigSetting which) const {
    return !changeConfirmed && game.gameRunning && clockTicked &&
           settingOf(game, which) != saved(which);
}

bool ConfigRules::change(Game& game, bool clockTicked, ConfigSetting which, int value) {
    settingOf(game, which) = value;
    if (!needsWarning(game, clockTicked, which)) return true;
    if (game.platform().confirm(std::string(kRestartWarning), false)) {
        changeConfirmed = true;
        return true;
    }
    settingOf(game, which) = saved(which);
    return false;
}

void ConfigRules::cancel(Game& game) const {
    game.boardSize = savedBoardSize;
    game.colorCount = savedColorCount;
    game.startPattern = savedStartPattern;
    game.continuedGame = savedContinuedGame;
}

} // namespace quorvin
