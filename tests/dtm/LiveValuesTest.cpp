#include "ValveTestSupport.h"
#include "dtm/DeviceModel.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace {

using Live = CLiveValues;

constexpr std::array kElements = {Live::kPositionKey,    Live::kSetpointStatusKey,
                                  Live::kSetpointKey,    Live::kDeviationKey,
                                  Live::kSupplyKey,      Live::kCPlusKey,
                                  Live::kCMinusKey,      Live::kTemperatureStatusKey,
                                  Live::kTemperatureKey, Live::kFrictionKey};
constexpr std::int64_t kDayMs = 24LL * 3600 * 1000;

class LiveValues : public ValveTestFixture {
protected:
    std::vector<std::string> Texts() {
        std::vector<std::string> texts;
        for (const std::uint32_t key : kElements) {
            texts.push_back(*Device().Read(key));
        }
        return texts;
    }
    const SLiveValues& Snapshot() {
        Command(Live::kSnapshotCommand);
        return Device().Live().Last();
    }
    // The store's text of `key` holds `value` in thousandths.
    void ExpectStored(std::uint32_t key, double value) {
        const std::string text = *Device().Read(key);
        EXPECT_EQ(text.size() - text.find('.'), 4u) << text;
        EXPECT_NEAR(std::stod(text), value, 0.0005) << std::hex << key;
    }
};

TEST_F(LiveValues, ASnapshotWritesTheTenValuesAndTheStoreHoldsThemUntilTheNext) {
    const std::vector<std::string> defaults = Texts();
    EXPECT_EQ(defaults, (std::vector<std::string>{"50.000", "128", "50.000", "0.000", "5.500",
                                                  "2.750", "2.350", "128", "24.000", "0.600"}));
    Snapshot();
    EXPECT_EQ(Texts(), defaults) << "the defaults are the values at time 0";

    m_scheduler.AdvanceBy(12345);
    EXPECT_EQ(Texts(), defaults) << "nothing but the command moves the store";
    const SLiveValues values = Snapshot();
    EXPECT_EQ(Device().Live().LastSnapshotMs(), 12340) << "the last whole 10 ms step";
    EXPECT_EQ(Device().Read(kCommand), "42");
    for (const auto& [key, field] : {std::pair{Live::kPositionKey, &SLiveValues::position},
                                     {Live::kSetpointKey, &SLiveValues::setpoint},
                                     {Live::kDeviationKey, &SLiveValues::deviation},
                                     {Live::kSupplyKey, &SLiveValues::supply},
                                     {Live::kCPlusKey, &SLiveValues::cPlus},
                                     {Live::kCMinusKey, &SLiveValues::cMinus},
                                     {Live::kTemperatureKey, &SLiveValues::temperature},
                                     {Live::kFrictionKey, &SLiveValues::friction}}) {
        ExpectStored(key, values.*field);
    }
    EXPECT_EQ(Device().Read(Live::kSetpointStatusKey), "128");
    EXPECT_EQ(Device().Read(Live::kTemperatureStatusKey), "128");
    EXPECT_NE(Device().Read(Live::kSetpointKey), defaults[2]) << "the slow sine has moved";

    const std::vector<std::string> snapshot = Texts();
    m_scheduler.AdvanceBy(20000);
    EXPECT_EQ(Texts(), snapshot);
    EXPECT_EQ(Device().Live().Last().position, values.position);
}

TEST_F(LiveValues, TheValveFollowsTheSetpointStepsWhateverTheSnapshotTimes) {
    EXPECT_LT(Live::SetpointAt(29999), 51) << "the first level holds 30 s";
    EXPECT_GT(Live::SetpointAt(30000), 65);
    EXPECT_NEAR(Live::SetpointAt(kDayMs), 70, 1e-9) << "level 4 of 7, the sine at a whole period";

    m_scheduler.AdvanceBy(29990);
    const SLiveValues before = Snapshot();
    EXPECT_LT(std::fabs(before.deviation), 0.5) << "settled on the first level";

    m_scheduler.AdvanceBy(510);
    const SLiveValues moving = Snapshot();
    EXPECT_GT(moving.deviation, 5) << "still on its way half a second after the step";
    EXPECT_GT(moving.position, before.position + 1);
    EXPECT_GT(moving.speed, Live::kMovingSpeed);
    EXPECT_NEAR(moving.friction - before.friction, Live::kMovingFriction, 0.001)
        << "friction rises while the valve moves";

    m_scheduler.AdvanceBy(3500);
    const SLiveValues settled = Snapshot();
    EXPECT_LT(std::fabs(settled.deviation), 1) << "within 1 % of the new level after 4 s";
    EXPECT_EQ(settled.deviation, settled.setpoint - settled.position);
    EXPECT_NEAR(settled.cPlus, 1.0 + 3.5 * settled.position / 100 + (settled.supply - 5.5), 1e-9);
    EXPECT_NEAR(settled.cMinus, settled.supply - settled.cPlus - 0.4, 1e-9);

    // A positioner asked once at 34 s integrates the same way.
    CDeviceModel store(m_dtm->Dictionary());
    CLiveValues once(store);
    once.Snapshot();
    EXPECT_EQ(once.Last().position, settled.position);
    EXPECT_EQ(store.Read(Live::kFrictionKey), Device().Read(Live::kFrictionKey));
}

TEST_F(LiveValues, ADayOfSchedulerTimeTakesOneSnapshotWithinTheRanges) {
    m_scheduler.AdvanceBy(kDayMs);
    const SLiveValues values = Snapshot();
    EXPECT_EQ(Device().Live().LastSnapshotMs(), kDayMs);
    EXPECT_NEAR(values.setpoint, 70, 1e-9);
    EXPECT_NEAR(values.position, 40, 1) << "the step to 70 has just come: the valve rests at 40";
    EXPECT_EQ(values.deviation, values.setpoint - values.position);
    EXPECT_NEAR(values.supply, 5.5, 0.05);
    EXPECT_NEAR(values.temperature, 24, 1.5);
    EXPECT_NEAR(values.friction, 0.6, 0.1);
    for (const std::uint32_t key : kElements) {
        const SParameterDefinition& definition = *m_dtm->Dictionary().Find(key);
        EXPECT_EQ(definition.CheckValue(*Device().Read(key)), "") << definition.name;
    }
}

TEST_F(LiveValues, RecordsReadThroughTheDtmDeliverTheSnapshot) {
    ASSERT_EQ(Register(), VARIANT_TRUE);
    m_scheduler.AdvanceBy(40000);
    EXPECT_EQ(Set(kCommand, "42"), "");
    EXPECT_EQ(Execute(dtm_function::kWrite, std::to_string(kCommand)), S_OK);
    EXPECT_EQ(Execute(dtm_function::kRead, std::to_string(0x01530000)), S_OK);
    m_scheduler.AdvanceBy(m_dtm->GetBusLatency());
    EXPECT_EQ(m_control->TakeUpdates(),
              (std::vector<CFakeControl::Update>{{100, std::to_string(Live::kSupplyKey)},
                                                 {100, std::to_string(Live::kCPlusKey)},
                                                 {100, std::to_string(Live::kCMinusKey)},
                                                 {100, std::to_string(Live::kBalanceKey)}}));
    EXPECT_EQ(Fetch(Live::kCPlusKey), *Device().Read(Live::kCPlusKey));
    EXPECT_NE(Fetch(Live::kCPlusKey), "2.750") << "the snapshot at 40 s, not the default";
}

} // namespace
