#include "views/calibration/AutomaticCalibrationView.h"

#include "model/Conversions.h"
#include "model/DeviceState.h"
#include "model/EnumParameterDescriptor.h"
#include "model/NumericParameterDescriptor.h"
#include "views/common/DeviceKeys.h"
#include "views/common/ServiceModeSwitch.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <array>
#include <map>

namespace {

constexpr std::array<const char*, 4> kProcedures{"Auto Calibration", "Travel Calibration",
                                                 "Leakage Test", "Auto Tune"};
constexpr std::array<const char*, 4> kStartTexts{"AUTO CALIBRATION STARTED",
                                                 "TRAVEL CALIBRATION STARTED", "LEAK TEST STARTED",
                                                 "AUTO TUNING STARTED"};
constexpr int kLeakageDetected = 0x12;

// The texts of the states that read the same whichever procedure runs.
const std::map<int, const char*>& CommonTexts() {
    static const std::map<int, const char*> texts{
        {0x02, "NO MOVEMENT"},
        {0x03, "POTENTIOMETER FAILURE"},
        {0x06, "AIR SUPPLY LOW"},
        {0x10, "LEAK TEST COMPLETED"},
        {0x11, "LEAK TEST IN PROGRESS"},
        {0x12, "LEAKAGE DETECTED"},
        {0x21, "PULSE TUNE IN PROGRESS"},
        {0x22, "STEP TUNE IN PROGRESS"},
        {0x30, "CALIBRATION NOT DONE"},
        {0x43, "PULSE TUNE FINISHED"},
        {0x44, "STEP TUNE FINISHED"},
        {0x45, "FRICTION ESTIMATION IN PROGRESS"},
        {0x46, "FRICTION ESTIMATION FINISHED"},
        {0x47, "PLAY ESTIMATION IN PROGRESS"},
        {0x48, "PLAY ESTIMATION FINISHED"},
    };
    return texts;
}

} // namespace

CAutomaticCalibrationView::CAutomaticCalibrationView(const SViewContext& context)
    : CDeviceView(context, EHeader::WithNavigation) {}

std::vector<std::string> CAutomaticCalibrationView::StateTexts(int procedure, int state) {
    switch (state) {
    case 0x00:
        return {procedure == LeakageTest ? "LEAK TEST COMPLETED"
                : procedure == AutoTune  ? "PULSE TUNE COMPLETED"
                                         : "TRAVEL CALIBRATION COMPLETED"};
    case 0x01:
        if (procedure == AutoCalibration) {
            return {"AUTO CALIBRATION STARTED", "TRAVEL CALIBRATION IN PROGRESS"};
        }
        return {"TRAVEL CALIBRATION IN PROGRESS"};
    case 0x20:
        return {procedure == AutoCalibration ? "AUTO CALIBRATION COMPLETED"
                                             : "AUTO TUNE COMPLETED"};
    default: {
        const auto it = CommonTexts().find(state);
        return it != CommonTexts().end() ? std::vector<std::string>{it->second}
                                         : std::vector<std::string>{};
    }
    }
}

QString CAutomaticCalibrationView::Status() const {
    return m_status->text();
}

std::unique_ptr<QWidget> CAutomaticCalibrationView::CreateDeviceContent() {
    auto content = std::make_unique<QWidget>();
    auto* layout = new QHBoxLayout(content.get());
    layout->setContentsMargins(0, 0, 0, 0);

    auto* procedure = new QGroupBox(QStringLiteral("Automatic Calibration"), content.get());
    auto* form = new QGridLayout(procedure);
    m_choice = new QComboBox(procedure);
    m_choice->setAccessibleName(QStringLiteral("Procedure"));
    for (const char* name : kProcedures) {
        m_choice->addItem(QString::fromUtf8(name));
    }
    m_start = new QPushButton(QStringLiteral("Start"), procedure);
    m_abort = new QPushButton(QStringLiteral("Abort"), procedure);
    form->addWidget(m_choice, 0, 0);
    form->addWidget(m_start, 0, 1);
    form->addWidget(m_abort, 0, 2);
    m_status = new QLineEdit(procedure);
    m_status->setReadOnly(true);
    m_status->setFocusPolicy(Qt::NoFocus);
    m_status->setAccessibleName(QStringLiteral("Calibration status"));
    form->addWidget(m_status, 1, 0, 1, 3);
    // The question a detected leak asks.
    m_question = new QLabel(QStringLiteral("CONTINUE ?"), procedure);
    m_yes = new QPushButton(QStringLiteral("Yes"), procedure);
    m_no = new QPushButton(QStringLiteral("No"), procedure);
    form->addWidget(m_question, 2, 0);
    form->addWidget(m_yes, 2, 1);
    form->addWidget(m_no, 2, 2);
    m_history = new QListWidget(procedure);
    m_history->setAccessibleName(QStringLiteral("Calibration history"));
    form->addWidget(m_history, 3, 0, 1, 3);
    auto* stroke = new QHBoxLayout;
    stroke->addWidget(new QLabel(QStringLiteral("Stroke Length:"), procedure));
    m_stroke = new QLineEdit(procedure);
    m_stroke->setReadOnly(true);
    m_stroke->setFocusPolicy(Qt::NoFocus);
    stroke->addWidget(m_stroke);
    form->addLayout(stroke, 4, 0, 1, 3);
    layout->addWidget(procedure, 1);

    layout->addWidget(CreateServiceStatus(content.get(), &m_switch));

    QObject::connect(m_start, &QPushButton::clicked, m_start,
                     [this] { RunGuarded("Start", [this] { Start(); }); });
    QObject::connect(m_abort, &QPushButton::clicked, m_abort,
                     [this] { RunGuarded("Abort", [this] { Abort(); }); });
    QObject::connect(m_yes, &QPushButton::clicked, m_yes,
                     [this] { RunGuarded("Continue", [this] { Continue(true); }); });
    QObject::connect(m_no, &QPushButton::clicked, m_no,
                     [this] { RunGuarded("Continue", [this] { Continue(false); }); });
    AskContinue(false);
    RefreshButtons();
    return content;
}

