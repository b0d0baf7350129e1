#include "UiFakes.h"

#include "ui/PaneNavigator.h"
#include "ui/Splitter.h"
#include "ui/UIController.h"
#include "ui/UIEvents.h"

#include <QCoreApplication>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using ::testing::_;
using ::testing::InSequence;
using ::testing::NiceMock;
using ::testing::Return;
using ::testing::StrictMock;
using Log = std::vector<std::string>;

class FakePaneNavigator : public IPaneNavigator {
public:
    bool SetPane(int slot, QWidget* window) override {
        panes.at(slot) = window;
        return true;
    }
    void RemovePane(int slot) override { panes.at(slot) = nullptr; }
    std::array<QWidget*, kSlotCount> panes{};
};

// Counts the size messages the control window gets.
class ControlWindow : public QWidget {
public:
    int resizes = 0;

protected:
    void resizeEvent(QResizeEvent*) override { ++resizes; }
};

class UIControllerTest : public ::testing::Test {
protected:
    UIControllerTest() {
        controller.SetSplitter(splitter);
        controller.SetActionArea(&action);
        controller.SetIdentificationArea(&identification);
        controller.SetStatusArea(&status);
        controller.SetToolbarArea(&toolbar);
        controller.SetNavigationArea(&navigation);
        controller.SetPaneNavigator(&panes);
        controller.SetEditModel(&editModel);
        // The edit model logs "request <id>" and "activated <id>" and answers a request for
        // `buildable` by registering that view.
        ON_CALL(editModel, OnUIEvent(_)).WillByDefault([this](CUIEventBase& event) {
            if (auto* request = dynamic_cast<CViewRequestEvent*>(&event)) {
                log.push_back("request " + std::to_string(request->GetViewId()));
                if (request->GetViewId() == buildable) {
                    AddView(buildable);
                }
            } else if (auto* activated = dynamic_cast<CViewActivatedEvent*>(&event)) {
                log.push_back("activated " + std::to_string(activated->GetViewId()));
            }
            return true;
        });
        control.resize(800, 600);
        control.show();
    }

    // Registers a view under `id` that logs into `log`.
    NiceMock<MockView>* AddView(int id, bool withWindow = true) {
        auto view = std::make_unique<NiceMock<MockView>>(id, &deletions, &log, withWindow);
        auto* raw = view.get();
        std::unique_ptr<IApplicationView> owned = std::move(view);
        EXPECT_TRUE(controller.RegisterView(id, owned));
        return raw;
    }

    Log log;
    int deletions = 0;
    int buildable = -1;
    ControlWindow control;
    CSplitter* splitter = new CSplitter(&control);
    FakePaneNavigator panes;
    NiceMock<MockEditModel> editModel;
    NiceMock<MockActionArea> action;
    NiceMock<MockIdentificationArea> identification;
    NiceMock<MockStatusArea> status;
    NiceMock<MockToolbarArea> toolbar;
    NiceMock<MockNavigationArea> navigation;
    CUIController controller; // goes first, with its views
};

TEST_F(UIControllerTest, ShowViewPutsTheOldViewAwayBeforeShowingTheNewOne) {
    auto* first = AddView(1100);
    auto* second = AddView(1200);
    EXPECT_EQ(controller.GetCurrentViewId(), -1);
    controller.ShowView(1100);
    controller.ShowView(1200);
    controller.ShowView(1200); // the current view again: the whole switch once more
    EXPECT_EQ(log,
              (Log{"show 1100", "activate 1100", "activated 1100", "deactivate 1100", "hide 1100",
                   "show 1200", "activate 1200", "activated 1200", "deactivate 1200", "hide 1200",
                   "show 1200", "activate 1200", "activated 1200"}));
    EXPECT_FALSE(first->Window()->isVisible());
    EXPECT_TRUE(second->Window()->isVisible());
    EXPECT_EQ(splitter->GetSplitterPane(CSplitter::kRightPane), second->Window());
    EXPECT_EQ(panes.panes[IPaneNavigator::kViewSlot], second->Window());
    EXPECT_EQ(controller.GetCurrentViewId(), 1200);
    // Switching never destroys a view.
    EXPECT_EQ(controller.FindView(1100), first);
    EXPECT_EQ(deletions, 0);
}

