#include "AreaHarness.h"

#include "ui/LayoutDescriptionParser.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using ::testing::InSequence;
using ::testing::NiceMock;
using ::testing::Return;
using ::testing::StrictMock;

// Three levels, written the way the built-in layout is: single quotes and blanks around '='.
const std::string kNestedLayout = R"(<?xml version='1.0'?>
<UILayoutDescription>
  <NavigationArea>
    <Entry label= 'Vela FF' assignedApplicationViewId= '1' tag= 'root'>
      <Entry label= 'Dashboard' assignedApplicationViewId= '1100'/>
      <Entry label= 'Diagnostics' assignedApplicationViewId= '1300'>
        <Entry label= 'Histogram' assignedApplicationViewId= '1302' tag= 'hist'/>
        <Entry label= 'Trends' assignedApplicationViewId= ' 1303 '/>
      </Entry>
      <Entry label= 'No id'/>
      <Entry label= 'Not a number' assignedApplicationViewId= '12abc'/>
    </Entry>
    <Entry label= 'Second root' assignedApplicationViewId= '2'/>
  </NavigationArea>
</UILayoutDescription>)";

const std::string kNestedTree = "Vela FF(1)[root]{Dashboard(1100)[],Diagnostics(1300)[]{"
                                "Histogram(1302)[hist],Trends(1303)[]},No id(0)[],"
                                "Not a number(0)[]},Second root(2)[]";

class LayoutDescriptionParserTest : public ::testing::Test {
protected:
    LayoutDescriptionParserTest() {
        harness.controller.SetLayoutParser(CLayoutDescriptionParser::MakeLayoutParser(
            [this](const CGenericViewDescription& description, IUIController& controller,
                   QWidget* viewParent, ITextResource*) -> std::unique_ptr<IApplicationView> {
                EXPECT_EQ(&controller, &harness.controller);
                EXPECT_EQ(viewParent, harness.splitter);
                generic.push_back(description);
                return std::make_unique<NiceMock<MockView>>(description.viewId);
            }));
        for (int id : {1, 2, 1100, 1300, 1302, 1303}) {
            harness.AddView(id);
        }
    }

    AreaHarness harness;
    std::vector<CGenericViewDescription> generic;
};

TEST_F(LayoutDescriptionParserTest, NestedEntriesBuildTheSameTreeAndShowTheRoot) {
    harness.controller.LoadLayout(kNestedLayout);
    EXPECT_EQ(harness.Dump(), kNestedTree);
    EXPECT_EQ(harness.SelectedViewId(), 1);
    EXPECT_EQ(harness.controller.GetCurrentViewId(), 1);
    EXPECT_EQ(harness.control.focusWidget(), harness.tree);
    EXPECT_EQ(harness.tree->FindEntryByTag("hist")->viewId, 1302);
    EXPECT_FALSE(harness.controller.IsNavigationTreeHidden());
}

TEST_F(LayoutDescriptionParserTest, ReloadKeepsTheSelectionOnTheSameViewId) {
    harness.controller.LoadLayout(kNestedLayout);
    ASSERT_TRUE(harness.tree->SelectView(1302));
    harness.log.clear();

    harness.controller.LoadLayout(kNestedLayout);
    EXPECT_EQ(harness.Dump(), kNestedTree); // rebuilt, not appended
    EXPECT_EQ(harness.SelectedViewId(), 1302);
    EXPECT_EQ(harness.controller.GetCurrentViewId(), 1302);
    EXPECT_EQ(harness.log, std::vector<std::string>{"activated 1302"});

    // A tree without the view selects its root instead of leaving the tree without one;
    // hide='1' hides the tree.
    harness.controller.LoadLayout("<UILayoutDescription><NavigationArea hide='1'>"
                                  "<Entry label='Other' assignedApplicationViewId='2'/>"
                                  "</NavigationArea></UILayoutDescription>");
    EXPECT_EQ(harness.Dump(), "Other(2)[]");
    EXPECT_EQ(harness.SelectedViewId(), 2);
    EXPECT_EQ(harness.controller.GetCurrentViewId(), 2);
    EXPECT_TRUE(harness.controller.IsNavigationTreeHidden());
    EXPECT_FALSE(harness.tree->isVisibleTo(&harness.control));
}

