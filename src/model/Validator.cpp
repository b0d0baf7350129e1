#include "model/Validator.h"

#include "model/Conversions.h"
#include "model/ElementAttributes.h"
#include "model/ValidatorNumericRange.h"
#include "xml/Xml.h"

#include <algorithm>
#include <array>
#include <limits>
#include <utility>

namespace {

// Value types that make a whole-number range unsigned, compared exactly.
constexpr std::array<std::string_view, 8> kUnsignedTypes = {
    "EUInt8", "EUInt16", "EUInt24", "EUInt32", "EUInt40", "EUInt48", "EUInt56", "EUInt64"};

template <class T> T Limit(const CElementAttributes& rule, std::string_view name, T absent) {
    const std::string& text = rule.Get(name);
    return text.empty() ? absent : CConversions::parse<T>(text);
}

// The widest range of T: the infinities for doubles.
template <class T> constexpr std::pair<T, T> Widest() {
    using limits = std::numeric_limits<T>;
    if constexpr (limits::has_infinity) {
        return {-limits::infinity(), limits::infinity()};
    } else {
        return {limits::lowest(), limits::max()};
    }
}

// A range over all of T unless the rule narrows it; whole numbers also read a step.
template <class T>
std::unique_ptr<IValidator> MakeRange(const CElementAttributes& rule, ValidatorTextSource texts) {
    const auto [lowest, highest] = Widest<T>();
    const T min = Limit(rule, "min", lowest);
    const T max = Limit(rule, "max", highest);
    T step{};
    if constexpr (std::is_integral_v<T>) {
        step = Limit(rule, "step", T{});
    }
    return std::make_unique<CNumericRangeValidator<T>>(min, max, step, std::move(texts));
}

} // namespace

std::string BuiltInValidatorText(int textId) {
    switch (textId) {
    case eTextNumericRange:
        return "Numeric value must be within {min} and {max}";
    case eTextNotWholeNumber:
        return "Input is not a valid whole number";
    case eTextNotFloatingNumber:
        return "Input is not a valid floating number";
    case eTextNotDivisible:
        return "Input value must be divisible by {step}";
    default:
        return "##UI_TEXT_" + std::to_string(textId);
    }
}

std::unique_ptr<IValidator> CreateValidator(const xml::Node& controlData,
                                            ValidatorTextSource texts) {
    const xml::Node element = controlData.SelectSingle("Validator");
    if (!element) {
        return nullptr;
    }
    const CElementAttributes rule(element);
    const std::string& type = rule.Get("type");
    if (type == "numericRange") {
        const std::string valueType = controlData.Attribute("@valueType");
        if (std::ranges::find(kUnsignedTypes, valueType) != kUnsignedTypes.end()) {
            return MakeRange<std::uint64_t>(rule, std::move(texts));
        }
        return MakeRange<std::int64_t>(rule, std::move(texts));
    }
    if (type == "numericRange_double") {
        return MakeRange<double>(rule, std::move(texts));
    }
    return nullptr;
}
