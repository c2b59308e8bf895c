// Deals that deduction alone solves, looked for on a thread of their own: the next one is
// prepared while the player plays, so a new game usually has one at once.
#pragma once

#include "model/category.h"

#include <QObject>
#include <QThreadPool>

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace quorvin {

class Session;

class DealMaker : public QObject {
    Q_OBJECT
  public:
    explicit DealMaker(QObject* parent = nullptr);
    ~DealMaker() override;

    // Starts looking for a deal of `category` from `seed`, unless one is ready or being looked
    // for already. A search for another category is given up.
    void prepare(const Category& category, std::uint64_t seed);
    // The draws that deal the ready board of `category`, taken; nothing when none is ready.
    std::optional<std::vector<double>> take(const Category& category);
    bool isReady(const Category& category) const;

    // Deals the session's next game from the ready board of its category (true), or, when none
    // is ready, makes the session wait for one (false; ready() comes when it is found). Either
    // way the next board is looked for at once, from a seed `seed` gives, while the player plays.
    bool deal(Session& session, const std::function<std::uint64_t()>& seed);
    // While a ready board is dealt, the game's chance comes from its draws, in order.
    bool isReplaying() const { return !m_replay.empty(); }
    double nextDraw();

  signals:
    void ready();

  private:
    void stop();

    std::optional<std::vector<double>> m_ready;
    int m_readyFor = -1;                       // the category index of the ready deal
    int m_searching = -1;                      // the category index being looked for; -1: none
    std::shared_ptr<std::atomic<bool>> m_stop; // the search under way gives up when set
    std::deque<double> m_replay;               // the draws of the board being dealt
    QThreadPool m_worker; // declared last: it finishes its work before the rest goes
};

} // namespace quorvin