TEST_F(LayoutDescriptionParserTest, ADocumentThatDoesNotLoadOrHasNoEntriesChangesNothing) {
    harness.controller.LoadLayout(kNestedLayout);
    ASSERT_TRUE(harness.tree->SelectView(1300));
    harness.log.clear();

    ReportedErrors reported;
    CLayoutDescriptionParser parser(harness.controller, *harness.tree, harness.splitter, nullptr);
    for (const std::string& bad :
         {std::string("<UILayoutDescription><NavigationArea>"), std::string("not xml at all"),
          kNestedLayout.substr(0, kNestedLayout.size() / 2)}) {
        EXPECT_FALSE(parser.Parse(bad));
    }
    EXPECT_EQ(reported.errors.size(), 3u);
    // Without a hook a generic view makes nothing.
    EXPECT_TRUE(parser.Parse("<UILayoutDescription><GenericView viewId='5000'/>"
                             "</UILayoutDescription>"));
    EXPECT_EQ(harness.controller.FindView(5000), nullptr);
    harness.controller.LoadLayout("<UILayoutDescription><NavigationArea/></UILayoutDescription>");
    harness.controller.LoadLayout("<Other><Entry label='Stray' assignedApplicationViewId='9'/>"
                                  "</Other>");

    EXPECT_EQ(harness.Dump(), kNestedTree);
    EXPECT_EQ(harness.SelectedViewId(), 1300);
    EXPECT_TRUE(harness.log.empty());
}

TEST_F(LayoutDescriptionParserTest, GenericViewsGoToTheHookAndAreRegistered) {
    ReportedErrors reported;
    harness.controller.LoadLayout(R"(<UILayoutDescription>
        <Group><GenericView viewId='5000'><Text tag='1'/></GenericView></Group>
        <GenericView viewId='5001' autoSizeLables='true' layoutManager='SingleColumnLayout'
                     helpContextId='77'/>
        <GenericView viewId='5002' autoSizeLables='yes'/>
        <GenericView viewId='1100'/>
        <GenericView viewId='5003' autoSizeLables='1'/>
    </UILayoutDescription>)");

    ASSERT_EQ(generic.size(), 4u); // 5002 is refused before its view is made
    EXPECT_EQ(generic[0].viewId, 5000);
    EXPECT_FALSE(generic[0].autoSizeLables);
    EXPECT_EQ(generic[0].layoutManager, "DummyLayout");
    EXPECT_EQ(generic[0].helpContextId, 0);
    EXPECT_EQ(generic[0].element.SelectAll("./*").size(), 1u);
    EXPECT_TRUE(generic[1].autoSizeLables);
    EXPECT_EQ(generic[1].layoutManager, "SingleColumnLayout");
    EXPECT_EQ(generic[1].helpContextId, 77);
    EXPECT_TRUE(generic[3].autoSizeLables);
    for (int id : {5000, 5001, 5003}) {
        EXPECT_NE(harness.controller.FindView(id), nullptr) << id;
    }
    EXPECT_EQ(harness.controller.FindView(5002), nullptr);
    EXPECT_THAT(reported.errors,
                ::testing::ElementsAre(
                    "CLayoutDescriptionParser: GenericView: Input format is not valid",
                    "CLayoutDescriptionParser: GenericView: view id 1100 is registered already"));
    // The tree was not touched: the document has no entries.
    EXPECT_EQ(harness.Dump(), "");
}

TEST(LayoutDescriptionParser, ClearsAndInsertsBeforeSelectingAndFocusing) {
    StrictMock<MockNavigationArea> navigation;
    NiceMock<MockEditModel> editModel;
    CUIController controller;
    QTreeWidgetItem root;
    QTreeWidgetItem selected;
    CNavigationEntry selectedEntry{1300, &selected, 0, {}};
    CNavigationEntry rootEntry{1, &root, 0, {}};
    CNavigationEntry childEntry{1300, nullptr, 0, {}};
    {
        InSequence order;
        EXPECT_CALL(navigation, GetSelectedItem()).WillOnce(Return(&selected));
        EXPECT_CALL(navigation, FindEntryByItem(&selected)).WillOnce(Return(&selectedEntry));
        EXPECT_CALL(navigation, Clear());
        EXPECT_CALL(navigation, InsertEntry(1, "Root", nullptr, nullptr))
            .WillOnce(Return(&rootEntry));
        EXPECT_CALL(navigation, InsertEntry(1300, "Child", &root, nullptr))
            .WillOnce(Return(&childEntry));
        EXPECT_CALL(navigation, SelectView(1300)).WillOnce(Return(true));
        EXPECT_CALL(navigation, SetFocus());
    }
    CLayoutDescriptionParser parser(controller, navigation, nullptr, nullptr);
    EXPECT_TRUE(parser.Parse("<UILayoutDescription><NavigationArea>"
                             "<Entry label='Root' assignedApplicationViewId='1' tag='t'>"
                             "<Entry label='Child' assignedApplicationViewId='1300'/></Entry>"
                             "</NavigationArea></UILayoutDescription>"));
    EXPECT_EQ(rootEntry.tag, "t");
}

TEST(LayoutDescriptionParser, NumbersThatAreNotDecimalReadAsZero) {
    EXPECT_EQ(CLayoutDescriptionParser::ReadNumber("1100"), 1100);
    EXPECT_EQ(CLayoutDescriptionParser::ReadNumber(" -7 "), -7);
    for (const char* text : {"", " ", "abc", "12abc", "0x10", "1.5", "99999999999"}) {
        EXPECT_EQ(CLayoutDescriptionParser::ReadNumber(text), 0) << text;
    }
}

} // namespace
