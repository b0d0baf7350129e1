#pragma once

class CUIEventBase;

// Where a control raises its events: the view that holds it (which hands them to the
// controller and so to the edit model), or a test's fake.
class IFdtControlOwner {
public:
    virtual ~IFdtControlOwner() = default;
    // Sends the event synchronously; answers whether a handler took it. May raise what the
    // handler raised.
    virtual bool SendEvent(CUIEventBase& event) = 0;
    // The owner id the events carry.
    virtual int GetOwnerId() const = 0;
    // Whether the user may change values now (the user level and the DTM registration).
    virtual bool IsEditingAllowed() const = 0;
    // A control's state (and with it its state icon) changed.
    virtual void OnControlStateChanged() {}
};
