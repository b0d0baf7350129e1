#include "views/diagnostics/ResultComparisonWindow.h"

#include "ui/Guard.h"
#include "views/common/DeviceViewServices.h"
#include "views/components/Grid.h"
#include "views/components/Plot.h"
#include "views/components/PlotFile.h"

#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <limits>

using namespace valve_analysis;

namespace {

// COLORREF values (0x00BBGGRR): the baseline drawn dark, the other runs in colours well apart.
constexpr quint32 kBaselineColour = 0x00303030;
constexpr std::array<quint32, 10> kRunColours{0x00B26F1F, 0x002828C6, 0x00388E2E, 0x00007CEF,
                                              0x00A0398E, 0x00898C00, 0x00455A79, 0x00C07FE0,
                                              0x0060A0A0, 0x00E0A060};
constexpr quint32 kBaselineRow = 0x00F5EEE8;
constexpr quint32 kMarkedCell = 0x00D9D9FF;
constexpr quint32 kMarkedText = 0x000000A8;

double StoredThreshold(const char* name, double fallback, double highest) {
    double value = fallback;
    // A store that cannot be read leaves the defaults.
    Guarded("Comparison thresholds", [&] {
        if (const std::optional<std::string> text = ViewSettings().Get(name)) {
            bool ok = false;
            const double stored = QString::fromStdString(*text).toDouble(&ok);
            if (ok && stored > 0.0 && stored <= highest) {
                value = stored;
            }
        }
    });
    return value;
}

} // namespace

CResultComparisonWindow::CResultComparisonWindow(SComparisonKind kind, SComparisonServices services,
                                                 QWidget* parent)
    : QWidget(parent, Qt::Window), m_comparison(std::move(kind)), m_services(std::move(services)) {
    const QString title = QString::fromStdString(m_comparison.Kind().title);
    setWindowTitle(QStringLiteral("Compare %1 Results").arg(title));
    setObjectName(QStringLiteral("resultComparison"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(CreateButtons());

    m_plot = new CPlot(this, static_cast<int>(CResultComparison::kMaxRuns));
    m_plot->setTitle(QStringLiteral("%1: position of each run").arg(title));
    m_plot->setXAxisTitle(QStringLiteral("Time since the test start [s]"));
    m_plot->setYAxisTitle(QStringLiteral("Position [%]"));

    auto* figures = new QGroupBox(QStringLiteral("Figures of each run and their drift from the "
                                                 "baseline"),
                                  this);
    auto* figuresLayout = new QVBoxLayout(figures);
    m_table = new CGrid(figures);
    m_table->setAccessibleName(QStringLiteral("Compared runs"));
    m_table->setCsvSource([this] { return m_comparison.Table(); });
    figuresLayout->addWidget(m_table, 1);
    auto* legend = new QLabel(QStringLiteral("\u26A0 marks a drift beyond the threshold below. "
                                             "In brackets: the drift from the baseline, absolute "
                                             "and in %; pp: percentage points."),
                              figures);
    legend->setWordWrap(true);
    figuresLayout->addWidget(legend);
    figuresLayout->addWidget(CreateThresholds());

    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(m_plot);
    split->addWidget(figures);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    split->setChildrenCollapsible(false);
    layout->addWidget(split, 1);

    m_messages = new QLabel(this);
    m_messages->setObjectName(QStringLiteral("comparisonMessages"));
    m_messages->setWordWrap(true);
    m_messages->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_messages);

    // The grid's and the plot's "Export as CSV…" ask through the view, as the buttons do.
    new CCsvExportHost(
        *this,
        [this](QWidget*) {
            return m_services.askSave({"Export as CSV", "CSV Files", "csv"});
        },
        [this](const QString& message) { ShowMessages({message}, false); });
    ApplyThresholds();
    resize(sizeHint());
}

QWidget* CResultComparisonWindow::CreateButtons() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    const auto add = [&](const char* label, const char* where, std::function<void()> act) {
        auto* button = new QPushButton(QString::fromUtf8(label), row);
        layout->addWidget(button);
        connect(button, &QPushButton::clicked, this,
                [this, where, act = std::move(act)] { Run(where, act); });
        return button;
    };
    add("Add Files…", "Add Files", [this] { AskFiles(); });
    add("Add Current Result", "Add Current Result", [this] { AddCurrent(); });
    layout->addSpacing(16);
    add("Set as Baseline", "Set as Baseline", [this] { SetBaseline(m_table->currentRow()); });
    add("Remove", "Remove", [this] { RemoveRun(m_table->currentRow()); });
    layout->addStretch(1);
    auto* save = new QPushButton(QStringLiteral("Save / Export"), row);
    auto* menu = new QMenu(save);
    for (const char* what : {"Plot as PNG…", "Plot as CSV…", "Table as PNG…", "Table as CSV…"}) {
        connect(menu->addAction(QString::fromUtf8(what)), &QAction::triggered, this,
                [this, what] { Run("Save / Export", [this, what] { SaveAs(what); }); });
    }
    save->setMenu(menu);
    layout->addWidget(save);
    return row;
}

