#include "ui/ToolTipManager.h"

#include "ui/Guard.h"

#include <QCoreApplication>
#include <QSinglePointEvent>

#include <algorithm>

namespace {

bool IsMouseEvent(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
        return true;
    default:
        return false;
    }
}

// The event filter on the application object: sees every event before its receiver does.
class CToolTipHook : public QObject {
public:
    explicit CToolTipHook(const CToolTipManager& manager) : m_manager(manager) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (IsMouseEvent(event->type()) && watched->isWidgetType()) {
            auto* target = static_cast<QWidget*>(watched);
            const auto& mouse = static_cast<const QSinglePointEvent&>(*event);
            if (!IsPropagatedCopy(target, mouse)) {
                Guarded("CToolTipManager::Relay", [&] { m_manager.Relay(target, mouse); });
            }
        }
        return false;
    }

private:
    // A mouse event that a widget ignores is offered to its parents as a copy (same type,
    // time and position). Only the first delivery, to the widget under the mouse, is
    // relayed.
    bool IsPropagatedCopy(QWidget* target, const QSinglePointEvent& event) {
        const bool copy = m_lastType == event.type() && m_lastTimestamp == event.timestamp() &&
                          m_lastPosition == event.globalPosition() && m_lastTarget &&
                          target->isAncestorOf(m_lastTarget);
        m_lastType = event.type();
        m_lastTimestamp = event.timestamp();
        m_lastPosition = event.globalPosition();
        m_lastTarget = target;
        return copy;
    }

    const CToolTipManager& m_manager;
    QEvent::Type m_lastType = QEvent::None;
    quint64 m_lastTimestamp = 0;
    QPointF m_lastPosition;
    QPointer<QWidget> m_lastTarget;
};

} // namespace

CToolTipManager::CToolTipManager() = default;

CToolTipManager::~CToolTipManager() {
    RemoveHook();
}

CToolTipManager& CToolTipManager::Instance() {
    static CToolTipManager manager;
    return manager;
}

bool CToolTipManager::Register(IToolTipControl* tooltipControl, QWidget* ownerWindow) {
    if (tooltipControl == nullptr || ownerWindow == nullptr) {
        return false;
    }
    const bool known =
        std::any_of(m_registrations.begin(), m_registrations.end(),
                    [&](const Registration& r) { return r.m_tooltipControl == tooltipControl; });
    if (known) {
        return false;
    }
    m_registrations.push_back({tooltipControl, ownerWindow});
    return true;
}

bool CToolTipManager::Unregister(IToolTipControl* tooltipControl) {
    return std::erase_if(m_registrations, [&](const Registration& r) {
               return r.m_tooltipControl == tooltipControl;
           }) > 0;
}

void CToolTipManager::Install() {
    if (m_installCount++ > 0 || QCoreApplication::instance() == nullptr) {
        return;
    }
    m_hook = std::make_unique<CToolTipHook>(*this);
    QCoreApplication::instance()->installEventFilter(m_hook.get());
}

void CToolTipManager::Uninstall() {
    if (m_installCount > 0 && --m_installCount == 0) {
        RemoveHook();
    }
}

void CToolTipManager::RemoveHook() {
    if (m_hook && QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->removeEventFilter(m_hook.get());
    }
    m_hook.reset();
}

void CToolTipManager::Relay(QWidget* target, const QSinglePointEvent& event) const {
    // A registered window may be gone without having unregistered (destroyed while active):
    // such a pair is skipped, never dereferenced. Only events for the window's children
    // count, not those for the window itself.
    const auto found =
        std::find_if(m_registrations.begin(), m_registrations.end(), [&](const Registration& r) {
            return r.m_ownerWindow && r.m_ownerWindow != target &&
                   r.m_ownerWindow->isAncestorOf(target);
        });
    if (found != m_registrations.end()) {
        found->m_tooltipControl->RelayEvent(target, event);
    }
}
