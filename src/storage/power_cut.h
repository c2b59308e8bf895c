// What a power cut would leave of a data folder. The writers (text_file.cpp) make every call that
// opens or changes a file through the functions of `recorded`; while a PowerCutRecorder runs it
// sees each of them, and keeps what each fsync made durable, so a test can cut the power after
// any call and load what the disk would hold.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quorvin {

// The POSIX calls of the same names; the recorder at work, if any, sees those that succeed.
namespace recorded {
int open(const std::string& path, int flags, mode_t mode);
ssize_t write(int fd, const void* data, std::size_t size);
int ftruncate(int fd, off_t size);
int fsync(int fd);
int rename(const std::string& from, const std::string& to);
int unlink(const std::string& path);
int close(int fd);
} // namespace recorded

// Records the calls made in one folder while it lives (one recorder at a time, one thread). The
// disk keeps only what fsync made durable: a file's bytes as they were at its last fsync (none
// before it), the folder's names as they were at the folder's last fsync. What the folder held
// when recording began counts as durable.
class PowerCutRecorder {
  public:
    explicit PowerCutRecorder(std::string folder);
    ~PowerCutRecorder();
    PowerCutRecorder(const PowerCutRecorder&) = delete;
    PowerCutRecorder& operator=(const PowerCutRecorder&) = delete;

    // The calls made in the folder so far: opens, writes, truncations, syncs, renames, unlinks,
    // closes.
    std::size_t calls() const { return m_steps.size(); }
    // The folder's files, by name, as the disk holds them after a power cut that followed the
    // first `calls` calls.
    std::map<std::string, std::string> afterCut(std::size_t calls) const;

    // What the calls tell it.
    void opened(int fd, const std::string& path);
    void changed(int fd); // a write or a truncation: nothing durable until the next fsync
    void synced(int fd);
    void renamed(const std::string& from, const std::string& to);
    void unlinked(const std::string& path);
    void closed(int fd);

  private:
    using Names = std::map<std::string, int>; // a name in the folder, and the file it names
    // One call, and what it made durable: the folder's names, or a file's bytes.
    struct Step {
        std::optional<Names> names;
        int file = -1;
        std::string bytes;
    };
    // The name of a path in the folder ("" for the folder itself), or none for a path elsewhere.
    std::optional<std::string> nameOf(const std::string& path) const;

    std::string m_folder;
    Names m_names;                             // the folder as it is now
    Names m_durableNames;                      // as it was when recording began
    std::map<int, std::string> m_durableBytes; // the files' bytes then
    std::map<int, int> m_descriptors;          // open descriptors and their files
    int m_files = 0;
    std::vector<Step> m_steps;
};

} // namespace quorvin
