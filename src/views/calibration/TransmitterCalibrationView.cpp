#include "views/calibration/TransmitterCalibrationView.h"

#include "model/Conversions.h"
#include "model/EnumParameterDescriptor.h"
#include "model/NumericParameterDescriptor.h"
#include "ui/UIController.h"
#include "views/common/VelaFFUIServices.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <utility>

namespace {

constexpr const char* kName = "Transmitter";
constexpr int kHubViewId = 1400;

} // namespace

CTransmitterCalibrationView::CTransmitterCalibrationView(const SViewContext& context)
    : CDeviceView(context, EHeader::WithNavigation) {}

QString CTransmitterCalibrationView::Status() const {
    return m_status->text();
}

std::unique_ptr<QWidget> CTransmitterCalibrationView::CreateDeviceContent() {
    auto content = std::make_unique<QWidget>();
    auto* layout = new QGridLayout(content.get());
    layout->setContentsMargins(0, 0, 0, 0);
    auto* calibration = new QGroupBox(QStringLiteral("TRANSMITTER CALIBRATION"), content.get());
    auto* grid = new QGridLayout(calibration);
    auto* procedure = new QLabel(QString::fromUtf8(kProcedure), calibration);
    grid->addWidget(procedure, 0, 0, 1, 4);
    m_online = new QRadioButton(QStringLiteral("Online"), calibration);
    m_offline = new QRadioButton(QStringLiteral("Offline"), calibration);
    m_online->setChecked(true);
    grid->addWidget(m_online, 1, 0);
    grid->addWidget(m_offline, 1, 1);
    m_lower = new QRadioButton(QStringLiteral("Lower Transmitter Value"), calibration);
    m_upper = new QRadioButton(QStringLiteral("Upper Transmitter Value"), calibration);
    m_lower->setChecked(true);
    // Two choices side by side in one group box: each pair excludes only its partner.
    for (const auto& [first, second] :
         {std::pair{m_online, m_offline}, std::pair{m_lower, m_upper}}) {
        auto* pair = new QButtonGroup(calibration);
        pair->addButton(first);
        pair->addButton(second);
    }
    m_lowerValue = new QLineEdit(QStringLiteral("4.0"), calibration);
    m_upperValue = new QLineEdit(QStringLiteral("20.0"), calibration);
    m_lowerValue->setAccessibleName(QStringLiteral("Lower Transmitter Value"));
    m_upperValue->setAccessibleName(QStringLiteral("Upper Transmitter Value"));
    m_lowerIcon = new QLabel(calibration);
    m_upperIcon = new QLabel(calibration);
    m_lowerIcon->setFixedSize(18, 18);
    m_upperIcon->setFixedSize(18, 18);
    grid->addWidget(m_lower, 2, 0);
    grid->addWidget(m_lowerValue, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("mA"), calibration), 2, 2);
    grid->addWidget(m_lowerIcon, 2, 3);
    grid->addWidget(m_upper, 3, 0);
    grid->addWidget(m_upperValue, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("mA"), calibration), 3, 2);
    grid->addWidget(m_upperIcon, 3, 3);
    auto* reset = new QPushButton(QStringLiteral("Reset"), calibration);
    grid->addWidget(reset, 4, 0);
    auto* tuning = new QGroupBox(QStringLiteral("Tuning"), calibration);
    auto* tuningLayout = new QHBoxLayout(tuning);
    auto* up = new QPushButton(QStringLiteral("UP"), tuning);
    auto* down = new QPushButton(QStringLiteral("DOWN"), tuning);
    tuningLayout->addWidget(up);
    tuningLayout->addWidget(down);
    grid->addWidget(tuning, 4, 1, 1, 3);
    layout->addWidget(calibration, 0, 0);

    auto* parameters = new QGroupBox(QStringLiteral("Set Transmitter Parameters"), content.get());
    auto* form = new QFormLayout(parameters);
    m_variable = new QComboBox(parameters);
    m_variable->addItems({QStringLiteral("Position"), QStringLiteral("Setpoint")});
    m_direction = new QComboBox(parameters);
    m_direction->addItems({QStringLiteral("Normal"), QStringLiteral("Reverse")});
    form->addRow(QStringLiteral("Variable"), m_variable);
    form->addRow(QStringLiteral("Direction"), m_direction);
    layout->addWidget(parameters, 0, 1, Qt::AlignTop);

    auto* buttons = new QHBoxLayout;
    auto* calibrate = new QPushButton(QStringLiteral("Calibrate"), content.get());
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), content.get());
    auto* ok = new QPushButton(QStringLiteral("OK"), content.get());
    for (QPushButton* button : {calibrate, cancel, ok}) {
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    layout->addLayout(buttons, 1, 0, 1, 2);
    m_status = new QLabel(content.get());
    m_status->setObjectName(QStringLiteral("calibrationStatus"));
    layout->addWidget(m_status, 2, 0, 1, 2);
    layout->setRowStretch(3, 1);

    m_step = std::make_unique<CCalibrationStep>(
        Device(), State(), [this](CCalibrationStep::EResult result, int) { OnResult(result); });
    const auto on = [this](QAbstractButton* button, const char* where, auto act) {
        QObject::connect(button, &QAbstractButton::clicked, button,
                         [this, where, act] { RunGuarded(where, act); });
    };
    on(reset, "Reset", [this] { Run(kReset); });
    on(up, "UP", [this] { Tune(true); });
    on(down, "DOWN", [this] { Tune(false); });
    on(calibrate, "Calibrate", [this] { Calibrate(); });
    on(cancel, "Cancel", [this] {
        if (m_step->IsRunning()) {
            m_step->Abort();
        }
    });
    on(ok, "OK", [this] {
        if (GetController()) {
            GetController()->ShowView(kHubViewId);
        }
    });
    on(m_online, "Online", [this] { Run(kOnline, 1.0); });
    on(m_offline, "Offline", [this] { Run(kOnline, 0.0); });
    QObject::connect(m_variable, &QComboBox::activated, m_variable, [this](int index) {
        RunGuarded("Variable",
                   [this, index] { Device().Write(kVariableKey, std::to_string(index)); });
    });
    QObject::connect(m_direction, &QComboBox::activated, m_direction, [this](int index) {
        RunGuarded("Direction",
                   [this, index] { Device().Write(kDirectionKey, std::to_string(index)); });
    });
    return content;
}

