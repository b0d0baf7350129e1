#include "views/diagnostics/ResultComparison.h"

#include "views/components/PlotFile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

using namespace valve_analysis;

namespace {

const QString kDeviationChannel = QStringLiteral("Deviation");

Curve ToCurve(const QList<QPointF>& points) {
    Curve curve;
    curve.reserve(static_cast<std::size_t>(points.size()));
    for (const QPointF& point : points) {
        curve.push_back({point.x(), point.y()});
    }
    return curve;
}

QString Signed(double value) {
    return QString::asprintf("%+.2f", value);
}

} // namespace

CResultComparison::CResultComparison(SComparisonKind kind) : m_kind(std::move(kind)) {}

const std::vector<SFigure>& CResultComparison::Figures() const {
    return valve_analysis::Figures(m_kind.test);
}

std::optional<QString> CResultComparison::Refuse(const QString& name, const QString& why) const {
    return QStringLiteral("%1 was not added: %2").arg(name, why);
}

std::optional<QString> CResultComparison::AddFile(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    const QString extension = QString::fromStdString(m_kind.extension);
    if (QFileInfo(path).suffix().compare(extension, Qt::CaseInsensitive) != 0) {
        return Refuse(name, QStringLiteral("it is no %1 file (*.%2)")
                                .arg(QString::fromStdString(m_kind.fileKind), extension));
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return Refuse(name, file.errorString());
    }
    if (file.size() > kMaxFileSize) {
        return Refuse(name, QStringLiteral("the file is too large for a result"));
    }
    QString error;
    const std::optional<PlotFile> content = PlotFile::fromText(file.readAll(), error);
    if (!content) {
        return Refuse(name, error);
    }
    return AddContent(name, *content);
}

std::optional<QString> CResultComparison::AddContent(const QString& name, const PlotFile& content) {
    if (m_runs.size() >= kMaxRuns) {
        return Refuse(name, QStringLiteral("at most %1 runs are compared").arg(kMaxRuns));
    }
    const auto channel = [&content](int number) -> const PlotFile::Channel* {
        const auto it = std::find_if(content.channels.cbegin(), content.channels.cend(),
                                     [number](const auto& c) { return c.number == number; });
        return it != content.channels.cend() ? &*it : nullptr;
    };
    const auto deviation = std::find_if(content.channels.cbegin(), content.channels.cend(),
                                        [](const auto& c) { return c.name == kDeviationChannel; });
    const int deviationAt = deviation != content.channels.cend() ? deviation->number : 0;
    const PlotFile::Channel* setpoint = channel(1);
    const PlotFile::Channel* position = channel(2);
    if (!setpoint || !position ||
        setpoint->name != QString::fromStdString(m_kind.setpointChannel) ||
        position->name != QString::fromStdString(m_kind.positionChannel) ||
        deviationAt != m_kind.deviationChannel) {
        return Refuse(
            name,
            QStringLiteral("it holds no %1 result").arg(QString::fromStdString(m_kind.title)));
    }
    std::string problem;
    std::optional<std::vector<double>> figures =
        Analyse(m_kind.test, ToCurve(position->points), ToCurve(setpoint->points), &problem);
    if (!figures) {
        return Refuse(name, QString::fromStdString(problem));
    }
    m_runs.push_back({name, position->points, std::move(*figures)});
    return std::nullopt;
}

void CResultComparison::Remove(std::size_t run) {
    if (run >= m_runs.size()) {
        return;
    }
    m_runs.erase(m_runs.begin() + static_cast<std::ptrdiff_t>(run));
    // The baseline stays the same run; without it the first run is the baseline.
    if (run < m_baseline) {
        --m_baseline;
    } else if (run == m_baseline) {
        m_baseline = 0;
    }
}

void CResultComparison::SetBaseline(std::size_t run) {
    if (run < m_runs.size()) {
        m_baseline = run;
    }
}

SDrift CResultComparison::DriftOf(std::size_t run, std::size_t figure) const {
    if (run >= m_runs.size() || m_baseline >= m_runs.size() || figure >= Figures().size()) {
        return {};
    }
    return Drift(m_runs[run].figures[figure], m_runs[m_baseline].figures[figure],
                 Figures()[figure].kind, m_thresholds);
}

QString CResultComparison::FigureText(std::size_t run, std::size_t figure) const {
    if (run >= m_runs.size() || figure >= Figures().size()) {
        return {};
    }
    const QString value = QString::asprintf("%.2f", m_runs[run].figures[figure]);
    if (run == m_baseline) {
        return value;
    }
    const SDrift drift = DriftOf(run, figure);
    const bool deviation = Figures()[figure].kind == EFigureKind::Deviation;
    QString text =
        value + QStringLiteral(" (") + Signed(drift.absolute) +
        (deviation ? QStringLiteral(" pp")
                   : QStringLiteral(" ") + QString::fromStdString(Figures()[figure].unit));
    if (drift.relative) {
        text += QStringLiteral(", ") + QString::asprintf("%+.1f %%", *drift.relative);
    }
    text += QLatin1Char(')');
    return drift.marked ? QStringLiteral("\u26A0 ") + text : text;
}

CCsvTable CResultComparison::Table() const {
    QStringList header{QStringLiteral("Run"), QStringLiteral("Baseline")};
    for (const SFigure& figure : Figures()) {
        const QString name = QString::fromStdString(figure.name);
        const QString unit = QString::fromStdString(figure.unit);
        header << QStringLiteral("%1 [%2]").arg(name, unit)
               << QStringLiteral("%1 drift [%2]")
                      .arg(name,
                           figure.kind == EFigureKind::Deviation ? QStringLiteral("pp") : unit)
               << QStringLiteral("%1 drift [%]").arg(name) << QStringLiteral("%1 marked").arg(name);
    }
    CCsvTable table(header);
    for (std::size_t run = 0; run < m_runs.size(); ++run) {
        QStringList row{m_runs[run].name,
                        run == m_baseline ? QStringLiteral("yes") : QStringLiteral("no")};
        for (std::size_t figure = 0; figure < Figures().size(); ++figure) {
            const SDrift drift = DriftOf(run, figure);
            row << CCsvTable::number(m_runs[run].figures[figure])
                << CCsvTable::number(drift.absolute)
                << (drift.relative ? CCsvTable::number(*drift.relative) : QString())
                << (drift.marked ? QStringLiteral("yes") : QStringLiteral("no"));
        }
        table.addRow(row);
    }
    return table;
}
