#include "views/calibration/SignalCalibrationView.h"

#include "model/Conversions.h"
#include "ui/UIController.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

constexpr const char* kName = "Setpoint current";
constexpr int kHubViewId = 1400;

} // namespace

CSignalCalibrationView::CSignalCalibrationView(const SViewContext& context)
    : CDeviceView(context, EHeader::WithNavigation) {}

std::string CSignalCalibrationView::SourcePrompt(bool upper, const QString& milliampere) {
    bool number = false;
    const double value = milliampere.trimmed().toDouble(&number);
    if (number && value == (upper ? 20.0 : 4.0)) {
        return upper ? "Make sure that the current source is set to 20 mA."
                     : "Make sure that the current source is set to 4 mA.";
    }
    return "Make sure that the current source is set to " + milliampere.trimmed().toStdString() +
           " mA.";
}

QString CSignalCalibrationView::Status() const {
    return m_status->text();
}

QString CSignalCalibrationView::PromptText() const {
    return m_prompt->text();
}

std::unique_ptr<QWidget> CSignalCalibrationView::CreateDeviceContent() {
    auto content = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(content.get());
    layout->setContentsMargins(0, 0, 0, 0);
    auto* group = new QGroupBox(QStringLiteral("SETPOINT CURRENT CALIBRATION"), content.get());
    auto* grid = new QGridLayout(group);
    m_lower = new QRadioButton(QStringLiteral("Lower value:"), group);
    m_upper = new QRadioButton(QStringLiteral("Upper value:"), group);
    m_lowerValue = new QLineEdit(QString::fromUtf8(kLowerDefault), group);
    m_upperValue = new QLineEdit(QString::fromUtf8(kUpperDefault), group);
    m_lowerValue->setAccessibleName(QStringLiteral("Lower value"));
    m_upperValue->setAccessibleName(QStringLiteral("Upper value"));
    m_lower->setChecked(true);
    grid->addWidget(m_lower, 0, 0);
    grid->addWidget(m_lowerValue, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("mA"), group), 0, 2);
    grid->addWidget(m_upper, 1, 0);
    grid->addWidget(m_upperValue, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("mA"), group), 1, 2);
    grid->setColumnStretch(3, 1);
    layout->addWidget(group);
    m_prompt = new QLabel(content.get());
    m_prompt->setWordWrap(true);
    layout->addWidget(m_prompt);
    auto* buttons = new QHBoxLayout;
    auto* reset = new QPushButton(QStringLiteral("Reset"), content.get());
    m_calibrate = new QPushButton(QStringLiteral("Calibrate"), content.get());
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), content.get());
    auto* ok = new QPushButton(QStringLiteral("OK"), content.get());
    for (QPushButton* button : {reset, m_calibrate, cancel, ok}) {
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    layout->addLayout(buttons);
    m_status = new QLabel(content.get());
    m_status->setObjectName(QStringLiteral("calibrationStatus"));
    layout->addWidget(m_status);
    layout->addStretch(1);

    m_step = std::make_unique<CCalibrationStep>(
        Device(), State(), [this](CCalibrationStep::EResult result, int) { OnResult(result); });
    for (QRadioButton* radio : {m_lower, m_upper}) {
        QObject::connect(radio, &QRadioButton::toggled, group, [this] { RefreshPrompt(); });
    }
    for (QLineEdit* field : {m_lowerValue, m_upperValue}) {
        QObject::connect(field, &QLineEdit::textChanged, group, [this] { RefreshPrompt(); });
    }
    QObject::connect(reset, &QPushButton::clicked, reset,
                     [this] { RunGuarded("Reset", [this] { Reset(); }); });
    QObject::connect(m_calibrate, &QPushButton::clicked, m_calibrate,
                     [this] { RunGuarded("Calibrate", [this] { Calibrate(); }); });
    QObject::connect(cancel, &QPushButton::clicked, cancel, [this] {
        RunGuarded("Cancel", [this] {
            if (m_step->IsRunning()) {
                m_step->Abort();
            }
        });
    });
    QObject::connect(ok, &QPushButton::clicked, ok, [this] {
        RunGuarded("OK", [this] {
            if (GetController()) {
                GetController()->ShowView(kHubViewId);
            }
        });
    });
    RefreshPrompt();
    return content;
}

void CSignalCalibrationView::ChooseUpper(bool upper) {
    (upper ? m_upper : m_lower)->setChecked(true);
}

void CSignalCalibrationView::RefreshPrompt() {
    const bool upper = m_upper->isChecked();
    m_prompt->setText(QString::fromStdString(SourcePrompt(upper, Value(upper)->text())));
    m_calibrate->setEnabled(!m_step || !m_step->IsRunning());
}

void CSignalCalibrationView::Reset() {
    m_lowerValue->setText(QString::fromUtf8(kLowerDefault));
    m_upperValue->setText(QString::fromUtf8(kUpperDefault));
    m_status->clear();
}

void CSignalCalibrationView::Calibrate() {
    const bool upper = m_upper->isChecked();
    const double value = CConversions::to_double(Value(upper)->text().trimmed().toStdString());
    m_step->Start(upper ? kUpperCommand : kLowerCommand, value);
    m_prompt->setText(
        QStringLiteral("Make sure that the physical current source\nis set to the same value."));
    m_status->setText(QString::fromUtf8(kName) + QStringLiteral(" Calibration is Launched..."));
    m_calibrate->setEnabled(false);
}

void CSignalCalibrationView::OnResult(CCalibrationStep::EResult result) {
    const std::string text = result == CCalibrationStep::EResult::Aborted
                                 ? std::string(kName) + " Calibration aborted"
                                 : CCalibrationStep::ResultText(kName, result);
    m_status->setText(QString::fromStdString(text));
    m_calibrate->setEnabled(!m_step->IsRunning());
}

void CSignalCalibrationView::OnDeviceDeactivated() {
    m_step->Leave();
    RefreshPrompt();
}

void CSignalCalibrationView::OnParameter(std::uint32_t key) {
    m_step->OnParameter(key);
}
