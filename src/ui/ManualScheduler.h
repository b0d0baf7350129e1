#pragma once

#include "ui/Scheduler.h"

#include <cstdint>
#include <deque>
#include <map>
#include <utility>

// A scheduler whose time moves only when told to, for tests: a 20000 ms time-out takes no
// real time, and the order in which timers fire is exact.
class CManualScheduler : public IScheduler {
public:
    void StartTimer(const void* owner, int id, int intervalMs, Handler handler) override;
    void StartOneShot(const void* owner, int id, int delayMs, Handler handler) override;
    bool StopTimer(const void* owner, int id) override;
    void StopAll(const void* owner) override;
    bool IsRunning(const void* owner, int id) const override;
    void Post(Handler call) override;
    std::int64_t NowMs() const override { return m_now; }

    // Moves the time forward by `ms`, running posted calls and firing every timer that falls
    // due on the way in order of due time (ties in order of starting); a periodic timer fires
    // as often as it falls due, and timers started by a handler fire when they fall due
    // within the advance.
    void AdvanceBy(std::int64_t ms);
    // Runs the posted calls, including those posted while running them.
    void RunPosted();
    // Due time of a running timer, or -1.
    std::int64_t DueTime(const void* owner, int id) const;
    std::size_t TimerCount() const { return m_timers.size(); }

private:
    using Key = std::pair<const void*, int>;
    struct Timer {
        std::int64_t due = 0;
        std::int64_t interval = 0; // 0 for a one-shot timer
        std::uint64_t serial = 0;  // start order; also tells a restarted timer apart
        Handler handler;
    };
    void Start(const void* owner, int id, std::int64_t ms, bool periodic, Handler handler);

    std::map<Key, Timer> m_timers;
    std::deque<Handler> m_posted;
    std::int64_t m_now = 0;
    std::uint64_t m_nextSerial = 1;
};
