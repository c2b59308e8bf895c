// Whole-file reads, atomic rewrites, appends and the writers' lock, on real files.
#include <gtest/gtest.h>

#include <optional>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include "storage/temp_dir.h"
#include "storage/text_file.h"

namespace quorvin {
namespace {

using testing::slurp;
using testing::spit;
using testing::TempDir;

TEST(ReadWholeFile, ReadsEveryByteOrSaysWhyNot) {
    TempDir dir;
    EXPECT_EQ(readWholeFile(dir.file("none")).status, FileStatus::Missing);
    EXPECT_EQ(readWholeFile(dir.path()).status, FileStatus::Failed); // a folder

    std::string bytes(200'001, 'x'); // more than any one read
    bytes[7] = '\0';
    bytes[100] = '\r';
    bytes[200'000] = '\xE9';
    spit(dir.file("data"), bytes);
    const FileRead read = readWholeFile(dir.file("data"));
    EXPECT_EQ(read.status, FileStatus::Ok);
    EXPECT_EQ(read.bytes, bytes);

    spit(dir.file("empty"), "");
    EXPECT_EQ(readWholeFile(dir.file("empty")).status, FileStatus::Ok);
}

TEST(WriteFileAtomically, ReplacesTheFileAndLeavesNoTemporary) {
    TempDir dir;
    const std::string path = dir.file("data");
    EXPECT_EQ(writeFileAtomically(path, "first\r\n"), FileStatus::Ok);
    EXPECT_EQ(slurp(path), "first\r\n");
    EXPECT_EQ(writeFileAtomically(path, "2"), FileStatus::Ok);
    EXPECT_EQ(slurp(path), "2");
    EXPECT_EQ(writeFileAtomically(path, ""), FileStatus::Ok);
    EXPECT_EQ(slurp(path), "");

    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"data", "data.lock"}));

    EXPECT_EQ(writeFileAtomically(dir.file("no-folder/data"), "x"), FileStatus::Failed);
}

TEST(UpdateFileAtomically, ChangesTheCurrentBytes) {
    TempDir dir;
    const std::string path = dir.file("data");
    std::optional<std::string> seen;
    const auto twice = [&](std::string_view old) {
        seen = std::string(old);
        return std::string(old) + std::string(old) + "!";
    };
    EXPECT_EQ(updateFileAtomically(path, twice), FileStatus::Ok);
    EXPECT_EQ(seen, ""); // a missing file reads as empty
    EXPECT_EQ(updateFileAtomically(path, twice), FileStatus::Ok);
    EXPECT_EQ(seen, "!");
    EXPECT_EQ(slurp(path), "!!!");
}

TEST(AppendToFile, StartsTheNewBytesOnALineOfTheirOwn) {
    struct Case {
        const char* name;
        std::optional<std::string> before; // nothing: the file is missing
        std::string appended;
        std::string after;
    };
    const Case cases[] = {
        {"missing file is created", std::nullopt, "a\r\n", "a\r\n"},
        {"whole lines", "x\r\n", "a\r\n", "x\r\na\r\n"},
        {"a line cut short is ended first", "cut", "a\r\n", "cut\r\na\r\n"},
        {"cut after its CR", "cut\r", "a\r\n", "cut\r\r\na\r\n"},
        {"an empty file", "", "a\r\n", "a\r\n"},
        {"a bare LF ends a line too", "x\n", "a", "x\na"},
        {"nothing to add leaves a cut line alone", "cut", "", "cut"},
        {"nothing to add creates the file", std::nullopt, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string path = dir.file("data");
        if (c.before) spit(path, *c.before);
        EXPECT_EQ(appendToFile(path, c.appended), FileStatus::Ok);
        EXPECT_TRUE(std::filesystem::exists(path));
        EXPECT_EQ(slurp(path), c.after);
    }
    TempDir dir;
    EXPECT_EQ(appendToFile(dir.file("no-folder/data"), "x"), FileStatus::Failed);
}

// Holds the writers' lock of `path` the way another copy of the game would.
class HeldLock {
public:
    explicit HeldLock(const std::string& path) : m_fd(::open((path + ".lock").c_str(), O_RDWR | O_CREAT, 0666)) {
        EXPECT_EQ(::flock(m_fd, LOCK_EX), 0);
    }
    ~HeldLock() { ::close(m_fd); }

private:
    int m_fd;
};

TEST(WriterLock, AWriterThatFindsTheLockHeldGivesUpAndChangesNothing) {
    TempDir dir;
    const std::string path = dir.file("data");
    spit(path, "old\r\n");
    {
        HeldLock other(path);
        EXPECT_EQ(appendToFile(path, "new\r\n"), FileStatus::Busy);
        EXPECT_EQ(writeFileAtomically(path, "new\r\n"), FileStatus::Busy);
        EXPECT_EQ(slurp(path), "old\r\n");
    }
    EXPECT_EQ(appendToFile(path, "new\r\n"), FileStatus::Ok);
    EXPECT_EQ(slurp(path), "old\r\nnew\r\n");
}

TEST(WriterLock, AWriterWaitsForALockHeldBriefly) {
    TempDir dir;
    const std::string path = dir.file("data");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const int fd = ::open((path + ".lock").c_str(), O_RDWR | O_CREAT, 0666);
        ::flock(fd, LOCK_EX);
        (void)!::write(ready[1], "x", 1);
        ::usleep(300'000);
        ::_exit(0); // the kernel releases the lock
    }
    char byte;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    EXPECT_EQ(appendToFile(path, "after\r\n"), FileStatus::Ok);
    EXPECT_EQ(slurp(path), "after\r\n");
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(ready[0]);
    ::close(ready[1]);
}

} // namespace
} // namespace quorvin
