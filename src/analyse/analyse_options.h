// The command line of quorvin-analyse and the categories it selects.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvin {

struct AnalyseOptions {
    std::optional<int> side;    // 5..15; all when absent
    std::optional<int> colours; // 2..4
    std::optional<int> pattern; // 0..8
    int deals = 200;            // per category
    int first = 0;              // the number of a category's first deal
    bool each = false;          // one line per deal, as it ends, instead of one per category
    bool noGuess = false;       // deals from the no-guess generator, with its times
    double capSeconds = 0;      // with noGuess: a category's generation time at most; 0: none
    int threads = 0;            // games played at once; 0: one per processor
    std::uint64_t seed = 1;
};

struct AnalyseCategory {
    int side;
    int colours;
    int pattern;
};

// The options of `arguments` (the program's name left out); an explanation in `error` and
// nothing for anything it cannot read.
std::optional<AnalyseOptions> parseAnalyseOptions(const std::vector<std::string>& arguments,
                                                  std::string& error);

// The categories the options select, by side, then colours, then pattern.
std::vector<AnalyseCategory> selectedCategories(const AnalyseOptions& options);

extern const char* const kAnalyseUsage;

} // namespace quorvin
