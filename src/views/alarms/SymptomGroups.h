#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The symptoms the positioner watches for its diagnostic alarms: each alarm belongs to a
// symptom group, and groups 1 to 14 have up to six limits, each with a label and a default.
namespace symptom_groups {

struct SLimit {
    const char* label;
    const char* defaultValue;
};

inline constexpr int kLimitsPerGroup = 6;
inline constexpr int kLastGroup = 14;
// The group whose alarms concern the actuator's spring.
inline constexpr int kSpringGroup = 9;

// The group of a diagnostic alarm: 0 (no limits) to 14; nothing for an alarm of no group.
std::optional<int> GroupOf(std::uint32_t alarm);
// The limits of a group (empty for group 0 and unknown groups).
const std::vector<SLimit>& Limits(int group);
// The element (1-based) of a group's limit row (0-based) in the symptom limits array.
inline std::uint32_t LimitElement(int group, int row) {
    return static_cast<std::uint32_t>((group - 1) * kLimitsPerGroup + row + 1);
}

} // namespace symptom_groups
