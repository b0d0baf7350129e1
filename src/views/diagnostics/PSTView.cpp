#include "views/diagnostics/PSTView.h"

#include "model/Conversions.h"
#include "model/DeviceState.h"
#include "views/common/DeviceKeys.h"
#include "views/components/Plot.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kDeviationAxis = 1;
// The device's own pre-test time, drawn before the first results tell it.
constexpr double kPlannedPreTest = 1.0;
// The device records this long after the valve is sent back open.
constexpr double kTail = 2.0;

SValveTestDefinition PartialStrokeTest(std::function<std::size_t()> samples) {
    using View = CPSTView;
    SValveTestDefinition test;
    test.settingsRecord = View::kSettingsRecord;
    test.lastSettingKey = View::kPauseTime;
    test.settings = {
        {View::kType, "PST Type:", "0", 1.0, true, {"Step", "Ramp"}, ""},
        {View::kSetpointChange, "Setpoint Change:", "10.0", 10.0, false, {}, "%"},
        {View::kMaxWaitingTime, "Max Waiting Time:", "10.0", 1000.0, false, {}, "s"},
        {View::kPauseTime, "Pause Time:", "2.0", 1000.0, false, {}, "s"},
        {View::kMode, "PST mode:", "0", 1.0, true, {"Manual", "Automatic"}, ""},
        {View::kInterval, "Time Interval:", "24.0", 1.0, false, {}, "h"},
    };
    test.writeOrder = {View::kMode,     View::kType,           View::kSetpointChange,
                       View::kInterval, View::kMaxWaitingTime, View::kPauseTime};
    test.startedTexts = {"Launched", "Test started"};
    test.uploadAbortedText = "Results upload aborted by user";
    test.plotTitle = "Partial Stroke Test";
    test.channelNames = {"Input Setpoint", "Output Position", ""};
    test.saveTitle = "Save PST resutls As";
    test.openTitle = "Open PST Results";
    test.fileExtension = "pst";
    test.fileKind = "PST Results";
    test.testKind = valve_analysis::ETestKind::PartialStroke;
    test.deviationChannel = 4;
    auto [results, vectors] = ResultsThenVectors(View::kResultsFrameType, View::kVectorFrameType,
                                                 "Upload in progress", "Vector upload in progress");
    test.buffers = {{std::move(results), [] { return std::size_t{6}; }, 6, true},
                    {std::move(vectors), std::move(samples), CValveTestViewCore::kMaxSamples}};
    test.uploadButton = true;
    return test;
}

QString SummaryLine(const char* label, double value, const char* unit) {
    return QString::asprintf("%-20s %-.1f %s", label, value, unit);
}

} // namespace

CPSTView::CPSTView(const SViewContext& context)
    : CValveTestView(context, PartialStrokeTest([this] {
                         return std::min(LastResults().samples, kMaxSamples);
                     })) {}

QString CPSTView::LogPath() const {
    const QString folder = m_logFolder.isEmpty()
                               ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                               : m_logFolder;
    return QDir(folder).filePath(QString::fromUtf8(kLogFileName));
}

CPSTView::SResults CPSTView::LastResults() const {
    const std::vector<double>& record = Results(0);
    const auto word = [&record](std::size_t i) { return i < record.size() ? record[i] : 0.0; };
    SResults results;
    results.t63 = word(0) / 100.0;
    results.samples = static_cast<std::size_t>(word(1));
    results.periodMs = word(2) > 0.0 ? word(2) : 100.0;
    results.preTest = word(3) / 100.0;
    results.failed = word(4) != 0.0;
    results.hold = word(5) / 100.0;
    return results;
}

bool CPSTView::IsRamp() const {
    return Value(kType) != 0.0;
}

QList<QPointF> CPSTView::StrokeProfile(double preTest, double hold, double end) const {
    const double target = kOpenPosition - Value(kSetpointChange);
    const double ramp = IsRamp() ? Value(kSetpointChange) / kRampRate : 0.0;
    const double back = preTest + hold;
    return {{0.0, kOpenPosition},         {preTest, kOpenPosition},
            {preTest + ramp, target},     {back, target},
            {back + ramp, kOpenPosition}, {std::max(end, back + ramp), kOpenPosition}};
}

