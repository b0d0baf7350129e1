#include "views/common/VelaFFUIServices.h"
#include "views/common/WindowUnitConversion.h"

#include "common/QtPrinters.h"

#include <QLineEdit>
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <vector>

namespace {

QString U(const char* text) {
    return QString::fromUtf8(text);
}

const CVelaFFUIServices kServices;

double Convert(const char* source, const char* target, double value) {
    return kServices.ConvertUnit(U(source), U(target), value);
}

TEST(UnitNames, EveryPairOfEachFamilyRoundTripsWithinTheFactorsRounding) {
    const std::vector<std::vector<const char*>> families = {
        {"cm", "mm", "in", "m"},
        {"cm²", "mm²", "in²"},
        {"cm³", "mm³", "m³", "in³", "dm³", "ft³"},
        {"°C", "°F", "K"},
        {"ms", "sec", "min", "hour"},
        {"psi", "pascal", "kpa", "bar"},
        {"N-m", "ft-lb"}};
    for (const auto& family : families) {
        for (const char* source : family) {
            for (const char* target : family) {
                const double back = Convert(target, source, Convert(source, target, 12.5));
                EXPECT_NEAR(back, 12.5, 0.0125) << source << " " << target;
            }
        }
    }
}

TEST(UnitNames, ConvertsByTheFamilysRules) {
    EXPECT_DOUBLE_EQ(Convert("°C", "°F", 100), 212);
    EXPECT_DOUBLE_EQ(Convert("°F", "°C", -40), -40);
    EXPECT_DOUBLE_EQ(Convert("°F", "K", 212), 373.15);
    EXPECT_DOUBLE_EQ(Convert("K", "°F", 273.15), 32);
    EXPECT_DOUBLE_EQ(Convert("in", "mm", 1), 25.4);
    EXPECT_DOUBLE_EQ(Convert("m", "in", 0.0254), 1);
    EXPECT_DOUBLE_EQ(Convert("mm²", "cm²", 250), 2.5);
    EXPECT_DOUBLE_EQ(Convert("in³", "mm³", 1), 25.4 * 25.4 * 25.4);
    EXPECT_DOUBLE_EQ(Convert("hour", "ms", 2), 7200000);
    EXPECT_DOUBLE_EQ(Convert("bar", "psi", 2), 29.00754);
    EXPECT_DOUBLE_EQ(Convert("ft-lb", "N-m", 2), 2.7116358);
}

TEST(UnitNames, NamesIgnoreCaseAndAreaAndVolumeUnitsHaveTwoNames) {
    EXPECT_DOUBLE_EQ(Convert("IN", "Mm", 1), 25.4);
    EXPECT_DOUBLE_EQ(Convert("°c", "°f", 100), 212);
    EXPECT_DOUBLE_EQ(Convert("KPa", "PASCAL", 1), 1000);
    EXPECT_DOUBLE_EQ(Convert("n-M", "FT-LB", 1), 0.7375621);
    for (const auto& [source, target] :
         {std::pair{"sq in", "sq cm"}, {"in²", "SQ CM"}, {"Sq In", "cm²"}}) {
        EXPECT_DOUBLE_EQ(Convert(source, target, 1), 2.54 * 2.54) << source << " " << target;
    }
    for (const auto& [source, target] :
         {std::pair{"cu ft", "cu in"}, {"CU FT", "in³"}, {"ft³", "Cu In"}}) {
        EXPECT_DOUBLE_EQ(Convert(source, target, 1), 1728) << source << " " << target;
    }
}

TEST(UnitNames, UnlistedPairsGiveTheValueBack) {
    for (const auto& [source, target] : {std::pair{"cm³", "m³"},
                                         {"dm³", "cu cm"},
                                         {"cm", "sec"},
                                         {"furlong", "m"},
                                         {"psi", "psi"},
                                         {"", ""}}) {
        EXPECT_EQ(Convert(source, target, 12.5), 12.5) << source << " " << target;
    }
}

TEST(UnitFields, ConvertFieldUnitRewritesTheNumberOrKeepsTheText) {
    QLineEdit field;
    EXPECT_TRUE(kServices.ConvertFieldUnit(field, U("in"), U("mm"), false));
    EXPECT_EQ(field.text(), "");
    field.setText("1.50");
    EXPECT_TRUE(kServices.ConvertFieldUnit(field, U("in"), U("mm"), true));
    EXPECT_EQ(field.text(), "1.50");
    EXPECT_TRUE(kServices.ConvertFieldUnit(field, U("in"), U("mm"), false));
    EXPECT_EQ(field.text(), "38.1");
    field.setText("1 in");
    EXPECT_THROW(kServices.ConvertFieldUnit(field, U("in"), U("mm"), false), std::runtime_error);
    EXPECT_EQ(field.text(), "1 in");
}

TEST(UnitFields, ConvertWindowValueLeavesTheFieldAsTypedForUnlistedPairs) {
    const CWindowUnitConversion conversion;
    QLineEdit window;
    window.setText("1.50");
    EXPECT_TRUE(conversion.ConvertWindowValue(1012, 1012, false, window));
    EXPECT_TRUE(conversion.ConvertWindowValue(1019, 1012, true, window));
    EXPECT_EQ(window.text(), "1.50");
    EXPECT_FALSE(conversion.ConvertWindowValue(1010, 1013, false, window));
    EXPECT_EQ(window.text(), "1.50");
    EXPECT_TRUE(conversion.ConvertWindowValue(1019, 1012, false, window));
    EXPECT_EQ(window.text(), "3.81");
    window.setText("3,81");
    EXPECT_THROW(conversion.ConvertWindowValue(1012, 1019, false, window), std::runtime_error);
    EXPECT_EQ(window.text(), "3,81");
}

} // namespace
