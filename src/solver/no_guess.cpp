// Deals that never need a guess: each deal is played by proven cells alone, and the first that
// reaches the solved board is handed out with the draws that dealt it.
#include "solver/no_guess.h"

#include "model/category.h"
#include "solver/game_analysis.h"
#include "solver/hint.h"
#include "solver/visible_position.h"

#include <algorithm>
#include <array>
#include <condition_variable>
#include <mutex>
#include <random>
#include <string_view>
#include <thread>

namespace quorvin {

namespace {

using Clock = std::chrono::steady_clock;

// How often a stop is passed on to the engine while a question runs.
constexpr auto kStopPoll = std::chrono::milliseconds(5);

// Interrupts the engine, from a thread of its own, whenever `stop` is true, until it is
// destroyed. Taking a position clears an interruption, so the watcher keeps passing the stop on
// rather than once; between questions the search looks at `stop` itself.
class StopWatcher {
  public:
    StopWatcher(Deduction& deduction, const std::atomic<bool>* stop) {
        if (stop == nullptr) return;
        m_thread = std::thread([this, &deduction, stop] {
            std::unique_lock lock(m_mutex);
            while (!m_done) {
                if (stop->load()) deduction.interrupt();
                m_wake.wait_for(lock, kStopPoll);
            }
        });
    }
    ~StopWatcher() {
        if (!m_thread.joinable()) return;
        {
            const std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_wake.notify_one();
        m_thread.join();
    }
    StopWatcher(const StopWatcher&) = delete;
    StopWatcher& operator=(const StopWatcher&) = delete;

  private:
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_done = false;
    std::thread m_thread;
};

// The game's own chance from a seed, with every draw kept.
class RecordingPlatform : public SeededPlatform {
  public:
    using SeededPlatform::SeededPlatform;
    double random() override { return draws.emplace_back(SeededPlatform::random()); }
    std::vector<double> draws;
};

bool isStopped(const std::atomic<bool>* stop) {
    return stop != nullptr && stop->load();
}

// The generator gives the whole question (asked only where the quick stage proves nothing) this
// share of a deal's budget: in the measurement no deal that solves without a guess needed it
// (the quick stage proved every cell of every one), while a deal that needs a guess spends most
// of its check there, proving that nothing is forced where it stops.
constexpr int kWholeQuestionShare = 5; // a fifth

// solvesWithoutGuess without a watcher (the caller keeps one for the whole search), the whole
// question given up after `wholeQuestion` (and everything at the deduction's own deadline).
bool playsProvenCellsToTheEnd(Game& game, Deduction& deduction, const std::atomic<bool>* stop,
                              Clock::time_point deadline = Clock::time_point::max(),
                              Clock::duration wholeQuestion = Clock::duration::zero()) {
    while (game.gameRunning) {
        if (isStopped(stop)) return false;
        deduction.setPosition(visiblePosition(game));
        // As in the analysis: what the quick stage proves first, the whole question only when
        // it proves nothing.
        const std::vector<ForcedCell> forced =
            wholeQuestion == Clock::duration::zero()
                ? provenCells(deduction)
                : provenCells(deduction, std::min(deadline, Clock::now() + wholeQuestion),
                              deadline);
        // An answer cut short proves nothing: the deal is passed over.
        if (deduction.wasInterrupted() || forced.empty()) return false;
        playForcedCells(game, forced);
    }
    return !game.lostMarkerVisible && game.isSolved();
}

// Whether the option is offered, from docs/no-guess.tsv (quorvin-analyse --no-guess --seed 1
// --deals 20 --cap 60 --threads 1): a category is offered when its 20 searches all ended within
// the cap and their 95th percentile of processor time is 1 s at most. Processor time rather than
// the clock's, because the machine it was measured on was shared (its clock times ran 1.5 to 3
// times as long), and a player's machine gives the background search a core of its own. One line
// per board side, the 2-, 3- and 4-colour marks of the start patterns in the order of
// kPatternNames ('+': offered).
constexpr std::array<std::string_view, 3 * kSizeCount> kOffered = {
    "+++++++++", "+++++++++", "+++++++++", // 5 x 5
    "+++++++++", "+++++++++", "+++++++++", // 6 x 6
    "+++++++++", "+++++++++", "+++++++++", // 7 x 7
    "+++++++++", "+++++++++", "+++++++++", // 8 x 8
    "+++++++++", "+++++++++", "+++++++++", // 9 x 9
    "+++++++++", "+++++++++", "+++++++++", // 10 x 10
    "+++++++++", "+++++++++", "+++++++++", // 11 x 11
    "+++++++++", "+++++++++", "++++++++-", // 12 x 12
    "+++++++++", "+++++++++", "++++++++-", // 13 x 13
    "+++++++++", "++++++++-", "++++++++-", // 14 x 14
    "+++++++++", "++++++++-", "++-+++---", // 15 x 15
};

} // namespace

bool solvesWithoutGuess(Game& game, Deduction& deduction, const std::atomic<bool>* stop) {
    const StopWatcher watcher(deduction, stop);
    return playsProvenCellsToTheEnd(game, deduction, stop);
}

std::optional<NoGuessDeal> findNoGuessDeal(int side, int colours, int pattern, std::uint64_t seed,
                                           const std::atomic<bool>* stop, Clock::duration budget) {
    const auto started = Clock::now();
    if (budget == Clock::duration::zero()) budget = noGuessDealBudget(side);
    std::mt19937_64 seeds(seed);
    Deduction deduction;
    const StopWatcher watcher(deduction, stop);
    for (int tries = 1; !isStopped(stop); ++tries) {
        RecordingPlatform platform(seeds());
        Game game(platform);
        dealCategory(game, side, colours, pattern);
        std::vector<double> draws = std::move(platform.draws);
        const auto deadline = Clock::now() + budget;
        deduction.setDeadline(deadline);
        if (playsProvenCellsToTheEnd(game, deduction, stop, deadline, budget / kWholeQuestionShare))
            return NoGuessDeal{
                std::move(draws), tries,
                std::chrono::duration<double, std::milli>(Clock::now() - started).count()};
    }
    return std::nullopt;
}

// Measured on 12 x 12 three-colour "Vacío", 15 x 15 four-colour "Almohadilla" and "Ekis" and
// 9 x 9 four-colour "Aleatorio1", 100 to 150 deals each, every check timed to its end: a deal
// that solves without a guess is checked in 10 to 150 ms on 15 x 15 (none needed the whole
// question: the quick stage proved every cell), while one that needs a guess often spends
// seconds on cells it cannot prove. Over those times the search's 95th percentile was lowest
// with a budget near 0.5 ms a cell; then, on the five slowest categories that show 5% or more
// of their deals without a guess in the difficulty table (30 searches each, a shared machine),
// 0.35 ms a cell gave 95th percentiles from as low to a third lower than 0.5 ms. 50 ms at the
// least, so that a busy machine does not make the small boards' good deals miss it.
Clock::duration noGuessDealBudget(int side) {
    return std::max<Clock::duration>(std::chrono::milliseconds(50),
                                     std::chrono::microseconds(350) * side * side);
}

bool noGuessDealsOffered(int side, int colours, int pattern) {
    const int index = categoryIndex({colours, side, pattern});
    if (index < 0) return false;
    const std::string_view line =
        kOffered[static_cast<std::size_t>((side - kMinBoardSize) * 3 + (colours - 2))];
    return line[static_cast<std::size_t>(pattern)] == '+';
}

double ReplayPlatform::random() {
    if (m_draws.empty()) return 0;
    const double draw = m_draws.front();
    m_draws.pop_front();
    return draw;
}

} // namespace quorvin
