// The control factory's reading of descriptions, the layout managers' placement rules and the
// generic view built from a GenericView element.

#include "ControlsTestSupport.h"

#include "controls/CustomFdtControlFactory.h"
#include "controls/FdtStaticTextControl.h"
#include "controls/FdtTextControl.h"
#include "controls/GenericApplicationView.h"
#include "controls/LayoutItem.h"
#include "controls/LayoutManagers.h"
#include "ui/ApplicationViewLayout.h"
#include "ui/LayoutDescriptionParser.h"
#include "ui/UIController.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

// --- Factory ---------------------------------------------------------------------------------

class CCountingCustomFactory : public ICustomFdtControlFactory {
public:
    std::unique_ptr<IFdtControl> CreateCustomControl(const xml::Node& element, QWidget*) override {
        asked.push_back(element.Name());
        return nullptr;
    }
    Texts asked;
};

TEST(ControlFactoryTest, ReadsTheDescriptionAndNumbersControlsWithoutIdentifiers) {
    QWidget parent;
    CFakeOwner owner;
    CTextProvider texts;
    const int first = CFdtControlFactory::Instance().PeekNextControlId();
    EXPECT_GE(first, CFdtControlFactory::kFirstControlId);
    auto caption = MakeControl("<FdtCaptionControl label='Heading'/>", parent, owner, &texts);
    auto text =
        MakeControl("<FdtStaticTextControl label='Note' groupType='2'/>", parent, owner, &texts);
    EXPECT_EQ(caption->GetControlId(), first);
    EXPECT_EQ(text->GetControlId(), first + 1);
    EXPECT_EQ(text->GetGroupType(), 2);
    caption.reset(); // a view goes; the count goes on
    EXPECT_EQ(MakeControl("<FdtButtonControl/>", parent, owner, &texts)->GetControlId(), first + 2);

    // Position, size and the overwrites; -1 keeps the computed width.
    auto edit = MakeControl<CFdtTextControl>(
        "<FdtTextControl controlId='7' tag='T' width='120' height='30' enabled='0'>"
        "<Location x='40' y='abc'/><OverwriteSize controlWidth='-1' controlHeight='24'/>"
        "</FdtTextControl>",
        parent, owner, &texts);
    EXPECT_EQ(edit->GetPosition(), QPoint(40, 0));
    EXPECT_EQ(edit->GetField()->size(), QSize(120, 24));
    EXPECT_EQ(edit->GetTag(), "T");
    EXPECT_FALSE(edit->GetField()->isEnabled());

    // What the factory does not build, and what it refuses.
    CCountingCustomFactory custom;
    CFdtControlFactory::Instance().SetCustomFactory(&custom);
    CFdtControlFactory::Instance().SetCustomFactory(nullptr); // ignored
    EXPECT_EQ(MakeControl("<FdtManualTextControl controlId='3'/>", parent, owner, &texts), nullptr);
    EXPECT_EQ(MakeControl("<fdtTextControl controlId='3'/>", parent, owner, &texts), nullptr);
    EXPECT_THAT(custom.asked, ElementsAre("FdtManualTextControl", "fdtTextControl"));
    CFdtControlFactory::Instance().RemoveCustomFactory(&custom);
    EXPECT_EQ(CFdtControlFactory::Instance().GetCustomFactory(), nullptr);
    const auto refusal = [&](const std::string& element) {
        return CaughtError([&] { MakeControl(element, parent, owner, &texts); }).value_or("");
    };
    EXPECT_THAT(refusal("<FdtComboBoxControl label='No key'/>"), HasSubstr("no controlId"));
    EXPECT_EQ(refusal("<FdtTextControl controlId='1'><OverwriteLabelLines labelLines='two'/>"
                      "</FdtTextControl>"),
              "Input format is not valid");
    EXPECT_EQ(refusal("<FdtTextControl controlId='1' stringLength=''/>"), "Input is empty");
    EXPECT_EQ(refusal("<FdtTextControl controlId='x1'/>"), "Input format is not valid");
}

// --- Layout managers -------------------------------------------------------------------------

class CFakeItem : public ILayoutItem {
public:
    CFakeItem(QSize size, int groupType = 0, QPoint position = {})
        : m_size(size), m_position(position), m_groupType(groupType) {}
    QSize GetSize() const override { return m_size; }
    QPoint GetPosition() const override { return m_position; }
    void MoveTo(int x, int y) override { m_position = {x, y}; }
    int GetGroupType() const override { return m_groupType; }

private:
    QSize m_size;
    QPoint m_position;
    int m_groupType;
};

class CFakeContainer : public IApplicationViewLayout {
public:
    ILayoutManager* GetLayoutManager() const override { return nullptr; }
    void SetLayoutManager(std::unique_ptr<ILayoutManager>) override {}
    void SetScrollSize(const QSize& size) override { extents.push_back(size); }
    std::vector<QSize> extents;
};

