#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class CFrameWindow;

// The frame's unattended steps: select a view, save screenshots, close the window. Each step
// waits until the window has settled: the navigation is built (entries, one selected) and
// the DTM has had no reply on its way for kQuietMs. A step that waits longer than
// kSettleTimeoutMs goes ahead with a warning. Time comes from the process scheduler.
class CFrameAutomation {
public:
    static constexpr int kPollMs = 50;
    static constexpr int kQuietMs = 300;
    static constexpr int kSettleTimeoutMs = 20000;

    struct SSteps {
        std::optional<int> viewId;
        std::string screenshotFile;
        std::string screenshotDirectory;
        std::optional<int> quitAfterMs;
        // Close the window once the other steps are done.
        bool closeWhenDone = false;
    };
    // True while the DTM has a reply on its way.
    using BusyProbe = std::function<bool()>;

    CFrameAutomation(CFrameWindow& window, BusyProbe dtmBusy, SSteps steps);
    ~CFrameAutomation();
    CFrameAutomation(const CFrameAutomation&) = delete;
    CFrameAutomation& operator=(const CFrameAutomation&) = delete;

    // Runs with the path of every screenshot saved.
    void SetOnScreenshot(std::function<void(const std::string& path)> onScreenshot) {
        m_onScreenshot = std::move(onScreenshot);
    }

    void Start();
    bool IsDone() const { return m_steps.empty(); }
    // True when a view could not be selected or a screenshot not saved.
    bool HasFailed() const { return m_failed; }
    // The screenshots saved, in order.
    const std::vector<std::string>& GetScreenshots() const { return m_screenshots; }

    // "07-1302-histogram.png": index, view id and label of a navigation entry.
    static std::string ScreenshotName(int index, int viewId, const std::string& label);

private:
    struct Step {
        bool waitsForSettle = true;
        std::function<void()> action;
    };

    void Poll();
    bool IsSettled();
    void Fail(const std::string& message);
    void SelectView(int viewId);
    void Grab(const std::string& path);
    void QueueTour(const std::string& directory);

    CFrameWindow& m_window;
    BusyProbe m_dtmBusy;
    SSteps m_options;
    std::deque<Step> m_steps;
    std::optional<std::int64_t> m_quietSince;
    std::int64_t m_waitingSince = 0;
    bool m_failed = false;
    std::vector<std::string> m_screenshots;
    std::function<void(const std::string& path)> m_onScreenshot;
};
