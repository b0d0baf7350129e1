#pragma once

#include <cstdint>
#include <functional>

// The H1 segment between the DTM and the positioner: every reply takes the bus latency and
// queues behind the reply before it, like frames on the bus. Replies run on the process
// scheduler as timers of `owner` (the DTM, so that the frame sees it busy while replies are
// on their way); those still on the bus when the bus goes away are dropped.
class CSimulatedBus {
public:
    static constexpr int kDefaultLatencyMs = 30;

    // The bus starts every timer of `owner`: no one else may start any.
    explicit CSimulatedBus(const void* owner) : m_owner(owner) {}
    CSimulatedBus(const CSimulatedBus&) = delete;
    CSimulatedBus& operator=(const CSimulatedBus&) = delete;
    ~CSimulatedBus();

    // `deliver` runs when the reply has crossed the bus.
    void Send(std::function<void()> deliver);

    void SetLatency(int milliseconds) { m_latencyMs = milliseconds; }
    int GetLatency() const { return m_latencyMs; }

private:
    const void* m_owner;
    int m_latencyMs = kDefaultLatencyMs;
    std::int64_t m_freeAtMs = 0; // when the last reply queued leaves the bus
    int m_nextReplyId = 1;       // timer id of the next reply
};
