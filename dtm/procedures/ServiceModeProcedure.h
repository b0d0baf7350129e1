#pragma once

#include <cstdint>
#include <string>

class CDeviceModel;

// Takes the positioner in and out of service: a write of 240 (in service) or 241 (out of
// service) to the service mode target sets the service mode to that value after the mode
// change delay. A new request replaces one still pending; other values are ignored.
//
// The analog output block's actual mode follows: Out of Service while the service mode is
// anything but in service, the block's target mode while it is in service. The store keeps it
// so at every write of the service mode or the target, whoever writes them (this procedure,
// the calibrations, a test).
class CServiceModeProcedure {
public:
    static constexpr std::uint32_t kTargetKey = 0x01280000;
    static constexpr std::uint32_t kModeKey = 0x01290000;
    static constexpr int kInService = 240;
    static constexpr int kOutOfService = 241;
    static constexpr std::uint32_t kBlockModeTargetKey = 0x01050001;
    static constexpr std::uint32_t kBlockModeActualKey = 0x01050002;
    static constexpr int kBlockOutOfService = 128;
    // The mode has changed before a read queued behind the write leaves the bus, as the view
    // that wrote the target reads the mode right after; tests set a delay for a slow device.
    static constexpr int kDefaultDelayMs = 0;

    explicit CServiceModeProcedure(CDeviceModel& store);
    CServiceModeProcedure(const CServiceModeProcedure&) = delete;
    CServiceModeProcedure& operator=(const CServiceModeProcedure&) = delete;
    ~CServiceModeProcedure();

    void Start(const std::string& target);
    bool IsPending() const;
    // Writes the block's actual mode from the service mode and the target mode.
    void UpdateBlockMode() const;

    void SetDelay(int milliseconds) { m_delayMs = milliseconds; }
    int GetDelay() const { return m_delayMs; }

private:
    static constexpr int kTimerId = 1;

    CDeviceModel& m_store;
    int m_delayMs = kDefaultDelayMs;
    bool m_scheduled = false; // a timer was ever started
};