void CTransmitterCalibrationView::OnDeviceActivated() {
    Device().RequestRead(kRecord);
}

void CTransmitterCalibrationView::OnDeviceDeactivated() {
    m_step->Leave();
}

void CTransmitterCalibrationView::OnParameter(std::uint32_t key) {
    if (m_step->OnParameter(key)) {
        return;
    }
    if (key == kLowerKey || key == kUpperKey) {
        if (const auto value = Device().Fetch<CNumericParameterDescriptor>(key)) {
            Value(key == kUpperKey)->setText(QString::fromStdString(*value));
        }
    } else if (key == kVariableKey || key == kDirectionKey) {
        if (const auto value = Device().Fetch<CEnumParameterDescriptor>(key)) {
            QComboBox* combo = key == kVariableKey ? m_variable : m_direction;
            const QSignalBlocker block(combo);
            combo->setCurrentIndex(QString::fromStdString(*value).toInt());
        }
    } else if (key == kOnlineKey) {
        if (const auto value = Device().Fetch<CNumericParameterDescriptor>(key)) {
            (*value == "0" ? m_offline : m_online)->setChecked(true);
        }
    }
}

void CTransmitterCalibrationView::ChooseUpper(bool upper) {
    (upper ? m_upper : m_lower)->setChecked(true);
}

bool CTransmitterCalibrationView::IsUpper() const {
    return m_upper->isChecked();
}

void CTransmitterCalibrationView::Run(std::int32_t command, std::optional<double> value) {
    if (m_step->IsRunning()) {
        return;
    }
    m_step->Start(command, value);
    m_status->setText(QString::fromUtf8(kName) + QStringLiteral(" calibration is launched..."));
}

void CTransmitterCalibrationView::Tune(bool up) {
    Run(IsUpper() ? (up ? kUpperUp : kUpperDown) : (up ? kLowerUp : kLowerDown));
}

void CTransmitterCalibrationView::Calibrate() {
    // The entered value within the range the device gives for that point.
    const bool upper = IsUpper();
    const SNumericRange range = DeviceRange(Device(), upper ? kUpperKey : kLowerKey);
    QLineEdit& field = *Value(upper);
    if (!CVelaFFUIServices().CheckNumericRange(*this, field, upper ? *m_upperIcon : *m_lowerIcon,
                                               range)) {
        m_status->setText(QStringLiteral("Numeric Range shall be between %1 and %2")
                              .arg(range.minimum)
                              .arg(range.maximum));
        return;
    }
    Run(upper ? kCalibrateUpper : kCalibrateLower,
        CConversions::to_double(field.text().trimmed().toStdString()));
}

void CTransmitterCalibrationView::OnResult(CCalibrationStep::EResult result) {
    const std::string text = result == CCalibrationStep::EResult::Aborted
                                 ? "Calibration aborted by the user"
                                 : CCalibrationStep::ResultText(kName, result);
    m_status->setText(QString::fromStdString(text));
    // The tuned values as the device holds them now.
    if (result == CCalibrationStep::EResult::Finished) {
        Device().RequestRead(kRecord);
    }
}
