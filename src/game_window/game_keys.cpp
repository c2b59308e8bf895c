// The game's keys, matched by their place on the keyboard where the system tells it.
#include "game_window/game_keys.h"

#include "session/session.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace quorvin {

namespace {

// Where the keys that play lie on the keyboard: the digit row's 1 (the next three follow it) and
// K, as native scan codes. X11 and Wayland report the XKB key code (the evdev code plus 8),
// Windows the set-1 scan code; elsewhere none is known.
#if defined(Q_OS_WIN)
constexpr quint32 kScanDigit1 = 2;
constexpr quint32 kScanK = 37;
#elif defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
constexpr quint32 kScanDigit1 = 10;
constexpr quint32 kScanK = 45;
#else
constexpr quint32 kScanDigit1 = 0;
constexpr quint32 kScanK = 0;
#endif

// The game's key code (Key1 to Key4, KeyK, KeySpace, the arrows) for a key event, 0 for a key
// the game does not use. The digits and K are matched by their place, not by what they type:
// Shift plays the same colour (Shift+1 types "!"), a layout whose digit row needs Shift still
// plays from that row, and K peeks from its place whatever letter the layout puts there. The
// numeric keypad's digits lie elsewhere and do nothing. Without a scan code (a system whose codes
// are not known here, or the offscreen platform) the key is matched by what it types, the keypad
// left out.
int gameKey(const QKeyEvent& key) {
    switch (key.key()) {
    case Qt::Key_Space:
        return KeySpace;
    case Qt::Key_Left:
        return KeyLeft;
    case Qt::Key_Up:
        return KeyUp;
    case Qt::Key_Right:
        return KeyRight;
    case Qt::Key_Down:
        return KeyDown;
    default:
        break;
    }
    const quint32 scan = key.nativeScanCode();
    if (scan != 0 && kScanK != 0) {
        if (scan == kScanK) return KeyK;
        if (scan >= kScanDigit1 && scan < kScanDigit1 + 4)
            return Key1 + static_cast<int>(scan - kScanDigit1);
        return 0;
    }
    if (key.key() == Qt::Key_K) return KeyK;
    if (key.key() >= Qt::Key_1 && key.key() <= Qt::Key_4 && !(key.modifiers() & Qt::KeypadModifier))
        return Key1 + (key.key() - Qt::Key_1);
    return 0;
}

} // namespace

GameKeys::GameKeys(QWidget* window, Session& session, std::function<void()> render)
    : QObject(window), m_window(window), m_session(session), m_render(std::move(render)) {
    qApp->installEventFilter(this);
}

GameKeys::~GameKeys() {
    qApp->removeEventFilter(this);
}

// The game's keys act while the board is shown; before the start and during a pause the board is
// hidden, so a key can never play a cell unseen.
bool GameKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != m_window) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const int code = gameKey(*key);
    if (code == 0) return false;
    if (event->type() == QEvent::KeyRelease) {
        // A held key repeats as release and press pairs; only the real release counts.
        if (!key->isAutoRepeat()) m_session.keyUp(code);
        m_render();
        return m_session.boardVisible;
    }
    if (!m_session.boardVisible) return false;
    m_session.keyDown(code);
    m_render();
    return true;
}

} // namespace quorvin
