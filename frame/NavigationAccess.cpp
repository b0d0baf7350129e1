#include "NavigationAccess.h"

#include "ui/NavigationArea.h"

#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

CNavigationAccess::CNavigationAccess(QWidget* control)
    : m_tree(control != nullptr ? control->findChild<QTreeWidget*>() : nullptr) {}

bool CNavigationAccess::IsBuilt() const {
    return m_tree != nullptr && m_tree->topLevelItemCount() > 0 && m_tree->currentItem() != nullptr;
}

std::optional<int> CNavigationAccess::ViewIdOf(QTreeWidgetItem* item) const {
    // Read from the item data, not through the tree's class: the tree lives in the server
    // library, whose type information the frame does not share.
    const QVariant viewId =
        item != nullptr ? item->data(0, CNavigationArea::kViewIdRole) : QVariant();
    return viewId.isValid() ? std::optional(viewId.toInt()) : std::nullopt;
}

std::vector<CNavigationAccess::SEntry> CNavigationAccess::Entries() const {
    std::vector<SEntry> entries;
    if (m_tree == nullptr) {
        return entries;
    }
    for (QTreeWidgetItemIterator it(m_tree); *it != nullptr; ++it) {
        if (const auto viewId = ViewIdOf(*it)) {
            entries.push_back({*it, *viewId, (*it)->text(0).toStdString()});
        }
    }
    return entries;
}

std::optional<CNavigationAccess::SEntry> CNavigationAccess::Selected() const {
    QTreeWidgetItem* item = m_tree != nullptr ? m_tree->currentItem() : nullptr;
    const auto viewId = ViewIdOf(item);
    if (!viewId) {
        return std::nullopt;
    }
    return SEntry{item, *viewId, item->text(0).toStdString()};
}

bool CNavigationAccess::Select(int viewId) const {
    for (const auto& entry : Entries()) {
        if (entry.viewId == viewId) {
            return Select(entry.item);
        }
    }
    return false;
}

bool CNavigationAccess::Select(QTreeWidgetItem* item) const {
    if (m_tree == nullptr || item == nullptr || item->treeWidget() != m_tree) {
        return false;
    }
    m_tree->scrollToItem(item);
    m_tree->setCurrentItem(item);
    return true;
}
