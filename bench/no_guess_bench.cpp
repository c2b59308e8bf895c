// Benchmarks of the no-guess generator: the time to find a deal that needs no guess, from a new
// seed at every repetition, as the game window's background search takes it. The console shows
// the median and the 95th percentile over the repetitions.
#include "solver/game_analysis.h"
#include "solver/no_guess.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>

namespace {

using namespace quorvin;

// The 95th percentile by nearest rank: the smallest time with 95% of them at or below it.
double percentile95(const std::vector<double>& values) {
    std::vector<double> sorted = values;
    std::sort(sorted.begin(), sorted.end());
    const auto rank =
        static_cast<std::size_t>(std::ceil(0.95 * static_cast<double>(sorted.size())));
    return sorted[std::max<std::size_t>(rank, 1) - 1];
}

void BM_NoGuessDeal(benchmark::State& state) {
    static int repetition = 0;
    const int side = static_cast<int>(state.range(0));
    const int colours = static_cast<int>(state.range(1));
    const int pattern = static_cast<int>(state.range(2));
    for (auto _ : state) {
        const auto deal = findNoGuessDeal(side, colours, pattern,
                                          dealSeed(2024, side, colours, pattern, repetition++));
        state.SetIterationTime(deal ? deal->milliseconds / 1000 : 0);
        if (deal) state.counters["tries"] = deal->tries;
    }
}
// 9 x 9 four colours "Aleatorio1", 12 x 12 three colours "Vacío", 15 x 15 four colours "Ekis".
BENCHMARK(BM_NoGuessDeal)
    ->ArgNames({"side", "colours", "pattern"})
    ->Args({9, 4, 7})
    ->Args({12, 3, 8})
    ->Args({15, 4, 6})
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(40)
    ->ComputeStatistics("p95", percentile95)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

} // namespace
