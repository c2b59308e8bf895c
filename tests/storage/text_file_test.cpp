// Reads, atomic rewrites, appends and the writers' lock, on real files.
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

TEST(ReadFile, WholeOrInBlocksOfWholeLines) {
    TempDir dir;
    const std::string path = dir.file("data");
    EXPECT_EQ(readWholeFile(path).status, FileStatus::Missing);
    EXPECT_EQ(readFileInLines(path, [](std::string_view) { FAIL(); }), FileStatus::Missing);
    EXPECT_EQ(fileSize(path), -1);
    EXPECT_EQ(readWholeFile(dir.path()).status, FileStatus::Failed); // a folder

    std::string bytes("\0\xE9\r", 3);
    for (int i = 0; i < 60'000; ++i) // about 2 MB: several blocks
        bytes += "line " + std::to_string(i) + (i % 3 ? "\r\n" : "\n");
    bytes += std::string(3 << 20, 'L') + "\r\n"; // one line longer than a block
    bytes += "last line cut short";
    spit(path, bytes);
    EXPECT_EQ(readWholeFile(path).bytes, bytes);
    EXPECT_EQ(fileSize(path), static_cast<long long>(bytes.size()));
    std::string joined;
    int blocks = 0;
    const auto take = [&](std::string_view block) {
        ++blocks;
        joined += block;
        EXPECT_TRUE(joined.size() == bytes.size() || block.back() == '\n');
    };
    EXPECT_EQ(readFileInLines(path, take), FileStatus::Ok);
    EXPECT_EQ(joined, bytes);
    EXPECT_GT(blocks, 2);
}

TEST(WriteFileAtomically, ReplacesTheFileAndLeavesNoTemporary) {
    TempDir dir;
    const std::string path = dir.file("data");
    EXPECT_EQ(writeFileAtomically(path, "first\r\n"), FileStatus::Ok);
    EXPECT_EQ(writeFileAtomically(path, "2"), FileStatus::Ok);
    EXPECT_EQ(slurp(path), "2");
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"data", "data.lock"}));

    EXPECT_EQ(updateFileAtomically(path, [] { return std::optional<std::string>(); }),
              FileStatus::Failed); // the change gave up
    EXPECT_EQ(slurp(path), "2");
    EXPECT_EQ(writeFileAtomically(dir.file("no-folder/data"), "x"), FileStatus::Failed);
}

TEST(AppendToFile, StartsTheNewBytesOnALineOfTheirOwn) {
    struct Case {
        std::optional<std::string> before; // nothing: the file is missing
        std::string appended;
        std::string after;
    };
    const Case cases[] = {
        {std::nullopt, "a\r\n", "a\r\n"}, // created
        {"x\r\n", "a\r\n", "x\r\na\r\n"},
        {"cut", "a\r\n", "cut\r\na\r\n"}, // a line cut short is ended first
        {"cut\r", "a\r\n", "cut\r\r\na\r\n"},
        {"", "a\r\n", "a\r\n"},
        {"x\n", "a", "x\na"},   // a bare LF ends a line too
        {"cut", "", "cut"},     // nothing to add leaves a cut line alone
        {std::nullopt, "", ""}, // and only creates a missing file
    };
    for (const Case& c : cases) {
        TempDir dir;
        const std::string path = dir.file("data");
        if (c.before) spit(path, *c.before);
        EXPECT_EQ(appendToFile(path, c.appended), FileStatus::Ok);
        EXPECT_TRUE(std::filesystem::exists(path));
        EXPECT_EQ(slurp(path), c.after) << c.before.value_or("(missing)") << " + " << c.appended;
    }
    TempDir dir;
    EXPECT_EQ(appendToFile(dir.file("no-folder/data"), "x"), FileStatus::Failed);
}

int lockAsAnotherCopy(const std::string& path) {
    const int fd = ::open((path + ".lock").c_str(), O_RDWR | O_CREAT, 0666);
    EXPECT_EQ(::flock(fd, LOCK_EX), 0);
    return fd;
}

TEST(WriterLock, HeldTooLongItGivesBusyAndChangesNothing) {
    TempDir dir;
    const std::string path = dir.file("data");
    spit(path, "old\r\n");
    const int other = lockAsAnotherCopy(path);
    EXPECT_EQ(appendToFile(path, "new\r\n"), FileStatus::Busy);
    EXPECT_EQ(writeFileAtomically(path, "new\r\n"), FileStatus::Busy);
    EXPECT_EQ(slurp(path), "old\r\n");
    ::close(other);
    EXPECT_EQ(appendToFile(path, "new\r\n"), FileStatus::Ok);
    EXPECT_EQ(slurp(path), "old\r\nnew\r\n");
}

TEST(WriterLock, HeldBrieflyByAnotherProcessItIsWaitedFor) {
    TempDir dir;
    const std::string path = dir.file("data");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        lockAsAnotherCopy(path);
        (void)!::write(ready[1], "x", 1);
        ::usleep(300'000);
        ::_exit(0); // the kernel drops the lock
    }
    char byte;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    EXPECT_EQ(appendToFile(path, "after\r\n"), FileStatus::Ok);
    EXPECT_EQ(slurp(path), "after\r\n");
    ::waitpid(child, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
}

} // namespace
} // namespace quorvin
