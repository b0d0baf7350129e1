#include "controls/LayoutManagers.h"

#include "controls/LayoutItem.h"
#include "ui/ApplicationViewLayout.h"

#include <algorithm>

void CLayoutManagerBase::Report(QSize extent) const {
    if (m_container != nullptr) {
        m_container->SetScrollSize(extent);
    }
}

// --- Single column ---------------------------------------------------------------------------

void CSingleColumnLayout::AddItem(ILayoutItem* item) {
    if (item == nullptr) {
        return;
    }
    Append(item);
    const QSize size = item->GetSize();
    const QSize extent = GetExtent();
    SetExtent({std::max(extent.width(), size.width()), extent.height() + size.height() + kGap});
}

void CSingleColumnLayout::DoLayout() {
    QPoint previous(0, 0);
    QSize previousSize(0, 0);
    bool rowOpen = false;
    QPoint bottomRight(0, 0); // of the items as placed
    for (ILayoutItem* item : GetItems()) {
        int x = kMargin;
        int y = previous.y() + previousSize.height() + kGap;
        if (item->GetGroupType() != 0) {
            if (rowOpen) {
                // Beside the previous item of the row.
                x = previous.x() + previousSize.width() + kGap;
                y = previous.y();
            }
            rowOpen = true;
        } else {
            rowOpen = false;
        }
        item->MoveTo(x, y);
        previous = item->GetPosition();
        previousSize = item->GetSize();
        bottomRight = {std::max(bottomRight.x(), previous.x() + previousSize.width()),
                       std::max(bottomRight.y(), previous.y() + previousSize.height())};
    }
    // The running extent counts every item as a row of its own and knows the widest item, not
    // the widest row: the items of a shared row make the extent neither taller nor narrower
    // than they are. A column without shared rows gets the running extent.
    const QSize extent = GetExtent();
    const int width = std::max(extent.width() + kMargin, bottomRight.x());
    const int height = std::min(extent.height(), bottomRight.y() + kMargin);
    Report({width, GetItems().empty() ? extent.height() : height});
}

// --- Dummy -----------------------------------------------------------------------------------

void CDummyLayout::Include(const ILayoutItem& item) {
    const QPoint position = item.GetPosition();
    const QSize size = item.GetSize();
    const QSize extent = GetExtent();
    SetExtent({std::max(extent.width(), position.x() + size.width()),
               std::max(extent.height(), position.y() + size.height())});
}

void CDummyLayout::AddItem(ILayoutItem* item) {
    if (item == nullptr) {
        return;
    }
    Append(item);
    Include(*item);
}

void CDummyLayout::DoLayout() {
    SetExtent({0, 0});
    for (const ILayoutItem* item : GetItems()) {
        Include(*item);
    }
    Report(GetExtent());
}

// --- Factory ---------------------------------------------------------------------------------

CLayoutManagerFactory& CLayoutManagerFactory::Instance() {
    static CLayoutManagerFactory factory;
    return factory;
}

std::unique_ptr<ILayoutManager>
CLayoutManagerFactory::Create(const std::string& name, IApplicationViewLayout* container) const {
    std::unique_ptr<ILayoutManager> manager;
    if (name == kSingleColumnLayout) {
        manager = std::make_unique<CSingleColumnLayout>();
    } else if (name == kDummyLayout) {
        manager = std::make_unique<CDummyLayout>();
    } else {
        return nullptr;
    }
    manager->SetContainer(container);
    return manager;
}