TEST_F(UIControllerTest, ShowViewRequestsAMissingViewAndKeepsTheCurrentIdWhenItCannotSwitch) {
    buildable = 1000;
    controller.ShowView(1000);
    EXPECT_EQ(log, (Log{"request 1000", "show 1000", "activate 1000", "activated 1000"}));
    QWidget* shown = controller.FindView(1000)->GetWindow();
    log.clear();

    controller.ShowView(4711); // nobody builds it: nothing changes
    EXPECT_EQ(log, Log{"request 4711"});
    EXPECT_EQ(splitter->GetSplitterPane(CSplitter::kRightPane), shown);
    // A view without a window: the old view is put away, then the switch stops.
    AddView(1300, /*withWindow=*/false);
    controller.ShowView(1300);
    EXPECT_EQ(log, (Log{"request 4711", "deactivate 1000", "hide 1000"}));
    EXPECT_EQ(controller.GetCurrentViewId(), 1000);

    // Without an edit model the request reaches nobody; without a splitter nothing is asked.
    controller.SetEditModel(nullptr);
    controller.ShowView(4711);
    CUIController bare;
    bare.SetEditModel(&editModel);
    bare.ShowView(4711);
    EXPECT_EQ(log.size(), 3u);
    EXPECT_EQ(controller.GetCurrentViewId(), 1000);
    EXPECT_EQ(bare.GetCurrentViewId(), -1);
}

TEST_F(UIControllerTest, RegisterViewOfAKnownIdLeavesTheViewWithTheCaller) {
    auto* kept = AddView(1100);
    std::unique_ptr<IApplicationView> refused =
        std::make_unique<NiceMock<MockView>>(1100, &deletions);
    IApplicationView* refusedRaw = refused.get();
    EXPECT_FALSE(controller.RegisterView(1100, refused));
    EXPECT_EQ(refused.get(), refusedRaw);
    EXPECT_EQ(controller.FindView(1100), kept);
    refused.reset();
    EXPECT_EQ(deletions, 1);

    std::unique_ptr<IApplicationView> none;
    EXPECT_FALSE(controller.RegisterView(1200, none));
    EXPECT_EQ(controller.FindView(1200), nullptr);
}

TEST_F(UIControllerTest, RemoveViewRemoveAllViewsAndDestroyViewsDeleteEachViewOnce) {
    for (int id : {1100, 1200, 1300}) {
        AddView(id);
    }
    controller.RemoveView(1200);
    controller.RemoveView(4711);
    EXPECT_EQ(deletions, 1);
    EXPECT_EQ(controller.FindView(1200), nullptr);
    controller.RemoveAllViews();
    EXPECT_EQ(deletions, 3);
    EXPECT_EQ(controller.FindView(1100), nullptr);

    AddView(1100);
    AddView(1200);
    controller.ShowView(1200);
    controller.DestroyViews();
    EXPECT_EQ(deletions, 5);
    EXPECT_EQ(controller.FindView(1200), nullptr);
    EXPECT_EQ(panes.panes[IPaneNavigator::kViewSlot], nullptr);
    // The splitter, the areas but the navigation area, and the edit model are forgotten.
    EXPECT_EQ((std::vector<const void*>{controller.GetViewParent(), controller.GetActionArea(),
                                        controller.GetIdentificationArea(),
                                        controller.GetStatusArea(), controller.GetToolbarArea(),
                                        controller.GetEditModel(), controller.GetNavigationArea()}),
              (std::vector<const void*>{nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                        static_cast<INavigationArea*>(&navigation)}));
    CActionEventImpl event(10);
    EXPECT_FALSE(controller.SendEvent(event));
}

TEST_F(UIControllerTest, ViewsGoneWithTheirWindowsAreSafeToDelete) {
    auto* view = AddView(1100);
    controller.ShowView(1100);
    delete splitter; // the window goes first, as when the control window is torn down
    EXPECT_EQ(view->Window(), nullptr);
    EXPECT_EQ(controller.GetViewParent(), nullptr);
    controller.ShowView(1100); // no splitter: nothing
    controller.RemoveAllViews();
    EXPECT_EQ(deletions, 1);
}

TEST_F(UIControllerTest, BroadcastUpdatesReachAreasEditModelThenEveryViewInIdOrder) {
    auto* v30 = AddView(30); // registered out of order on purpose
    auto* v10 = AddView(10);
    auto* v20 = AddView(20);
    controller.SetBroadcastUpdates(true);
    {
        InSequence order;
        EXPECT_CALL(action, OnUpdate(100, "19464192"));
        EXPECT_CALL(editModel, OnUpdate(100, "19464192"));
        EXPECT_CALL(identification, OnUpdate(100, "19464192"));
        EXPECT_CALL(status, OnUpdate(100, "19464192"));
        EXPECT_CALL(toolbar, OnUpdate(100, "19464192"));
        EXPECT_CALL(*v10, OnUpdate(100, "19464192"));
        EXPECT_CALL(*v20, OnUpdate(100, "19464192"));
        EXPECT_CALL(*v30, OnUpdate(100, "19464192"));
    }
    controller.OnUpdate(100, "19464192");
}