void CAutomaticCalibrationView::OnDeviceActivated() {
    Device().RequestRead(kStrokeLength);
    Device().RequestRead(device_keys::kServiceMode);
    if (m_running) {
        StartViewTimer(kPollTimer, kPollMs,
                       [this] { Device().RequestRead(device_keys::kServiceMode); });
    }
}

void CAutomaticCalibrationView::OnDeviceDeactivated() {
    AskContinue(false);
}

void CAutomaticCalibrationView::OnParameter(std::uint32_t key) {
    if (key == kStrokeLength) {
        if (const std::optional<std::string> length =
                Device().Fetch<CNumericParameterDescriptor>(key)) {
            m_stroke->setText(QString::fromStdString(*length));
        }
        return;
    }
    if (key != device_keys::kServiceMode) {
        return;
    }
    m_switch->OnModeChanged();
    if (const std::optional<std::string> mode = Device().Fetch<CEnumParameterDescriptor>(key)) {
        OnMode(*mode);
    }
}

void CAutomaticCalibrationView::Start() {
    if (State().inService) {
        SetStatus("Put the device into Out of Service");
        return;
    }
    m_procedure = m_choice->currentIndex();
    m_history->clear();
    m_lastMode.reset();
    Device().Write(kCommandKey, std::to_string(m_procedure + 1));
    State().SetCalibrationRunning(true);
    m_switch->OnModeChanged();
    m_running = true;
    SetStatus(kStartTexts[static_cast<std::size_t>(m_procedure)]);
    StartViewTimer(kPollTimer, kPollMs,
                   [this] { Device().RequestRead(device_keys::kServiceMode); });
    RefreshButtons();
}

void CAutomaticCalibrationView::Abort() {
    Device().Write(kCommandKey, std::to_string(kAbortCommand));
    AskContinue(false);
    SetStatus("ABORTED BY USER");
    m_history->addItem(QStringLiteral("ABORTED BY USER"));
}

void CAutomaticCalibrationView::Continue(bool yes) {
    AskContinue(false);
    if (yes) {
        // The calibration goes on despite the leak: the auto calibration from its start.
        m_procedure = AutoCalibration;
        Device().Write(kCommandKey, "1");
        SetStatus(kStartTexts[AutoCalibration]);
    } else {
        Abort();
    }
}

void CAutomaticCalibrationView::OnMode(const std::string& value) {
    if (!m_running) {
        return;
    }
    if (value == device_keys::kInService || value == device_keys::kOutOfService) {
        Finish();
        return;
    }
    if (m_lastMode == value) {
        return;
    }
    m_lastMode = value;
    const int state = CConversions::to_int32(value);
    for (const std::string& text : StateTexts(m_procedure, state)) {
        m_history->addItem(QString::fromStdString(text));
        SetStatus(text);
    }
    if (state == kLeakageDetected) {
        SetStatus("CONTINUE ?");
        AskContinue(true);
    }
}

void CAutomaticCalibrationView::Finish() {
    // The mode is back in or out of service: the procedure is over.
    StopViewTimer(kPollTimer);
    m_running = false;
    State().SetCalibrationRunning(false);
    m_switch->OnModeChanged();
    AskContinue(false);
    RefreshButtons();
}

void CAutomaticCalibrationView::AskContinue(bool show) {
    m_question->setVisible(show);
    m_yes->setVisible(show);
    m_no->setVisible(show);
}

void CAutomaticCalibrationView::SetStatus(const std::string& text) {
    m_status->setText(QString::fromStdString(text));
}

void CAutomaticCalibrationView::RefreshButtons() {
    m_start->setEnabled(!m_running);
    m_choice->setEnabled(!m_running);
    m_abort->setEnabled(m_running);
}
