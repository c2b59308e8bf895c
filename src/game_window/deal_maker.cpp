// The search for deals that deduction alone solves, one at a time on a worker thread.
#include "game_window/deal_maker.h"

#include "session/session.h"
#include "solver/no_guess.h"

namespace quorvin {

DealMaker::DealMaker(QObject* parent) : QObject(parent) {
    m_worker.setMaxThreadCount(1);
}

DealMaker::~DealMaker() {
    stop();
    m_worker.waitForDone();
}

bool DealMaker::isReady(const Category& category) const {
    return m_ready && m_readyFor == categoryIndex(category);
}

void DealMaker::stop() {
    if (m_stop) *m_stop = true;
    m_stop.reset();
    m_searching = -1;
}

void DealMaker::prepare(const Category& category, std::uint64_t seed) {
    const int index = categoryIndex(category);
    if (isReady(category) || m_searching == index) return;
    stop();
    m_ready.reset();
    m_searching = index;
    m_stop = std::make_shared<std::atomic<bool>>(false);
    m_worker.start([this, category, seed, stop = m_stop] {
        std::optional<NoGuessDeal> deal =
            findNoGuessDeal(category.side, category.colours, category.pattern, seed, stop.get());
        if (!deal || *stop) return; // given up: a later search has taken its place
        QMetaObject::invokeMethod(
            this,
            [this, stop, index = categoryIndex(category), draws = std::move(deal->draws)] {
                if (*stop) return;
                m_ready = draws;
                m_readyFor = index;
                m_searching = -1;
                m_stop.reset();
                emit ready();
            },
            Qt::QueuedConnection);
    });
}

std::optional<std::vector<double>> DealMaker::take(const Category& category) {
    if (!isReady(category)) return std::nullopt;
    std::optional<std::vector<double>> draws = std::move(m_ready);
    m_ready.reset();
    return draws;
}

bool DealMaker::deal(Session& session, const std::function<std::uint64_t()>& seed) {
    const Category category = session.game().category();
    std::optional<std::vector<double>> draws = take(category);
    if (draws) {
        m_replay.assign(draws->begin(), draws->end());
        session.newGame(true);
        m_replay.clear(); // the deal took them all
    } else {
        session.awaitDeal();
    }
    prepare(category, seed());
    return draws.has_value();
}

double DealMaker::nextDraw() {
    const double draw = m_replay.front();
    m_replay.pop_front();
    return draw;
}

} // namespace quorvin
