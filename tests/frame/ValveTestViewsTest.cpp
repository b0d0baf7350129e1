// The ramp and multi-step test views through the control, against the simulated positioner's
// valve tests, on the manual scheduler.

#include "DeviceViewsFixture.h"

#include "views/common/DeviceViewServices.h"
#include "views/components/Led.h"
#include "views/components/Plot.h"
#include "views/diagnostics/MultiStepTestView.h"
#include "views/diagnostics/PSTView.h"
#include "views/diagnostics/RampTestView.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdint>
#include <optional>

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ELamp = CValveTestViewCore::ELamp;
using EPhase = CValveTestViewCore::EPhase;

namespace {

constexpr std::uint32_t kCommand = 0x015B0001;
constexpr std::uint32_t kFrameNumber = 0x015B0004;
constexpr std::uint32_t kSegment = 0x01650000;

class ValveTestViewsTest : public DeviceViewsTest {
protected:
    QLineEdit* Field(const char* label) {
        return m_window->findChild<QLineEdit*>(QString::fromUtf8(label));
    }
    // The keys written (function 5) and read (function 4) since the call log was cleared.
    std::vector<std::uint32_t> Calls(int function) {
        std::vector<std::uint32_t> keys;
        const std::string prefix = "ExecuteFunction(2, " + std::to_string(function) + ", ";
        for (const std::string& line : Dtm().Calls().Lines("ExecuteFunction")) {
            if (line.starts_with(prefix)) {
                keys.push_back(static_cast<std::uint32_t>(std::stoul(line.substr(prefix.size()))));
            }
        }
        return keys;
    }
    std::size_t Reads(std::uint32_t key) {
        const std::vector<std::uint32_t> reads = Calls(4);
        return static_cast<std::size_t>(std::count(reads.begin(), reads.end(), key));
    }
    static QList<QPointF> Points(const CPlot& plot, const char* channel) {
        return plot.channelPoints(plot.GetChannelByName(QString::fromUtf8(channel)));
    }

    CAnsweringFileDialogs m_dialogs;
};

TEST_F(ValveTestViewsTest, RampTestAppliesInOrderRunsOnTheDeviceAndPlotsTheSimulatedResponse) {
    CRampTestView* view = ShowTest<CRampTestView>(false);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Field("Duration:")->text(), "20.0"); // the device's settings, read and shown
    EXPECT_FALSE(Button("Start")->isEnabled());    // not applied yet

    // Apply writes in its own order, scaled, then reads the record back after 100 ms.
    m_window->findChild<QComboBox*>(QStringLiteral("Ramp Type:"))->setCurrentIndex(0);
    Field("Pre Test Time:")->setText("4");
    Dtm().Calls().Clear();
    Button("Apply")->click();
    EXPECT_THAT(Calls(5), ElementsAre(0x01600001, 0x01600002, 0x01600007, 0x01600004, 0x01600005,
                                      0x01600008, 0x01600003, 0x01600009, 0x01600006));
    EXPECT_EQ(Dtm().Positioner().Read(0x01600001), "0");
    EXPECT_EQ(Dtm().Positioner().Read(0x01600002), "500");
    EXPECT_EQ(Dtm().Positioner().Read(0x01600008), "4000");
    EXPECT_FALSE(Button("Apply")->isEnabled());
    Dtm().Positioner().Store().Write(0x01600009, "2500"); // the device keeps its own value
    Advance(m_scheduler, 90);
    EXPECT_EQ(Reads(0x01600000), 0u);
    Advance(m_scheduler, 10 * kLatencyMs);
    EXPECT_EQ(Reads(0x01600000), 1u);
    EXPECT_EQ(Field("Pause Time:")->text(), "2.5");
    EXPECT_EQ(Field("Pre Test Time:")->text(), "4.0");
    EXPECT_TRUE(view->IsApplied());
    // In service the test cannot start.
    EXPECT_FALSE(Button("Start")->isEnabled());
    EXPECT_EQ(view->TestStatus(), "Put the device into Out of Service");
    // One way, 20 s and a pause of 2.5 s: 225 samples from the end of the pre-test time.
    EXPECT_EQ(view->SampleCount(), 225u);

