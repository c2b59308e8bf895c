// Whole-file reads, locked atomic rewrites and appends. Every call that opens or changes a file
// goes through `recorded` (power_cut.h), so the power-cut test sees it.
#include "storage/text_file.h"
#include "storage/power_cut.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvin {

namespace {

constexpr auto kLockWait = std::chrono::milliseconds(2000);
constexpr auto kLockPoll = std::chrono::milliseconds(10);

// Closes the descriptor it holds when it goes out of scope.
class Descriptor {
  public:
    Descriptor() = default;
    explicit Descriptor(int fd) : m_fd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { reset(-1); }
    void reset(int fd) {
        if (m_fd >= 0) recorded::close(m_fd);
        m_fd = fd;
    }
    int get() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }
    // Closes now and reports whether the close succeeded (a late write error shows up here).
    bool close() {
        const int fd = m_fd;
        m_fd = -1;
        return recorded::close(fd) == 0;
    }

  private:
    int m_fd = -1;
};

int openRetrying(const std::string& path, int flags, mode_t mode = 0666) {
    int fd;
    do {
        fd = recorded::open(path, flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// Opens a data file without ever waiting on it: a FIFO, a device or a folder given the name of a
// data file would block the open or the reads (or feed them without end), so the open does not
// block and anything but a regular file is refused. Missing only for a name nothing has.
FileStatus openRegular(const std::string& path, int flags, Descriptor& fd) {
    fd.reset(openRetrying(path, flags | O_NONBLOCK));
    if (!fd.isOpen()) return errno == ENOENT ? FileStatus::Missing : FileStatus::Failed;
    struct stat info {};
    const int status = ::fcntl(fd.get(), F_GETFL);
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) || status < 0 ||
        ::fcntl(fd.get(), F_SETFL, status & ~O_NONBLOCK) != 0) {
        fd.reset(-1);
        return FileStatus::Failed;
    }
    return FileStatus::Ok;
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = recorded::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// Makes a rename or a creation in the folder durable. Some file systems refuse to sync a
// folder; the change has been made by then, so the refusal is not reported as a failure.
void syncFolder(const std::string& path) {
    Descriptor dir(openRetrying(folderOf(path), O_RDONLY | O_DIRECTORY));
    if (dir.isOpen()) recorded::fsync(dir.get());
}

std::string lockFileOf(const std::string& path) {
    return path + ".lock";
}

std::string temporaryOf(const std::string& path) {
    return path + ".tmp";
}

// Writers serialise on an flock of the data folder itself, held through a descriptor of the
// folder. The folder is never renamed or removed by the game, so every copy locks the same inode
// for as long as it writes, and no lock file is left in the folder. The lock cannot follow the
// data file instead: a rewrite renames a new inode over it, and a copy waiting on the old inode
// would then go on writing to a file no longer in the folder. One lock serves both data files of
// a folder; their writes are short. The kernel drops the lock when its holder dies.
// A file system that cannot lock a folder (some network mounts refuse flock on one) gets the
// lock on a file beside the data file, path + ".lock", which must then stay: removing it would
// race with a copy about to lock it.
class WriterLock {
  public:
    // Waits at most `wait` for another copy that holds the lock: Busy when it still does.
    FileStatus acquire(const std::string& path, std::chrono::milliseconds wait = kLockWait) {
        const auto deadline = std::chrono::steady_clock::now() + wait;
        m_fd.reset(openRetrying(folderOf(path), O_RDONLY | O_DIRECTORY));
        int error = tryLock();
        m_onFolder = error == 0 || error == EWOULDBLOCK;
        if (!m_onFolder) {
            m_fd.reset(openRetrying(lockFileOf(path), O_RDWR | O_CREAT));
            error = tryLock();
        }
        for (; error == EWOULDBLOCK; error = tryLock()) {
            if (std::chrono::steady_clock::now() >= deadline) return FileStatus::Busy;
            std::this_thread::sleep_for(kLockPoll);
        }
        return error == 0 ? FileStatus::Ok : FileStatus::Failed;
    }
    bool onFolder() const { return m_onFolder; }

  private:
    // 0 when locked, otherwise the error (EWOULDBLOCK: another copy holds it).
    int tryLock() {
        if (!m_fd.isOpen()) return EBADF;
        while (::flock(m_fd.get(), LOCK_EX | LOCK_NB) != 0)
            if (errno != EINTR) return errno;
        return 0;
    }

    Descriptor m_fd;
    bool m_onFolder = true;
};

// Writes the new bytes beside the file and renames them over it. The caller holds the lock, so
// one fixed temporary name serves: one left by a killed copy is removed first. Only a regular
// file (or none) is replaced; a FIFO or a folder under the data file's name stays as it is.
FileStatus replaceLocked(const std::string& path, std::string_view bytes) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) return FileStatus::Failed;
    const std::string temporary = temporaryOf(path);
    recorded::unlink(temporary);
    Descriptor out(openRetrying(temporary, O_WRONLY | O_CREAT | O_EXCL));
    if (!out.isOpen()) return FileStatus::Failed;
    const bool written = writeAll(out.get(), bytes) && recorded::fsync(out.get()) == 0;
    if (!out.close() || !written || recorded::rename(temporary, path) != 0) {
        recorded::unlink(temporary);
        return FileStatus::Failed;
    }
    syncFolder(path);
    return FileStatus::Ok;
}

} // namespace

