#pragma once

#include <QPointer>
#include <QWidget>

#include <memory>
#include <vector>

class QSinglePointEvent;

// A tooltip control of a view: it shows the tips of the view's child windows and learns
// where the mouse is from the events the tooltip manager relays to it.
class IToolTipControl {
public:
    virtual ~IToolTipControl() = default;

    // `event` (a mouse button, move or wheel event) is about to reach `target`, a child of
    // the owner window the control was registered with.
    virtual void RelayEvent(QWidget* target, const QSinglePointEvent& event) = 0;
};

// Relays mouse events to the tooltip controls of the views. The views register their
// tooltip control with their window while active; one event filter on the application
// object, installed while the manager is in use, passes each mouse event to the tooltip
// control of the first registered window that still exists and contains the event's target.
// Events themselves pass on unchanged.
class CToolTipManager {
public:
    CToolTipManager();
    ~CToolTipManager();
    CToolTipManager(const CToolTipManager&) = delete;
    CToolTipManager& operator=(const CToolTipManager&) = delete;

    // The manager shared by all views.
    static CToolTipManager& Instance();

    // False for a null argument or a tooltip control that is already registered.
    bool Register(IToolTipControl* tooltipControl, QWidget* ownerWindow);
    // False when the control was not registered.
    bool Unregister(IToolTipControl* tooltipControl);

    // Counts the uses; the event filter is installed on the first and removed when the
    // last use ends. Uninstall without a use does nothing.
    void Install();
    void Uninstall();
    int InstallCount() const { return m_installCount; }

    // Relays a mouse event bound for `target`; what the event filter calls.
    void Relay(QWidget* target, const QSinglePointEvent& event) const;

private:
    void RemoveHook();

    struct Registration {
        IToolTipControl* m_tooltipControl;
        QPointer<QWidget> m_ownerWindow;
    };

    std::vector<Registration> m_registrations;
    int m_installCount = 0;
    std::unique_ptr<QObject> m_hook;
};
