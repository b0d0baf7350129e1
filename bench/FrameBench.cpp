// The online view in the frame's window with the simulated DTM, in-process.
//
// (a) BM_InitToDashboard: from Init to the navigation built and the dashboard entry
//     selected, bus latency 0; on the manual scheduler (the work alone) and on the Qt
//     scheduler (with the event loop's turns between the DTM's replies). Goal: 100 ms.
// (b) BM_ParameterUpdate: one UpdateUI(100, key) through the controller and the edit model to
//     a current view that fetches the parameter's descriptor. Goal: median 30 µs.
// (b2) BM_HeaderUpdate: one UpdateUI(100, alarm count) through the control to the header strip
//     of the Diagnostics view (fetch and show). Goal: median 30 µs.
// (d) BM_EventLogFrame: one full event log frame decoded and appended to the table (below).
// (f) BM_RampTestFrame: one 61-word result frame decoded and appended to the plot (below).
// (g) BM_RampTestPlot: 2700 samples drawn on two channels of a test view's plot (below).
// (h) BM_TrendFileWrite, BM_TrendFileRead: a ".tnd" file of the four spans written to and read
//     from text (below).
// (i) BM_DashboardPollCycle: the update notifications of one fast poll applied to the
//     dashboard's gauges (below). (j) BM_DashboardDay: the dashboard open for a day of
//     simulated time, with the resident memory it grew by (below).
// (c) The peak resident memory of the frame after start is not measured here:
//       /usr/bin/time -v build/bin/fdt-frame --quit-after 3000    ("Maximum resident set size")

#include "FrameWindow.h"
#include "FunctionCall.h"
#include "NavigationAccess.h"

#include "com/ClassFactory.h"
#include "dtm/SimulatedDtm.h"
#include "edit/EditModel.h"
#include "server/OnlineView.h"
#include "ui/ManualScheduler.h"
#include "views/common/DeviceViewHeader.h"
#include "views/components/Grid.h"
#include "views/components/Plot.h"
#include "views/dashboard/AdvancedDashBoardView.h"
#include "views/diagnostics/EventLogView.h"
#include "views/diagnostics/MainDiagnosticView.h"
#include "views/diagnostics/RampTestView.h"
#include "views/diagnostics/TrendFile.h"

#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPushButton>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <unistd.h>

namespace {

constexpr int kDashboard = 1100;
constexpr int kBenchViewId = 9900;
constexpr std::uint32_t kActiveAlarmCount = 0x01680000;

ComPtr<IUnknown> CreateControl(ComPtr<COnlineView>* online = nullptr) {
    ComPtr<IClassFactory> factory = MakeCom<ClassFactory<COnlineView>>();
    ComPtr<IUnknown> control;
    if (FAILED(factory->CreateInstance(nullptr, IUnknown::Iid,
                                       reinterpret_cast<void**>(control.Put())))) {
        throw std::runtime_error("the control was not created");
    }
    if (online != nullptr) {
        // The object behind the interface, to reach its controller.
        *online = ComPtr<COnlineView>(static_cast<COnlineView*>(control.As<IUpdateUI>().Get()));
    }
    return control;
}

// One start of the control in a shown frame window: Init, then the DTM's replies until the
// dashboard entry is selected.
class CStart {
public:
    explicit CStart(bool manual) : m_manual(manual) {
        SetScheduler(manual ? &m_scheduler : nullptr);
        m_dtm->SetBusLatency(0);
        m_window = std::make_unique<CFrameWindow>(CreateControl(), true);
        m_window->show();
        QCoreApplication::processEvents();
    }
    ~CStart() {
        m_window.reset();
        m_dtm = nullptr;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SetScheduler(nullptr);
    }
    CStart(const CStart&) = delete;
    CStart& operator=(const CStart&) = delete;

    void Run() {
        if (!m_window->InitControl(FunctionCallDocument(), m_dtm.As<IUnknown>().Get())) {
            throw std::runtime_error("Init refused");
        }
        const CNavigationAccess navigation(m_window->GetControlWidget());
        while (!IsOnDashboard(navigation)) {
            if (m_manual) {
                m_scheduler.AdvanceBy(1);
            } else {
                QCoreApplication::processEvents();
            }
        }
    }

