// The alarm list and the alarm information view through the control, against the simulated
// positioner's alarm log, on the manual scheduler.

#include "DeviceViewsFixture.h"

#include "dtm/AlarmLog.h"
#include "views/alarms/AlarmStatusView.h"
#include "views/alarms/SubAlarmView.h"
#include "views/components/Grid.h"
#include "views/components/Led.h"

#include <QPlainTextEdit>
#include <QTemporaryDir>

namespace {

class AlarmViewsTest : public DeviceViewsTest {
protected:
    CAlarmStatusView* ShowList() {
        m_window = Show(CAlarmStatusView::kViewId);
        return dynamic_cast<CAlarmStatusView*>(
            m_control->GetController().FindView(CAlarmStatusView::kViewId));
    }
    void PollAll(CAlarmStatusView& view) {
        Named<QPushButton>(m_window, "Poll All")->click();
        while (view.GetUpload().GetState() == CSegmentUpload::EState::Waiting) {
            Advance(m_scheduler, 1000);
        }
    }

    QWidget* m_window = nullptr;
};

TEST_F(AlarmViewsTest, PollAllListsTheDeviceLogAndARowOpensItsInformation) {
    CAlarmStatusView* list = ShowList();
    ASSERT_NE(list, nullptr);
    auto& alarms = Dtm().Positioner().Alarms();
    alarms.Raise(6);
    alarms.Raise(9);
    alarms.Clear(6);
    Dtm().Calls().Clear();
    PollAll(*list);
    // The clock first, as for the event log, then the summary and the log upload.
    const std::vector<std::string> calls = Dtm().Calls().Lines("ExecuteFunction");
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front(), "ExecuteFunction(2, 5, " + std::to_string(0x01690001) + ")");
    EXPECT_EQ(list->GetUpload().GetState(), CSegmentUpload::EState::Completed);

    // One row per record of the device's log, in its order: 22 (at start), 6, 9.
    const CGrid& grid = *list->GetGrid();
    ASSERT_EQ(grid.rows(), 1 + 3);
    EXPECT_EQ(grid.cellText(1, 4), "22");
    EXPECT_EQ(grid.cellText(2, 4), "6");
    EXPECT_EQ(grid.cellText(2, 3), "INACTIVE & NAK");
    EXPECT_EQ(grid.cellText(3, 3), "ACTIVE & NAK");
    EXPECT_EQ(grid.cellText(3, 0), "Maintenance Required");
    EXPECT_EQ(grid.cellText(3, 2), "Medium");
    EXPECT_EQ(grid.cellText(3, 5), "3");
    EXPECT_FALSE(grid.cellText(1, 1).isEmpty()); // the alarm's name

    // Selecting shows the description; a row without an alarm number shows none.
    list->SelectRow(3);
    EXPECT_FALSE(list->Description().isEmpty());
    list->GetGrid()->setCellText(2, 4, QStringLiteral("x7"));
    list->SelectRow(2);
    EXPECT_TRUE(list->Description().isEmpty());

    // Double-click: the alarm information view shows that alarm.
    list->OpenRow(3);
    Advance(m_scheduler, 10 * kLatencyMs);
    auto* info =
        dynamic_cast<CSubAlarmView*>(m_control->GetController().FindView(CSubAlarmView::kViewId));
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(m_control->GetController().GetCurrentViewId(), CSubAlarmView::kViewId);
    EXPECT_EQ(info->Alarm(), 9u);
    EXPECT_EQ(info->Field("Type:"), "Diagnostic alarm");
    EXPECT_FALSE(info->Field("Name:").isEmpty());
    EXPECT_FALSE(info->Field("Recommendation").isEmpty());
    EXPECT_TRUE(info->CategoryLed(1)->isActive());
    EXPECT_FALSE(info->CategoryLed(3)->isActive());
    EXPECT_TRUE(info->PriorityLed(1)->isActive());
    EXPECT_EQ(info->Field("Tag:"), "VP700_VFD");

    // Acknowledge: the device's answer lights the lamp.
    EXPECT_FALSE(info->AcknowledgeLed()->isActive());
    Named<QPushButton>(info->GetWindow(), "Acknowledge")->click();
    Advance(m_scheduler, 10 * kLatencyMs);
    EXPECT_EQ(Dtm().Positioner().AlarmLog().State(9), CAlarmLog::kActiveAcknowledged);
    EXPECT_TRUE(info->AcknowledgeLed()->isActive());
    EXPECT_THAT(m_reports, ::testing::IsEmpty());
}

TEST_F(AlarmViewsTest, NotesAreKeptPerAlarmAndNeedPrivateDialogs) {
    CAlarmStatusView* list = ShowList();
    ASSERT_NE(list, nullptr);
    PollAll(*list);
    list->OpenRow(1);
    Advance(m_scheduler, 10 * kLatencyMs);
    auto* info =
        dynamic_cast<CSubAlarmView*>(m_control->GetController().FindView(CSubAlarmView::kViewId));
    ASSERT_NE(info, nullptr);
    QTemporaryDir folder;
    info->SetNotesFolder(folder.path() + "/notes");
    info->Notes()->setPlainText(QStringLiteral("Packing replaced.\nCheck again in May."));
    Named<QPushButton>(info->GetWindow(), "Save")->click();
    EXPECT_TRUE(QFile::exists(info->NotesPath()));
    info->Notes()->clear();
    Named<QPushButton>(info->GetWindow(), "Open")->click();
    EXPECT_EQ(info->Notes()->toPlainText(), "Packing replaced.\nCheck again in May.");

    Dtm().SetPrivateDialogEnabled(false);
    Advance(m_scheduler, 10 * kLatencyMs);
    info->Notes()->clear();
    Dtm().Calls().Clear();
    Named<QPushButton>(info->GetWindow(), "Open")->click();
    EXPECT_TRUE(info->Notes()->toPlainText().isEmpty());
    EXPECT_EQ(Dtm().Calls().Count("ShowUserDialog"), 1u);
    EXPECT_THAT(m_reports, ::testing::IsEmpty());
}

} // namespace
