#pragma once

#include <string>
#include <vector>

// One device that answered an SM Identify service.
class CSmIdentifyResponseEntry {
public:
    virtual ~CSmIdentifyResponseEntry() = default;

    std::string m_tag;   // the physical device tag
    std::string m_devID; // the device id
};

// The answer to an SM Identify service: the devices in document order.
class CSmIdentifyResponse {
public:
    virtual ~CSmIdentifyResponse() = default;

    std::string m_communicationReference;
    std::vector<CSmIdentifyResponseEntry> m_entries;
};
