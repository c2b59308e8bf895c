// The conversion between the program's UTF-8 texts and the Windows-1252 bytes of its data files,
// one byte per character.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvin {

// UTF-8 to Windows-1252, one byte per character; a character it cannot hold becomes '?'.
std::string toWindows1252(std::string_view utf8);
// The Windows-1252 bytes of a valid UTF-8 text all of whose characters Windows-1252 holds;
// nothing for any other text, so that no character is lost on the way.
std::optional<std::string> exactWindows1252(std::string_view utf8);
// Windows-1252 to UTF-8; the five unassigned bytes map to U+FFFD.
std::string fromWindows1252(std::string_view bytes);

} // namespace quorvin
