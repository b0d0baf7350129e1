#include "views/common/ServiceModeSwitch.h"

#include "model/DeviceState.h"
#include "ui/Guard.h"
#include "views/common/DeviceAccess.h"
#include "views/common/DeviceKeys.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <utility>

CServiceModeSwitch::CServiceModeSwitch(EWording wording, SDeviceState& state,
                                       const CDeviceAccess& device, SPolling polling,
                                       QWidget* parent)
    : QWidget(parent), m_wording(wording), m_state(state), m_device(device),
      m_polling(std::move(polling)) {
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_status = new QLineEdit(this);
    m_status->setReadOnly(true);
    m_status->setAlignment(Qt::AlignCenter);
    m_button = new QPushButton(this);
    m_prompt = new QLabel(this);
    m_yes = new QPushButton(QStringLiteral("Yes"), this);
    m_no = new QPushButton(QStringLiteral("No"), this);
    layout->addWidget(m_status, 0, 0, 1, 2);
    layout->addWidget(m_button, 1, 0, 1, 2);
    layout->addWidget(m_prompt, 2, 0, 1, 2);
    layout->addWidget(m_yes, 3, 0);
    layout->addWidget(m_no, 3, 1);
    // The buttons' handlers can reach the DTM: a failure is shown, never passed to Qt.
    const auto handle = [this](QPushButton* button, const char* where,
                               void (CServiceModeSwitch::*step)()) {
        connect(button, &QPushButton::clicked, this, [this, where, step] {
            const auto work = [this, step] { (this->*step)(); };
            if (m_polling.run) {
                m_polling.run(where, work);
            } else {
                Guarded(where, work);
            }
        });
    };
    handle(m_button, "Service mode", &CServiceModeSwitch::Ask);
    handle(m_no, "Service mode: No", &CServiceModeSwitch::Decline);
    handle(m_yes, "Service mode: Yes", &CServiceModeSwitch::Confirm);
    ShowPrompt(false);
    Refresh();
}

void CServiceModeSwitch::OnModeChanged() {
    if (!m_confirming) {
        Refresh();
    }
}

void CServiceModeSwitch::Ask() {
    if (m_polling.stop) {
        m_polling.stop();
    }
    m_button->hide();
    m_prompt->setText(PromptText());
    ShowPrompt(true);
    m_confirming = true;
}

void CServiceModeSwitch::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Refresh();
}

void CServiceModeSwitch::Decline() {
    ShowPrompt(false);
    m_confirming = false;
    Refresh();
    if (m_polling.start) {
        m_polling.start();
    }
}

void CServiceModeSwitch::Confirm() {
    ShowPrompt(false);
    m_confirming = false;
    // Whatever the write does, the view polls again and the switch shows the flag.
    struct SRestart {
        CServiceModeSwitch& self;
        ~SRestart() {
            self.Refresh();
            if (self.m_polling.start) {
                self.m_polling.start();
            }
        }
    } restart{*this};
    m_device.Write(device_keys::kServiceTarget,
                   m_state.inService ? device_keys::kOutOfService : device_keys::kInService);
    m_state.inService = !m_state.inService;
    m_device.RequestRead(device_keys::kServiceMode);
}

void CServiceModeSwitch::ShowPrompt(bool shown) {
    m_prompt->setVisible(shown);
    m_yes->setVisible(shown);
    m_no->setVisible(shown);
}

void CServiceModeSwitch::Refresh() {
    m_status->setText(m_state.inService ? kInServiceText : kOutOfServiceText);
    m_button->setText(m_state.inService ? kOutOfServiceText : kInServiceText);
    m_button->setVisible(m_state.serviceSwitchingAllowed && !m_confirming);
}

QString CServiceModeSwitch::PromptText() const {
    const bool dashboard = m_wording == EWording::Dashboard;
    if (m_state.inService) {
        return dashboard ? QStringLiteral("Put device Out of Service?")
                         : QStringLiteral("Put the device Out of Service?");
    }
    return dashboard ? QStringLiteral("Put device In Service?")
                     : QStringLiteral("Put the device In Service?");
}