void CPSTView::DrawProfile(CPlot& plot) const {
    // The longest stroke the settings allow: the valve waits the whole maximum time.
    const double ramp = IsRamp() ? Value(kSetpointChange) / kRampRate : 0.0;
    const double hold = ramp + Value(kMaxWaitingTime) + Value(kPauseTime);
    const QList<QPointF> points =
        StrokeProfile(kPlannedPreTest, hold, kPlannedPreTest + hold + ramp + kTail);
    const double change = std::max(Value(kSetpointChange), 1.0);
    plot.setXAxisSpan(0.0, points.back().x());
    plot.setYAxisSpan(std::max(0.0, kOpenPosition - 1.5 * change), kOpenPosition + 0.3 * change);
    const int deviation = plot.GetChannelByName(QStringLiteral("Channel 4"));
    plot.setChannelName(deviation, QStringLiteral("Deviation"));
    plot.setChannelYAxis(deviation, kDeviationAxis);
    plot.setYAxisTitle(QStringLiteral("Deviation [%]"), kDeviationAxis);
    plot.setYAxisSpan(-1.2 * change, 1.2 * change, kDeviationAxis);
    DrawPoints(plot, "Channel 1", points);
}

void CPSTView::PlotResults(CPlot& plot) {
    const SResults results = LastResults();
    const std::vector<double>& samples = Results(1);
    const double period = results.periodMs / 1000.0;
    const double end = static_cast<double>(samples.size()) * period;
    const QList<QPointF> setpoint = StrokeProfile(results.preTest, results.hold, end);
    plot.setXAxisSpan(0.0, std::max(end, setpoint.back().x()));
    DrawPoints(plot, "Channel 1", setpoint);
    DrawSamples(plot, "Channel 2", samples, 0.0, period);
    std::vector<double> deviation(samples.size());
    for (std::size_t i = 0; i < samples.size(); ++i) {
        deviation[i] = ProfileAt(setpoint, static_cast<double>(i) * period) - samples[i];
    }
    DrawSamples(plot, "Channel 4", deviation, 0.0, period);
    // t63 from the start of the stroke; a stroke that never got there has none to mark.
    const int marker = plot.GetChannelByName(QStringLiteral("Channel 3"));
    plot.clearChannel(marker);
    plot.setChannelName(marker, QStringLiteral("t63"));
    if (results.t63 > 0.0) {
        plot.drawMarker(marker, results.preTest + results.t63, kMarkerColour,
                        QString::asprintf("t63 = %.2f s", results.t63));
    }
    SetLamps(results.failed ? ELamp::Failed : ELamp::Passed);
}

std::vector<std::string> CPSTView::PlottedTexts() const {
    return {"Results upload completed", "Results plotting completed"};
}

QWidget* CPSTView::CreateResultsPanel(QWidget* parent) {
    // The automatic test's lines and the summary of the settings applied, one page each.
    auto* pages = new QTabWidget(parent);
    m_autoResults = new QListWidget(pages);
    m_autoResults->setAccessibleName(QStringLiteral("Automatic Test Results"));
    m_autoResults->addItem(QStringLiteral("No Auto PST In Progress."));
    pages->addTab(m_autoResults, QStringLiteral("Automatic Test Results"));
    m_summary = new QListWidget(pages);
    m_summary->setAccessibleName(QStringLiteral("Settings summary"));
    m_summary->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    pages->addTab(m_summary, QStringLiteral("Settings Summary"));
    pages->setMaximumHeight(150);
    return pages;
}

void CPSTView::AddSettingsRows(QFormLayout& form, QWidget* group) {
    auto* row = new QHBoxLayout;
    m_autoButton = new QPushButton(QStringLiteral("Start"), group);
    m_autoButton->setAccessibleName(QStringLiteral("Automatic PST Start/Abort"));
    row->addWidget(m_autoButton);
    row->addStretch(1);
    form.addRow(QStringLiteral("Automatic PST Start/Abort:"), row);
    // The warning asks before the device starts moving the valve by itself.
    auto* ask = new QHBoxLayout;
    m_prompt = new QLabel(QString::fromUtf8(kWarning), group);
    m_prompt->setWordWrap(true);
    m_yes = new QPushButton(QStringLiteral("Yes"), group);
    m_no = new QPushButton(QStringLiteral("No"), group);
    ask->addWidget(m_prompt, 1);
    ask->addWidget(m_yes);
    ask->addWidget(m_no);
    form.addRow(ask);
    AskAutoPst(false);
    QObject::connect(m_autoButton, &QPushButton::clicked, group,
                     [this] { RunGuarded("Automatic PST", [this] { OnAutoButton(); }); });
    QObject::connect(m_yes, &QPushButton::clicked, group, [this] {
        RunGuarded("Automatic PST", [this] {
            AskAutoPst(false);
            StartAutoPst();
        });
    });
    QObject::connect(m_no, &QPushButton::clicked, group, [this] { AskAutoPst(false); });
}

void CPSTView::OnSettingsRead() {
    // The device says whether it runs the automatic test; the view follows it.
    const bool running = Value(kMode) != 0.0;
    if (running != m_autoRunning) {
        m_autoRunning = running;
        if (!running) {
            m_autoResults->clear();
            m_autoResults->addItem(QStringLiteral("No Auto PST In Progress."));
        }
    }
    RefreshAutoState();
}

