#pragma once

#include <cstdint>
#include <string>

class CDeviceModel;

// Takes the positioner in and out of service: a write of 240 (in service) or 241 (out of
// service) to the service mode target sets the service mode to that value after the mode
// change delay. A new request replaces one still pending; other values are ignored.
class CServiceModeProcedure {
public:
    static constexpr std::uint32_t kTargetKey = 0x01280000;
    static constexpr std::uint32_t kModeKey = 0x01290000;
    static constexpr int kInService = 240;
    static constexpr int kOutOfService = 241;
    // The mode has changed before a read queued behind the write leaves the bus, as the view
    // that wrote the target reads the mode right after; tests set a delay for a slow device.
    static constexpr int kDefaultDelayMs = 0;

    explicit CServiceModeProcedure(CDeviceModel& store) : m_store(store) {}
    CServiceModeProcedure(const CServiceModeProcedure&) = delete;
    CServiceModeProcedure& operator=(const CServiceModeProcedure&) = delete;
    ~CServiceModeProcedure();

    void Start(const std::string& target);
    bool IsPending() const;

    void SetDelay(int milliseconds) { m_delayMs = milliseconds; }
    int GetDelay() const { return m_delayMs; }

private:
    static constexpr int kTimerId = 1;

    CDeviceModel& m_store;
    int m_delayMs = kDefaultDelayMs;
    bool m_scheduled = false; // a timer was ever started
};
