// The hint's orchestration in the game window: the question goes to a worker thread, the busy
// pointer shows meanwhile, the answer comes back to the session, and the frame shows for a while.
#pragma once

#include "session/session.h"
#include "solver/deduction.h"
#include "solver/hint.h"

#include <QObject>
#include <QThreadPool>
#include <QTimer>

#include <atomic>
#include <functional>

class QWidget;

namespace quorvin {

class HintController : public QObject {
    Q_OBJECT
  public:
    // `busy` shows the busy pointer while a question is worked out; `render` repaints the
    // window after an answer or when the frame's time is up.
    HintController(Session& session, QWidget* busy, std::function<void()> render,
                   QObject* parent = nullptr);
    ~HintController() override;

    // Asks the hint for the position on view; an earlier question still being worked out is
    // dropped.
    void ask();
    // Called at every render: a move, a pause or a new deal makes the question being worked
    // out useless, so it is stopped, the pointer comes back and the worker is free.
    void positionShown();
    // The engine's time for one answer (tests shorten it to see the answer that claims nothing).
    void setBudget(std::chrono::steady_clock::duration budget) { m_budget = budget; }

  private:
    void stop();

    Session& m_session;
    QWidget* m_busy;
    std::function<void()> m_render;
    QTimer* m_timer = nullptr; // TimerPista: how long a hint shows
    int m_asked = 0;           // questions whose answers have not come back yet
    unsigned m_askedAt = 0;    // the position mark of the last question
    unsigned m_questions = 0;  // questions asked so far
    std::chrono::steady_clock::duration m_budget = kHintBudget;
    // The question whose answer is still wanted (0: none), read by the worker.
    std::atomic<unsigned> m_wanted{0};
    // The engine keeps what it learnt for the next question of the game.
    Deduction m_deduction;
    QThreadPool m_worker; // declared last: it finishes its work before the rest goes
};

} // namespace quorvin