    CFrameWindow& Window() { return *m_window; }
    CSimulatedDtm& Dtm() { return *m_dtm; }
    CManualScheduler& ManualScheduler() { return m_scheduler; }

private:
    static bool IsOnDashboard(const CNavigationAccess& navigation) {
        const auto selected = navigation.Selected();
        return navigation.IsBuilt() && selected && selected->viewId == kDashboard;
    }

    bool m_manual;
    CManualScheduler m_scheduler;
    ComPtr<CSimulatedDtm> m_dtm = MakeCom<CSimulatedDtm>();
    std::unique_ptr<CFrameWindow> m_window;
};

void BM_InitToDashboard(benchmark::State& state) {
    const bool manual = state.range(0) != 0;
    state.SetLabel(manual ? "manual scheduler" : "Qt scheduler and event loop");
    for (auto _ : state) {
        state.PauseTiming();
        auto start = std::make_unique<CStart>(manual);
        state.ResumeTiming();
        start->Run();
        state.PauseTiming();
        start.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_InitToDashboard)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(30);

// A view that shows one parameter: on its update it fetches the parameter's descriptor and
// shows the value.
class CParameterView final : public IApplicationView {
public:
    CParameterView(IDirectParameterAccess& parameters, std::uint32_t key)
        : m_parameters(parameters), m_key(key), m_window(new QLabel) {}
    ~CParameterView() override { delete m_window.data(); }
    CParameterView(const CParameterView&) = delete;
    CParameterView& operator=(const CParameterView&) = delete;

    QWidget* GetWindow() const override { return m_window; }
    bool IsActive() const override { return m_active; }
    void Activate() override { m_active = true; }
    void Deactivate() override { m_active = false; }
    void UpdateControls(const std::string&) override {}
    void SetController(IUIController*) override {}
    void AddToolTip(QWidget*, const std::string&) override {}
    void RemoveToolTip(QWidget*) override {}
    void UpdateState() override {}
    int GetState() const override { return 0; }
    void OnUpdate(int updateType, const std::string& data) override {
        if (updateType == dtm_update::kParameterChanged && data == std::to_string(m_key)) {
            IParameterDescription* descriptor =
                m_parameters.GetParameterDescription(CEditModel::kRequest, m_key);
            m_value = descriptor != nullptr ? descriptor->GetValue() : std::string();
            m_window->setText(QString::fromStdString(m_value));
        }
    }
    std::string GetListOfControls() const override { return "<ListOfControls/>"; }
    void RefreshControl(int) override {}
    void RefreshControls(int) override {}
    void OnUserLevelChanged() override {}

    const std::string& Value() const { return m_value; }

private:
    IDirectParameterAccess& m_parameters;
    std::uint32_t m_key;
    QPointer<QLabel> m_window;
    bool m_active = false;
    std::string m_value;
};

// Installs a process scheduler for its lifetime.
struct SchedulerInstallation {
    explicit SchedulerInstallation(IScheduler& scheduler) { SetScheduler(&scheduler); }
    ~SchedulerInstallation() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SetScheduler(nullptr);
    }
    SchedulerInstallation(const SchedulerInstallation&) = delete;
    SchedulerInstallation& operator=(const SchedulerInstallation&) = delete;
};

// Runs `body(control, controller, editModel, dtm, scheduler)` with the control started in the
// frame's window on the simulated DTM (bus latency 0, manual scheduler).
template <class Body> void WithStartedControl(benchmark::State& state, Body body) {
    CManualScheduler scheduler;
    const SchedulerInstallation installation(scheduler);
    ComPtr<COnlineView> online;
    ComPtr<IUnknown> control = CreateControl(&online);
    {
        auto dtm = MakeCom<CSimulatedDtm>();
        dtm->SetBusLatency(0);
        CFrameWindow window(control, true);
        control = nullptr;
        window.show();
        window.InitControl(FunctionCallDocument(), dtm.As<IUnknown>().Get());
        scheduler.AdvanceBy(10);

        CUIController& controller = online->GetController();
        auto* editModel = dynamic_cast<CEditModel*>(controller.GetEditModel());
        if (editModel == nullptr || editModel->GetParameterDescriptionFactory() == nullptr) {
            state.SkipWithError("the edit model did not start");
            return;
        }
        body(*online, controller, *editModel, *dtm, scheduler);
        online = nullptr;
    }
}

void BM_ParameterUpdate(benchmark::State& state) {
    WithStartedControl(state, [&state](COnlineView& online, CUIController& controller,
                                       CEditModel& editModel, CSimulatedDtm&, CManualScheduler&) {
        auto owned = std::make_unique<CParameterView>(*editModel.GetParameterDescriptionFactory(),
                                                      kActiveAlarmCount);
        CParameterView& view = *owned;
        std::unique_ptr<IApplicationView> registered = std::move(owned);
        controller.RegisterView(kBenchViewId, registered);
        controller.ShowView(kBenchViewId);
        if (controller.GetCurrentViewId() != kBenchViewId) {
            state.SkipWithError("the view did not become the current one");
            return;
        }
        const Variant key(std::to_string(kActiveAlarmCount));
        for (auto _ : state) {
            online.UpdateUI(dtm_update::kParameterChanged, key);
        }
        if (view.Value().empty()) {
            state.SkipWithError("the view fetched no value");
        }
    });
}
BENCHMARK(BM_ParameterUpdate)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true)
    ->ComputeStatistics("min", [](const std::vector<double>& v) {
        return *std::min_element(v.begin(), v.end());
    });

