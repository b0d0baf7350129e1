#pragma once

#include "ui/Scheduler.h"

#include <QElapsedTimer>
#include <QObject>

#include <map>
#include <utility>

class QTimer;

// The product's scheduler on QTimer and queued calls.
class CQtScheduler : public QObject, public IScheduler {
    Q_OBJECT
public:
    explicit CQtScheduler(QObject* parent = nullptr);
    ~CQtScheduler() override;

    void StartTimer(const void* owner, int id, int intervalMs, Handler handler) override;
    void StartOneShot(const void* owner, int id, int delayMs, Handler handler) override;
    bool StopTimer(const void* owner, int id) override;
    void StopAll(const void* owner) override;
    bool IsRunning(const void* owner, int id) const override;
    void Post(Handler call) override;
    std::int64_t NowMs() const override;

private:
    using Key = std::pair<const void*, int>;
    void Start(const void* owner, int id, int ms, bool periodic, Handler handler);
    void Discard(QTimer* timer);

    std::map<Key, QTimer*> m_timers;
    QElapsedTimer m_clock;
};
