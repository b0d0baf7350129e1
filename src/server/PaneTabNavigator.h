#pragma once

#include "ui/PaneNavigator.h"

// Keyboard navigation between the panes of a control: Tab on a pane's last tab stop moves
// the focus to the first tab stop of the next pane, Shift+Tab on a pane's first tab stop to
// the last tab stop of the previous pane (both cyclic over the five slots, skipping empty
// slots, destroyed windows and hidden panes). Inside a pane Tab keeps its usual meaning.
//
// Each navigator is one owner in a process-wide table of five pane slots per owner. The
// first pane registered in the process installs one event filter on the application object;
// removing the last pane of the last owner removes it. A navigator removes its panes when it
// is destroyed. The table is touched from the UI thread only.
class CPaneTabNavigator : public IPaneNavigator {
public:
    CPaneTabNavigator() = default;
    ~CPaneTabNavigator() override;
    CPaneTabNavigator(const CPaneTabNavigator&) = delete;
    CPaneTabNavigator& operator=(const CPaneTabNavigator&) = delete;

    // A null `window` empties the slot.
    bool SetPane(int slot, QWidget* window) override;
    void RemovePane(int slot) override;

    // How many event filters the navigators have installed on the application object (0 or 1).
    static int HookCount();
};