QWidget* CResultComparisonWindow::CreateThresholds() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    const SDriftThresholds defaults;
    const auto spin = [&](const char* setting, double fallback, double highest,
                          const char* suffix) {
        auto* box = new QDoubleSpinBox(row);
        box->setDecimals(1);
        box->setRange(0.1, highest);
        box->setSingleStep(1.0);
        box->setSuffix(QString::fromUtf8(suffix));
        box->setValue(StoredThreshold(setting, fallback, highest));
        connect(box, &QDoubleSpinBox::valueChanged, this, [this, setting](double value) {
            Run("Thresholds", [this, setting, value] {
                ApplyThresholds();
                ViewSettings().Set(setting, CCsvTable::number(value).toStdString());
            });
        });
        return box;
    };
    m_timeThreshold = spin(kTimeThresholdSetting, defaults.timePercent, 1000.0, " %");
    m_timeThreshold->setAccessibleName(QStringLiteral("Time drift threshold"));
    m_deviationThreshold = spin(kDeviationThresholdSetting, defaults.deviationPoints, 100.0, " pp");
    m_deviationThreshold->setAccessibleName(QStringLiteral("Deviation drift threshold"));
    layout->addWidget(new QLabel(QStringLiteral("Mark times drifting more than"), row));
    layout->addWidget(m_timeThreshold);
    layout->addWidget(new QLabel(QStringLiteral("and deviations drifting more than"), row));
    layout->addWidget(m_deviationThreshold);
    layout->addStretch(1);
    return row;
}

void CResultComparisonWindow::Run(const char* where, const std::function<void()>& work) {
    if (const std::optional<std::string> error = CaughtError(work)) {
        ShowMessages({QStringLiteral("%1: %2").arg(QString::fromUtf8(where),
                                                   QString::fromStdString(*error))},
                     true);
    }
}

void CResultComparisonWindow::AskFiles() {
    const SComparisonKind& kind = m_comparison.Kind();
    AddFiles(m_services.askOpen(
        {"Add " + kind.title + " Results to the Comparison", kind.fileKind, kind.extension}));
}

void CResultComparisonWindow::AddFiles(const QStringList& paths) {
    QStringList refusals;
    for (const QString& path : paths) {
        if (const std::optional<QString> refusal = m_comparison.AddFile(path)) {
            refusals << *refusal;
        }
    }
    Refresh();
    ShowMessages(refusals, !refusals.isEmpty());
}

void CResultComparisonWindow::AddCurrent() {
    const std::optional<PlotFile> current =
        m_services.current ? m_services.current() : std::nullopt;
    const QString name = QString::fromUtf8(kCurrentRunName);
    const std::optional<QString> refusal =
        current ? m_comparison.AddContent(name, *current)
                : QStringLiteral("%1 was not added: the view shows none").arg(name);
    Refresh();
    ShowMessages(refusal ? QStringList{*refusal} : QStringList{}, refusal.has_value());
}

void CResultComparisonWindow::SetBaseline(int run) {
    OnSelectedRun(run, [this](std::size_t index) { m_comparison.SetBaseline(index); });
}

void CResultComparisonWindow::RemoveRun(int run) {
    OnSelectedRun(run, [this](std::size_t index) { m_comparison.Remove(index); });
}

void CResultComparisonWindow::OnSelectedRun(int run,
                                            const std::function<void(std::size_t)>& change) {
    if (run < 0) {
        ShowMessages({QStringLiteral("Select a run in the table first.")}, true);
        return;
    }
    change(static_cast<std::size_t>(run));
    Refresh();
    ShowMessages({}, false);
}

