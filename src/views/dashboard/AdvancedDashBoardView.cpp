#include "views/dashboard/AdvancedDashBoardView.h"

#include "model/AlarmInformation.h"
#include "model/Conversions.h"
#include "model/DeviceState.h"
#include "model/EnumParameterDescriptor.h"
#include "model/NumericParameterDescriptor.h"
#include "views/alarms/SymptomGroups.h"
#include "views/common/DeviceKeys.h"
#include "views/common/ServiceModeSwitch.h"
#include "views/components/AnalogDisplay.h"
#include "views/components/Led.h"
#include "views/components/LinearGauge.h"
#include "views/components/Thermometer.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr std::uint32_t kActiveBits = 0x01590005; // and 0x01590006
constexpr std::uint32_t kDiagnosticConfig = 0x017A0000;
constexpr std::uint32_t kModeTarget = 0x01050001;
constexpr std::uint32_t kModeActual = 0x01050002;
constexpr int kBitsPerElement = 32;
constexpr std::size_t kConfigValues = 3;
constexpr int kFirstAlarmCategory = 2; // "Check Function" and "Failure" are alarms
constexpr std::array<const char*, 4> kAreaNames{"Valve:", "Actuator:", "Positioner:", "Control:"};
constexpr std::array<const char*, 3> kHealthNames{"No Alarm", "Warning", "Alarm"};
constexpr std::array<quint32, 3> kHealthColours{0x0000C000, 0x0000B0E0, 0x000000D0};
constexpr std::array<const char*, 3> kModeNames{"Automatic Mode", "Local Override Mode",
                                                "DTM Mode"};

struct SGauge {
    const char* name;
    std::uint32_t key;
    double minimum;
    double maximum;
    const char* unit;
};
constexpr std::array<SGauge, 8> kGauges{{
    {"Position", 0x01440001, 0.0, 100.0, "%"},
    {"Setpoint", 0x04080002, 0.0, 100.0, "%"},
    {"Deviation", 0x015D0001, -100.0, 100.0, "%"},
    {"Supply Pressure", 0x01530001, 0.0, 10.0, "bar"},
    {"C+ Pressure", 0x01530002, 0.0, 10.0, "bar"},
    {"C- Pressure", 0x01530003, 0.0, 10.0, "bar"},
    {"Balance Pressure", 0x01530004, -10.0, 10.0, "bar"},
    {"Temperature", 0x01110002, -40.0, 85.0, "°C"},
}};

} // namespace

CAdvancedDashBoardView::CAdvancedDashBoardView(const SViewContext& context,
                                               std::function<bool(int viewId)> viewExists)
    : CDeviceView(context, EHeader::WithoutNavigation),
      m_alarms(context.diagnosticAlarmInformation), m_viewExists(std::move(viewExists)) {}

CAdvancedDashBoardView::~CAdvancedDashBoardView() = default;

const std::vector<std::uint32_t>& CAdvancedDashBoardView::UpdateOrder() {
    static const std::vector<std::uint32_t> keys{
        0x01680000, 0x01670000, 0x01530001, 0x015B0004, 0x01530002, 0x01530003, 0x01440001,
        0x01440002, 0x01530004, 0x04080002, 0x015D0001, 0x015D0002, 0x01110002, 0x012E0000,
        0x01050002, 0x01050001, 0x015C0000, 0x01660000, 0x01220000, 0x01290000, 0x015B0002};
    return keys;
}

std::optional<CAdvancedDashBoardView::EArea> CAdvancedDashBoardView::AreaOf(int group) {
    switch (group) {
    case 3:
    case 9:
    case 10:
    case 11:
        return Valve;
    case 5:
    case 7:
    case 8:
        return Actuator;
    case 1:
    case 2:
    case 4:
    case 13:
        return Positioner;
    case 6:
    case 12:
    case 14:
        return Control;
    default:
        return std::nullopt;
    }
}

CIndicator* CAdvancedDashBoardView::Indicator(const char* name) const {
    for (std::size_t i = 0; i < kGauges.size(); ++i) {
        if (QString::fromUtf8(kGauges[i].name) == QString::fromUtf8(name)) {
            return m_indicators[i].second;
        }
    }
    return nullptr;
}

// --- content ---

