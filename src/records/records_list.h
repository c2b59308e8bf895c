// The records in memory (the game window's List1) and what is built from it: the ranking, the
// category times of a new game, the records window's listing and the trim of the records.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "records/record_line.h"

namespace quorvin {

// Every record in memory, in the order of the file and then of the records made during the run.
// A record is kept as its fields, 24 bytes (a million records fit in 24 MB and load without a
// copy of the file): the date and the name as their 10 Windows-1252 bytes, the time in tenths
// and the category's index. The loader accepts only texts that follow the layout, whose time
// field is canonical and whose category text is one of the 297, so the memory line and the file
// text are rebuilt from these fields byte for byte. Beside them, for each category the positions
// of its records, so that what concerns one category never scans the whole list.
class RecordsList {
  public:
    void clear();
    void reserve(std::size_t records);
    // Adds a memory line (Windows-1252); false, and nothing added, when it does not follow the
    // layout.
    bool add(std::string_view memoryLine);
    // Adds the record of a file text (the text between the quotes).
    bool addFileText(std::string_view fileText);

    std::size_t size() const { return m_records.size(); }
    bool empty() const { return m_records.empty(); }
    std::string line(std::size_t i) const;        // the memory line, Windows-1252
    std::string fileText(std::size_t i) const;    // the text between the quotes, Windows-1252
    std::string displayLine(std::size_t i) const; // the memory line, UTF-8
    int category(std::size_t i) const { return m_records[i].category; }
    int tenths(std::size_t i) const { return m_records[i].tenths; }
    // Positions of the records of one category, in list order.
    std::span<const std::uint32_t> linesOf(int category) const;
    // Brings the positions by category up to date. linesOf() does it when needed; a loader
    // calls it so that the first question after a load does not pay for it.
    void updateIndex() const;
    // The ranking order (below) of two records, read from their fields.
    bool ranksBefore(std::size_t a, std::size_t b) const;

  private:
    struct Record {
        std::array<char, kDateWidth> date;
        std::array<char, kNameWidth> name;
        std::uint16_t tenths;
        std::int16_t category;
    };
    void addFields(std::string_view fileText, const RecordFacts& facts);

    std::vector<Record> m_records;
    // Brought up to date when first asked for after records were added: a load then sizes each
    // category's positions once instead of growing 297 vectors a record at a time.
    mutable std::array<std::vector<std::uint32_t>, kCategoryCount> m_byCategory;
    mutable std::size_t m_indexed = 0;
};

// The ranking order of two memory lines: the whole text, ignoring letter case, in the byte order
// of Windows-1252 otherwise (a blank before the digits, so right-aligned times order by value,
// then the date oldest first, then the name). Lines that differ only in case fall back to the
// plain byte order, so the order is total and every sort of the same lines gives one answer.
bool ranksBefore(std::string_view a, std::string_view b);

// The category times of a new game, the times to beat: every time of the category in tenths
// and the clock's limit, best first. A record of exactly 999.0 s equals the limit: which of the
// two comes first changes neither the place nor the time the rank line shows.
std::vector<int> categoryTimes(const RecordsList& records, int category);

// The records window's filters: the texts of cboNivel, cboColores and cboInicio (UTF-8).
inline constexpr std::string_view kAllFilter = "(Todos)";
struct RecordFilters {
    std::string size;
    std::string colours;
    std::string pattern;
    bool operator==(const RecordFilters&) const = default;
};
// Each filter's items, in their order, "(Todos)" last.
std::vector<std::string> sizeFilterItems();
std::vector<std::string> colourFilterItems();
std::vector<std::string> patternFilterItems();
// A filter whose text is not exactly one of its items becomes "(Todos)".
RecordFilters checkedFilters(const RecordFilters& filters);
// "Actual": the filters of one category. "Todos": every filter at "(Todos)".
RecordFilters filtersFor(const Category& settings);
RecordFilters allFilters();

// What the records window shows: the header line (rank 1, or the no-data text) and the lines of
// ranks 2 onward. A listed line is the rank right-aligned in four characters, "º", a blank and
// the memory line (UTF-8). The lines are made when asked for, so a list view shows a million
// records without building a million texts.
inline constexpr std::string_view kNoRecordsText = "        (En esta categoría no hay ningún dato)";
struct RecordsListing {
    std::string header;
    std::vector<std::uint32_t> ranked; // positions in the records list, best first (header too)
    // The lines below the header.
    std::size_t lineCount() const { return ranked.empty() ? 0 : ranked.size() - 1; }
};
// Filters are checked first, so texts the player typed need no preparation.
RecordsListing listRecords(const RecordsList& records, const RecordFilters& filters);
// The listed line of rank `rank` (1 is the header's record), from the list the listing was
// made from. UTF-8.
std::string listedLine(const RecordsList& records, const RecordsListing& listing, std::size_t rank);

// The positions of the given lines in ranking order.
std::vector<std::uint32_t> rankedLines(const RecordsList& records,
                                       std::vector<std::uint32_t> lines);

// The trim "Borrar a partir del...": item i keeps (i + 1) x 5 records per category.
inline constexpr int kTrimItemCount = 4;
inline int keptPerCategory(int itemIndex) {
    return (itemIndex + 1) * 5;
}
std::string trimItemCaption(int itemIndex); // "5º puesto"
// The positions of the lines that stay, in the order of the rewritten file: the categories in
// walking order, the best `keep` of each in ranking order. Only those few are ordered.
std::vector<std::uint32_t> bestOfEachCategory(const RecordsList& records, int keep);

// The trim's texts (UTF-8). The question's line break is '\n', the message boxes' line break.
std::string trimQuestion(int keep);
std::string trimProgress(int categoryNumber); // "Borrando datos. Categoría n de 297."
inline constexpr std::string_view kSavingText = "Guardando datos...";
inline constexpr std::string_view kReadingText = "Leyendo datos...";
std::string trimmedMessage(std::size_t deleted); // "n datos borrados."

} // namespace quorvin
