#include "dtm/AlarmEngine.h"

#include "dtm/DeviceModel.h"
#include "dtm/EventLog.h"

#include <algorithm>
#include <string>
#include <utility>

CAlarmEngine::CAlarmEngine(CDeviceModel& store, CEventLog* events)
    : m_store(store), m_events(events) {
    Publish();
}

void CAlarmEngine::Raise(std::uint32_t alarm) {
    if (alarm == 0 || IsActive(alarm)) {
        return;
    }
    m_active.push_back(alarm);
    Publish();
    Log(CEventLog::kAlarmOn, alarm);
}

void CAlarmEngine::Clear(std::uint32_t alarm) {
    if (std::erase(m_active, alarm) > 0) {
        Publish();
        Log(CEventLog::kAlarmOff, alarm);
    }
}

void CAlarmEngine::ClearAll() {
    const std::vector<std::uint32_t> cleared = std::exchange(m_active, {});
    Publish();
    for (const std::uint32_t alarm : cleared) {
        Log(CEventLog::kAlarmOff, alarm);
    }
}

bool CAlarmEngine::IsActive(std::uint32_t alarm) const {
    return std::ranges::find(m_active, alarm) != m_active.end();
}

void CAlarmEngine::Publish() const {
    m_store.Write(kActiveAlarmCountKey, std::to_string(m_active.size()));
    m_store.Write(kCurrentAlarmKey, std::to_string(m_active.empty() ? 0 : m_active.back()));
}

void CAlarmEngine::Log(std::uint8_t code, std::uint32_t alarm) const {
    if (m_events != nullptr) {
        m_events->Append(code, static_cast<std::uint8_t>(alarm & 0xFF));
    }
}