std::unique_ptr<QWidget> CAdvancedDashBoardView::CreateDeviceContent() {
    auto content = std::make_unique<QWidget>();
    auto* layout = new QGridLayout(content.get());
    layout->setContentsMargins(0, 0, 0, 0);
    auto* buttons = new QGridLayout;
    m_buttons = AddViewButtons(
        *buttons, content.get(),
        {{1200, "Alarms"}, {1300, "Diagnostics"}, {1400, "Calibration"}, {1500, "Configuration"}},
        4, m_viewExists, [this](int viewId) { ShowOtherView(viewId); });
    layout->addLayout(buttons, 0, 0, 1, 3);
    // Two rows: the measurements (position, pressures, temperature) above; the deviation
    // and setpoint mode, the health and the service status below.
    CreateMeasurements(content.get(), *layout);
    auto* service = CreateServiceStatus(content.get(), &m_switch, true);
    auto* modes = new QFormLayout;
    m_targetMode = new QLineEdit(service);
    m_actualMode = new QLineEdit(service);
    for (QLineEdit* box : {m_targetMode, m_actualMode}) {
        box->setReadOnly(true);
        box->setFocusPolicy(Qt::NoFocus);
    }
    modes->addRow(QStringLiteral("Target Mode:"), m_targetMode);
    modes->addRow(QStringLiteral("Actual Mode:"), m_actualMode);
    static_cast<QVBoxLayout*>(service->layout())->insertLayout(0, modes);
    layout->addWidget(CreateHealth(content.get()), 2, 1, Qt::AlignTop);
    layout->addWidget(service, 2, 2, Qt::AlignTop);
    layout->setColumnStretch(0, 2);
    layout->setColumnStretch(1, 3);
    layout->setColumnStretch(2, 2);
    layout->setRowStretch(3, 1);
    return content;
}

void CAdvancedDashBoardView::CreateMeasurements(QWidget* parent, QGridLayout& layout) {
    const auto group = [parent](const char* title) {
        return new QGroupBox(QString::fromUtf8(title), parent);
    };
    auto* position = group("Position");
    auto* deviation = group("Deviation");
    auto* pressures = group("Pressures");
    auto* temperature = group("Temperature");
    auto* positionLayout = new QVBoxLayout(position);
    positionLayout->setSpacing(2);
    auto* deviationLayout = new QVBoxLayout(deviation);
    auto* temperatureLayout = new QVBoxLayout(temperature);
    // The pressures two by two, each gauge under its name.
    auto* pressureGrid = new QGridLayout(pressures);
    int pressure = 0;
    for (const SGauge& gauge : kGauges) {
        const std::string name = gauge.name;
        CIndicator* indicator = nullptr;
        if (name == "Deviation") {
            indicator = new CAnalogDisplay(deviation);
            deviationLayout->addWidget(indicator);
        } else if (name == "Temperature") {
            indicator = new CThermometer(temperature);
            indicator->setFixedHeight(140);
            temperatureLayout->addWidget(indicator);
        } else if (name == "Position" || name == "Setpoint") {
            indicator = new CLinearGauge(position);
            positionLayout->addWidget(new QLabel(QString::fromUtf8(gauge.name), position));
            positionLayout->addWidget(indicator);
        } else {
            indicator = new CLinearGauge(pressures);
            auto* pair = new QVBoxLayout;
            pair->setSpacing(0);
            pair->addWidget(new QLabel(QString::fromUtf8(gauge.name), pressures));
            pair->addWidget(indicator);
            pressureGrid->addLayout(pair, pressure / 2, pressure % 2);
            ++pressure;
        }
        indicator->setRange(gauge.minimum, gauge.maximum);
        indicator->setUnit(QString::fromUtf8(gauge.unit));
        indicator->setDecimals(2);
        indicator->setAccessibleName(QString::fromUtf8(gauge.name));
        m_indicators.emplace_back(gauge.key, indicator);
    }
    // The measurements as high as they need, the rest of the page below them.
    for (QGroupBox* box : {position, pressures, temperature}) {
        box->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    }
    layout.addWidget(position, 1, 0);
    layout.addWidget(pressures, 1, 1);
    layout.addWidget(temperature, 1, 2);
    auto* left = new QVBoxLayout;
    left->addWidget(deviation);
    left->addWidget(CreateSetpointMode(parent));
    left->addStretch(1);
    layout.addLayout(left, 2, 0);
}

