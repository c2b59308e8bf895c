// The records file on disk: loading, appending, the trim's rewrite, damaged input and two
// copies of the game writing at once.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

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

const int kEkis = categoryIndex({3, 10, 6});
const int kVacio = categoryIndex({2, 7, 8});

class RecordsFileTest : public ::testing::Test {
  protected:
    testing::TempDir dir;
    const std::string path = dir.file("Quorvin.dat");
    RecordsFile file{path};
};

TEST_F(RecordsFileTest, AnOlderCopysFileLoadsAndIsWrittenBackByteForByte) {
    // As an older copy of the game wrote it: grouped by category in walking order, ranked.
    const std::string older = "\"  95  2023/11/02 Ana        2  7x7    Vac\xEDo\"\r\n"
                              "\" 123  2024/03/07 \xCD\xF1igo      2  7x7    Vac\xEDo\"\r\n"
                              "\"   4  2024/03/08 Bartolomeu 3  10x10  Ekis\"\r\n"
                              "\"9990  2024/03/09 jugador    3  10x10  Ekis\"\r\n"
                              "\"1230  2024/03/10 An\xF3nimo    4  15x15  50-por-ciento\"\r\n";
    spit(path, older);
    ASSERT_EQ(file.load(), FileStatus::Ok);
    EXPECT_EQ(file.records().displayLine(1), " 12.3  2024/03/07 Íñigo      2  7x7    Vacío");
    EXPECT_EQ(file.records().displayLine(2), "   .4  2024/03/08 Bartolomeu 3  10x10  Ekis");
    EXPECT_EQ(file.trim(20).deleted, 0u); // nothing to delete: the same lines, the same order
    EXPECT_EQ(slurp(path), older);
}

// A trim deletes records only. Lines the loader cannot read are skipped when loading and stay,
// byte for byte and in their order, after the records; lines a text editor saved as UTF-8 load
// as records and are written back in Windows-1252.
TEST_F(RecordsFileTest, ATrimKeepsEveryLineItCannotReadAndUtf8LinesAreRecords) {
    const std::string unreadable =
        "hola\r\n"
        "\" 126  2024/03/07 Eva        9  10x10  Ekis\"\r\n"        // unknown category
        "\" 127  2024/03/07 Eva        3  10x10  Ekis \"\r\n"       // a blank too many
        "   \r\n\"\"\r\n\xFF\xFE\x00\x81\r\n"s                      // blanks, empty field, rubbish
        " 128  2024/03/07 Eva        3  10x10  Ekis\r\n"            // no quotes: outer blank lost
        "\" 130  2024/03/07 李小龍        3  10x10  Ekis\"\r\n"     // UTF-8 beyond Windows-1252
        "\" 131  2024/03/07 O\"Neil     3  10x10  Ekis\"\r\n";      // a quote in the name
    const std::string cut = "\" 135  2024/03/07 Eva        3  10x"; // cut short by a crash
    const std::string bytes =
        "\"  95  2023/11/02 Ana        2  7x7    Vac\xEDo\"\r\n"
        "\r\n" // empty: not counted, not kept
        "\xEF\xBB\xBF\" 123  2023/11/02 Íñigo      2  7x7    Vacío\"\r\n" // UTF-8 with its mark
        "\" 124  2024/03/07 Eva        3  10x10  Ekis\"\n"                // LF alone
        "\" 125  2024/03/07 Eva        3  10x10  Ekis\"\r" +              // CR alone
        unreadable +
        "1290  2024/03/07 Eva        3  10x10  Ekis,\"more\"\r\n" // no quotes: up to the comma
        "\" 132  2024/03/07 Eva        3  10x10  Ekis\"\r\n"
        "\" 133  2024/03/07 Eva        3  10x10  Ekis\"\r\n"
        "\" 134  2024/03/07 Eva        3  10x10  Ekis\"\r\n" +
        cut;
    spit(path, bytes);
    ASSERT_EQ(file.load(), FileStatus::Ok);
    std::vector<int> tenths;
    for (std::size_t i = 0; i < file.records().size(); ++i)
        tenths.push_back(file.records().tenths(i));
    EXPECT_EQ(tenths, (std::vector<int>{95, 123, 124, 125, 1290, 132, 133, 134}));
    EXPECT_EQ(file.records().displayLine(1), " 12.3  2023/11/02 Íñigo      2  7x7    Vacío");
    EXPECT_EQ(file.skippedLines(), 10u);
    EXPECT_EQ(slurp(path), bytes) << "loading must not rewrite the file";

    EXPECT_EQ(file.trim(5).deleted, 1u); // six records of Ekis: the slowest goes
    const std::string trimmed = "\"  95  2023/11/02 Ana        2  7x7    Vac\xEDo\"\r\n"
                                "\" 123  2023/11/02 \xCD\xF1igo      2  7x7    Vac\xEDo\"\r\n"
                                "\" 124  2024/03/07 Eva        3  10x10  Ekis\"\r\n"
                                "\" 125  2024/03/07 Eva        3  10x10  Ekis\"\r\n"
                                "\" 132  2024/03/07 Eva        3  10x10  Ekis\"\r\n"
                                "\" 133  2024/03/07 Eva        3  10x10  Ekis\"\r\n"
                                "\" 134  2024/03/07 Eva        3  10x10  Ekis\"\r\n" +
                                unreadable + cut + "\r\n";
    EXPECT_EQ(slurp(path), trimmed);
    EXPECT_EQ(file.trim(5).deleted, 0u);
    EXPECT_EQ(slurp(path), trimmed);
    RecordsFile again(path);
    ASSERT_EQ(again.load(), FileStatus::Ok);
    EXPECT_EQ(recordsFileBytes(again.records()), recordsFileBytes(file.records()));
    EXPECT_EQ(again.skippedLines(), 10u);
}

