#include "views/components/Plot.h"

#include <QImage>
#include <QPainter>
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

} // namespace
