#include "dtm/procedures/ServiceModeProcedure.h"

#include "dtm/DeviceModel.h"
#include "ui/Scheduler.h"

#include <algorithm>

CServiceModeProcedure::CServiceModeProcedure(CDeviceModel& store) : m_store(store) {
    for (const std::uint32_t key : {kModeKey, kBlockModeTargetKey}) {
        m_store.Follow(key, [this](const std::string&) { UpdateBlockMode(); });
    }
    UpdateBlockMode();
}

CServiceModeProcedure::~CServiceModeProcedure() {
    if (m_scheduled) {
        Scheduler().StopAll(this);
    }
}

void CServiceModeProcedure::Start(const std::string& target) {
    if (target != std::to_string(kInService) && target != std::to_string(kOutOfService)) {
        return;
    }
    m_scheduled = true;
    Scheduler().StartOneShot(this, kTimerId, std::max(m_delayMs, 0),
                             [this, target] { m_store.Write(kModeKey, target); });
}

bool CServiceModeProcedure::IsPending() const {
    return m_scheduled && Scheduler().IsRunning(this, kTimerId);
}

void CServiceModeProcedure::UpdateBlockMode() const {
    const bool inService = m_store.Read(kModeKey) == std::to_string(kInService);
    m_store.Write(kBlockModeActualKey, inService ? m_store.Read(kBlockModeTargetKey).value_or("")
                                                 : std::to_string(kBlockOutOfService));
}
