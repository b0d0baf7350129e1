#include "dtm/procedures/FailureModeProcedure.h"

#include "dtm/DeviceModel.h"
#include "ui/Scheduler.h"

#include <algorithm>
#include <string>

CFailureModeProcedure::~CFailureModeProcedure() {
    if (m_scheduled) {
        Scheduler().StopAll(this);
    }
}

void CFailureModeProcedure::Command(std::uint8_t command) {
    if (command != kActivateCommand && command != kDeactivateCommand) {
        return;
    }
    const std::string state = std::to_string(command == kActivateCommand ? kActive : kClear);
    m_scheduled = true;
    Scheduler().StartOneShot(this, kTimerId, std::max(m_delayMs, 0),
                             [this, state] { m_store.Write(kStateKey, state); });
}

bool CFailureModeProcedure::IsPending() const {
    return m_scheduled && Scheduler().IsRunning(this, kTimerId);
}
