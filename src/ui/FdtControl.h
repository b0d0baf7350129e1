#pragma once

#include <string>

namespace xml {
class Node;
}

// A data-bound control as its application view sees it: a window showing one parameter or
// one piece of text, named by its control identifier (the parameter key for data-bound
// kinds) and its tag. The view owns its controls.
class IFdtControl {
public:
    virtual ~IFdtControl() = default;
    // The kind's element name ("FdtTextControl", ...).
    virtual std::string GetTypeName() const = 0;
    virtual int GetControlId() const = 0;
    virtual std::string GetLabel() const = 0;
    virtual std::string GetTag() const = 0;
    // Refreshes state and value from this control's `ControlData` element.
    virtual void UpdateFromControlData(const xml::Node& controlData) = 0;
    // 0 when all is normal, larger is worse.
    virtual int GetState() const = 0;
    // Raises the control's get event and shows the answer.
    virtual void RequestData() = 0;
    // Re-evaluates whether the control may be edited (the user level changed).
    virtual void OnUserLevelChanged() = 0;
};
