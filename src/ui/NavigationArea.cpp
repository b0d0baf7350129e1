#include "ui/NavigationArea.h"

#include "ui/ApplicationView.h"
#include "ui/Guard.h"
#include "ui/SharedIcons.h"
#include "ui/UIController.h"

#include <QMouseEvent>
#include <QTreeWidgetItemIterator>

#include <algorithm>

CNavigationArea::CNavigationArea(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(1);
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(QSize(CSharedIcons::IconSize, CSharedIcons::IconSize));
    m_selection =
        connect(this, &QTreeWidget::itemSelectionChanged, this, [this] { OnSelectionChanged(); });
}

CNavigationArea::~CNavigationArea() {
    // The tree's own destruction reports selection changes while the entries are gone.
    disconnect(m_selection);
}

void CNavigationArea::ClearSelection() {
    clearSelection();
    setCurrentItem(nullptr);
}

void CNavigationArea::ExpandAll() {
    expandAll();
    if (QTreeWidgetItem* selected = GetSelectedItem()) {
        scrollToItem(selected);
    }
}

void CNavigationArea::CollapseAll() {
    collapseAll();
}

void CNavigationArea::ShowStateIcons(bool show) {
    m_showStateIcons = show;
    RefreshStates();
}

void CNavigationArea::SetEntryState(int viewId, int /*state*/) {
    if (m_showStateIcons && FindItemByViewId(viewId) != nullptr) {
        RefreshStates();
    }
}

void CNavigationArea::Clear() {
    m_entries.clear();
    clear();
}

bool CNavigationArea::DeleteItem(QTreeWidgetItem* item) {
    if (!m_entries.contains(item)) {
        return false;
    }
    ForgetEntries(item);
    delete item;
    return true;
}

CNavigationEntry* CNavigationArea::InsertEntry(int viewId, const std::string& label,
                                               QTreeWidgetItem* parent, QTreeWidgetItem* after) {
    if (parent != nullptr && !m_entries.contains(parent)) {
        return nullptr;
    }
    QTreeWidgetItem* root = parent ? parent : invisibleRootItem();
    const int afterIndex = after ? root->indexOfChild(after) : -1;
    const QString text = QString::fromStdString(label);
    auto* item = new QTreeWidgetItem(QStringList{text});
    item->setToolTip(0, text); // the whole label where a narrow pane cuts it short
    item->setData(0, kViewIdRole, viewId);
    root->insertChild(afterIndex < 0 ? root->childCount() : afterIndex + 1, item);
    auto& entry = m_entries[item];
    entry = std::make_unique<CNavigationEntry>(CNavigationEntry{viewId, item, 0, {}});
    ShowStateImage(item, 0);
    return entry.get();
}

void CNavigationArea::DeleteChildren(QTreeWidgetItem* item) {
    if (!m_entries.contains(item)) {
        return;
    }
    for (QTreeWidgetItem* child : item->takeChildren()) {
        ForgetEntries(child);
        delete child;
    }
}

CNavigationEntry* CNavigationArea::FindEntryByTag(const std::string& tag) {
    return FindEntry([&](const CNavigationEntry& entry) { return entry.tag == tag; });
}

QTreeWidgetItem* CNavigationArea::FindItemByViewId(int viewId) {
    CNavigationEntry* entry =
        FindEntry([&](const CNavigationEntry& candidate) { return candidate.viewId == viewId; });
    return entry ? entry->item : nullptr;
}

CNavigationEntry* CNavigationArea::FindEntryByItem(QTreeWidgetItem* item) {
    auto found = m_entries.find(item);
    return found != m_entries.end() ? found->second.get() : nullptr;
}

bool CNavigationArea::SelectView(int viewId) {
    QTreeWidgetItem* item = FindItemByViewId(viewId);
    if (item == nullptr) {
        return false;
    }
    setCurrentItem(item);
    item->setSelected(true);
    return true;
}

void CNavigationArea::RefreshStates() {
    for (int i = 0; i < topLevelItemCount(); ++i) {
        RefreshState(topLevelItem(i));
    }
}

int CNavigationArea::GetWorstRootState() const {
    int worst = 0;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        auto found = m_entries.find(topLevelItem(i));
        if (found != m_entries.end()) {
            worst = std::max(worst, found->second->state);
        }
    }
    return worst;
}

QTreeWidgetItem* CNavigationArea::GetSelectedItem() const {
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

void CNavigationArea::SetFocus() {
    setFocus(Qt::OtherFocusReason);
}

void CNavigationArea::mousePressEvent(QMouseEvent* event) {
    // A right click selects (and so shows) the item under the pointer before anything else.
    if (event->button() == Qt::RightButton) {
        if (QTreeWidgetItem* item = itemAt(event->position().toPoint())) {
            setCurrentItem(item);
            item->setSelected(true);
        }
    }
    QTreeWidget::mousePressEvent(event);
}

CNavigationEntry*
CNavigationArea::FindEntry(const std::function<bool(const CNavigationEntry&)>& match) {
    for (QTreeWidgetItemIterator it(this); *it != nullptr; ++it) {
        CNavigationEntry* entry = FindEntryByItem(*it);
        if (entry != nullptr && match(*entry)) {
            return entry;
        }
    }
    return nullptr;
}

void CNavigationArea::OnSelectionChanged() {
    const CNavigationEntry* entry = FindEntryByItem(GetSelectedItem());
    if (entry == nullptr || m_controller == nullptr) {
        return;
    }
    const int viewId = entry->viewId;
    Guarded("CNavigationArea: show the selected view", [&] { m_controller->ShowView(viewId); });
}

int CNavigationArea::RefreshState(QTreeWidgetItem* item) {
    CNavigationEntry* entry = FindEntryByItem(item);
    int state = entry ? ViewState(entry->viewId) : 0;
    for (int i = 0; i < item->childCount(); ++i) {
        state = std::max(state, RefreshState(item->child(i)));
    }
    if (entry != nullptr) {
        entry->state = state;
    }
    ShowStateImage(item, state);
    return state;
}

void CNavigationArea::ShowStateImage(QTreeWidgetItem* item, int state) {
    const bool known = state >= 0 && state < static_cast<int>(kStateIcons.size());
    const QVariant image = m_showStateIcons ? QVariant(known ? state : 0) : QVariant();
    if (item->data(0, kImageRole) == image) {
        return;
    }
    item->setData(0, kImageRole, image);
    item->setIcon(0, image.isValid() ? CSharedIcons::Instance().GetIcon(kStateIcons[image.toUInt()])
                                     : QIcon());
}

int CNavigationArea::ViewState(int viewId) const {
    const IApplicationView* view = m_controller ? m_controller->FindView(viewId) : nullptr;
    return view ? view->GetState() : 0;
}

void CNavigationArea::ForgetEntries(QTreeWidgetItem* item) {
    for (int i = 0; i < item->childCount(); ++i) {
        ForgetEntries(item->child(i));
    }
    m_entries.erase(item);
}
