#include "views/alarms/AlarmVocabulary.h"

#include <algorithm>

namespace alarm_vocabulary {

namespace {

template <std::size_t N> std::string Name(const std::array<const char*, N>& table, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < N
               ? table[static_cast<std::size_t>(index)]
               : std::string();
}

} // namespace

std::string StateName(int state) {
    static constexpr std::array<const char*, 4> kNames{"INACTIVE & NAK", "ACTIVE & NAK",
                                                       "INACTIVE & ACK", "ACTIVE & ACK"};
    if (state >= 0 && state < 4) {
        return kNames[static_cast<std::size_t>(state)];
    }
    return "UNKNOWN-" + std::to_string(state);
}

std::string CategoryName(int category) {
    return Name(kCategories, category);
}

std::string PriorityName(int priority) {
    return Name(kPriorities, priority);
}

std::uint32_t StateColour(int state) {
    return kStateColours[static_cast<std::size_t>(
        std::clamp(state, 0, static_cast<int>(kStateColours.size()) - 1))];
}

} // namespace alarm_vocabulary
