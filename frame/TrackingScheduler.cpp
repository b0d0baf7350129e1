#include "TrackingScheduler.h"

#include <limits>

void CTrackingScheduler::StartTimer(const void* owner, int id, int intervalMs, Handler handler) {
    m_pending.erase({owner, id}); // a periodic timer replaces a one-shot of the same id
    m_inner.StartTimer(owner, id, intervalMs, std::move(handler));
}

void CTrackingScheduler::StartOneShot(const void* owner, int id, int delayMs, Handler handler) {
    const Key key{owner, id};
    m_pending.insert(key);
    m_inner.StartOneShot(owner, id, delayMs, [this, key, handler = std::move(handler)] {
        m_pending.erase(key);
        handler();
    });
}

bool CTrackingScheduler::StopTimer(const void* owner, int id) {
    m_pending.erase({owner, id});
    return m_inner.StopTimer(owner, id);
}

void CTrackingScheduler::StopAll(const void* owner) {
    std::erase_if(m_pending, [owner](const Key& key) { return key.first == owner; });
    m_inner.StopAll(owner);
}

bool CTrackingScheduler::IsRunning(const void* owner, int id) const {
    return m_inner.IsRunning(owner, id);
}

std::size_t CTrackingScheduler::PendingOneShots(const void* owner) const {
    const auto first = m_pending.lower_bound({owner, std::numeric_limits<int>::min()});
    std::size_t count = 0;
    for (auto it = first; it != m_pending.end() && it->first == owner; ++it) {
        ++count;
    }
    return count;
}
