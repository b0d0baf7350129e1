#include "dtm/AlarmEngine.h"

#include "dtm/DeviceModel.h"

#include <algorithm>
#include <string>

CAlarmEngine::CAlarmEngine(CDeviceModel& store) : m_store(store) {
    Publish();
}

void CAlarmEngine::Raise(std::uint32_t alarm) {
    if (alarm == 0 || IsActive(alarm)) {
        return;
    }
    m_active.push_back(alarm);
    Publish();
}

void CAlarmEngine::Clear(std::uint32_t alarm) {
    if (std::erase(m_active, alarm) > 0) {
        Publish();
    }
}

void CAlarmEngine::ClearAll() {
    m_active.clear();
    Publish();
}

bool CAlarmEngine::IsActive(std::uint32_t alarm) const {
    return std::ranges::find(m_active, alarm) != m_active.end();
}

void CAlarmEngine::Publish() const {
    m_store.Write(kActiveAlarmCountKey, std::to_string(m_active.size()));
    m_store.Write(kCurrentAlarmKey, std::to_string(m_active.empty() ? 0 : m_active.back()));
}