    // The technician takes the device out of service in the diagnostics hub and comes back.
    m_window = Show(1300);
    Click("OUT OF SERVICE");
    Click("Yes");
    m_window = Show(CRampTestView::kViewId);
    ASSERT_TRUE(Button("Start")->isEnabled());
    Dtm().Calls().Clear();
    Button("Start")->click();
    EXPECT_THAT(Calls(5), ElementsAre(kFrameNumber, kCommand));
    EXPECT_EQ(Dtm().Positioner().Read(kCommand), "24");
    EXPECT_EQ(view->TestStatus(), "Ramp test is launched...");
    EXPECT_TRUE(view->Lamp(ELamp::InProgress)->isActive());
    Advance(m_scheduler, 1000);
    EXPECT_EQ(view->TestStatus(), "In progress");
    EXPECT_EQ(Reads(0x015B0000), 2u); // every 500 ms
    EXPECT_EQ(Reads(0x01680000), 0u); // the header waits while the test runs
    RunTest(*view);
    ASSERT_EQ(view->GetPhase(), EPhase::Idle);
    EXPECT_EQ(view->TestStatus(), "Results Plotting Completed");
    EXPECT_TRUE(view->Lamp(ELamp::Passed)->isActive());
    EXPECT_FALSE(view->Lamp(ELamp::InProgress)->isActive());
    EXPECT_EQ(Reads(kSegment), 4u); // 225 samples in four frames of 61

    // The plotted position is the simulated valve's, sample i at the pre-test time + i / 10.
    const std::vector<std::int16_t>& device = Dtm().Positioner().ValveTests().RampSamples();
    const QList<QPointF> position = Points(*view->GetPlot(), "Channel 2");
    ASSERT_EQ(device.size(), 225u);
    ASSERT_EQ(position.size(), 225);
    for (int i = 0; i < position.size(); ++i) {
        ASSERT_DOUBLE_EQ(position[i].x(), 4.0 + i / 10.0) << i;
        ASSERT_DOUBLE_EQ(position[i].y(), device[static_cast<std::size_t>(i)] / 100.0) << i;
    }
    EXPECT_EQ(view->GetPlot()->channelName(0), "Input Setpoint");
    EXPECT_EQ(view->GetPlot()->channelName(1), "Output Position");

    // Round trip, 20 s and 2 s: 260 samples in five frames, state by state.
    Button("Default")->click();
    Click("Apply");
    EXPECT_EQ(view->SampleCount(), 260u);
    RunTest(*view);
    EXPECT_EQ(Dtm().Positioner().Read(kCommand), "26");
    EXPECT_EQ(Reads(kSegment), 5u);
    EXPECT_EQ(Points(*view->GetPlot(), "Channel 2").size(), 260);
    EXPECT_THAT(m_reports, ::testing::IsEmpty());
}

