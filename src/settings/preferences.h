// The player's preferences beyond the settings file, kept with QSettings in the per-user
// configuration ($HOME/.config/Quorvin/Quorvin.conf, group [General]): Quorvin.inf keeps its
// four settings and its format.
#pragma once

#include <string>

namespace quorvin {

// Every preference, one line each: its name (the member, and its key in the file) and its
// default, which a missing or damaged value falls back to. Each is true or false.
#define QUORVIN_PREFERENCES(PREFERENCE)                                                            \
    PREFERENCE(colourMarks, false)  /* every colour shown also shows its mark */                   \
    PREFERENCE(noGuessDeals, false) /* deal only boards that deduction alone solves */

struct Preferences {
#define QUORVIN_PREFERENCE_MEMBER(name, fallback) bool name = fallback;
    QUORVIN_PREFERENCES(QUORVIN_PREFERENCE_MEMBER)
#undef QUORVIN_PREFERENCE_MEMBER
    bool operator==(const Preferences&) const = default;
};

// Reads the preferences; a value other than the words "true" and "false" is taken as damage.
Preferences loadPreferences();
// Writes every preference; false when the file could not be written.
bool savePreferences(const Preferences& preferences);
// The folder of the preferences file, with a trailing separator, for a message.
std::string preferencesFolder();

} // namespace quorvin
