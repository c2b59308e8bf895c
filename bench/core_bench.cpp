// Benchmarks of the core (no Qt): the deal, a move and the continued-game penalty on 15 x 15, and
// the records at 100,000 and 1,000,000 lines. Each figure is the median of its repetitions; the
// console shows the medians only (--benchmark_out=FILE keeps every repetition).
#include "synthetic_records.h"

#include "model/game.h"
#include "records/records_file.h"
#include "records/records_list.h"
#include "session/session.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>

#include <unistd.h>

namespace {

using namespace quorvin;
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// A seeded generator and a real clock; the questions to the player are never asked here.
class BenchPlatform : public Platform {
  public:
    double now() override { return secondsSince(m_start); }
    double random() override { return static_cast<double>(m_engine() >> 11) * 0x1.0p-53; }
    int below(int bound) { return static_cast<int>(random() * bound); }

  private:
    Clock::time_point m_start = Clock::now();
    std::mt19937_64 m_engine{7};
};

constexpr int kHalfBoard = 0; // "50-por-ciento"
constexpr int kEmpty = 8;     // "Vacío"

// A 15 x 15 board of four colours in the continued-game mode.
void setUpBoard(Game& game, int pattern) {
    game.setUp(15, 4, pattern, true);
}

// A hidden cell drawn at random; the board is dealt first.
int hiddenCell(Game& game, BenchPlatform& platform) {
    int i = platform.below(game.cellCount());
    while (!game.cells[static_cast<std::size_t>(i)].isHidden())
        i = (i + 1) % game.cellCount();
    return i;
}

// Ten repetitions unless a benchmark says otherwise; the console shows their median.
void repeated(benchmark::internal::Benchmark* b) {
    b->Repetitions(10)->ReportAggregatesOnly(true);
}

// ---- The board ----

void BM_Deal15x15(benchmark::State& state) {
    BenchPlatform platform;
    Game game(platform);
    setUpBoard(game, kHalfBoard);
    for (auto _ : state) {
        game.deal();
        benchmark::DoNotOptimize(game.cells.data());
    }
}
BENCHMARK(BM_Deal15x15)->Apply(repeated)->Unit(benchmark::kMicrosecond);

// A right claim with the left button, as the window passes it on: press and release. Each one
// on a fresh deal (not timed), so the board never runs out of hidden cells.
void BM_Move15x15(benchmark::State& state) {
    BenchPlatform platform;
    Game game(platform);
    Session session(game);
    setUpBoard(game, kHalfBoard);
    for (auto _ : state) {
        game.deal();
        const int cell = hiddenCell(game, platform);
        game.selectColour(game.board[static_cast<std::size_t>(cell)]);
        const auto start = Clock::now();
        session.pressCell(cell, MouseButton::Left);
        session.releaseCell(cell, MouseButton::Left);
        state.SetIterationTime(secondsSince(start));
    }
}
// A fixed count: with the time of the deals left out, an automatic count would deal for minutes.
BENCHMARK(BM_Move15x15)
    ->Apply(repeated)
    ->UseManualTime()
    ->Iterations(5000)
    ->Unit(benchmark::kMicrosecond);

// A wrong claim in the continued game: four revealed cells drawn at random are hidden again.
// Argument 0: the "50-por-ciento" start, half the board revealed. Argument 1: the worst draw,
// an empty start with exactly four cells revealed, so the draws must find every one of them.
void BM_Penalty15x15(benchmark::State& state) {
    const bool sparse = state.range(0) == 1;
    BenchPlatform platform;
    Game game(platform);
    setUpBoard(game, sparse ? kEmpty : kHalfBoard);
    for (auto _ : state) {
        game.deal();
        if (sparse)
            for (int k = 0; k < 4; ++k)
                game.revealCell(hiddenCell(game, platform));
        const int cell = hiddenCell(game, platform);
        game.selectColour(game.board[static_cast<std::size_t>(cell)] % game.colorCount + 1);
        const auto start = Clock::now();
        game.playCell(cell);
        state.SetIterationTime(secondsSince(start));
    }
}
BENCHMARK(BM_Penalty15x15)
    ->Arg(0)
    ->Arg(1)
    ->Apply(repeated)
    ->UseManualTime()
    ->Iterations(5000)
    ->Unit(benchmark::kMicrosecond);

// ---- The records ----

bench::TempFolder& folder() {
    static bench::TempFolder made;
    return made;
}

// The synthetic records file of `lines` lines, written once.
const std::string& masterFile(std::size_t lines) {
    static std::map<std::size_t, std::string> made;
    auto [at, isNew] = made.try_emplace(lines);
    if (isNew) {
        at->second = folder().path() + "records-" + std::to_string(lines) + ".dat";
        if (!bench::writeFile(at->second, bench::syntheticRecordsBytes(lines), true))
            throw std::runtime_error("cannot write " + at->second);
    }
    return at->second;
}

// The records list loaded from that file, loaded once.
const RecordsList& loadedRecords(std::size_t lines) {
    static std::map<std::size_t, std::unique_ptr<RecordsFile>> made;
    auto& file = made[lines];
    if (!file) {
        file = std::make_unique<RecordsFile>(masterFile(lines));
        if (file->load() != FileStatus::Ok) throw std::runtime_error("cannot load " + file->path());
    }
    return file->records();
}

std::size_t linesOf(const benchmark::State& state) {
    return static_cast<std::size_t>(state.range(0));
}

// The category of the new game the benchmarks ask about: 4 colours, 15 x 15, "50-por-ciento".
const Category kNewGame{4, 15, kHalfBoard};

void BM_LoadRecords(benchmark::State& state) {
    const std::string& path = masterFile(linesOf(state));
    for (auto _ : state) {
        auto file = std::make_unique<RecordsFile>(path);
        const auto start = Clock::now();
        const FileStatus status = file->load();
        state.SetIterationTime(secondsSince(start));
        if (status != FileStatus::Ok || file->records().size() != linesOf(state))
            state.SkipWithError("the records did not load");
        file.reset(); // the list's memory is given back outside the timing
    }
}

void BM_CategoryTimes(benchmark::State& state) {
    const RecordsList& records = loadedRecords(linesOf(state));
    const int category = categoryIndex(kNewGame);
    for (auto _ : state) {
        auto times = categoryTimes(records, category);
        benchmark::DoNotOptimize(times.data());
    }
}

void BM_ListingOneCategory(benchmark::State& state) {
    const RecordsList& records = loadedRecords(linesOf(state));
    const RecordFilters filters = filtersFor(kNewGame);
    for (auto _ : state) {
        auto listing = listRecords(records, filters);
        benchmark::DoNotOptimize(listing.ranked.data());
    }
}

void BM_ListingAll(benchmark::State& state) {
    const RecordsList& records = loadedRecords(linesOf(state));
    for (auto _ : state) {
        auto listing = listRecords(records, allFilters());
        benchmark::DoNotOptimize(listing.ranked.data());
    }
}

// "Borrar a partir del 20º puesto": each time on the whole file again. The file to trim is a
// second name of the master file, so setting it up copies nothing; the trim's rename replaces
// that name only. The game has loaded its records before the player asks, so the load is set-up.
void BM_Trim20(benchmark::State& state) {
    const std::string& master = masterFile(linesOf(state));
    const std::string path = folder().path() + "trim.dat";
    const int keep = keptPerCategory(3);
    for (auto _ : state) {
        std::filesystem::remove(path);
        std::filesystem::create_hard_link(master, path);
        RecordsFile file(path);
        file.load();
        const auto start = Clock::now();
        const auto result = file.trim(keep);
        state.SetIterationTime(secondsSince(start));
        if (result.status != FileStatus::Ok ||
            result.deleted != linesOf(state) - file.records().size())
            state.SkipWithError("the trim failed");
    }
    state.SetLabel("keep " + std::to_string(keep));
}

// One solved game's record, appended and synced. The file is a real copy (an append through a
// second name would change the master), synced before the timing starts.
void BM_AppendRecord(benchmark::State& state) {
    const std::string path = folder().path() + "append-" + std::to_string(linesOf(state)) + ".dat";
    std::filesystem::copy_file(masterFile(linesOf(state)), path,
                               std::filesystem::copy_options::overwrite_existing);
    bench::syncFile(path); // the copy's pages go to disk now, not inside the first timed sync
    RecordsFile file(path);
    file.load();
    std::uint64_t draws = 99;
    for (auto _ : state) {
        const std::string text = bench::syntheticRecordText(draws);
        const auto start = Clock::now();
        const FileStatus status = file.append(text);
        state.SetIterationTime(secondsSince(start));
        if (status != FileStatus::Ok) state.SkipWithError("the append failed");
    }
}

void recordsSizes(benchmark::internal::Benchmark* b) {
    b->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->Apply(repeated);
}

// The slow ones time single runs: the median is then taken over 11 to 21 of them.
BENCHMARK(BM_LoadRecords)->Apply(recordsSizes)->UseManualTime()->Iterations(1)->Repetitions(21);
BENCHMARK(BM_CategoryTimes)->Apply(recordsSizes)->UseRealTime();
BENCHMARK(BM_ListingOneCategory)->Apply(recordsSizes)->UseRealTime();
BENCHMARK(BM_ListingAll)->Apply(recordsSizes)->UseRealTime()->Iterations(1)->Repetitions(15);
BENCHMARK(BM_Trim20)->Apply(recordsSizes)->UseManualTime()->Iterations(1)->Repetitions(11);
BENCHMARK(BM_AppendRecord)->Apply(recordsSizes)->UseManualTime()->Iterations(100);

// The console shows one line per benchmark: its median over the repetitions (and the largest or
// the 95th percentile, where a benchmark computes it), or its one run when it is not repeated.
// (A reporter of our own is given no colour choice: colours only on a terminal.)
class MedianReporter : public benchmark::ConsoleReporter {
  public:
    MedianReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        std::vector<Run> medians;
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Aggregate
                    ? run.aggregate_name == "median" || run.aggregate_name == "max" ||
                          run.aggregate_name == "p95"
                    : run.repetitions <= 1)
                medians.push_back(run);
        if (!medians.empty()) ConsoleReporter::ReportRuns(medians);
    }
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
