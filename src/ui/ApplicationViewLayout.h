#pragma once

#include <memory>

class ILayoutManager;
class QSize;

// The layout side of an application view: its layout manager and its scrollable extent.
class IApplicationViewLayout {
public:
    virtual ~IApplicationViewLayout() = default;
    virtual ILayoutManager* GetLayoutManager() const = 0;
    // The view owns the manager and deletes it (with the view or when another one is set).
    virtual void SetLayoutManager(std::unique_ptr<ILayoutManager> manager) = 0;
    // Scrolls back to the origin and sets the size of the scrollable content.
    virtual void SetScrollSize(const QSize& size) = 0;
};
