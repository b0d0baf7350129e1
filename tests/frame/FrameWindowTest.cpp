// The frame's own parts against small fakes: the release protocol of its window, the DTM's
// dialogs, the scheduler that tells when the DTM is idle, and the command line.

#include "FrameTestSupport.h"

#include "FrameError.h"
#include "FrameOptions.h"
#include "FrameWindow.h"
#include "TrackingScheduler.h"

#include "com/ComObject.h"
#include "fdt/DtmInterfaces.h"
#include "server/ControlWidget.h"

#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>

#include <gmock/gmock.h>

#include <memory>

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

// A control that refuses to be released a given number of times and records what the frame
// does with it.
class CFakeControl : public ComObject<IDtmActiveXControl, IControlWidget> {
public:
    CFakeControl(std::vector<std::string>& events, int refusals)
        : m_events(events), m_refusals(refusals) {}

    HRESULT Init(const std::string&, const std::string&, IUnknown*, VARIANT_BOOL* result) override {
        *result = VARIANT_TRUE;
        return S_OK;
    }
    HRESULT PrepareToRelease(VARIANT_BOOL* result) override {
        const bool agree = m_refusals-- <= 0;
        m_events.push_back(agree ? "agree" : "refuse");
        *result = agree ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    }
    QWidget* GetWidget() override { return m_widget.get(); }
    void ReleaseWidget() override {
        m_events.push_back(m_widget->parent() == nullptr ? "widget back" : "widget still parented");
        m_widget->setParent(nullptr);
    }

private:
    ~CFakeControl() override { m_events.push_back("deleted"); }

    std::vector<std::string>& m_events;
    int m_refusals;
    std::unique_ptr<QWidget> m_widget = std::make_unique<QWidget>();
};

class FrameWindowTest : public ::testing::Test {
protected:
    FrameWindowTest() { SetScheduler(&m_scheduler); }
    ~FrameWindowTest() override { SetScheduler(nullptr); }

    std::unique_ptr<CFrameWindow> MakeWindow(int refusals, bool headless = true) {
        auto control = MakeCom<CFakeControl>(m_events, refusals);
        auto window = std::make_unique<CFrameWindow>(control.As<IUnknown>(), headless);
        window->show();
        return window;
    }

    CManualScheduler m_scheduler;
    std::vector<std::string> m_events;
};

TEST_F(FrameWindowTest, ClosingAsksAgainUntilTheControlAgreesThenHandsTheWidgetBack) {
    auto window = MakeWindow(2);
    QPointer<QWidget> widget = window->GetControlWidget();
    EXPECT_EQ(widget->parentWidget()->window(), window.get());

    window->close();
    Advance(m_scheduler, 10);
    EXPECT_THAT(m_events, ElementsAre("refuse"));
    EXPECT_TRUE(window->isVisible());
    Advance(m_scheduler, CFrameWindow::kReleaseRetryMs);
    EXPECT_THAT(m_events, ElementsAre("refuse", "refuse"));
    // Closing again while the release is under way asks no more often.
    window->close();
    Advance(m_scheduler, CFrameWindow::kReleaseRetryMs);

    // The widget is out of the window before the control takes it back and goes.
    EXPECT_THAT(m_events, ElementsAre("refuse", "refuse", "agree", "widget back", "deleted"));
    EXPECT_TRUE(window->IsControlReleased());
    EXPECT_FALSE(window->WasReleaseForced());
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(widget.isNull()); // deleted by its owner, the control
}

TEST_F(FrameWindowTest, AControlThatNeverAgreesIsReleasedAfterTheLastRequestWithAMessage) {
    auto window = MakeWindow(1000);
    window->close();
    Advance(m_scheduler, (CFrameWindow::kReleaseAttempts + 5) * CFrameWindow::kReleaseRetryMs);

    EXPECT_EQ(std::count(m_events.begin(), m_events.end(), "refuse"),
              CFrameWindow::kReleaseAttempts);
    EXPECT_THAT(std::vector(m_events.end() - 2, m_events.end()),
                ElementsAre("widget back", "deleted"));
    EXPECT_TRUE(window->WasReleaseForced());
    EXPECT_FALSE(window->isVisible());
    EXPECT_THAT(window->GetLog()->toPlainText().toStdString(),
                HasSubstr("did not agree to be released"));
}

TEST_F(FrameWindowTest, DestroyingTheWindowReleasesTheControlAndStopsAskingIt) {
    auto window = MakeWindow(1000);
    window->close();
    Advance(m_scheduler, 10);
    window.reset();
    EXPECT_THAT(m_events, ElementsAre("refuse", "refuse", "widget back", "deleted"));
    Advance(m_scheduler, 10 * CFrameWindow::kReleaseRetryMs); // no request reaches a freed window
    EXPECT_EQ(m_events.size(), 4u);
}

