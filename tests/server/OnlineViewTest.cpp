#include "server/OnlineView.h"

#include "server/PaneTabNavigator.h"
#include "server/ServerTestSupport.h"
#include "ui/Guard.h"
#include "ui/ManualScheduler.h"
#include "ui/Scheduler.h"
#include "ui/SharedIcons.h"
#include "ui/TextProviderSlot.h"
#include "ui/ToolTipManager.h"
#include "ui/UiFakes.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using ::testing::_;
using ::testing::Contains;
using ::testing::InSequence;
using ::testing::Return;
using ::testing::Throw;

namespace {

constexpr const char* kInvokeId = "invoke-1";

// The first child of `window` that is a `T`.
template <class T> T* Child(const QWidget* window) {
    for (QObject* child : window->children()) {
        if (auto* found = dynamic_cast<T*>(child)) {
            return found;
        }
    }
    return nullptr;
}

class OnlineViewTest : public ::testing::Test {
protected:
    OnlineViewTest()
        : m_previousReporter(
              SetGuardReporter([this](const std::string& where, const std::string& error) {
                  m_reports.push_back(where + ": " + error);
              })) {
        SetScheduler(&m_scheduler);
    }
    ~OnlineViewTest() override {
        m_control = nullptr; // the control, then the DTM it may still hold
        m_dtm = nullptr;
        SetScheduler(nullptr);
        SetGuardReporter(m_previousReporter);
    }

    // The control's window shown at `size`, laid out by the posted size message.
    QWidget* Show(QSize size = {800, 600}) {
        QWidget* window = m_control->GetWidget();
        window->resize(size);
        window->show();
        QCoreApplication::sendPostedEvents(window, QEvent::Resize);
        return window;
    }
    VARIANT_BOOL Init() { return Init(m_dtm->Unknown()); }
    VARIANT_BOOL Init(IUnknown* dtm, const std::string& functionCall = kFunctionCall) {
        VARIANT_BOOL result = VARIANT_TRUE;
        EXPECT_EQ(m_control->Init(kInvokeId, functionCall, dtm, &result), S_OK);
        return result;
    }
    VARIANT_BOOL PrepareToRelease() {
        VARIANT_BOOL result = VARIANT_FALSE;
        EXPECT_EQ(m_control->PrepareToRelease(&result), S_OK);
        return result;
    }

    CUIController& Controller() { return m_control->GetController(); }
    std::string ConnectionText() {
        const auto* status = Child<CStatusArea>(m_control->GetWidget());
        return status->GetPane(CStatusArea::kConnectionPane).GetText().toStdString();
    }
    int TooltipHooks() { return CToolTipManager::Instance().InstallCount(); }
    // Registers and shows under `viewId` a view of two line edits whose OnUpdate throws, as
    // a view that fails on bad data would.
    void ShowEditsView(int viewId) {
        auto view = std::make_unique<::testing::NiceMock<MockView>>(viewId);
        auto* layout = new QVBoxLayout(view->Window());
        for (const char* name : {"first", "second"}) {
            auto* edit = new QLineEdit(view->Window());
            edit->setObjectName(name);
            layout->addWidget(edit);
        }
        ON_CALL(*view, OnUpdate(_, _)).WillByDefault(Throw(std::runtime_error("bad data")));
        std::unique_ptr<IApplicationView> registered = std::move(view);
        ASSERT_TRUE(Controller().RegisterView(viewId, registered));
        Controller().ShowView(viewId);
    }

