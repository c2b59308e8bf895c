// The texts the game window shows for the values of the game and its session: the clock, the
// rank line and the start button (UTF-8).
#pragma once

#include "model/game.h"
#include "session/session.h"

#include <optional>
#include <string>

namespace quorvin {

// "0" before the first tick; below 100 s the whole seconds, "." (whatever the player's decimal
// separator) and the tenth: "0.0", "12.3", "99.9"; from 100 s the whole seconds: "100", "999".
std::string clockCaption(const ClockReading& clock);

// "2º (20)": the place and its time in the shortest form, with the player's decimal separator
// ("1º (12,3)" where it is a comma); nothing without a rank.
std::string rankCaption(const std::optional<Rank>& rank, char decimalSeparator);

// "Empezar" or "Continuar".
std::string startCaption(StartAction action);

} // namespace quorvin
