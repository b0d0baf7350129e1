// The alarm list and the alarm information view through the control, against the simulated
// positioner's alarm log, on the manual scheduler.

#include "DeviceViewsFixture.h"

#include "dtm/AlarmLog.h"
#include "views/alarms/AlarmConfigurationView.h"
#include "views/alarms/AlarmStatusView.h"
#include "views/alarms/DiagnosticsAlarmConfigurationView.h"
#include "views/alarms/DigitalOutputAlarmConfigurationView.h"
#include "views/alarms/SubAlarmView.h"
#include "views/common/DeviceViewHeader.h"
#include "views/components/Grid.h"
#include "views/components/Led.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
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
};

TEST_F(AlarmViewsTest, PollAllListsTheDeviceLogAndARowOpensItsInformation) {
    CAlarmStatusView* list = ShowList();
    ASSERT_NE(list, nullptr);
    auto& alarms = Dtm().Positioner().Alarms();
    alarms.Raise(6);
    alarms.Raise(9);
    alarms.Clear(6);
    // The header shows the newest active alarm at its next poll.
    Advance(m_scheduler, 4000);
    EXPECT_EQ(list->GetHeader()->AlarmCountBox()->text(), "2");
    EXPECT_EQ(list->GetHeader()->AlarmBox()->text().toStdString(),
              list->FindAlarm(9)->shortDescription);
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

    // An e-mail about the alarm; a printout of the page; the maker's pages once an address
    // is set.
    struct SLinks : ILinkOpener {
        bool Open(const std::string& url) override {
            opened.push_back(url);
            return true;
        }
        std::vector<std::string> opened;
    } links;
    struct SPrinter : IPrintService {
        bool Print(QWidget&, const std::string& title) override {
            printed.push_back(title);
            return true;
        }
        std::vector<std::string> printed;
    } printer;
    SetLinkOpener(&links);
    SetPrintService(&printer);
    Named<QPushButton>(info->GetWindow(), "Send e-mail")->click();
    ASSERT_EQ(links.opened.size(), 1u);
    EXPECT_TRUE(links.opened[0].starts_with("mailto:?subject=Alarm%2022"));
    Named<QPushButton>(info->GetWindow(), "Print")->click();
    EXPECT_EQ(printer.printed.size(), 1u);
    EXPECT_FALSE(Named<QPushButton>(info->GetWindow(), "Repair")->isEnabled());
    SetMakerWebAddress("https://service.example/vp700");
    m_window = Show(CAlarmStatusView::kViewId);
    m_window = Show(CSubAlarmView::kViewId);
    Named<QPushButton>(info->GetWindow(), "Help")->click();
    EXPECT_EQ(links.opened.back(), "https://service.example/vp700");
    SetMakerWebAddress("");
    SetLinkOpener(nullptr);
    SetPrintService(nullptr);

    Dtm().SetPrivateDialogEnabled(false);
    Advance(m_scheduler, 10 * kLatencyMs);
    info->Notes()->clear();
    Dtm().Calls().Clear();
    Named<QPushButton>(info->GetWindow(), "Open")->click();
    EXPECT_TRUE(info->Notes()->toPlainText().isEmpty());
    EXPECT_EQ(Dtm().Calls().Count("ShowUserDialog"), 1u);
    EXPECT_THAT(m_reports, ::testing::IsEmpty());
}

