// Reading quorvin-analyse's options.
#include "analyse/analyse_options.h"

#include "model/names.h"

#include <charconv>

namespace quorvin {

const char* const kAnalyseUsage =
    "usage: quorvin-analyse [--side N] [--colours C] [--pattern P] [--deals K] [--seed S]\n"
    "                       [--first D] [--each] [--threads T] [--no-guess [--cap S]]\n"
    "  --side N     board side, 5 to 15 (default: all)\n"
    "  --colours C  colours, 2 to 4 (default: all)\n"
    "  --pattern P  start pattern, 0 to 8 (default: all)\n"
    "  --deals K    deals per category, 1 or more (default: 200)\n"
    "  --seed S     seed of the run, 0 or more (default: 1)\n"
    "  --first D    number of each category's first deal (default: 0): deals D to D+K-1\n"
    "  --each       one line per deal as it ends (deal number, guesses, milliseconds)\n"
    "  --threads T  games played at once (default: one per processor)\n"
    "  --no-guess   deals from the no-guess generator; adds its median and 95th percentile\n"
    "               milliseconds, the searches the cap cut short, and the same two figures\n"
    "               in the search thread's processor time\n"
    "  --cap S      with --no-guess, stop a category's searches after S seconds (default: none)\n";

namespace {

template <class T> bool readNumber(const std::string& text, T& value) {
    const char* end = text.data() + text.size();
    const auto [rest, status] = std::from_chars(text.data(), end, value);
    return status == std::errc() && rest == end;
}

} // namespace

std::optional<AnalyseOptions> parseAnalyseOptions(const std::vector<std::string>& arguments,
                                                  std::string& error) {
    AnalyseOptions options;
    for (std::size_t k = 0; k < arguments.size();) {
        const std::string& name = arguments[k++];
        if (name == "--each" || name == "--no-guess") { // the options without a value
            (name == "--each" ? options.each : options.noGuess) = true;
            continue;
        }
        if (k == arguments.size()) {
            error = name.rfind("--", 0) == 0 ? name + " needs a value" : "unexpected " + name;
            return std::nullopt;
        }
        const std::string& text = arguments[k++];
        long long value = 0;
        const bool isNumber =
            name == "--seed" ? readNumber(text, options.seed) : readNumber(text, value);
        const auto within = [&](long long lo, long long hi) {
            return isNumber && value >= lo && value <= hi;
        };
        bool valid = false;
        if (name == "--side") {
            valid = within(kMinBoardSize, kMaxBoardSize);
            options.side = static_cast<int>(value);
        } else if (name == "--colours") {
            valid = within(2, 4);
            options.colours = static_cast<int>(value);
        } else if (name == "--pattern") {
            valid = within(0, kPatternCount - 1);
            options.pattern = static_cast<int>(value);
        } else if (name == "--deals") {
            valid = within(1, 1000000);
            options.deals = static_cast<int>(value);
        } else if (name == "--first") {
            valid = within(0, 1000000000);
            options.first = static_cast<int>(value);
        } else if (name == "--threads") {
            valid = within(1, 256);
            options.threads = static_cast<int>(value);
        } else if (name == "--cap") {
            valid = within(1, 1000000);
            options.capSeconds = static_cast<double>(value);
        } else if (name == "--seed") {
            valid = isNumber;
        } else {
            error = "unknown option " + name;
            return std::nullopt;
        }
        if (!valid) {
            error = "bad value for " + name + ": " + text;
            return std::nullopt;
        }
    }
    if (options.capSeconds > 0 && !options.noGuess) {
        error = "--cap needs --no-guess";
        return std::nullopt;
    }
    if (options.noGuess && options.each) {
        error = "--each and --no-guess do not go together";
        return std::nullopt;
    }
    return options;
}

std::vector<AnalyseCategory> selectedCategories(const AnalyseOptions& options) {
    std::vector<AnalyseCategory> categories;
    for (int side = kMinBoardSize; side <= kMaxBoardSize; ++side)
        for (int colours = 2; colours <= 4; ++colours)
            for (int pattern = 0; pattern < kPatternCount; ++pattern)
                if (options.side.value_or(side) == side &&
                    options.colours.value_or(colours) == colours &&
                    options.pattern.value_or(pattern) == pattern)
                    categories.push_back({side, colours, pattern});
    return categories;
}

} // namespace quorvin
