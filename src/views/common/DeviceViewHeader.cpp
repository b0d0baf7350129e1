#include "views/common/DeviceViewHeader.h"

#include "model/Conversions.h"
#include "model/DeviceState.h"
#include "model/EnumParameterDescriptor.h"
#include "model/NumericParameterDescriptor.h"
#include "ui/Guard.h"
#include "ui/UIController.h"
#include "views/common/DeviceAccess.h"
#include "views/common/DeviceKeys.h"
#include "views/common/VelaFFUIServices.h"
#include "views/components/Led.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <array>
#include <stdexcept>
#include <utility>

namespace {

// A number the device sent as text, or nothing when the text is no number or out of range:
// the box then keeps what it showed.
template <class Parse> auto ParseOrNothing(const std::string& text, Parse parse) {
    using Result = decltype(parse(text));
    try {
        return std::optional<Result>(parse(text));
    } catch (const std::invalid_argument&) {
        return std::optional<Result>();
    } catch (const std::runtime_error&) {
        return std::optional<Result>();
    }
}

} // namespace

const CDeviceViewHeader::SRule CDeviceViewHeader::kRules[] = {
    {device_keys::kActiveAlarmCount, false, &CDeviceViewHeader::ShowAlarmCount},
    {device_keys::kCurrentAlarm, false, &CDeviceViewHeader::ShowCurrentAlarm},
    {device_keys::kServiceMode, true, &CDeviceViewHeader::ShowMode},
    {device_keys::kSetpointMode, true, &CDeviceViewHeader::ShowSetpointMode},
    {device_keys::kProcedureState, true, &CDeviceViewHeader::ShowProcedureState},
};

CDeviceViewHeader::CDeviceViewHeader(ENavigation navigation, SDeviceState& state,
                                     const CDeviceAccess& device, IUIController* controller,
                                     AlarmNames alarmNames, QWidget* parent)
    : QWidget(parent), m_state(state), m_device(device), m_controller(controller),
      m_alarmNames(std::move(alarmNames)) {
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_alarmCount = AddBox(*layout, 0, "Active Alarms:", 40);
    m_led = new CRoundLed(this);
    layout->addWidget(m_led, 1, 1);
    m_alarm = AddBox(*layout, 2, "Alarm:", 200);
    m_service = AddBox(*layout, 3, "", 48);
    m_setpointMode = AddBox(*layout, 4, "", 48);
    m_failureMode = AddBox(*layout, 5, "", 40);
    m_failureMode->setText(QStringLiteral("F M"));
    m_failureMode->hide();
    m_reserve = AddBox(*layout, 6, "", 40);
    m_reserve->hide();
    m_training = AddBox(*layout, 7, "", 40);
    m_training->hide();
    layout->setColumnStretch(8, 1);
    m_service->setText(QString::fromStdString(m_state.modeText));

    int column = 9;
    if (navigation == ENavigation::WithButtons) {
        m_back = new QPushButton(QStringLiteral("Back"), this);
        m_dashboard = new QPushButton(QStringLiteral("Dashboard"), this);
        layout->addWidget(m_back, 1, column++);
        layout->addWidget(m_dashboard, 1, column++);
        const auto show = [this](int viewId) {
            Guarded("CDeviceViewHeader: navigation", [this, viewId] {
                if (m_controller) {
                    m_controller->ShowView(viewId);
                }
            });
        };
        connect(m_back, &QPushButton::clicked, this, [show] { show(kDiagnosticsViewId); });
        connect(m_dashboard, &QPushButton::clicked, this, [show] { show(kDashboardViewId); });
    }
    m_sound = new QPushButton(this);
    layout->addWidget(m_sound, 1, column);
    CVelaFFUIServices().RefreshSoundButton(m_state, *m_sound);
    connect(m_sound, &QPushButton::clicked, this, [this] {
        Guarded("CDeviceViewHeader: sound",
                [this] { CVelaFFUIServices().ToggleSound(m_state, *m_sound); });
    });
}

QLineEdit* CDeviceViewHeader::AddBox(QGridLayout& layout, int column, const char* label,
                                     int width) {
    if (*label != '\0') {
        layout.addWidget(new QLabel(QString::fromUtf8(label), this), 0, column);
    }
    auto* box = new QLineEdit(this);
    box->setReadOnly(true);
    box->setMinimumWidth(width);
    box->setFocusPolicy(Qt::NoFocus);
    layout.addWidget(box, 1, column);
    return box;
}

