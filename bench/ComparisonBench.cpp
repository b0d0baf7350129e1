#include "views/components/Plot.h"
#include "views/components/PlotFile.h"
#include "views/diagnostics/ResultComparisonWindow.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cmath>

namespace {

constexpr int kRuns = 10;
constexpr int kSamples = 2700; // the longest recording, one sample per 0.1 s

// Ten saved round-trip ramp results of 2700 samples, each valve a little slower than the last.
// The ramp is the dearest kind to analyse: its lag is searched over ten seconds of delays.
QStringList WriteRampRuns(const QTemporaryDir& folder) {
    const QList<QPointF> setpoint{{0, 50},   {5, 50},   {70, 70},  {80, 70},  {145, 50},
                                  {155, 50}, {220, 30}, {230, 30}, {270, 50}, {275, 50}};
    QStringList paths;
    for (int run = 0; run < kRuns; ++run) {
        PlotFile file;
        PlotFile::Channel position{2, QStringLiteral("Output Position"), 0, 0, {}, {}};
        const double lag = 0.5 + 0.05 * run;
        for (int i = 0; i < kSamples; ++i) {
            const double t = 5.0 + i / 10.0;
            double value = 0.0;
            for (qsizetype p = 1; p < setpoint.size(); ++p) {
                if (t - lag < setpoint[p].x()) {
                    const QPointF& a = setpoint[p - 1];
                    const QPointF& b = setpoint[p];
                    value = a.y() + (b.y() - a.y()) * (t - lag - a.x()) / (b.x() - a.x());
                    break;
                }
                value = setpoint[p].y();
            }
            position.points.append({t, value + 0.05 * std::sin(t)});
        }
        file.channels = {{1, QStringLiteral("Input Setpoint"), 0, 0, {}, setpoint}, position};
        const QString path = folder.filePath(QStringLiteral("run%1.rat").arg(run));
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(file.toText()) < 0) {
            return {};
        }
        paths << path;
    }
    return paths;
}

// Opening a comparison, adding the ten files (read, checked, analysed), and drawing the
// overlay and the table once.
void BM_CompareTenRampRuns(benchmark::State& state) {
    QTemporaryDir folder;
    const QStringList paths = WriteRampRuns(folder);
    if (paths.size() != kRuns) {
        state.SkipWithError("cannot write the runs");
        return;
    }
    const SComparisonKind kind{valve_analysis::ETestKind::Ramp, "Ramp Test", "Ramp Test Results",
                               "rat"};
    for (auto _ : state) {
        CResultComparisonWindow window(kind, {});
        window.AddFiles(paths);
        QImage image(window.size(), QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&image);
        window.render(&painter);
        if (window.Comparison().Runs().size() != kRuns) {
            state.SkipWithError("runs refused");
        }
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_CompareTenRampRuns)->Unit(benchmark::kMillisecond);

} // namespace
