#pragma once

#include <string>

class IUIController;
class QWidget;

// One page of the user interface, shown in the right pane of the splitter. The controller
// owns registered views; deleting a view destroys its window.
class IApplicationView {
public:
    virtual ~IApplicationView() = default;
    // The view's window; null while it has not been created.
    virtual QWidget* GetWindow() const = 0;
    virtual bool IsActive() const = 0;
    virtual void Activate() = 0;
    virtual void Deactivate() = 0;
    // Hands each data-bound control its `ControlData` element of the document.
    virtual void UpdateControls(const std::string& controlData) = 0;
    virtual void SetController(IUIController* controller) = 0;
    virtual void AddToolTip(QWidget* child, const std::string& text) = 0;
    virtual void RemoveToolTip(QWidget* child) = 0;
    // Recomputes the view state (the worst state of its controls) and reports a change.
    virtual void UpdateState() = 0;
    // 0 normal, larger is worse.
    virtual int GetState() const = 0;
    virtual void OnUpdate(int updateType, const std::string& data) = 0;
    // A `ListOfControls` document naming the view's data-bound controls.
    virtual std::string GetListOfControls() const = 0;
    virtual void RefreshControl(int controlId) = 0;
    // Every control for -1, else the one with that id.
    virtual void RefreshControls(int controlId) = 0;
    virtual void OnUserLevelChanged() = 0;
};
