#pragma once

#include "ui/LayoutManager.h"

#include <QSize>

#include <memory>
#include <string>
#include <vector>

class ILayoutItem;

// What both layout managers share: the items in the order added, the running extent and the
// view that receives it.
class CLayoutManagerBase : public ILayoutManager {
public:
    void SetContainer(IApplicationViewLayout* container) override { m_container = container; }
    const std::vector<ILayoutItem*>& GetItems() const { return m_items; }
    QSize GetExtent() const { return m_extent; }

protected:
    explicit CLayoutManagerBase(QSize extent) : m_extent(extent) {}
    void Append(ILayoutItem* item) { m_items.push_back(item); }
    void SetExtent(QSize extent) { m_extent = extent; }
    // Hands `extent` to the container, when there is one.
    void Report(QSize extent) const;

private:
    std::vector<ILayoutItem*> m_items;
    QSize m_extent;
    IApplicationViewLayout* m_container = nullptr;
};

// Stacks the items top to bottom with margins and gaps of 8; consecutive items of a non-zero
// group type share one row, left to right.
class CSingleColumnLayout : public CLayoutManagerBase {
public:
    static constexpr int kMargin = 8;
    static constexpr int kGap = 8;

    CSingleColumnLayout() : CLayoutManagerBase({0, kMargin}) {}

    void AddItem(ILayoutItem* item) override;
    void DoLayout() override;
};

// Leaves every item where its description placed it and reports their bounding extent.
class CDummyLayout : public CLayoutManagerBase {
public:
    CDummyLayout() : CLayoutManagerBase({0, 0}) {}

    void AddItem(ILayoutItem* item) override;
    void DoLayout() override;

private:
    void Include(const ILayoutItem& item);
};

// Makes the layout manager of a name, for a view (one factory per process).
class CLayoutManagerFactory {
public:
    static constexpr const char* kSingleColumnLayout = "SingleColumnLayout";
    static constexpr const char* kDummyLayout = "DummyLayout";

    static CLayoutManagerFactory& Instance();

    // The manager of `name` (exact comparison) with `container` set; null for another name.
    std::unique_ptr<ILayoutManager> Create(const std::string& name,
                                           IApplicationViewLayout* container) const;
};
