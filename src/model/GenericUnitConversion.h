#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Conversion of a displayed value between the length, area, volume and pressure units of
// the FOUNDATION Fieldbus unit code table (codes 1010 to 1141), used when the user switches
// the engineering unit of a value. Every result is rounded to two decimals, half away from
// zero.
class CGenericUnitConversion {
public:
    static constexpr std::int32_t FirstUnit = 1010;
    static constexpr std::int32_t LastUnit = 1141;

    virtual ~CGenericUnitConversion() = default;

    // The factor that takes a value in `source` to `target`; none for a pair the table does
    // not list.
    static std::optional<double> Factor(std::int32_t source, std::int32_t target);

    // `value` in the target unit, rounded; 0 for a pair the table does not list.
    double Convert(std::int32_t source, std::int32_t target, double value) const;

    // The number in `text` converted and written back as text; none for a pair the table
    // does not list. For a listed pair a text that is not a number raises the conversion
    // error of CConversions::to_double.
    std::optional<std::string> ConvertText(std::int32_t source, std::int32_t target,
                                           std::string_view text) const;

    // `value` with up to 15 significant digits, all that a double holds for any decimal
    // number, as "%.15g" writes it: 1.5 x 25.4 shows as "38.1", not "38.099999999999994".
    static std::string FormatValue(double value);
};
