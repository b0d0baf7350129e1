#pragma once

#include <cstdint>

class CDeviceModel;

// The failure mode: command 33 activates it, command 34 deactivates it. Each takes effect
// after the failure mode delay of scheduler time, as the positioner needs a moment to switch:
// activated, the procedure state 0x015B0002 is 200 (failure mode active); deactivated, it is
// 0 (Clear). A new command before the delay has passed replaces the pending one. What the
// valve does while the state is 200 is the live values' matter (they follow the state).
class CFailureModeProcedure {
public:
    static constexpr std::uint8_t kActivateCommand = 33;
    static constexpr std::uint8_t kDeactivateCommand = 34;
    static constexpr std::uint32_t kStateKey = 0x015B0002;
    static constexpr int kActive = 200;
    static constexpr int kClear = 0;
    static constexpr int kDefaultDelayMs = 600;

    explicit CFailureModeProcedure(CDeviceModel& store) : m_store(store) {}
    CFailureModeProcedure(const CFailureModeProcedure&) = delete;
    CFailureModeProcedure& operator=(const CFailureModeProcedure&) = delete;
    ~CFailureModeProcedure();

    // 33 or 34; other values do nothing.
    void Command(std::uint8_t command);
    bool IsPending() const;

    void SetDelay(int milliseconds) { m_delayMs = milliseconds; }
    int GetDelay() const { return m_delayMs; }

private:
    static constexpr int kTimerId = 1;

    CDeviceModel& m_store;
    int m_delayMs = kDefaultDelayMs;
    bool m_scheduled = false; // a timer was ever started
};
