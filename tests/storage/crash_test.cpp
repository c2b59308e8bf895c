// Writers killed at random moments: a rewrite leaves the old file or the new one, whole, and an
// append never loses a line it acknowledged.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "storage/temp_dir.h"
#include "storage/text_file.h"

namespace quorvin {
namespace {

using testing::slurp;
using testing::spit;
using testing::TempDir;

constexpr int kKills = 200;

std::string manyLines(char letter, int count) {
    std::string bytes;
    for (int i = 0; i < count; ++i)
        bytes += std::string(60, letter) + std::to_string(i) + "\r\n";
    return bytes;
}

std::mt19937 seededEngine(unsigned& seed) {
    seed = std::random_device{}();
    return std::mt19937(seed);
}

void killChild(pid_t child) {
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
}

TEST(CrashConsistency, ARewriteKilledAnywhereLeavesTheOldFileOrTheNewOne) {
    TempDir dir;
    const std::string path = dir.file("Quorvin.dat");
    const std::string older = manyLines('a', 3000); // about 200 KB
    const std::string newer = manyLines('b', 5000); // about 330 KB
    spit(path, older);
    unsigned seed = 0;
    auto engine = seededEngine(seed);
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::uniform_int_distribution<int> pause(0, 15'000); // microseconds
    int sawOlder = 0, sawNewer = 0;
    for (int round = 0; round < kKills; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (;;) {
                writeFileAtomically(path, newer);
                writeFileAtomically(path, older);
            }
        }
        ::usleep(static_cast<useconds_t>(pause(engine)));
        killChild(child);
        const std::string found = slurp(path);
        ASSERT_TRUE(found == older || found == newer)
            << "round " << round << ": a file of " << found.size() << " bytes";
        (found == older ? sawOlder : sawNewer)++;
    }
    RecordProperty("older", sawOlder);
    RecordProperty("newer", sawNewer);
    // The next writer gets the lock the killed one held.
    EXPECT_EQ(writeFileAtomically(path, "x"), FileStatus::Ok);
}

TEST(CrashConsistency, AnAppendKilledAnywhereKeepsEveryAcknowledgedLine) {
    TempDir dir;
    const std::string path = dir.file("Quorvin.dat");
    unsigned seed = 0;
    auto engine = seededEngine(seed);
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::uniform_int_distribution<int> pause(0, 5'000);
    std::set<std::string> acknowledged;
    for (int round = 0; round < kKills / 2; ++round) {
        int acks[2];
        ASSERT_EQ(::pipe(acks), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(acks[0]);
            for (int n = 0;; ++n) {
                const std::string line = "line " + std::to_string(round) + "-" + std::to_string(n);
                if (appendToFile(path, line + "\r\n") == FileStatus::Ok)
                    (void)!::write(acks[1], (line + "\n").data(), line.size() + 1);
            }
        }
        ::close(acks[1]);
        ::usleep(static_cast<useconds_t>(pause(engine)));
        killChild(child);
        std::string told;
        char buffer[4096];
        for (ssize_t n; (n = ::read(acks[0], buffer, sizeof buffer)) > 0;)
            told.append(buffer, static_cast<std::size_t>(n));
        ::close(acks[0]);
        for (std::size_t at = 0, end; (end = told.find('\n', at)) != std::string::npos; at = end + 1)
            acknowledged.insert(told.substr(at, end - at));
    }
    // Every line is whole or, at worst, a line cut by a kill and ended by the next append.
    std::set<std::string> whole;
    const std::string bytes = slurp(path);
    for (std::size_t at = 0, end; at < bytes.size(); at = end + 2) {
        end = bytes.find("\r\n", at);
        ASSERT_NE(end, std::string::npos) << "the file ends inside a line";
        whole.insert(bytes.substr(at, end - at));
    }
    for (const std::string& line : acknowledged)
        EXPECT_TRUE(whole.count(line)) << line << " was acknowledged but is not in the file";
}

} // namespace
} // namespace quorvin
