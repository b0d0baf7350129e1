#pragma once

#include <QPoint>
#include <QSize>

// Something a layout manager places: a control with its label, unit and state icon.
class ILayoutItem {
public:
    virtual ~ILayoutItem() = default;
    // Width and height of the item, label included.
    virtual QSize GetSize() const = 0;
    // The top-left corner in the parent window.
    virtual QPoint GetPosition() const = 0;
    virtual void MoveTo(int x, int y) = 0;
    // The description's group type; 0 = a row of its own.
    virtual int GetGroupType() const = 0;
};