TEST_F(UIControllerTest, AViewMayRemoveViewsWhileAnUpdateIsBroadcast) {
    auto* v10 = AddView(10);
    auto* v20 = AddView(20);
    controller.SetBroadcastUpdates(true);
    EXPECT_CALL(*v10, OnUpdate(_, _)).WillOnce([&] { controller.RemoveView(20); });
    EXPECT_CALL(*v20, OnUpdate(_, _)).Times(0);
    controller.OnUpdate(100, "1");
    EXPECT_EQ(deletions, 1);
}

TEST_F(UIControllerTest, UpdatesWithoutBroadcastReachOnlyTheCurrentView) {
    auto* v10 = AddView(10);
    auto* v20 = AddView(20);
    // The areas and the edit model get every update; without a current view no view does.
    EXPECT_CALL(status, OnUpdate(_, _)).Times(2);
    EXPECT_CALL(editModel, OnUpdate(_, _)).Times(2);
    EXPECT_CALL(*v10, OnUpdate(_, _)).Times(0);
    EXPECT_CALL(*v20, OnUpdate(600, "response"));
    controller.OnUpdate(100, "1");
    controller.ShowView(20);
    controller.OnUpdate(600, "response");
}

TEST_F(UIControllerTest, StateDocumentSetsPrivateDialogsAndTheUserLevelOnlyWhenItChanges) {
    for (auto* view : {AddView(1100), AddView(1200)}) {
        EXPECT_CALL(*view, OnUserLevelChanged()).Times(2);
    }
    EXPECT_CALL(editModel, OnUpdate(1, _)).Times(5);
    // The document is read once; the status area gets what was read, once per document that
    // parses.
    EXPECT_CALL(status, ShowDtmState(::testing::Field(&SDtmStateDocument::state, "Online")));
    EXPECT_CALL(status, ShowDtmState(::testing::Field(&SDtmStateDocument::state, "")));
    EXPECT_CALL(status, ShowDtmState(::testing::Field(&SDtmStateDocument::state, "Offline")));

    controller.OnUpdate(1, "<DtmState name='Vela' state='Online' isPrivateDialogEnabled='1' "
                           "userLevel='maintenance'/>");
    EXPECT_TRUE(controller.ArePrivateDialogsEnabled());
    EXPECT_EQ(controller.GetUserLevel(), "maintenance");

    // Missing attributes and a malformed document change nothing.
    controller.OnUpdate(1, "<DtmState state='Offline'/>");
    controller.OnUpdate(1, "<DtmState isPrivateDialogEnabled='0' userLevel='observer'");
    controller.OnUpdate(1, "");
    EXPECT_TRUE(controller.ArePrivateDialogsEnabled());
    EXPECT_EQ(controller.GetUserLevel(), "maintenance");

    // The same user level notifies no view; any other value than "1" disables the dialogs.
    controller.OnUpdate(1, "<s><a isPrivateDialogEnabled='true' userLevel='maintenance'/></s>");
    EXPECT_FALSE(controller.ArePrivateDialogsEnabled());
    controller.SetUserLevel("maintenance");
    controller.SetUserLevel("observer");
    EXPECT_EQ(controller.GetUserLevel(), "observer");
}

TEST_F(UIControllerTest, HidingTheTreeNeedsAnEditModelAndHidingAreasLaysTheControlOutAgain) {
    controller.SetEditModel(nullptr);
    controller.HideNavigationTree(true);
    EXPECT_FALSE(controller.IsNavigationTreeHidden());
    EXPECT_FALSE(splitter->IsRightPaneOnly());
    controller.SetEditModel(&editModel);
    controller.HideNavigationTree(true);
    EXPECT_TRUE(splitter->IsRightPaneOnly());
    controller.HideNavigationTree(false);
    EXPECT_FALSE(controller.IsNavigationTreeHidden());

    action.setParent(&control);
    action.show();
    QCoreApplication::processEvents();
    control.resizes = 0;
    EXPECT_CALL(action, SetVisible(false));
    controller.HideActionArea(true);
    EXPECT_TRUE(action.isHidden());
    EXPECT_EQ(control.resizes, 0); // posted, not sent
    QCoreApplication::processEvents();
    EXPECT_EQ(control.resizes, 1);
    EXPECT_CALL(action, SetVisible(true));
    controller.HideActionArea(false);
    EXPECT_FALSE(action.isHidden());
    QCoreApplication::processEvents();
    EXPECT_EQ(control.resizes, 2);
    EXPECT_CALL(toolbar, SetVisible(false));
    controller.HideToolbarArea(true);
    QCoreApplication::processEvents();
    EXPECT_EQ(control.resizes, 3);
    action.setParent(nullptr);
}

