#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The switches of the UI services that the whole process shares: a row of byte flags, the
// first and the last set at start, the others clear.
class CVelaFFUIGlobalData {
public:
    static constexpr std::size_t FlagCount = 7;

    CVelaFFUIGlobalData() = default;
    virtual ~CVelaFFUIGlobalData() = default;

    // The one object of the process.
    static CVelaFFUIGlobalData& Instance();

    // The flag at `index` (0 to FlagCount - 1); another index raises std::out_of_range.
    std::uint8_t GetFlag(std::size_t index) const { return m_flags.at(index); }
    void SetFlag(std::size_t index, std::uint8_t value) { m_flags.at(index) = value; }

private:
    std::array<std::uint8_t, FlagCount> m_flags{1, 0, 0, 0, 0, 0, 1};
};
