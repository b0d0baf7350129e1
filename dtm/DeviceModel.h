#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

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

    // Runs `follower` after every write of `key` that succeeds, with the stored value: a value
    // the device derives from that one follows it whoever writes. One follower per key; a
    // second replaces the first. A follower must not write its own key.
    using Follower = std::function<void(const std::string& value)>;
    void Follow(std::uint32_t key, Follower follower);

    // Element `index` (from 1) of a value array, whose value is its elements separated by
    // spaces. Nothing, or false and nothing changes, when the key or the element is not held.
    std::optional<std::string> ReadArrayElement(std::uint32_t key, std::size_t index) const;
    bool WriteArrayElement(std::uint32_t key, std::size_t index, const std::string& value);

    // The elements of a value array's text, and the text of elements.
    static std::vector<std::string> SplitArray(const std::string& text);
    static std::string JoinArray(const std::vector<std::string>& elements);

private:
    std::map<std::uint32_t, std::string> m_values;
    std::map<std::uint32_t, Follower> m_followers;
};
