#include "views/diagnostics/ValveTestView.h"

#include "model/Conversions.h"
#include "model/DeviceState.h"
#include "model/EnumParameterDescriptor.h"
#include "model/NumericParameterDescriptor.h"
#include "model/ValveTestAnalysis.h"
#include "ui/UIController.h"
#include "views/common/BusyIndicator.h"
#include "views/common/DeviceKeys.h"
#include "views/common/DeviceViewServices.h"
#include "views/common/VelaFFUIServices.h"
#include "views/components/Led.h"
#include "views/components/Plot.h"
#include "views/components/PlotFile.h"
#include "views/diagnostics/ResultComparisonWindow.h"

#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <utility>

namespace {

constexpr std::array<const char*, 3> kLampLabels{"Test passed", "Test in progress", "Test failed"};
// Green, amber and red as COLORREF values (0x00BBGGRR).
constexpr std::array<quint32, 3> kLampColours{0x0000C000, 0x0000B0E0, 0x000000D0};
constexpr std::array<const char*, 3> kChannels{"Channel 1", "Channel 2", "Channel 3"};
constexpr int kStatePassed = 2;
constexpr int kStateRunning = 1;

std::string OneDecimal(double value) {
    char text[400]; // "%.1f" of the largest double
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

} // namespace

SResultsThenVectors ResultsThenVectors(std::int32_t resultsType, std::int32_t vectorType,
                                       std::string resultsProgress, std::string vectorsProgress) {
    SSegmentUploadSettings results;
    results.frameType = resultsType;
    results.readDelayMs = 2000;
    results.nextRequestDelayMs = 2000;
    results.progressText = std::move(resultsProgress);
    results.completedText = "Results upload completed";
    results.frameText = "Results Frame %02d: Received";
    SSegmentUploadSettings vectors = results;
    vectors.frameType = vectorType;
    vectors.progressText = std::move(vectorsProgress);
    vectors.frameText = "Vector Frame %02d: Received";
    return {results, vectors};
}

CValveTestViewCore::CValveTestViewCore(const SViewContext& context, SValveTestDefinition definition)
    : CDeviceViewCore(context, EHeader::WithNavigation), m_definition(std::move(definition)) {
    for (const SValveTestSetting& setting : m_definition.settings) {
        m_values[setting.key] = CConversions::to_double(setting.defaultText);
    }
    m_results.resize(m_definition.buffers.size());
}

CValveTestViewCore::~CValveTestViewCore() = default;

double CValveTestViewCore::Value(std::uint32_t key) const {
    const auto it = m_values.find(key);
    return it != m_values.end() ? it->second : 0.0;
}

const std::vector<double>& CValveTestViewCore::Results(std::size_t index) const {
    return m_results.at(index);
}

const CSegmentUpload& CValveTestViewCore::Upload(std::size_t index) const {
    return *m_uploads.at(index);
}

CRectLed* CValveTestViewCore::Lamp(ELamp lamp) const {
    return m_lamps[static_cast<std::size_t>(lamp)];
}

QString CValveTestViewCore::TestStatus() const {
    return m_status ? m_status->text() : QString();
}

void CValveTestViewCore::StoreRecords(const SSegmentFrame& frame, std::vector<double>& values,
                                      std::size_t capacity) {
    for (std::size_t i = 0; i + 1 < frame.payload.size() && values.size() < capacity; i += 2) {
        values.push_back(frame.payload[i] | (frame.payload[i + 1] << 8));
    }
}

QString CValveTestViewCore::FieldText(std::uint32_t key) const {
    for (const SField& field : m_fields) {
        if (field.setting->key == key) {
            return field.combo ? QString::number(field.combo->currentIndex()) : field.edit->text();
        }
    }
    return {};
}

std::size_t CValveTestViewCore::SamplesOf(double seconds) {
    // A little above the exact tenth, so that 22.3 s counts 223 samples despite rounding.
    const double samples = std::floor(seconds * 10.0 + 1e-6);
    return samples > 0.0 ? static_cast<std::size_t>(samples) : 0;
}

std::optional<std::string> CValveTestViewCore::CheckRecording(double seconds) {
    if (SamplesOf(seconds) <= kMaxSamples) {
        return std::nullopt;
    }
    return "The device records at most 270.0 s; these settings would record " +
           OneDecimal(seconds) + " s. Shorten the test.";
}

void CValveTestViewCore::DrawPoints(CPlot& plot, const char* channel,
                                    const QList<QPointF>& points) {
    const int index = plot.GetChannelByName(QString::fromUtf8(channel));
    plot.clearChannel(index);
    for (const QPointF& point : points) {
        plot.addPoint(index, point.x(), point.y());
    }
}

double CValveTestViewCore::ProfileAt(const QList<QPointF>& points, double seconds) {
    return valve_analysis::ProfileAt(points.constData(), static_cast<std::size_t>(points.size()),
                                     seconds);
}

void CValveTestViewCore::DrawSamples(CPlot& plot, const char* channel,
                                     const std::vector<double>& values, double start,
                                     double period) {
    const int index = plot.GetChannelByName(QString::fromUtf8(channel));
    plot.clearChannel(index);
    const int axis = plot.channelYAxis(index);
    double low = plot.yAxisMin(axis);
    double high = plot.yAxisMax(axis);
    for (std::size_t i = 0; i < values.size(); ++i) {
        plot.addPoint(index, start + static_cast<double>(i) * period, values[i]);
        low = std::min(low, values[i]);
        high = std::max(high, values[i]);
    }
    if (low < plot.yAxisMin(axis) || high > plot.yAxisMax(axis)) {
        plot.setYAxisSpan(low, high, axis);
    }
}

// --- content ---

std::unique_ptr<QWidget> CValveTestViewCore::CreateDeviceContent() {
    // Settings (and the view's results) on the left, the plot with the test status beside
    // them, the buttons below.
    auto content = std::make_unique<QWidget>();
    auto* layout = new QGridLayout(content.get());
    layout->setContentsMargins(0, 0, 0, 0);
    auto* side = new QVBoxLayout;
    side->addWidget(CreateSettings(content.get()));
    if (QWidget* results = CreateResultsPanel(content.get())) {
        side->addWidget(results, 1);
    } else {
        side->addStretch(1);
    }
    layout->addLayout(side, 0, 0, 2, 1);
    m_plot = new CPlot(content.get());
    m_plot->setTitle(QString::fromStdString(m_definition.plotTitle));
    m_plot->setXAxisTitle(QString::fromStdString(m_definition.xAxisTitle));
    m_plot->setYAxisTitle(QString::fromStdString(m_definition.yAxisTitle));
    for (std::size_t i = 0; i < kChannels.size(); ++i) {
        const std::string& name = m_definition.channelNames[i];
        if (!name.empty()) {
            m_plot->setChannelName(m_plot->GetChannelByName(kChannels[i]),
                                   QString::fromStdString(name));
        }
    }
    layout->addWidget(m_plot, 0, 1);
    layout->addWidget(CreateStatus(content.get()), 1, 1);
    layout->addWidget(CreateButtons(content.get()), 2, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(0, 1);
    m_busy = std::make_unique<CBusyIndicator>(m_progress);
    CreateUploads();
    RefreshButtons();
    return content;
}

QWidget* CValveTestViewCore::CreateSettings(QWidget* parent) {
    auto* group = new QGroupBox(QStringLiteral("Test Settings"), parent);
    auto* form = new QFormLayout(group);
    form->setVerticalSpacing(3);
    for (const SValveTestSetting& setting : m_definition.settings) {
        if (setting.label.empty()) {
            continue;
        }
        SField field{&setting};
        auto* row = new QHBoxLayout;
        if (!setting.choices.empty()) {
            field.combo = new QComboBox(group);
            field.combo->setObjectName(QString::fromStdString(setting.label));
            field.combo->setAccessibleName(QString::fromStdString(setting.label));
            for (const std::string& choice : setting.choices) {
                field.combo->addItem(QString::fromStdString(choice));
            }
            QObject::connect(field.combo, &QComboBox::activated, group, [this] {
                m_edited = true;
                RefreshButtons();
            });
            row->addWidget(field.combo, 1);
        } else {
            field.edit = new QLineEdit(group);
            field.edit->setObjectName(QString::fromStdString(setting.label));
            field.edit->setAccessibleName(QString::fromStdString(setting.label));
            field.edit->setMaximumWidth(90);
            field.icon = new QLabel(group);
            field.icon->setFixedSize(18, 18);
            QObject::connect(field.edit, &QLineEdit::textEdited, group, [this] {
                m_edited = true;
                RefreshButtons();
            });
            const std::size_t index = m_fields.size();
            QObject::connect(field.edit, &QLineEdit::editingFinished, group, [this, index] {
                RunGuarded("Entry check", [this, index] { CheckField(m_fields[index]); });
            });
            row->addWidget(field.edit);
            auto* unit = new QLabel(QString::fromStdString(setting.unit), group);
            unit->setMinimumWidth(14);
            row->addWidget(unit);
            row->addWidget(field.icon);
            row->addStretch(1);
        }
        form->addRow(QString::fromStdString(setting.label), row);
        m_fields.push_back(field);
    }
    AddSettingsRows(*form, group);
    SetDefaults();
    return group;
}

QWidget* CValveTestViewCore::CreateStatus(QWidget* parent) {
    // The lamps in a row, the progress bar and the status box below them.
    auto* group = new QGroupBox(QStringLiteral("Test Status"), parent);
    auto* layout = new QGridLayout(group);
    auto* lamps = new QHBoxLayout;
    for (std::size_t i = 0; i < m_lamps.size(); ++i) {
        m_lamps[i] = new CRectLed(group);
        m_lamps[i]->setActiveColor(kLampColours[i]);
        lamps->addWidget(m_lamps[i]);
        lamps->addWidget(new QLabel(QString::fromUtf8(kLampLabels[i]), group));
        lamps->addSpacing(12);
    }
    lamps->addStretch(1);
    layout->addLayout(lamps, 0, 0, 1, 2);
    m_progress = new QProgressBar(group);
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setFixedWidth(160);
    layout->addWidget(m_progress, 1, 0);
    m_status = new QLineEdit(group);
    m_status->setObjectName(QStringLiteral("testStatus"));
    m_status->setAccessibleName(QStringLiteral("Test status"));
    m_status->setReadOnly(true);
    m_status->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(m_status, 1, 1);
    layout->setColumnStretch(1, 1);
    return group;
}

QWidget* CValveTestViewCore::CreateButtons(QWidget* parent) {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    const auto add = [&](const char* label, const char* where, void (CValveTestViewCore::*act)()) {
        auto* button = new QPushButton(QString::fromUtf8(label), row);
        layout->addWidget(button);
        QObject::connect(button, &QPushButton::clicked, button, [this, where, act] {
            RunGuarded(where, [this, act] { (this->*act)(); });
        });
        return button;
    };
    m_default = add("Default", "Default", &CValveTestViewCore::SetDefaults);
    m_apply = add("Apply", "Apply", &CValveTestViewCore::Apply);
    m_start = add("Start", "Start", &CValveTestViewCore::Start);
    m_abort = add("Abort", "Abort", &CValveTestViewCore::Abort);
    if (m_definition.uploadButton) {
        m_upload = add("Upload", "Upload", &CValveTestViewCore::StartResultUpload);
    }
    layout->addStretch(1);
    m_clear = add("Clear All", "Clear All", &CValveTestViewCore::ClearAll);
    m_save = add("Save", "Save", &CValveTestViewCore::Save);
    m_load = add("Load", "Load", &CValveTestViewCore::Load);
    add("Compare…", "Compare", &CValveTestViewCore::Compare);
    return row;
}

void CValveTestViewCore::CreateUploads() {
    for (std::size_t i = 0; i < m_definition.buffers.size(); ++i) {
        m_uploads.push_back(std::make_unique<CSegmentUpload>(
            Device(), State(), m_progress, m_definition.buffers[i].upload,
            CSegmentUpload::SHooks{
                [this, i](const SSegmentFrame& frame) {
                    if (m_definition.buffers[i].records) {
                        StoreRecords(frame, m_results[i], m_definition.buffers[i].capacity);
                    } else {
                        StoreValues(frame, m_results[i], 100.0);
                    }
                },
                [this](const std::string& text) { SetTestStatus(text); },
                [this, i](CSegmentUpload::EState state) { OnUploadState(i, state); }}));
    }
}

// --- lifecycle ---

void CValveTestViewCore::OnDeviceActivated() {
    // The device's settings and service mode, once the view is on screen.
    StartViewOneShot(kReadSettingsTimer, kReadBackDelayMs, [this] {
        Device().RequestRead(m_definition.settingsRecord);
        Device().RequestRead(device_keys::kServiceMode);
    });
    m_plot->clearAll();
    DrawProfile(*m_plot);
    m_plot->redraw();
    RefreshButtons();
}

void CValveTestViewCore::OnDeviceDeactivated() {
    // The poll stopped with the view's timers; an upload cannot go on without the view.
    m_busy->Stop();
    for (const std::unique_ptr<CSegmentUpload>& upload : m_uploads) {
        upload->Leave();
    }
    if (m_phase != EPhase::Idle) {
        m_phase = EPhase::Idle;
        SetLamps(std::nullopt);
    }
}

void CValveTestViewCore::OnParameter(std::uint32_t key) {
    if (key == CSegmentUpload::kSegmentKey) {
        // Each upload takes the frame only while it waits for one.
        for (const std::unique_ptr<CSegmentUpload>& upload : m_uploads) {
            upload->OnParameter(key);
        }
        return;
    }
    if (key == device_keys::kProcedureState) {
        if (m_phase == EPhase::Running && !m_aborted) {
            OnTestState();
        }
        return;
    }
    if (key == device_keys::kServiceMode) {
        RefreshButtons();
        return;
    }
    const auto field = std::find_if(m_fields.begin(), m_fields.end(),
                                    [key](const SField& f) { return f.setting->key == key; });
    if (field != m_fields.end()) {
        if (const std::optional<std::string> value =
                Device().Fetch<CNumericParameterDescriptor>(key)) {
            ShowSetting(*field, *value);
        }
    }
    if (key == m_definition.lastSettingKey) {
        if (m_phase == EPhase::Applying) {
            FinishApply();
        }
        OnSettingsRead();
    }
}

// --- settings ---

void CValveTestViewCore::SetDefaults() {
    for (SField& field : m_fields) {
        const QString text = QString::fromStdString(field.setting->defaultText);
        if (field.combo) {
            field.combo->setCurrentIndex(text.toInt());
        } else {
            field.edit->setText(text);
            field.icon->clear();
            RemoveToolTip(field.edit);
        }
    }
    m_edited = true;
    RefreshButtons();
}

bool CValveTestViewCore::CheckField(const SField& field) {
    if (!field.edit) {
        return true;
    }
    const SValveTestSetting& setting = *field.setting;
    return CVelaFFUIServices().CheckNumericRange(
        *this, *field.edit, *field.icon,
        DeviceRange(Device(), setting.key, setting.scale, setting.integer));
}

void CValveTestViewCore::ShowSetting(SField& field, const std::string& deviceText) {
    const SValveTestSetting& setting = *field.setting;
    const double shown = CConversions::to_double(deviceText) / setting.scale;
    m_values[setting.key] = shown;
    if (field.combo) {
        const QSignalBlocker block(field.combo);
        field.combo->setCurrentIndex(static_cast<int>(shown));
    } else if (setting.integer) {
        field.edit->setText(QString::number(std::llround(shown)));
    } else {
        field.edit->setText(QString::fromStdString(OneDecimal(shown)));
    }
}

bool CValveTestViewCore::CheckFields() {
    // Every field is checked; the first refusal is the one the status names.
    std::optional<std::string> refusal;
    for (const SField& field : m_fields) {
        if (!CheckField(field) && !refusal) {
            refusal = field.setting->label + " " + m_entryProblems[field.edit];
        }
    }
    if (refusal) {
        SetTestStatus(*refusal);
    }
    return !refusal;
}

void CValveTestViewCore::Apply() {
    if (!CheckFields()) {
        return;
    }
    std::map<std::uint32_t, double> values = m_values;
    for (const SField& field : m_fields) {
        values[field.setting->key] =
            field.combo ? field.combo->currentIndex()
                        : CConversions::to_double(field.edit->text().trimmed().toStdString());
    }
    std::swap(values, m_values);
    if (const std::optional<std::string> problem = CheckSettings()) {
        std::swap(values, m_values); // the settings stay as they were applied last
        SetTestStatus(*problem);
        return;
    }

    m_phase = EPhase::Applying;
    m_applied = false;
    m_edited = false;
    RefreshButtons();
    m_plot->clearAll();
    for (const std::uint32_t key : m_definition.writeOrder) {
        const auto setting =
            std::find_if(m_definition.settings.begin(), m_definition.settings.end(),
                         [key](const SValveTestSetting& s) { return s.key == key; });
        if (setting == m_definition.settings.end()) {
            continue;
        }
        const double device = Value(key) * setting->scale;
        Device().Write(key, setting->integer || !setting->choices.empty()
                                ? std::to_string(std::llround(device))
                                : CConversions::format_double(device));
    }
    StartViewOneShot(kReadBackTimer, kReadBackDelayMs,
                     [this] { Device().RequestRead(m_definition.settingsRecord); });
}

void CValveTestViewCore::FinishApply() {
    m_phase = EPhase::Idle;
    m_applied = true;
    m_plot->clearAll();
    DrawProfile(*m_plot);
    m_plot->redraw();
    RefreshButtons();
    if (State().inService) {
        SetTestStatus("Put the device into Out of Service");
    } else {
        SetTestStatus("Settings applied");
    }
}

// --- the test ---

void CValveTestViewCore::Start() {
    if (!m_applied || State().inService) {
        SetTestStatus("Put the device into Out of Service");
        RefreshButtons();
        return;
    }
    StopHeaderPolling();
    m_aborted = false;
    m_phase = EPhase::Running;
    RefreshButtons();
    State().frameType = StartCommand();
    State().frameNumber = 0.0f;
    Device().Write(device_keys::kFrameNumber, "0");
    Device().Write(device_keys::kFrameType, std::to_string(State().frameType));
    m_busy->Start();
    StartViewTimer(kPollTimer, kPollMs, [this] { Poll(); });
    for (const std::string& text : m_definition.startedTexts) {
        SetTestStatus(text);
    }
    SetLamps(ELamp::InProgress);
}

void CValveTestViewCore::Poll() {
    if (!m_aborted) {
        Device().RequestRead(kStateRecord);
    }
}

void CValveTestViewCore::OnTestState() {
    const std::optional<std::string> text =
        Device().Fetch<CEnumParameterDescriptor>(device_keys::kProcedureState);
    if (!text) {
        return;
    }
    const std::int32_t state = CConversions::to_int32(*text);
    const std::string& stateText = TableText(State().procedureStates, state);
    if (state == kStateRunning) {
        SetTestStatus(stateText);
        return;
    }
    if (state == kStatePassed) {
        StopViewTimer(kPollTimer);
        m_busy->Stop();
        SetLamps(ELamp::Passed);
        StartResultUpload();
        return;
    }
    if (state == 3 || state == 4) {
        SetLamps(ELamp::Failed);
        SetTestStatus(stateText);
        EndTest(100);
    }
    // Any other state (the last test's, not yet replaced): the poll goes on.
}

void CValveTestViewCore::StartResultUpload() {
    m_aborted = false;
    m_phase = EPhase::Uploading;
    RefreshButtons();
    StartUpload(0);
}

void CValveTestViewCore::StartUpload(std::size_t index) {
    if (index >= m_uploads.size()) {
        FinishUpload();
        return;
    }
    const SValveTestBuffer& buffer = m_definition.buffers[index];
    const std::size_t count = std::min(buffer.valueCount(), buffer.capacity);
    if (buffer.records) {
        m_results[index].clear();
        m_results[index].reserve(count);
        m_uploads[index]->Start();
        return;
    }
    m_results[index].assign(count, 0.0);
    m_uploads[index]->Start(FrameCount(count));
}

void CValveTestViewCore::OnUploadState(std::size_t index, CSegmentUpload::EState state) {
    if (m_phase != EPhase::Uploading) {
        return;
    }
    switch (state) {
    case CSegmentUpload::EState::Completed:
    case CSegmentUpload::EState::LastFrameMissed:
        // A lost frame leaves its values at 0; the next buffer follows.
        RunGuarded("Upload", [this, index] { StartUpload(index + 1); });
        break;
    case CSegmentUpload::EState::Aborted:
        EndTest(100);
        break;
    case CSegmentUpload::EState::Idle:
    case CSegmentUpload::EState::Waiting:
        break;
    }
}

void CValveTestViewCore::FinishUpload() {
    PlotResults(*m_plot);
    m_plot->redraw();
    for (const std::string& text : PlottedTexts()) {
        SetTestStatus(text);
    }
    EndTest(100);
}

void CValveTestViewCore::Abort() {
    if (m_phase != EPhase::Running && m_phase != EPhase::Uploading) {
        return;
    }
    const bool uploading = m_phase == EPhase::Uploading;
    m_aborted = true;
    StopViewTimer(kPollTimer);
    for (const std::unique_ptr<CSegmentUpload>& upload : m_uploads) {
        upload->Abort();
    }
    // The device takes the abort even when one write is lost.
    Device().Write(device_keys::kFrameType, std::to_string(kAbortCommand));
    Device().Write(device_keys::kFrameType, std::to_string(kAbortCommand));
    State().frameType = kAbortCommand;
    if (Lamp(ELamp::InProgress)->isActive()) {
        SetLamps(std::nullopt);
    }
    SetTestStatus(uploading ? m_definition.uploadAbortedText : "Aborted by user");
    EndTest(100);
}

void CValveTestViewCore::EndTest(int progress) {
    StopViewTimer(kPollTimer);
    m_busy->Stop();
    if (m_progress) {
        m_progress->setValue(progress);
    }
    m_phase = EPhase::Idle;
    StartHeaderPolling();
    RefreshButtons();
}

// --- plot and files ---

void CValveTestViewCore::ClearAll() {
    m_plot->clearAll();
    m_plot->redraw();
    SetLamps(std::nullopt);
    ClearResults();
}

std::optional<QString> CValveTestViewCore::AskFile(bool save) {
    const SFileQuestion question{save ? m_definition.saveTitle : m_definition.openTitle,
                                 m_definition.fileKind, m_definition.fileExtension,
                                 State().privateDialogsMessage};
    const std::optional<std::string> path =
        ::AskFile(GetController(), Device(), GetWindow(), question, save);
    return path ? std::optional(QString::fromStdString(*path)) : std::nullopt;
}

void CValveTestViewCore::Save() {
    const std::optional<QString> path = AskFile(true);
    if (!path) {
        return;
    }
    QString error;
    if (!m_plot->saveData(*path, &error)) {
        throw std::runtime_error(error.toStdString());
    }
    SetTestStatus("Results saved to " + QFileInfo(*path).fileName().toStdString());
}

void CValveTestViewCore::Load() {
    const std::optional<QString> path = AskFile(false);
    if (!path) {
        return;
    }
    // A file that is not a complete plot file leaves the plot as it was.
    QString error;
    if (!m_plot->loadData(*path, &error)) {
        throw std::runtime_error(error.toStdString());
    }
    ClearResults();
    SetLamps(std::nullopt);
    SetTestStatus("Results loaded from " + QFileInfo(*path).fileName().toStdString());
}

CResultComparisonWindow* CValveTestViewCore::GetComparison() const {
    return m_comparison;
}

void CValveTestViewCore::Compare() {
    // A window of its own: only where the frame application permits private dialogs.
    const IUIController* controller = GetController();
    if (controller == nullptr ||
        !PrivateDialogsPermitted(*controller, Device(), State().privateDialogsMessage)) {
        return;
    }
    if (!m_comparison) {
        const SComparisonKind kind{m_definition.testKind,        m_definition.plotTitle,
                                   m_definition.fileKind,        m_definition.fileExtension,
                                   m_definition.channelNames[0], m_definition.channelNames[1],
                                   m_definition.deviationChannel};
        const auto question = [this](const SComparisonServices::SQuestion& asked) {
            return SFileQuestion{asked.title, asked.fileKind, asked.extension,
                                 State().privateDialogsMessage};
        };
        SComparisonServices services{
            [this, question](const SComparisonServices::SQuestion& asked) {
                QStringList paths;
                for (const std::string& path :
                     AskFilesToOpen(GetController(), Device(), m_comparison, question(asked))) {
                    paths << QString::fromStdString(path);
                }
                return paths;
            },
            [this, question](const SComparisonServices::SQuestion& asked) {
                const std::optional<std::string> path =
                    ::AskFile(GetController(), Device(), m_comparison, question(asked), true);
                return path ? std::optional(QString::fromStdString(*path)) : std::nullopt;
            },
            [this] { return std::optional(m_plot->content()); }};
        m_comparison = new CResultComparisonWindow(kind, std::move(services), m_plot->window());
        m_comparison->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_comparison->show();
    m_comparison->raise();
    m_comparison->activateWindow();
}

// --- display ---

void CValveTestViewCore::AddToolTip(QWidget* child, const std::string& text) {
    m_entryProblems[child] = text;
    CDeviceViewCore::AddToolTip(child, text);
}

void CValveTestViewCore::RemoveToolTip(QWidget* child) {
    m_entryProblems.erase(child);
    CDeviceViewCore::RemoveToolTip(child);
}

void CValveTestViewCore::SetTestStatus(const std::string& text) {
    if (m_status) {
        m_status->setText(QString::fromStdString(text));
    }
}

void CValveTestViewCore::SetLamps(std::optional<ELamp> on) {
    for (std::size_t i = 0; i < m_lamps.size(); ++i) {
        m_lamps[i]->setActive(on && static_cast<std::size_t>(*on) == i);
    }
}

bool CValveTestViewCore::MayEdit() const {
    const IUIController* controller = GetController();
    return controller == nullptr || controller->IsEditingAllowed();
}

void CValveTestViewCore::RefreshButtons() {
    if (!m_start) {
        return;
    }
    const bool idle = m_phase == EPhase::Idle;
    const bool testing = m_phase == EPhase::Running || m_phase == EPhase::Uploading;
    const bool edit = MayEdit() && !IsManualTestLocked();
    m_default->setEnabled(idle && edit);
    m_apply->setEnabled(idle && edit && m_edited);
    m_start->setEnabled(idle && edit && m_applied && !State().inService);
    m_abort->setEnabled(testing);
    if (m_upload) {
        m_upload->setEnabled(idle && edit);
    }
    m_clear->setEnabled(idle);
    m_save->setEnabled(idle);
    m_load->setEnabled(idle);
    for (const SField& field : m_fields) {
        QWidget* input = field.edit ? static_cast<QWidget*>(field.edit) : field.combo;
        input->setEnabled(idle && !IsManualTestLocked());
    }
}
