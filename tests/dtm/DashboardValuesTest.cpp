#include "DtmTestSupport.h"
#include "dtm/AlarmConfiguration.h"
#include "dtm/DeviceModel.h"
#include "dtm/EventLog.h"
#include "fdt/DtmFunctions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

using Live = CLiveValues;
using Modes = CSetpointModeProcedure;

constexpr std::uint32_t kCommand = 0x015B0001;
constexpr std::uint32_t kBlockTarget = CServiceModeProcedure::kBlockModeTargetKey;
constexpr std::uint32_t kBlockActual = CServiceModeProcedure::kBlockModeActualKey;

class DashboardValues : public DtmTest {
protected:
    DashboardValues() { EXPECT_EQ(Register(), VARIANT_TRUE); }

    CSimulatedPositioner& Device() { return m_dtm->Positioner(); }
    std::string Value(std::uint32_t key) { return *Device().Read(key); }
    double Number(std::uint32_t key) { return std::stod(Value(key)); }

    // A write through the DTM, as the dashboard sends it.
    void Send(std::uint32_t key, const std::string& value) {
        EXPECT_EQ(Set(key, value), "") << std::hex << key;
        EXPECT_EQ(Execute(dtm_function::kWrite, std::to_string(key)), S_OK);
    }
    // The code and information of the last event in the event log.
    std::pair<int, int> LastEvent() {
        const std::vector<std::uint8_t> bytes = Device().Events().Bytes();
        const std::size_t last = bytes.size() - CEventLog::kRecordSize;
        return {bytes[last], bytes[last + 1]};
    }
};

TEST_F(DashboardValues, EveryKeyOfTheDashboardReadsThroughTheDtmAndNotifiesEachElement) {
    const std::vector<std::uint32_t> dashboardKeys = {
        0x01050000, 0x01110002, 0x01220000, 0x01290000, 0x012E0000, 0x01440000, 0x01530000,
        0x015C0000, 0x015D0000, 0x01660000, 0x04080002, 0x015B0004, 0x015B0002};
    std::vector<CFakeControl::Update> expected;
    for (const std::uint32_t key : dashboardKeys) {
        EXPECT_EQ(Execute(dtm_function::kRead, std::to_string(key)), S_OK) << std::hex << key;
        for (const std::uint32_t element : m_dtm->Dictionary().ValueKeys(key)) {
            expected.emplace_back(dtm_update::kParameterChanged, std::to_string(element));
        }
    }
    m_scheduler.AdvanceBy(m_dtm->GetBusLatency() * static_cast<int>(dashboardKeys.size()));
    EXPECT_EQ(m_control->TakeUpdates(), expected);

    for (const std::uint32_t key : {Live::kSpeedKey, Live::kBalanceKey, Live::kDeviationAbsKey,
                                    Live::kCounterKey, kBlockTarget, kBlockActual}) {
        const SParameterDefinition* definition = m_dtm->Dictionary().Find(key);
        ASSERT_NE(definition, nullptr) << std::hex << key;
        EXPECT_FALSE(definition->label.empty() || definition->help.empty()) << definition->name;
        EXPECT_EQ(definition->CheckValue(Value(key)), "") << definition->name;
        EXPECT_EQ(Fetch(key), Value(key)) << "the read brought the device's value";
    }
}

TEST_F(DashboardValues, CommandsFortyFiveAndFortySixSetTheModeAndFunctionSevenArmsAutomatic) {
    Send(kCommand, "45");
    EXPECT_EQ(Value(keys::kSetpointMode), "2");
    EXPECT_EQ(LastEvent(), std::pair(int{CEventLog::kModeChanged}, Modes::kDtm));
    Send(kCommand, "46");
    EXPECT_EQ(Value(keys::kSetpointMode), "1");
    EXPECT_EQ(LastEvent(), std::pair(int{CEventLog::kModeChanged}, Modes::kLocalOverride));

    VARIANT_BOOL result = VARIANT_FALSE;
    EXPECT_EQ(Execute(dtm_function::kLiveDataBuffer, "", &result), S_OK);
    EXPECT_EQ(result, VARIANT_TRUE);
    m_scheduler.AdvanceBy(10 * m_dtm->GetBusLatency());
    EXPECT_TRUE(m_control->TakeUpdates().empty()) << "function 7 sends nothing";
    EXPECT_EQ(Value(keys::kSetpointMode), "1") << "it only arms the next 45";

    Send(kCommand, "45");
    EXPECT_EQ(Value(keys::kSetpointMode), "0");
    EXPECT_EQ(LastEvent(), std::pair(int{CEventLog::kModeChanged}, Modes::kAutomatic));
    Send(kCommand, "45");
    EXPECT_EQ(Value(keys::kSetpointMode), "2") << "the 45 before disarmed it";
}

