// The game's keys: the digits, K, the space bar and the arrows, from the keyboard to the session,
// whichever widget of the game window has the focus.
#pragma once

#include <QObject>

#include <functional>

class QWidget;

namespace quorvin {

class Session;

class GameKeys : public QObject {
  public:
    // Watches the key events of every widget of `window` (it installs itself on the
    // application) and renders after each one it forwards.
    GameKeys(QWidget* window, Session& session, std::function<void()> render);
    ~GameKeys() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* m_window;
    Session& m_session;
    std::function<void()> m_render;
};

} // namespace quorvin