TEST_F(RecordsFileTest, AnotherCopysLockOrRecordsCostNoRecord) {
    ASSERT_EQ(file.load(), FileStatus::Ok);
    RecordsFile other(path);
    ASSERT_EQ(other.load(), FileStatus::Ok);
    const int lock = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_EQ(::flock(lock, LOCK_EX), 0); // the other copy holds the lock too long
    const std::string first = recordText(50, {2024, 1, 1}, "first", kEkis);
    EXPECT_EQ(file.append(first), FileStatus::Busy);
    EXPECT_EQ(file.trim(5).status, FileStatus::Busy);
    ::close(lock);
    EXPECT_EQ(slurp(path), "");
    EXPECT_TRUE(file.hasUnsavedRecords()); // listed, and written with the next record
    ASSERT_EQ(file.append(recordText(60, {2024, 1, 1}, "second", kEkis)), FileStatus::Ok);
    const std::string theirs = recordText(999, {2024, 1, 1}, "v", kVacio);
    ASSERT_EQ(other.append(theirs), FileStatus::Ok); // after this copy loaded
    EXPECT_EQ(file.trim(1).deleted, 1u);
    EXPECT_EQ(slurp(path), fileLine(theirs) + fileLine(first));
    EXPECT_EQ(recordsFileBytes(file.records()), slurp(path));
}

// Two copies of the game in two processes, one appending records, the other appending and
// trimming (deleting nothing), while a third holds the lock as they start: they wait for it,
// every record is in the file once and in its copy's order, and the folder holds the file alone.
TEST_F(RecordsFileTest, TwoCopiesWritingAtOnceLoseNoRecordAndLeaveNoOtherFile) {
    ASSERT_EQ(file.load(), FileStatus::Ok);
    EXPECT_EQ(slurp(path), ""); // a missing file is created empty
    const int lock = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_EQ(::flock(lock, LOCK_EX), 0);
    constexpr int kEach = 300;
    pid_t copies[2];
    for (int c = 0; c < 2; ++c) {
        if ((copies[c] = ::fork()) != 0) continue;
        ::close(lock); // the lock is held until every descriptor of it is closed
        RecordsFile copy(path);
        int failures = copy.load() != FileStatus::Ok;
        for (int i = 0; i < kEach; ++i) {
            failures += copy.append(recordText(i, {2024, 1, 1}, "copia", c)) != FileStatus::Ok;
            if (c == 1 && i % 10 == 9) failures += copy.trim(kEach).status != FileStatus::Ok;
        }
        ::_exit(failures);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ::close(lock);
    for (const pid_t copy : copies) {
        int status = -1;
        ASSERT_EQ(::waitpid(copy, &status, 0), copy);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    ASSERT_EQ(file.load(), FileStatus::Ok);
    EXPECT_EQ(file.skippedLines(), 0u);
    for (int c = 0; c < 2; ++c) {
        const auto lines = file.records().linesOf(c);
        ASSERT_EQ(lines.size(), std::size_t(kEach));
        for (int i = 0; i < kEach; ++i)
            EXPECT_EQ(file.records().tenths(lines[std::size_t(i)]), i);
    }
    EXPECT_EQ(dir.names(), std::vector<std::string>{"Quorvin.dat"});
}

} // namespace
} // namespace quorvin
