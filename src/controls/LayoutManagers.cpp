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
    int lineBottom = 0;       // of the lowest item of the current line (a row or one item)
    QPoint bottomRight(0, 0); // of the items as placed
    for (ILayoutItem* item : GetItems()) {
        const bool besidePrevious = item->GetGroupType() != 0 && rowOpen;
        // A new line starts below the tallest item of the line before, so that items of a
        // shared row with different heights are never overlapped.
        const int x = besidePrevious ? previous.x() + previousSize.width() + kGap : kMargin;
        const int y = besidePrevious ? previous.y() : lineBottom + kGap;
        rowOpen = item->GetGroupType() != 0;
        item->MoveTo(x, y);
        previous = item->GetPosition();
        previousSize = item->GetSize();
        const int bottom = previous.y() + previousSize.height();
        lineBottom = besidePrevious ? std::max(lineBottom, bottom) : bottom;
        bottomRight = {std::max(bottomRight.x(), previous.x() + previousSize.width()),
                       std::max(bottomRight.y(), bottom)};
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