TEST_F(ValveTestViewsTest, MultiStepTestFetchesSamplesThenFiguresAndListsTheChosenFigure) {
    CMultiStepTestView* view = ShowTest<CMultiStepTestView>();
    ASSERT_NE(view, nullptr);
    Dtm().Calls().Clear();
    Click("Apply");
    EXPECT_THAT(Calls(5), ElementsAre(0x015F0007, 0x015F0008, 0x015F0009, 0x015F000A, 0x015F000B));
    EXPECT_EQ(Dtm().Positioner().Read(0x015F000B), "4");
    // Defaults: 2 s before, four waves of two 2 s steps: 180 samples, 40 figures.
    EXPECT_EQ(view->SampleCount(), 180u);
    EXPECT_EQ(view->FigureCount(), 40u);
    const QList<QPointF> setpoint = Points(*view->GetPlot(), "Channel 1");
    ASSERT_FALSE(setpoint.isEmpty());
    EXPECT_EQ(setpoint.back(), QPointF(18.0, 50.0));
    EXPECT_EQ(view->Setpoint(2.5), 60.0);
    EXPECT_EQ(view->Setpoint(4.5), 50.0);

    RunTest(*view);
    ASSERT_EQ(view->GetPhase(), EPhase::Idle);
    EXPECT_EQ(view->TestStatus(), "Results plotting completed");
    EXPECT_EQ(Reads(kSegment), 3u + 1u); // three results frames, one vector frame
    const CValveTestProcedure& device = Dtm().Positioner().ValveTests();
    ASSERT_EQ(view->Results(0).size(), device.StepSamples().size());
    ASSERT_EQ(view->Results(1).size(), device.StepFigures().size());
    for (std::size_t i = 0; i < device.StepFigures().size(); ++i) {
        ASSERT_DOUBLE_EQ(view->Results(1)[i], device.StepFigures()[i] / 100.0) << i;
    }
    // Channel 3 is the deviation of the position from the setpoint.
    const QList<QPointF> position = Points(*view->GetPlot(), "Channel 2");
    const QList<QPointF> deviation = Points(*view->GetPlot(), "Channel 3");
    ASSERT_EQ(deviation.size(), 180);
    EXPECT_DOUBLE_EQ(deviation[30].y(), 60.0 - position[30].y());

    // T63 of every step, as "%.2f".
    view->GetFigureChoice()->setCurrentIndex(2);
    QListWidget* list = view->GetResultList();
    ASSERT_EQ(list->count(), 8);
    char expected[16];
    std::snprintf(expected, sizeof expected, "%.2f", device.StepFigures()[1] / 100.0);
    EXPECT_EQ(list->item(0)->text().toStdString(), expected);
    view->GetFigureChoice()->setCurrentIndex(0);
    EXPECT_EQ(list->count(), 0);
    EXPECT_THAT(m_reports, ::testing::IsEmpty());
}

TEST_F(ValveTestViewsTest, BadEntriesFailedTestsAndAbortLeaveTheViewReadyForTheNextTest) {
    CRampTestView* view = ShowTest<CRampTestView>();
    ASSERT_NE(view, nullptr);
    // Entries that are no number or outside the device's range are refused; nothing is written.
    Dtm().Calls().Clear();
    Field("Start Position:")->setText("150");
    Click("Apply");
    EXPECT_THAT(view->TestStatus().toStdString(),
                HasSubstr("Numeric Range shall be between 0 and 100"));
    Field("Start Position:")->setText("abc");
    Click("Apply");
    EXPECT_THAT(view->TestStatus().toStdString(), HasSubstr("Start Position:"));
    // A round trip that would record more than 2700 samples.
    Field("Start Position:")->setText("50");
    Field("Duration:")->setText("240");
    Field("Pause Time:")->setText("20");
    Click("Apply");
    EXPECT_THAT(view->TestStatus().toStdString(), HasSubstr("at most 270.0 s"));
    EXPECT_TRUE(Calls(5).empty());
    EXPECT_FALSE(view->IsApplied());

    // The device fails the test (4), then ends it otherwise (3): alike.
    Button("Default")->click();
    Click("Apply");
    for (const int state : {4, 3}) {
        Dtm().Faults().procedures.failState = state;
        RunTest(*view);
        EXPECT_TRUE(view->Lamp(ELamp::Failed)->isActive()) << state;
        EXPECT_FALSE(view->Lamp(ELamp::Passed)->isActive()) << state;
        EXPECT_EQ(view->TestStatus(), state == 4 ? "Failed" : "Aborted");
        EXPECT_EQ(Reads(kSegment), 0u);
        EXPECT_TRUE(Button("Start")->isEnabled());
    }
    Dtm().Faults().procedures.failState = 0;

    // Abort in the middle of the upload: 255 twice, no more frames, Start again.
    Dtm().Calls().Clear();
    Click("Start");
    while (view->GetPhase() != EPhase::Uploading) {
        Advance(m_scheduler, 500);
    }
    Advance(m_scheduler, 9000);
    ASSERT_TRUE(Button("Abort")->isEnabled());
    const std::size_t before = Calls(5).size();
    Button("Abort")->click();
    const std::vector<std::uint32_t> writes = Calls(5);
    EXPECT_THAT(
        std::vector<std::uint32_t>(writes.begin() + static_cast<long>(before), writes.end()),
        ElementsAre(kCommand, kCommand));
    EXPECT_EQ(Dtm().Positioner().Read(kCommand), "255");
    EXPECT_EQ(view->TestStatus(), "Aborted by user");
    const std::size_t frames = Reads(kSegment);
    Advance(m_scheduler, 60000);
    EXPECT_LE(Reads(kSegment), frames + 1); // a read already scheduled may still go
    EXPECT_EQ(view->GetPhase(), EPhase::Idle);
    EXPECT_TRUE(Button("Start")->isEnabled());

    // Leaving the view resets the request record in the DTM's copy.
    Show(1300);
    EXPECT_EQ(Dtm().Calls().Lines("SetParameterValue").back(),
              "SetParameterValue(2, " + std::to_string(kFrameNumber) + ", 0)");
    EXPECT_THAT(m_reports, ::testing::IsEmpty());
}

