#include "server/PaneTabNavigator.h"

#include "ui/Guard.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

namespace {

constexpr int kSlots = IPaneNavigator::kSlotCount;

// A destroyed window reads as an empty slot.
using Panes = std::array<QPointer<QWidget>, kSlots>;

struct Owner {
    const CPaneTabNavigator* m_navigator;
    Panes m_panes;
};

// The process-wide table: the owners in the order of their first registration, and the
// event filter on the application object while any owner has a pane.
struct Table {
    std::vector<Owner> m_owners;
    std::unique_ptr<QObject> m_hook;
};

Table& TheTable() {
    static Table table;
    return table;
}

Owner* FindOwner(const CPaneTabNavigator* navigator) {
    auto& owners = TheTable().m_owners;
    const auto found = std::find_if(owners.begin(), owners.end(), [&](const Owner& owner) {
        return owner.m_navigator == navigator;
    });
    return found == owners.end() ? nullptr : &*found;
}

bool IsSlot(int slot) {
    return slot >= 0 && slot < kSlots;
}

bool Contains(const QWidget* pane, const QWidget* widget) {
    return widget == pane || pane->isAncestorOf(widget);
}

// The widgets Qt's own Tab handling would stop at.
bool IsTabStop(const QWidget* widget) {
    return (widget->focusPolicy() & Qt::TabFocus) && widget->isEnabled() &&
           widget->isVisibleTo(widget->window());
}

// A pane the focus can go to: its window still exists and is not hidden.
bool IsUsable(const QPointer<QWidget>& pane) {
    return pane && pane->isVisibleTo(pane->window());
}

struct TabStops {
    QWidget* m_first = nullptr;
    QWidget* m_last = nullptr;
};

// The pane's tab stops in the order of its window's focus chain, which is cyclic, starting at
// the pane itself: the last stop is the one before the first.
TabStops FindTabStops(QWidget* pane) {
    TabStops stops;
    QWidget* widget = pane;
    do {
        if (Contains(pane, widget) && IsTabStop(widget)) {
            stops.m_first = stops.m_first ? stops.m_first : widget;
            stops.m_last = widget;
        }
        widget = widget->nextInFocusChain();
    } while (widget != nullptr && widget != pane);
    return stops;
}

// +1 for Tab, -1 for Shift+Tab (Qt reports it as Backtab or as Tab with Shift), 0 for every
// other key. Ctrl+Tab stays with the pane.
int TabDirection(const QKeyEvent& key) {
    if (key.modifiers() & Qt::ControlModifier) {
        return 0;
    }
    if (key.key() == Qt::Key_Backtab) {
        return -1;
    }
    if (key.key() != Qt::Key_Tab) {
        return 0;
    }
    return (key.modifiers() & Qt::ShiftModifier) ? -1 : 1;
}

// The widget that takes the focus in the next (+1) or previous (-1) usable pane after
// `slot`, cyclic, so that with one pane the focus wraps within it: the first or the last tab
// stop of that pane, or the pane itself when it has none.
QWidget* AdjacentPaneStop(const Panes& panes, int slot, int direction) {
    for (int step = 1; step <= kSlots; ++step) {
        const auto& pane = panes[(slot + direction * step + kSlots) % kSlots];
        if (IsUsable(pane)) {
            const TabStops stops = FindTabStops(pane);
            QWidget* stop = direction > 0 ? stops.m_first : stops.m_last;
            return stop ? stop : pane.data();
        }
    }
    return nullptr;
}

// Where Tab (+1) or Shift+Tab (-1) on `target` moves the focus when it leaves a registered
// pane: from the pane's last tab stop forward or from its first tab stop backward. Null
// when the key stays within the pane.
QWidget* FocusAcrossPanes(const QWidget* target, int direction) {
    for (const Owner& owner : TheTable().m_owners) {
        for (int slot = 0; slot < kSlots; ++slot) {
            const QPointer<QWidget>& pane = owner.m_panes[slot];
            if (!pane || !Contains(pane, target)) {
                continue;
            }
            const TabStops stops = FindTabStops(pane);
            if (target == (direction > 0 ? stops.m_last : stops.m_first)) {
                return AdjacentPaneStop(owner.m_panes, slot, direction);
            }
        }
    }
    return nullptr;
}

// Moves the focus to another pane when the key leaves the target's pane; true when it did,
// so that the key press goes no further.
bool MoveFocusAcrossPanes(QWidget* target, const QKeyEvent& key) {
    const int direction = TabDirection(key);
    QWidget* next = direction == 0 ? nullptr : FocusAcrossPanes(target, direction);
    if (next == nullptr) {
        return false;
    }
    next->setFocus(direction > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

// The event filter on the application object: sees every key press before its target does.
class CPaneTabHook : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) {
            return false;
        }
        bool eaten = false;
        Guarded("CPaneTabNavigator", [&] {
            eaten = MoveFocusAcrossPanes(static_cast<QWidget*>(watched),
                                         static_cast<const QKeyEvent&>(*event));
        });
        return eaten;
    }
};

void InstallHook() {
    auto& table = TheTable();
    if (table.m_hook || QCoreApplication::instance() == nullptr) {
        return;
    }
    table.m_hook = std::make_unique<CPaneTabHook>();
    QCoreApplication::instance()->installEventFilter(table.m_hook.get());
}

void RemoveHook() {
    auto& table = TheTable();
    if (table.m_hook && QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->removeEventFilter(table.m_hook.get());
    }
    table.m_hook.reset();
}

void ForgetOwner(const CPaneTabNavigator* navigator) {
    auto& table = TheTable();
    std::erase_if(table.m_owners,
                  [&](const Owner& owner) { return owner.m_navigator == navigator; });
    if (table.m_owners.empty()) {
        RemoveHook();
    }
}

} // namespace

CPaneTabNavigator::~CPaneTabNavigator() {
    ForgetOwner(this);
}

bool CPaneTabNavigator::SetPane(int slot, QWidget* window) {
    if (!IsSlot(slot)) {
        return false;
    }
    if (window == nullptr) {
        RemovePane(slot);
        return true;
    }
    Owner* owner = FindOwner(this);
    if (owner == nullptr) {
        owner = &TheTable().m_owners.emplace_back(Owner{this, {}});
    }
    owner->m_panes[slot] = window;
    InstallHook();
    return true;
}

void CPaneTabNavigator::RemovePane(int slot) {
    Owner* owner = FindOwner(this);
    if (owner == nullptr || !IsSlot(slot)) {
        return;
    }
    owner->m_panes[slot] = nullptr;
    const bool empty = std::all_of(owner->m_panes.begin(), owner->m_panes.end(),
                                   [](const QPointer<QWidget>& pane) { return pane.isNull(); });
    if (empty) {
        ForgetOwner(this);
    }
}

int CPaneTabNavigator::HookCount() {
    return TheTable().m_hook ? 1 : 0;
}
