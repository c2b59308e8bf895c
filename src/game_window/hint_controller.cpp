// The hint's orchestration: one question at a time on a thread of its own, so the window never
// waits for the engine.
#include "game_window/hint_controller.h"

#include <QWidget>

namespace quorvin {

HintController::HintController(Session& session, QWidget* busy, std::function<void()> render,
                               QObject* parent)
    : QObject(parent), m_session(session), m_busy(busy), m_render(std::move(render)) {
    setObjectName(QStringLiteral("Pista"));
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("TimerPista"));
    m_timer->setSingleShot(true);
    m_timer->setInterval(2000);
    connect(m_timer, &QTimer::timeout, this, [this] {
        m_session.hintExpired();
        m_render();
    });
    m_worker.setMaxThreadCount(1);
}

HintController::~HintController() {
    stop();
    m_worker.waitForDone();
}

// The question goes to the worker as a copy of what the player sees; the answer comes back to
// this thread, where the session drops it if the position has changed meanwhile. The engine
// answers in two stages within its budget (a cell near the cursor proven quickly, else the whole
// question); meanwhile the pointer shows that the game is thinking, and the board goes on
// answering every click.
void HintController::ask() {
    if (!m_session.canHint()) return;
    stop(); // an earlier question still being worked out is of no use now
    const unsigned question = ++m_questions;
    m_wanted = question;
    if (m_asked++ == 0) m_busy->setCursor(Qt::BusyCursor);
    HintRequest request = m_session.requestHint();
    m_askedAt = request.stamp;
    m_worker.start([this, question, budget = m_budget, request = std::move(request)] {
        // Taking the position clears the engine's stop: a stop asked for before that is seen
        // here instead, by the question's own mark.
        HintAnswer answer{HintOutcome::Stopped, {-1, 0}};
        if (m_wanted == question)
            answer = findHint(m_deduction, request.position, request.cursor, budget);
        if (m_wanted != question) answer.outcome = HintOutcome::Stopped;
        QMetaObject::invokeMethod(
            this,
            [this, stamp = request.stamp, answer] {
                if (--m_asked == 0) m_busy->unsetCursor();
                if (m_session.showHint(stamp, answer)) m_timer->start();
                m_render();
            },
            Qt::QueuedConnection);
    });
}

void HintController::positionShown() {
    if (m_asked > 0 && m_session.positionStamp() != m_askedAt) stop();
}

void HintController::stop() {
    m_wanted = 0;
    m_deduction.interrupt();
}

} // namespace quorvin