void CResultComparisonWindow::SaveAs(const char* what) {
    const QString choice = QString::fromUtf8(what);
    const bool picture = choice.contains(QStringLiteral("PNG"));
    const bool plot = choice.startsWith(QStringLiteral("Plot"));
    const std::string subject = plot ? "Plot" : "Table";
    const std::optional<QString> path =
        picture
            ? m_services.askSave({"Save Comparison " + subject + " as PNG", "PNG Images", "png"})
            : m_services.askSave({"Export Comparison " + subject + " as CSV", "CSV Files", "csv"});
    if (!path) {
        return;
    }
    QString error;
    bool saved = false;
    if (picture) {
        QWidget& shown = plot ? static_cast<QWidget&>(*m_plot) : *m_table;
        saved = shown.grab().save(*path, "PNG");
        error = QStringLiteral("Cannot write the picture %1").arg(*path);
    } else {
        saved = (plot ? m_plot->csv() : m_comparison.Table()).save(*path, &error);
    }
    ShowMessages({saved ? QStringLiteral("Saved %1").arg(QFileInfo(*path).fileName()) : error},
                 !saved);
}

void CResultComparisonWindow::ApplyThresholds() {
    m_comparison.SetThresholds({m_timeThreshold->value(), m_deviationThreshold->value()});
    RefreshTable();
}

void CResultComparisonWindow::Refresh() {
    RefreshPlot();
    RefreshTable();
}

void CResultComparisonWindow::RefreshPlot() {
    m_plot->clearAll();
    const std::vector<SComparedRun>& runs = m_comparison.Runs();
    double end = 0.0;
    double low = std::numeric_limits<double>::max();
    double high = std::numeric_limits<double>::lowest();
    for (std::size_t run = 0; run < runs.size(); ++run) {
        // The baseline goes last, so that it is drawn over the runs that match it.
        const std::size_t baselineRun = m_comparison.Baseline();
        const bool baseline = run == baselineRun;
        const int channel = static_cast<int>(baseline            ? runs.size() - 1
                                             : run > baselineRun ? run - 1
                                                                 : run);
        m_plot->setChannelName(channel, baseline ? runs[run].name + QStringLiteral(" (baseline)")
                                                 : runs[run].name);
        m_plot->setChannelColor(channel,
                                baseline ? kBaselineColour : kRunColours[run % kRunColours.size()]);
        for (const QPointF& point : runs[run].position) {
            m_plot->addPoint(channel, point.x(), point.y());
            end = std::max(end, point.x());
            low = std::min(low, point.y());
            high = std::max(high, point.y());
        }
    }
    if (!runs.empty()) {
        const double margin = std::max((high - low) * 0.08, 0.5);
        m_plot->setXAxisSpan(0.0, end);
        m_plot->setYAxisSpan(low - margin, high + margin);
    }
    m_plot->redraw();
}

void CResultComparisonWindow::RefreshTable() {
    if (!m_table) {
        return;
    }
    const std::vector<SFigure>& figures = m_comparison.Figures();
    QStringList headings{QStringLiteral("Run")};
    for (const SFigure& figure : figures) {
        headings << QStringLiteral("%1 [%2]").arg(QString::fromStdString(figure.name),
                                                  QString::fromStdString(figure.unit));
    }
    const int selected = m_table->currentRow();
    m_table->setColumnFormat(headings.join(QLatin1Char('|')));
    m_table->setRows(1); // the colours of the last refresh go with the rows
    const std::vector<SComparedRun>& runs = m_comparison.Runs();
    m_table->setRows(static_cast<int>(runs.size()) + 1);
    for (std::size_t run = 0; run < runs.size(); ++run) {
        const int row = static_cast<int>(run) + 1;
        const bool baseline = run == m_comparison.Baseline();
        m_table->setCellText(
            row, 0, baseline ? runs[run].name + QStringLiteral(" (baseline)") : runs[run].name);
        if (baseline) {
            m_table->setRowColor(row, kBaselineRow);
        }
        for (std::size_t figure = 0; figure < figures.size(); ++figure) {
            const int column = static_cast<int>(figure) + 1;
            m_table->setCellText(row, column, m_comparison.FigureText(run, figure));
            if (!baseline && m_comparison.DriftOf(run, figure).marked) {
                m_table->setCellColor(row, column, kMarkedCell, kMarkedText, true);
            }
        }
    }
    if (selected >= 0 && selected < static_cast<int>(runs.size())) {
        m_table->setCurrentCell(selected, 0);
    }
}

void CResultComparisonWindow::ShowMessages(const QStringList& lines, bool problem) {
    QStringList shown = lines;
    const std::vector<SComparedRun>& runs = m_comparison.Runs();
    if (shown.isEmpty() && !runs.empty()) {
        shown << QStringLiteral("%1 run(s) compared with the baseline %2.")
                     .arg(runs.size())
                     .arg(runs[m_comparison.Baseline()].name);
    }
    m_messages->setStyleSheet(problem ? QStringLiteral("color: #A00000;") : QString());
    m_messages->setText(shown.join(QLatin1Char('\n')));
}
