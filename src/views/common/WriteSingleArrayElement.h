#pragma once

#include <cstdint>
#include <string>

// The request text of DTM function 18, which writes one element of a device array from the
// DTM's copy instead of the whole array:
//   <WriteSingleArrayElement arrayID="<key>" elementIndex="<index>"/>
// with the array's parameter key and the element's index in unsigned decimal.
class CWriteSingleArrayElementUIHelper {
public:
    CWriteSingleArrayElementUIHelper(std::uint32_t arrayId, std::uint32_t elementIndex)
        : m_arrayId(arrayId), m_elementIndex(elementIndex) {}

    std::uint32_t GetArrayId() const { return m_arrayId; }
    std::uint32_t GetElementIndex() const { return m_elementIndex; }
    std::string GetRequest() const;

private:
    std::uint32_t m_arrayId;
    std::uint32_t m_elementIndex;
};
