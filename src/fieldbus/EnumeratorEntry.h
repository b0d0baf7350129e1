#pragma once

#include <cstdint>
#include <string>

// One entry of an enumeration as the DTM describes it: its number, name and descriptor.
class CEnumeratorEntry {
public:
    CEnumeratorEntry() = default;
    CEnumeratorEntry(std::uint32_t index, std::string name, std::string descriptor = {})
        : m_index(index), m_name(std::move(name)), m_descriptor(std::move(descriptor)) {}

    std::uint32_t GetIndex() const { return m_index; }
    const std::string& GetName() const { return m_name; }
    const std::string& GetDescriptor() const { return m_descriptor; }

    friend bool operator==(const CEnumeratorEntry&, const CEnumeratorEntry&) = default;

private:
    std::uint32_t m_index = 0;
    std::string m_name;
    std::string m_descriptor;
};
