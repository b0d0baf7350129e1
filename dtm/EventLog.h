#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <span>
#include <vector>

// A time stamp as the device keeps it: the year as an offset from 2000, then month, day,
// hour, minute and second.
struct SDeviceTime {
    int year = 0;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;

    bool operator==(const SDeviceTime&) const = default;
};

// The positioner's event log: records of kRecordSize bytes (code, information, year offset,
// month, day, hour, minute, second, 0, 0), oldest first, at most kCapacity (the oldest go).
class CEventLog {
public:
    static constexpr std::size_t kRecordSize = 10;
    static constexpr std::size_t kCapacity = 1000;
    static constexpr std::size_t kHistoryEvents = 40;
    static constexpr std::uint32_t kHistorySeed = 700;

    static constexpr std::uint8_t kReset = 0;
    static constexpr std::uint8_t kCalibrationStarted = 1;
    static constexpr std::uint8_t kCalibrationFinished = 2;
    static constexpr std::uint8_t kCalibrationAborted = 3;
    static constexpr std::uint8_t kModeChanged = 7;
    static constexpr std::uint8_t kAlarmOn = 8;
    static constexpr std::uint8_t kAlarmOff = 9;
    static constexpr std::uint8_t kTimeSynchronisation = 11;
    static constexpr std::uint8_t kHighestCode = 14;

    // `clock` gives the device time new events are stamped with.
    explicit CEventLog(std::function<SDeviceTime()> clock) : m_clock(std::move(clock)) {}

    // An event stamped with the device clock.
    void Append(std::uint8_t code, std::uint8_t information);
    void Append(std::uint8_t code, std::uint8_t information, const SDeviceTime& time);
    // kHistoryEvents events from a fixed seed, always the same: codes 0 to 14, a reset first,
    // stamped minutes to hours apart over the weeks before `end`.
    void AppendHistory(const SDeviceTime& end);
    // For tests and long logs: `count` events, codes cycling 0 to 14 and information 0, 1, 2,
    // ..., one second apart from the device clock on.
    void AppendTestEvents(std::size_t count);
    void Clear() { m_records.clear(); }

    std::size_t Size() const { return m_records.size(); }
    // Every record, oldest first, kRecordSize bytes each.
    std::vector<std::uint8_t> Bytes() const;

private:
    using Record = std::array<std::uint8_t, kRecordSize>;

    std::function<SDeviceTime()> m_clock;
    std::deque<Record> m_records;
};

// The time `seconds` after `time` (negative: before).
SDeviceTime AddSeconds(const SDeviceTime& time, long long seconds);
