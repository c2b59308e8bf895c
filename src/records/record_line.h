// One record as text: the category, the file line of Quorvin.dat and the memory line the game
// keeps, with the rules that build them and read them back.
//
// Record texts are Windows-1252 bytes, in the file and in memory alike: every column of the
// layout is one byte, so the column arithmetic holds byte for byte, and a line loaded and written
// back is the same bytes whatever it holds. Only what reaches the player (displayLine(), the
// listing) is converted to UTF-8, and what comes from the player (a name) is converted here.
//
// File text (between the quotes), 0-based offsets:
//   0-3 time in tenths, right-aligned   4-5 blanks   6-15 date yyyy/mm/dd   16 blank
//   17-26 name, 10 bytes                27 blank     28.. category text
// Memory line: the file text with a '.' inserted after its third byte, so the time reads in
// seconds with one decimal ("  9.5", " 12.3", "123.0", and "   .4" for 0.4 s); every later
// offset moves one to the right (category text from offset 29).
#pragma once

#include "model/category.h"

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace quorvin {

inline constexpr std::size_t kFileCategoryOffset = 28;
inline constexpr std::size_t kMemoryCategoryOffset = 29;
inline constexpr std::size_t kNameWidth = 10;
inline constexpr std::size_t kDateWidth = 10;
inline constexpr std::size_t kFileDateOffset = 6;
inline constexpr std::size_t kFileNameOffset = 17;

// The category text, e.g. "3  10x10  Ekis": UTF-8 for the windows, Windows-1252 for lines.
std::string categoryText(int index);
std::string_view categoryBytes(int index);
// The index of a Windows-1252 category text, which must match exactly; -1 for any other text.
int findCategory(std::string_view bytes);

struct RecordDate {
    int year = 2000;
    int month = 1;
    int day = 1;
};
RecordDate localDate(std::time_t when);

// The player's name as the record carries it, 10 Windows-1252 bytes: a double quote, which would
// end the quoted field, becomes ' ; a line break or other control character becomes a blank; a
// character Windows-1252 cannot hold becomes '?'; then it is cut or padded with blanks to 10.
// The window passes composed (NFC) text, so a letter and its accent count as one character.
std::string storedName(std::string_view utf8Name);

// The file text of a new record (Windows-1252). Empty when the category index is invalid. A
// time past the clock's limit (a late tick can leave the clock at 1000 s or more, which the four
// bytes of the field cannot hold) is stored as the limit, 9990.
std::string recordText(int tenths, const RecordDate& date, std::string_view utf8Name, int category);

std::string memoryLineFromFileText(std::string_view fileText);
std::string fileTextFromMemoryLine(std::string_view memoryLine);
// The quoted line with its CR LF, as written to the file.
std::string fileLine(std::string_view fileText);

// The record's field in one line of the file (without its line end): blanks before it are
// passed over; a field opening with a double quote runs to the next one, quotes dropped; any
// other field runs to the next comma or the line end, blanks around it dropped. Anything after
// the field is ignored. Nothing when the closing quote is missing (a line cut short).
std::optional<std::string_view> readField(std::string_view line);

// What the rules read from a record text that follows the layout.
struct RecordFacts {
    int category = 0;
    int tenths = 0;
};
// A text follows the layout when its time field is blanks then the tenths without leading
// zeros (as every copy of the game wrote it, so text order and time order agree), the blanks
// between the fields are in their places and its category text is one of the 297. The date and the
// name are not checked but for a double quote or a line break, which the quoted line could not
// carry back: they only order records of equal times, and a record with a hand-edited date is
// still a record.
std::optional<RecordFacts> examineFileText(std::string_view fileText);
std::optional<RecordFacts> examineMemoryLine(std::string_view memoryLine);

} // namespace quorvin
