#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

class CParameterDictionary;

// The simulated positioner behind the DTM: the value of every parameter it holds, as text,
// by key. A whole record holds no value of its own; its elements do.
class CDeviceModel {
public:
    // Every parameter starts at its default value from the dictionary.
    explicit CDeviceModel(const CParameterDictionary& dictionary);

    // Nothing for a key the device does not hold.
    std::optional<std::string> Read(std::uint32_t key) const;
    // False (and nothing changes) for a key the device does not hold.
    bool Write(std::uint32_t key, std::string value);

private:
    std::map<std::uint32_t, std::string> m_values;
};
