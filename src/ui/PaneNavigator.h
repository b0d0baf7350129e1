#pragma once

class QWidget;

// The control's registration with the keyboard navigation between panes (Tab and Shift+Tab
// move between the tree, the current view and the action area). Slot 0 holds the navigation
// tree, slot 1 the current application view, slot 2 the action area; slots 3 and 4 are free.
class IPaneNavigator {
public:
    static constexpr int kTreeSlot = 0;
    static constexpr int kViewSlot = 1;
    static constexpr int kActionSlot = 2;
    static constexpr int kSlotCount = 5;

    virtual ~IPaneNavigator() = default;
    // Puts `window` into the slot; false (nothing changed) for a slot outside 0 to 4.
    virtual bool SetPane(int slot, QWidget* window) = 0;
    // Empties the slot.
    virtual void RemovePane(int slot) = 0;
};
