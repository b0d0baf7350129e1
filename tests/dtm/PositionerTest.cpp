#include "DtmTestSupport.h"

#include <gtest/gtest.h>

namespace {

using Updates = std::vector<CFakeControl::Update>;
using SimulatedPositioner = DtmTest;

constexpr std::uint32_t kServiceModeTarget = 0x01280000;

std::string Decimal(std::uint32_t key) {
    return std::to_string(key);
}

TEST_F(SimulatedPositioner, ServiceModeFollowsAWrittenTargetAfterTheModeChangeDelay) {
    ASSERT_EQ(Register(), VARIANT_TRUE);
    constexpr int delay = 300; // a slow device
    m_dtm->Positioner().ServiceMode().SetDelay(delay);

    // Setting the DTM's copy alone asks the device for nothing.
    EXPECT_EQ(Set(kServiceModeTarget, "241"), "");
    m_scheduler.AdvanceBy(10 * delay);
    EXPECT_EQ(m_dtm->Device().Read(keys::kServiceMode), "240");

    EXPECT_EQ(Execute(dtm_function::kWrite, Decimal(kServiceModeTarget)), S_OK);
    m_scheduler.AdvanceBy(delay - 1);
    EXPECT_EQ(m_dtm->Device().Read(keys::kServiceMode), "240") << "not before the delay";
    m_scheduler.AdvanceBy(1);
    EXPECT_EQ(m_dtm->Device().Read(keys::kServiceMode), "241");

    // The header reads it like any parameter.
    EXPECT_EQ(Execute(dtm_function::kRead, Decimal(keys::kServiceMode)), S_OK);
    m_scheduler.AdvanceBy(m_dtm->GetBusLatency());
    EXPECT_EQ(m_control->TakeUpdates(),
              (Updates{{dtm_update::kParameterChanged, Decimal(keys::kServiceMode)}}));
    EXPECT_EQ(Fetch(keys::kServiceMode), "241");

    // A new request replaces one still pending: the mode goes straight to the last target.
    EXPECT_EQ(Set(kServiceModeTarget, "240"), "");
    EXPECT_EQ(Execute(dtm_function::kWrite, Decimal(kServiceModeTarget)), S_OK);
    m_scheduler.AdvanceBy(delay / 2);
    EXPECT_EQ(Set(kServiceModeTarget, "241"), "");
    EXPECT_EQ(Execute(dtm_function::kWrite, Decimal(kServiceModeTarget)), S_OK);
    m_scheduler.AdvanceBy(delay - 1);
    EXPECT_EQ(m_dtm->Device().Read(keys::kServiceMode), "241");
    EXPECT_TRUE(m_dtm->Positioner().ServiceMode().IsPending());
    m_scheduler.AdvanceBy(1);
    EXPECT_FALSE(m_dtm->Positioner().ServiceMode().IsPending());
    EXPECT_EQ(m_dtm->Device().Read(keys::kServiceMode), "241");

    EXPECT_EQ(Set(kServiceModeTarget, "240"), "");
    EXPECT_EQ(Execute(dtm_function::kWrite, Decimal(kServiceModeTarget)), S_OK);
    m_scheduler.AdvanceBy(delay);
    EXPECT_EQ(m_dtm->Device().Read(keys::kServiceMode), "240");

    // A change still pending goes with the DTM.
    EXPECT_EQ(Set(kServiceModeTarget, "241"), "");
    EXPECT_EQ(Execute(dtm_function::kWrite, Decimal(kServiceModeTarget)), S_OK);
    m_factory.reset(); // it holds the DTM too
    m_dtm = nullptr;
    EXPECT_EQ(m_scheduler.TimerCount(), 0u);
}

TEST_F(SimulatedPositioner, AlarmCountAndCurrentAlarmFollowTheActiveAlarms) {
    ASSERT_EQ(Register(), VARIANT_TRUE);
    CAlarmEngine& alarms = m_dtm->Positioner().Alarms();
    const auto header = [&] {
        return *m_dtm->Device().Read(keys::kActiveAlarmCount) + "/" +
               *m_dtm->Device().Read(keys::kCurrentAlarm);
    };
    EXPECT_EQ(header(), "1/22") << "the positioner starts as its dictionary says";

    alarms.Raise(7);
    alarms.Raise(3);
    EXPECT_EQ(header(), "3/3");
    alarms.Raise(7);
    alarms.Raise(0);
    EXPECT_EQ(header(), "3/3") << "an active alarm again and alarm 0 change nothing";
    alarms.Clear(3);
    EXPECT_EQ(header(), "2/7") << "the most recent of those still active";
    alarms.Clear(3);
    alarms.Clear(22);
    EXPECT_EQ(header(), "1/7");
    alarms.ClearAll();
    EXPECT_EQ(header(), "0/0");

    // What the view sees: the values after a read.
    alarms.Raise(9);
    EXPECT_EQ(Execute(dtm_function::kRead, Decimal(keys::kActiveAlarmCount)), S_OK);
    EXPECT_EQ(Execute(dtm_function::kRead, Decimal(keys::kCurrentAlarm)), S_OK);
    m_scheduler.AdvanceBy(2 * m_dtm->GetBusLatency());
    EXPECT_EQ(m_control->TakeUpdates().size(), 2u);
    EXPECT_EQ(Fetch(keys::kActiveAlarmCount), "1");
    EXPECT_EQ(Fetch(keys::kCurrentAlarm), "9");

    // Setpoint mode and procedure state are plain values tests set in the store.
    EXPECT_EQ(m_dtm->Device().Read(keys::kSetpointMode), "0");
    EXPECT_EQ(m_dtm->Device().Read(keys::kCommandState), "0");
    EXPECT_TRUE(m_dtm->Device().Write(keys::kSetpointMode, "2"));
    EXPECT_TRUE(m_dtm->Device().Write(keys::kCommandState, "200"));
    EXPECT_EQ(Execute(dtm_function::kRead, Decimal(keys::kDeviceCommand)), S_OK);
    EXPECT_EQ(Execute(dtm_function::kRead, Decimal(keys::kSetpointMode)), S_OK);
    m_scheduler.AdvanceBy(2 * m_dtm->GetBusLatency());
    EXPECT_EQ(Fetch(keys::kCommandState), "200");
    EXPECT_EQ(Fetch(keys::kSetpointMode), "2");
}

} // namespace