void removeLeftovers(const std::string& path) {
    WriterLock lock;
    if (lock.acquire(path, std::chrono::milliseconds(0)) != FileStatus::Ok) return;
    recorded::unlink(temporaryOf(path));
    // Earlier builds locked a file beside the data file and left it there.
    if (lock.onFolder()) recorded::unlink(lockFileOf(path));
}

FileRead readWholeFile(const std::string& path) {
    FileRead result;
    Descriptor in;
    result.status = openRegular(path, O_RDONLY, in);
    if (result.status != FileStatus::Ok) return result;
    struct stat info {};
    const auto expected =
        ::fstat(in.get(), &info) == 0 ? static_cast<std::size_t>(info.st_size) : 0;
    // One byte more than the size, so the end shows without growing; a file that grows while
    // it is read is still read whole.
    result.bytes.resize(std::max<std::size_t>(expected + 1, 4096));
    std::size_t used = 0;
    for (;;) {
        if (used == result.bytes.size()) result.bytes.resize(used * 2);
        const ssize_t n = ::read(in.get(), result.bytes.data() + used, result.bytes.size() - used);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return {FileStatus::Failed, {}};
        if (n == 0) break;
        used += static_cast<std::size_t>(n);
    }
    result.bytes.resize(used);
    return result;
}

FileStatus readFileInLines(const std::string& path,
                           const std::function<void(std::string_view)>& take) {
    Descriptor in;
    if (const FileStatus opened = openRegular(path, O_RDONLY, in); opened != FileStatus::Ok)
        return opened;
    // At most 1 MiB, small enough to stay in the cache between reads; a small file gets a small
    // block, so a fresh start-up does not pay for touching pages it never fills.
    struct stat info {};
    const auto size = ::fstat(in.get(), &info) == 0 ? static_cast<std::size_t>(info.st_size) : 0;
    std::string block(std::clamp<std::size_t>(size + 1, 4096, 1 << 20), '\0');
    std::size_t used = 0;
    for (;;) {
        if (used == block.size()) block.resize(block.size() * 2); // one line longer than a block
        const ssize_t n = ::read(in.get(), block.data() + used, block.size() - used);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return FileStatus::Failed;
        if (n == 0) break;
        const std::size_t filled = used + static_cast<std::size_t>(n);
        const std::size_t feed = std::string_view(block).substr(0, filled).rfind('\n');
        if (feed == std::string_view::npos || feed < used) {
            used = filled;
            continue;
        }
        const std::size_t whole = feed + 1;
        take(std::string_view(block).substr(0, whole));
        std::memmove(block.data(), block.data() + whole, filled - whole);
        used = filled - whole;
    }
    if (used > 0) take(std::string_view(block).substr(0, used));
    return FileStatus::Ok;
}

long long fileSize(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? static_cast<long long>(info.st_size) : -1;
}

void adviseLargeBuffer(void* data, std::size_t bytes) {
#ifdef MADV_HUGEPAGE
    // Only whole huge pages inside the buffer can be advised.
    constexpr std::uintptr_t kHuge = std::uintptr_t{2} << 20;
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (begin + kHuge - 1) & ~(kHuge - 1);
    const std::uintptr_t last = (begin + bytes) & ~(kHuge - 1);
    if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
    (void)data;
    (void)bytes;
#endif
}

FileStatus writeFileAtomically(const std::string& path, std::string_view bytes) {
    WriterLock lock;
    if (const auto status = lock.acquire(path); status != FileStatus::Ok) return status;
    return replaceLocked(path, bytes);
}

FileStatus updateFileAtomically(const std::string& path,
                                const std::function<std::optional<std::string>()>& change) {
    WriterLock lock;
    if (const auto status = lock.acquire(path); status != FileStatus::Ok) return status;
    const std::optional<std::string> bytes = change();
    return bytes ? replaceLocked(path, *bytes) : FileStatus::Failed;
}

FileStatus appendToFile(const std::string& path, std::string_view bytes) {
    WriterLock lock;
    if (const auto status = lock.acquire(path); status != FileStatus::Ok) return status;

    Descriptor out;
    FileStatus opened = openRegular(path, O_RDWR | O_APPEND, out);
    const bool created = opened == FileStatus::Missing;
    if (created) opened = openRegular(path, O_RDWR | O_APPEND | O_CREAT | O_EXCL, out);
    if (opened != FileStatus::Ok) return FileStatus::Failed;

    struct stat info {};
    if (::fstat(out.get(), &info) != 0) return FileStatus::Failed;
    const off_t oldSize = info.st_size;
    std::string block;
    if (!bytes.empty()) {
        char last = '\n';
        if (oldSize > 0 && ::pread(out.get(), &last, 1, oldSize - 1) != 1)
            return FileStatus::Failed;
        if (last != '\n') block = "\r\n"; // the last line was cut short: end it first
        block.append(bytes);
    }
    // One write of the whole block, so a concurrent reader or a crash sees whole lines or none
    // of them in the common case; on any failure the file is cut back to its old length.
    const bool done = writeAll(out.get(), block) && recorded::fsync(out.get()) == 0;
    if (!done) {
        if (recorded::ftruncate(out.get(), oldSize) == 0) recorded::fsync(out.get());
        return FileStatus::Failed;
    }
    if (!out.close()) return FileStatus::Failed;
    if (created) syncFolder(path);
    return FileStatus::Ok;
}

} // namespace quorvin
