#include "views/configuration/FailureModeView.h"

#include "model/Conversions.h"
#include "model/DeviceState.h"
#include "model/EnumParameterDescriptor.h"
#include "views/common/DeviceKeys.h"
#include "views/common/ViewTitle.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CFailureModeView::CFailureModeView(const SViewContext& context)
    : CDeviceView(context, EHeader::WithNavigation) {}

std::unique_ptr<QWidget> CFailureModeView::CreateDeviceContent() {
    auto content = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(content.get());
    layout->setContentsMargins(0, 0, 0, 0);
    AddViewTitle(*layout, content.get(), QStringLiteral("FAILURE MODE"));

    auto* statusGroup = new QGroupBox(QStringLiteral("Failure Mode Status"), content.get());
    auto* statusLayout = new QVBoxLayout(statusGroup);
    m_status = new QLineEdit(statusGroup);
    m_status->setReadOnly(true);
    m_status->setAccessibleName(QStringLiteral("Failure Mode Status"));
    m_status->setMinimumWidth(320);
    statusLayout->addWidget(m_status);

    auto* actions = new QGroupBox(QStringLiteral("Actions"), content.get());
    auto* buttons = new QHBoxLayout(actions);
    m_activate = new QPushButton(QStringLiteral("Activate"), actions);
    m_deactivate = new QPushButton(QStringLiteral("Deactivate"), actions);
    for (QPushButton* button : {m_activate, m_deactivate}) {
        button->setMinimumWidth(120);
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    QObject::connect(m_activate, &QPushButton::clicked, m_activate,
                     [this] { RunGuarded("Activate", [this] { Send(kActivate); }); });
    QObject::connect(m_deactivate, &QPushButton::clicked, m_deactivate,
                     [this] { RunGuarded("Deactivate", [this] { Send(kDeactivate); }); });

    auto* row = new QHBoxLayout;
    row->addWidget(statusGroup);
    row->addWidget(actions);
    row->addStretch(1);
    layout->addLayout(row);
    layout->addStretch(1);
    return content;
}

void CFailureModeView::Send(std::uint32_t command) {
    if (m_command != 0) {
        return;
    }
    m_status->setText(QString::fromUtf8(command == kActivate ? kActivatedText : kDeactivatedText));
    m_activate->setEnabled(false);
    m_deactivate->setEnabled(false);
    m_command = command;
    State().failureModeCommand = static_cast<std::int32_t>(command);

    // The argument field is cleared first, so that the command does not take a stale one.
    Device().Write(device_keys::kFrameNumber, "0");
    const std::string code = std::to_string(command);
    Device().Write(device_keys::kFrameType, code);
    if (command == kDeactivate) {
        Device().Write(device_keys::kFrameType, code);
    }
    StartViewTimer(command == kActivate ? kActivatePollTimer : kDeactivatePollTimer, kPollMs,
                   [this] { Poll(); });
    StartViewOneShot(kTimeoutTimer, kTimeoutMs, [this] { TimedOut(); });
}

void CFailureModeView::Poll() const {
    Device().RequestRead(device_keys::kProcedureState);
    Device().RequestRead(device_keys::kFrameType);
}

void CFailureModeView::OnParameter(std::uint32_t key) {
    if (key != device_keys::kProcedureState || m_command == 0) {
        return;
    }
    const auto value = Device().Fetch<CEnumParameterDescriptor>(key);
    if (!value) {
        return;
    }
    const bool active = CConversions::to_uint32(*value) == kFailureModeActive;
    // Activate is answered by the failure mode state, Deactivate by its end.
    if (active == (m_command == kActivate)) {
        Finish();
    }
}

void CFailureModeView::Finish() {
    StopViewTimer(kActivatePollTimer);
    StopViewTimer(kDeactivatePollTimer);
    StopViewTimer(kTimeoutTimer);
    m_command = 0;
    m_activate->setEnabled(true);
    m_deactivate->setEnabled(true);
}

void CFailureModeView::TimedOut() {
    // Without an answer the wizard is ready for the next command again.
    Finish();
    m_status->setText(QString::fromUtf8(kNoResponseText));
    ShowStatus(kNoResponseText);
}

void CFailureModeView::OnDeviceDeactivated() {
    // Leaving the view stopped the timers; a command still waiting is given up.
    if (m_command != 0) {
        Finish();
    }
}
