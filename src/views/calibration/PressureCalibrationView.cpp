#include "views/calibration/PressureCalibrationView.h"

#include "model/Conversions.h"
#include "model/EnumParameterDescriptor.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

constexpr std::array<const char*, 3> kNames{"Supply Pressure", "C+ Pressure", "C- Pressure"};
constexpr std::array<const char*, 3> kPromptNames{"supply", "C+", "C-"};

} // namespace

CPressureCalibrationView::CPressureCalibrationView(const SViewContext& context)
    : CDeviceView(context, EHeader::WithNavigation) {}

std::string CPressureCalibrationView::Prompt(int sensor, bool span) {
    const std::string name = kPromptNames[static_cast<std::size_t>(sensor)];
    if (!span) {
        return "Make sure that the physical " + name + " pressure is depressurized.";
    }
    // The C- span prompt is worded so in the device's texts.
    return "Make sure that the physical " + name + " pressure is " +
           (sensor == CMinus ? "is " : "") + "same as the entered value.";
}

QString CPressureCalibrationView::Status() const {
    return m_status->text();
}

QString CPressureCalibrationView::PromptText() const {
    return m_prompt->text();
}

std::unique_ptr<QWidget> CPressureCalibrationView::CreateDeviceContent() {
    auto content = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(content.get());
    layout->setContentsMargins(0, 0, 0, 0);
    auto* groups = new QHBoxLayout;
    auto* sensors = new QGroupBox(QStringLiteral("Sensor"), content.get());
    auto* sensorLayout = new QVBoxLayout(sensors);
    for (std::size_t i = 0; i < m_sensors.size(); ++i) {
        m_sensors[i] = new QRadioButton(QString::fromUtf8(kNames[i]), sensors);
        sensorLayout->addWidget(m_sensors[i]);
    }
    m_sensors[Supply]->setChecked(true);
    groups->addWidget(sensors);
    auto* points = new QGroupBox(QStringLiteral("Calibration point"), content.get());
    auto* pointLayout = new QGridLayout(points);
    m_zero = new QRadioButton(QStringLiteral("Zero Point"), points);
    m_spanPoint = new QRadioButton(QStringLiteral("Span Point"), points);
    m_zero->setChecked(true);
    m_span = new QLineEdit(QString::fromUtf8(kSpanKpa), points);
    m_span->setAccessibleName(QStringLiteral("Span pressure"));
    m_span->setMaximumWidth(100);
    m_unit = new QLabel(QStringLiteral("kPa"), points);
    pointLayout->addWidget(m_zero, 0, 0);
    pointLayout->addWidget(m_spanPoint, 1, 0);
    pointLayout->addWidget(m_span, 1, 1);
    pointLayout->addWidget(m_unit, 1, 2);
    groups->addWidget(points);
    groups->addStretch(1);
    layout->addLayout(groups);
    m_prompt = new QLabel(content.get());
    m_prompt->setWordWrap(true);
    layout->addWidget(m_prompt);
    auto* buttons = new QHBoxLayout;
    m_calibrate = new QPushButton(QStringLiteral("Calibrate"), content.get());
    m_abort = new QPushButton(QStringLiteral("Abort"), content.get());
    buttons->addWidget(m_calibrate);
    buttons->addWidget(m_abort);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    m_status = new QLabel(content.get());
    m_status->setObjectName(QStringLiteral("calibrationStatus"));
    m_status->setWordWrap(true);
    layout->addWidget(m_status);
    layout->addStretch(1);

    m_step = std::make_unique<CCalibrationStep>(
        Device(), State(),
        [this](CCalibrationStep::EResult result, int reason) { OnResult(result, reason); });
    for (QRadioButton* radio : {m_sensors[0], m_sensors[1], m_sensors[2], m_spanPoint}) {
        QObject::connect(radio, &QRadioButton::toggled, radio, [this] { RefreshPrompt(); });
    }
    QObject::connect(m_calibrate, &QPushButton::clicked, m_calibrate,
                     [this] { RunGuarded("Calibrate", [this] { Calibrate(); }); });
    QObject::connect(m_abort, &QPushButton::clicked, m_abort,
                     [this] { RunGuarded("Abort", [this] { m_step->Abort(); }); });
    RefreshPrompt();
    return content;
}

void CPressureCalibrationView::Choose(int sensor, bool span) {
    m_sensors[static_cast<std::size_t>(sensor)]->setChecked(true);
    (span ? m_spanPoint : m_zero)->setChecked(true);
}

int CPressureCalibrationView::Sensor() const {
    for (std::size_t i = 0; i < m_sensors.size(); ++i) {
        if (m_sensors[i]->isChecked()) {
            return static_cast<int>(i);
        }
    }
    return Supply;
}

bool CPressureCalibrationView::IsSpan() const {
    return m_spanPoint->isChecked();
}

void CPressureCalibrationView::RefreshPrompt() {
    m_prompt->setText(QString::fromStdString(Prompt(Sensor(), IsSpan())));
    m_calibrate->setEnabled(!m_step || !m_step->IsRunning());
    m_abort->setEnabled(m_step && m_step->IsRunning());
}

void CPressureCalibrationView::OnDeviceActivated() {
    Device().RequestRead(kPressureUnit);
}

void CPressureCalibrationView::OnDeviceDeactivated() {
    m_step->Leave();
    RefreshPrompt();
}

void CPressureCalibrationView::OnParameter(std::uint32_t key) {
    if (m_step->OnParameter(key)) {
        return;
    }
    if (key != kPressureUnit) {
        return;
    }
    // The span preset in the unit the device calibrates in.
    const auto tag = Device().Fetch<CEnumParameterDescriptor>(key);
    const auto choices = Device().FetchChoices(key);
    if (!tag || !choices) {
        return;
    }
    for (const auto& [value, caption] : *choices) {
        if (std::to_string(value) == *tag) {
            m_unit->setText(QString::fromStdString(caption));
            m_span->setText(QString::fromUtf8(caption == "psi" ? kSpanPsi : kSpanKpa));
        }
    }
}

void CPressureCalibrationView::Calibrate() {
    m_stepSensor = Sensor();
    m_stepSpan = IsSpan();
    std::optional<double> value;
    if (m_stepSpan) {
        value = CConversions::to_double(m_span->text().trimmed().toStdString());
    }
    m_step->Start(Command(m_stepSensor, m_stepSpan), value);
    m_status->setText(QString::fromUtf8(kNames[static_cast<std::size_t>(m_stepSensor)]) +
                      QStringLiteral(" calibration is launched..."));
    RefreshPrompt();
}

void CPressureCalibrationView::OnResult(CCalibrationStep::EResult result, int reason) {
    const std::string name = kNames[static_cast<std::size_t>(m_stepSensor)];
    std::string text = CCalibrationStep::ResultText(name, result);
    if (result == CCalibrationStep::EResult::Failed) {
        if (reason == CCalibrationStep::kTooLarge) {
            text += m_stepSpan ? ". \nPhysical pressure should not be higher than 7 bars"
                               : ". \nPhysical pressure is too high for lower pressure pressure "
                                 "calibration (It should be zero)";
        } else if (reason == CCalibrationStep::kTooSmall) {
            text += ". \nEnetered pressure value should not be less than 1 bar";
        }
    }
    m_status->setText(QString::fromStdString(text));
    RefreshPrompt();
}
