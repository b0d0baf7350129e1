#include "ui/Guard.h"
#include "ui/ManualScheduler.h"
#include "ui/QtScheduler.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

int g_owner1, g_owner2;

TEST(ManualScheduler, TimersDueInOneAdvanceFireInDueOrder) {
    CManualScheduler s;
    std::vector<std::string> fired;
    s.StartOneShot(&g_owner1, 1, 300, [&] { fired.push_back("a@" + std::to_string(s.NowMs())); });
    s.StartOneShot(&g_owner2, 1, 100, [&] { fired.push_back("b@" + std::to_string(s.NowMs())); });
    s.StartOneShot(&g_owner2, 2, 300, [&] { fired.push_back("c@" + std::to_string(s.NowMs())); });
    s.AdvanceBy(99);
    EXPECT_TRUE(fired.empty());
    s.AdvanceBy(500);
    EXPECT_EQ(fired, (std::vector<std::string>{"b@100", "a@300", "c@300"}));
    EXPECT_EQ(s.NowMs(), 599);
    EXPECT_EQ(s.TimerCount(), 0u);
}

TEST(ManualScheduler, PeriodicTimerFiresAsOftenAsItFallsDue) {
    CManualScheduler s;
    int count = 0;
    s.StartTimer(&g_owner1, 7, 100, [&] { ++count; });
    s.AdvanceBy(500);
    EXPECT_EQ(count, 5);
    s.AdvanceBy(50);
    EXPECT_EQ(count, 5);
    s.AdvanceBy(50);
    EXPECT_EQ(count, 6);
    // Starting a running id again replaces it and restarts its period.
    s.StartTimer(&g_owner1, 7, 1000, [&] { count += 100; });
    s.AdvanceBy(999);
    EXPECT_EQ(count, 6);
    s.AdvanceBy(1);
    EXPECT_EQ(count, 106);
}

TEST(ManualScheduler, HandlersMayStopRestartAndStartTimers) {
    CManualScheduler s;
    int ticks = 0;
    // Stops itself on the third tick.
    s.StartTimer(&g_owner1, 1, 100, [&] {
        if (++ticks == 3) {
            EXPECT_TRUE(s.StopTimer(&g_owner1, 1));
        }
    });
    // A one-shot that starts another one-shot falling due within the same advance.
    std::vector<std::int64_t> chain;
    s.StartOneShot(&g_owner2, 1, 50, [&] {
        chain.push_back(s.NowMs());
        s.StartOneShot(&g_owner2, 1, 50, [&] { chain.push_back(s.NowMs()); });
    });
    s.AdvanceBy(1000);
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(chain, (std::vector<std::int64_t>{50, 100}));
    EXPECT_FALSE(s.IsRunning(&g_owner1, 1));

    // StopAll stops every timer of one owner only.
    s.StartTimer(&g_owner1, 1, 10, [] {});
    s.StartTimer(&g_owner1, 2, 10, [] {});
    s.StartTimer(&g_owner2, 1, 10, [] {});
    s.StopAll(&g_owner1);
    EXPECT_FALSE(s.IsRunning(&g_owner1, 1));
    EXPECT_FALSE(s.IsRunning(&g_owner1, 2));
    EXPECT_TRUE(s.IsRunning(&g_owner2, 1));
    EXPECT_EQ(s.DueTime(&g_owner2, 1), s.NowMs() + 10);
}

TEST(ManualScheduler, PostedCallsRunAfterTheCurrentOneAndErrorsAreContained) {
    CManualScheduler s;
    std::vector<int> order;
    std::vector<std::string> reported;
    auto previous = SetGuardReporter([&](const std::string& where, const std::string& e) {
        reported.push_back(where + ": " + e);
    });
    s.StartOneShot(&g_owner1, 1, 10, [&] {
        s.Post([&] { order.push_back(2); });
        order.push_back(1);
        throw std::runtime_error("device gone");
    });
    s.StartOneShot(&g_owner1, 2, 20, [&] { order.push_back(3); });
    s.AdvanceBy(20);
    SetGuardReporter(previous);
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(reported, (std::vector<std::string>{"timer: device gone"}));
}

// Runs the Qt event loop until `done` or 5 s of real time.
template <class F> void SpinUntil(F done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

TEST(QtScheduler, RunsTimersAndPostedCallsOnTheEventLoop) {
    CQtScheduler s;
    int periodic = 0;
    bool oneShot = false;
    bool posted = false;
    s.StartTimer(&g_owner1, 1, 1, [&] {
        if (++periodic == 3) {
            s.StopTimer(&g_owner1, 1); // stopping inside its own handler
        }
    });
    s.StartOneShot(&g_owner1, 2, 1, [&] {
        oneShot = true;
        throw std::runtime_error("contained");
    });
    s.Post([&] { posted = true; });
    EXPECT_FALSE(posted);
    SpinUntil([&] { return periodic == 3 && oneShot && posted; });
    EXPECT_EQ(periodic, 3);
    EXPECT_TRUE(oneShot);
    EXPECT_TRUE(posted);
    EXPECT_FALSE(s.IsRunning(&g_owner1, 1));
    EXPECT_FALSE(s.IsRunning(&g_owner1, 2));
    QCoreApplication::processEvents();
    EXPECT_EQ(periodic, 3);
    EXPECT_GE(s.NowMs(), 0);

    s.StartTimer(&g_owner2, 1, 100000, [] {});
    EXPECT_TRUE(s.IsRunning(&g_owner2, 1));
    s.StopAll(&g_owner2);
    EXPECT_FALSE(s.IsRunning(&g_owner2, 1));
}

TEST(Scheduler, ProcessWideInstanceCanBeReplaced) {
    CManualScheduler manual;
    SetScheduler(&manual);
    EXPECT_EQ(&Scheduler(), &manual);
    SetScheduler(nullptr);
    EXPECT_NE(dynamic_cast<CQtScheduler*>(&Scheduler()), nullptr);
}

} // namespace
