#pragma once

#include "model/ValveTestAnalysis.h"
#include "views/components/Csv.h"

#include <QList>
#include <QPointF>
#include <QString>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

struct PlotFile;

// The saved results of one kind of valve test, as its view writes them: the plot's channels
// with the setpoint and the position by name, and the deviation in a channel of its own that
// tells the tests' files apart (the extension alone does not).
struct SComparisonKind {
    valve_analysis::ETestKind test = valve_analysis::ETestKind::Ramp;
    std::string title;     // "Partial Stroke Test"
    std::string fileKind;  // "PST Results"
    std::string extension; // "pst", without the dot
    std::string setpointChannel = "Input Setpoint";
    std::string positionChannel = "Output Position";
    int deviationChannel = 0; // 1 to 8; 0: the test has none
};

// One run of a comparison: its position against the time since the test started, and its
// figures in the order of valve_analysis::Figures.
struct SComparedRun {
    QString name;
    QList<QPointF> position;
    std::vector<double> figures;
};

// The runs of one test kind compared with one of them, the baseline: the first run added
// until another is chosen. Each run is analysed on its own time axis, so runs recorded with
// different sample periods compare alike. A refused file or result leaves the runs as they
// were and is named in the message.
class CResultComparison {
public:
    static constexpr std::size_t kMaxRuns = 16;
    // A result file is text of a few hundred kilobytes.
    static constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;

    explicit CResultComparison(SComparisonKind kind);

    const SComparisonKind& Kind() const { return m_kind; }
    const std::vector<valve_analysis::SFigure>& Figures() const;
    const std::vector<SComparedRun>& Runs() const { return m_runs; }
    std::size_t Baseline() const { return m_baseline; }

    // Adds the run of a saved result file; the refusal ("<file> was not added: <why>") when it
    // is no complete result of this kind.
    std::optional<QString> AddFile(const QString& path);
    // Adds the run a plot holds (the result a view shows) under `name`.
    std::optional<QString> AddContent(const QString& name, const PlotFile& content);
    void Remove(std::size_t run);
    void SetBaseline(std::size_t run);

    const valve_analysis::SDriftThresholds& Thresholds() const { return m_thresholds; }
    void SetThresholds(const valve_analysis::SDriftThresholds& thresholds) {
        m_thresholds = thresholds;
    }
    // The drift of a run's figure from the baseline's.
    valve_analysis::SDrift DriftOf(std::size_t run, std::size_t figure) const;
    // What the table shows for it: "0.78 (+0.08 s, +11.4 %)", the baseline's value alone.
    QString FigureText(std::size_t run, std::size_t figure) const;

    // The numbers of the table: per run its name, whether it is the baseline, and per figure
    // the value, the drift (absolute and %) and whether it is marked.
    CCsvTable Table() const;

private:
    std::optional<QString> Refuse(const QString& name, const QString& why) const;

    SComparisonKind m_kind;
    std::vector<SComparedRun> m_runs;
    std::size_t m_baseline = 0;
    valve_analysis::SDriftThresholds m_thresholds;
};
