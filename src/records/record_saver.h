// Recording a solved game: the player's name, one line appended to the records file and list.
#pragma once

#include "model/game.h"
#include "records/records_file.h"

#include <ctime>

namespace quorvin {

// Asks for the name through the game's platform ("jugador" when the answer is empty or
// cancelled), keeps it whole as the next suggestion, and appends the record of the time the
// clock shows, `tenths`, in the category of the game's settings on the date of `now`. A file
// that cannot take it is reported in Spanish; the record stays in the list and is written with
// the next one.
void saveRecord(Game& game, int tenths, RecordsFile& records, std::time_t now);

// The game window is closing. Records the file has not taken yet are written once more (the
// player may have freed space or mended the permissions since); when the file still refuses
// them, the player is asked whether to close and lose them. True when the window may close.
bool mayCloseWithRecords(RecordsFile& records, Platform& platform);

// That question (UTF-8): how many records would be lost, and the file that refused them.
std::string unsavedRecordsQuestion(std::size_t count, const std::string& path);

} // namespace quorvin
