// The data files at the edge, on real files: reads, atomic rewrites, appends and what they leave
// in the folder, and the Windows-1252 <-> UTF-8 mapping of the text. Writers killed at random
// moments and refused writes are the fault tests'.
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

TEST(Windows1252, EveryAssignedByteRoundTripsAndWhatItCannotHoldIsMarked) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        if (b != 0x81 && b != 0x8D && b != 0x8F && b != 0x90 && b != 0x9D) all += char(b);
    EXPECT_EQ(toWindows1252(fromWindows1252(all)), all);
    EXPECT_EQ(exactWindows1252(fromWindows1252(all)), all);
    EXPECT_EQ(fromWindows1252("\x80\x81\x9F\xE9"), "€\uFFFDŸé"); // not Latin-1's controls
    const std::pair<const char*, const char*> cases[] = {
        {"\xC2\x80\xC2\x9F", "??"},   // the C1 code points are not the bytes 0x80-0x9F
        {"Ā", "?"},                   // U+0100, just past Latin-1
        {"a中b", "a?b"},              // three bytes
        {"😀", "?"},                   // four bytes
        {"\x80x", "?x"},              // a lone continuation byte
        {"\xE2\x82x", "?x"},          // a sequence cut short counts once
        {"\xE2\x82", "?"},            // cut at the end of the text
        {"\xC0\x80", "??"},           // an overlong NUL
        {"\xED\xA0\x80", "???"},      // a surrogate
        {"\xF4\x90\x80\x80", "????"}, // past U+10FFFF
    };
    for (const auto& [utf8, expected] : cases) {
        EXPECT_EQ(toWindows1252(utf8), expected) << utf8;
        EXPECT_FALSE(exactWindows1252(std::string("¿") + utf8)) << utf8;
    }
}

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
