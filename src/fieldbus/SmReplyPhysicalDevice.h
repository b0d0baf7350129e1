#pragma once

#include <string>

// The answer to an SM FindTagQuery for a physical device.
class CSmReplyPhysicalDevice {
public:
    virtual ~CSmReplyPhysicalDevice() = default;

    std::string m_devID;
};