void BM_HeaderUpdate(benchmark::State& state) {
    WithStartedControl(state, [&state](COnlineView& online, CUIController& controller, CEditModel&,
                                       CSimulatedDtm&, CManualScheduler&) {
        controller.ShowView(MainDiagnosticView::kViewId);
        auto* view =
            dynamic_cast<MainDiagnosticView*>(controller.FindView(MainDiagnosticView::kViewId));
        if (view == nullptr || controller.GetCurrentViewId() != MainDiagnosticView::kViewId) {
            state.SkipWithError("the Diagnostics view did not become the current one");
            return;
        }
        view->GetHeader()->AlarmCountBox()->clear();
        const Variant key(std::to_string(kActiveAlarmCount));
        for (auto _ : state) {
            online.UpdateUI(dtm_update::kParameterChanged, key);
        }
        if (view->GetHeader()->AlarmCountBox()->text().isEmpty()) {
            state.SkipWithError("the header showed no alarm count");
        }
    });
}

BENCHMARK(BM_HeaderUpdate)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true)
    ->ComputeStatistics("min", [](const std::vector<double>& v) {
        return *std::min_element(v.begin(), v.end());
    });

// (d) BM_EventLogFrame: one full event log frame (12 records) decoded and appended to the
//     table, the table growing to 600 events and starting again. Goal: median 100 µs.
void BM_EventLogFrame(benchmark::State& state) {
    QWidget parent;
    SViewContext context{.viewId = CEventLogView::kViewId, .dialogId = CEventLogView::DialogId};
    CEventLogView view(context);
    view.Create(&parent);
    std::vector<std::uint8_t> payload;
    for (int record = 0; record < 12; ++record) {
        const std::uint8_t bytes[] = {static_cast<std::uint8_t>(record % 15), 1, 24, 11, 30, 12, 0,
                                      static_cast<std::uint8_t>(record),      0, 0};
        payload.insert(payload.end(), std::begin(bytes), std::end(bytes));
    }
    const SSegmentFrame frame{.type = 39,
                              .seqId = 0,
                              .noOfEvents = 1,
                              .eventsInFrame = 120,
                              .payload = std::span<const std::uint8_t>(payload)};
    int frames = 0;
    for (auto _ : state) {
        if (frames++ % 50 == 0) {
            state.PauseTiming();
            view.GetGrid()->setRows(1);
            state.ResumeTiming();
        }
        view.AppendRecords(frame);
    }
}
BENCHMARK(BM_EventLogFrame)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