void CDeviceViewHeader::RegisterToolTips(const ToolTipSink& add) const {
    struct STip {
        QWidget* widget;
        const char* key;
        const char* fallback;
    };
    const std::array<STip, 10> tips{{
        {m_alarmCount, "TT_COM_ED_ACTALAR", "Number of active alarms"},
        {m_alarm, "TT_COM_ED_ALARM", "The most recent active alarm"},
        {m_service, "TT_COM_ED_SERVSTATUS", "SRV: in service, OOS: out of service"},
        {m_setpointMode, "TT_COM_ED_STPTMODE", "Setpoint mode: AUTO, LO (local) or DTM"},
        {m_failureMode, "TT_COM_ED_FAILMOD", "The device is in failure mode"},
        {m_reserve, "TT_COM_ED_RESERVE", ""},
        {m_training, "TT_COM_ED_TRAINING", ""},
        {m_back, "TT_COM_BN_DIAGNOSTICS", "Back to Diagnostics"},
        {m_dashboard, "TT_COM_BN_DASHBOARD", "Show the dashboard"},
        {m_sound, "TT_COM_BN_SOUND", "Switch the alarm beep on or off"},
    }};
    for (const STip& tip : tips) {
        if (tip.widget) {
            add(tip.widget, tip.key, tip.fallback);
        }
    }
}

void CDeviceViewHeader::ShowAll() {
    for (const SRule& rule : kRules) {
        ApplyParameter(rule.key);
    }
}

bool CDeviceViewHeader::ApplyParameter(std::uint32_t key) {
    const auto rule = std::find_if(std::begin(kRules), std::end(kRules),
                                   [key](const SRule& candidate) { return candidate.key == key; });
    if (rule == std::end(kRules)) {
        return false;
    }
    // A key the DTM does not describe with the expected kind yields nothing: the box stays.
    const std::optional<std::string> value = rule->enumeration
                                                 ? m_device.Fetch<CEnumParameterDescriptor>(key)
                                                 : m_device.Fetch<CNumericParameterDescriptor>(key);
    if (value) {
        (this->*rule->show)(*value);
    }
    return true;
}

void CDeviceViewHeader::ShowAlarmCount(const std::string& value) {
    const auto count =
        ParseOrNothing(value, [](const std::string& text) { return CConversions::to_int32(text); });
    if (!count) {
        return;
    }
    m_state.activeAlarmCount = *count;
    m_alarmCount->setText(QString::number(*count));
    const std::uint32_t colour = *count == 0 ? kGreen : kRed;
    if (m_led->activeColor() != colour) {
        m_led->setActiveColor(colour);
    }
    m_led->setActive(true);
}

void CDeviceViewHeader::ShowCurrentAlarm(const std::string& value) {
    const auto alarm =
        ParseOrNothing(value, [](const std::string& text) { return CConversions::to_int32(text); });
    if (!alarm) {
        return;
    }
    const std::string name =
        *alarm >= 0 && m_alarmNames ? m_alarmNames(static_cast<std::uint32_t>(*alarm)) : "";
    m_alarm->setText(QString::fromStdString(name));
}

void CDeviceViewHeader::ShowMode(const std::string& value) {
    // A calibration ends with the mode back in or out of service, whichever view sees it.
    if (value == device_keys::kInService || value == device_keys::kOutOfService) {
        m_state.SetCalibrationRunning(false);
    }
    m_state.inService = value == device_keys::kInService;
    m_state.modeText = m_state.inService ? "SRV" : "OOS";
    m_service->setText(QString::fromStdString(m_state.modeText));
}

void CDeviceViewHeader::ShowSetpointMode(const std::string& value) {
    static constexpr std::array<const char*, 3> kNames{"AUTO", "LO", "DTM"};
    const auto mode = ParseOrNothing(value, [](const std::string& text) {
        return CConversions::to_uint8(CConversions::to_uint32(text));
    });
    if (mode && *mode < kNames.size()) {
        m_setpointMode->setText(QString::fromUtf8(kNames[*mode]));
    }
}

void CDeviceViewHeader::ShowProcedureState(const std::string& value) {
    const bool failureMode = value == device_keys::kFailureMode;
    m_state.failureModeFlag = failureMode ? 1 : 0;
    m_failureMode->setVisible(failureMode);
}
