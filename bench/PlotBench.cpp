#include "views/components/Plot.h"

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cmath>

namespace {

constexpr int kSamples = 2700; // a full ramp or multi-step recording, one sample per 0.1 s

// What a test view does after its upload: fill three channels and show the plot.
void fillAndRender(CPlot& plot, QImage& image) {
    plot.clearAll();
    for (int channel = 0; channel < 3; ++channel) {
        for (int i = 0; i < kSamples; ++i) {
            const double t = i / 10.0;
            plot.addPoint(channel, t, 50.0 + 40.0 * std::sin(t / (7.0 + channel)));
        }
    }
    plot.redraw();
    QPainter painter(&image);
    plot.render(&painter);
}

void BM_PlotThreeChannels(benchmark::State& state) {
    CPlot plot;
    plot.resize(800, 480);
    plot.setXAxisSpan(0.0, kSamples / 10.0);
    QImage image(plot.size(), QImage::Format_ARGB32_Premultiplied);
    fillAndRender(plot, image); // first layout of the chart is not part of the figure
    for (auto _ : state) {
        fillAndRender(plot, image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetItemsProcessed(state.iterations() * 3 * kSamples);
}
BENCHMARK(BM_PlotThreeChannels)->Unit(benchmark::kMillisecond);

// The same including building the plot widget, as when a view opens with a loaded file.
void BM_PlotCreateFillRender(benchmark::State& state) {
    for (auto _ : state) {
        CPlot plot;
        plot.resize(800, 480);
        plot.setXAxisSpan(0.0, kSamples / 10.0);
        QImage image(plot.size(), QImage::Format_ARGB32_Premultiplied);
        fillAndRender(plot, image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_PlotCreateFillRender)->Unit(benchmark::kMillisecond);

// A day of the data logger at one sample a second: eight channels of 86,400 points.
constexpr int kDaySamples = 86400;

void fillDay(CPlot& plot, int samples) {
    plot.clearAll();
    plot.setXAxisSpan(0.0, kDaySamples);
    for (int channel = 0; channel < CPlot::kChannelCount; ++channel) {
        for (int i = 0; i < samples; ++i) {
            plot.addPoint(channel, i, 50.0 + 40.0 * std::sin(i / (300.0 + 50.0 * channel)));
        }
    }
    plot.redraw();
}

// One logger sample: a point on each of eight channels that already hold a day's points,
// drawn. Goal: median 1 ms.
void BM_LoggerAppendAtADay(benchmark::State& state) {
    CPlot plot;
    plot.resize(800, 480);
    const int start = kDaySamples - 2000;
    fillDay(plot, start);
    int next = start;
    for (auto _ : state) {
        if (next == kDaySamples) {
            state.PauseTiming();
            fillDay(plot, start);
            next = start;
            state.ResumeTiming();
        }
        for (int channel = 0; channel < CPlot::kChannelCount; ++channel) {
            plot.addPoint(channel, next, 50.0 + channel);
        }
        plot.redraw();
        ++next;
    }
}
BENCHMARK(BM_LoggerAppendAtADay)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// A whole day on eight channels drawn anew (a new x span) and painted. Goal: 100 ms.
void BM_LoggerRedrawADay(benchmark::State& state) {
    CPlot plot;
    plot.resize(800, 480);
    fillDay(plot, kDaySamples);
    QImage image(plot.size(), QImage::Format_ARGB32_Premultiplied);
    bool wide = false;
    for (auto _ : state) {
        wide = !wide;
        plot.setXAxisSpan(0.0, wide ? kDaySamples + 1.0 : kDaySamples);
        plot.redraw();
        QPainter painter(&image);
        plot.render(&painter);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_LoggerRedrawADay)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Saving a day's log on eight channels, and opening it again.
void BM_LoggerSaveADay(benchmark::State& state) {
    CPlot plot;
    fillDay(plot, kDaySamples);
    QTemporaryDir folder;
    const QString path = folder.path() + QStringLiteral("/day.lgr");
    for (auto _ : state) {
        if (!plot.saveData(path)) {
            state.SkipWithError("the log was not saved");
        }
    }
    state.counters["bytes"] = static_cast<double>(QFileInfo(path).size());
}
BENCHMARK(BM_LoggerSaveADay)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LoggerLoadADay(benchmark::State& state) {
    CPlot plot;
    fillDay(plot, kDaySamples);
    QTemporaryDir folder;
    const QString path = folder.path() + QStringLiteral("/day.lgr");
    plot.saveData(path);
    CPlot other;
    for (auto _ : state) {
        if (!other.loadData(path)) {
            state.SkipWithError("the log was not loaded");
        }
    }
}
BENCHMARK(BM_LoggerLoadADay)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
