// One game as the game window plays it: the new game around the deal, the clock with its rank
// line, the start button and pause, and the mouse and keyboard rules. Qt-free; the window
// forwards its input here and renders what this and the Game hold.
#pragma once

#include "model/game.h"

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

// The clock text for e seconds: tenths below 100 s, whole seconds from there; both cut.
std::string clockText(double seconds);
// The number at the start of a text, "." as decimal point; 0 when there is none.
double leadingNumber(const std::string& text);
// A category time such as "012.3" in its shortest form: "12.3" (with the given separator), "123".
std::string shortTime(const std::string& entry, char decimalSeparator);

class Session {
public:
    explicit Session(Game& game) : m_game(game) {}

    Game& game() { return m_game; }
    const Game& game() const { return m_game; }

    // What the window shows besides the Game's own state.
    std::string clock = "0";                  // the clock display
    std::string startCaption = "Empezar";     // the start/continue button
    bool startButtonVisible = false;
    bool boardVisible = false;     // the cells, the row, column and colour counters
    bool panelVisible = false;     // the selected-colour swatch and the clock, from the first game
    bool noticeVisible = false;    // "Generando partida..." while a big board is dealt
    char decimalSeparator = '.';   // the player's, for the rank line's times

    std::string categoryKey;
    std::vector<std::string> categoryTimes{"999"}; // best first, then the sentinel "999"
    // Gives the category times of a category key; set by whoever holds the records.
    std::function<std::vector<std::string>(const std::string&)> categoryTimesOf;

    void newGame();
    void pressStart();
    void tick();
    void pause();

    void pressCell(int i, MouseButton button);
    void releaseCell(int i, MouseButton button);
    void hoverCell(int i);
    void releaseSwatch();

    void keyDown(int key);
    void keyUp(int key);

private:
    void showRank(double time);

    Game& m_game;
    double m_startTime = 0;
    double m_pauseTime = 0;
};

} // namespace quorvin
