// The result comparison of the valve test views and the CSV export of grids and plots,
// through the control against the simulated positioner, on the manual scheduler.

#include "DeviceViewsFixture.h"

#include "server/Registry.h"
#include "server/ServerRegistration.h"
#include "views/alarms/AlarmStatusView.h"
#include "views/components/Grid.h"
#include "views/components/Plot.h"
#include "views/components/PlotFile.h"
#include "views/diagnostics/EventLogView.h"
#include "views/diagnostics/PSTView.h"
#include "views/diagnostics/ResultComparisonWindow.h"

#include <QAction>
#include <QDoubleSpinBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>

using ::testing::HasSubstr;

namespace {

// The friction band of the valve a year on (a little more than the default 0.25 %) and worn
// (ten times the default).
constexpr double kOlderDeadBand = 0.35;
constexpr double kWornDeadBand = 2.5;

QAction* Action(const QWidget& widget, const QString& text) {
    for (QAction* action : widget.findChildren<QAction*>()) {
        if (action->text() == text) {
            return action;
        }
    }
    for (QAction* action : widget.actions()) {
        if (action->text() == text) {
            return action;
        }
    }
    ADD_FAILURE() << "no action " << text.toStdString();
    return nullptr;
}

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& text) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

class ResultComparisonTest : public DeviceViewsTest {
protected:
    // Runs a partial stroke test and saves its result as `name`.
    void RunAndSave(CPSTView& view, const QString& name) {
        RunTest(view);
        ASSERT_EQ(view.TestStatus(), "Results plotting completed");
        m_dialogs.savePath = Path(name).toStdString();
        Click("Save");
    }
    QString Path(const QString& name) const { return m_folder.filePath(name); }
    void ExportCsv(QWidget& widget, const QString& name) {
        m_dialogs.savePath = Path(name).toStdString();
        Action(widget, QString::fromUtf8(kExportCsvText))->trigger();
        Advance(m_scheduler, 10 * kLatencyMs);
    }

    ScopedRegistryFile m_registry;
    CAnsweringFileDialogs m_dialogs;
    QTemporaryDir m_folder;
};

