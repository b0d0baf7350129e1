#include "AreaHarness.h"

#include "ui/NavigationArea.h"
#include "ui/SharedIcons.h"
#include "ui/UIEvents.h"

#include <QTest>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

using ::testing::_;
using ::testing::Return;

// The state image an item shows: its index, or -1 for none.
int Image(QTreeWidgetItem* item) {
    const QVariant image = item->data(0, CNavigationArea::kImageRole);
    return image.isValid() ? image.toInt() : -1;
}

class NavigationAreaTest : public ::testing::Test {
protected:
    // Root(1) { Alarms(1200) { Config(1204) }, Diagnostics(1300) }
    NavigationAreaTest() {
        root = tree.InsertEntry(1, "Root", nullptr, nullptr);
        alarms = tree.InsertEntry(1200, "Alarms", root->item, nullptr);
        config = tree.InsertEntry(1204, "Config", alarms->item, nullptr);
        diagnostics = tree.InsertEntry(1300, "Diagnostics", root->item, nullptr);
        tree.ExpandAll();
    }

    // Clicks the middle of the entry's row.
    void Click(const CNavigationEntry* entry, Qt::MouseButton button) {
        QTest::mouseClick(tree.viewport(), button, {}, tree.visualItemRect(entry->item).center());
    }

    AreaHarness harness;
    CNavigationArea& tree = *harness.tree;
    CNavigationEntry* root;
    CNavigationEntry* alarms;
    CNavigationEntry* config;
    CNavigationEntry* diagnostics;
};

TEST_F(NavigationAreaTest, EntriesAreInsertedFoundExpandedAndDeleted) {
    tree.CollapseAll();
    EXPECT_FALSE(root->item->isExpanded() || alarms->item->isExpanded());
    tree.ExpandAll();
    EXPECT_TRUE(root->item->isExpanded() && alarms->item->isExpanded());

    // Insert-after places the entry behind its sibling; an after item of another parent and
    // a parent of no entry are refused or ignored.
    CNavigationEntry* between = tree.InsertEntry(1250, "Between", root->item, alarms->item);
    CNavigationEntry* last = tree.InsertEntry(1400, "Last", root->item, config->item);
    QTreeWidgetItem foreign;
    EXPECT_EQ(tree.InsertEntry(9, "Stray", &foreign, nullptr), nullptr);
    between->tag = "between";
    EXPECT_EQ(harness.Dump(), "Root(1)[]{Alarms(1200)[]{Config(1204)[]},Between(1250)[between],"
                              "Diagnostics(1300)[],Last(1400)[]}");

    EXPECT_EQ(tree.FindEntryByTag("between"), between);
    EXPECT_EQ(tree.FindEntryByTag("none"), nullptr);
    EXPECT_EQ(tree.FindItemByViewId(1204), config->item);
    EXPECT_EQ(tree.FindItemByViewId(42), nullptr);
    EXPECT_EQ(tree.FindEntryByItem(last->item), last);

    QTreeWidgetItem* alarmsItem = alarms->item;
    QTreeWidgetItem* configItem = config->item;
    tree.DeleteChildren(alarmsItem);
    EXPECT_EQ(tree.FindEntryByItem(configItem), nullptr);
    EXPECT_TRUE(tree.DeleteItem(alarmsItem));
    EXPECT_FALSE(tree.DeleteItem(alarmsItem));
    EXPECT_FALSE(tree.DeleteItem(nullptr));
    EXPECT_EQ(harness.Dump(), "Root(1)[]{Between(1250)[between],Diagnostics(1300)[],Last(1400)[]}");

    tree.Clear();
    EXPECT_EQ(harness.Dump(), "");
    EXPECT_EQ(tree.FindItemByViewId(1), nullptr);
    EXPECT_EQ(tree.GetWorstRootState(), 0);
}

