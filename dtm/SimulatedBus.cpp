#include "dtm/SimulatedBus.h"

#include "ui/Scheduler.h"

#include <algorithm>

CSimulatedBus::~CSimulatedBus() {
    if (m_nextReplyId > 1) { // replies were scheduled: none may run after this object
        Scheduler().StopAll(m_owner);
    }
}

void CSimulatedBus::Send(std::function<void()> deliver) {
    IScheduler& scheduler = Scheduler();
    const std::int64_t now = scheduler.NowMs();
    m_freeAtMs = std::max(now, m_freeAtMs) + std::max(m_latencyMs, 0);
    scheduler.StartOneShot(m_owner, m_nextReplyId++, static_cast<int>(m_freeAtMs - now),
                           std::move(deliver));
}