TEST_F(ResultComparisonTest, ThreeStrokesOneWithMoreFrictionMarkTheDriftedFigure) {
    CPSTView* view = ShowTest<CPSTView>();
    ASSERT_NE(view, nullptr);
    Click("Apply");
    RunAndSave(*view, "commissioning.pst");
    const double deviceT63 = *Dtm().Positioner().PartialStroke().Last()->t63S;
    SValveModelParameters valve = Dtm().Positioner().ValveTests().Model();
    valve.deadBandPercent = kOlderDeadBand;
    Dtm().Positioner().ValveTests().SetModel(valve);
    RunAndSave(*view, "one-year.pst");
    valve.deadBandPercent = kWornDeadBand;
    Dtm().Positioner().ValveTests().SetModel(valve);
    RunAndSave(*view, "two-years.pst");

    // Files of another kind, from another program or cut short are refused one by one.
    const QByteArray saved = Read(Path("commissioning.pst"));
    Write(Path("cut.pst"), saved.left(saved.size() / 2));
    Write(Path("notes.pst"), "Valve 12: stroke checked by hand\n");
    Write(Path("commissioning.rat"), saved);
    PlotFile steps;
    steps.channels = {{1, "Input Setpoint", 0, 0, {}, {{0, 50}, {2, 50}, {2, 60}, {4, 60}}},
                      {2, "Output Position", 0, 0, {}, {{0, 50}, {1, 50}, {2, 55}, {3, 60}}},
                      {3, "Deviation", 0, 1, {}, {{0, 0}, {1, 0}}}};
    Write(Path("steps.pst"), steps.toText());

    Click("Compare…");
    CResultComparisonWindow* window = view->GetComparison();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "Compare Partial Stroke Test Results");
    m_dialogs.openPaths.clear();
    for (const char* name : {"commissioning.pst", "cut.pst", "one-year.pst", "notes.pst",
                             "two-years.pst", "commissioning.rat", "steps.pst"}) {
        m_dialogs.openPaths.push_back(Path(name).toStdString());
    }
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        if (button->text() == QStringLiteral("Add Files…")) {
            button->click();
        }
    }
    EXPECT_EQ(m_dialogs.titles.back(), "Add Partial Stroke Test Results to the Comparison");
    EXPECT_EQ(m_dialogs.filters.back(), "PST Results (*.pst)");
    const CResultComparison& comparison = window->Comparison();
    ASSERT_EQ(comparison.Runs().size(), 3u);
    const QStringList messages = window->GetMessages()->text().split('\n');
    ASSERT_EQ(messages.size(), 4);
    EXPECT_TRUE(messages[0].startsWith("cut.pst was not added: line "))
        << messages[0].toStdString();
    EXPECT_EQ(messages[1], "notes.pst was not added: not a plot data file (it does not begin "
                           "with \"VelaPlot\")");
    EXPECT_EQ(messages[2], "commissioning.rat was not added: it is no PST Results file (*.pst)");
    EXPECT_EQ(messages[3], "steps.pst was not added: it holds no Partial Stroke Test result");

    // The first run is the baseline; its t63 is the device's within one sample.
    EXPECT_EQ(comparison.Baseline(), 0u);
    EXPECT_NEAR(comparison.Runs()[0].figures[0], deviceT63, 0.1);
    const CGrid& table = *window->GetTable();
    EXPECT_EQ(table.cellText(0, 1), "t63 [s]");
    EXPECT_EQ(table.cellText(1, 0), "commissioning.pst (baseline)");
    // A year on the valve drifts a little, within the thresholds. The worn valve stops short
    // of the target, so it never settles within 2 % of the stroke: that figure is marked, and
    // only that one.
    for (std::size_t figure = 0; figure < 3; ++figure) {
        EXPECT_NE(comparison.DriftOf(1, figure).absolute, 0.0) << figure;
        EXPECT_FALSE(comparison.DriftOf(1, figure).marked) << figure;
        EXPECT_EQ(comparison.DriftOf(2, figure).marked, figure == 2) << figure;
    }
    EXPECT_THAT(table.cellText(3, 3).toStdString(), HasSubstr("\u26A0 "));
    EXPECT_EQ(table.cellText(3, 1).left(1), table.cellText(1, 1).left(1));
    const CPlot& plot = *window->GetPlot();
    EXPECT_EQ(plot.channelName(0), "one-year.pst");
    EXPECT_EQ(plot.channelName(2), "commissioning.pst (baseline)"); // drawn over the others
    EXPECT_EQ(plot.channelPoints(1), view->GetPlot()->channelPoints(1));
    // A picture of the window for people, when asked for (scripts/views/README.md).
    if (const QByteArray shots = qgetenv("OV_SCREENSHOT_DIR"); !shots.isEmpty()) {
        Advance(m_scheduler, 100); // the chart lays itself out
        window->grab().save(QString::fromLocal8Bit(shots) + "/compare-partial-stroke-test.png");
    }

    // Thresholds: edited in the window and kept in the registry file.
    window->GetTimeThreshold()->setValue(1000.0);
    EXPECT_FALSE(comparison.DriftOf(2, 2).marked);
    Registry registry(m_registry.Path());
    registry.Load();
    EXPECT_EQ(registry.GetValue(kViewSettingsKey, "CompareTimeDriftPercent"), "1000");
    window->GetTimeThreshold()->setValue(20.0);

    // The table as CSV numbers, the plot as PNG.
    m_dialogs.savePath = Path("drift.csv").toStdString();
    Action(*window, "Table as CSV…")->trigger();
    const QList<QByteArray> csv = Read(Path("drift.csv")).split('\n');
    ASSERT_GE(csv.size(), 4);
    EXPECT_TRUE(csv[0].startsWith("Run,Baseline,t63 [s],t63 drift [s],t63 drift [%],t63 marked,"));
    EXPECT_TRUE(csv[3].startsWith("two-years.pst,no,"));
    EXPECT_TRUE(csv[3].endsWith(",yes\r"));
    m_dialogs.savePath = Path("overlay.png").toStdString();
    Action(*window, "Plot as PNG…")->trigger();
    EXPECT_FALSE(QImage(Path("overlay.png")).isNull());

    // Another baseline; a removed run goes with its row.
    window->SetBaseline(2);
    EXPECT_EQ(table.cellText(3, 0), "two-years.pst (baseline)");
    EXPECT_TRUE(comparison.DriftOf(0, 2).marked);
    window->RemoveRun(0);
    EXPECT_EQ(comparison.Runs().size(), 2u);
    EXPECT_EQ(comparison.Runs()[comparison.Baseline()].name, "two-years.pst");
    // The result the view shows joins as it is.
    window->AddCurrent();
    ASSERT_EQ(comparison.Runs().size(), 3u);
    EXPECT_EQ(comparison.Runs()[2].name, "Current result");
    EXPECT_EQ(comparison.Runs()[2].figures, comparison.Runs()[comparison.Baseline()].figures);

    // Without private dialogs nothing is asked.
    Dtm().SetPrivateDialogEnabled(false);
    Advance(m_scheduler, 10 * kLatencyMs);
    const std::size_t asked = m_dialogs.titles.size();
    Action(*window, "Table as CSV…")->trigger();
    EXPECT_EQ(m_dialogs.titles.size(), asked);
    EXPECT_THAT(m_reports, ::testing::IsEmpty());
}

