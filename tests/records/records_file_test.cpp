// The records file on disk: loading, appending, the trim's rewrite, damaged input and two
// copies of the game writing at once.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include "records/records_file.h"
#include "storage/temp_dir.h"

namespace quorvin {
namespace {

using namespace std::string_literals;
using testing::slurp;
using testing::spit;
using testing::TempDir;

// Lines as an older copy of the game wrote them: Windows-1252, quoted, CR LF, grouped by
// category in walking order and ranked within each.
const std::string kOlderFile = "\"  95  2023/11/02 Ana        2  7x7    Vac\xEDo\"\r\n"
                               "\" 123  2024/03/07 \xCD\xF1igo      2  7x7    Vac\xEDo\"\r\n"
                               "\"   4  2024/03/08 Bartolomeu 3  10x10  Ekis\"\r\n"
                               "\"9990  2024/03/09 jugador    3  10x10  Ekis\"\r\n"
                               "\"1230  2024/03/10 An\xF3nimo    4  15x15  50-por-ciento\"\r\n";

const int kEkis = categoryIndex({3, 10, 6});
const int kVacio = categoryIndex({2, 7, 8});

std::vector<std::string> displayLines(const RecordsList& records) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < records.size(); ++i)
        lines.push_back(records.displayLine(i));
    return lines;
}

class RecordsFileTest : public ::testing::Test {
  protected:
    TempDir dir;
    const std::string path = dir.file("Quorvin.dat");
};

TEST_F(RecordsFileTest, AFileOfAnOlderCopyLoadsAndIsWrittenBackByteForByte) {
    spit(path, kOlderFile);
    RecordsFile file(path);
    ASSERT_EQ(file.load(), FileStatus::Ok);
    EXPECT_EQ(file.skippedLines(), 0u);
    EXPECT_EQ(displayLines(file.records()),
              (std::vector<std::string>{"  9.5  2023/11/02 Ana        2  7x7    Vacío",
                                        " 12.3  2024/03/07 Íñigo      2  7x7    Vacío",
                                        "   .4  2024/03/08 Bartolomeu 3  10x10  Ekis",
                                        "999.0  2024/03/09 jugador    3  10x10  Ekis",
                                        "123.0  2024/03/10 Anónimo    4  15x15  50-por-ciento"}));
    EXPECT_EQ(categoryTimes(file.records(), kEkis),
              (std::vector<std::string>{"000.4", "999", "999.0"}));
    const auto trimmed = file.trim(20); // nothing to delete: the same lines, the same order
    EXPECT_EQ(trimmed.status, FileStatus::Ok);
    EXPECT_EQ(trimmed.deleted, 0u);
    EXPECT_EQ(slurp(path), kOlderFile);
    EXPECT_EQ(recordsFileBytes(file.records()), kOlderFile);
}

TEST_F(RecordsFileTest, AMissingFileIsCreatedEmpty) {
    RecordsFile file(path);
    EXPECT_EQ(file.load(), FileStatus::Ok);
    EXPECT_TRUE(file.records().empty());
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(slurp(path), "");
    EXPECT_EQ(categoryTimes(file.records(), 0), std::vector<std::string>{"999"});
}

