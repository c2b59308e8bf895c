// Benchmarks of the deduction engine on 15 x 15 boards with four colours: the hint as the
// player waits for it, the forced cells of a position just after the start pattern, with a
// fresh engine, and whole games played out by deduction. Each repetition is another deal; the
// console shows the median (and, for the hint, the longest wait). Also the share of hints whose
// budget ends before an answer, over every category.
#include "model/names.h"
#include "solver/deduction.h"
#include "solver/game_analysis.h"
#include "solver/hint.h"
#include "solver/visible_position.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>

namespace {

using namespace quorvin;
using Clock = std::chrono::steady_clock;

constexpr int kSide = 15;
constexpr int kColours = 4;
constexpr int kEmpty = 8; // "Vacío": every cell hidden at the start

// The deal of repetition k, the same in every run.
std::uint64_t seedOf(int pattern, int k) { return dealSeed(2024, kSide, kColours, pattern, k); }

// Halfway through a game: half the cells hidden after the start pattern are claimed, each with
// its right colour through the game's own move rule (which may reveal neighbours too), drawn
// at random from `random`.
void playHalf(Game& game, std::mt19937_64& random) {
    std::vector<int> hidden;
    for (int i = 0; i < game.cellCount(); ++i)
        if (game.cells[static_cast<std::size_t>(i)].isHidden()) hidden.push_back(i);
    std::shuffle(hidden.begin(), hidden.end(), random);
    const auto stillHidden = [&] {
        return std::count_if(game.cells.begin(), game.cells.end(),
                             [](const Cell& c) { return c.isHidden(); });
    };
    const auto half = static_cast<long>(hidden.size() / 2);
    for (std::size_t k = 0; k < hidden.size() && stillHidden() > half && game.gameRunning; ++k) {
        const int cell = hidden[k];
        if (!game.cells[static_cast<std::size_t>(cell)].isHidden()) continue;
        game.selectColour(game.board[static_cast<std::size_t>(cell)]);
        game.playCell(cell);
    }
}

// The position of a deal the hint is asked on: the first one, or halfway (`halfway`); the
// cursor drawn at random, as a mouse may leave it anywhere.
struct HintQuestion {
    VisiblePosition position;
    int cursor = 0;
};
HintQuestion hintQuestion(int side, int colours, int pattern, std::uint64_t seed, bool halfway) {
    SeededPlatform platform(seed);
    Game game(platform);
    dealCategory(game, side, colours, pattern);
    std::mt19937_64 random(seed);
    if (halfway) playHalf(game, random);
    return {visiblePosition(game), static_cast<int>(random() % static_cast<unsigned>(side * side))};
}

// The time from the question to the answer shown, with a fresh engine: a game's first hint.
void BM_Hint15x15x4Empty(benchmark::State& state) {
    static int repetition[2] = {0, 0};
    const bool halfway = state.range(0) != 0;
    const HintQuestion question =
        hintQuestion(kSide, kColours, kEmpty, seedOf(kEmpty, repetition[halfway]++), halfway);
    HintAnswer answer;
    for (auto _ : state) {
        Deduction deduction;
        const auto start = Clock::now();
        answer = findHint(deduction, question.position, question.cursor);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
    state.counters["undecided"] = answer.outcome == HintOutcome::Undecided;
}
BENCHMARK(BM_Hint15x15x4Empty)
    ->ArgName("halfway")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(20)
    ->ComputeStatistics("max",
                        [](const std::vector<double>& v) {
                            return *std::max_element(v.begin(), v.end());
                        })
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

// Over every category, the first and the halfway positions of 10 deals each: the share of
// hints whose budget ended before an answer, in percent; the categories above 2% are listed.
void BM_HintUndecidedShare(benchmark::State& state) {
    constexpr int kDeals = 10;
    int asked = 0;
    int undecided = 0;
    for (auto _ : state) {
        for (int side = kMinBoardSize; side <= kMaxBoardSize; ++side)
            for (int colours = 2; colours <= 4; ++colours)
                for (int pattern = 0; pattern < kPatternCount; ++pattern) {
                    int inCategory = 0;
                    for (int deal = 0; deal < kDeals; ++deal)
                        for (bool halfway : {false, true}) {
                            const HintQuestion q =
                                hintQuestion(side, colours, pattern,
                                             dealSeed(2024, side, colours, pattern, deal), halfway);
                            Deduction deduction;
                            const HintAnswer answer = findHint(deduction, q.position, q.cursor);
                            inCategory += answer.outcome == HintOutcome::Undecided;
                        }
                    asked += 2 * kDeals;
                    undecided += inCategory;
                    if (inCategory * 100 > 2 * 2 * kDeals)
                        std::fprintf(stderr, "undecided hints: %d x %d, %d colours, %s: %d of %d\n",
                                     side, side, colours, std::string(patternName(pattern)).c_str(),
                                     inCategory, 2 * kDeals);
                }
    }
    state.counters["undecided_pct"] = 100.0 * undecided / asked;
    state.counters["hints"] = asked;
}
BENCHMARK(BM_HintUndecidedShare)->Iterations(1)->Unit(benchmark::kSecond);

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

// Whole games of four-colour "Vacío", where every cell starts hidden. A game's time is capped:
// some deals take many minutes, and a game cut at the cap counts as the cap, which leaves the
// median as it is while fewer than half the deals reach it.
void BM_WholeGameEmpty15x15x4(benchmark::State& state) {
    constexpr auto kCap = std::chrono::seconds(60);
    static int repetition = 0;
    const std::uint64_t seed = seedOf(kEmpty, repetition++);
    bool capped = false;
    for (auto _ : state) {
        SeededPlatform platform(seed);
        Game game(platform);
        dealCategory(game, kSide, kColours, kEmpty);
        Deduction deduction;
        const auto start = Clock::now();
        deduction.setDeadline(start + kCap);
        playOut(game, deduction);
        capped = deduction.wasInterrupted();
        const auto took = capped ? Clock::duration(kCap) : Clock::now() - start;
        state.SetIterationTime(std::chrono::duration<double>(took).count());
    }
    state.counters["capped"] = capped;
}
BENCHMARK(BM_WholeGameEmpty15x15x4)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(21)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

} // namespace
