#pragma once

#include "ui/InternalUpdateUI.h"

#include <string>

class CUIEventBase;
class ITextResource;
class IUIController;
class IUnknown;

// The device side of the user interface, between the controller and the DTM. It answers the
// UI events, builds views on request and registers them with the controller, and takes the
// DTM's update notifications (OnUpdate, first operation).
class IUIEditModel : public IInternalUpdateUI {
public:
    // Links the model to the controller, the text provider and the DTM object (queried for
    // its interfaces), under the invoke id and the control's prog id.
    virtual void Initialize(IUIController* controller, ITextResource* textProvider, IUnknown* dtm,
                            const std::string& invokeId, const std::string& progId) = 0;
    // Builds the model after Initialize.
    virtual void Start() = 0;
    // Called at release: ends the DTM session and drops the DTM interfaces.
    virtual void Terminate() = 0;
    // The event entry: answers get events in place, dispatches the others. Answers whether
    // the event was handled.
    virtual bool OnUIEvent(CUIEventBase& event) = 0;
    // Help for the current view. The two arguments are those of the controller's
    // ForwardToEditModel (the toolbar's help command passes 0 and 0).
    virtual void ShowHelp(int first, int second) = 0;
    // The function-call document given to the control's Init.
    virtual void SetFunctionCall(const std::string& functionCall) = 0;
    virtual void SetUserLevel(const std::string& userLevel) = 0;
    // True when the UI is registered with the DTM and the user level is not "observer".
    virtual bool IsEditingAllowed() = 0;
    virtual bool CanRelease() = 0;
    // The state of the view changed (the controller's SetViewState).
    virtual void OnViewStateChanged(int viewId) = 0;
};