TEST(LayoutManagerTest, SingleColumnStacksItemsAndGroupedItemsShareOneRow) {
    CFakeContainer container;
    std::unique_ptr<ILayoutManager> column =
        CLayoutManagerFactory::Instance().Create("SingleColumnLayout", &container);
    CFakeItem a({100, 20}), b({60, 30}), c({80, 10});
    for (CFakeItem* item : {&a, &b, &c}) {
        column->AddItem(item);
    }
    column->DoLayout();
    EXPECT_EQ(a.GetPosition(), QPoint(8, 8));
    EXPECT_EQ(b.GetPosition(), QPoint(8, 36));
    EXPECT_EQ(c.GetPosition(), QPoint(8, 74));
    EXPECT_THAT(container.extents, ElementsAre(QSize(108, 92)));

    // After a stand-alone item, grouped items form one row however wide it grows; the next
    // stand-alone item goes below the row.
    CFakeContainer rows;
    auto grouped = CLayoutManagerFactory::Instance().Create("SingleColumnLayout", &rows);
    CFakeItem top({50, 20}), first({300, 30}, 1), second({300, 20}, 1), third({300, 10}, 2),
        bottom({40, 10});
    for (CFakeItem* item : {&top, &first, &second, &third, &bottom}) {
        grouped->AddItem(item);
    }
    grouped->DoLayout();
    EXPECT_EQ(first.GetPosition(), QPoint(8, 36));
    EXPECT_EQ(second.GetPosition(), QPoint(316, 36));
    EXPECT_EQ(third.GetPosition(), QPoint(624, 36));
    EXPECT_EQ(bottom.GetPosition(), QPoint(8, 74)); // below the tallest item of the row
    // The extent takes in the whole row and ends below the last item.
    EXPECT_THAT(rows.extents, ElementsAre(QSize(924, 92)));

    EXPECT_EQ(CLayoutManagerFactory::Instance().Create("singleColumnLayout", &rows), nullptr);
}

TEST(LayoutManagerTest, DummyLayoutLeavesItemsWhereTheyAreAndReportsTheirBounds) {
    CFakeContainer container;
    auto dummy = CLayoutManagerFactory::Instance().Create("DummyLayout", &container);
    CFakeItem a({100, 20}, 0, {10, 200}), b({50, 50}, 1, {300, 5});
    dummy->AddItem(&a);
    dummy->AddItem(&b);
    EXPECT_EQ(static_cast<CDummyLayout*>(dummy.get())->GetExtent(), QSize(350, 220));
    dummy->DoLayout();
    EXPECT_EQ(a.GetPosition(), QPoint(10, 200));
    EXPECT_EQ(b.GetPosition(), QPoint(300, 5));
    EXPECT_THAT(container.extents, ElementsAre(QSize(350, 220)));
}

// --- Generic view ----------------------------------------------------------------------------

std::unique_ptr<CGenericApplicationView> BuildView(const std::string& layout,
                                                   CUIController& controller, QWidget& parent,
                                                   ITextResource& texts) {
    const xml::Document document = xml::Document::Parse(layout);
    const CGenericViewDescription description =
        CLayoutDescriptionParser::ReadGenericView(document.SelectSingle("//GenericView"));
    std::unique_ptr<IApplicationView> view =
        CGenericApplicationView::Build(description, controller, &parent, &texts);
    return std::unique_ptr<CGenericApplicationView>(
        static_cast<CGenericApplicationView*>(view.release()));
}

TEST(GenericViewTest, BuildsTheGoodControlsReportsTheBadOnesAndLinesTheFieldsUp) {
    CReports reports;
    CUIController controller;
    CTextProvider texts;
    QWidget parent;
    const auto view = BuildView(
        "<UILayoutDescription><GenericView viewId='2005' layoutManager='SingleColumnLayout' "
        "autoSizeLables='true' helpContextId='12'>"
        "<FdtTextControl controlId='1' label='Short'/>"
        "<FdtGauge controlId='2'/>"
        "<FdtComboBoxControl label='No key'/>"
        "<FdtTextControl controlId='3' groupType='x'/>"
        "<FdtTextControl controlId='1' label='Again'/>"
        "<FdtComboBoxControl controlId='4' label='A much longer label'/>"
        "<FdtCaptionControl label='Heading'/>"
        "</GenericView></UILayoutDescription>",
        controller, parent, texts);
    EXPECT_EQ(view->GetHelpContextId(), 12);
    EXPECT_THAT(reports.texts,
                ElementsAre(HasSubstr("FdtGauge: no control of this kind"),
                            HasSubstr("FdtComboBoxControl: FdtComboBoxControl: no controlId"),
                            HasSubstr("FdtTextControl: Input format is not valid"),
                            HasSubstr("FdtTextControl: control id 1 is used twice")));
    const std::vector<CFdtControlBase*>& controls = view->GetLaidOutControls();
    ASSERT_EQ(controls.size(), 3u);
    // Equal labels: both fields start where the longer label ends; the caption has none.
    EXPECT_EQ(controls[0]->GetField()->x(), controls[1]->GetField()->x());
    EXPECT_EQ(controls[1]->GetLabelWindow()->width(), controls[1]->GetNaturalLabelWidth());
    EXPECT_EQ(controls[2]->GetField()->x(), 0);
    // Only the data-bound controls are listed for reading.
    const std::string list = view->GetListOfControls();
    EXPECT_THAT(list, HasSubstr("parameterID=\"1\""));
    EXPECT_THAT(list, HasSubstr("parameterID=\"4\""));
    EXPECT_THAT(list, ::testing::Not(HasSubstr("parameterID=\"2000")));

    // An unknown layout manager places nothing: the controls stay at their locations.
    reports.texts.clear();
    const auto unplaced = BuildView(
        "<GenericView viewId='7' layoutManager='GridLayout'>"
        "<FdtStaticTextControl label='Here'><Location x='30' y='40'/></FdtStaticTextControl>"
        "</GenericView>",
        controller, parent, texts);
    EXPECT_EQ(unplaced->GetLaidOutControls().at(0)->GetPosition(), QPoint(30, 40));
    EXPECT_THAT(reports.texts, ElementsAre(HasSubstr("unknown layout manager \"GridLayout\"")));
}

} // namespace
