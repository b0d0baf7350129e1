#pragma once

// The visibility flag of a frame area that can be hidden (toolbar and action area); the
// control's layout gives a hidden area the height 0.
class IWindowVisibility {
public:
    virtual ~IWindowVisibility() = default;
    virtual void SetVisible(bool visible) = 0;
    virtual bool IsVisible() const = 0;
};
