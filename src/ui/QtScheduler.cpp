#include "ui/QtScheduler.h"

#include "ui/Guard.h"

#include <QMetaObject>
#include <QTimer>

#include <algorithm>
#include <climits>

CQtScheduler::CQtScheduler(QObject* parent) : QObject(parent) {
    m_clock.start();
}

CQtScheduler::~CQtScheduler() = default; // the timers are children of this object

void CQtScheduler::StartTimer(const void* owner, int id, int intervalMs, Handler handler) {
    Start(owner, id, intervalMs, true, std::move(handler));
}

void CQtScheduler::StartOneShot(const void* owner, int id, int delayMs, Handler handler) {
    Start(owner, id, delayMs, false, std::move(handler));
}

void CQtScheduler::Start(const void* owner, int id, int ms, bool periodic, Handler handler) {
    StopTimer(owner, id);
    auto* timer = new QTimer(this);
    timer->setSingleShot(!periodic);
    timer->setInterval(std::max(ms, 0));
    const Key key{owner, id};
    connect(timer, &QTimer::timeout, this, [this, timer, key, handler = std::move(handler)] {
        if (!timer->isSingleShot()) {
            Guarded("timer", handler);
            return;
        }
        // A one-shot timer is gone before its handler runs, so the handler may start the
        // same id again.
        auto it = m_timers.find(key);
        if (it != m_timers.end() && it->second == timer) {
            m_timers.erase(it);
        }
        const Handler call = handler;
        Discard(timer);
        Guarded("timer", call);
    });
    m_timers[key] = timer;
    timer->start();
}

void CQtScheduler::Discard(QTimer* timer) {
    timer->stop();
    timer->disconnect();
    timer->deleteLater();
}

bool CQtScheduler::StopTimer(const void* owner, int id) {
    auto it = m_timers.find({owner, id});
    if (it == m_timers.end()) {
        return false;
    }
    Discard(it->second);
    m_timers.erase(it);
    return true;
}

void CQtScheduler::StopAll(const void* owner) {
    for (auto it = m_timers.lower_bound({owner, INT_MIN});
         it != m_timers.end() && it->first.first == owner;) {
        Discard(it->second);
        it = m_timers.erase(it);
    }
}

bool CQtScheduler::IsRunning(const void* owner, int id) const {
    return m_timers.contains({owner, id});
}

void CQtScheduler::Post(Handler call) {
    QMetaObject::invokeMethod(
        this, [call = std::move(call)] { Guarded("posted call", call); }, Qt::QueuedConnection);
}

std::int64_t CQtScheduler::NowMs() const {
    return m_clock.elapsed();
}

namespace {
IScheduler* g_installed = nullptr;
CQtScheduler* g_qtScheduler = nullptr; // made on first use, until released
} // namespace

IScheduler& Scheduler() {
    if (g_installed) {
        return *g_installed;
    }
    if (g_qtScheduler == nullptr) {
        g_qtScheduler = new CQtScheduler();
    }
    return *g_qtScheduler;
}

void ReleaseDefaultScheduler() {
    delete g_qtScheduler; // its timers are its children
    g_qtScheduler = nullptr;
}

void SetScheduler(IScheduler* scheduler) {
    g_installed = scheduler;
}