// (e) BM_EventLogUpload600: a whole upload of a 600-event log through the control, the
//     simulated DTM (bus latency 0) and the segment upload, on the manual scheduler; the time
//     the manual scheduler jumps over costs nothing, so this is the upload's CPU time.
void BM_EventLogUpload600(benchmark::State& state) {
    WithStartedControl(state, [&state](COnlineView&, CUIController& controller, CEditModel&,
                                       CSimulatedDtm& dtm, CManualScheduler& scheduler) {
        controller.ShowView(CEventLogView::kViewId);
        auto* view = dynamic_cast<CEventLogView*>(controller.FindView(CEventLogView::kViewId));
        if (view == nullptr) {
            state.SkipWithError("the event log view did not come up");
            return;
        }
        dtm.Positioner().Events().Clear();
        dtm.Positioner().Events().AppendTestEvents(600);
        QPushButton* refresh = nullptr;
        for (QPushButton* button : view->GetWindow()->findChildren<QPushButton*>()) {
            if (button->text() == QStringLiteral("Refresh Log")) {
                refresh = button;
            }
        }
        if (refresh == nullptr) {
            state.SkipWithError("no Refresh Log button");
            return;
        }
        for (auto _ : state) {
            refresh->click();
            while (view->GetUpload().GetState() == CSegmentUpload::EState::Waiting) {
                scheduler.AdvanceBy(1000);
            }
        }
        if (view->GetGrid()->rows() != 601) {
            state.SkipWithError("the upload did not show 600 events");
        }
    });
}
BENCHMARK(BM_EventLogUpload600)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3);

// A ramp test view of its own, created in a parent widget, as the benchmarks of its parts need.
struct SRampView {
    SRampView()
        : view(
              SViewContext{.viewId = CRampTestView::kViewId, .dialogId = CRampTestView::DialogId}) {
        view.Create(&parent);
        parent.resize(900, 520);
        view.GetPlot()->resize(640, 360);
    }
    QWidget parent;
    CRampTestView view;
};

// (f) BM_RampTestFrame: one result frame (61 words of hundredths) decoded into the samples at
//     its SeqID and its 61 samples appended to the "Output Position" channel and drawn; the
//     channel grows to a whole recording (44 frames) and starts again. Goal: median 200 µs.
void BM_RampTestFrame(benchmark::State& state) {
    SRampView ramp;
    CPlot& plot = *ramp.view.GetPlot();
    const int channel = plot.GetChannelByName(QStringLiteral("Channel 2"));
    std::vector<std::uint8_t> payload;
    for (int i = 0; i < 61; ++i) {
        const auto word = static_cast<std::uint16_t>(5000 + 10 * i);
        payload.push_back(static_cast<std::uint8_t>(word & 0xFF));
        payload.push_back(static_cast<std::uint8_t>(word >> 8));
    }
    std::vector<double> samples(CValveTestViewCore::kMaxSamples);
    int frames = 0;
    for (auto _ : state) {
        const auto seqId = static_cast<std::uint8_t>(frames++ % 44);
        if (seqId == 0) {
            state.PauseTiming();
            plot.clearChannel(channel);
            plot.redraw();
            state.ResumeTiming();
        }
        const SSegmentFrame frame{.type = CRampTestView::kResultsFrameType,
                                  .seqId = seqId,
                                  .payload = std::span<const std::uint8_t>(payload)};
        StoreValues(frame, samples, 100.0);
        const std::size_t first = static_cast<std::size_t>(seqId) * 61;
        for (std::size_t i = first; i < first + 61; ++i) {
            plot.addPoint(channel, 5.0 + static_cast<double>(i) / 10.0, samples[i]);
        }
        plot.redraw();
    }
}
BENCHMARK(BM_RampTestFrame)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

