// Where the data files live, and the start-up sequence that reads them and deals the first game.
#pragma once

#include <QString>

namespace quorvin {

class GameWindow;

// The data folder for a program in `programFolder`: that folder with a trailing separator; when
// it cannot be written (an installed copy, a read-only folder), the per-user data folder instead.
// Never the current working folder.
QString findDataFolder(const QString& programFolder);

// The start-up of a program in `programFolder`: the about box first, then the data folder, the
// settings and records, the board's layout and the first deal.
void startGame(GameWindow& window, const QString& programFolder);

} // namespace quorvin
