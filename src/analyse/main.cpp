// quorvin-analyse: how hard each category is, from many deals played out by deduction alone.
// Prints one tab-separated line per category, or with --each one per deal as it ends (a long
// run can then be stopped and taken up again with --first); both cores play deals at once.
#include "analyse/analyse_options.h"
#include "analyse/no_guess_run.h"
#include "solver/game_analysis.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

#include <unistd.h>

namespace {

using namespace quorvin;
using Clock = std::chrono::steady_clock;

struct Played {
    bool solved = false;
    int guesses = 0;
    double milliseconds = 0;
};

void printLine(const AnalyseCategory& category, const Played* games, int deals) {
    int withoutGuess = 0;
    long long guesses = 0;
    std::vector<double> times;
    for (int d = 0; d < deals; ++d) {
        withoutGuess += games[d].guesses == 0;
        guesses += games[d].guesses;
        times.push_back(games[d].milliseconds);
    }
    std::sort(times.begin(), times.end());
    const auto middle = static_cast<std::size_t>(deals / 2);
    const double median = deals % 2 ? times[middle] : (times[middle - 1] + times[middle]) / 2;
    std::printf("%d\t%d\t%d\t%d\t%.1f\t%.2f\t%.1f\n", category.side, category.colours,
                category.pattern, deals, 100.0 * withoutGuess / deals,
                static_cast<double>(guesses) / deals, median);
    std::fflush(stdout);
}

// One line on standard error, redrawn in place: only for a person watching a terminal.
void drawProgress(std::size_t done, std::size_t total, double seconds) {
    constexpr int kWidth = 30;
    const int filled = static_cast<int>(kWidth * done / total);
    const auto elapsed = static_cast<int>(seconds);
    std::fprintf(stderr, "\r[%.*s%*s] %zu/%zu games, %d:%02d", filled,
                 "##############################", kWidth - filled, "", done, total, elapsed / 60,
                 elapsed % 60);
    std::fflush(stderr);
}

} // namespace

int main(int argc, char* argv[]) {
    std::string error;
    const auto options =
        parseAnalyseOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::fprintf(stderr, "quorvin-analyse: %s\n%s", error.c_str(), kAnalyseUsage);
        return 2;
    }
    const std::vector<AnalyseCategory> categories = selectedCategories(*options);
    if (options->noGuess) return runNoGuess(*options, categories);
    const int deals = options->deals;
    const std::size_t total = categories.size() * static_cast<std::size_t>(deals);
    std::vector<Played> played(total);
    std::vector<std::atomic<int>> left(categories.size());
    for (auto& count : left)
        count = deals;
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> done{0};
    std::atomic<bool> wrong{false};
    std::mutex printing; // a deal's line, with --each, and the progress bar
    const bool showProgress = isatty(STDERR_FILENO) != 0;

    // Each deal's seed follows from the run's seed, its category and its number, so the table
    // does not depend on which thread plays which deal.
    const auto work = [&] {
        for (std::size_t g = next++; g < total; g = next++) {
            const AnalyseCategory& c = categories[g / static_cast<std::size_t>(deals)];
            const int deal = options->first + static_cast<int>(g % static_cast<std::size_t>(deals));
            const auto start = Clock::now();
            const GameReport report =
                analyseGame(c.side, c.colours, c.pattern,
                            dealSeed(options->seed, c.side, c.colours, c.pattern, deal));
            played[g] = {report.solved, report.guesses,
                         std::chrono::duration<double, std::milli>(Clock::now() - start).count()};
            if (!report.solved) wrong = true;
            if (options->each) {
                const std::lock_guard lock(printing);
                if (showProgress) std::fprintf(stderr, "\r\033[K");
                std::printf("%d\t%d\t%d\t%d\t%d\t%.1f\n", c.side, c.colours, c.pattern, deal,
                            played[g].guesses, played[g].milliseconds);
                std::fflush(stdout);
            }
            --left[g / static_cast<std::size_t>(deals)];
            ++done;
        }
    };
    std::printf(options->each ? "side\tcolours\tpattern\tdeal\tguesses\tmilliseconds\n"
                              : "side\tcolours\tpattern\tdeals\tsolvable_pct\tmean_guesses\t"
                                "median_ms\n");
    std::fflush(stdout);
    const unsigned threadCount = options->threads > 0
                                     ? static_cast<unsigned>(options->threads)
                                     : std::max(1u, std::thread::hardware_concurrency());
    std::vector<std::thread> threads;
    for (unsigned t = 0; t < threadCount; ++t)
        threads.emplace_back(work);

    const auto started = Clock::now();
    std::size_t printed = 0;
    while (printed < categories.size()) {
        while (printed < categories.size() && left[printed] == 0) {
            if (!options->each) {
                const std::lock_guard lock(printing);
                if (showProgress) std::fprintf(stderr, "\r\033[K");
                printLine(categories[printed], &played[printed * static_cast<std::size_t>(deals)],
                          deals);
            }
            ++printed;
        }
        if (showProgress) {
            const std::lock_guard lock(printing);
            drawProgress(done, total,
                         std::chrono::duration<double>(Clock::now() - started).count());
        }
        if (printed < categories.size())
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    for (std::thread& t : threads)
        t.join();
    if (showProgress) std::fprintf(stderr, "\r\033[K");
    if (wrong) {
        std::fprintf(stderr, "quorvin-analyse: a deduced colour was wrong in some deal\n");
        return 1;
    }
    return 0;
}