TEST_F(ResultComparisonTest, EventLogAlarmListAndPlotsExportAsCsvBehindThePrivateDialogsCheck) {
    m_window = Show(CEventLogView::kViewId);
    Click("Refresh Log");
    Advance(m_scheduler, 20000);
    auto* log =
        dynamic_cast<CEventLogView*>(m_control->GetController().FindView(CEventLogView::kViewId));
    ASSERT_NE(log, nullptr);
    ASSERT_GT(log->GetGrid()->rows(), 1);
    ExportCsv(*log->GetGrid(), "events.csv");
    const QList<QByteArray> events = Read(Path("events.csv")).split('\n');
    EXPECT_EQ(events[0], "Sr.No.,Date & Time,Event Name,Information\r");
    EXPECT_EQ(events.size(), log->GetGrid()->rows() + 1); // and the empty piece after the end
    EXPECT_EQ(m_dialogs.filters.back(), "CSV Files (*.csv)");
    EXPECT_THAT(log->GetStatusLine()->text().toStdString(), HasSubstr("events.csv"));

    m_window = Show(CAlarmStatusView::kViewId);
    auto* alarms = dynamic_cast<CAlarmStatusView*>(
        m_control->GetController().FindView(CAlarmStatusView::kViewId));
    ASSERT_NE(alarms, nullptr);
    ExportCsv(*alarms->GetGrid(), "alarms.csv");
    EXPECT_EQ(Read(Path("alarms.csv")).split('\n').size(), alarms->GetGrid()->rows() + 1);

    CPSTView* pst = ShowTest<CPSTView>();
    ASSERT_NE(pst, nullptr);
    Click("Apply");
    RunTest(*pst);
    ExportCsv(*pst->GetPlot(), "stroke.csv");
    const QList<QByteArray> stroke = Read(Path("stroke.csv")).split('\n');
    EXPECT_TRUE(stroke[0].startsWith("Time [s] (Input Setpoint),Input Setpoint,Time [s] (Output "
                                     "Position),Output Position,"));
    EXPECT_EQ(stroke.size(), pst->GetPlot()->channelPoints(1).size() + 2);

    // Refused: the message instead of the dialog, and no file.
    Dtm().SetPrivateDialogEnabled(false);
    Advance(m_scheduler, 10 * kLatencyMs);
    Dtm().Calls().Clear();
    const std::size_t asked = m_dialogs.titles.size();
    ExportCsv(*pst->GetPlot(), "refused.csv");
    EXPECT_EQ(m_dialogs.titles.size(), asked);
    EXPECT_EQ(Dtm().Calls().Count("ShowUserDialog"), 1u);
    EXPECT_FALSE(QFile::exists(Path("refused.csv")));
    EXPECT_THAT(m_reports, ::testing::IsEmpty());
}

} // namespace
