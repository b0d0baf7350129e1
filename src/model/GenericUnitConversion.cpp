#include "model/GenericUnitConversion.h"

#include "model/Conversions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>

namespace {

// Unit codes of the table.
constexpr std::int32_t kMetre = 1010;
constexpr std::int32_t kCentimetre = 1012;
constexpr std::int32_t kMillimetre = 1013;
constexpr std::int32_t kInch = 1019;
constexpr std::int32_t kSquareCentimetre = 1025;
constexpr std::int32_t kSquareInch = 1030;
constexpr std::int32_t kCubicDecimetre = 1035;
constexpr std::int32_t kCubicFoot = 1043;
constexpr std::int32_t kKilopascal = 1133;
constexpr std::int32_t kPsi = 1141;

struct SFactor {
    std::int32_t source;
    std::int32_t target;
    double factor;
};

// Value in the target unit = value in the source unit x factor. The factors are those of the
// device's unit handling; metre and inch follow the centimetre and millimetre entries.
constexpr SFactor kFactors[] = {
    {kMetre, kMetre, 1.0},
    {kCentimetre, kMetre, 1.0 / 100},
    {kInch, kMetre, 0.0254},
    {kMetre, kCentimetre, 100.0},
    {kCentimetre, kCentimetre, 1.0},
    {kMillimetre, kCentimetre, 0.1},
    {kInch, kCentimetre, 2.54},
    {kCentimetre, kMillimetre, 10.0},
    {kMillimetre, kMillimetre, 1.0},
    {kInch, kMillimetre, 25.4},
    {kMetre, kInch, 39.3700787},
    {kCentimetre, kInch, 0.394},
    {kMillimetre, kInch, 0.039},
    {kInch, kInch, 1.0},
    {kSquareCentimetre, kSquareCentimetre, 1.0},
    {kSquareInch, kSquareCentimetre, 2.54 * 2.54},
    {kSquareCentimetre, kSquareInch, 0.394 * 0.394},
    {kSquareInch, kSquareInch, 1.0},
    {kCubicDecimetre, kCubicDecimetre, 1.0},
    {kCubicFoot, kCubicDecimetre, 28.3168},
    {kCubicDecimetre, kCubicFoot, 0.0353},
    {kCubicFoot, kCubicFoot, 1.0},
    {kKilopascal, kKilopascal, 1.0},
    {kPsi, kKilopascal, 6.895},
    {kKilopascal, kPsi, 0.145},
    {kPsi, kPsi, 1.0},
};

// From here on a double has no hundredths left to round.
constexpr double kNoHundredths = 1e15;
// The significant digits that a double holds for any decimal number.
constexpr int kShownDigits = 15;

// `value` rounded to two decimals, half away from zero, judged on the decimal digits the
// value stands for (1.005 is 1.01 although its double lies a little below 1.005).
double RoundToHundredths(double value) {
    if (!std::isfinite(value) || std::fabs(value) >= kNoHundredths) {
        return value;
    }
    // The shortest decimal digits that stand for the value.
    char buffer[64];
    const auto [end, error] =
        std::to_chars(buffer, std::end(buffer), std::fabs(value), std::chars_format::fixed);
    // Only a value far below one hundredth needs more characters than the buffer holds.
    if (error != std::errc{}) {
        return 0.0;
    }
    const std::string_view text(buffer, end);
    const std::size_t point = text.find('.');
    if (point == std::string_view::npos || text.size() - point <= 3) {
        return value;
    }
    std::string digits(text.substr(0, point));
    digits += text.substr(point + 1, 2);
    const std::int64_t hundredths = CConversions::to_int64(digits) + (text[point + 3] >= '5');
    return hundredths == 0 ? 0.0 : std::copysign(static_cast<double>(hundredths) / 100, value);
}

} // namespace

std::optional<double> CGenericUnitConversion::Factor(std::int32_t source, std::int32_t target) {
    const auto* row = std::ranges::find_if(kFactors, [&](const SFactor& candidate) {
        return candidate.source == source && candidate.target == target;
    });
    if (row == std::ranges::end(kFactors)) {
        return std::nullopt;
    }
    return row->factor;
}

double CGenericUnitConversion::Convert(std::int32_t source, std::int32_t target,
                                       double value) const {
    return RoundToHundredths(value * Factor(source, target).value_or(0.0));
}

std::optional<std::string> CGenericUnitConversion::ConvertText(std::int32_t source,
                                                               std::int32_t target,
                                                               std::string_view text) const {
    if (!Factor(source, target)) {
        return std::nullopt;
    }
    return FormatValue(Convert(source, target, CConversions::to_double(text)));
}

std::string CGenericUnitConversion::FormatValue(double value) {
    if (value == 0) {
        return "0"; // never "-0"
    }
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value,
                                            std::chars_format::general, kShownDigits);
    return error == std::errc{} ? std::string(buffer, end) : std::string();
}
