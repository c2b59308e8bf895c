// quorvin-analyse --no-guess: the deals of the no-guess generator, played out again by the
// ordinary analysis, with the generator's times.
#pragma once

#include "analyse/analyse_options.h"

#include <vector>

namespace quorvin {

// Prints the header and one line per category, in order; 1 when some deal handed out needed a
// guess after all, else 0.
int runNoGuess(const AnalyseOptions& options, const std::vector<AnalyseCategory>& categories);

} // namespace quorvin
