#pragma once

#include <cstdint>
#include <string>

// The answer to an FMS GetOD service: object descriptions as the DTM's byte array text.
class CFmsGetOdResponse {
public:
    virtual ~CFmsGetOdResponse() = default;

    std::string m_communicationReference;
    bool m_moreFollows = false;
    std::uint8_t m_numberOfObjectDescriptions = 0;
    std::string m_odData; // empty when the response carries none
};