TEST_F(ValveTestViewsTest, SaveThenLoadRestoresThePlotExactlyAndLoadRefusesBadFiles) {
    CRampTestView* view = ShowTest<CRampTestView>();
    ASSERT_NE(view, nullptr);
    Click("Apply");
    RunTest(*view);
    ASSERT_EQ(Points(*view->GetPlot(), "Channel 2").size(), 260);
    const QList<QPointF> setpoint = Points(*view->GetPlot(), "Channel 1");
    const QList<QPointF> position = Points(*view->GetPlot(), "Channel 2");

    QTemporaryDir folder;
    m_dialogs.savePath = (folder.path() + "/first").toStdString();
    Click("Save");
    EXPECT_THAT(m_dialogs.titles, ElementsAre("Save Ramp Test Results As"));
    EXPECT_THAT(m_dialogs.filters, ElementsAre("Ramp Test Results (*.rat)"));
    ASSERT_TRUE(QFile::exists(folder.path() + "/first.rat"));
    Click("Clear All");
    EXPECT_TRUE(Points(*view->GetPlot(), "Channel 2").isEmpty());
    m_dialogs.openPath = (folder.path() + "/first.rat").toStdString();
    Click("Load");
    EXPECT_EQ(m_dialogs.titles.back(), "Open Ramp Test Results");
    EXPECT_EQ(Points(*view->GetPlot(), "Channel 1"), setpoint);
    EXPECT_EQ(Points(*view->GetPlot(), "Channel 2"), position);

    // A file that is not a plot file, or is cut short, leaves the plot and says why.
    QFile bad(folder.path() + "/bad.rat");
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    QFile good(folder.path() + "/first.rat");
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    bad.write(good.readAll().left(300));
    bad.close();
    m_dialogs.openPath = bad.fileName().toStdString();
    Click("Load");
    EXPECT_EQ(Points(*view->GetPlot(), "Channel 2"), position);
    EXPECT_THAT(view->GetStatusLine()->text().toStdString(), HasSubstr("Load: "));

    // Without private dialogs: only the message, no file dialog, the plot unchanged.
    Dtm().SetPrivateDialogEnabled(false);
    Advance(m_scheduler, 10 * kLatencyMs);
    Dtm().Calls().Clear();
    const std::size_t asked = m_dialogs.titles.size();
    Click("Load");
    Click("Save");
    EXPECT_EQ(m_dialogs.titles.size(), asked);
    EXPECT_EQ(Dtm().Calls().Count("ShowUserDialog"), 2u);
    EXPECT_EQ(Points(*view->GetPlot(), "Channel 2"), position);
    m_reports.clear(); // the refused file was reported on purpose
}

