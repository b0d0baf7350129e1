#include "dtm/AlarmLog.h"

#include <algorithm>

namespace {

constexpr std::uint8_t kActiveBit = 1;
constexpr std::uint8_t kAcknowledgedBit = 2;

} // namespace

CAlarmLog::SRecord* CAlarmLog::Find(std::uint32_t alarm) {
    const auto it = std::ranges::find(m_records, alarm, &SRecord::alarm);
    return it != m_records.end() ? &*it : nullptr;
}

void CAlarmLog::Raise(std::uint32_t alarm) {
    std::erase_if(m_records, [alarm](const SRecord& record) { return record.alarm == alarm; });
    m_records.push_back({alarm, kActiveUnacknowledged, ++m_lastOrder});
    while (m_records.size() > kCapacity) {
        m_records.pop_front();
    }
}

void CAlarmLog::Clear(std::uint32_t alarm) {
    if (SRecord* record = Find(alarm)) {
        record->state &= static_cast<std::uint8_t>(~kActiveBit);
    }
}

bool CAlarmLog::Acknowledge(std::uint32_t alarm) {
    SRecord* record = Find(alarm);
    if (record == nullptr) {
        return false;
    }
    record->state |= kAcknowledgedBit;
    return true;
}

std::optional<std::uint8_t> CAlarmLog::State(std::uint32_t alarm) const {
    const auto it = std::ranges::find(m_records, alarm, &SRecord::alarm);
    return it != m_records.end() ? std::optional(it->state) : std::nullopt;
}

std::vector<std::uint8_t> CAlarmLog::Bytes() const {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(m_records.size() * kRecordSize);
    for (const SRecord& record : m_records) {
        const SAlarmClass alarmClass = m_classOf(record.alarm);
        bytes.insert(bytes.end(), {static_cast<std::uint8_t>(record.alarm & 0xFF), record.state,
                                   alarmClass.category, alarmClass.priority,
                                   static_cast<std::uint8_t>(record.order & 0xFF),
                                   static_cast<std::uint8_t>(record.order >> 8)});
    }
    return bytes;
}
