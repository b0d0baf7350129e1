#include "views/common/DeviceView.h"

#include "model/AlarmInformation.h"
#include "model/Conversions.h"
#include "model/DeviceState.h"
#include "ui/Guard.h"
#include "ui/Scheduler.h"
#include "ui/TextResource.h"
#include "ui/UIController.h"
#include "views/common/DeviceKeys.h"
#include "views/common/DeviceViewHeader.h"
#include "views/common/DeviceViewServices.h"
#include "views/common/ServiceModeSwitch.h"
#include "views/components/Csv.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

CDeviceViewCore::CDeviceViewCore(const SViewContext& context, EHeader header)
    : CApplicationViewCore(context.viewId, context.dialogId), m_context(context),
      m_device(context.parameters, context.parameterAccess, context.uiAccess),
      m_state(context.deviceState ? context.deviceState : std::make_shared<SDeviceState>()),
      m_headerKind(header) {
    SetController(context.controller);
}

CDeviceViewCore::~CDeviceViewCore() {
    Scheduler().StopAll(this);
}

CDeviceViewHeader* CDeviceViewCore::GetHeader() const {
    return m_header;
}

QLabel* CDeviceViewCore::GetStatusLine() const {
    return m_statusLine;
}

std::unique_ptr<QWidget> CDeviceViewCore::CreateDialogContent() {
    auto dialog = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(dialog.get());
    if (m_headerKind != EHeader::None) {
        const auto navigation = m_headerKind == EHeader::WithNavigation
                                    ? CDeviceViewHeader::ENavigation::WithButtons
                                    : CDeviceViewHeader::ENavigation::WithoutButtons;
        const CAlarmInformation* alarms = m_context.alarmInformation;
        const auto alarmName = [alarms](std::uint32_t id) {
            const SAlarmText* text = alarms ? alarms->Find(id) : nullptr;
            return text ? text->shortDescription : std::string();
        };
        m_header = new CDeviceViewHeader(navigation, *m_state, m_device, m_context.controller,
                                         alarmName, dialog.get());
        layout->addWidget(m_header);
        m_header->RegisterToolTips([this](QWidget* widget, const std::string& key,
                                          const std::string& fallback) {
            const QString text = m_context.textProvider
                                     ? m_context.textProvider->GetText(QString::fromStdString(key))
                                     : QString();
            const std::string shown = text.isEmpty() ? fallback : text.toStdString();
            if (!shown.empty()) {
                AddToolTip(widget, shown);
            }
        });
    }
    // Every grid and plot of the view exports as CSV after the private-dialogs check.
    new CCsvExportHost(
        *dialog,
        [this](QWidget* from) {
            std::optional<QString> path;
            RunGuarded("Export as CSV", [&] {
                const SFileQuestion question{"Export as CSV", "CSV Files", "csv",
                                             State().privateDialogsMessage};
                if (const auto chosen = AskFile(GetController(), m_device, from, question, true)) {
                    path = QString::fromStdString(*chosen);
                }
            });
            return path;
        },
        [this](const QString& message) { ShowStatus(message.toStdString()); });
    std::unique_ptr<QWidget> content = CreateDeviceContent();
    if (content) {
        layout->addWidget(content.release(), 1);
    }
    m_statusLine = new QLabel(dialog.get());
    m_statusLine->setObjectName(QStringLiteral("statusLine"));
    m_statusLine->setWordWrap(true);
    layout->addWidget(m_statusLine);
    return dialog;
}

void CDeviceViewCore::Activate() {
    CApplicationViewCore::Activate();
    RunGuarded("Activate", [this] {
        StartHeaderPolling();
        if (m_header) {
            StartViewTimer(kBeepTimer, kBeepMs, [this] { Beep(); });
        }
    });
    if (m_header) {
        // The strip shows the DTM's last values at once; the polls bring news.
        RunGuarded("Header", [this] { m_header->ShowAll(); });
    }
    RunGuarded("Activate", [this] {
        OnDeviceActivated();
        if (!m_activatedOnce) {
            m_activatedOnce = true;
            OnFirstActivation();
        }
    });
}

