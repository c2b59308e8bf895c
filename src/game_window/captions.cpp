// The game window's texts for the clock, the rank line and the start button.
#include "game_window/captions.h"

namespace quorvin {

std::string clockCaption(const ClockReading& clock) {
    if (!clock.ticked) return "0";
    const std::string seconds = std::to_string(clock.tenths / 10);
    if (clock.tenths >= 1000) return seconds;
    return seconds + "." + std::to_string(clock.tenths % 10);
}

std::string rankCaption(const std::optional<Rank>& rank, char decimalSeparator) {
    if (!rank) return {};
    std::string time = std::to_string(rank->tenths / 10);
    if (rank->tenths % 10 != 0) time += decimalSeparator + std::to_string(rank->tenths % 10);
    return std::to_string(rank->place) + "º (" + time + ")";
}

std::string startCaption(StartAction action) {
    return action == StartAction::Start ? "Empezar" : "Continuar";
}

} // namespace quorvin