TEST_F(AlarmViewsTest, DiagnosticConfigurationShowsTheGroupLimitsAndWritesSingleElements) {
    m_window = Show(CDiagnosticsAlarmConfgurationView::kViewId);
    auto* view = dynamic_cast<CDiagnosticsAlarmConfgurationView*>(
        m_control->GetController().FindView(CDiagnosticsAlarmConfgurationView::kViewId));
    ASSERT_NE(view, nullptr);
    // Alarm 76 (group 13): one label; Default puts 1.00 into its row, the others stay empty.
    auto* names = m_window->findChildren<QComboBox*>().front();
    int index76 = -1;
    for (int i = 0; i < names->count(); ++i) {
        view->ChooseAlarm(names->itemText(i));
        if (view->SelectedAlarm() == 76) {
            index76 = i;
            break;
        }
    }
    ASSERT_GE(index76, 0);
    EXPECT_EQ(view->Label(0)->text(), "Max feedback linkage play [%]");
    Named<QPushButton>(m_window, "Default ")->click();
    EXPECT_EQ(view->Value(0)->text(), "1.00");
    for (int row = 1; row < CDiagnosticsAlarmConfgurationView::kRows; ++row) {
        EXPECT_TRUE(view->Label(row)->text().isEmpty()) << row;
        EXPECT_TRUE(view->Value(row)->text().isEmpty()) << row;
    }

    // Read: the device's limit as "%.2f"; Apply writes only the alarm's elements (function 18).
    Named<QPushButton>(m_window, "Read")->click();
    Advance(m_scheduler, 10 * kLatencyMs);
    EXPECT_EQ(view->Message(), "Read request is successful");
    EXPECT_EQ(view->Value(0)->text(), "1.00");
    view->Value(0)->setText("1.5");
    view->Enabled()->setChecked(false);
    Dtm().Calls().Clear();
    Named<QPushButton>(m_window, "Apply")->click();
    std::vector<std::string> requests;
    for (const std::string& line : Dtm().Calls().Lines("ExecuteFunction")) {
        if (line.starts_with("ExecuteFunction(2, 18, ")) {
            requests.push_back(line);
        }
    }
    ASSERT_EQ(requests.size(), 4u); // enabled, category, priority, one limit
    EXPECT_NE(requests.back().find("elementIndex=\"73\""), std::string::npos) << requests.back();
    EXPECT_EQ(std::stod(Dtm().Positioner().Store().ReadArrayElement(0x017B0000, 73).value_or("0")),
              1.5);
    EXPECT_EQ(view->Message(), "Write request is successful");

    // Group 0: no limits to set.
    for (int i = 1; i < names->count(); ++i) {
        view->ChooseAlarm(names->itemText(i));
        if (view->SelectedAlarm() == 8) {
            break;
        }
    }
    EXPECT_EQ(view->Label(0)->text(), "No symptoms to set");
    EXPECT_THAT(m_reports, ::testing::IsEmpty());
}

TEST_F(AlarmViewsTest, EnablingSplitsTheRowsReadsAndWritesTheEnableBits) {
    // Seven rows: 1 to 3 in the left grid, 4 to 7 in the right one at 1 to 4.
    EXPECT_EQ(CAlarmConfigurationView::RowPlace(3, 7), std::pair(0, 3));
    EXPECT_EQ(CAlarmConfigurationView::RowPlace(4, 7), std::pair(1, 1));
    EXPECT_EQ(CAlarmConfigurationView::RowPlace(7, 7), std::pair(1, 4));

    m_window = Show(CAlarmConfigurationView::kViewId);
    auto* view = dynamic_cast<CAlarmConfigurationView*>(
        m_control->GetController().FindView(CAlarmConfigurationView::kViewId));
    ASSERT_NE(view, nullptr);
    ASSERT_GT(view->Rows(), 2);
    // The device's bits arrive on activation: every alarm enabled at first.
    for (int row = 1; row <= view->Rows(); ++row) {
        ASSERT_TRUE(view->IsRowEnabled(row)) << row;
        ASSERT_NE(view->RowAlarm(row), 0u) << row;
    }
    // Without spring: the spring-range alarms (group 9, e.g. 50) off; Apply writes the bits.
    Named<QCheckBox>(m_window, "Actuator Without Spring")->click();
    int row50 = 0;
    for (int row = 1; row <= view->Rows(); ++row) {
        if (view->RowAlarm(row) == 50) {
            row50 = row;
        }
    }
    ASSERT_GT(row50, 0);
    EXPECT_FALSE(view->IsRowEnabled(row50));
    EXPECT_TRUE(view->IsRowEnabled(1));
    view->SetRowEnabled(1, false);
    Named<QPushButton>(m_window, "Apply")->click();
    Advance(m_scheduler, 10 * kLatencyMs);
    const std::uint64_t bits =
        std::stoull(Dtm().Positioner().Read(0x01590001).value_or("0")) |
        (std::stoull(Dtm().Positioner().Read(0x01590002).value_or("0")) << 32);
    EXPECT_EQ(bits & 1u, 0u);                  // the first alarm, off
    EXPECT_EQ((bits >> (row50 - 1)) & 1u, 0u); // alarm 50, off
    EXPECT_EQ((bits >> 1) & 1u, 1u);           // the second, on
    // Read gives the device's state back after Select All.
    Named<QCheckBox>(m_window, "Select All")->click();
    EXPECT_TRUE(view->IsRowEnabled(1));
    Named<QPushButton>(m_window, "Read")->click();
    Advance(m_scheduler, 10 * kLatencyMs);
    EXPECT_FALSE(view->IsRowEnabled(1));
    EXPECT_FALSE(view->IsRowEnabled(row50));
    EXPECT_THAT(m_reports, ::testing::IsEmpty());
}

