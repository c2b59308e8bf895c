// Where the data files live, and the start-up sequence that reads them and deals the first game.
#pragma once

#include <QString>

namespace quorvin {

class GameWindow;

// The program's folder with a trailing separator; when it cannot be written (an installed
// copy), the per-user data folder instead. Never the current working folder.
QString findDataFolder();

// Runs the start-up: settings, records, the board's layout and the first deal.
void startGame(GameWindow& window, const QString& dataFolder);

} // namespace quorvin
