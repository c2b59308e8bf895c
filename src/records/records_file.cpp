// Loading, appending to and rewriting the records file.
#include "records/records_file.h"

#include <algorithm>
#include <cstring>

#include "storage/windows1252.h"

namespace quorvin {

namespace {

// The shortest line of the layout: quotes, 28 bytes of fields, a category text of 14 and a LF.
constexpr std::size_t kShortestLine = 45;

bool takeField(std::string_view line, RecordsList& records) {
    const auto field = readField(line);
    return field && records.addFileText(*field);
}

// One line: its record, read as Windows-1252 bytes first. A text editor may have saved the file
// as UTF-8 (with a byte-order mark at its start), which shifts the columns after every accented
// letter; such a line is read again converted to Windows-1252, when it is valid UTF-8 and every
// one of its characters has a Windows-1252 byte, so nothing is lost by the conversion. The record
// then lives in Windows-1252 like any other, and the next rewrite of the file (the trim) writes
// it back in Windows-1252. False for a damaged line.
bool takeLine(std::string_view line, RecordsList& records) {
    if (takeField(line, records)) return true;
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    const bool marked = line.starts_with(kByteOrderMark);
    if (marked) line.remove_prefix(kByteOrderMark.size());
    const bool plainAscii =
        std::all_of(line.begin(), line.end(), [](char c) { return (c & 0x80) == 0; });
    if (plainAscii && !marked) return false; // the conversion would change nothing
    const auto converted = exactWindows1252(line);
    return converted && takeField(*converted, records);
}

std::string_view upTo(std::string_view bytes, std::size_t from, char stop) {
    const void* hit = std::memchr(bytes.data() + from, stop, bytes.size() - from);
    const std::size_t end =
        hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - bytes.data()) : bytes.size();
    return bytes.substr(from, end - from);
}

// Reads the records of a file into an empty list, a block at a time.
FileStatus readRecords(const std::string& path, RecordsList& records, std::size_t& skipped,
                       std::string* unreadable = nullptr) {
    // Room for every line at once, so the list is not copied as it grows.
    if (const long long size = fileSize(path); size > 0)
        records.reserve(static_cast<std::size_t>(size) / kShortestLine + 1);
    const FileStatus status = readFileInLines(
        path, [&](std::string_view lines) { skipped += parseRecords(lines, records, unreadable); });
    records.updateIndex();
    return status;
}

} // namespace

std::size_t parseRecords(std::string_view bytes, RecordsList& records, std::string* unreadable) {
    records.reserve(records.size() + bytes.size() / kShortestLine + 1);
    std::size_t skipped = 0;
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::string_view line = upTo(bytes, pos, '\n');
        pos += line.size() + 1;
        // Split on CR as well: the CR of CR LF leaves an empty piece, a lone CR ends a line.
        for (std::size_t at = 0; at < line.size();) {
            const std::string_view piece = upTo(line, at, '\r');
            at += piece.size() + 1;
            if (piece.empty() || takeLine(piece, records)) continue;
            ++skipped;
            if (unreadable) unreadable->append(piece).append("\r\n");
        }
    }
    return skipped;
}

std::string recordsFileBytes(const RecordsList& records) {
    std::string bytes;
    bytes.reserve(records.size() * 56);
    for (std::size_t i = 0; i < records.size(); ++i) {
        bytes += '"';
        bytes += records.fileText(i);
        bytes += "\"\r\n";
    }
    return bytes;
}

Trimmed trimmedFile(const RecordsList& all, std::string_view unreadable, int keep) {
    Trimmed trimmed;
    const auto best = bestOfEachCategory(all, keep);
    trimmed.kept.reserve(best.size());
    for (const std::uint32_t i : best)
        trimmed.kept.addFileText(all.fileText(i));
    trimmed.deleted = all.size() - trimmed.kept.size();
    trimmed.bytes = recordsFileBytes(trimmed.kept);
    trimmed.bytes += unreadable;
    return trimmed;
}

FileStatus RecordsFile::load(bool createMissing) {
    removeLeftovers(m_path);
    m_records.clear();
    m_unsaved.clear();
    m_skipped = 0;
    // Damaged lines are only passed over: the file is not rewritten for them.
    const FileStatus status = readRecords(m_path, m_records, m_skipped);
    if (status == FileStatus::Missing)
        return createMissing ? appendToFile(m_path, {}) : FileStatus::Ok;
    if (status != FileStatus::Ok) {
        m_records.clear();
        m_skipped = 0;
    }
    return status;
}

FileStatus RecordsFile::append(std::string_view fileText) {
    if (!m_records.addFileText(fileText)) return FileStatus::Failed;
    m_unsaved.push_back(static_cast<std::uint32_t>(m_records.size() - 1));
    return saveUnsaved();
}

FileStatus RecordsFile::saveUnsaved() {
    if (m_unsaved.empty()) return FileStatus::Ok;
    std::string bytes;
    for (const std::uint32_t i : m_unsaved)
        bytes += fileLine(m_records.fileText(i));
    const FileStatus status = appendToFile(m_path, bytes);
    if (status == FileStatus::Ok) m_unsaved.clear();
    return status;
}

RecordsFile::TrimResult RecordsFile::trim(int keep) {
    Trimmed trimmed;
    std::size_t damaged = 0;
    const FileStatus status = updateFileAtomically(m_path, [&]() -> std::optional<std::string> {
        RecordsList all;
        std::string unreadable;
        if (readRecords(m_path, all, damaged, &unreadable) == FileStatus::Failed)
            return std::nullopt;
        for (const std::uint32_t i : m_unsaved)
            all.addFileText(m_records.fileText(i));
        trimmed = trimmedFile(all, unreadable, keep);
        return std::move(trimmed.bytes);
    });
    if (status != FileStatus::Ok) return {status, 0};
    m_records = std::move(trimmed.kept);
    m_unsaved.clear();
    m_skipped = damaged;
    return {status, trimmed.deleted};
}

} // namespace quorvin