TEST_F(FrameWindowTest, AnObjectThatIsNoControlIsRefused) {
    struct CNotAControl : ComObject<IUpdateUI> {
        HRESULT UpdateUI(std::int32_t, const Variant&) override { return S_OK; }
    };
    try {
        CFrameWindow window(MakeCom<CNotAControl>().As<IUnknown>(), true);
        FAIL() << "a window for an object without a widget";
    } catch (const CFrameError& error) {
        EXPECT_EQ(error.GetExit(), EFrameExit::ClassNotCreated);
    }
}

TEST_F(FrameWindowTest, UserDialogsShowAsMessageBoxesThatDoNotBlockTheWindow) {
    auto window = MakeWindow(0, false);
    window->ShowUserDialog("HealthInformationDialog", "Supply pressure low");
    window->ShowUserDialog("InformationDialog", "Calibration done");

    const auto boxes = window->findChildren<QMessageBox*>();
    ASSERT_EQ(boxes.size(), 2);
    for (QMessageBox* box : boxes) {
        EXPECT_TRUE(box->isVisible());
        EXPECT_FALSE(box->isModal());
    }
    const std::string log = window->GetLog()->toPlainText().toStdString();
    EXPECT_THAT(log, HasSubstr("HealthInformationDialog: Supply pressure low"));
    EXPECT_THAT(log, HasSubstr("InformationDialog: Calibration done"));
    EXPECT_TRUE(window->GetLog()->isReadOnly());
}

TEST(TrackingSchedulerTest, CountsTheOneShotsEachOwnerHasOnTheirWay) {
    CManualScheduler inner;
    CTrackingScheduler scheduler(inner);
    int a = 0;
    int b = 0;
    int fired = 0;
    scheduler.StartOneShot(&a, 1, 30, [&] { ++fired; });
    scheduler.StartOneShot(&a, 2, 60, [&] { ++fired; });
    scheduler.StartOneShot(&a, 2, 90, [&] { ++fired; }); // replaces the one of the same id
    scheduler.StartOneShot(&b, 1, 30, [&] { ++fired; });
    scheduler.StartTimer(&a, 3, 10, [] {});
    EXPECT_EQ(scheduler.PendingOneShots(&a), 2u);
    EXPECT_EQ(scheduler.PendingOneShots(&b), 1u);

    inner.AdvanceBy(30);
    EXPECT_EQ(scheduler.PendingOneShots(&a), 1u);
    EXPECT_EQ(scheduler.PendingOneShots(&b), 0u);
    // A handler that starts its own id again leaves one on the way.
    scheduler.StartOneShot(&b, 1, 10, [&] { scheduler.StartOneShot(&b, 1, 10, [] {}); });
    inner.AdvanceBy(10);
    EXPECT_EQ(scheduler.PendingOneShots(&b), 1u);
    EXPECT_TRUE(scheduler.StopTimer(&b, 1));
    EXPECT_EQ(scheduler.PendingOneShots(&b), 0u);
    scheduler.StopAll(&a);
    EXPECT_EQ(scheduler.PendingOneShots(&a), 0u);
    inner.AdvanceBy(1000);
    EXPECT_EQ(fired, 2);
}

TEST(FrameOptionsTest, ReadsEveryOptionAndRefusesWhatItDoesNotKnow) {
    const SFrameOptions options =
        ParseFrameOptions({"--view", "1302", "--screenshot=shot.png", "--screenshot-all", "shots",
                           "--quit-after", "500", "--latency", "0", "--user-level", "observer",
                           "--no-private-dialogs", "--script", "views/1100.script"});
    EXPECT_EQ(options.viewId, 1302);
    EXPECT_EQ(options.screenshotFile, "shot.png");
    EXPECT_EQ(options.screenshotDirectory, "shots");
    EXPECT_EQ(options.quitAfterMs, 500);
    EXPECT_EQ(options.scriptFile, "views/1100.script");
    EXPECT_EQ(options.latencyMs, 0);
    EXPECT_EQ(options.userLevel, "observer");
    EXPECT_FALSE(options.privateDialogs);
    EXPECT_FALSE(options.registerServer);
    EXPECT_EQ(ParseFrameOptions({"--register", "--library", "/x/lib.so"}).libraryPath, "/x/lib.so");

    for (const auto& bad : std::vector<std::vector<std::string>>{{"--bogus"},
                                                                 {"--view"},
                                                                 {"--view", "12a"},
                                                                 {"--latency", "-1"},
                                                                 {"--quit-after", "99999999999"},
                                                                 {"--screenshot="},
                                                                 {"--script"},
                                                                 {"--register=yes"},
                                                                 {"--register", "--unregister"},
                                                                 {"stray"}}) {
        try {
            ParseFrameOptions(bad);
            ADD_FAILURE() << "accepted " << ::testing::PrintToString(bad);
        } catch (const CFrameError& error) {
            EXPECT_EQ(error.GetExit(), EFrameExit::Usage) << error.what();
        }
    }
}

} // namespace
