// The dashboard through the control, against the simulated positioner, on the manual
// scheduler.

#include "DeviceViewsFixture.h"

#include "dtm/AlarmConfiguration.h"
#include "views/common/ServiceModeSwitch.h"
#include "views/components/Indicator.h"
#include "views/components/Led.h"
#include "views/dashboard/AdvancedDashBoardView.h"

#include <QRadioButton>

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using EArea = CAdvancedDashBoardView::EArea;
using EHealth = CAdvancedDashBoardView::EHealth;

namespace {

class DashboardViewTest : public DeviceViewsTest {
protected:
    CAdvancedDashBoardView* ShowDashboard() {
        m_window = Show(CAdvancedDashBoardView::kViewId);
        return dynamic_cast<CAdvancedDashBoardView*>(
            m_control->GetController().FindView(CAdvancedDashBoardView::kViewId));
    }
    double DeviceValue(std::uint32_t key) {
        return std::stod(Dtm().Positioner().Read(key).value_or("nan"));
    }
};

TEST_F(DashboardViewTest, PollsKeepTheGaugesLiveAndRestWhileTheServiceSwitchAsks) {
    CAdvancedDashBoardView* view = ShowDashboard();
    ASSERT_NE(view, nullptr);
    // The fast poll: the refresh command, then the reads; the gauges show the device's values.
    Dtm().Calls().Clear();
    Advance(m_scheduler, CAdvancedDashBoardView::kFastPollMs);
    const std::vector<std::string> calls = Dtm().Calls().Lines("ExecuteFunction");
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front(), "ExecuteFunction(2, 5, " + std::to_string(0x015B0001) + ")");
    EXPECT_EQ(Dtm().Positioner().Read(0x015B0001), "41");
    Advance(m_scheduler, 40000); // the setpoint has stepped since the start
    Advance(m_scheduler, CAdvancedDashBoardView::kFastPollMs);
    EXPECT_DOUBLE_EQ(view->Indicator("Position")->value(), DeviceValue(0x01440001));
    EXPECT_DOUBLE_EQ(view->Indicator("Setpoint")->value(), DeviceValue(0x04080002));
    EXPECT_DOUBLE_EQ(view->Indicator("Balance Pressure")->value(), DeviceValue(0x01530004));
    EXPECT_NE(view->Indicator("Setpoint")->value(), 50.0);

    // The update order: each key by its rule, the first of the list.
    const std::vector<std::uint32_t>& order = CAdvancedDashBoardView::UpdateOrder();
    EXPECT_EQ(order.size(), 21u);
    m_control->UpdateUI(100, Variant(std::to_string(0x01530001)));
    EXPECT_EQ(view->LastRule(), 2);
    m_control->UpdateUI(100, Variant(std::to_string(0x01290000)));
    EXPECT_EQ(view->LastRule(), 19);

    // The service switch asks: both polls rest; No starts them again.
    EXPECT_TRUE(view->IsPolling());
    view->GetServiceSwitch()->Button()->click();
    EXPECT_FALSE(view->IsPolling());
    Dtm().Calls().Clear();
    Advance(m_scheduler, 6000);
    EXPECT_TRUE(Dtm().Calls().Lines("ExecuteFunction").empty());
    view->GetServiceSwitch()->NoButton()->click();
    EXPECT_TRUE(view->IsPolling());
    EXPECT_THAT(m_reports, ::testing::IsEmpty());
}

TEST_F(DashboardViewTest, SetpointModesSendTheirCallsInOrder) {
    CAdvancedDashBoardView* view = ShowDashboard();
    ASSERT_NE(view, nullptr);
    const std::string command = std::to_string(0x015B0001);
    const auto choose = [&](int mode) {
        Dtm().Calls().Clear();
        view->ModeButton(mode)->click();
        EXPECT_TRUE(view->ModeButton(mode)->isChecked()); // at once
        std::vector<std::string> calls;
        for (const std::string& line : Dtm().Calls().Lines()) {
            if (line.starts_with("ExecuteFunction") || line.starts_with("SetParameterValue")) {
                calls.push_back(line);
            }
        }
        Advance(m_scheduler, CAdvancedDashBoardView::kModeReadBackMs + 4 * kLatencyMs);
        return calls;
    };
    EXPECT_THAT(choose(2), ElementsAre("SetParameterValue(2, " + command + ", 45)",
                                       "ExecuteFunction(2, 5, " + command + ")"));
    EXPECT_EQ(Dtm().Positioner().Read(0x012E0000), "2");
    EXPECT_THAT(choose(1), ElementsAre("SetParameterValue(2, " + command + ", 46)",
                                       "ExecuteFunction(2, 5, " + command + ")"));
    EXPECT_EQ(Dtm().Positioner().Read(0x012E0000), "1");
    EXPECT_THAT(choose(0),
                ElementsAre("ExecuteFunction(2, 7, )", "SetParameterValue(2, " + command + ", 45)",
                            "ExecuteFunction(2, 5, " + command + ")"));
    EXPECT_EQ(Dtm().Positioner().Read(0x012E0000), "0");
    EXPECT_TRUE(view->ModeButton(0)->isChecked());
    EXPECT_THAT(m_reports, ::testing::IsEmpty());
}

TEST_F(DashboardViewTest, HealthAreasFollowTheActiveAlarmsAndTheirCategories) {
    CAdvancedDashBoardView* view = ShowDashboard();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(CAdvancedDashBoardView::AreaOf(9), EArea::Valve);
    EXPECT_EQ(CAdvancedDashBoardView::AreaOf(13), EArea::Positioner);
    EXPECT_FALSE(CAdvancedDashBoardView::AreaOf(0));
    // At start: friction high (22, group 3, "Maintenance Required") warns about the valve.
    Advance(m_scheduler, CAdvancedDashBoardView::kSlowPollMs + 10 * kLatencyMs);
    EXPECT_EQ(view->Health(EArea::Valve), EHealth::Warning);
    EXPECT_EQ(view->Health(EArea::Actuator), EHealth::NoAlarm);

    // Alarm 33 (group 5, actuator) as a failure: the actuator area shows an alarm.
    const auto index33 = std::find(std::begin(CAlarmConfiguration::kDiagnosticAlarms),
                                   std::end(CAlarmConfiguration::kDiagnosticAlarms), 33) -
                         std::begin(CAlarmConfiguration::kDiagnosticAlarms);
    Dtm().Positioner().Store().WriteArrayElement(0x017A0000, 3 * index33 + 2, "3");
    Dtm().Positioner().Alarms().Raise(33);
    Advance(m_scheduler, CAdvancedDashBoardView::kSlowPollMs + 10 * kLatencyMs);
    EXPECT_EQ(view->Health(EArea::Actuator), EHealth::Alarm);

    // Info: the causes of the area, or none.
    Dtm().Calls().Clear();
    Named<QPushButton>(m_window, "Info")->click(); // the valve's
    const std::vector<std::string> dialogs = Dtm().Calls().Lines("ShowUserDialog");
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_THAT(dialogs[0], HasSubstr("HealthInformationDialog"));
    EXPECT_THAT(dialogs[0], HasSubstr("Cause of Malfunction:"));
    EXPECT_THAT(view->HealthText(EArea::Valve), HasSubstr("\n"));
    EXPECT_EQ(view->HealthText(EArea::Control), "Cause of Malfunction:\nnone");
    EXPECT_THAT(m_reports, ::testing::IsEmpty());
}

} // namespace
