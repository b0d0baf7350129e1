#pragma once

class IApplicationViewLayout;
class ILayoutItem;

// Places the controls of a view and hands the computed extent to the view.
class ILayoutManager {
public:
    virtual ~ILayoutManager() = default;
    virtual void AddItem(ILayoutItem* item) = 0;
    virtual void DoLayout() = 0;
    virtual void SetContainer(IApplicationViewLayout* container) = 0;
};
