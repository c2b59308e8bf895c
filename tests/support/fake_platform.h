// A scripted stand-in for the world outside the core: a settable clock, a random sequence that
// plays the given numbers first and then a seeded generator, and a log of what was asked.
#pragma once

#include "model/platform.h"

#include <deque>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace quorvin::test {

class FakePlatform : public Platform {
public:
    double clock = 1000.0;
    std::deque<double> script;
    std::mt19937 engine{12345};
    int solvedCalls = 0;
    std::function<void()> onSolved;      // runs inside boardSolved, to look at the state then
    std::function<void()> onEvents;      // runs inside processEvents
    std::vector<std::string> opened;     // documents and addresses opened
    std::vector<std::string> questions;  // texts of confirm(), askYesNo(), inform(), in order
    bool answer = true;                  // what confirm() and askYesNo() answer
    std::function<bool(const std::string&)> onConfirm; // when set, answers confirm() instead
    std::optional<std::string> typedName; // what askText() answers (nullopt: cancelled)

    double now() override { return clock; }
    double random() override {
        if (!script.empty()) {
            const double r = script.front();
            script.pop_front();
            return r;
        }
        return static_cast<double>(engine() >> 5) / static_cast<double>(1u << 27);
    }
    void boardSolved() override {
        ++solvedCalls;
        if (onSolved) onSolved();
    }
    void processEvents() override {
        if (onEvents) onEvents();
    }
    void openDocument(const std::string& address) override { opened.push_back(address); }
    bool confirm(const std::string& text, bool) override {
        questions.push_back(text);
        return onConfirm ? onConfirm(text) : answer;
    }
    bool askYesNo(const std::string& text) override { return confirm(text, true); }
    void inform(const std::string& text, bool) override { questions.push_back(text); }
    std::optional<std::string> askText(const std::string&, const std::string& prompt,
                                       const std::string&) override {
        questions.push_back(prompt);
        return typedName;
    }

    // Queues the draws that deal exactly these colours ('1'..'4', other characters skipped).
    void scriptColours(const std::string& colours, int colorCount) {
        for (char c : colours)
            if (c >= '1' && c <= '4') script.push_back((c - '1' + 0.5) / colorCount);
    }
    // Queues the draw that picks cell i on a board of `cells` cells.
    void scriptCell(int i, int cells) { script.push_back((i + 0.5) / cells); }
};

} // namespace quorvin::test
