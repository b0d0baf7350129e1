#include "UiFakes.h"

#include "ui/ApplicationViewBase.h"
#include "ui/ManualScheduler.h"
#include "ui/Scheduler.h"
#include "ui/ToolTipManager.h"
#include "ui/UIController.h"
#include "ui/ViewToolTip.h"
#include "xml/Xml.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolTip>
#include <QVBoxLayout>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using ::testing::_;
using ::testing::NiceMock;

// A view with a dialog of its own: one label and one field.
class TestView : public CApplicationViewBase<TestView, 202> {
public:
    explicit TestView(int viewId) : CApplicationViewBase(viewId) {}

    QLabel* label = nullptr;
    int initialised = 0;

protected:
    std::unique_ptr<QWidget> CreateDialogContent() override {
        auto dialog = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(dialog.get());
        label = new QLabel("Travel", dialog.get());
        layout->addWidget(label);
        return dialog;
    }
    void OnInitDialog() override { ++initialised; }
};

// A view that keeps the default, empty dialog.
class PlainView : public CApplicationViewBase<PlainView, 351> {
public:
    explicit PlainView(int viewId) : CApplicationViewBase(viewId) {}
};

QMouseEvent MouseEvent(QEvent::Type type) {
    return QMouseEvent(type, QPointF(5, 5), QPointF(105, 105),
                       type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                       type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
}

// Installs a manual scheduler for the test's lifetime.
class ManualTime {
public:
    ManualTime() { SetScheduler(&scheduler); }
    ~ManualTime() { SetScheduler(nullptr); }
    CManualScheduler scheduler;
};

MockControl* AddControl(CApplicationViewCore& view, int id, const std::string& tag, int state = 0) {
    auto control = std::make_unique<NiceMock<MockControl>>(id, tag, state);
    auto* raw = control.get();
    std::unique_ptr<IFdtControl> owned = std::move(control);
    EXPECT_TRUE(view.AddControl(owned));
    return raw;
}

TEST(ApplicationViewBase, CreatesAHiddenScrollingWindowAroundItsDialogOnce) {
    QWidget parent;
    TestView view(1000);
    QWidget* window = view.Create(&parent);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(view.Create(&parent), window);
    EXPECT_EQ(view.initialised, 1);
    EXPECT_EQ(window->parentWidget(), &parent);
    EXPECT_EQ(window->objectName(), "dialog202");
    EXPECT_TRUE(window->isHidden());
    ASSERT_NE(view.GetScrollArea(), nullptr);
    EXPECT_EQ(view.GetScrollArea()->widget(), view.GetContent());
    EXPECT_TRUE(view.GetContent()->isAncestorOf(view.label));

    PlainView plain(1100);
    plain.Create(nullptr);
    ASSERT_NE(plain.GetContent(), nullptr);
    EXPECT_TRUE(plain.GetContent()->children().isEmpty());
}

TEST(ApplicationViewBase, TheWindowGoesWithTheViewOrBeforeIt) {
    QPointer<QWidget> window;
    {
        TestView view(1);
        window = view.Create(nullptr);
    }
    EXPECT_TRUE(window.isNull());

    auto parent = std::make_unique<QWidget>();
    TestView view(2);
    view.Create(parent.get());
    parent.reset(); // the parent takes the window along
    EXPECT_EQ(view.GetWindow(), nullptr);
    EXPECT_EQ(view.GetContent(), nullptr);
    view.SetScrollSize(QSize(10, 10));
    view.AddToolTip(nullptr, "x");
}

TEST(ApplicationViewBase, ActivationRegistersTheToolTipWindowAndDeactivationClearsStatus) {
    ManualTime time;
    CUIController controller;
    NiceMock<MockStatusArea> status;
    controller.SetStatusArea(&status);
    TestView view(1100);
    view.Create(nullptr);
    view.SetController(&controller);
    view.AddToolTip(view.label, "Travel");
    CViewToolTip* tips = view.GetToolTipWindow();
    // What the tool-tip manager's hook does with a mouse move over the label.
    auto relayMove = [&] {
        CToolTipManager::Instance().Relay(view.label, MouseEvent(QEvent::MouseMove));
        const bool reached = time.scheduler.IsRunning(tips, CViewToolTip::kTimerId);
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(view.label, &leave);
        return reached;
    };
    EXPECT_FALSE(relayMove());

    EXPECT_CALL(status, SetMessageText("")).Times(2); // one per deactivation of an active view
    view.Deactivate();                                // not active: nothing
    view.Activate();
    view.Activate();
    EXPECT_TRUE(view.IsActive());
    EXPECT_TRUE(relayMove());
    view.Deactivate();
    EXPECT_FALSE(view.IsActive());
    EXPECT_FALSE(relayMove());
    view.Deactivate();
    EXPECT_NE(view.GetWindow(), nullptr); // deactivation does not destroy the window

    // A view deleted while active leaves nothing behind in the manager.
    {
        TestView active(1200);
        active.Create(nullptr);
        active.Activate();
    }
    view.Activate();
    EXPECT_TRUE(relayMove());
    view.Deactivate();

    // Without a controller and a window, activation still works.
    TestView bare(1300);
    bare.Activate();
    bare.Deactivate();
    EXPECT_FALSE(bare.IsActive());
}

TEST(ApplicationViewBase, UpdateControlsHandsEachControlItsElementByTag) {
    TestView view(1100);
    auto* plain = AddControl(view, 1, "plain");
    auto* apostrophe = AddControl(view, 2, "valve's travel");
    auto* both = AddControl(view, 3, "it's \"both\"");
    auto* missing = AddControl(view, 4, "missing");

    view.UpdateControls("<Data>"
                        "<ControlData tag='plain' value='1'/>"
                        "<Group><ControlData tag=\"valve's travel\" value='2'/></Group>"
                        "<ControlData tag='it&apos;s &quot;both&quot;' value='3'/>"
                        "<ControlData tag='other' value='4'/>"
                        "</Data>");
    EXPECT_EQ(plain->received, std::vector<std::string>{"1"});
    EXPECT_EQ(apostrophe->received, std::vector<std::string>{"2"});
    EXPECT_EQ(both->received, std::vector<std::string>{"3"});
    EXPECT_TRUE(missing->received.empty());

    // A tag cannot reach past its own quotes into the path.
    auto* injected = AddControl(view, 5, "x' or @tag!='");
    view.UpdateControls("<Data><ControlData tag='plain' value='5'/></Data>");
    EXPECT_TRUE(injected->received.empty());

    view.UpdateControls("<Data><ControlData tag='plain'"); // malformed: nothing
    view.UpdateControls("");
    EXPECT_EQ(plain->received, (std::vector<std::string>{"1", "5"}));
}

TEST(ApplicationViewBase, ListOfControlsNamesEveryControlWithItsParameterId) {
    TestView view(1307);
    AddControl(view, 22740996, "FrameCount");
    AddControl(view, -2, "a&b");
    std::unique_ptr<IFdtControl> duplicate = std::make_unique<NiceMock<MockControl>>(-2, "dup");
    EXPECT_FALSE(view.AddControl(duplicate));
    EXPECT_NE(duplicate, nullptr);

    const xml::Document list = xml::Document::Parse(view.GetListOfControls());
    EXPECT_EQ(list.Root().Name(), "ListOfControls");
    EXPECT_EQ(list.Attribute("/ListOfControls/@id"), "1307");
    std::vector<std::string> listed;
    for (const xml::Node& control : list.SelectAll("/ListOfControls/Control")) {
        listed.push_back(control.Attribute("@tag") + "=" + control.Attribute("@parameterID"));
    }
    EXPECT_EQ(listed, (std::vector<std::string>{"a&b=4294967294", "FrameCount=22740996"}));
    TestView empty(1);
    EXPECT_TRUE(xml::Document::Parse(empty.GetListOfControls()).SelectAll("//Control").empty());
}

TEST(ApplicationViewBase, UpdateStateReportsTheWorstControlStateWhenItChanges) {
    TestView view(1100);
    auto* first = AddControl(view, 1, "a", 0);
    auto* second = AddControl(view, 2, "b", 2);
    auto* third = AddControl(view, 3, "c", 1);
    view.UpdateState(); // no controller yet: nothing
    EXPECT_EQ(view.GetState(), 0);

    CUIController controller;
    NiceMock<MockNavigationArea> navigation;
    controller.SetNavigationArea(&navigation);
    view.SetController(&controller);
    {
        ::testing::InSequence order;
        for (int state : {2, 4, 1, 0}) {
            EXPECT_CALL(navigation, SetEntryState(1100, state));
        }
    }
    view.UpdateState();
    EXPECT_EQ(view.GetState(), 2);
    view.UpdateState(); // unchanged: not reported again
    first->state = 4;
    view.UpdateState();
    first->state = 0;
    second->state = 0;
    view.UpdateState(); // control "c" still 1
    EXPECT_EQ(view.GetState(), 1);
    third->state = 0;
    view.UpdateState();
    EXPECT_EQ(view.GetState(), 0);
}

TEST(ApplicationViewBase, RefreshAndUserLevelReachTheControls) {
    TestView view(1100);
    auto* first = AddControl(view, 1, "a");
    auto* second = AddControl(view, 2, "b");
    EXPECT_CALL(*first, RequestData()).Times(2);
    EXPECT_CALL(*second, RequestData()).Times(2);
    view.RefreshControls(-1);
    view.RefreshControls(2);
    view.RefreshControl(1);
    view.RefreshControl(99);
    view.RefreshControls(99);

    EXPECT_CALL(*first, OnUserLevelChanged());
    EXPECT_CALL(*second, OnUserLevelChanged());
    view.OnUserLevelChanged();
}

TEST(ApplicationViewBase, OwnsItsControlsAndItsLayoutManager) {
    int controlDeletions = 0;
    int managerDeletions = 0;
    {
        TestView view(1);
        view.Create(nullptr);
        std::unique_ptr<IFdtControl> control =
            std::make_unique<NiceMock<MockControl>>(1, "a", 0, &controlDeletions);
        EXPECT_TRUE(view.AddControl(control));
        EXPECT_EQ(control, nullptr);
        auto manager = std::make_unique<NiceMock<MockLayoutManager>>(&managerDeletions);
        ILayoutManager* raw = manager.get();
        view.SetLayoutManager(std::move(manager));
        EXPECT_EQ(view.GetLayoutManager(), raw);
        view.SetLayoutManager(std::make_unique<NiceMock<MockLayoutManager>>(&managerDeletions));
        EXPECT_EQ(managerDeletions, 1);
    }
    EXPECT_EQ(controlDeletions, 1);
    EXPECT_EQ(managerDeletions, 2);
}

TEST(ApplicationViewBase, SetScrollSizeScrollsHomeAndSetsTheExtent) {
    TestView view(1);
    QWidget* window = view.Create(nullptr);
    window->resize(200, 150);
    window->show();
    view.SetScrollSize(QSize(900, 700));
    QCoreApplication::processEvents();
    QScrollBar* horizontal = view.GetScrollArea()->horizontalScrollBar();
    QScrollBar* vertical = view.GetScrollArea()->verticalScrollBar();
    EXPECT_GT(horizontal->maximum(), 0);
    EXPECT_GT(vertical->maximum(), 0);
    horizontal->setValue(50);
    vertical->setValue(60);
    view.SetScrollSize(QSize(900, 700));
    EXPECT_EQ(horizontal->value(), 0);
    EXPECT_EQ(vertical->value(), 0);
    EXPECT_EQ(view.GetContent()->minimumSize(), QSize(900, 700));
}

TEST(ApplicationViewBase, ToolTipsShowWhenThePointerRestsOnAChildOfTheView) {
    ManualTime time;
    CManualScheduler& scheduler = time.scheduler;
    {
        TestView view(1);
        QWidget* window = view.Create(nullptr);
        window->show();
        CViewToolTip* tips = view.GetToolTipWindow();
        ASSERT_NE(tips, nullptr);

        QWidget stranger;
        view.AddToolTip(&stranger, "not mine");
        EXPECT_FALSE(tips->HasTool(&stranger));

        view.AddToolTip(view.label, "Valve travel in %");
        EXPECT_TRUE(tips->HasTool(view.label));
        EXPECT_EQ(tips->TipText(view.label), "Valve travel in %");

        tips->RelayEvent(view.label, MouseEvent(QEvent::MouseMove));
        scheduler.AdvanceBy(CViewToolTip::kDelayMs - 1);
        tips->RelayEvent(view.label, MouseEvent(QEvent::MouseMove)); // same tool: no restart
        EXPECT_FALSE(QToolTip::isVisible());
        scheduler.AdvanceBy(1);
        EXPECT_TRUE(QToolTip::isVisible());
        EXPECT_EQ(QToolTip::text(), "Valve travel in %");

        // A click puts it away; leaving the child ends it.
        tips->RelayEvent(view.label, MouseEvent(QEvent::MouseButtonPress));
        tips->RelayEvent(view.label, MouseEvent(QEvent::MouseMove));
        EXPECT_FALSE(scheduler.IsRunning(tips, CViewToolTip::kTimerId));
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(view.label, &leave);
        tips->RelayEvent(view.label, MouseEvent(QEvent::MouseMove));
        EXPECT_TRUE(scheduler.IsRunning(tips, CViewToolTip::kTimerId));
        tips->RelayEvent(view.GetContent(), MouseEvent(QEvent::MouseMove)); // off the tool
        EXPECT_FALSE(scheduler.IsRunning(tips, CViewToolTip::kTimerId));

        // The style's own tool tip is suppressed for our tools.
        QHelpEvent help(QEvent::ToolTip, QPoint(1, 1), QPoint(101, 101));
        EXPECT_TRUE(QCoreApplication::sendEvent(view.label, &help));

        // A long tip is wrapped at the width cap.
        view.AddToolTip(view.label, std::string(200, 'x'));
        EXPECT_TRUE(tips->TipText(view.label).startsWith("<table width='300'>"));

        // Removed while pending: nothing shows.
        auto* other = new QLabel("Other", view.GetContent());
        view.AddToolTip(other, "Other tip");
        tips->RelayEvent(other, MouseEvent(QEvent::MouseMove));
        view.RemoveToolTip(other);
        EXPECT_FALSE(tips->HasTool(other));
        scheduler.AdvanceBy(CViewToolTip::kDelayMs);
        EXPECT_NE(QToolTip::text(), "Other tip");
    }
    EXPECT_EQ(scheduler.TimerCount(), 0u);
}

} // namespace
