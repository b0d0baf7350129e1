// The unit conversion of CVelaFFUIServices: one table of rules between unit names.

#include "views/common/VelaFFUIServices.h"

#include <algorithm>
#include <iterator>
#include <span>
#include <utility>
#include <vector>

namespace {

// value in the target unit = (value in the source unit + shift) x factor + offset.
struct SUnitRule {
    std::string_view source;
    std::string_view target;
    double factor;
    double shift = 0.0;
    double offset = 0.0;
};

// A unit of a family whose every pair converts by the ratio of the units' sizes; `size` is in
// the family's smallest unit.
struct SSizedUnit {
    std::string_view name;
    double size;
};

constexpr double kInch = 25.4; // mm

constexpr SSizedUnit kLengths[] = {{"cm", 10.0}, {"mm", 1.0}, {"in", kInch}, {"m", 1000.0}};
constexpr SSizedUnit kAreas[] = {{"cm²", 100.0}, {"mm²", 1.0}, {"in²", kInch* kInch}};
// The volumes that convert as cubes of lengths; the others have rules of their own below.
constexpr SSizedUnit kSmallVolumes[] = {
    {"cm³", 1000.0}, {"mm³", 1.0}, {"in³", kInch* kInch* kInch}};
constexpr SSizedUnit kTimes[] = {
    {"ms", 1.0}, {"sec", 1000.0}, {"min", 60000.0}, {"hour", 3600000.0}};

constexpr double kFahrenheitStep = 0.5555555555555556; // °C per °F
constexpr double kZeroCelsius = 273.15;                // K

constexpr SUnitRule kListedRules[] = {
    {"m³", "in³", 61023.37},
    {"m³", "dm³", 1000.0},
    {"m³", "ft³", 35.3145},
    {"in³", "dm³", 0.0164},
    {"in³", "ft³", 1.0 / 1728},
    {"in³", "m³", 1.0 / 61023.37},
    {"ft³", "in³", 1728.0},
    {"ft³", "dm³", 28.317},
    {"ft³", "m³", 0.0283},
    {"dm³", "ft³", 0.0353},
    {"dm³", "in³", 61.0234},
    {"dm³", "m³", 0.001},
    {"°C", "°F", 1.8, 0.0, 32.0},
    {"°F", "°C", kFahrenheitStep, -32.0},
    {"°C", "K", 1.0, 0.0, kZeroCelsius},
    {"K", "°C", 1.0, -kZeroCelsius},
    {"°F", "K", kFahrenheitStep, -32.0, kZeroCelsius},
    {"K", "°F", 1.8, -kZeroCelsius, 32.0},
    {"psi", "pascal", 6894.757},
    {"psi", "kpa", 6.894757},
    {"psi", "bar", 0.06894757},
    {"pascal", "psi", 0.0001450377},
    {"pascal", "kpa", 0.001},
    {"pascal", "bar", 1.0 / 100000},
    {"kpa", "psi", 0.1450377},
    {"kpa", "pascal", 1000.0},
    {"kpa", "bar", 1.0 / 100},
    {"bar", "psi", 14.50377},
    {"bar", "pascal", 100000.0},
    {"bar", "kpa", 100.0},
    {"N-m", "ft-lb", 0.7375621},
    {"ft-lb", "N-m", 1.3558179},
};

// The other names of area and volume units, each with the unit's name.
constexpr std::pair<std::string_view, std::string_view> kAliases[] = {
    {"sq cm", "cm²"}, {"sq mm", "mm²"}, {"sq in", "in²"}, {"cu cm", "cm³"}, {"cu mm", "mm³"},
    {"cu m", "m³"},   {"cu in", "in³"}, {"cu dm", "dm³"}, {"cu ft", "ft³"}};

void AddEveryPair(std::vector<SUnitRule>& rules, std::span<const SSizedUnit> family) {
    for (const SSizedUnit& source : family) {
        for (const SSizedUnit& target : family) {
            if (source.name != target.name) {
                rules.push_back({source.name, target.name, source.size / target.size});
            }
        }
    }
}

const std::vector<SUnitRule>& Rules() {
    static const std::vector<SUnitRule> rules = [] {
        std::vector<SUnitRule> all(std::begin(kListedRules), std::end(kListedRules));
        for (std::span<const SSizedUnit> family :
             {std::span<const SSizedUnit>(kLengths), std::span<const SSizedUnit>(kAreas),
              std::span<const SSizedUnit>(kSmallVolumes), std::span<const SSizedUnit>(kTimes)}) {
            AddEveryPair(all, family);
        }
        return all;
    }();
    return rules;
}

bool SameUnit(const QString& unit, std::string_view name) {
    return unit.compare(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())),
                        Qt::CaseInsensitive) == 0;
}

// The unit's name for `unit` given by its other name; `unit` itself otherwise.
QString UnitName(const QString& unit) {
    const auto* alias = std::ranges::find_if(
        kAliases, [&](const auto& entry) { return SameUnit(unit, entry.first); });
    if (alias == std::ranges::end(kAliases)) {
        return unit;
    }
    return QString::fromUtf8(alias->second.data(), static_cast<qsizetype>(alias->second.size()));
}

} // namespace

double CVelaFFUIServices::ConvertUnit(const QString& source, const QString& target,
                                      double value) const {
    const QString from = UnitName(source);
    const QString to = UnitName(target);
    const auto& rules = Rules();
    const auto rule = std::ranges::find_if(rules, [&](const SUnitRule& candidate) {
        return SameUnit(from, candidate.source) && SameUnit(to, candidate.target);
    });
    return rule == rules.end() ? value : (value + rule->shift) * rule->factor + rule->offset;
}
