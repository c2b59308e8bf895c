// The game window's "Configuración" command: the dialog, then the new layout, the settings file
// and the new game that its changes call for.
#pragma once

#include <string>

namespace quorvin {

class GameWindow;

// Shows the configuration dialog modally over the window (a running game is already paused).
// A new board side resizes and lays out the board; a new side, colour count or start pattern is
// written to dataPath + "Quorvin.inf" and deals a new game. Changed preferences are shown at
// once and written to their own file.
void runConfiguration(GameWindow& window, const std::string& dataPath);

} // namespace quorvin
