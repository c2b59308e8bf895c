// The configuration dialog's rules, free of any window.
#include "settings/config_rules.h"

namespace quorvin {

namespace {

int settingOf(const Game& game, ConfigSetting which) {
    switch (which) {
    case ConfigSetting::BoardSize: return game.boardSize;
    case ConfigSetting::ColorCount: return game.colorCount;
    case ConfigSetting::StartPattern:
        return game.startPattern;
    case ConfigSetting::NoGuessDeals:
        break;
    }
    return game.noGuessDeals ? 1 : 0;
}

void setSetting(Game& game, ConfigSetting which, int value) {
    switch (which) {
    case ConfigSetting::BoardSize:
        game.boardSize = value;
        return;
    case ConfigSetting::ColorCount:
        game.colorCount = value;
        return;
    case ConfigSetting::StartPattern:
        game.startPattern = value;
        return;
    case ConfigSetting::NoGuessDeals:
        break;
    }
    game.noGuessDeals = value != 0;
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
    savedNoGuessDeals = game.noGuessDeals;
    changeConfirmed = false;
}

int ConfigRules::saved(ConfigSetting which) const {
    switch (which) {
    case ConfigSetting::BoardSize: return savedBoardSize;
    case ConfigSetting::ColorCount: return savedColorCount;
    case ConfigSetting::StartPattern:
        return savedStartPattern;
    case ConfigSetting::NoGuessDeals:
        break;
    }
    return savedNoGuessDeals ? 1 : 0;
}

bool ConfigRules::needsWarning(const Game& game, bool clockTicked, ConfigSetting which) const {
    return !changeConfirmed && game.gameRunning && clockTicked &&
           settingOf(game, which) != saved(which);
}

bool ConfigRules::change(Game& game, bool clockTicked, ConfigSetting which, int value) {
    setSetting(game, which, value);
    if (!needsWarning(game, clockTicked, which)) return true;
    if (game.platform().confirm(std::string(kRestartWarning), false)) {
        changeConfirmed = true;
        return true;
    }
    setSetting(game, which, saved(which));
    return false;
}

void ConfigRules::cancel(Game& game) const {
    game.boardSize = savedBoardSize;
    game.colorCount = savedColorCount;
    game.startPattern = savedStartPattern;
    game.continuedGame = savedContinuedGame;
    game.noGuessDeals = savedNoGuessDeals;
}

} // namespace quorvin
