// The settings file Quorvin.inf: the four game settings as eight CR LF lines, label and value
// alternating, and the small I/O around reading and writing it.
#pragma once

#include "storage/text_file.h"

#include <string>
#include <string_view>

namespace quorvin {

struct Settings {
    int boardSize = 7;
    int colorCount = 2;
    int startPattern = 0;
    bool continuedGame = true;

    bool operator==(const Settings&) const = default;
};

inline constexpr std::string_view kSettingsFileName = "Quorvin.inf";

// The eight lines of the file. The labels always stand in double quotes. With `quotedValues`
// the values are quoted texts ("7"), as the start-up default writer puts them; without, they are
// bare numbers (7), as the configuration dialog writes them. Both read back the same.
std::string formatSettings(const Settings& settings, bool quotedValues);

struct ParsedSettings {
    Settings settings;
    // At least one setting was missing, unreadable or out of range and holds its default.
    bool damaged = false;
};

// Reads the bytes of a settings file. Never fails: whatever a line lacks falls back to the
// default of its own setting, so every value returned is in range.
ParsedSettings parseSettings(std::string_view bytes);

struct LoadedSettings {
    Settings settings;
    bool damaged = false;
    // Ok, or Failed/Busy when an existing file could not be read (the defaults are in use).
    FileStatus readStatus = FileStatus::Ok;
    // Failed when the file was missing and could not be created (the defaults are in use).
    FileStatus writeStatus = FileStatus::Ok;

    bool writeFailed() const { return writeStatus != FileStatus::Ok; }
};

// Start-up: reads dataPath + "Quorvin.inf" (dataPath ends with a separator). A missing file is
// first written with the quoted defaults and then read; one that is not a regular file (a FIFO,
// a folder) is not read (readStatus Failed, the defaults in use). Never throws.
LoadedSettings loadSettings(const std::string& dataPath);

// The configuration dialog's rewrite, atomic, values as bare numbers. Never throws.
FileStatus saveSettings(const std::string& dataPath, const Settings& settings);

// What the game tells the player (UTF-8) when the settings could not be written to the folder.
std::string settingsWriteFailedMessage(const std::string& dataPath);

} // namespace quorvin