TEST_F(UIControllerTest, EventsAndQuestionsGoToTheEditModelWhenThereIsOne) {
    CActionEventImpl event(200);
    EXPECT_CALL(editModel, OnUIEvent(_)).WillOnce(Return(false)).WillOnce(Return(true));
    EXPECT_FALSE(controller.SendEvent(event));
    EXPECT_TRUE(controller.SendEvent(event));
    EXPECT_CALL(editModel, IsEditingAllowed()).WillOnce(Return(false));
    EXPECT_FALSE(controller.IsEditingAllowed());
    EXPECT_CALL(editModel, ShowHelp(0, 0));
    controller.ForwardToEditModel(0, 0);
    {
        InSequence order;
        EXPECT_CALL(navigation, SetEntryState(1100, 2));
        EXPECT_CALL(editModel, OnViewStateChanged(1100));
    }
    controller.SetViewState(1100, 2);

    // Without an edit model and areas: nothing is sent, editing is allowed, and updates reach
    // only the areas that are set.
    CUIController bare;
    EXPECT_FALSE(bare.SendEvent(event));
    EXPECT_TRUE(bare.IsEditingAllowed());
    bare.ForwardToEditModel(0, 0);
    bare.SetViewState(1100, 2);
    bare.HideActionArea(true);
    bare.HideToolbarArea(true);
    EXPECT_FALSE(bare.IsNavigationTreeHidden());
    StrictMock<MockStatusArea> onlyStatus;
    bare.SetStatusArea(&onlyStatus);
    EXPECT_CALL(onlyStatus, OnUpdate(100, "7"));
    bare.OnUpdate(100, "7");
}

TEST_F(UIControllerTest, ControlRequestsGoToTheNamedViews) {
    auto* v10 = AddView(10);
    auto* v20 = AddView(20);
    EXPECT_CALL(*v10, RefreshControls(-1));
    EXPECT_CALL(*v20, RefreshControls(-1));
    controller.RefreshControls(-1, -1);
    EXPECT_CALL(*v20, RefreshControls(19464192));
    controller.RefreshControls(20, 19464192);
    controller.RefreshControls(99, 1); // no such view
    EXPECT_CALL(*v10, RefreshControl(5));
    controller.RefreshViewControl(10, 5);
    controller.RefreshViewControl(99, 5);
    EXPECT_CALL(*v10, UpdateControls("<ControlData tag='x'/>"));
    controller.UpdateViewControls(10, "<ControlData tag='x'/>");
    controller.UpdateViewControls(99, "<ControlData tag='x'/>");
}

TEST_F(UIControllerTest, LoadLayoutHandsTheDocumentToTheParser) {
    Log parsed;
    controller.LoadLayout("<UILayoutDescription/>"); // no parser yet: nothing
    controller.SetLayoutParser([&](const std::string& layout, IUIController& owner,
                                   INavigationArea& tree, QWidget* viewParent, ITextResource*) {
        EXPECT_EQ(&owner, &controller);
        EXPECT_EQ(&tree, &navigation);
        EXPECT_EQ(viewParent, splitter);
        parsed.push_back(layout);
    });
    controller.LoadLayout("");
    controller.LoadLayout("<UILayoutDescription/>");
    controller.SetNavigationArea(nullptr);
    controller.LoadLayout("<UILayoutDescription/>");
    EXPECT_EQ(parsed, Log{"<UILayoutDescription/>"});
}

TEST(Splitter, HoldsOneWindowPerPaneAndHidesTheLeftPaneOnRequest) {
    CSplitter splitter;
    splitter.resize(400, 300);
    splitter.show();
    // A window made with the splitter as parent is not a pane of its own.
    auto* tree = new QWidget(&splitter);
    auto* view = new QWidget(&splitter);
    view->hide();
    QCoreApplication::processEvents();
    EXPECT_EQ(splitter.count(), 2);

    splitter.SetSplitterPane(CSplitter::kLeftPane, tree);
    splitter.SetSplitterPane(CSplitter::kRightPane, view);
    view->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(splitter.GetSplitterPane(CSplitter::kLeftPane), tree);
    EXPECT_EQ(splitter.GetSplitterPane(CSplitter::kRightPane), view);
    EXPECT_EQ(splitter.GetSplitterPane(2), nullptr);

    splitter.SetSplitterPos(100);
    EXPECT_EQ(splitter.sizes().at(0), 100);
    splitter.SetSplitterPos(-1);
    EXPECT_LE(std::abs(splitter.sizes().at(0) - splitter.sizes().at(1)), 1);

    splitter.SetRightPaneOnly(true);
    EXPECT_FALSE(tree->isVisible());
    EXPECT_TRUE(view->isVisible());
    splitter.SetRightPaneOnly(false);
    EXPECT_TRUE(tree->isVisible());
    delete view;
    EXPECT_EQ(splitter.GetSplitterPane(CSplitter::kRightPane), nullptr);
}

} // namespace
