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

// Runs `work` in a child for a random moment, then kills it outright.
template <typename Work> void killDuring(std::mt19937& engine, int maxMicroseconds, Work work) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        work();
        ::_exit(0);
    }
    ::usleep(static_cast<useconds_t>(engine() % static_cast<unsigned>(maxMicroseconds)));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
}

TEST(CrashConsistency, ARewriteKilledAnywhereLeavesTheOldFileOrTheNewOne) {
    TempDir dir;
    const std::string path = dir.file("Quorvin.dat");
    const std::string older = manyLines('a', 3000), newer = manyLines('b', 5000);
    spit(path, older);
    const unsigned seed = std::random_device{}();
    std::mt19937 engine(seed);
    for (int round = 0; round < kKills; ++round) {
        killDuring(engine, 15'000, [&] {
            for (;;) {
                writeFileAtomically(path, newer);
                writeFileAtomically(path, older);
            }
        });
        const std::string found = slurp(path);
        ASSERT_TRUE(found == older || found == newer)
            << "seed " << seed << ", round " << round << ": a file of " << found.size() << " bytes";
    }
    EXPECT_EQ(writeFileAtomically(path, "x"), FileStatus::Ok); // the killed writer's lock is gone
}

TEST(CrashConsistency, AnAppendKilledAnywhereKeepsEveryAcknowledgedLine) {
    TempDir dir;
    const std::string path = dir.file("Quorvin.dat");
    const unsigned seed = std::random_device{}();
    std::mt19937 engine(seed);
    std::set<std::string> acknowledged;
    for (int round = 0; round < kKills / 2; ++round) {
        int acks[2];
        ASSERT_EQ(::pipe(acks), 0);
        killDuring(engine, 5'000, [&] {
            for (int n = 0;; ++n) {
                const std::string line = std::to_string(round) + "-" + std::to_string(n);
                if (appendToFile(path, line + "\r\n") == FileStatus::Ok)
                    (void)!::write(acks[1], (line + "\n").data(), line.size() + 1);
            }
        });
        ::close(acks[1]);
        std::string told(1 << 16, '\0');
        std::size_t got = 0;
        for (ssize_t n; (n = ::read(acks[0], told.data() + got, told.size() - got)) > 0;)
            got += static_cast<std::size_t>(n);
        ::close(acks[0]);
        told.resize(got);
        for (std::size_t at = 0, end; (end = told.find('\n', at)) != std::string::npos;
             at = end + 1)
            acknowledged.insert(told.substr(at, end - at));
    }
    // Every line is whole or, at worst, cut by a kill and then ended by the next append.
    std::set<std::string> lines;
    const std::string bytes = slurp(path);
    for (std::size_t at = 0, end; at < bytes.size(); at = end + 2) {
        end = bytes.find("\r\n", at);
        ASSERT_NE(end, std::string::npos) << "the file ends inside a line";
        lines.insert(bytes.substr(at, end - at));
    }
    for (const std::string& line : acknowledged)
        EXPECT_TRUE(lines.count(line)) << "seed " << seed << ": " << line << " was lost";
}

} // namespace
} // namespace quorvin
