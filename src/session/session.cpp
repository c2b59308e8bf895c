// The game window's rules: new game, clock, rank line, pause, mouse and keyboard, the hint.
#include "session/session.h"

#include <algorithm>
#include <cmath>

namespace quorvin {

int shownTenths(double seconds) {
    // A difference of two clock readings lands a hair below a tenth as often as on it; a
    // microsecond more keeps 12.3 s from reading 12.2 without changing any honest reading.
    seconds += 1e-6;
    // A clock that years of sleep kept from ticking shows no more than 10^8 s: int holds that,
    // and the next tick stops it at its limit anyway.
    const auto whole = static_cast<int>(std::floor(std::min(seconds, 1e8)));
    if (seconds >= 100) return whole * 10;
    return whole * 10 + static_cast<int>(std::floor((seconds - whole) * 10));
}

void Session::newGame(bool noGuess) {
    Game& g = m_game;
    positionChanged();
    m_hintUsed = false;
    searchingDeal = false;
    noGuessGame = noGuess;
    panelVisible = true;
    noticeVisible = g.boardSize > 7;
    boardVisible = false;
    startButtonVisible = false;
    g.deal(); // lets window events run once, so the notice is painted while the board is dealt
    m_startTime = g.platform().now();
    clock = ClockReading{};
    startAction = StartAction::Start;
    startButtonVisible = true;

    category = categoryIndex(g.category());
    categoryTimes = categoryTimesOf ? categoryTimesOf(category, noGuess) : std::vector<int>{};
    if (categoryTimes.empty()) categoryTimes.push_back(kClockLimitTenths);
    noticeVisible = false;
}

void Session::awaitDeal() {
    Game& g = m_game;
    positionChanged();
    g.gameRunning = false;
    g.timerEnabled = false;
    g.cursorFrameVisible = false;
    g.lostMarkerVisible = false;
    g.rank.reset();
    boardVisible = false;
    panelVisible = true;
    clock = ClockReading{};
    startAction = StartAction::Start;
    startButtonVisible = true;
    noticeVisible = true;
    searchingDeal = true;
}

void Session::pressStart() {
    if (searchingDeal) return;
    Game& g = m_game;
    boardVisible = true;
    startButtonVisible = false;
    const double now = g.platform().now();
    if (startAction == StartAction::Start) m_startTime = now;
    else m_startTime += now - m_pauseTime;
    g.rank = Rank{1, categoryTimes.front()};
    g.cursorFrameVisible = true;
    g.timerEnabled = true;
}

void Session::tick() {
    Game& g = m_game;
    if (clock.tenths >= kClockLimitTenths) {
        // The clock stops for good; the game goes on without it.
        clock.tenths = kClockLimitTenths;
        g.timerEnabled = false;
        return;
    }
    clock = ClockReading{true, shownTenths(g.platform().now() - m_startTime)};
    showRank();
}

// The place of the first time the clock has not reached; past them all, the line stays as it is.
void Session::showRank() {
    for (std::size_t i = 0; i < categoryTimes.size(); ++i) {
        if (categoryTimes[i] > clock.tenths) {
            m_game.rank = Rank{static_cast<int>(i) + 1, categoryTimes[i]};
            return;
        }
    }
}

void Session::pause() {
    Game& g = m_game;
    if (!g.gameRunning) return;
    positionChanged();
    g.timerEnabled = false;
    m_pauseTime = g.platform().now();
    boardVisible = false;
    // Paused before the first tick, the button still starts afresh.
    if (clock.ticked) startAction = StartAction::Continue;
    g.cursorFrameVisible = false;
    startButtonVisible = true;
}

void Session::pressCell(int i, MouseButton button) {
    Game& g = m_game;
    if (!g.gameRunning || button != MouseButton::Left) return;
    if (g.peekMode) {
        g.peekColour = g.board[static_cast<std::size_t>(i)];
        return;
    }
    if (g.cells[static_cast<std::size_t>(i)].isHidden()) positionChanged();
    g.playCell(i);
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
            positionChanged();
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

void Session::positionChanged() {
    ++m_stamp;
    hintExpired();
}

HintRequest Session::requestHint() const {
    return {visiblePosition(m_game), m_game.cursorCell, m_stamp};
}

bool Session::showHint(unsigned stamp, const HintAnswer& answer) {
    if (stamp != m_stamp || !canHint() || answer.outcome == HintOutcome::Stopped) return false;
    hintExpired();
    switch (answer.outcome) {
    case HintOutcome::Forced:
        m_hintCell = answer.cell.cell;
        m_hintColour = answer.cell.colour;
        break;
    case HintOutcome::NoneForced:
        m_hintLine = kNoSafeMoveLine;
        break;
    case HintOutcome::Undecided:
    case HintOutcome::Stopped: // not shown: left above
        m_hintLine = kUndecidedHintLine;
        break;
    }
    // A framed cell or the proof that none is certain helps the player, and keeps the game out
    // of the records; the line of a budget that ran out tells nothing about the board, so a
    // game where only that showed may still enter them.
    if (answer.outcome != HintOutcome::Undecided) m_hintUsed = true;
    return true;
}

bool Session::showHint(unsigned stamp, const std::vector<ForcedCell>& forced) {
    return showHint(stamp, nearestForced(forced, m_game.boardSize, m_game.cursorCell));
}

void Session::hintExpired() {
    m_hintCell = -1;
    m_hintLine.clear();
}

} // namespace quorvin
