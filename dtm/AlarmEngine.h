#pragma once

#include <cstdint>
#include <vector>

class CDeviceModel;
class CEventLog;

// The positioner's set of active alarms, by alarm number (those of the alarm information
// file). It keeps the active alarm count and the current alarm (the most recently raised of
// the active ones, 0 when none is active) in the parameter store. A raise appends "alarm on"
// (code 8) and a clear "alarm off" (code 9) with the alarm number to the event log, if given.
class CAlarmEngine {
public:
    static constexpr std::uint32_t kActiveAlarmCountKey = 0x01680000;
    static constexpr std::uint32_t kCurrentAlarmKey = 0x01670000;

    // Starts with no alarm active and says so in the store.
    explicit CAlarmEngine(CDeviceModel& store, CEventLog* events = nullptr);

    // Raising an active alarm again or clearing an inactive one changes nothing. Alarm
    // number 0 means "no alarm" and is never raised.
    void Raise(std::uint32_t alarm);
    void Clear(std::uint32_t alarm);
    void ClearAll();

    bool IsActive(std::uint32_t alarm) const;
    // The active alarms, oldest first.
    const std::vector<std::uint32_t>& Active() const { return m_active; }

private:
    void Publish() const;

    void Log(std::uint8_t code, std::uint32_t alarm) const;

    CDeviceModel& m_store;
    CEventLog* m_events;
    std::vector<std::uint32_t> m_active;
};