TEST_F(DashboardValues, TheLiveSetpointHoldsOutsideAutomaticAndFollowsItsPatternInIt) {
    m_scheduler.AdvanceBy(20000);
    Device().Write(kCommand, "45");
    const double held = Live::SetpointAt(20000);
    m_scheduler.AdvanceBy(20000); // the pattern has stepped from 50 to 65
    Device().Write(kCommand, "41");
    EXPECT_EQ(Device().Live().Last().setpoint, held);
    EXPECT_NEAR(Number(Live::kSetpointKey), held, 0.0005);
    EXPECT_NEAR(Number(Live::kPositionKey), held, 0.2) << "the valve stays at the held setpoint";

    Device().SetpointModes().ArmAutomatic();
    Device().Write(kCommand, "45");
    ASSERT_EQ(Value(keys::kSetpointMode), "0");
    m_scheduler.AdvanceBy(5000);
    Device().Write(kCommand, "41");
    EXPECT_EQ(Device().Live().Last().setpoint, Live::SetpointAt(45000));
    EXPECT_NEAR(Number(Live::kPositionKey), Live::SetpointAt(45000), 1)
        << "the valve has followed the step back to the pattern";

    Send(keys::kSetpointMode, "2"); // a write of the mode itself holds too
    m_scheduler.AdvanceBy(30000);
    Device().Write(kCommand, "41");
    EXPECT_EQ(Device().Live().Last().setpoint, Live::SetpointAt(45000));
}

TEST_F(DashboardValues, CommandFortyOneRefreshesLikeFortyTwoAndCountsTheRefreshes) {
    EXPECT_EQ(Value(Live::kCounterKey), "0");
    m_scheduler.AdvanceBy(30300); // the valve is on its way from 50 to 65
    Device().Write(kCommand, "41");
    EXPECT_EQ(Value(Live::kCounterKey), "1");
    const SLiveValues& last = Device().Live().Last();
    EXPECT_GT(last.speed, 5);
    EXPECT_NEAR(Number(Live::kSpeedKey), last.speed, 0.0005);
    EXPECT_NEAR(Number(Live::kBalanceKey), Number(Live::kCPlusKey) - Number(Live::kCMinusKey),
                0.0015);
    EXPECT_NEAR(Number(Live::kDeviationAbsKey), std::fabs(Number(Live::kDeviationKey)), 0.0005);
    EXPECT_GT(Number(Live::kDeviationKey), 1) << "the setpoint is ahead of the valve";

    const auto texts = [this] {
        std::vector<std::string> values;
        for (const std::uint32_t key : {Live::kPositionKey, Live::kSpeedKey, Live::kSetpointKey,
                                        Live::kBalanceKey, Live::kFrictionKey}) {
            values.push_back(Value(key));
        }
        return values;
    };
    const std::vector<std::string> refreshed = texts();
    Device().Write(kCommand, "42");
    EXPECT_EQ(Value(Live::kCounterKey), "1") << "42 does not count";
    EXPECT_EQ(texts(), refreshed) << "the same snapshot at the same time";

    m_scheduler.AdvanceBy(60000);
    Send(kCommand, "41");
    EXPECT_EQ(Value(Live::kCounterKey), "2");
    EXPECT_NE(Value(Live::kPositionKey), refreshed[0]);
    Device().Store().Write(Live::kCounterKey, "4294967295");
    Device().Write(kCommand, "41");
    EXPECT_EQ(Value(Live::kCounterKey), "0") << "32 bits wrap";
}

TEST_F(DashboardValues, TheBlockIsOutOfServiceOutOfServiceAndInItsTargetModeInService) {
    EXPECT_EQ(Value(kBlockTarget), "8");
    EXPECT_EQ(Value(kBlockActual), "8");
    Send(kBlockTarget, "16");
    EXPECT_EQ(Value(kBlockActual), "16");

    Device().ServiceMode().SetDelay(500);
    Send(CServiceModeProcedure::kTargetKey, "241");
    EXPECT_EQ(Value(kBlockActual), "16") << "not before the service mode changes";
    m_scheduler.AdvanceBy(500);
    EXPECT_EQ(Value(kBlockActual), "128");
    Send(kBlockTarget, "8");
    EXPECT_EQ(Value(kBlockActual), "128") << "the target waits for the service mode";
    Device().Store().Write(keys::kServiceMode, "1"); // a calibration's status code
    EXPECT_EQ(Value(kBlockActual), "128");

    Send(CServiceModeProcedure::kTargetKey, "240");
    m_scheduler.AdvanceBy(500);
    EXPECT_EQ(Value(kBlockActual), "8");
    Send(kBlockActual, "16");
    EXPECT_EQ(Value(kBlockActual), "8") << "a write of the actual mode is undone";
}

TEST_F(DashboardValues, ARaisedOrClearedDiagnosticAlarmShowsInTheActiveBitsAtOnce) {
    constexpr std::uint32_t kActive = 0x01590005;
    EXPECT_EQ(Value(kActive), "2048") << "alarm 22, the twelfth";
    Device().Alarms().Raise(CAlarmConfiguration::kDiagnosticAlarms[0]);
    EXPECT_EQ(Value(kActive), "2049");
    Device().Alarms().Raise(CAlarmConfiguration::kDiagnosticAlarms[33]);
    EXPECT_EQ(Value(kActive + 1), "2");
    Device().Alarms().Clear(22);
    EXPECT_EQ(Value(kActive), "1");
}

} // namespace
