#pragma once

#include "ui/Scheduler.h"

#include <map>
#include <set>
#include <utility>

// Forwards to another scheduler and keeps count of the one-shot timers each owner has
// pending. The frame installs it in front of the Qt scheduler to tell when the simulated DTM
// has no reply on its way, which is when start-up or a view switch has settled.
class CTrackingScheduler : public IScheduler {
public:
    explicit CTrackingScheduler(IScheduler& inner) : m_inner(inner) {}

    void StartTimer(const void* owner, int id, int intervalMs, Handler handler) override;
    void StartOneShot(const void* owner, int id, int delayMs, Handler handler) override;
    bool StopTimer(const void* owner, int id) override;
    void StopAll(const void* owner) override;
    bool IsRunning(const void* owner, int id) const override;
    void Post(Handler call) override { m_inner.Post(std::move(call)); }
    std::int64_t NowMs() const override { return m_inner.NowMs(); }

    // One-shot timers of `owner` that were started and have neither fired nor been stopped.
    std::size_t PendingOneShots(const void* owner) const;

private:
    using Key = std::pair<const void*, int>;
    std::set<Key> m_pending;
    IScheduler& m_inner;
};
