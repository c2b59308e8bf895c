// The configuration dialog's rules: when the restart warning is due, what a declined change and
// Cancelar restore, and what a closed dialog leads to.
#include "settings/config_rules.h"
#include "support/fake_platform.h"

#include <gtest/gtest.h>

namespace quorvin::test {
namespace {

struct RulesFixture {
    FakePlatform platform;
    Game game{platform};
    ConfigRules rules;

    RulesFixture() {
        game.boardSize = 9;
        game.colorCount = 3;
        game.startPattern = 4;
        game.continuedGame = false;
        game.gameRunning = true;
        rules.begin(game);
    }
};

TEST(ConfigRulesWarning, OnlyForAPlayedGameAndAReallyNewValue) {
    RulesFixture f;
    for (ConfigSetting which :
         {ConfigSetting::BoardSize, ConfigSetting::ColorCount, ConfigSetting::StartPattern}) {
        Game& g = f.game;
        int& setting = which == ConfigSetting::BoardSize    ? g.boardSize
                       : which == ConfigSetting::ColorCount ? g.colorCount
                                                            : g.startPattern;
        const int saved = setting;
        setting = saved == 2 ? 3 : 2;
        EXPECT_TRUE(f.rules.needsWarning(g, true, which));
        EXPECT_FALSE(f.rules.needsWarning(g, false, which)) << "a game not yet timed costs nothing";
        g.gameRunning = false;
        EXPECT_FALSE(f.rules.needsWarning(g, true, which)) << "no game to lose";
        g.gameRunning = true;
        setting = saved;
        EXPECT_FALSE(f.rules.needsWarning(g, true, which)) << "changed and changed back";
    }
    // The continued-game mode is never warned about and never counts as a change of another.
    f.game.continuedGame = true;
    EXPECT_FALSE(f.rules.needsWarning(f.game, true, ConfigSetting::BoardSize));
}

} // namespace
} // namespace quorvin::test