// (g) BM_RampTestPlot: after an upload of a full recording, 2700 samples drawn on the two
//     channels of the ramp test plot the way the view draws them, and the plot painted.
//     Goal: 50 ms.
void BM_RampTestPlot(benchmark::State& state) {
    SRampView ramp;
    CPlot& plot = *ramp.view.GetPlot();
    std::vector<double> setpoint(CValveTestViewCore::kMaxSamples);
    std::vector<double> position(CValveTestViewCore::kMaxSamples);
    for (std::size_t i = 0; i < setpoint.size(); ++i) {
        setpoint[i] = 50.0 + 40.0 * std::sin(static_cast<double>(i) / 300.0);
        position[i] = setpoint[i] - 1.5;
    }
    QImage image(plot.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        CValveTestViewCore::DrawSamples(plot, "Channel 1", setpoint, 5.0);
        CValveTestViewCore::DrawSamples(plot, "Channel 2", position, 5.0);
        plot.redraw();
        QPainter painter(&image);
        plot.render(&painter);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_RampTestPlot)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// (h) A trend file of four full spans written as text, and read back. Goal: well under 1 ms.
STrendFile FrictionTrends() {
    STrendFile trends;
    trends.title = STrendFile::TitleOf(2);
    for (std::size_t span = 0; span < trends.y.size(); ++span) {
        for (int i = 0; i < STrendFile::kPoints[span]; ++i) {
            trends.y[span].push_back(40.0 + 7.31 * std::sin(i * 0.7 + static_cast<double>(span)));
        }
    }
    return trends;
}

void BM_TrendFileWrite(benchmark::State& state) {
    const STrendFile trends = FrictionTrends();
    for (auto _ : state) {
        benchmark::DoNotOptimize(trends.ToText());
    }
}
BENCHMARK(BM_TrendFileWrite)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_TrendFileRead(benchmark::State& state) {
    const QByteArray text = FrictionTrends().ToText();
    QString error;
    for (auto _ : state) {
        benchmark::DoNotOptimize(STrendFile::FromText(text, error));
    }
}
BENCHMARK(BM_TrendFileRead)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The resident memory of this process in kilobytes.
long ResidentKb() {
    long pages = 0;
    long resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) {
            resident = 0;
        }
        std::fclose(statm);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// (i) One fast poll's notifications (the elements of the position, pressure and deviation
//     records, temperature and setpoint) through the control to the dashboard's gauges.
//     Goal: median 1 ms in all.
void BM_DashboardPollCycle(benchmark::State& state) {
    WithStartedControl(state, [&state](COnlineView& online, CUIController& controller, CEditModel&,
                                       CSimulatedDtm&, CManualScheduler&) {
        controller.ShowView(CAdvancedDashBoardView::kViewId);
        if (controller.GetCurrentViewId() != CAdvancedDashBoardView::kViewId) {
            state.SkipWithError("the dashboard did not come up");
            return;
        }
        std::vector<Variant> keys;
        for (const std::uint32_t key :
             {0x01440001u, 0x01440002u, 0x01530001u, 0x01530002u, 0x01530003u, 0x01530004u,
              0x015D0001u, 0x015D0002u, 0x01110002u, 0x04080002u}) {
            keys.emplace_back(std::to_string(key));
        }
        for (auto _ : state) {
            for (const Variant& key : keys) {
                online.UpdateUI(dtm_update::kParameterChanged, key);
            }
        }
    });
}
BENCHMARK(BM_DashboardPollCycle)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

// (j) A day of simulated time with the dashboard open (its polls, the header's, the DTM
//     answering at once); the counter "grown_kb" is the resident memory it grew by after the
//     first simulated hour. Goal: under 1 MB.
void BM_DashboardDay(benchmark::State& state) {
    WithStartedControl(state, [&state](COnlineView&, CUIController& controller, CEditModel&,
                                       CSimulatedDtm& dtm, CManualScheduler& scheduler) {
        controller.ShowView(CAdvancedDashBoardView::kViewId);
        constexpr std::int64_t kHourMs = 3600LL * 1000;
        long start = 0;
        for (auto _ : state) {
            for (std::int64_t elapsed = 0; elapsed < 24 * kHourMs; elapsed += 1000) {
                scheduler.AdvanceBy(1000);
                if (elapsed % 60000 == 0) {
                    QCoreApplication::processEvents();
                    // The simulated DTM logs every call for the tests: not the control's memory.
                    dtm.Calls().Clear();
                }
                if (elapsed == kHourMs) {
                    start = ResidentKb();
                }
            }
        }
        state.counters["grown_kb"] = static_cast<double>(ResidentKb() - start);
    });
}
BENCHMARK(BM_DashboardDay)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace
