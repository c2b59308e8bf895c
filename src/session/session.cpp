// The game window's rules: new game, clock, rank line, pause, mouse and keyboard.
#include "session/session.h"

#include "model/names.h"

#include <charconv>
#include <cmath>

namespace quorvin {

std::string clockText(double seconds) {
    // A difference of two clock readings lands a hair below a tenth as often as on it; a
    // microsecond more keeps 12.3 s from reading 12.2 without changing any honest reading.
    seconds += 1e-6;
    const auto whole = static_cast<long long>(std::floor(seconds));
    if (seconds >= 100) return std::to_string(whole);
    const auto tenths = static_cast<long long>(std::floor((seconds - static_cast<double>(whole)) * 10));
    return std::to_string(whole) + "." + std::to_string(tenths);
}

double leadingNumber(const std::string& text) {
    std::size_t start = 0;
    while (start < text.size() && text[start] == ' ') ++start;
    double value = 0;
    const auto result = std::from_chars(text.data() + start, text.data() + text.size(), value);
    return result.ec == std::errc() ? value : 0.0;
}

std::string shortTime(const std::string& entry, char decimalSeparator) {
    const long long tenths = std::llround(leadingNumber(entry) * 10);
    std::string text = std::to_string(tenths / 10);
    if (tenths % 10 != 0) text += decimalSeparator + std::to_string(tenths % 10);
    return text;
}

void Session::newGame() {
    Game& g = m_game;
    panelVisible = true;
    noticeVisible = g.boardSize > 7;
    boardVisible = false;
    startButtonVisible = false;
    g.deal(); // lets window events run once, so the notice is painted while the board is dealt
    m_startTime = g.platform().now();
    clock = "0";
    startCaption = "Empezar";
    startButtonVisible = true;

    categoryKey = std::to_string(g.colorCount) + "  " + std::string(sizeName(g.boardSize)) + "  " +
                  std::string(patternName(g.startPattern));
    categoryTimes = categoryTimesOf ? categoryTimesOf(categoryKey) : std::vector<std::string>{"999"};
    if (categoryTimes.empty()) categoryTimes.push_back("999");
    noticeVisible = false;
}

void Session::pressStart() {
    Game& g = m_game;
    boardVisible = true;
    startButtonVisible = false;
    const double now = g.platform().now();
    if (startCaption.front() == 'E') m_startTime = now;
    else m_startTime += now - m_pauseTime;
    g.rankText = "1º (" + shortTime(categoryTimes.front(), decimalSeparator) + ")";
    g.cursorFrameVisible = true;
    g.timerEnabled = true;
}

void Session::tick() {
    Game& g = m_game;
    if (leadingNumber(clock) >= 999) {
        // The clock stops for good; the game goes on without it.
        clock = "999";
        g.timerEnabled = false;
        return;
    }
    clock = clockText(g.platform().now() - m_startTime);
    showRank(leadingNumber(clock));
}

void Session::showRank(double time) {
    for (std::size_t i = 0; i < categoryTimes.size(); ++i) {
        if (leadingNumber(categoryTimes[i]) > time) {
            m_game.rankText = std::to_string(i + 1) + "º (" +
                              shortTime(categoryTimes[i], decimalSeparator) + ")";
            return;
        }
    }
}

void Session::pause() {
    Game& g = m_game;
    if (!g.gameRunning) return;
    g.timerEnabled = false;
    m_pauseTime = g.platform().now();
    boardVisible = false;
    // Paused before the first tick, the button still reads "Empezar" and starts afresh.
    if (clock != "0") startCaption = "Continuar";
    g.cursorFrameVisible = false;
    startButtonVisible = true;
}

void Session::pressCell(int i, MouseButton button) {
    Game& g = m_game;
    if (!g.gameRunning || button != MouseButton::Left) return;
    if (g.peekMode) g.peekColour = g.board[static_cast<std::size_t>(i)];
    else g.playCell(i);
}

void Session::releaseCell(int /*i*/, MouseButton button) {
    Game& g = m_game;
    if (!g.gameRunning) return;
    if (g.peekMode) g.peekColour = kWindowBackground;
    else if (button == MouseButton::Right) g.nextColour();
}

void Session::hoverCell(int i) {
    Game& g = m_game;
    if (!g.gameRunning || i == g.cursorCell) return;
    g.highlightCursor(false);
    g.cursorCell = i;
    g.cursorFrameVisible = true;
    g.highlightCursor(true);
}

void Session::releaseSwatch() { m_game.nextColour(); }

void Session::keyDown(int key) {
    Game& g = m_game;
    if (!g.gameRunning) return;
    if (key == KeyK) g.peekMode = true;
    const int n = g.boardSize;
    const int c = g.cursorCell;
    switch (key) {
    case KeySpace:
        g.nextColour();
        break;
    case KeyUp:
        g.cursorCell = c <= n - 1 ? n * n - n + c : c - n;
        break;
    case KeyDown:
        g.cursorCell = c >= n * n - n ? c - (n * n - n) : c + n;
        break;
    case KeyLeft:
        g.cursorCell = c % n != 0 ? c - 1 : c + n - 1;
        break;
    case KeyRight:
        g.cursorCell = (c + 1) % n != 0 ? c + 1 : c - (n - 1);
        break;
    default:
        if (key >= Key1 && key <= Key4) {
            const int colour = key - Key1 + 1;
            if (colour > g.colorCount) return;
            g.selectColour(colour);
            const auto cell = static_cast<std::size_t>(c);
            if (!g.cells[cell].isHidden()) return;
            if (g.board[cell] == colour) g.guessRight(c);
            else g.guessWrong(c);
        }
        break;
    }
    if (!g.gameRunning) return; // the move ended the game: the cursor stays as the end left it
    const int moved = g.cursorCell;
    g.cursorCell = c;
    g.highlightCursor(false);
    g.cursorCell = moved;
    g.highlightCursor(true);
}

void Session::keyUp(int key) {
    if (key == KeyK) m_game.peekMode = false;
}

} // namespace quorvin
