#pragma once

class CActionEvent;

// A view that also implements this gets the action area's actions (action 100) from the edit
// model while it is the current view.
class IAppViewActionInvoked {
public:
    virtual ~IAppViewActionInvoked() = default;
    virtual void OnActionInvoked(CActionEvent& action) = 0;
};
