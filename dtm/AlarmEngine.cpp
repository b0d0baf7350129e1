#include "dtm/AlarmEngine.h"

#include "dtm/AlarmConfiguration.h"
#include "dtm/AlarmLog.h"
#include "dtm/DeviceModel.h"
#include "dtm/EventLog.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

namespace {

using Configuration = CAlarmConfiguration;

} // namespace

CAlarmEngine::CAlarmEngine(CDeviceModel& store, CEventLog* events, CAlarmLog* log)
    : m_store(store), m_events(events), m_log(log) {
    Publish();
}

void CAlarmEngine::Raise(std::uint32_t alarm) {
    if (alarm == 0 || IsActive(alarm)) {
        return;
    }
    m_active.push_back(alarm);
    if (m_log != nullptr) {
        m_log->Raise(alarm);
    }
    Publish();
    Log(CEventLog::kAlarmOn, alarm);
}

void CAlarmEngine::Clear(std::uint32_t alarm) {
    if (std::erase(m_active, alarm) > 0) {
        if (m_log != nullptr) {
            m_log->Clear(alarm);
        }
        Publish();
        Log(CEventLog::kAlarmOff, alarm);
    }
}

void CAlarmEngine::ClearAll() {
    const std::vector<std::uint32_t> cleared = std::exchange(m_active, {});
    for (const std::uint32_t alarm : cleared) {
        if (m_log != nullptr) {
            m_log->Clear(alarm);
        }
    }
    Publish();
    for (const std::uint32_t alarm : cleared) {
        Log(CEventLog::kAlarmOff, alarm);
    }
}

void CAlarmEngine::Acknowledge(std::uint32_t alarm) {
    std::optional<std::uint8_t> state;
    if (m_log != nullptr && m_log->Acknowledge(alarm)) {
        state = m_log->State(alarm);
    }
    m_store.Write(Configuration::kSummaryKey + Configuration::kSummaryAcknowledged,
                  std::to_string(alarm));
    m_store.Write(Configuration::kSummaryKey + Configuration::kSummaryAcknowledgedState,
                  std::to_string(state.value_or(Configuration::kNotInLog)));
}

void CAlarmEngine::CheckTemperature(double celsius) {
    const Configuration configuration(m_store);
    const auto limit = [&](std::uint32_t element) {
        return configuration.Number(Configuration::kTemperatureAlarmKey, element);
    };
    const bool on = limit(Configuration::kOnOff) != 0;
    if (on && celsius > limit(Configuration::kHi)) {
        Raise(Configuration::kTemperatureAlarm);
    } else if (!on || celsius < limit(Configuration::kHi) - limit(Configuration::kHysteresis)) {
        Clear(Configuration::kTemperatureAlarm);
    }
}

bool CAlarmEngine::IsActive(std::uint32_t alarm) const {
    return std::ranges::find(m_active, alarm) != m_active.end();
}

void CAlarmEngine::Publish() const {
    const std::string count = std::to_string(m_active.size());
    m_store.Write(kActiveAlarmCountKey, count);
    m_store.Write(kCurrentAlarmKey, std::to_string(m_active.empty() ? 0 : m_active.back()));
    if (m_log == nullptr) {
        return;
    }
    m_store.Write(Configuration::kSummaryKey + Configuration::kSummaryLogSize,
                  std::to_string(m_log->Size()));
    m_store.Write(Configuration::kSummaryKey + Configuration::kSummaryActiveCount, count);
    const std::uint64_t bits = Configuration::DiagnosticBits(m_active);
    m_store.Write(Configuration::kEnablesKey + Configuration::kEnablesActive,
                  std::to_string(bits & 0xFFFFFFFF));
    m_store.Write(Configuration::kEnablesKey + Configuration::kEnablesActive + 1,
                  std::to_string(bits >> 32));
}

void CAlarmEngine::Log(std::uint8_t code, std::uint32_t alarm) const {
    if (m_events != nullptr) {
        m_events->Append(code, static_cast<std::uint8_t>(alarm & 0xFF));
    }
}
