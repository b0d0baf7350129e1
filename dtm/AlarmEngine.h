#pragma once

#include <cstdint>
#include <vector>

class CAlarmLog;
class CDeviceModel;
class CEventLog;

// The positioner's set of active alarms, by alarm number (those of the alarm information
// file). It keeps the active alarm count and the current alarm (the most recently raised of
// the active ones, 0 when none is active) in the parameter store, and with an alarm log the
// alarm summary and the active diagnostic alarms of the enables record. A raise appends
// "alarm on" (code 8) and a clear "alarm off" (code 9) with the alarm number to the event
// log, if given, and changes the alarm's record in the alarm log, if given.
class CAlarmEngine {
public:
    static constexpr std::uint32_t kActiveAlarmCountKey = 0x01680000;
    static constexpr std::uint32_t kCurrentAlarmKey = 0x01670000;

    // Starts with no alarm active and says so in the store.
    explicit CAlarmEngine(CDeviceModel& store, CEventLog* events = nullptr,
                          CAlarmLog* log = nullptr);

    // Raising an active alarm again or clearing an inactive one changes nothing. Alarm
    // number 0 means "no alarm" and is never raised.
    void Raise(std::uint32_t alarm);
    void Clear(std::uint32_t alarm);
    void ClearAll();
    // Acknowledges the alarm's record in the alarm log and notes the alarm and the record's
    // state (255 when it has none) in the summary.
    void Acknowledge(std::uint32_t alarm);

    // The temperature alarm from the live temperature: raised while its record is on and the
    // temperature is above Hi, cleared when it is off or the temperature has fallen below Hi
    // minus the hysteresis.
    void CheckTemperature(double celsius);

    bool IsActive(std::uint32_t alarm) const;
    // The active alarms, oldest first.
    const std::vector<std::uint32_t>& Active() const { return m_active; }

    // Writes what the store shows of the active alarms and the alarm log.
    void Publish() const;

private:
    void Log(std::uint8_t code, std::uint32_t alarm) const;

    CDeviceModel& m_store;
    CEventLog* m_events;
    CAlarmLog* m_log;
    std::vector<std::uint32_t> m_active;
};
