#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

// The category and priority an alarm is configured with.
struct SAlarmClass {
    std::uint8_t category = 1; // 0 out of range ... 3 failure
    std::uint8_t priority = 1; // 0 low ... 3 very high
};

// The positioner's alarm log: one record per alarm raised since the start, in the order
// first received, at most kCapacity (the oldest go). A record is kRecordSize bytes: alarm
// number, state, category, priority, received order (16 bits, low byte first). Category and
// priority are the alarm's configured ones when the bytes are asked for.
class CAlarmLog {
public:
    static constexpr std::size_t kRecordSize = 6;
    static constexpr std::size_t kCapacity = 200;

    static constexpr std::uint8_t kInactiveUnacknowledged = 0;
    static constexpr std::uint8_t kActiveUnacknowledged = 1;
    static constexpr std::uint8_t kInactiveAcknowledged = 2;
    static constexpr std::uint8_t kActiveAcknowledged = 3;

    using ClassSource = std::function<SAlarmClass(std::uint32_t alarm)>;

    explicit CAlarmLog(ClassSource classOf) : m_classOf(std::move(classOf)) {}

    // Active and unacknowledged, moved to the end with the next received order.
    void Raise(std::uint32_t alarm);
    // Inactive; acknowledged stays acknowledged.
    void Clear(std::uint32_t alarm);
    // Acknowledged; false (and nothing changes) for an alarm not in the log.
    bool Acknowledge(std::uint32_t alarm);

    // The state of the alarm's record, nothing when it has none.
    std::optional<std::uint8_t> State(std::uint32_t alarm) const;
    std::size_t Size() const { return m_records.size(); }
    // Every record, oldest received first, kRecordSize bytes each.
    std::vector<std::uint8_t> Bytes() const;

private:
    struct SRecord {
        std::uint32_t alarm = 0;
        std::uint8_t state = kActiveUnacknowledged;
        std::uint16_t order = 0;
    };

    SRecord* Find(std::uint32_t alarm);

    ClassSource m_classOf;
    std::deque<SRecord> m_records;
    std::uint16_t m_lastOrder = 0;
};
