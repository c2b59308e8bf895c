// Benchmarks of the deduction engine on 15 x 15 boards with four colours: the forced cells of a
// position just after the start pattern, with a fresh engine (a hint's first question in a
// game), and whole games played out by deduction. Each repetition is another deal; the
// console shows the median.
#include "solver/deduction.h"
#include "solver/game_analysis.h"
#include "solver/visible_position.h"

#include <benchmark/benchmark.h>

namespace {

using namespace quorvin;

constexpr int kSide = 15;
constexpr int kColours = 4;

// The deal of repetition k, the same in every run.
std::uint64_t seedOf(int pattern, int k) { return dealSeed(2024, kSide, kColours, pattern, k); }

void BM_ForcedCells15x15x4(benchmark::State& state) {
    static int repetition = 0;
    const int pattern = static_cast<int>(state.range(0));
    SeededPlatform platform(seedOf(pattern, repetition++));
    Game game(platform);
    dealCategory(game, kSide, kColours, pattern);
    const VisiblePosition position = visiblePosition(game);
    for (auto _ : state) {
        Deduction deduction;
        deduction.setPosition(position);
        benchmark::DoNotOptimize(deduction.forcedCells());
    }
}
// The patterns that leave a quarter of the board or more revealed; with fewer revealed cells
// a position can take seconds, as the difficulty table's times show.
BENCHMARK(BM_ForcedCells15x15x4)
    ->ArgName("pattern")
    ->Arg(0)
    ->Arg(1)
    ->Arg(3)
    ->Arg(4)
    ->Arg(5)
    ->Iterations(1)
    ->Repetitions(31)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

void BM_WholeGame15x15x4(benchmark::State& state) {
    static int repetition = 0;
    const int pattern = static_cast<int>(state.range(0));
    const std::uint64_t seed = seedOf(pattern, repetition++);
    for (auto _ : state) benchmark::DoNotOptimize(analyseGame(kSide, kColours, pattern, seed));
}
BENCHMARK(BM_WholeGame15x15x4)
    ->ArgName("pattern")
    ->Arg(0)
    ->Arg(4)
    ->Arg(7)
    ->Iterations(1)
    ->Repetitions(31)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

} // namespace
