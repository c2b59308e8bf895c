// The data files when the system says no, or the writer dies: a full disk and a read-only data
// folder leave the records and the settings as they were and report the failure; a copy of the
// game killed while it appends records and trims the file loses no record it was told was saved,
// and neither does a power cut. QUORVIN_STRESS_KILLS sets how many times the writer is killed
// (make stress: 2,000), QUORVIN_STRESS_POWER_CUTS how many rounds of power cuts (500).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <random>
#include <set>

#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "records/records_file.h"
#include "settings/settings_file.h"
#include "storage/power_cut.h"
#include "storage/temp_dir.h"

namespace quorvin {
namespace {

using testing::slurp;
using testing::spit;
using testing::TempDir;

constexpr int kSkipped = 77;

std::string recordOf(int tenths, std::string_view name, int category) {
    return recordText(tenths, {2024, 5, 17}, name, category);
}

// A records file of 60 records over three categories, 20 each, as the game writes them.
std::string sampleRecords() {
    std::string bytes;
    for (int i = 0; i < 60; ++i)
        bytes += fileLine(recordOf(100 + i * 7, "jugador" + std::to_string(i), i % 3 * 40));
    return bytes;
}

// Runs `body` in a child process and returns its exit code: 0 when every expectation held,
// kSkipped when the child cannot set up its conditions. The child says what went wrong.
int inChild(const std::function<bool()>& body) {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(body() ? 0 : 1);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

bool expect(const char* what, bool holds) {
    if (!holds) std::fprintf(stderr, "in the child: %s\n", what);
    return holds;
}

// What every fault case does in its child: append a record, trim, save the settings. Each must
// report Failed; the record stays in the list as unsaved and the trim changes nothing.
bool everyWriteFails(RecordsFile& records, const std::string& folder) {
    const std::size_t count = records.records().size();
    bool ok =
        expect("append fails", records.append(recordOf(42, "Íñigo", 7)) == FileStatus::Failed);
    ok &= expect("the record is kept unsaved",
                 records.hasUnsavedRecords() && records.records().size() == count + 1);
    ok &= expect("trim fails", records.trim(5).status == FileStatus::Failed);
    ok &= expect("the failed trim keeps the list", records.records().size() == count + 1);
    ok &= expect("saving the settings fails",
                 saveSettings(folder, Settings{12, 4, 3, false}) == FileStatus::Failed);
    return ok;
}

class FaultTest : public ::testing::Test {
  protected:
    void SetUp() override {
        spit(dir.file("Quorvin.dat"), sampleRecords());
        spit(dir.file("Quorvin.inf"), formatSettings(Settings{}, true));
        ASSERT_EQ(records.load(), FileStatus::Ok);
        ASSERT_EQ(records.records().size(), 60u);
    }
    // The folder holds the two files exactly as they were, and nothing beside them.
    void expectUntouched() {
        EXPECT_EQ(slurp(dir.file("Quorvin.dat")), sampleRecords());
        EXPECT_EQ(slurp(dir.file("Quorvin.inf")), formatSettings(Settings{}, true));
        EXPECT_EQ(dir.names(), (std::vector<std::string>{"Quorvin.dat", "Quorvin.inf"}));
    }

    TempDir dir;
    const std::string folder = dir.path() + "/";
    RecordsFile records{dir.file("Quorvin.dat")};
};

// `ulimit -f`: the append runs out of room halfway through its line, the rewrites at once.
TEST_F(FaultTest, AFullDiskLeavesTheFilesAsTheyWere) {
    const auto room = static_cast<rlim_t>(slurp(dir.file("Quorvin.dat")).size() + 20);
    const int code = inChild([&] {
        ::signal(SIGXFSZ, SIG_IGN); // the write then fails with EFBIG instead of killing
        rlimit limit{room, RLIM_INFINITY};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(kSkipped);
        bool ok = expect("an append cut short fails",
                         records.append(recordOf(42, "Íñigo", 7)) == FileStatus::Failed);
        limit.rlim_cur = 40; // smaller than any settings file or trimmed records file
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(kSkipped);
        return ok && everyWriteFails(records, folder);
    });
    if (code == kSkipped) GTEST_SKIP() << "setrlimit refused";
    EXPECT_EQ(code, 0);
    expectUntouched();
}

// The folder and its files cannot be written (an installed copy, a read-only mount). The
// first start in such a folder cannot create the files, and says so.
TEST_F(FaultTest, AReadOnlyFolderLeavesTheFilesAsTheyWere) {
    TempDir empty;
    for (const std::string& file : {dir.file("Quorvin.dat"), dir.file("Quorvin.inf")})
        ::chmod(file.c_str(), 0444);
    for (const std::string& path : {dir.path(), empty.path()})
        ::chmod(path.c_str(), 0555);
    const int code = inChild([&] {
        // Permissions do not bind the superuser: the child gives up its rights first.
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(kSkipped);
        bool ok = everyWriteFails(records, folder);
        RecordsFile fresh(empty.path() + "/Quorvin.dat");
        ok &= expect("creating the records file fails", fresh.load() == FileStatus::Failed);
        const LoadedSettings settings = loadSettings(empty.path() + "/");
        ok &= expect("creating the settings file fails, the defaults hold",
                     settings.writeFailed() && settings.settings == Settings{});
        return ok;
    });
    ::chmod(dir.path().c_str(), 0755);
    ::chmod(empty.path().c_str(), 0755);
    if (code == kSkipped) GTEST_SKIP() << "cannot drop the superuser's rights";
    EXPECT_EQ(code, 0);
    expectUntouched();
    EXPECT_TRUE(std::filesystem::is_empty(empty.path()));
}

// A FIFO or a folder given the name of a data file: loading does not wait on it (a blocked open
// would hang the start-up; here the alarm ends the child), the records read as unreadable and
// the settings as their defaults, and no writer writes into it or replaces it.
TEST(NotARegularFile, IsRefusedAtOnceAndLeftAsItIs) {
    for (const bool fifo : {true, false}) {
        TempDir dir;
        for (const char* name : {"Quorvin.dat", "Quorvin.inf"})
            ASSERT_EQ(fifo ? ::mkfifo(dir.file(name).c_str(), 0666)
                           : ::mkdir(dir.file(name).c_str(), 0777),
                      0);
        const int code = inChild([&] {
            ::alarm(10);
            RecordsFile records(dir.file("Quorvin.dat"));
            bool ok = expect("loading the records fails", records.load() == FileStatus::Failed);
            const LoadedSettings settings = loadSettings(dir.path() + "/");
            ok &= expect("the settings are the defaults and the read failed",
                         settings.settings == Settings{} &&
                             settings.readStatus == FileStatus::Failed && !settings.writeFailed());
            return ok && everyWriteFails(records, dir.path() + "/");
        });
        EXPECT_EQ(code, 0) << (fifo ? "FIFO" : "folder");
        for (const char* name : {"Quorvin.dat", "Quorvin.inf"}) {
            struct stat info {};
            ASSERT_EQ(::stat(dir.file(name).c_str(), &info), 0);
            EXPECT_TRUE(fifo ? S_ISFIFO(info.st_mode) : S_ISDIR(info.st_mode)) << name;
        }
        EXPECT_EQ(dir.names(), (std::vector<std::string>{"Quorvin.dat", "Quorvin.inf"}));
    }
}

int killCount() {
    const char* text = std::getenv("QUORVIN_STRESS_KILLS");
    const int count = text ? std::atoi(text) : 0;
    return count > 0 ? count : 100;
}

// A copy of the game saving records as fast as it can, with a trim (that deletes nothing)
// every few records, is killed at a random moment, again and again. Every record whose save was
// acknowledged is in the file, which always loads; a kill can cut at most the line being
// appended, never a whole file; and the next start leaves nothing else in the folder.
TEST(KilledWriter, LosesNoAcknowledgedRecordAndNeverTheFile) {
    TempDir dir;
    const std::string path = dir.file("Quorvin.dat");
    spit(path, sampleRecords());
    const unsigned seed = std::random_device{}();
    std::mt19937 engine(seed);
    const int kills = killCount();
    std::set<std::string> acknowledged; // the sample's records, then every one the child saved
    {
        RecordsFile sample(path);
        ASSERT_EQ(sample.load(), FileStatus::Ok);
        for (std::size_t i = 0; i < sample.records().size(); ++i)
            acknowledged.insert(sample.records().fileText(i));
    }
    for (int round = 0; round < kills; ++round) {
        int acks[2];
        ASSERT_EQ(::pipe(acks), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(acks[0]);
            RecordsFile file(path);
            if (file.load() != FileStatus::Ok) ::_exit(1);
            for (int n = 0;; ++n) {
                const std::string name = std::to_string(round) + "-" + std::to_string(n);
                const std::string text = recordOf(n % 900, name, (round + n) % kCategoryCount);
                if (file.append(text) == FileStatus::Ok)
                    (void)!::write(acks[1], (text + "\n").data(), text.size() + 1);
                if (n % 4 == 3) file.trim(1'000'000);
            }
        }
        ::close(acks[1]);
        ::usleep(static_cast<useconds_t>(engine() % 30'000));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        std::string told;
        char buffer[4096];
        for (ssize_t n; (n = ::read(acks[0], buffer, sizeof buffer)) > 0;)
            told.append(buffer, static_cast<std::size_t>(n));
        ::close(acks[0]);
        for (std::size_t at = 0, end; (end = told.find('\n', at)) != std::string::npos;
             at = end + 1)
            acknowledged.insert(told.substr(at, end - at));
    }
    RecordsFile file(path);
    ASSERT_EQ(file.load(), FileStatus::Ok);
    EXPECT_LE(file.skippedLines(), static_cast<std::size_t>(kills)) << "seed " << seed;
    std::set<std::string> found;
    for (std::size_t i = 0; i < file.records().size(); ++i)
        found.insert(file.records().fileText(i));
    for (const std::string& text : acknowledged)
        ASSERT_TRUE(found.count(text)) << "seed " << seed << ": " << text << " was lost";
    EXPECT_EQ(dir.names(), std::vector<std::string>{"Quorvin.dat"});
}

// A power cut at every point of the writers' work. The game's own code starts on an empty
// folder, appends records (some refused by a full disk, so they wait), trims the file (once
// after a copy killed in a rewrite left its temporary behind) and saves the settings, while a
// recorder notes each call. Then the disk is cut back, after each call in turn, to what fsync
// had made durable: each data file must be as it was before the operation under way or as it is
// after it, byte for byte, and each of those states loads with exactly the records the game said
// it saved. QUORVIN_STRESS_POWER_CUTS rounds of random operations follow a fixed round.
using Bytes = std::optional<std::string>; // a file's bytes; none when it is missing

Bytes bytesOf(const std::string& path) {
    return std::filesystem::exists(path) ? Bytes(slurp(path)) : std::nullopt;
}

enum Operation { Append, RefusedAppend, Trim, TrimAfterAKilledWriter, SaveSettings };

// The game's writers run `operations` on an empty folder, then the power is cut after every call.
void runAndCut(const std::vector<Operation>& operations, unsigned seed) {
    TempDir dir;
    const std::string folder = dir.path() + "/", records = folder + "Quorvin.dat";
    PowerCutRecorder recorder(dir.path());
    struct State {
        std::size_t endedAt; // the calls made by then
        Bytes records, settings;
    };
    std::vector<State> states{{0, {}, {}}};
    std::multiset<std::string> saved; // the records the game said it saved
    std::vector<std::string> waiting; // refused, written with the next record or trim
    const auto ended = [&] {
        states.push_back({recorder.calls(), bytesOf(records), bytesOf(folder + "Quorvin.inf")});
        RecordsList list;
        ASSERT_EQ(parseRecords(states.back().records.value_or(""), list), 0u);
        std::multiset<std::string> held;
        for (std::size_t i = 0; i < list.size(); ++i)
            held.insert(list.fileText(i));
        ASSERT_EQ(held, saved);
    };
    RecordsFile file(records); // the start-up's order: the settings, then the records
    ASSERT_FALSE(loadSettings(folder).writeFailed());
    ASSERT_EQ(file.load(), FileStatus::Ok);
    ASSERT_NO_FATAL_FAILURE(ended());
    std::mt19937 engine(seed);
    for (std::size_t n = 0; n < operations.size(); ++n) {
        SCOPED_TRACE("operation " + std::to_string(n + 1));
        const Operation operation = operations[n];
        waiting.push_back(recordOf(static_cast<int>(engine() % 999 + 1), "r" + std::to_string(n),
                                   static_cast<int>(engine() % 3)));
        if (operation == RefusedAppend) {
            rlimit limit{}; // a disk with room for a few bytes only
            ::getrlimit(RLIMIT_FSIZE, &limit);
            const rlimit full{static_cast<rlim_t>(bytesOf(records)->size() + 9), limit.rlim_max};
            ::setrlimit(RLIMIT_FSIZE, &full);
            const FileStatus status = file.append(waiting.back());
            ::setrlimit(RLIMIT_FSIZE, &limit);
            ASSERT_EQ(status, FileStatus::Failed);
        } else if (operation == Append) {
            ASSERT_EQ(file.append(waiting.back()), FileStatus::Ok);
        } else if (operation == SaveSettings) {
            waiting.pop_back();
            const int k = static_cast<int>(engine() % 594); // sizes, colours, patterns, mode
            const Settings settings{5 + k % 11, 2 + k / 11 % 3, k / 33 % 9, k >= 297};
            ASSERT_EQ(saveSettings(folder, settings), FileStatus::Ok);
        } else {
            waiting.pop_back();
            std::string left; // the temporary a killed writer left, longer than any file here
            for (int i = 0; operation == TrimAfterAKilledWriter && i < 200; ++i)
                left += fileLine(recordOf(i + 1, "muerto", 0));
            if (!left.empty()) spit(records + ".tmp", left);
            ASSERT_EQ(file.trim(1000).status, FileStatus::Ok);
        }
        if (operation != RefusedAppend && operation != SaveSettings) {
            saved.insert(waiting.begin(), waiting.end());
            waiting.clear();
        }
        ASSERT_NO_FATAL_FAILURE(ended());
    }
    for (std::size_t call = 0, in = 0; call <= recorder.calls(); ++call) {
        while (in + 1 < states.size() && states[in + 1].endedAt <= call)
            ++in;
        const State &before = states[in], &after = states[std::min(in + 1, states.size() - 1)];
        const auto files = recorder.afterCut(call);
        for (const auto& [name, bytes] :
             {std::pair{"Quorvin.dat", &State::records}, {"Quorvin.inf", &State::settings}}) {
            const auto at = files.find(name);
            const Bytes left = at == files.end() ? Bytes() : at->second;
            ASSERT_TRUE(left == before.*bytes || left == after.*bytes)
                << name << " after call " << call << " of " << recorder.calls()
                << (in == 0 ? ", at the start-up" : ", in operation " + std::to_string(in))
                << ", is neither the old nor the new one: " << left.value_or("(missing)");
        }
    }
}

TEST(PowerCut, LeavesTheOldOrTheNewFilesWithEverySavedRecord) {
    ::signal(SIGXFSZ, SIG_IGN); // the full disk's write fails instead of ending the test
    runAndCut({Append, SaveSettings, Append, TrimAfterAKilledWriter, RefusedAppend, Trim,
               RefusedAppend, RefusedAppend, Append, SaveSettings},
              1);
    const char* text = std::getenv("QUORVIN_STRESS_POWER_CUTS");
    const unsigned seed = std::random_device{}();
    std::mt19937 engine(seed);
    for (int round = 0; round < (text ? std::atoi(text) : 5) && !HasFailure(); ++round) {
        SCOPED_TRACE("seed " + std::to_string(seed) + ", round " + std::to_string(round));
        std::vector<Operation> operations(30);
        for (Operation& operation : operations)
            operation = Operation(engine() % 5);
        runAndCut(operations, engine());
    }
}

} // namespace
} // namespace quorvin
