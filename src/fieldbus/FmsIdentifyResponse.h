#pragma once

#include <string>

// The answer to an FMS Identify service.
class CFmsIdentifyResponse {
public:
    virtual ~CFmsIdentifyResponse() = default;

    std::string m_communicationReference;
    std::string m_vendor;
    std::string m_modelName;
    std::string m_revision;
};