    std::vector<std::string> m_reports; // what the guards caught and dropped
    GuardReporter m_previousReporter;
    CManualScheduler m_scheduler;
    ComPtr<CFakeDtm> m_dtm = MakeCom<CFakeDtm>();
    ComPtr<COnlineView> m_control = MakeCom<COnlineView>();
};

// --- Init ----------------------------------------------------------------------------------

TEST_F(OnlineViewTest, InitRegistersThenReadsTheStateThenStartsTheEditModel) {
    // The DTM's texts reach the areas through the text provider.
    m_dtm->properties["UI_TEXT_0"] = "Verbunden";
    m_dtm->properties["PV-101"] = "Stellungsregler PV-101";
    QWidget* window = Show();
    IDtmActiveXControl* self = m_control.As<IDtmActiveXControl>().Get();
    {
        InSequence order;
        EXPECT_CALL(m_dtm->calls, RegisterUI("IDtmUIRegistration", "VelaFFDiagnosisUI.OnlineView",
                                             kInvokeId, self))
            .WillOnce(Return(true));
        EXPECT_CALL(m_dtm->calls, GetStateDocument("IDtmUIRegistration"))
            .WillOnce(
                Return(R"(<S><DtmState name="PV-101" state="Online" userLevel="planner"/></S>)"));
        EXPECT_CALL(m_dtm->calls, ExecuteFunction(_, 0, ""));
        for (const char* key : {"19464192", "19791872", "22806528", "23199744"}) {
            EXPECT_CALL(m_dtm->calls, ExecuteFunction(2, 4, key));
        }
    }
    const int hooks = TooltipHooks();

    EXPECT_EQ(Init(), VARIANT_TRUE);

    EXPECT_TRUE(Controller().IsRegistered());
    EXPECT_EQ(Controller().GetUserLevel(), "planner");
    EXPECT_NE(Controller().GetEditModel(), nullptr);
    EXPECT_EQ(TooltipHooks(), hooks + 1);
    EXPECT_EQ(Child<CIdentificationArea>(window)->GetTitle(), "Stellungsregler PV-101");
    EXPECT_EQ(ConnectionText(), "Verbunden");
    // The edit model gives the tree a quarter of the width; the tree has the focus.
    EXPECT_EQ(Child<CSplitter>(window)->sizes().value(0), 200);
    EXPECT_NE(dynamic_cast<CNavigationArea*>(window->focusWidget()), nullptr);
    // The validators take the control's text provider from the process-wide slot while the
    // control lives.
    EXPECT_EQ(GetProcessTextProvider(), Controller().GetTextProvider());
    m_control = nullptr;
    EXPECT_EQ(GetProcessTextProvider(), nullptr);
}

TEST_F(OnlineViewTest, InitPrefersTheRegistrationInterfaceAndFallsBackOnTheUIAccess) {
    Show();
    EXPECT_CALL(m_dtm->calls, RegisterUI("IDtmUIRegistration", _, _, _));
    EXPECT_EQ(Init(), VARIANT_TRUE);

    // The UI access takes the same calls; a refused registration still answers true.
    auto dtm = MakeCom<CFakeDtm>();
    dtm->offerRegistration = false;
    EXPECT_CALL(dtm->calls, RegisterUI("IDtmUIAccess", _, _, _)).WillOnce(Return(false));
    EXPECT_CALL(dtm->calls, GetStateDocument("IDtmUIAccess"));
    EXPECT_EQ(Init(dtm->Unknown()), VARIANT_TRUE);
    EXPECT_FALSE(Controller().IsRegistered());
    EXPECT_CALL(dtm->calls, UnregisterUI("IDtmUIAccess", kInvokeId, false));
    EXPECT_EQ(PrepareToRelease(), VARIANT_TRUE);
}

TEST_F(OnlineViewTest, InitWithoutEitherRegistrationInterfaceAnswersFalseButShowsTheUI) {
    m_dtm->offerRegistration = false;
    m_dtm->offerAccess = false;
    EXPECT_CALL(m_dtm->calls, RegisterUI(_, _, _, _)).Times(0);
    EXPECT_CALL(m_dtm->calls, GetStateDocument(_)).Times(0);
    QWidget* window = Show();
    const int hooks = TooltipHooks();

    EXPECT_EQ(Init(), VARIANT_FALSE);

    EXPECT_FALSE(Controller().IsRegistered());
    EXPECT_NE(Controller().GetEditModel(), nullptr);
    EXPECT_EQ(TooltipHooks(), hooks + 1);
    EXPECT_EQ(ConnectionText(), "Disconnected");
    EXPECT_GT(Child<CSplitter>(window)->height(), 0);
    EXPECT_NE(dynamic_cast<CNavigationArea*>(window->focusWidget()), nullptr);
}

TEST_F(OnlineViewTest, InitRefusesAnEmptyDtmOrAnInvalidFunctionCallAndStartsNothing) {
    EXPECT_CALL(m_dtm->calls, RegisterUI(_, _, _, _)).Times(0);
    EXPECT_CALL(m_dtm->calls, GetStateDocument(_)).Times(0);
    EXPECT_CALL(m_dtm->calls, ExecuteFunction(_, _, _)).Times(0);
    EXPECT_CALL(m_dtm->calls, UnregisterUI(_, _, _)).Times(0);
    EXPECT_EQ(PrepareToRelease(), VARIANT_TRUE); // without window or Init
    Show();
    const int hooks = TooltipHooks();

    EXPECT_EQ(Init(nullptr), VARIANT_FALSE);
    for (const char* functionCall : {"<FDT", R"(<FDT><FDTFunctionCall functionId="1"/></FDT>)"}) {
        EXPECT_EQ(Init(m_dtm->Unknown(), functionCall), VARIANT_FALSE) << functionCall;
    }

    EXPECT_EQ(Controller().GetEditModel(), nullptr);
    EXPECT_EQ(Controller().GetTextProvider(), nullptr);
    EXPECT_EQ(TooltipHooks(), hooks);
    EXPECT_EQ(PrepareToRelease(), VARIANT_TRUE); // nothing stored to unregister from
}

// --- PrepareToRelease and UpdateUI ---------------------------------------------------------

TEST_F(OnlineViewTest, PrepareToReleaseEndsTheEditModelThenUnregistersWithTheRegisteredFlag) {
    for (const bool registered : {true, false}) {
        m_control = MakeCom<COnlineView>();
        auto dtm = MakeCom<CFakeDtm>();
        EXPECT_CALL(dtm->calls, RegisterUI(_, _, _, _)).WillOnce(Return(registered));
        Show();
        EXPECT_EQ(Init(dtm->Unknown()), VARIANT_TRUE);
        {
            InSequence order;
            EXPECT_CALL(dtm->calls, ExecuteFunction(_, 1, ""));
            EXPECT_CALL(dtm->calls, UnregisterUI("IDtmUIRegistration", kInvokeId, registered));
        }
        EXPECT_EQ(PrepareToRelease(), VARIANT_TRUE);
        EXPECT_EQ(Controller().GetEditModel(), nullptr);
        EXPECT_EQ(PrepareToRelease(), VARIANT_TRUE); // the DTM is dropped: calls nothing
        ::testing::Mock::VerifyAndClearExpectations(&dtm->calls);
    }
}

TEST_F(OnlineViewTest, UpdateUIPassesTheDataAsTextAndSwallowsEveryFailure) {
    EXPECT_EQ(m_control->UpdateUI(1, Variant("<no document")), S_OK);
    Show();
    EXPECT_EQ(Init(), VARIANT_TRUE);
    ShowEditsView(500);
    for (const Variant& garbage : {Variant(), Variant("<<<"), Variant(3.5), Variant(true),
                                   Variant(-1), Variant("99999999999999999999")}) {
        for (const std::int32_t updateType : {1, 40, 100, 600, -7}) {
            EXPECT_EQ(m_control->UpdateUI(updateType, garbage), S_OK);
        }
    }
    EXPECT_THAT(m_reports, Contains("COnlineView::UpdateUI: bad data"));
    // A state document still gets through to the areas.
    EXPECT_EQ(m_control->UpdateUI(1, Variant(R"(<DtmState state="Aborted"/>)")), S_OK);
    EXPECT_NE(ConnectionText(), "Connected");
}

// --- Layout --------------------------------------------------------------------------------

class LayoutTest : public OnlineViewTest {
protected:
    struct Heights {
        int identification, toolbar, splitter, action, status;
    };
    // The heights of the areas, after checking that they fill the window top down without
    // gaps, the status area at the bottom.
    Heights Stacked() const {
        const QWidget* window = m_control->GetControlWindow();
        const Heights h{Child<CIdentificationArea>(window)->height(),
                        Child<CToolbarArea>(window)->height(), Child<CSplitter>(window)->height(),
                        Child<CActionArea>(window)->height(), Child<CStatusArea>(window)->height()};
        EXPECT_EQ(Child<CToolbarArea>(window)->y(), h.identification);
        EXPECT_EQ(Child<CSplitter>(window)->y(), h.identification + h.toolbar);
        EXPECT_EQ(Child<CActionArea>(window)->y(), h.identification + h.toolbar + h.splitter);
        EXPECT_EQ(Child<CStatusArea>(window)->y(), window->height() - h.status);
        EXPECT_EQ(h.identification + h.toolbar + h.splitter + h.action + h.status,
                  window->height());
        return h;
    }
};

TEST_F(LayoutTest, BeforeTheWindowNothingIsLaidOutAndThePostedSizeLaysTheAreasOut) {
    m_control->LayoutAreas();
    EXPECT_EQ(Init(), VARIANT_TRUE);
    QWidget* window = m_control->GetWidget();
    const auto* status = Child<CStatusArea>(window);
    const QRect before = status->geometry();
    QCoreApplication::sendPostedEvents(window, QEvent::Resize);
    EXPECT_NE(status->geometry(), before);
    EXPECT_EQ(status->geometry(), QRect(0, window->height() - status->GetHeight(), window->width(),
                                        status->GetHeight()));
    Stacked();
    EXPECT_EQ(ConnectionText(), "Connected");
}

TEST_F(LayoutTest, HiddenAreasGiveTheirHeightToTheSplitterAndATinyWindowToTheStatusArea) {
    QWidget* window = Show();
    const Heights shown = Stacked();
    ASSERT_GT(shown.toolbar, 0);
    ASSERT_GT(shown.action, 0);
    const auto relayout = [window] { QCoreApplication::sendPostedEvents(window, QEvent::Resize); };

    Controller().HideToolbarArea(true);
    relayout();
    EXPECT_EQ(Stacked().toolbar, 0);
    EXPECT_EQ(Stacked().splitter, shown.splitter + shown.toolbar);
    Controller().HideActionArea(true);
    relayout();
    EXPECT_EQ(Stacked().action, 0);
    EXPECT_EQ(Stacked().splitter, shown.splitter + shown.toolbar + shown.action);
    Controller().HideToolbarArea(false);
    Controller().HideActionArea(false);
    relayout();
    EXPECT_EQ(Stacked().splitter, shown.splitter);

    Show({300, 5});
    ASSERT_GT(Child<CStatusArea>(window)->GetHeight(), 5);
    const Heights tiny = Stacked();
    EXPECT_EQ(tiny.status, 5);
    EXPECT_EQ(Child<CStatusArea>(window)->geometry(), QRect(0, 0, 300, 5));
}

// --- Keyboard and window ownership ---------------------------------------------------------

TEST_F(OnlineViewTest, TabLeavesTheTreeForTheCurrentViewAndShiftTabComesBack) {
    QWidget* window = Show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    ShowEditsView(500);
    auto* tree = Child<CSplitter>(window)->findChild<QTreeWidget*>();
    auto* first = window->findChild<QLineEdit*>("first");
    tree->setFocus();

    QTest::keyClick(tree, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), first);
    QTest::keyClick(first, Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), tree);
}