QWidget* CAdvancedDashBoardView::CreateHealth(QWidget* parent) {
    auto* box = new QGroupBox(QStringLiteral("Health Status"), parent);
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(4);
    for (std::size_t column = 0; column < kHealthNames.size(); ++column) {
        // Narrow columns: a heading may wrap.
        auto* heading = new QLabel(QString::fromUtf8(kHealthNames[column]), box);
        heading->setWordWrap(true);
        heading->setAlignment(Qt::AlignCenter);
        heading->setFixedWidth(46);
        grid->addWidget(heading, 0, static_cast<int>(column) + 1, Qt::AlignHCenter);
    }
    for (std::size_t area = 0; area < kAreaNames.size(); ++area) {
        const int row = static_cast<int>(area) + 1;
        grid->addWidget(new QLabel(QString::fromUtf8(kAreaNames[area]), box), row, 0);
        for (std::size_t column = 0; column < kHealthNames.size(); ++column) {
            auto* led = new CRoundLed(box);
            led->setActiveColor(kHealthColours[column]);
            m_healthLeds[area][column] = led;
            grid->addWidget(led, row, static_cast<int>(column) + 1, Qt::AlignHCenter);
        }
        auto* info = new QPushButton(QStringLiteral("Info"), box);
        info->setMaximumWidth(42);
        info->setAccessibleName(QString::fromUtf8(kAreaNames[area]) + QStringLiteral(" Info"));
        grid->addWidget(info, row, 4);
        const auto which = static_cast<EArea>(area);
        QObject::connect(info, &QPushButton::clicked, info, [this, which] {
            RunGuarded("Info",
                       [this, which] { Device().ShowMessage(HealthText(which), kHealthDialog); });
        });
    }
    ShowHealth();
    return box;
}

QWidget* CAdvancedDashBoardView::CreateSetpointMode(QWidget* parent) {
    auto* box = new QGroupBox(QStringLiteral("Setpoint Mode"), parent);
    auto* layout = new QVBoxLayout(box);
    layout->setSpacing(0);
    // Shown in the order of the dialog: DTM, local override, automatic.
    for (const int mode : {2, 1, 0}) {
        auto* button = new QRadioButton(QString::fromUtf8(kModeNames[mode]), box);
        m_modes[static_cast<std::size_t>(mode)] = button;
        layout->addWidget(button);
        QObject::connect(button, &QRadioButton::clicked, button, [this, mode] {
            RunGuarded("Setpoint Mode", [this, mode] { ChooseMode(mode); });
        });
    }
    m_currentMode = new QLabel(QStringLiteral("Current:"), box);
    layout->addWidget(m_currentMode);
    return box;
}

// --- polling ---

void CAdvancedDashBoardView::OnDeviceActivated() {
    StartPolls();
    SlowPoll();
    FastPoll();
}

void CAdvancedDashBoardView::OnPollingPaused(bool paused) {
    if (paused) {
        StopPolls();
    } else {
        StartPolls();
    }
}

void CAdvancedDashBoardView::StartPolls() {
    StartViewTimer(kSlowTimer, kSlowPollMs, [this] { SlowPoll(); });
    StartViewTimer(kFastTimer, kFastPollMs, [this] { FastPoll(); });
}

void CAdvancedDashBoardView::StopPolls() {
    StopViewTimer(kSlowTimer);
    StopViewTimer(kFastTimer);
}

bool CAdvancedDashBoardView::IsPolling() const {
    return IsViewTimerRunning(kSlowTimer) && IsViewTimerRunning(kFastTimer);
}

void CAdvancedDashBoardView::SlowPoll() {
    for (const std::uint32_t key : {0x01050000u, 0x01220000u, 0x01290000u, 0x012E0000u, 0x015C0000u,
                                    0x01660000u, 0x01590000u, kDiagnosticConfig}) {
        Device().RequestRead(key);
    }
}

void CAdvancedDashBoardView::FastPoll() {
    // The device refreshes its live values, then they are read.
    Device().Write(device_keys::kFrameType, std::to_string(kRefreshCommand));
    for (const std::uint32_t key :
         {0x01440000u, 0x01530000u, 0x015D0000u, 0x01110002u, 0x04080002u}) {
        Device().RequestRead(key);
    }
}

void CAdvancedDashBoardView::ChooseMode(int mode) {
    for (std::size_t i = 0; i < m_modes.size(); ++i) {
        m_modes[i]->setChecked(static_cast<int>(i) == mode);
    }
    if (mode == 0) {
        Device().Execute(kLiveDataFunction, "");
    }
    Device().Write(device_keys::kFrameType,
                   std::to_string(mode == 1 ? kLocalOverrideCommand : kDtmModeCommand));
    StartViewOneShot(kModeTimer, kModeReadBackMs, [this] { Device().RequestRead(kSetpointMode); });
}

// --- updates ---