void CPSTView::OnAutoButton() {
    if (m_autoRunning) {
        StopAutoPst();
        return;
    }
    if (!State().inService) {
        Device().ShowMessage("Device is in Out of Service. Auto PST is not possible");
        SetTestStatus("Put the device into In Service");
        return;
    }
    if (GetPhase() != EPhase::Idle || !CheckFields()) {
        return;
    }
    AskAutoPst(true);
}

void CPSTView::AskAutoPst(bool show) {
    m_prompt->setVisible(show);
    m_yes->setVisible(show);
    m_no->setVisible(show);
    m_autoButton->setEnabled(!show);
}

double CPSTView::FieldValue(std::uint32_t key) const {
    return CConversions::to_double(FieldText(key).trimmed().toStdString());
}

void CPSTView::StartAutoPst() {
    SetTestStatus("");
    SetLamps(std::nullopt);
    const double interval = FieldValue(kInterval);
    const double change = FieldValue(kSetpointChange);
    const double waitMs = FieldValue(kMaxWaitingTime) * 1000.0;
    const double pauseMs = FieldValue(kPauseTime) * 1000.0;
    m_autoRunning = true;
    RefreshButtons();
    SetTestStatus("Configuring auto PST");
    // The configuration, then the mode that tells the device to start.
    Device().Write(kInterval, CConversions::format_double(interval));
    Device().Write(kSetpointChange, CConversions::format_double(change * 10.0));
    Device().Write(kMaxWaitingTime, CConversions::format_double(waitMs));
    Device().Write(kPauseTime, CConversions::format_double(pauseMs));
    Device().Write(kMode, "1");

    const QString started =
        QLocale::c().toString(m_clock(), QStringLiteral("ddd MMM dd hh:mm:ss yyyy")).left(19);
    m_autoResults->clear();
    m_autoResults->addItems({
        QString::asprintf("Time Interval (hrs) = %.2f", interval),
        QString::asprintf("Set Point Change = %.2f", change),
        QString::asprintf("Max waiting time(ms) = %.2f", waitMs),
        QString::asprintf("Pause time(ms) = %.2f", pauseMs),
        IsRamp() ? QStringLiteral("PST Type = ramp") : QStringLiteral("PST Type = step"),
        QStringLiteral("Auto Test Started : ") + started,
        QStringLiteral("Auto Test Status : In progress ..."),
    });
    RefreshAutoState();
    SetTestStatus("Auto test status : In progress");
    AppendLog(started);
    Device().RequestRead(kSettingsRecord);
}

void CPSTView::AppendLog(const QString& started) {
    // A log for people: a failure to write it is said, and auto PST goes on.
    const QString path = LogPath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile log(path);
    if (!log.open(QIODevice::Append | QIODevice::Text)) {
        SetTestStatus("The auto PST log " + path.toStdString() +
                      " could not be written: " + log.errorString().toStdString());
        return;
    }
    const QString block =
        QStringLiteral("-----------AUTO PST CONFIG PARAM-----------\n") + started +
        QStringLiteral("\n") +
        QString::asprintf("time interval (hours) =%.2f;\n", FieldValue(kInterval));
    if (log.write(block.toUtf8()) < 0) {
        SetTestStatus("The auto PST log " + path.toStdString() +
                      " could not be written: " + log.errorString().toStdString());
    }
}

void CPSTView::StopAutoPst() {
    m_autoRunning = false;
    m_autoResults->clear();
    m_autoResults->addItem(QStringLiteral("No Auto PST In Progress."));
    Device().Write(kMode, "0");
    SetLamps(std::nullopt);
    RefreshButtons();
    RefreshAutoState();
    SetTestStatus("No auto PST in progress");
    Device().RequestRead(kSettingsRecord);
}

void CPSTView::RefreshAutoState() {
    m_autoButton->setText(m_autoRunning ? QStringLiteral("Abort") : QStringLiteral("Start"));
    m_summary->clear();
    m_summary->addItems({
        SummaryLine("Time Interval:", Value(kInterval), "h"),
        SummaryLine("Setpoint Change:", Value(kSetpointChange), "%"),
        SummaryLine("Max Waiting Time:", Value(kMaxWaitingTime), "s"),
        SummaryLine("Pause Time:", Value(kPauseTime), "s"),
        QString::asprintf("%-20s %s", "PST Type:", IsRamp() ? "Ramp" : "Step"),
    });
    if (m_autoRunning) {
        m_summary->addItems({QStringLiteral("Automatic PST enabled"),
                             QStringLiteral("Auto test status : In progress")});
    }
}
