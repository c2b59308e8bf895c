// The data files at the edge, on real files: reads, atomic rewrites, appends and what they leave
// in the folder. Writers killed at random moments and refused writes are the fault tests'.
#include <gtest/gtest.h>

#include <optional>
#include <tuple>

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
        EXPECT_TRUE(joined.size() == bytes.size() || block.back() == '\n'); // whole lines
    };
    EXPECT_EQ(readFileInLines(path, take), FileStatus::Ok);
    EXPECT_EQ(joined, bytes);
    EXPECT_GT(blocks, 2);
}

// Nothing but the file stays in its folder: not the temporary of a writer killed earlier (the
// next rewrite, or the next start, removes it), not the lock, not an earlier build's lock file.
TEST(WriteFile, AtomicRewritesLeaveTheFileAloneAndAppendsStartALineOfTheirOwn) {
    TempDir dir;
    const std::string path = dir.file("data");
    spit(path + ".tmp", "half a file");
    EXPECT_EQ(writeFileAtomically(path, "first\r\n"), FileStatus::Ok);
    EXPECT_EQ(writeFileAtomically(path, "2"), FileStatus::Ok);
    EXPECT_EQ(updateFileAtomically(path, [] { return std::optional<std::string>(); }),
              FileStatus::Failed); // the change gave up
    EXPECT_EQ(slurp(path), "2");
    EXPECT_EQ(dir.names(), std::vector<std::string>{"data"});
    spit(path + ".tmp", "half a file");
    spit(path + ".lock", "");
    removeLeftovers(path);
    EXPECT_EQ(dir.names(), std::vector<std::string>{"data"});
    EXPECT_EQ(writeFileAtomically(dir.file("no-folder/data"), "x"), FileStatus::Failed);
    EXPECT_EQ(appendToFile(dir.file("no-folder/data"), "x"), FileStatus::Failed);

    const std::tuple<std::optional<std::string>, std::string, std::string> appends[] = {
        {std::nullopt, "a\r\n", "a\r\n"}, // created
        {"x\r\n", "a\r\n", "x\r\na\r\n"},
        {"cut", "a\r\n", "cut\r\na\r\n"}, // a line cut short is ended first
        {"cut\r", "a\r\n", "cut\r\r\na\r\n"},
        {"", "a\r\n", "a\r\n"},
        {"x\n", "a", "x\na"},   // a bare LF ends a line too
        {"cut", "", "cut"},     // nothing to add leaves a cut line alone
        {std::nullopt, "", ""}, // and only creates a missing file
    };
    for (const auto& [before, appended, after] : appends) {
        std::filesystem::remove(path);
        if (before) spit(path, *before);
        EXPECT_EQ(appendToFile(path, appended), FileStatus::Ok);
        EXPECT_TRUE(std::filesystem::exists(path));
        EXPECT_EQ(slurp(path), after) << before.value_or("(missing)") << " + " << appended;
    }
}

} // namespace
} // namespace quorvin
