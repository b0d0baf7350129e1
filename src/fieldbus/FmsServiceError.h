#pragma once

#include "fieldbus/ErrorInfo.h"

#include <cstdint>
#include <string>

// An FMS service that the device refused: the error and, unless it is a common error, the
// object dictionary index it concerned.
class CFmsServiceError {
public:
    virtual ~CFmsServiceError() = default;

    std::string m_communicationReference;
    CErrorInfo m_errorInfo;
    bool m_hasOdIndex = false;
    std::uint32_t m_odIndex = 0;
};