TEST_F(RecordsFileTest, DamagedLinesAreSkippedAndNeverCostARecord) {
    const std::string damaged =
        "\"  95  2023/11/02 Ana        2  7x7    Vac\xEDo\"\r\n"
        "hola\r\n"
        "\r\n"                                                    // empty: not counted
        "\" 123  2024/03/07 Eva        3  10x10  Ekis\"\n"        // LF alone
        "\" 124  2024/03/07 Eva        3  10x10  Ekis\"\r"        // CR alone
        "\" 125  2024/03/07 Eva        9  10x10  Ekis\"\r\n"      // unknown category
        "\" 126  2024/03/07 Eva        3  10x10  Ekis \"\r\n"     // a blank too many
        "   \r\n\"\"\r\n\xFF\xFE\x00\x81\r\n"                     // blanks, empty field, rubbish
        " 127  2024/03/07 Eva        3  10x10  Ekis\r\n"          // no quotes: outer blank lost
        "1280  2024/03/07 Eva        3  10x10  Ekis,\"more\"\r\n" // no quotes: up to the comma
        "\" 129  2024/03/07 Eva        3  10x10  Ekis\"\r\n"
        "\" 130  2024/03/07 Eva        3  10x"s; // cut short by a crash
    spit(path, damaged);
    RecordsFile file(path);
    ASSERT_EQ(file.load(), FileStatus::Ok);
    std::vector<int> tenths;
    for (std::size_t i = 0; i < file.records().size(); ++i)
        tenths.push_back(file.records().tenths(i));
    EXPECT_EQ(tenths, (std::vector<int>{95, 123, 124, 1280, 129}));
    EXPECT_EQ(file.skippedLines(), 8u);
    EXPECT_EQ(slurp(path), damaged) << "loading must not rewrite the file";

    // The next record starts a line of its own after the cut one, and the file still loads.
    ASSERT_EQ(file.append(recordText(131, {2024, 3, 8}, "Fede", kEkis)), FileStatus::Ok);
    EXPECT_EQ(slurp(path), damaged + "\r\n\" 131  2024/03/08 Fede       3  10x10  Ekis\"\r\n");
    RecordsFile again(path);
    ASSERT_EQ(again.load(), FileStatus::Ok);
    EXPECT_EQ(displayLines(again.records()), displayLines(file.records()));
}

