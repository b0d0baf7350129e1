#pragma once

#include <array>
#include <cstdint>
#include <string>

// The words of the alarms: categories, priorities and states as the device numbers them, and
// the row colours of the alarm list.
namespace alarm_vocabulary {

inline constexpr std::array<const char*, 4> kCategories{"Out of Range", "Maintenance Required",
                                                        "Check Function", "Failure"};
inline constexpr std::array<const char*, 4> kPriorities{"Low", "Medium", "High", "Very High"};
// Row colours (0xBBGGRR) by state 0 to 8; later states take the last.
inline constexpr std::array<std::uint32_t, 9> kStateColours{
    0xF0F064, 0xF0F064, 0x64F0F0, 0x0A0AFF, 0x0A0AFF, 0x007DFF, 0xFFFFFF, 0xFFFFFF, 0xF0F064};

// "INACTIVE & NAK", "ACTIVE & NAK", "INACTIVE & ACK", "ACTIVE & ACK", "UNKNOWN-4" ... "UNKNOWN-9".
std::string StateName(int state);
// The name of a category or priority by its number, empty outside the table.
std::string CategoryName(int category);
std::string PriorityName(int priority);
std::uint32_t StateColour(int state);

} // namespace alarm_vocabulary
