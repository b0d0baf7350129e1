#pragma once

#include "fieldbus/FFEnumerations.h"

#include <string>

// The answer to an FMS Status service.
class CFmsStatusResponse {
public:
    virtual ~CFmsStatusResponse() = default;

    std::string m_communicationReference;
    FmsLogicalStatus m_logicalStatus = FmsLogicalStatus::stateChangesAllowed;
    FmsPhysicalStatus m_physicalStatus = FmsPhysicalStatus::operational;
    std::string m_localDetail; // present when not empty
};
