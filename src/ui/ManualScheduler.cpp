#include "ui/ManualScheduler.h"

#include "ui/Guard.h"

#include <algorithm>
#include <climits>

void CManualScheduler::StartTimer(const void* owner, int id, int intervalMs, Handler handler) {
    Start(owner, id, intervalMs, true, std::move(handler));
}

void CManualScheduler::StartOneShot(const void* owner, int id, int delayMs, Handler handler) {
    Start(owner, id, delayMs, false, std::move(handler));
}

void CManualScheduler::Start(const void* owner, int id, std::int64_t ms, bool periodic,
                             Handler handler) {
    ms = std::max<std::int64_t>(ms, 0);
    // A periodic timer of 0 ms would fire forever within one advance.
    const std::int64_t interval = periodic ? std::max<std::int64_t>(ms, 1) : 0;
    m_timers[{owner, id}] =
        Timer{m_now + (periodic ? interval : ms), interval, m_nextSerial++, std::move(handler)};
}

bool CManualScheduler::StopTimer(const void* owner, int id) {
    return m_timers.erase({owner, id}) > 0;
}

void CManualScheduler::StopAll(const void* owner) {
    auto first = m_timers.lower_bound({owner, INT_MIN});
    auto last = m_timers.upper_bound({owner, INT_MAX});
    m_timers.erase(first, last);
}

bool CManualScheduler::IsRunning(const void* owner, int id) const {
    return m_timers.contains({owner, id});
}

void CManualScheduler::Post(Handler call) {
    m_posted.push_back(std::move(call));
}

void CManualScheduler::RunPosted() {
    while (!m_posted.empty()) {
        Handler call = std::move(m_posted.front());
        m_posted.pop_front();
        Guarded("posted call", call);
    }
}

std::int64_t CManualScheduler::DueTime(const void* owner, int id) const {
    auto it = m_timers.find({owner, id});
    return it == m_timers.end() ? -1 : it->second.due;
}

void CManualScheduler::AdvanceBy(std::int64_t ms) {
    const std::int64_t target = m_now + std::max<std::int64_t>(ms, 0);
    RunPosted();
    for (;;) {
        auto next = m_timers.end();
        for (auto it = m_timers.begin(); it != m_timers.end(); ++it) {
            if (it->second.due <= target &&
                (next == m_timers.end() || it->second.due < next->second.due ||
                 (it->second.due == next->second.due && it->second.serial < next->second.serial))) {
                next = it;
            }
        }
        if (next == m_timers.end()) {
            break;
        }
        m_now = std::max(m_now, next->second.due);
        const Handler handler = next->second.handler;
        if (next->second.interval == 0) {
            m_timers.erase(next); // gone before it runs, so the handler may start it again
        } else {
            next->second.due += next->second.interval;
        }
        Guarded("timer", handler);
        RunPosted();
    }
    m_now = target;
}
