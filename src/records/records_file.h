// The records file Quorvin.dat: loading it into the records list, appending a record, and the
// trim's rewrite, each taking the file's lock so that two copies of the game lose no record.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "records/records_list.h"
#include "storage/text_file.h"

namespace quorvin {

inline constexpr std::string_view kRecordsFileName = "Quorvin.dat";
// The records of games dealt as boards that deduction alone solves: easier games, ranked apart,
// in a file of the same format and rules beside the other.
inline constexpr std::string_view kNoGuessRecordsFileName = "QuorvinSinAdivinar.dat";

// Adds the records of a file's bytes to the list, in file order, and returns how many lines
// were skipped: lines without the layout, without a known category, or cut short by a crash.
// Lines may end with CR LF (as the game writes them), LF or CR; empty lines are passed over.
// With `unreadable`, each skipped line is appended to it as it stands, then CR LF.
std::size_t parseRecords(std::string_view bytes, RecordsList& records,
                         std::string* unreadable = nullptr);
// The file's bytes for the lines of a list, in list order: one quoted line each, CR LF.
std::string recordsFileBytes(const RecordsList& records);

// The trim of a file: the best `keep` records of every category (bestOfEachCategory), then the
// file's lines that are no record, byte for byte and in their order (the `unreadable` text of
// parseRecords). The trim deletes records only: a line it cannot read may be a record of a
// newer copy of the game, or one the player can still mend by hand.
struct Trimmed {
    RecordsList kept;
    std::string bytes; // the new file
    std::size_t deleted = 0;
};
Trimmed trimmedFile(const RecordsList& all, std::string_view unreadable, int keep);

// The records file and the records list loaded from it (the game window's List1).
class RecordsFile {
  public:
    explicit RecordsFile(std::string path) : m_path(std::move(path)) {}

    const std::string& path() const { return m_path; }
    const RecordsList& records() const { return m_records; }
    // Damaged lines passed over by the last load; they stay in the file untouched.
    std::size_t skippedLines() const { return m_skipped; }
    // Records in the list that the file has not taken yet (the file was busy or failed).
    bool hasUnsavedRecords() const { return !m_unsaved.empty(); }
    std::size_t unsavedCount() const { return m_unsaved.size(); }

    // LoadRecords: the list becomes the file's records. A missing file is created empty, unless
    // `createMissing` is false (a set of records the player may never use: its file comes with
    // its first record); Failed means the file could not be read (the list is then empty) or
    // created. What a writer killed earlier left beside the file goes first.
    FileStatus load(bool createMissing = true);

    // Appends one record (a file text from recordText()). The record joins the list whatever
    // the file answers, so the player sees it; one the file did not take is written again
    // before the next record, or by the next trim. Failed also for a text without the layout,
    // which is then not added.
    FileStatus append(std::string_view fileText);
    // Writes the records the file has not taken yet, in one append, in the order they were
    // made; Ok at once when none waits. A failure leaves them waiting and the file as it was.
    FileStatus saveUnsaved();

    struct TrimResult {
        FileStatus status = FileStatus::Ok;
        std::size_t deleted = 0;
    };
    // Keeps the best `keep` records of every category, in the file and in the list. The file
    // is read again under its lock and the trim made from it (plus the unsaved records): a
    // record another copy appended since this one loaded is trimmed with the rest, not lost.
    // The damaged lines stay, after the records. When the file cannot be replaced, nothing
    // changes.
    TrimResult trim(int keep);

  private:
    std::string m_path;
    RecordsList m_records;
    std::vector<std::uint32_t> m_unsaved;
    std::size_t m_skipped = 0;
};

} // namespace quorvin