void CAdvancedDashBoardView::OnParameter(std::uint32_t key) {
    const std::vector<std::uint32_t>& order = UpdateOrder();
    const auto rule = std::find(order.begin(), order.end(), key);
    if (rule != order.end()) {
        m_lastRule = static_cast<int>(rule - order.begin());
        ShowValue(key);
        return;
    }
    m_lastRule = -1;
    ReadHealth(key);
}

void CAdvancedDashBoardView::ShowValue(std::uint32_t key) {
    for (const auto& [gaugeKey, indicator] : m_indicators) {
        if (gaugeKey == key) {
            if (const auto value = Device().Fetch<CNumericParameterDescriptor>(key)) {
                indicator->setValue(CConversions::to_double(*value));
            }
            return;
        }
    }
    if (key == kSetpointMode) {
        if (const auto value = Device().Fetch<CEnumParameterDescriptor>(key)) {
            const int mode = CConversions::to_int32(*value);
            if (mode >= 0 && mode < static_cast<int>(m_modes.size())) {
                m_modes[static_cast<std::size_t>(mode)]->setChecked(true);
                m_currentMode->setText(
                    QStringLiteral("Current: ") +
                    QString::fromUtf8(kModeNames[static_cast<std::size_t>(mode)]));
            }
        }
    } else if (key == kModeTarget || key == kModeActual) {
        const auto value = Device().Fetch<CEnumParameterDescriptor>(key);
        const auto choices = Device().FetchChoices(key);
        if (value && choices) {
            for (const auto& [tag, caption] : *choices) {
                if (std::to_string(tag) == *value) {
                    (key == kModeTarget ? m_targetMode : m_actualMode)
                        ->setText(QString::fromStdString(caption));
                }
            }
        }
    } else if (key == device_keys::kServiceMode) {
        m_switch->OnModeChanged();
    }
}

void CAdvancedDashBoardView::ReadHealth(std::uint32_t key) {
    if (key == kActiveBits || key == kActiveBits + 1) {
        if (const auto value = Device().Fetch<CNumericParameterDescriptor>(key)) {
            m_activeBits[key - kActiveBits] = CConversions::to_uint32(*value);
            ShowHealth();
        }
    } else if (key == kDiagnosticConfig) {
        if (const auto values = Device().FetchArray(key)) {
            m_categories.clear();
            for (std::size_t i = 1; i < values->size(); i += kConfigValues) {
                m_categories.push_back(CConversions::to_int32((*values)[i]));
            }
            ShowHealth();
        }
    }
}

std::vector<CAdvancedDashBoardView::SAlarm> CAdvancedDashBoardView::ActiveAlarms(EArea area) const {
    std::vector<SAlarm> active;
    if (!m_alarms) {
        return active;
    }
    std::size_t index = 0;
    for (const auto& [id, text] : m_alarms->GetTexts()) {
        const bool on = index < 2 * kBitsPerElement &&
                        ((m_activeBits[index / kBitsPerElement] >> (index % kBitsPerElement)) & 1u);
        const std::optional<int> group = symptom_groups::GroupOf(id);
        if (on && group && AreaOf(*group) == area) {
            const int category = index < m_categories.size() ? m_categories[index] : 1;
            active.push_back({id, category});
        }
        ++index;
    }
    return active;
}

CAdvancedDashBoardView::EHealth CAdvancedDashBoardView::Health(EArea area) const {
    EHealth worst = NoAlarm;
    for (const SAlarm& alarm : ActiveAlarms(area)) {
        worst = std::max(worst, alarm.category >= kFirstAlarmCategory ? Alarm : Warning);
    }
    return worst;
}

std::string CAdvancedDashBoardView::HealthText(EArea area) const {
    std::string text = "Cause of Malfunction:";
    const std::vector<SAlarm> active = ActiveAlarms(area);
    if (active.empty()) {
        return text + "\nnone";
    }
    for (const SAlarm& alarm : active) {
        const SAlarmText* entry = m_alarms ? m_alarms->Find(alarm.id) : nullptr;
        text += "\n" + (entry ? entry->shortDescription + ": " + entry->consequences
                              : "Alarm " + std::to_string(alarm.id));
    }
    return text;
}

void CAdvancedDashBoardView::ShowHealth() {
    for (std::size_t area = 0; area < m_healthLeds.size(); ++area) {
        const EHealth health = Health(static_cast<EArea>(area));
        for (std::size_t column = 0; column < kHealthNames.size(); ++column) {
            m_healthLeds[area][column]->setActive(static_cast<EHealth>(column) == health);
        }
    }
}
