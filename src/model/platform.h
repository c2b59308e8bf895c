// The one interface through which the core reaches the world outside it: time, chance, the
// player's answers and the desktop. The game window implements it; tests fake it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quorvin {

// The generator's 64-bit draw as a number in [0, 1): its top 53 bits, exact in a double, so one
// seed deals the same board on every machine.
inline double unitInterval(std::uint64_t draw) {
    return static_cast<double>(draw >> 11) * 0x1.0p-53;
}

class Platform {
public:
    virtual ~Platform() = default;

    // Seconds from a monotonic clock: only differences are used, and it keeps counting across
    // midnight and clock changes.
    virtual double now() = 0;
    // A uniform number in [0, 1) from the one generator, seeded once at start-up.
    virtual double random() = 0;
    // The board has just been solved: the clock is stopped and GameRunning is already false.
    virtual void boardSolved() {}
    // Let the window system handle the events that are waiting (paint a notice, take input).
    virtual void processEvents() {}

    // Modal questions. Texts are UTF-8.
    // The name prompt: std::nullopt when the player cancels.
    virtual std::optional<std::string> askText(const std::string& title, const std::string& prompt,
                                               const std::string& suggested) {
        (void)title; (void)prompt;
        return suggested;
    }
    // An OK/Cancel question with the question icon (exclamation when `warning`): true for OK.
    virtual bool confirm(const std::string& text, bool warning) {
        (void)text; (void)warning;
        return true;
    }
    // A Sí/No question with the exclamation icon, "No" the default: true for "Sí".
    virtual bool askYesNo(const std::string& text) {
        (void)text;
        return true;
    }
    // An OK box with the information icon (exclamation when `warning`).
    virtual void inform(const std::string& text, bool warning) { (void)text; (void)warning; }
    // Open a document or an address with the desktop's default program.
    virtual void openDocument(const std::string& address) { (void)address; }
};

} // namespace quorvin
