#include "views/diagnostics/DataLoggerView.h"

#include "model/Conversions.h"
#include "model/NumericParameterDescriptor.h"
#include "ui/UIController.h"
#include "views/common/DeviceKeys.h"
#include "views/common/DeviceViewServices.h"
#include "views/components/Plot.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <stdexcept>

namespace {

struct SChannel {
    const char* name;
    int axis;
};
// The plot's channels: name and y axis (0 position, 1 pressure, 2 temperature).
constexpr std::array<SChannel, 8> kChannels{{{"Position", 0},
                                             {"Setpoint", 0},
                                             {"Deviation", 0},
                                             {"Supply Pressure", 1},
                                             {"C + Pressure", 1},
                                             {"C - Pressure", 1},
                                             {"Temperature", 2},
                                             {"Friction", 1}}};
constexpr const char* kPressureUnit = "bar";
constexpr const char* kTemperatureUnit = "°C";

const SFileQuestion kSaveQuestion{"Save Data Log as", "Data Log", "lgr",
                                  private_dialogs::kSettingRefusal};
const SFileQuestion kOpenQuestion{"Open Data Log", "Data Log", "lgr",
                                  private_dialogs::kSettingRefusal};

} // namespace

const std::array<CDataLoggerView::SSource, 9> CDataLoggerView::kSources{{
    {"Position", 0x01440001, 0},
    {"Command", 0x04080002, 1},
    {"Deviation", 0x015D0001, 2},
    {"Supply Pressure", 0x01530001, 3},
    {"C+ Pressure", 0x01530002, 4},
    {"C- Pressure", 0x01530003, 5},
    {"Temperature", 0x01110002, 6},
    {"Friction", 0x015E0001, 7},
    {"Torque", 0, -1},
}};

CDataLoggerView::CDataLoggerView(const SViewContext& context)
    : CDeviceView(context, EHeader::WithNavigation) {}

CDataLoggerView::~CDataLoggerView() = default;

QCheckBox* CDataLoggerView::Box(const char* label) const {
    for (std::size_t i = 0; i < kSources.size(); ++i) {
        if (QString::fromUtf8(kSources[i].box) == QString::fromUtf8(label)) {
            return m_boxes[i];
        }
    }
    return nullptr;
}

long CDataLoggerView::SampleCount() const {
    const long seconds =
        static_cast<long>(m_duration->value()) * (m_units->currentIndex() == 1 ? 3600L : 60L);
    return seconds / kIntervals[static_cast<std::size_t>(m_interval->currentIndex())];
}

QString CDataLoggerView::CheckLogFile(const PlotFile& content) {
    // A recording of this logger: its channels by number with their names.
    for (const PlotFile::Channel& channel : content.channels) {
        const SChannel& expected = kChannels[static_cast<std::size_t>(channel.number - 1)];
        if (!channel.name.isEmpty() && channel.name != QString::fromUtf8(expected.name)) {
            return QStringLiteral("channel %1 holds \"%2\", not the data logger's \"%3\"")
                .arg(channel.number)
                .arg(channel.name, QString::fromUtf8(expected.name));
        }
    }
    return {};
}

// --- content ---