TEST_F(RecordsFileTest, ALargeFileIsReadWholeAcrossBlocks) {
    std::string bytes;
    for (int i = 0; i < 30'000; ++i) // about 1.5 MB
        bytes += fileLine(recordText(i % 9991, {2024, 1, 1 + i % 28}, "Íñigo", i % kCategoryCount));
    spit(path, bytes);
    RecordsFile file(path);
    ASSERT_EQ(file.load(), FileStatus::Ok);
    EXPECT_EQ(file.skippedLines(), 0u);
    EXPECT_EQ(recordsFileBytes(file.records()), bytes);
}

TEST_F(RecordsFileTest, NamesOfTenAndElevenCharacters) {
    RecordsFile file(path);
    ASSERT_EQ(file.load(), FileStatus::Ok);
    ASSERT_EQ(file.append(recordText(95, {2025, 1, 5}, "Maximiliano", kVacio)), FileStatus::Ok);
    ASSERT_EQ(file.append(recordText(96, {2025, 1, 5}, "Maximilian", kVacio)), FileStatus::Ok);
    ASSERT_EQ(file.append(recordText(97, {2025, 1, 5}, "Íñigo \"el\"", kVacio)), FileStatus::Ok);
    EXPECT_EQ(slurp(path), "\"  95  2025/01/05 Maximilian 2  7x7    Vac\xEDo\"\r\n"
                           "\"  96  2025/01/05 Maximilian 2  7x7    Vac\xEDo\"\r\n"
                           "\"  97  2025/01/05 \xCD\xF1igo 'el' 2  7x7    Vac\xEDo\"\r\n");
    RecordsFile again(path);
    ASSERT_EQ(again.load(), FileStatus::Ok);
    EXPECT_EQ(displayLines(again.records()), displayLines(file.records()));
}

TEST_F(RecordsFileTest, ARecordTheBusyFileRefusedIsWrittenWithTheNext) {
    RecordsFile file(path);
    ASSERT_EQ(file.load(), FileStatus::Ok);
    const int other = ::open((path + ".lock").c_str(), O_RDWR | O_CREAT, 0666);
    ASSERT_EQ(::flock(other, LOCK_EX), 0);
    EXPECT_EQ(file.append(recordText(50, {2024, 1, 1}, "first", kEkis)), FileStatus::Busy);
    ::close(other);
    EXPECT_EQ(file.records().size(), 1u); // the player still sees it
    EXPECT_TRUE(file.hasUnsavedRecords());
    EXPECT_EQ(slurp(path), "");
    EXPECT_EQ(file.append(recordText(60, {2024, 1, 1}, "second", kEkis)), FileStatus::Ok);
    EXPECT_FALSE(file.hasUnsavedRecords());
    RecordsFile again(path);
    ASSERT_EQ(again.load(), FileStatus::Ok);
    EXPECT_EQ(displayLines(again.records()), displayLines(file.records()));
    EXPECT_EQ(file.append("not a record"), FileStatus::Failed);
    EXPECT_EQ(file.records().size(), 2u);
}

TEST_F(RecordsFileTest, TrimKeepsTheFiveBestOfSevenAndRegroups) {
    RecordsFile file(path);
    ASSERT_EQ(file.load(), FileStatus::Ok);
    for (int t : {700, 200, 600, 100, 500, 400, 300})
        ASSERT_EQ(file.append(recordText(t, {2024, 1, 1}, "e", kEkis)), FileStatus::Ok);
    ASSERT_EQ(file.append(recordText(999, {2024, 1, 1}, "v", kVacio)), FileStatus::Ok);
    const auto trimmed = file.trim(keptPerCategory(0));
    EXPECT_EQ(trimmed.status, FileStatus::Ok);
    EXPECT_EQ(trimmed.deleted, 2u);
    std::string expected = fileLine(recordText(999, {2024, 1, 1}, "v", kVacio)); // walked first
    for (int t : {100, 200, 300, 400, 500})
        expected += fileLine(recordText(t, {2024, 1, 1}, "e", kEkis));
    EXPECT_EQ(slurp(path), expected);
    EXPECT_EQ(recordsFileBytes(file.records()), expected);
}

TEST_F(RecordsFileTest, TrimKeepsARecordAnotherCopyAppended) {
    spit(path, kOlderFile);
    RecordsFile mine(path), other(path);
    ASSERT_EQ(mine.load(), FileStatus::Ok);
    ASSERT_EQ(other.load(), FileStatus::Ok);
    const std::string theirs = recordText(10, {2024, 4, 1}, "Otra", kEkis);
    ASSERT_EQ(other.append(theirs), FileStatus::Ok);
    const auto trimmed = mine.trim(5);
    ASSERT_EQ(trimmed.status, FileStatus::Ok);
    EXPECT_EQ(mine.records().size(), 6u);
    EXPECT_NE(slurp(path).find(fileLine(theirs)), std::string::npos);

    std::filesystem::remove_all(dir.path()); // a trim that cannot write changes nothing
    EXPECT_EQ(mine.trim(5).status, FileStatus::Failed);
    EXPECT_EQ(mine.records().size(), 6u);
}

TEST_F(RecordsFileTest, TwoCopiesAppendingAtOnceLoseNoRecord) {
    constexpr int kEach = 500;
    int go[2];
    ASSERT_EQ(::pipe(go), 0);
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = ::fork();
        ASSERT_GE(children[c], 0);
        if (children[c] == 0) {
            char start;
            (void)!::read(go[0], &start, 1);
            RecordsFile file(path);
            file.load();
            int failures = 0;
            for (int i = 0; i < kEach; ++i)
                failures += file.append(recordText(i, {2024, 1, 1}, "copia", c)) != FileStatus::Ok;
            ::_exit(failures == 0 ? 0 : 1);
        }
    }
    ASSERT_EQ(::write(go[1], "gg", 2), 2); // both start together
    for (const pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    ::close(go[0]);
    ::close(go[1]);
    RecordsFile file(path);
    ASSERT_EQ(file.load(), FileStatus::Ok);
    EXPECT_EQ(file.skippedLines(), 0u);
    for (int c = 0; c < 2; ++c) { // each copy's records whole and in its order
        std::vector<int> times;
        for (const std::uint32_t i : file.records().linesOf(c))
            times.push_back(file.records().tenths(i));
        ASSERT_EQ(times.size(), static_cast<std::size_t>(kEach));
        for (int i = 0; i < kEach; ++i)
            EXPECT_EQ(times[static_cast<std::size_t>(i)], i);
    }
}

} // namespace
} // namespace quorvin
