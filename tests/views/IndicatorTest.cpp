#include "views/components/AnalogDisplay.h"
#include "views/components/AngularGauge.h"
#include "views/components/Led.h"
#include "views/components/LinearGauge.h"
#include "views/components/Painting.h"
#include "views/components/Thermometer.h"

#include <QImage>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

QColor centreColour(QWidget& widget) {
    const QImage image = widget.grab().toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

TEST(Led, ActiveColourIsAColorrefAndLightsOnlyWhenOn) {
    CRoundLed led;
    led.resize(led.sizeHint());
    // Alarm colours of the view header: red is (255, 10, 10), i.e. 0x000A0AFF as a COLORREF.
    led.setActiveColor(0x000A0AFF);
    EXPECT_EQ(led.activeColor(), 0x000A0AFFu);
    led.setActiveColor(0xFF00FF00); // the unused top byte is dropped
    EXPECT_EQ(led.activeColor(), 0x0000FF00u);

    led.setActiveColor(0x000A0AFF);
    EXPECT_FALSE(led.isActive());
    const QColor off = centreColour(led);
    led.setActive(true);
    EXPECT_TRUE(led.isActive());
    const QColor on = centreColour(led);
    EXPECT_GT(on.red(), 200) << "the low byte of a COLORREF is red";
    EXPECT_LT(on.blue(), 160);
    EXPECT_LT(off.red(), on.red() - 80) << "an LED that is off must look clearly dimmer";

    CRectLed lamp;
    lamp.resize(lamp.sizeHint());
    lamp.setActiveColor(0x00C00000); // the t63 blue
    lamp.setActive(true);
    const QColor blue = centreColour(lamp);
    EXPECT_GT(blue.blue(), 150);
    EXPECT_LT(blue.red(), 120);

    EXPECT_EQ(Painting::refFromColor(Painting::colorFromRef(0x00123456)), 0x00123456u);
    EXPECT_EQ(Painting::colorFromRef(0x00C00000), QColor(0, 0, 0xC0));
}

TEST(Indicator, RangeAndValueIgnoreNonFiniteAndInvertedInput) {
    CAngularGauge gauge;
    gauge.setRange(0.0, 10.0);
    gauge.setValue(6.25);
    for (const double bad : {kNaN, kInf, -kInf}) {
        gauge.setValue(bad);
        gauge.setRange(bad, 5.0);
        gauge.setRange(0.0, bad);
        gauge.setMinimum(bad);
        gauge.setMaximum(bad);
    }
    EXPECT_EQ(gauge.value(), 6.25);
    EXPECT_EQ(gauge.minimum(), 0.0);
    EXPECT_EQ(gauge.maximum(), 10.0);

    gauge.setRange(8.0, 2.0); // inverted: ignored
    EXPECT_EQ(gauge.minimum(), 0.0);
    EXPECT_EQ(gauge.maximum(), 10.0);
    gauge.setMinimum(20.0); // the maximum follows rather than the range turning inside out
    EXPECT_EQ(gauge.minimum(), 20.0);
    EXPECT_EQ(gauge.maximum(), 20.0);
    gauge.setMaximum(-5.0);
    EXPECT_EQ(gauge.minimum(), -5.0);
    EXPECT_EQ(gauge.maximum(), -5.0);
    gauge.resize(gauge.sizeHint());
    EXPECT_FALSE(gauge.grab().isNull()) << "an empty range must still paint";

    gauge.setUnit(QStringLiteral("bar"));
    gauge.setValue(12.346);
    EXPECT_EQ(gauge.valueText(), QStringLiteral("12.35 bar"));
    gauge.setDecimals(7); // out of range: ignored
    gauge.setDecimals(0);
    EXPECT_EQ(gauge.valueText(), QStringLiteral("12 bar"));

    CThermometer thermometer;
    thermometer.setValue(500.0); // above the range: kept, drawn at the top
    EXPECT_EQ(thermometer.value(), 500.0);
    EXPECT_EQ(thermometer.valueText(), QStringLiteral("500.0"));
}

TEST(Indicator, GaugesWithSunkEventsAnnounceRealChangesOnly) {
    CLinearGauge gauge;
    CAnalogOutputDisplay output;
    QSignalSpy gaugeSpy(&gauge, &CLinearGauge::valueChanged);
    QSignalSpy outputSpy(&output, &CAnalogOutputDisplay::valueChanged);
    for (CIndicator* indicator : std::initializer_list<CIndicator*>{&gauge, &output}) {
        indicator->setValue(42.5);
        indicator->setValue(42.5);
        indicator->setValue(kNaN);
        indicator->setValue(-1.0);
    }
    ASSERT_EQ(gaugeSpy.count(), 2);
    EXPECT_EQ(gaugeSpy.at(0).at(0).toDouble(), 42.5);
    EXPECT_EQ(gaugeSpy.at(1).at(0).toDouble(), -1.0);
    EXPECT_EQ(outputSpy.count(), 2);
}

TEST(Painting, ScalesUseRoundStepsWithinTheRange) {
    const auto percent = Painting::niceScale(0.0, 100.0, 6);
    EXPECT_EQ(percent.step, 20.0);
    EXPECT_EQ(percent.ticks, (QList<double>{0, 20, 40, 60, 80, 100}));

    const auto temperature = Painting::niceScale(-40.0, 100.0, 8);
    EXPECT_EQ(temperature.step, 20.0);
    EXPECT_EQ(temperature.ticks.first(), -40.0);
    EXPECT_EQ(temperature.ticks.last(), 100.0);

    const auto fine = Painting::niceScale(0.1, 0.7, 7);
    EXPECT_DOUBLE_EQ(fine.step, 0.1);
    EXPECT_EQ(fine.ticks.size(), 7);
    EXPECT_EQ(Painting::tickLabel(fine.ticks[2], fine.step), QStringLiteral("0.3"));
    EXPECT_EQ(Painting::tickLabel(5.0, 2.5), QStringLiteral("5.0"));
    EXPECT_EQ(Painting::tickLabel(-0.0, 1.0), QStringLiteral("0"));

    EXPECT_TRUE(Painting::niceScale(5.0, 5.0, 6).ticks.isEmpty());
    EXPECT_TRUE(Painting::niceScale(0.0, kInf, 6).ticks.isEmpty());
    EXPECT_TRUE(Painting::niceScale(kNaN, 1.0, 6).ticks.isEmpty());
    EXPECT_LE(Painting::niceScale(-1e300, 1e300, 6).ticks.size(), 6);
    // Where doubles are far apart the step counter must still end.
    EXPECT_LE(Painting::niceScale(1e308, 1.0000000000000002e308, 6).ticks.size(), 7);
}

} // namespace