TEST_F(AlarmViewsTest, DigitalOutputGroupsReadTheirRecordsAndApplyOneGroup) {
    m_window = Show(CDigitalOutPutAlarmConfigurationView::kViewId);
    auto* view = dynamic_cast<CDigitalOutPutAlarmConfigurationView*>(
        m_control->GetController().FindView(CDigitalOutPutAlarmConfigurationView::kViewId));
    ASSERT_NE(view, nullptr);
    const auto& groups = CDigitalOutPutAlarmConfigurationView::Groups();
    EXPECT_EQ(std::string(groups[2].title), "Position vs Pressure Difference Alarm ");
    // The device's values after the read on activation, as "%.2f".
    EXPECT_EQ(view->Value(3, 2)->text(), "80.00"); // temperature Hi
    EXPECT_EQ(view->Value(0, 0)->text(), "10.00"); // deviation distance
    EXPECT_EQ(view->CategoryChoice(3)->currentText(), "Maintenance Required");

    // The temperature group alone: its record and its category and priority bits.
    view->OnOff(3)->setChecked(true);
    view->Value(3, 2)->setText("70");
    view->CategoryChoice(3)->setCurrentIndex(3); // Failure
    view->PriorityChoice(3)->setCurrentIndex(2); // Very High
    Dtm().Calls().Clear();
    view->ApplyGroup(3);
    Advance(m_scheduler, 10 * kLatencyMs);
    EXPECT_EQ(Dtm().Positioner().Read(0x01380001), "1");
    EXPECT_EQ(std::stod(Dtm().Positioner().Read(0x01380004).value_or("0")), 70.0);
    EXPECT_EQ(Dtm().Positioner().Read(0x01350001), "0"); // the deviation alarm untouched
    const auto categories = std::stoul(Dtm().Positioner().Read(0x01590003).value_or("0"));
    const auto priorities = std::stoul(Dtm().Positioner().Read(0x01590004).value_or("0"));
    EXPECT_EQ((categories >> (2 * 3)) & 3u, 3u);
    EXPECT_EQ((priorities >> (2 * 3)) & 3u, 3u);
    EXPECT_EQ((categories >> (2 * 0)) & 3u, 1u); // deviation: still Maintenance Required

    // An entry that is no number writes nothing.
    view->Value(0, 0)->setText("ten");
    Dtm().Calls().Clear();
    view->ApplyGroup(0);
    EXPECT_TRUE(Dtm().Calls().Lines("ExecuteFunction").empty());
    m_reports.clear();
}

} // namespace