TEST_F(NavigationAreaTest, SelectingAnEntryShowsItsViewAndARightClickSelectsFirst) {
    harness.AddView(1200);
    harness.AddView(1300);
    Click(alarms, Qt::LeftButton);
    EXPECT_EQ(harness.controller.GetCurrentViewId(), 1200);
    Click(diagnostics, Qt::RightButton);
    EXPECT_EQ(harness.SelectedViewId(), 1300);
    EXPECT_EQ(harness.controller.GetCurrentViewId(), 1300);

    // An entry without a view asks for it; nobody answers and the old view stays.
    EXPECT_TRUE(tree.SelectView(1204));
    EXPECT_EQ(harness.controller.GetCurrentViewId(), 1300);
    EXPECT_EQ(harness.log,
              (std::vector<std::string>{"activated 1200", "activated 1300", "request 1204"}));
    EXPECT_FALSE(tree.SelectView(42));
    EXPECT_EQ(harness.SelectedViewId(), 1204);

    tree.ClearSelection();
    EXPECT_EQ(tree.GetSelectedItem(), nullptr);
    EXPECT_TRUE(tree.SelectView(1300)); // selecting the same entry again shows it again
    EXPECT_EQ(harness.log.back(), "activated 1300");
}

TEST_F(NavigationAreaTest, AFailingViewSwitchIsReportedNotThrown) {
    ReportedErrors reported;
    EXPECT_CALL(harness.editModel, OnUIEvent(_)).WillOnce([](CUIEventBase&) -> bool {
        throw std::runtime_error("no view");
    });
    EXPECT_NO_THROW(tree.SelectView(1204));
    EXPECT_EQ(reported.errors,
              std::vector<std::string>{"CNavigationArea: show the selected view: no view"});
}

TEST_F(NavigationAreaTest, EntriesShowTheWorstStateOfTheirViewAndChildren) {
    AcquireSharedIcons();
    ASSERT_FALSE(CSharedIcons::Instance().GetIcon(CNavigationArea::kStateIcons[2]).isNull());
    auto* configView = harness.AddView(1204, 2);
    auto* diagnosticsView = harness.AddView(1300, 0);

    // Without state icons states are kept but no image is shown, and SetEntryState does not
    // even look.
    EXPECT_CALL(*configView, GetState()).Times(0);
    harness.controller.SetViewState(1204, 2);
    EXPECT_EQ(Image(config->item), -1);
    ::testing::Mock::VerifyAndClearExpectations(configView);
    ON_CALL(*configView, GetState()).WillByDefault(Return(2));

    tree.ShowStateIcons(true);
    for (const CNavigationEntry* entry : {root, alarms, config}) {
        EXPECT_EQ(entry->state, 2);
        EXPECT_EQ(Image(entry->item), 2);
    }
    EXPECT_EQ(Image(diagnostics->item), 0);
    EXPECT_EQ(tree.GetWorstRootState(), 2);
    EXPECT_EQ(config->item->icon(0).cacheKey(),
              CSharedIcons::Instance().GetIcon(CNavigationArea::kStateIcons[2]).cacheKey());

    // A worse sibling wins at the root only; an unknown state shows the image of state 0.
    ON_CALL(*diagnosticsView, GetState()).WillByDefault(Return(3));
    harness.controller.SetViewState(1300, 3);
    EXPECT_EQ(Image(root->item), 3);
    EXPECT_EQ(Image(alarms->item), 2);
    ON_CALL(*diagnosticsView, GetState()).WillByDefault(Return(7));
    tree.RefreshStates();
    EXPECT_EQ(Image(root->item), 0);
    EXPECT_EQ(tree.GetWorstRootState(), 7);

    // A new entry shows the normal image; hiding the icons removes every image.
    EXPECT_EQ(Image(tree.InsertEntry(1500, "New", nullptr, nullptr)->item), 0);
    tree.ShowStateIcons(false);
    EXPECT_EQ(Image(root->item), -1);
    EXPECT_TRUE(root->item->icon(0).isNull());
    CSharedIcons::Instance().Release();
}

} // namespace