void CDeviceViewCore::Deactivate() {
    Scheduler().StopAll(this);
    RunGuarded("Deactivate", [this] { OnDeviceDeactivated(); });
    CApplicationViewCore::Deactivate();
}

void CDeviceViewCore::StartHeaderPolling() {
    if (m_headerKind == EHeader::None) {
        return;
    }
    StartViewTimer(kHeaderPollTimer, kHeaderPollMs, [this] {
        m_device.RequestRead(device_keys::kActiveAlarmCount);
        m_device.RequestRead(device_keys::kCurrentAlarm);
    });
}

void CDeviceViewCore::StopHeaderPolling() {
    StopViewTimer(kHeaderPollTimer);
}

void CDeviceViewCore::Beep() const {
    if (m_state->soundOn && m_state->activeAlarmCount != 0) {
        Beeper().Beep(kBeepHz, kBeepLengthMs);
    }
}

void CDeviceViewCore::OnUpdate(int updateType, const std::string& data) {
    CApplicationViewCore::OnUpdate(updateType, data);
    RunGuarded("Update", [&] {
        if (updateType != dtm_update::kParameterChanged) {
            OnOtherUpdate(updateType, data);
            return;
        }
        const std::uint32_t key = CConversions::to_uint32(data);
        if (m_header) {
            m_header->ApplyParameter(key);
        }
        OnParameter(key);
    });
}

void CDeviceViewCore::ShowOtherView(int viewId) {
    RunGuarded("Show view", [this, viewId] {
        if (GetController()) {
            GetController()->ShowView(viewId);
        }
    });
}

QPushButton* CDeviceViewCore::AddButton(QBoxLayout& row, QWidget* parent, const char* label,
                                        std::function<void()> action) {
    auto* button = new QPushButton(QString::fromUtf8(label), parent);
    button->setMinimumWidth(90);
    row.addWidget(button);
    QObject::connect(button, &QPushButton::clicked, button,
                     [this, label, action = std::move(action)] { RunGuarded(label, action); });
    return button;
}

void CDeviceViewCore::StartViewTimer(int id, int intervalMs, std::function<void()> handler) {
    Scheduler().StartTimer(this, id, intervalMs,
                           [this, handler = std::move(handler)] { RunGuarded("Timer", handler); });
}

void CDeviceViewCore::StartViewOneShot(int id, int delayMs, std::function<void()> handler) {
    Scheduler().StartOneShot(
        this, id, delayMs, [this, handler = std::move(handler)] { RunGuarded("Timer", handler); });
}

QWidget* CDeviceViewCore::CreateServiceStatus(QWidget* parent, CServiceModeSwitch** created,
                                              bool dashboardWording) {
    auto* service = new QGroupBox(QStringLiteral("Service Status"), parent);
    auto* layout = new QVBoxLayout(service);
    auto* serviceSwitch = new CServiceModeSwitch(
        dashboardWording ? CServiceModeSwitch::EWording::Dashboard
                         : CServiceModeSwitch::EWording::DeviceView,
        State(), Device(),
        {[this] {
             StopHeaderPolling();
             OnPollingPaused(true);
         },
         [this] {
             StartHeaderPolling();
             OnPollingPaused(false);
         },
         [this](const char* where, const std::function<void()>& work) { RunGuarded(where, work); }},
        service);
    layout->addWidget(serviceSwitch);
    layout->addStretch(1);
    *created = serviceSwitch;
    return service;
}

bool CDeviceViewCore::IsViewTimerRunning(int id) const {
    return Scheduler().IsRunning(this, id);
}

void CDeviceViewCore::StopViewTimer(int id) {
    Scheduler().StopTimer(this, id);
}

void CDeviceViewCore::RunGuarded(const char* where, const std::function<void()>& work) {
    if (const std::optional<std::string> error = CaughtError(work)) {
        Guarded("CDeviceViewCore: status", [&] { ShowStatus(std::string(where) + ": " + *error); });
    }
}

void CDeviceViewCore::ShowStatus(const std::string& text) {
    if (m_statusLine) {
        m_statusLine->setText(QString::fromStdString(text));
    }
}
