// quorvin-analyse --no-guess: every category's deals searched one after another on a worker of
// its own, each found deal dealt again from its draws and played out by the ordinary analysis,
// which proves once more that it needs no guess. The cap stops a category's search from the
// main thread, so that a run over all categories ends.
#include "analyse/no_guess_run.h"

#include "solver/game_analysis.h"
#include "solver/no_guess.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <thread>

#include <time.h>

namespace quorvin {

namespace {

using Clock = std::chrono::steady_clock;

struct CategoryRun {
    std::atomic<bool> stop{false};
    std::atomic<bool> started{false};
    std::atomic<bool> finished{false};
    Clock::time_point startTime;     // written before `started`
    std::vector<double> searchMs;    // each found deal's search
    std::vector<double> searchCpuMs; // the same, in the search thread's processor time
    std::vector<GameReport> games;   // each found deal played out
    std::vector<double> playMs;
    double cutMs = -1; // the search the cap stopped, when one was
    double cutCpuMs = -1;
};

double milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// The processor time of the calling thread: on a machine shared with other work the search's
// own time, where the clock on the wall also counts the time others had the processor.
double threadMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1000 + static_cast<double>(t.tv_nsec) / 1e6;
}

// The nearest-rank percentile of `values`: the smallest value with at least `percent` per cent
// of them at or below it.
double percentile(std::vector<double> values, double percent) {
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(std::ceil(percent / 100 * values.size()));
    return values[std::max<std::size_t>(rank, 1) - 1];
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void playCategory(const AnalyseOptions& options, const AnalyseCategory& c, CategoryRun& run) {
    for (int d = options.first; d < options.first + options.deals && !run.stop; ++d) {
        const std::uint64_t seed = dealSeed(options.seed, c.side, c.colours, c.pattern, d);
        const auto searchStart = Clock::now();
        const double cpuStart = threadMilliseconds();
        const std::optional<NoGuessDeal> deal =
            findNoGuessDeal(c.side, c.colours, c.pattern, seed, &run.stop);
        if (!deal) {
            run.cutMs = milliseconds(Clock::now() - searchStart);
            run.cutCpuMs = threadMilliseconds() - cpuStart;
            break;
        }
        run.searchMs.push_back(deal->milliseconds);
        run.searchCpuMs.push_back(threadMilliseconds() - cpuStart);
        ReplayPlatform platform(deal->draws);
        Game game(platform);
        dealCategory(game, c.side, c.colours, c.pattern);
        Deduction deduction;
        const auto playStart = Clock::now();
        run.games.push_back(playOut(game, deduction));
        run.playMs.push_back(milliseconds(Clock::now() - playStart));
    }
}

// The generation times count the search the cap stopped with the time it had run, less than it
// would have needed: the percentiles are then lower bounds, and the last column says so.
bool printLine(const AnalyseCategory& c, const CategoryRun& run) {
    const int deals = static_cast<int>(run.games.size());
    int withoutGuess = 0;
    long long guesses = 0;
    for (const GameReport& g : run.games) {
        withoutGuess += g.solved && g.guesses == 0;
        guesses += g.guesses;
    }
    std::vector<double> searches = run.searchMs;
    std::vector<double> cpu = run.searchCpuMs;
    if (run.cutMs >= 0) {
        searches.push_back(run.cutMs);
        cpu.push_back(run.cutCpuMs);
    }
    std::printf("%d\t%d\t%d\t%d\t", c.side, c.colours, c.pattern, deals);
    if (deals == 0)
        std::printf("-\t-\t-\t");
    else
        std::printf("%.1f\t%.2f\t%.1f\t", 100.0 * withoutGuess / deals,
                    static_cast<double>(guesses) / deals, median(run.playMs));
    std::printf("%.1f\t%.1f\t%d\t%.1f\t%.1f\n", median(searches), percentile(searches, 95),
                run.cutMs >= 0 ? 1 : 0, median(cpu), percentile(cpu, 95));
    std::fflush(stdout);
    return withoutGuess == deals;
}

} // namespace

int runNoGuess(const AnalyseOptions& options, const std::vector<AnalyseCategory>& categories) {
    std::vector<CategoryRun> runs(categories.size());
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t k = next++; k < categories.size(); k = next++) {
            runs[k].startTime = Clock::now();
            runs[k].started = true;
            playCategory(options, categories[k], runs[k]);
            runs[k].finished = true;
        }
    };
    std::printf("side\tcolours\tpattern\tdeals\tsolvable_pct\tmean_guesses\tmedian_ms\t"
                "gen_median_ms\tgen_p95_ms\tcut\tgen_cpu_median_ms\tgen_cpu_p95_ms\n");
    std::fflush(stdout);
    const unsigned threadCount = options.threads > 0
                                     ? static_cast<unsigned>(options.threads)
                                     : std::max(1u, std::thread::hardware_concurrency());
    std::vector<std::thread> threads;
    for (unsigned t = 0; t < threadCount; ++t)
        threads.emplace_back(work);

    bool allProven = true;
    const auto cap = std::chrono::duration<double>(options.capSeconds);
    for (std::size_t printed = 0; printed < categories.size();) {
        for (std::size_t k = printed; k < categories.size() && runs[k].started; ++k)
            if (options.capSeconds > 0 && !runs[k].finished &&
                Clock::now() - runs[k].startTime > cap)
                runs[k].stop = true;
        for (; printed < categories.size() && runs[printed].finished; ++printed)
            allProven = printLine(categories[printed], runs[printed]) && allProven;
        if (printed < categories.size()) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    for (std::thread& t : threads)
        t.join();
    if (!allProven) {
        std::fprintf(stderr,
                     "quorvin-analyse: a deal from the no-guess generator needed a guess\n");
        return 1;
    }
    return 0;
}

} // namespace quorvin
