#include "dtm/procedures/ServiceModeProcedure.h"

#include "dtm/DeviceModel.h"
#include "ui/Scheduler.h"

#include <algorithm>

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
