#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class CFrameWindow;
class QWidget;
struct SScriptStep;

// The frame's unattended steps, in this order: select a view, run a script (FrameScript.h),
// save a screenshot, save screenshots of every entry, close the window. Each option's step
// and the script's start wait until the window has settled: the navigation is built (entries,
// one selected) and the DTM has had no reply on its way for kQuietMs. A script's steps then
// run one a poll, waiting only where they say so ("wait idle" also waits for busy indicators
// to stop). A wait longer than kSettleTimeoutMs goes ahead with a warning. A script step
// that cannot be carried out fails the run and drops the rest of the script; the other
// steps still run. Time comes from the process scheduler.
class CFrameAutomation {
public:
    static constexpr int kPollMs = 50;
    static constexpr int kQuietMs = 300;
    static constexpr int kSettleTimeoutMs = 20000;

    struct SSteps {
        std::optional<int> viewId;
        std::string screenshotFile;
        std::string screenshotDirectory;
        // The script file; empty: none.
        std::string scriptFile;
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
    // True when a view could not be selected, a screenshot not saved or a script step not
    // carried out.
    bool HasFailed() const { return m_failed; }
    // The screenshots saved, in order.
    const std::vector<std::string>& GetScreenshots() const { return m_screenshots; }

    // "07-1302-histogram.png": index, view id and label of a navigation entry.
    static std::string ScreenshotName(int index, int viewId, const std::string& label);

private:
    enum class EWait { None, Settle, Idle, Time };
    struct Step {
        EWait wait = EWait::Settle;
        int waitMs = 0; // EWait::Time
        bool scripted = false;
        std::function<void()> action;
    };

    void Poll();
    bool IsReady(const Step& step);
    // The navigation is built and the DTM quiet (and, for `idle`, no busy indicator runs) for
    // kQuietMs.
    bool IsSettled(bool idle);
    void Fail(const std::string& message);
    void SelectView(int viewId);
    void Grab(const std::string& path);
    // Empty when saved, else the reason.
    std::string SaveScreenshot(const std::string& path);
    void QueueTour(const std::string& directory);
    void QueueScript(const std::string& file);
    void RunScriptStep(const SScriptStep& step);
    // Empty when done, else the reason.
    std::string Carry(const SScriptStep& step);
    std::string ShowView(int viewId);
    std::string Press(const std::string& label);
    std::string Type(const std::string& label, const std::string& text);
    std::string Choose(const std::string& label, const std::string& entry);
    // The window of the current view, else the control's whole window.
    std::vector<QWidget*> SearchRoots() const;

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
