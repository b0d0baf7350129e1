#pragma once

#include <cstdint>
#include <vector>

// The answer to an SM FindTagQuery for a VFD.
class CSmReplyVFD {
public:
    virtual ~CSmReplyVFD() = default;

    std::uint32_t m_vfdRef = 0;
    std::int16_t m_versionOd = 0; // the object dictionary version
    bool m_hasMoreVCRL = false;
    bool m_moreVCRL = false;
    std::vector<std::uint32_t> m_indexList;
};