TEST_F(OnlineViewTest, TheControlOwnsItsWindowWhereverTheFrameParentsIt) {
    const int icons = CSharedIcons::Instance().UseCount();
    auto frame = std::make_unique<QWidget>();
    QPointer<QWidget> window = m_control->GetWidget();
    window->setParent(frame.get());
    frame->show();
    ShowEditsView(500);
    QPointer<QWidget> view = Controller().FindView(500)->GetWindow();
    EXPECT_EQ(CSharedIcons::Instance().UseCount(), icons + 1);

    m_control->ReleaseWidget();
    EXPECT_EQ(window->parentWidget(), nullptr);
    frame.reset();
    ASSERT_FALSE(window.isNull());

    m_control = nullptr;
    EXPECT_TRUE(window.isNull() && view.isNull());
    EXPECT_EQ(CSharedIcons::Instance().UseCount(), icons);
    EXPECT_EQ(CPaneTabNavigator::HookCount(), 0);
}

TEST_F(OnlineViewTest, AWindowTheFrameDeletesAnywayLeavesTheControlSound) {
    auto frame = std::make_unique<QWidget>();
    QPointer<QWidget> window = m_control->GetWidget();
    window->setParent(frame.get());
    frame.reset();
    ASSERT_TRUE(window.isNull());

    EXPECT_EQ(m_control->GetControlWindow(), nullptr);
    EXPECT_EQ(Init(), VARIANT_TRUE);
    QWidget* again = Show();
    EXPECT_EQ(Child<CSplitter>(again)->parentWidget(), again);
    EXPECT_EQ(ConnectionText(), "Connected");
}

} // namespace
