// The data files at the edge: whole-file reads, atomic rewrites, durable appends.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quorvin {

enum class FileStatus {
    Ok,
    Missing, // the file does not exist (reads only)
    // The file or its folder cannot be read or written, or the name is not a regular file's (a
    // FIFO, a device, a folder: refused at once, never waited on or written into). Nothing was
    // changed.
    Failed,
    Busy, // another copy of the game holds the lock for longer than we wait
};

struct FileRead {
    FileStatus status = FileStatus::Ok;
    std::string bytes;
};

FileRead readWholeFile(const std::string& path);

// Reads the file in blocks that each end at a line feed (the last one at the end of the file)
// and hands them to `take` in order, so a large file is read without a buffer of its size.
FileStatus readFileInLines(const std::string& path,
                           const std::function<void(std::string_view)>& take);

// The file's size in bytes, or -1 when it cannot be told (missing, unreadable).
long long fileSize(const std::string& path);

// Asks the system to back a large buffer that is about to be filled with huge pages: filling a
// buffer of tens of megabytes then takes a few page faults instead of thousands. A hint only.
void adviseLargeBuffer(void* data, std::size_t bytes);

// Replaces the file in one step: a temporary file in the same folder, flushed and synced,
// renamed over the old one, then the folder synced. A crash leaves the old file or the new one.
FileStatus writeFileAtomically(const std::string& path, std::string_view bytes);

// The same replacement, with the new bytes made by `change` while the lock is held: `change`
// reads the file as it is (readWholeFile, readFileInLines; reads take no lock) and returns its
// new bytes, or nothing to give up (Failed, the file untouched). No append of another copy can
// fall between that read and the rename.
FileStatus updateFileAtomically(const std::string& path,
                                const std::function<std::optional<std::string>()>& change);

// Removes what writers of the file may have left beside it: the temporary of a copy of the game
// killed in the middle of a rewrite, the lock file of an earlier build. Does nothing while
// another copy is writing (it removes the temporary itself). Start-up calls it for each file.
void removeLeftovers(const std::string& path);

// Appends the bytes (creating the file when absent), synced before returning. When the file
// does not end with a line break (a line cut short by a crash), one is written first so the
// appended bytes start a line of their own. A failed append leaves the file as it was.
// Empty bytes only create the file when it is missing.
FileStatus appendToFile(const std::string& path, std::string_view bytes);

} // namespace quorvin
