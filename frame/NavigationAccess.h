#pragma once

#include <optional>
#include <string>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

// The frame's view of the control's navigation tree: the one tree widget inside the control's
// widget, whose entries know the view they show. The frame selects entries the way a user
// does, by making them the tree's current item.
class CNavigationAccess {
public:
    struct SEntry {
        QTreeWidgetItem* item = nullptr;
        int viewId = 0;
        std::string label;
    };

    // The tree inside `control`; none while the control has no tree.
    explicit CNavigationAccess(QWidget* control);

    QTreeWidget* GetTree() const { return m_tree; }
    // True once the tree has entries and one of them is selected.
    bool IsBuilt() const;
    // Every entry in tree order (depth first, as the tree shows them expanded).
    std::vector<SEntry> Entries() const;
    // The entry of the selected item.
    std::optional<SEntry> Selected() const;
    // Selects the first entry that shows `viewId`; false when there is none.
    bool Select(int viewId) const;
    bool Select(QTreeWidgetItem* item) const;

private:
    std::optional<int> ViewIdOf(QTreeWidgetItem* item) const;

    QTreeWidget* m_tree = nullptr;
};
