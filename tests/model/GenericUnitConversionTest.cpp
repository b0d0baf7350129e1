#include "model/GenericUnitConversion.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

constexpr int kMetre = 1010, kCentimetre = 1012, kMillimetre = 1013, kInch = 1019;
constexpr int kUnits[] = {1010, 1012, 1013, 1019, 1025, 1030, 1035, 1043, 1133, 1141};

const CGenericUnitConversion kConversion;

TEST(GenericUnitConversion, ConvertsListedPairsAndGivesZeroForOthers) {
    EXPECT_DOUBLE_EQ(kConversion.Convert(kInch, kCentimetre, 10), 25.4);
    EXPECT_DOUBLE_EQ(kConversion.Convert(kInch, kCentimetre, 1.5), 3.81);
    EXPECT_DOUBLE_EQ(kConversion.Convert(1141, 1133, 2), 13.79);
    EXPECT_EQ(kConversion.Convert(kMetre, kMillimetre, 5), 0.0);
    EXPECT_FALSE(CGenericUnitConversion::Factor(kMetre, kMillimetre));
    EXPECT_EQ(kConversion.Convert(1009, 1009, 5), 0.0);
    EXPECT_EQ(kConversion.Convert(1142, 1142, 5), 0.0);
    // Metre and inch agree with the centimetre entries.
    EXPECT_DOUBLE_EQ(kConversion.Convert(kInch, kMetre, 100), 2.54);
    EXPECT_DOUBLE_EQ(kConversion.Convert(kMetre, kInch, 2), 78.74);
    EXPECT_DOUBLE_EQ(*CGenericUnitConversion::Factor(kInch, kMetre),
                     *CGenericUnitConversion::Factor(kInch, kCentimetre) / 100);
}

TEST(GenericUnitConversion, EveryListedPairHasAReverseThatUndoesIt) {
    for (int source : kUnits) {
        for (int target : kUnits) {
            const auto there = CGenericUnitConversion::Factor(source, target);
            const auto back = CGenericUnitConversion::Factor(target, source);
            ASSERT_EQ(there.has_value(), back.has_value()) << source << " " << target;
            if (there) {
                EXPECT_NEAR(*there * *back, 1.0, 0.01) << source << " " << target;
            }
        }
        EXPECT_EQ(CGenericUnitConversion::Factor(source, source), 1.0) << source;
    }
}

TEST(GenericUnitConversion, RoundsToTwoDecimalsHalfAwayFromZero) {
    const std::pair<double, double> cases[] = {
        {1.005, 1.01}, {-1.005, -1.01}, {2.675, 2.68},  {0.125, 0.13},           {-0.125, -0.13},
        {1.0049, 1.0}, {1.2345, 1.23},  {254.0, 254.0}, {123456.785, 123456.79}, {1e16, 1e16}};
    for (const auto& [value, rounded] : cases) {
        EXPECT_EQ(kConversion.Convert(kCentimetre, kCentimetre, value), rounded) << value;
    }
    EXPECT_EQ(CGenericUnitConversion::FormatValue(kConversion.Convert(1012, 1012, -0.004)), "0");
    EXPECT_DOUBLE_EQ(kConversion.Convert(kMillimetre, kInch, 1), 0.04);
}

TEST(GenericUnitConversion, ConvertsTextAndWritesFifteenDigits) {
    EXPECT_EQ(kConversion.ConvertText(kInch, kCentimetre, "10"), "25.4");
    EXPECT_EQ(kConversion.ConvertText(kMetre, kMillimetre, "not a number"), std::nullopt);
    EXPECT_THROW(kConversion.ConvertText(kInch, kCentimetre, "1,5"), std::runtime_error);
    EXPECT_EQ(CGenericUnitConversion::FormatValue(1000000), "1000000");
    EXPECT_EQ(CGenericUnitConversion::FormatValue(-0.0001450377), "-0.0001450377");
    EXPECT_EQ(CGenericUnitConversion::FormatValue(1.5 * 25.4), "38.1");
    EXPECT_EQ(CGenericUnitConversion::FormatValue(1e-7), "1e-07");
    EXPECT_EQ(CGenericUnitConversion::FormatValue(2e20), "2e+20");
}

} // namespace
