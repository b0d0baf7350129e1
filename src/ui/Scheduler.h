#pragma once

#include <cstdint>
#include <functional>

// Timers and posted calls of the user-interface thread. A timer is named by its owner and
// an id, like a window timer: starting an id that already runs replaces it. Handlers run on
// the UI thread through Guarded(), so an exception never reaches the event loop.
class IScheduler {
public:
    using Handler = std::function<void()>;

    virtual ~IScheduler() = default;

    // A periodic timer: the handler runs every `intervalMs` until stopped.
    virtual void StartTimer(const void* owner, int id, int intervalMs, Handler handler) = 0;
    // A one-shot timer: the handler runs once after `delayMs`.
    virtual void StartOneShot(const void* owner, int id, int delayMs, Handler handler) = 0;
    // False when no such timer ran.
    virtual bool StopTimer(const void* owner, int id) = 0;
    virtual void StopAll(const void* owner) = 0;
    virtual bool IsRunning(const void* owner, int id) const = 0;
    // Runs `call` after the current call returns to the event loop.
    virtual void Post(Handler call) = 0;
    // Milliseconds on a monotonic clock.
    virtual std::int64_t NowMs() const = 0;
};

// The process-wide scheduler: a Qt one unless a test installed another.
IScheduler& Scheduler();
// Installs `scheduler` as the process-wide one (null restores the Qt scheduler). The caller
// keeps ownership.
void SetScheduler(IScheduler* scheduler);
// Deletes the Qt scheduler that Scheduler() made, with its timers; the next call of
// Scheduler() makes a new one. A library calls it before it is unloaded, so that no timer of
// its outlives its code.
void ReleaseDefaultScheduler();
