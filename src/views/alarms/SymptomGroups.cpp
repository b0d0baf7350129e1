#include "views/alarms/SymptomGroups.h"

#include <array>
#include <map>

namespace symptom_groups {

std::optional<int> GroupOf(std::uint32_t alarm) {
    static const std::map<std::uint32_t, int> groups = [] {
        std::map<std::uint32_t, int> table;
        const std::array<std::pair<int, std::vector<std::uint32_t>>, 15> members{{
            {1, {9, 31, 75}},
            {2, {10, 30}},
            {3, {22, 23}},
            {4, {28, 29, 67}},
            {5, {33, 34, 59, 69}},
            {6, {36}},
            {7, {39, 40}},
            {8, {45, 48, 49}},
            {9, {50, 51, 52, 74, 83}},
            {10, {53, 54, 55, 58, 62}},
            {11, {60, 65}},
            {12, {70, 71}},
            {13, {76}},
            {14, {82}},
            {0, {8, 11, 12, 13, 14, 15, 16, 17, 18, 77, 78, 79, 80, 84, 85, 86}},
        }};
        for (const auto& [group, alarms] : members) {
            for (const std::uint32_t alarm : alarms) {
                table[alarm] = group;
            }
        }
        return table;
    }();
    const auto it = groups.find(alarm);
    return it != groups.end() ? std::optional(it->second) : std::nullopt;
}

const std::vector<SLimit>& Limits(int group) {
    static const std::array<std::vector<SLimit>, kLastGroup + 1> limits{{
        {},
        {{"Max control effort [%]", "10.00"},
         {"Max EP drift [%]", "20.00"},
         {"Max EP voltage [V]", "20.00"},
         {"EP lifetime [years]", "5.00"},
         {"Max duty cycle (per stroketime) [%/s]", "1.00"},
         {"Tolerance of min pulse", "200"}},
        {{"Max piezo pulses", "200000000"},
         {"Max cycles", "10000000"},
         {"Max cycles per 5 seconds", "10"}},
        {{"Max friction [kPa]", "100"},
         {"Max friction [%]", "20.00"},
         {"Min friction [kPa]", "1"},
         {"Min friction [%]", "0.20"}},
        {{"Max number of low cutoffs", "100000"}, {"Max number of high cutoffs", "100000"}},
        {{"Max force [%]", "20.00"},
         {"Max C+ C- sum drop for a stroketime [%]", "2.00"},
         {"Max C+ drop for a stroketime [%]", "3.00"},
         {"Max C- drop for a stroketime [%]", "3.00"}},
        {{"Max settling time in step response [s]", "5.00"},
         {"Max dead time in step response[s]", "0.50"},
         {"Max overshoot in step response[%]", "20.00"}},
        {{"Max positioner supply pressure [kPa]", "700"},
         {"Max actuator supply pressure [kPa]", "700"},
         {"Min actuator supply pressure [kPa]", "200"},
         {"Min positioner supply pressure [kPa]", "200"}},
        {{"Min available force [kPa]", "50"},
         {"Max opening force [%]", "160.00"},
         {"Max closing force [%]", "160.00"}},
        {{"Max deviation of lower spring range [%]", "10.00"},
         {"Max deviation of upper spring range [%]", "10.00"},
         {"Max spring range deviation [%]", "10.00"},
         {"Max friction at closed position", "20.00"},
         {"Min failsafe position force [kPa]", "10"}},
        {{"Max deviation of lower travel range [%]", "2.00"},
         {"Max deviation of upper travel range [%]", "2.00"},
         {"Max travel span increase [%]", "2.00"},
         {"Max travel span decrease [%]", "2.00"},
         {"Max force [kPa]", "50"}},
        {{"Max accumulated travel [strokes]", "1000000"},
         {"Packing lifetime [years]", "5.00"},
         {"Actuator maintenance period [years]", "5.00"}},
        {{"Max low cutoff position deviation [%]", "2.00"},
         {"Max high cutoff position deviation [%]", "2.00"},
         {"Max deviation [%]", "5.00"},
         {"No movement tolerance [A/D counts]", "2"},
         {"End position tolerance [%]", "2.00"},
         {"Pressure tolerance [kPa]", "30"}},
        {{"Max feedback linkage play [%]", "1.00"}},
        {{"Setpoint filter new coefficient [%]", "33"},
         {"Setpoint filter old coefficient [%]", "67"},
         {"Setpoint oscillation tolerance [%]", "1.00"},
         {"Setpoint oscillations to detect", "2"}},
    }};
    static const std::vector<SLimit> none;
    return group >= 0 && group <= kLastGroup ? limits[static_cast<std::size_t>(group)] : none;
}

} // namespace symptom_groups
