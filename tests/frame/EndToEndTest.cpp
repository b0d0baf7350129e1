// The online view control in the frame's window with the simulated DTM, on the manual
// scheduler. The control is created in-process from the static libraries, so that it shares
// this program's scheduler: the server library would carry a scheduler of its own (see
// ServerLibraryTest.cpp for the runs through the library).

#include "DeviceViewsFixture.h"

#include "FrameError.h"
#include "FrameSession.h"
#include "FunctionCall.h"
#include "NavigationAccess.h"

#include "dtm/SimulatedDtm.h"
#include "edit/ViewTable.h"
#include "server/OnlineView.h"
#include "ui/Guard.h"
#include "ui/IdentificationArea.h"
#include "ui/StatusArea.h"
#include "ui/ToolbarArea.h"
#include "views/ViewCatalog.h"
#include "views/common/DeviceViewHeader.h"
#include "views/common/DeviceViewServices.h"
#include "views/components/Grid.h"
#include "views/diagnostics/EventLogView.h"
#include "views/fieldbus/FFOperationView.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>

#include <gmock/gmock.h>

#include <memory>

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

constexpr int kDashboard = 1100;
constexpr int kHistogram = 1302;
constexpr std::size_t kEntries = 30;

TEST_F(EndToEndTest, StartsWithTheNavigationOnceTheDtmAnswersAndFollowsItsState) {
    Open();
    ASSERT_TRUE(m_session->Start());
    EXPECT_TRUE(Dtm().IsUIRegistered());
    // The navigation waits for the DTM's answers, which take the bus latency.
    EXPECT_FALSE(Navigation().IsBuilt());
    EXPECT_TRUE(m_session->IsDtmBusy());
    Advance(m_scheduler, 10 * kLatencyMs);

    ASSERT_TRUE(Navigation().IsBuilt());
    EXPECT_EQ(Navigation().Entries().size(), kEntries);
    ASSERT_TRUE(Navigation().Selected());
    EXPECT_EQ(Navigation().Selected()->viewId, kDashboard);
    EXPECT_EQ(Navigation().Selected()->label, "Dashboard");
    auto* identification = FindWidget<CIdentificationArea>(Window().GetControlWidget());
    ASSERT_NE(identification, nullptr);
    EXPECT_EQ(identification->GetTitle().toStdString(), Dtm().GetState().name);
    EXPECT_EQ(Dtm().GetState().state, "Online");
    EXPECT_EQ(ConnectionPane().GetText(), "Connected");
    EXPECT_TRUE(m_control->GetController().IsEditingAllowed()); // registered, not observer

    // A state change reaches the status bar through UpdateUI(1, state document).
    Dtm().SetState("Offline");
    Advance(m_scheduler, 10);
    EXPECT_EQ(ConnectionPane().GetText(), "Disconnected");
    Dtm().SetState("Online");
    Advance(m_scheduler, 10);
    EXPECT_EQ(ConnectionPane().GetText(), "Connected");

    // The user selects another entry the way the frame's --view does.
    ASSERT_TRUE(Navigation().Select(kHistogram));
    Advance(m_scheduler, 10 * kLatencyMs);
    EXPECT_EQ(Navigation().Selected()->viewId, kHistogram);
    EXPECT_FALSE(Navigation().Select(4242));
}

TEST_F(EndToEndTest, ASecondInitTalksToTheSecondDtmOnly) {
    Started();
    ASSERT_TRUE(Navigation().IsBuilt());
    const ComPtr<CSimulatedDtm> second = MakeCom<CSimulatedDtm>(OV_DTM_DATA_DIR);
    second->SetBusLatency(kLatencyMs);
    Dtm().Calls().Clear();

    VARIANT_BOOL accepted = VARIANT_FALSE;
    ASSERT_EQ(
        m_control->Init("frame-2", FunctionCallDocument(), second.As<IUnknown>().Get(), &accepted),
        S_OK);
    EXPECT_EQ(accepted, VARIANT_TRUE);
    Advance(m_scheduler, 10 * kLatencyMs);
    // Reads, the descriptors they need, the context and the view request all reach the second
    // DTM; the first one hears nothing more.
    EXPECT_EQ(second->Calls().Count("OpenContext"), 1u);
    EXPECT_GE(second->Calls().Count("GetControlData"), 1u);
    EXPECT_THAT(second->Calls().Lines("ExecuteFunction"),
                Contains("ExecuteFunction(2, 4, 19464192)"));
    EXPECT_THAT(second->Calls().Lines("ExecuteFunction"), Contains(HasSubstr(", 6, ")));
    EXPECT_THAT(Dtm().Calls().Lines("ExecuteFunction"), ::testing::IsEmpty());
    EXPECT_EQ(Dtm().Calls().Count("GetControlData"), 0u);
    ASSERT_TRUE(Navigation().Selected());
    EXPECT_EQ(Navigation().Selected()->viewId, kDashboard);
}