std::unique_ptr<QWidget> CDataLoggerView::CreateDeviceContent() {
    auto content = std::make_unique<QWidget>();
    auto* layout = new QGridLayout(content.get());
    layout->setContentsMargins(0, 0, 0, 0);
    auto* side = new QVBoxLayout;
    side->addWidget(CreateSelection(content.get()));
    side->addWidget(CreateTimeSelection(content.get()));
    side->addStretch(1);
    layout->addLayout(side, 0, 0, 2, 1);
    m_plot = new CPlot(content.get());
    SetupPlot();
    layout->addWidget(m_plot, 0, 1);
    m_status = new QLabel(content.get());
    m_status->setObjectName(QStringLiteral("loggerStatus"));
    layout->addWidget(m_status, 1, 1);

    auto* buttons = new QHBoxLayout;
    const auto add = [&](const char* label, void (CDataLoggerView::*act)()) {
        auto* button = new QPushButton(QString::fromUtf8(label), content.get());
        buttons->addWidget(button);
        QObject::connect(button, &QPushButton::clicked, button, [this, label, act] {
            RunGuarded(label, [this, act] { (this->*act)(); });
        });
        return button;
    };
    m_start = add("Start", &CDataLoggerView::Start);
    m_stop = add("Stop", &CDataLoggerView::Stop);
    m_reset = add("Reset", &CDataLoggerView::Reset);
    buttons->addStretch(1);
    m_save = add("Save", &CDataLoggerView::Save);
    m_load = add("Load", &CDataLoggerView::Load);
    layout->addLayout(buttons, 2, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(0, 1);
    RefreshControls();
    return content;
}

QWidget* CDataLoggerView::CreateSelection(QWidget* parent) {
    auto* group = new QGroupBox(QStringLiteral("Parameter Selection"), parent);
    auto* layout = new QGridLayout(group);
    layout->setVerticalSpacing(2);
    for (std::size_t i = 0; i < kSources.size(); ++i) {
        m_boxes[i] = new QCheckBox(QString::fromUtf8(kSources[i].box), group);
        m_boxes[i]->setChecked(kSources[i].channel >= 0 && kSources[i].channel < 3);
        // Two columns, so that the time selection fits below.
        layout->addWidget(m_boxes[i], static_cast<int>(i / 2), static_cast<int>(i % 2));
    }
    const int last = static_cast<int>((kSources.size() + 1) / 2);
    m_selectAll = new QPushButton(QStringLiteral("Select All"), group);
    m_unselectAll = new QPushButton(QStringLiteral("Unselect All"), group);
    layout->addWidget(m_selectAll, last, 0);
    layout->addWidget(m_unselectAll, last, 1);
    const auto checkAll = [this](bool on) {
        for (QCheckBox* box : m_boxes) {
            box->setChecked(on);
        }
    };
    QObject::connect(m_selectAll, &QPushButton::clicked, group, [checkAll] { checkAll(true); });
    QObject::connect(m_unselectAll, &QPushButton::clicked, group, [checkAll] { checkAll(false); });
    return group;
}

QWidget* CDataLoggerView::CreateTimeSelection(QWidget* parent) {
    auto* group = new QGroupBox(QStringLiteral("DAQ Time Selection"), parent);
    auto* form = new QFormLayout(group);
    m_interval = new QComboBox(group);
    for (const int seconds : kIntervals) {
        m_interval->addItem(QString::number(seconds));
    }
    auto* interval = new QHBoxLayout;
    interval->addWidget(m_interval);
    interval->addWidget(new QLabel(QStringLiteral("sec."), group));
    interval->addStretch(1);
    form->addRow(QStringLiteral("Sampling Interval:"), interval);
    m_duration = new QSpinBox(group);
    m_duration->setRange(1, kMaxMinutes);
    m_duration->setValue(10);
    form->addRow(QStringLiteral("Duration:"), m_duration);
    m_units = new QComboBox(group);
    m_units->addItems({QStringLiteral("minutes"), QStringLiteral("hours")});
    form->addRow(QStringLiteral("Units:"), m_units);
    // At most a day, in either unit.
    QObject::connect(m_units, &QComboBox::currentIndexChanged, group, [this](int units) {
        m_duration->setMaximum(units == 1 ? kMaxHours : kMaxMinutes);
    });
    return group;
}

void CDataLoggerView::SetupPlot() {
    m_plot->setTitle(QStringLiteral("Data Logger"));
    m_plot->setXAxisTitle(QStringLiteral("Time [s]"));
    m_plot->setYAxisTitle(QStringLiteral("Position [%]"), 0);
    m_plot->setYAxisTitle(QStringLiteral("Pressure [%1]").arg(QString::fromUtf8(kPressureUnit)), 1);
    m_plot->setYAxisTitle(
        QStringLiteral("Temperature [%1]").arg(QString::fromUtf8(kTemperatureUnit)), 2);
    m_plot->setYAxisSpan(-10.0, 110.0, 0);
    m_plot->setYAxisSpan(0.0, 10.0, 1);
    m_plot->setYAxisSpan(0.0, 60.0, 2);
    for (std::size_t i = 0; i < kChannels.size(); ++i) {
        const int channel = static_cast<int>(i);
        m_plot->setChannelName(channel, QString::fromUtf8(kChannels[i].name));
        m_plot->setChannelYAxis(channel, kChannels[i].axis);
    }
}

// --- logging ---

void CDataLoggerView::Start() {
    m_counter = 0;
    m_samples = SampleCount();
    m_intervalS = kIntervals[static_cast<std::size_t>(m_interval->currentIndex())];
    m_latest.fill(std::nullopt);
    m_plot->clearAll();
    m_plot->setXAxisSpan(0.0, static_cast<double>(m_samples) * m_intervalS);
    m_logging = true;
    RefreshControls();
    // The first sample at once, then one every interval.
    StartViewOneShot(kFirstSampleTimer, 0, [this] {
        m_started = m_clock();
        Sample();
        if (m_logging) {
            StartViewTimer(kSampleTimer, m_intervalS * 1000, [this] { Sample(); });
        }
    });
}

void CDataLoggerView::Sample() {
    if (m_pointDue) {
        AddPoints(); // the last replies of the previous snapshot never came
    }
    ++m_counter;
    if (m_counter > m_samples) {
        m_counter = m_samples;
        Stop();
        return;
    }
    Device().Write(device_keys::kFrameType, std::to_string(kSnapshotCommand));
    m_repliesIn = false;
    for (const std::uint32_t key : kReads) {
        Device().RequestRead(key);
    }
    // The point after 100 ms, but not before the reply to the last read: the bus answers the
    // seven reads one after the other, and a point taken earlier would mix this snapshot's
    // first values with the last snapshot's others.
    StartViewOneShot(kPointTimer, kPointDelayMs, [this] {
        if (m_repliesIn) {
            AddPoints();
        } else {
            m_pointDue = true;
        }
    });
}

void CDataLoggerView::AddPoints() {
    m_pointDue = false;
    const double x = static_cast<double>(m_counter) * m_intervalS;
    for (std::size_t i = 0; i < kSources.size(); ++i) {
        const int channel = kSources[i].channel;
        if (channel < 0 || !m_boxes[i]->isChecked()) {
            continue;
        }
        if (const std::optional<double> value = m_latest[static_cast<std::size_t>(channel)]) {
            m_plot->addPoint(channel, x, *value);
        }
    }
    ShowLoggerStatus(QString::asprintf("DataLogger: Sample No: %ld", m_counter));
}

void CDataLoggerView::Stop() {
    // A point still to come is dropped.
    StopViewTimer(kFirstSampleTimer);
    StopViewTimer(kSampleTimer);
    StopViewTimer(kPointTimer);
    m_pointDue = false;
    m_logging = false;
    RefreshControls();
}

void CDataLoggerView::Reset() {
    Stop();
    m_counter = 0;
    m_plot->clearAll();
    m_plot->redraw();
    ShowLoggerStatus({});
}

void CDataLoggerView::OnDeviceDeactivated() {
    // The view's timers have stopped: so has the logging.
    m_logging = false;
    m_pointDue = false;
    RefreshControls();
}

void CDataLoggerView::OnParameter(std::uint32_t key) {
    if (key == kReads.back() && m_logging) {
        m_repliesIn = true;
        if (m_pointDue) {
            AddPoints();
        }
        return;
    }
    for (const SSource& source : kSources) {
        if (source.channel >= 0 && source.key == key) {
            if (const std::optional<std::string> value =
                    Device().Fetch<CNumericParameterDescriptor>(key)) {
                m_latest[static_cast<std::size_t>(source.channel)] =
                    CConversions::to_double(*value);
            }
            return;
        }
    }
}

// --- files ---

void CDataLoggerView::Save() {
    const std::optional<std::string> path =
        ::AskFile(GetController(), Device(), GetWindow(), kSaveQuestion, true);
    if (!path) {
        return;
    }
    QString error;
    if (!m_plot->saveData(QString::fromStdString(*path), &error)) {
        throw std::runtime_error(error.toStdString());
    }
}

void CDataLoggerView::Load() {
    const std::optional<std::string> path =
        ::AskFile(GetController(), Device(), GetWindow(), kOpenQuestion, false);
    if (!path) {
        return;
    }
    // Another recording, or a file cut short, leaves the plot as it was.
    QString error;
    if (!m_plot->loadData(QString::fromStdString(*path), &error, &CheckLogFile)) {
        throw std::runtime_error(error.toStdString());
    }
}

void CDataLoggerView::RefreshControls() {
    const IUIController* controller = GetController();
    const bool edit = controller == nullptr || controller->IsEditingAllowed();
    m_start->setEnabled(!m_logging && edit);
    m_stop->setEnabled(m_logging);
    m_reset->setEnabled(!m_logging);
    m_save->setEnabled(!m_logging);
    m_load->setEnabled(!m_logging);
    for (QWidget* control : std::initializer_list<QWidget*>{m_interval, m_duration, m_units,
                                                            m_selectAll, m_unselectAll}) {
        control->setEnabled(!m_logging);
    }
    for (QCheckBox* box : m_boxes) {
        box->setEnabled(!m_logging);
    }
}

void CDataLoggerView::ShowLoggerStatus(const QString& text) {
    m_status->setText(text);
}
