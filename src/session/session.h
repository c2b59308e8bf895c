// One game as the game window plays it: the new game around the deal, the clock with its rank
// line, the start button and pause, and the mouse and keyboard rules. Qt-free; the window
// forwards its input here and renders what this and the Game hold.
#pragma once

#include "model/game.h"
#include "solver/deduction.h"
#include "solver/hint.h"
#include "solver/visible_position.h"

#include <functional>
#include <string>
#include <vector>

namespace quorvin {

enum class MouseButton { Left, Right, Other };

// Key codes the game reacts to, as the keyboard sends them.
enum Key : int {
    KeySpace = 32,
    KeyLeft = 37,
    KeyUp = 38,
    KeyRight = 39,
    KeyDown = 40,
    Key1 = 49,
    Key4 = 52,
    KeyK = 75,
};

// What the clock shows. A new game shows 0 until the first tick, which shows the time even when
// it is still 0.0 s: a game paused or reconfigured after that tick counts as played.
struct ClockReading {
    bool ticked = false;
    // The time shown, in tenths of a second: cut to tenths below 100 s, to whole seconds from
    // there (1234 is 123.4 s; 1230 is 123 s). At most the clock's limit once it has stopped,
    // though one late tick can show 1000 s or more before that.
    int tenths = 0;
    bool operator==(const ClockReading&) const = default;
};

// The time the clock shows after e seconds, in tenths.
int shownTenths(double seconds);

// What the start button does: start the clock afresh ("Empezar") or continue it ("Continuar").
enum class StartAction { Start, Continue };

// A hint asked for: what the player sees now, the keyboard cursor's cell, and the mark of this
// position. The worker answers it with findHint(deduction, position, cursor).
struct HintRequest {
    VisiblePosition position;
    int cursor = 0;
    unsigned stamp = 0;
};

// The lines the hint writes under the board, instead of the rank, while its answer shows.
inline constexpr const char* kNoSafeMoveLine = "No hay jugada segura: toca arriesgar.";
inline constexpr const char* kUndecidedHintLine = "No encuentro una jugada segura a tiempo.";

class Session {
public:
    explicit Session(Game& game) : m_game(game) {}

    Game& game() { return m_game; }
    const Game& game() const { return m_game; }

    // What the window shows besides the Game's own state.
    ClockReading clock;
    StartAction startAction = StartAction::Start;
    bool startButtonVisible = false;
    bool boardVisible = false;  // the cells, the row, column and colour counters
    bool panelVisible = false;  // the selected-colour swatch and the clock, from the first game
    bool noticeVisible = false; // "Generando partida..." while a big board is dealt
    // No board to deal yet: a board that deduction alone solves is still being looked for.
    // The notice says so and the start button waits, shown but disabled.
    bool searchingDeal = false;
    // The board on view was dealt as one that deduction alone solves: its records are kept
    // apart from the others, and its rank line compares with them.
    bool noGuessGame = false;

    // The category of the game's settings, taken at the new game.
    int category = 0;
    // The times to beat, in tenths, best first. The clock's limit is among them, so every time
    // the clock can show below it has a place.
    std::vector<int> categoryTimes{kClockLimitTenths};
    // Gives the category times of a category, of the records of games dealt without a guess
    // or of the others; set by whoever holds the records.
    std::function<std::vector<int>(int category, bool noGuess)> categoryTimesOf;

    // Deals a new game; `noGuess` says the deal is one that deduction alone solves.
    void newGame(bool noGuess = false);
    // The game on view ends and the window waits for a board to deal (see searchingDeal).
    void awaitDeal();
    void pressStart();
    void tick();
    void pause();

    void pressCell(int i, MouseButton button);
    void releaseCell(int i, MouseButton button);
    void hoverCell(int i);
    void releaseSwatch();

    void keyDown(int key);
    void keyUp(int key);

    // The hint: asked for while a game runs with its board on view; its answer is shown only
    // if nothing has been played, paused or dealt since it was asked for.
    bool canHint() const { return m_game.gameRunning && boardVisible; }
    HintRequest requestHint() const;
    // The mark of the position on view: a question asked under another mark is out of date.
    unsigned positionStamp() const { return m_stamp; }
    // Shows the answer: frames its cell, or writes its line under the board. False when
    // nothing is shown: the answer came too late for the position, or was stopped.
    bool showHint(unsigned stamp, const HintAnswer& answer);
    // The same from the whole forced set: its cell nearest the cursor, or "no safe move".
    bool showHint(unsigned stamp, const std::vector<ForcedCell>& forced);
    void hintExpired();
    int hintCell() const { return m_hintCell; } // -1 when nothing is framed
    int hintColour() const { return m_hintColour; }
    // What the line under the board says instead of the rank while a hint shows; empty when
    // the rank shows.
    const std::string& hintLine() const { return m_hintLine; }
    // The line says that no cell is certain, as proven by the engine.
    bool noSafeMoveShown() const { return m_hintLine == kNoSafeMoveLine; }
    // A game in which a hint was shown is not offered to the records; a new game clears it.
    bool hintUsed() const { return m_hintUsed; }

private:
    void showRank();
    void positionChanged();

    Game& m_game;
    double m_startTime = 0;
    double m_pauseTime = 0;
    unsigned m_stamp = 0; // changes with every move, pause and new game
    int m_hintCell = -1;
    int m_hintColour = 0;
    std::string m_hintLine;
    bool m_hintUsed = false;
};

} // namespace quorvin
