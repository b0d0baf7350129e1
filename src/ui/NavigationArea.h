#pragma once

#include "ui/AreaInterfaces.h"

#include <QTreeWidget>

#include <array>
#include <functional>
#include <map>
#include <memory>

class IUIController;

// The navigation tree in the left pane of the splitter. Each item is an entry that carries
// the id of the view it shows, a free tag and a state. Selecting an item shows its view
// through the controller; a right click selects the item under the pointer first. With state
// icons shown, each item shows the image of the worst state of its view and of its children.
class CNavigationArea : public QTreeWidget, public INavigationArea {
public:
    // The shared icons of the states 0 to 4; any other state shows the image of state 0.
    static constexpr std::array<int, 5> kStateIcons{34, 31, 30, 16, 29};
    // The item data role holding the index of the state image an item shows (none: unset).
    static constexpr int kImageRole = Qt::UserRole + 1;
    // The item data role holding the entry's view id, readable by anyone who has the tree
    // widget (a host frame looks entries up by view id this way).
    static constexpr int kViewIdRole = Qt::UserRole + 2;

    explicit CNavigationArea(QWidget* parent = nullptr);
    ~CNavigationArea() override;
    CNavigationArea(const CNavigationArea&) = delete;
    CNavigationArea& operator=(const CNavigationArea&) = delete;

    // The views are shown through it and their states read from it; none: selecting shows
    // nothing and every view counts as normal.
    void SetController(IUIController* controller) { m_controller = controller; }
    bool AreStateIconsShown() const { return m_showStateIcons; }

    void ClearSelection() override;
    void ExpandAll() override;
    void CollapseAll() override;
    void ShowStateIcons(bool show) override;
    // Refreshes the states when state icons are shown and the view has an entry; the state
    // itself is the view's own (its GetState).
    void SetEntryState(int viewId, int state) override;
    void Clear() override;
    // False for an item that is not an entry of this tree.
    bool DeleteItem(QTreeWidgetItem* item) override;
    // Null (nothing inserted) when `parent` is not an entry of this tree. An `after` item that
    // is not a child of `parent` counts as none: the entry goes last.
    CNavigationEntry* InsertEntry(int viewId, const std::string& label, QTreeWidgetItem* parent,
                                  QTreeWidgetItem* after) override;
    void DeleteChildren(QTreeWidgetItem* item) override;
    // The first entry in tree order with that tag / view id, or null.
    CNavigationEntry* FindEntryByTag(const std::string& tag) override;
    QTreeWidgetItem* FindItemByViewId(int viewId) override;
    CNavigationEntry* FindEntryByItem(QTreeWidgetItem* item) override;
    bool SelectView(int viewId) override;
    void RefreshStates() override;
    int GetWorstRootState() const override;
    QTreeWidgetItem* GetSelectedItem() const override;
    void SetFocus() override;

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    CNavigationEntry* FindEntry(const std::function<bool(const CNavigationEntry&)>& match);
    void OnSelectionChanged();
    // Stores the worst state of the item's view and its subtree in its entry and answers it.
    int RefreshState(QTreeWidgetItem* item);
    void ShowStateImage(QTreeWidgetItem* item, int state);
    int ViewState(int viewId) const;
    // Drops the entries of the item and of everything below it.
    void ForgetEntries(QTreeWidgetItem* item);

    IUIController* m_controller = nullptr;
    QMetaObject::Connection m_selection;
    std::map<QTreeWidgetItem*, std::unique_ptr<CNavigationEntry>> m_entries;
    bool m_showStateIcons = false;
};