TEST_F(EndToEndTest, TheToolbarHoldsPrintTreeAndHelpAfterStartAndAfterTheTreeToggles) {
    constexpr int kPrint = 300, kTree = 10, kHelp = 500;
    // The tree button's icons are shared icons, found by bare name beside the server library.
    const QString previous = QDir::currentPath();
    QDir::setCurrent(QFileInfo(QStringLiteral(OV_SERVER_LIBRARY)).absolutePath());
    Started();
    auto* toolbar = FindWidget<CToolbarArea>(Window().GetControlWidget());
    ASSERT_NE(toolbar, nullptr);
    const auto buttons = [toolbar] {
        std::vector<int> shown;
        for (const int id : {kPrint, kTree, kHelp}) {
            if (const QAction* button = toolbar->FindButton(id);
                button && !button->icon().isNull()) {
                shown.push_back(id);
            }
        }
        return shown;
    };
    EXPECT_THAT(buttons(), ElementsAre(kPrint, kTree, kHelp));

    // The tree button hides the tree and puts its own and the help button back.
    toolbar->FindButton(kTree)->trigger();
    EXPECT_TRUE(m_control->GetController().IsNavigationTreeHidden());
    EXPECT_THAT(buttons(), ElementsAre(kPrint, kTree, kHelp));
    QDir::setCurrent(previous);
}

TEST_F(EndToEndTest, TheDtmSettingsOfTheCommandLineReachTheControlAndItsDialogsTheLog) {
    SFrameOptions options;
    options.userLevel = "observer";
    options.privateDialogs = false;
    Started(options);
    EXPECT_EQ(Dtm().GetBusLatency(), kLatencyMs);
    CUIController& controller = m_control->GetController();
    EXPECT_EQ(controller.GetUserLevel(), "observer");
    EXPECT_FALSE(controller.IsEditingAllowed());
    EXPECT_FALSE(controller.ArePrivateDialogsEnabled());

    // The help command asks the DTM for its help dialog on the current view; headless, no
    // message box waits for a person.
    controller.ForwardToEditModel(0, 0);
    EXPECT_THAT(Window().GetLog()->toPlainText().toStdString(),
                HasSubstr("ShowHelp: " + std::to_string(controller.GetCurrentViewId())));
    EXPECT_TRUE(Window().findChildren<QMessageBox*>().isEmpty());
}

TEST_F(EndToEndTest, ClosingReleasesTheControlWithItsConsentAndUnregistersItFromTheDtm) {
    Started();
    QPointer<QWidget> controlWidget = Window().GetControlWidget();

    Window().close();
    EXPECT_FALSE(Window().IsControlReleased()); // asked outside the close event
    Advance(m_scheduler, 10);

    EXPECT_TRUE(Window().IsControlReleased());
    EXPECT_EQ(m_session->GetExit(), EFrameExit::Ok);
    EXPECT_FALSE(Window().isVisible());
    EXPECT_FALSE(Dtm().IsUIRegistered());
    // The control deleted its own widget when it went; the frame deleted nothing of it.
    EXPECT_TRUE(controlWidget.isNull());
    EXPECT_EQ(com::Module::Objects(), m_objectsBefore);
    // No reply of the DTM is left on its way to the control that is gone.
    Advance(m_scheduler, 10 * kLatencyMs);
}

// The frame's unattended run: select a view, save a screenshot and one per navigation entry,
// close; each step waits until the DTM has no reply on its way.
TEST_F(EndToEndTest, AutomationShowsTheViewSavesScreenshotsOfEveryEntryAndCloses) {
    QTemporaryDir folder;
    const std::string single = (folder.path() + "/single.png").toStdString();
    const std::string tour = (folder.path() + "/tour").toStdString();
    SFrameOptions options;
    options.viewId = kHistogram;
    options.screenshotFile = single;
    options.screenshotDirectory = tour;
    Open(options);
    std::vector<std::string> announced;
    m_session->GetAutomation().SetOnScreenshot(
        [&announced](const std::string& path) { announced.push_back(path); });
    ASSERT_TRUE(m_session->Start());

    Advance(m_scheduler, 4 * kLatencyMs);
    EXPECT_TRUE(Navigation().IsBuilt());
    EXPECT_TRUE(announced.empty()); // still within the quiet period
    Advance(m_scheduler, 60000);

    const CFrameAutomation& automation = m_session->GetAutomation();
    EXPECT_TRUE(automation.IsDone());
    EXPECT_EQ(m_session->GetExit(), EFrameExit::Ok);
    EXPECT_EQ(announced, automation.GetScreenshots());
    ASSERT_EQ(announced.size(), 2 + kEntries);
    EXPECT_EQ(announced[0], single);
    EXPECT_EQ(announced[1], tour + "/00-start.png");
    EXPECT_EQ(announced[2], tour + "/01-1-vela-ff.png");
    EXPECT_EQ(announced[3], tour + "/02-1100-dashboard.png");
    EXPECT_EQ(announced[9], tour + "/08-1302-histogram.png");
    EXPECT_EQ(QDir(QString::fromStdString(tour)).entryList({"*.png"}).size(),
              static_cast<int>(1 + kEntries));
    EXPECT_EQ(QImage(QString::fromStdString(single)).size(), Window().size());
    // Headless, the window closes once the screenshots are saved.
    EXPECT_TRUE(Window().IsControlReleased());
}

TEST_F(EndToEndTest, AutomationWaitsForTheDtmAndReportsAViewThatIsNotThere) {
    constexpr int kSlowReadMs = 4000;
    QTemporaryDir folder;
    const std::string shot = (folder.path() + "/shot.png").toStdString();
    SFrameOptions options;
    options.viewId = 4242;
    options.screenshotFile = shot;
    Open(options);
    ASSERT_TRUE(m_session->Start());
    Advance(m_scheduler, 4 * kLatencyMs + 10);
    ASSERT_TRUE(Navigation().IsBuilt());
    // A slow read keeps the DTM busy after the navigation is built (the dashboard's own reads
    // queue behind it at the normal latency).
    Dtm().SetBusLatency(kSlowReadMs);
    VARIANT_BOOL result = VARIANT_FALSE;
    ASSERT_EQ(Dtm().ExecuteFunction(2, 4, std::to_string(0x01680000), &result), S_OK);
    Dtm().SetBusLatency(kLatencyMs);

    Advance(m_scheduler, kSlowReadMs - 100);
    EXPECT_TRUE(m_session->IsDtmBusy());
    EXPECT_EQ(m_session->GetExit(), EFrameExit::Ok); // nothing done while the DTM is busy
    // Once the DTM has been quiet long enough (the dashboard polls between quiet spells), the
    // view request fails.
    for (int waited = 0; waited < 10000 && m_session->GetExit() == EFrameExit::Ok; waited += 10) {
        Advance(m_scheduler, 10);
    }
    EXPECT_EQ(m_session->GetExit(), EFrameExit::AutomationFailed);
    EXPECT_THAT(Window().GetLog()->toPlainText().toStdString(),
                HasSubstr("the control has no view 4242"));
    Advance(m_scheduler, 1000);
    // The other steps still run.
    EXPECT_THAT(m_session->GetAutomation().GetScreenshots(), ElementsAre(shot));
    EXPECT_TRUE(Window().IsControlReleased());
}

// --- Device views ------------------------------------------------------------------------

TEST_F(DeviceViewsTest, EveryViewOfTheCatalogueBuildsActivatesAndLeavesWithoutAnError) {
    CViewTable catalogue;
    ViewCatalog::RegisterViews(catalogue);
    ASSERT_FALSE(catalogue.GetViewIds().empty());
    for (const int viewId : catalogue.GetViewIds()) {
        QWidget* window = Show(viewId);
        ASSERT_NE(window, nullptr) << viewId;
        EXPECT_EQ(m_control->GetController().GetCurrentViewId(), viewId);
        EXPECT_TRUE(window->isVisible()) << viewId;
        // A minute of polling with the view active, then another view takes over.
        Advance(m_scheduler, 60000);
        const auto* status = window->findChild<QLabel*>(QStringLiteral("statusLine"));
        ASSERT_NE(status, nullptr) << viewId;
        EXPECT_EQ(status->text().toStdString(), "") << viewId;
    }
    Show(1000); // a view without polling
    Dtm().Calls().Clear();
    Advance(m_scheduler, 10000);
    EXPECT_EQ(Dtm().Calls().Count("ExecuteFunction"), 0u); // no hidden view polls
    EXPECT_THAT(m_reports, ::testing::IsEmpty());
}

TEST_F(DeviceViewsTest, DiagnosticsHubTakesTheDeviceOutOfServiceAndTheHeaderFollows) {
    QWidget* window = Show(1300);
    ASSERT_NE(window, nullptr);
    const auto* header = FindWidget<CDeviceViewHeader>(window);
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->ServiceBox()->text(), "SRV");
    EXPECT_EQ(header->AlarmCountBox()->text(), "1"); // the positioner starts with one alarm

    Named<QPushButton>(window, "OUT OF SERVICE")->click();
    Named<QPushButton>(window, "Yes")->click();
    Advance(m_scheduler, 10 * kLatencyMs);
    EXPECT_EQ(Dtm().Device().Read(0x01290000), "241");
    EXPECT_EQ(header->ServiceBox()->text(), "OOS");
    EXPECT_NE(Named<QPushButton>(window, "IN SERVICE"), nullptr);
    EXPECT_THAT(m_reports, ::testing::IsEmpty());
}

TEST_F(DeviceViewsTest, EventLogSetsTheClockOnceAndUploadsALongLogRowByRow) {
    Dtm().Calls().Clear();
    QWidget* window = Show(CEventLogView::kViewId);
    ASSERT_NE(window, nullptr);
    // The device clock, each element written before the next, on the first activation only.
    std::vector<std::string> clockWrites;
    for (const std::string& call : Dtm().Calls().Lines("ExecuteFunction")) {
        if (call.find(", 5, 236") != std::string::npos) {
            clockWrites.push_back(call);
        }
    }
    EXPECT_THAT(clockWrites,
                ElementsAre("ExecuteFunction(2, 5, 23658497)", "ExecuteFunction(2, 5, 23658498)",
                            "ExecuteFunction(2, 5, 23658499)", "ExecuteFunction(2, 5, 23658500)",
                            "ExecuteFunction(2, 5, 23658501)", "ExecuteFunction(2, 5, 23658502)"));

    Dtm().Positioner().Events().AppendTestEvents(400);
    const std::vector<std::uint8_t> expected = Dtm().Positioner().Events().Bytes();
    auto* view = dynamic_cast<CEventLogView*>(m_control->GetController().FindView(1307));
    ASSERT_NE(view, nullptr);
    Named<QPushButton>(window, "Refresh Log")->click();
    EXPECT_FALSE(Named<QPushButton>(window, "Refresh Log")->isEnabled());
    Advance(m_scheduler, 200000);
    EXPECT_EQ(view->GetUpload().GetState(), CSegmentUpload::EState::Completed);
    EXPECT_TRUE(Named<QPushButton>(window, "Refresh Log")->isEnabled());
    const CGrid& grid = *view->GetGrid();
    const std::size_t events = expected.size() / CEventLogView::kRecordBytes;
    ASSERT_EQ(grid.rows(), static_cast<int>(events) + 1);
    for (std::size_t e = 0; e < events; ++e) {
        const std::uint8_t* record = expected.data() + e * CEventLogView::kRecordBytes;
        const auto [name, information] = view->EventTexts(record[0], record[1]);
        const int row = static_cast<int>(e) + 1;
        ASSERT_EQ(grid.cellText(row, 0).toInt(), row);
        ASSERT_EQ(grid.cellText(row, 2).toStdString(), name) << row;
        ASSERT_EQ(grid.cellText(row, 3).toStdString(), information) << row;
    }
    // The texts of the codes: mode changes, alarms by name from the alarm file, unknown codes.
    EXPECT_EQ(view->EventTexts(7, 5),
              std::make_pair(std::string("Mode changed"), std::string("To undefined mode")));
    EXPECT_EQ(view->EventTexts(8, 22).first, "Alarm ON");
    EXPECT_FALSE(view->EventTexts(8, 22).second.empty());
    EXPECT_EQ(view->EventTexts(15, 0).first, "unknown event");
    // A frame with 25 payload bytes holds two whole records; the other five are ignored.
    const int before = grid.rows();
    const std::vector<std::uint8_t> payload(25, 7);
    view->AppendRecords(SSegmentFrame{.eventsInFrame = 25, .payload = payload});
    EXPECT_EQ(grid.rows(), before + 2);
    EXPECT_EQ(ClockBaseYear(2024) + 24, 2024);
    EXPECT_EQ(ClockBaseYear(1999) + 24, 1924);

    // A device that answers every frame with the wrong number: lost frames, reported by number.
    Dtm().Positioner().Events().Clear();
    Dtm().Positioner().Events().AppendTestEvents(30); // three frames
    Dtm().Faults().frames.wrongSeqIdAlways = true;
    Named<QPushButton>(window, "Refresh Log")->click();
    Advance(m_scheduler, 200000);
    EXPECT_EQ(view->GetUpload().GetState(), CSegmentUpload::EState::LastFrameMissed);
    EXPECT_THAT(view->GetUpload().GetLostFrames(), ElementsAre(0, 1, 2));
    EXPECT_EQ(grid.rows(), 1);
    EXPECT_THAT(m_reports, ::testing::IsEmpty());
}

TEST_F(DeviceViewsTest, FieldbusServiceViewPrintsEachResponseAndServiceErrors) {
    QWidget* window = Show(1000);
    ASSERT_NE(window, nullptr);
    Named<QPushButton>(window, "Get Default")->click();
    EXPECT_EQ(window->findChild<QLineEdit*>(QStringLiteral("vfdTag"))->text(), "VP700_VFD");
    window->findChild<QLineEdit*>(QStringLiteral("odIndex"))->setText("256");

    const std::pair<const char*, const char*> services[] = {
        {"FmsStatus", "FmsStatus PhysicalStatus: "},
        {"FmsIdentify", "FmsIdentify Vendor: Vela Automation"},
        {"FmsGetOd", "FmsGetOd Number of ObjectDescriptions: "},
        {"SmIdentify", "SmIdentify PdTag: FV-101"},
    };
    for (const auto& [button, line] : services) {
        Named<QPushButton>(window, button)->click();
        Advance(m_scheduler, 4 * kLatencyMs);
        EXPECT_THAT(Output(window), HasSubstr(line)) << button;
    }
    window->findChild<QLineEdit*>(QStringLiteral("tag"))->setText("FV-101");
    Named<QPushButton>(window, "SmFindTag")->click();
    Advance(m_scheduler, 4 * kLatencyMs);
    EXPECT_THAT(Output(window), HasSubstr("SmFindTagPD DevID: "));

    // An unknown tag (typed with quotes and angle brackets) is a service error.
    Named<QPushButton>(window, "Clear")->click();
    window->findChild<QLineEdit*>(QStringLiteral("vfdTag"))->setText("<\"bad'>");
    Named<QPushButton>(window, "FmsIdentify")->click();
    Advance(m_scheduler, 4 * kLatencyMs);
    EXPECT_THAT(Output(window), HasSubstr("Error Class: 1"));
    EXPECT_THAT(Output(window), HasSubstr("Error Code: 1"));

    // A document that is not well-formed is an error line; one of no known kind is dumped as
    // unknown; the view goes on either way.
    Named<QPushButton>(window, "Clear")->click();
    m_control->UpdateUI(602, Variant("<fms:FmsStatusResponse"));
    EXPECT_THAT(Output(window), ::testing::StartsWith("Error: "));
    m_control->UpdateUI(602, Variant("<Other/>"));
    const auto* view = dynamic_cast<CFFOperationView*>(m_control->GetController().FindView(1000));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->ErrorDescription()->text(), "Unknown response received.");
    EXPECT_THAT(Output(window), HasSubstr("<Other/>"));
    EXPECT_THAT(m_reports, ::testing::IsEmpty());
}

} // namespace
