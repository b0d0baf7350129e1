#include "views/common/BusyIndicator.h"

#include "ui/Scheduler.h"

#include <QProgressBar>

CBusyIndicator::CBusyIndicator(QProgressBar* bar) : m_bar(bar) {
    if (m_bar) {
        m_bar->setRange(0, 100);
        m_bar->setProperty(kBusyProperty, false);
    }
}

CBusyIndicator::~CBusyIndicator() {
    Scheduler().StopAll(this);
}

bool CBusyIndicator::IsRunning() const {
    return Scheduler().IsRunning(this, kTimerId);
}

void CBusyIndicator::Start() {
    if (m_bar) {
        m_bar->setValue(0);
        m_bar->setProperty(kBusyProperty, true);
    }
    Scheduler().StartTimer(this, kTimerId, kTickMs, [this] { Tick(); });
}

void CBusyIndicator::Stop() {
    Scheduler().StopTimer(this, kTimerId);
    if (m_bar) {
        m_bar->setValue(100);
        m_bar->setProperty(kBusyProperty, false);
    }
}

void CBusyIndicator::Tick() {
    if (!m_bar) {
        return;
    }
    m_bar->setValue(m_bar->value() >= 100 ? 0 : m_bar->value() + kStep);
}
