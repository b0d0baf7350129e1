#include "views/diagnostics/MultiStepTestView.h"

#include "views/components/Plot.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr int kDeviationAxis = 1;

SValveTestDefinition MultiStepTest(std::function<std::size_t()> samples,
                                   std::function<std::size_t()> figures) {
    using View = CMultiStepTestView;
    SValveTestDefinition test;
    test.settingsRecord = View::kSettingsRecord;
    test.lastSettingKey = View::kWaves;
    test.settings = {
        {View::kStartPosition, "Start Position:", "50.0", 10.0, false, {}, "%"},
        {View::kAmplitude, "Step Amplitude:", "10.0", 10.0, false, {}, "%"},
        {View::kStepLength, "Step Length:", "2.0", 1000.0, false, {}, "s"},
        {View::kPreTestTime, "Pre Test Time:", "2.0", 1000.0, false, {}, "s"},
        {View::kWaves, "Number of Waves:", "4", 1.0, true, {}, ""},
    };
    test.writeOrder = {View::kStartPosition, View::kAmplitude, View::kStepLength,
                       View::kPreTestTime, View::kWaves};
    test.startedTexts = {"Multi step test started"};
    test.plotTitle = "Multi Step Test";
    test.channelNames = {"Input Setpoint", "Output Position", "Deviation"};
    test.saveTitle = "Save Step Test Results As";
    test.openTitle = "Open Step Test Results";
    test.fileExtension = "mst";
    test.fileKind = "Step Test Results";
    test.testKind = valve_analysis::ETestKind::MultiStep;
    test.deviationChannel = 3;
    auto [results, vectors] =
        ResultsThenVectors(View::kResultsFrameType, View::kVectorFrameType,
                           "Results upload in progress", "Vectors upload in progress");
    test.buffers = {{std::move(results), std::move(samples), CValveTestViewCore::kMaxSamples},
                    {std::move(vectors), std::move(figures), View::kMaxFigures}};
    return test;
}

} // namespace

CMultiStepTestView::CMultiStepTestView(const SViewContext& context)
    : CValveTestView(context, MultiStepTest([this] { return SampleCount(); },
                                            [this] { return FigureCount(); })) {}

double CMultiStepTestView::RecordedSeconds() const {
    return Value(kPreTestTime) + 2.0 * std::round(Value(kWaves)) * Value(kStepLength);
}

std::size_t CMultiStepTestView::SampleCount() const {
    return std::min(SamplesOf(RecordedSeconds()), kMaxSamples);
}

std::size_t CMultiStepTestView::FigureCount() const {
    const double waves = std::max(std::round(Value(kWaves)), 0.0);
    return std::min(static_cast<std::size_t>(waves) * 2 * kFiguresPerStep, kMaxFigures);
}

double CMultiStepTestView::Setpoint(double seconds) const {
    return ProfileAt(SetpointSteps(), seconds);
}

QList<QPointF> CMultiStepTestView::SetpointSteps() const {
    const double start = Value(kStartPosition);
    const double top = start + Value(kAmplitude);
    const double length = Value(kStepLength);
    double time = Value(kPreTestTime);
    QList<QPointF> points{{0.0, start}, {time, start}};
    const auto waves = static_cast<int>(std::clamp(std::round(Value(kWaves)), 0.0, 1000.0));
    for (int wave = 0; wave < waves; ++wave) {
        points << QPointF(time, top) << QPointF(time + length, top);
        time += length;
        points << QPointF(time, start) << QPointF(time + length, start);
        time += length;
    }
    return points;
}

std::optional<std::string> CMultiStepTestView::CheckSettings() const {
    if (std::round(Value(kWaves)) * 2 * kFiguresPerStep > kMaxFigures) {
        return "The device measures at most 100 waves.";
    }
    return CheckRecording(RecordedSeconds());
}

void CMultiStepTestView::DrawProfile(CPlot& plot) const {
    const QList<QPointF> points = SetpointSteps();
    plot.setXAxisSpan(0.0, points.back().x());
    plot.setYAxisSpan(0.0, 100.0);
    const int deviation = plot.GetChannelByName(QStringLiteral("Channel 3"));
    plot.setChannelYAxis(deviation, kDeviationAxis);
    plot.setYAxisTitle(QStringLiteral("Deviation [%]"), kDeviationAxis);
    // A step's first samples deviate by the whole amplitude; a little room above it.
    const double amplitude = std::max(std::abs(Value(kAmplitude)) * 1.2, 1.0);
    plot.setYAxisSpan(-amplitude, amplitude, kDeviationAxis);
    DrawPoints(plot, "Channel 1", points);
}

void CMultiStepTestView::PlotResults(CPlot& plot) {
    const std::vector<double>& samples = Results(0);
    DrawSamples(plot, "Channel 2", samples, 0.0);
    const QList<QPointF> steps = SetpointSteps();
    std::vector<double> deviation(samples.size());
    for (std::size_t i = 0; i < samples.size(); ++i) {
        deviation[i] = ProfileAt(steps, static_cast<double>(i) / 10.0) - samples[i];
    }
    DrawSamples(plot, "Channel 3", deviation, 0.0);
    ShowFigure(m_figure->currentIndex());
}

std::vector<std::string> CMultiStepTestView::PlottedTexts() const {
    return {"Results upload completed", "Results plotting completed"};
}

QWidget* CMultiStepTestView::CreateResultsPanel(QWidget* parent) {
    auto* group = new QGroupBox(QStringLiteral("Test Results"), parent);
    auto* layout = new QVBoxLayout(group);
    m_figure = new QComboBox(group);
    m_figure->setAccessibleName(QStringLiteral("Result figure"));
    m_figure->addItem(QStringLiteral("Select any one"));
    for (const char* name : kFigureNames) {
        m_figure->addItem(QString::fromUtf8(name));
    }
    layout->addWidget(m_figure);
    layout->addWidget(new QLabel(QStringLiteral("Result Data:"), group));
    m_list = new QListWidget(group);
    m_list->setMinimumHeight(60);
    layout->addWidget(m_list);
    QObject::connect(m_figure, &QComboBox::currentIndexChanged, group, [this](int choice) {
        RunGuarded("Test Results", [this, choice] { ShowFigure(choice); });
    });
    return group;
}

void CMultiStepTestView::ClearResults() {
    m_list->clear();
}

void CMultiStepTestView::ShowFigure(int choice) {
    m_list->clear();
    if (choice < 1 || choice > static_cast<int>(kFiguresPerStep)) {
        return;
    }
    const std::vector<double>& figures = Results(1);
    for (std::size_t at = static_cast<std::size_t>(choice - 1); at < figures.size();
         at += kFiguresPerStep) {
        char text[32];
        std::snprintf(text, sizeof text, "%.2f", figures[at]);
        m_list->addItem(QString::fromUtf8(text));
    }
}