TEST_F(ValveTestViewsTest, PartialStrokeByHandMarksT63AndAStuckValveFails) {
    CPSTView* view = ShowTest<CPSTView>();
    ASSERT_NE(view, nullptr);
    Dtm().Calls().Clear();
    Click("Apply");
    EXPECT_THAT(Calls(5), ElementsAre(0x01610001, 0x01610002, 0x01610003, 0x01610004, 0x01610005,
                                      0x01610006));
    EXPECT_EQ(Dtm().Positioner().Read(0x01610005), "10000"); // seconds, written in ms
    RunTest(*view);
    ASSERT_EQ(view->GetPhase(), EPhase::Idle);
    EXPECT_EQ(view->TestStatus(), "Results plotting completed");
    EXPECT_EQ(Dtm().Positioner().Read(kCommand), "30");
    EXPECT_TRUE(view->Lamp(ELamp::Passed)->isActive());

    // The position as the device recorded it, and t63 marked at the pre-test time + t63.
    const CPartialStrokeProcedure& device = Dtm().Positioner().PartialStroke();
    ASSERT_TRUE(device.Last() && device.Last()->t63S);
    const CPSTView::SResults results = view->LastResults();
    EXPECT_NEAR(results.t63, *device.Last()->t63S, 0.005);
    EXPECT_FALSE(results.failed);
    const QList<QPointF> position = Points(*view->GetPlot(), "Channel 2");
    ASSERT_EQ(position.size(), static_cast<qsizetype>(device.Samples().size()));
    for (qsizetype i = 0; i < position.size(); ++i) {
        ASSERT_DOUBLE_EQ(position[i].y(), device.Samples()[static_cast<std::size_t>(i)] / 100.0);
    }
    const CPlot& plot = *view->GetPlot();
    const QList<QPointF> marker = Points(plot, "Channel 3");
    ASSERT_FALSE(marker.isEmpty());
    EXPECT_DOUBLE_EQ(marker.front().x(), results.preTest + results.t63);
    EXPECT_EQ(plot.markerLabel(2), QString::asprintf("t63 = %.2f s", results.t63));
    EXPECT_EQ(plot.channelColor(2), CPSTView::kMarkerColour);
    // The setpoint leaves the open position at the pre-test time and comes back after the hold.
    const QList<QPointF> setpoint = Points(plot, "Channel 1");
    EXPECT_DOUBLE_EQ(CValveTestViewCore::ProfileAt(setpoint, results.preTest + 0.01), 90.0);
    EXPECT_DOUBLE_EQ(CValveTestViewCore::ProfileAt(setpoint, results.preTest + results.hold),
                     100.0);

    // A stuck valve never covers 63 %: the device ends the test with state 3.
    Dtm().Faults().procedures.stuckValve = true;
    RunTest(*view);
    EXPECT_TRUE(view->Lamp(ELamp::Failed)->isActive());
    EXPECT_EQ(view->TestStatus(), "Aborted");
    EXPECT_EQ(Reads(kSegment), 0u);
    // "Upload" fetches the device's last results; a failed stroke has no t63 to mark.
    Click("Upload");
    Advance(m_scheduler, 60000);
    EXPECT_EQ(view->LastResults().failed, !device.Last()->Passed());
    EXPECT_EQ(Points(plot, "Channel 3").isEmpty(), !device.Last()->Passed());

    // Abort while the vectors come: the upload's own text.
    Dtm().Faults().procedures.stuckValve = false;
    Dtm().Calls().Clear();
    Click("Start");
    while (view->GetPhase() != EPhase::Uploading) {
        Advance(m_scheduler, 500);
    }
    Advance(m_scheduler, 5000); // the results frame, then the first vector request
    EXPECT_EQ(Dtm().Positioner().Read(kCommand), "30");
    Click("Abort");
    EXPECT_EQ(view->TestStatus(), "Results upload aborted by user");
    EXPECT_THAT(m_reports, ::testing::IsEmpty());
}

TEST_F(ValveTestViewsTest, AutomaticPstAsksFirstNeedsServiceAndWritesItsConfigurationAndLog) {
    CPSTView* view = ShowTest<CPSTView>();
    ASSERT_NE(view, nullptr);
    QTemporaryDir folder;
    view->SetLogFolder(folder.path() + "/data");
    view->SetClock([] { return QDateTime(QDate(2026, 12, 6), QTime(9, 30, 5)); });
    // Out of service: refused with both texts.
    Dtm().Calls().Clear();
    Click("Automatic PST Start/Abort");
    EXPECT_EQ(Dtm().Calls().Count("ShowUserDialog"), 1u);
    EXPECT_EQ(view->TestStatus(), "Put the device into In Service");
    EXPECT_FALSE(view->IsAutoPstRunning());

    // In service: the warning asks; No changes nothing.
    m_window = Show(1300);
    Click("IN SERVICE");
    Click("Yes");
    m_window = Show(CPSTView::kViewId);
    Field("Max Waiting Time:")->setText("8");
    Click("Automatic PST Start/Abort");
    EXPECT_FALSE(Button("Automatic PST Start/Abort")->isEnabled());
    Dtm().Calls().Clear();
    Click("No");
    EXPECT_TRUE(Calls(5).empty());
    EXPECT_FALSE(view->IsAutoPstRunning());

    Click("Automatic PST Start/Abort");
    Click("Yes");
    EXPECT_THAT(Calls(5), ElementsAre(0x01610004, 0x01610003, 0x01610005, 0x01610006, 0x01610001));
    EXPECT_EQ(Dtm().Positioner().Read(0x01610005), "8000");
    EXPECT_EQ(Dtm().Positioner().Read(0x01610006), "2000");
    EXPECT_TRUE(Dtm().Positioner().PartialStroke().IsAutoPstOn());
    EXPECT_TRUE(view->IsAutoPstRunning());
    EXPECT_EQ(Button("Automatic PST Start/Abort")->text(), "Abort");
    EXPECT_FALSE(Button("Apply")->isEnabled());
    EXPECT_FALSE(Button("Start")->isEnabled());
    std::vector<std::string> lines;
    for (int i = 0; i < view->GetAutoResults()->count(); ++i) {
        lines.push_back(view->GetAutoResults()->item(i)->text().toStdString());
    }
    EXPECT_THAT(lines, ElementsAre("Time Interval (hrs) = 24.00", "Set Point Change = 10.00",
                                   "Max waiting time(ms) = 8000.00", "Pause time(ms) = 2000.00",
                                   "PST Type = step", "Auto Test Started : Sun Dec 06 09:30:05",
                                   "Auto Test Status : In progress ..."));
    QFile log(view->LogPath());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(log.readAll().toStdString(), "-----------AUTO PST CONFIG PARAM-----------\n"
                                           "Sun Dec 06 09:30:05\n"
                                           "time interval (hours) =24.00;\n");
    const QString summary = view->GetSummary()->item(0)->text();
    EXPECT_EQ(summary.toStdString(), "Time Interval:       24.0 h");
    EXPECT_EQ(view->GetSummary()->item(view->GetSummary()->count() - 1)->text(),
              "Auto test status : In progress");

    // The device runs the test every interval; off writes 0 to the mode.
    Dtm().Calls().Clear();
    Click("Automatic PST Start/Abort");
    EXPECT_THAT(Calls(5), ElementsAre(0x01610001));
    EXPECT_EQ(Dtm().Positioner().Read(0x01610001), "0");
    EXPECT_FALSE(Dtm().Positioner().PartialStroke().IsAutoPstOn());
    EXPECT_EQ(view->GetAutoResults()->item(0)->text(), "No Auto PST In Progress.");
    EXPECT_TRUE(Button("Apply")->isEnabled());

    // A log that cannot be written is said; auto PST still starts.
    QFile blocker(folder.path() + "/file");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    view->SetLogFolder(blocker.fileName());
    Click("Automatic PST Start/Abort");
    Click("Yes");
    EXPECT_THAT(view->TestStatus().toStdString(), HasSubstr("could not be written"));
    EXPECT_TRUE(Dtm().Positioner().PartialStroke().IsAutoPstOn());
    EXPECT_THAT(m_reports, ::testing::IsEmpty());
}

} // namespace
