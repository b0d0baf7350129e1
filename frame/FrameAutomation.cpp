#include "FrameAutomation.h"

#include "FrameWindow.h"
#include "NavigationAccess.h"

#include "ui/Guard.h"
#include "ui/Scheduler.h"

#include <QPixmap>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <iostream>

namespace {

constexpr int kPollTimer = 1;
constexpr int kQuitTimer = 2;

} // namespace

CFrameAutomation::CFrameAutomation(CFrameWindow& window, BusyProbe dtmBusy, SSteps steps)
    : m_window(window), m_dtmBusy(std::move(dtmBusy)), m_options(std::move(steps)) {}

CFrameAutomation::~CFrameAutomation() {
    Scheduler().StopAll(this);
}

void CFrameAutomation::Start() {
    if (m_options.quitAfterMs) {
        Scheduler().StartOneShot(this, kQuitTimer, *m_options.quitAfterMs, [this] {
            Guarded("frame automation", [this] { m_window.close(); });
        });
    }
    if (m_options.viewId) {
        m_steps.push_back({true, [this, id = *m_options.viewId] { SelectView(id); }});
    }
    if (!m_options.screenshotFile.empty()) {
        m_steps.push_back({true, [this] { Grab(m_options.screenshotFile); }});
    }
    if (!m_options.screenshotDirectory.empty()) {
        m_steps.push_back({true, [this] { QueueTour(m_options.screenshotDirectory); }});
    }
    if (m_options.closeWhenDone && !m_steps.empty()) {
        m_steps.push_back({false, [this] { m_window.close(); }});
    }
    if (!m_steps.empty()) {
        m_waitingSince = Scheduler().NowMs();
        Scheduler().StartTimer(this, kPollTimer, kPollMs,
                               [this] { Guarded("frame automation", [this] { Poll(); }); });
    }
}

void CFrameAutomation::Poll() {
    if (m_steps.empty()) {
        Scheduler().StopTimer(this, kPollTimer);
        return;
    }
    if (m_steps.front().waitsForSettle && !IsSettled()) {
        if (Scheduler().NowMs() - m_waitingSince < kSettleTimeoutMs) {
            return;
        }
        const QString warning =
            QString("The view did not settle within %1 ms; going on.").arg(kSettleTimeoutMs);
        m_window.AppendLog(warning);
        std::cerr << "fdt-frame: " << warning.toStdString() << '\n';
    }
    Step step = std::move(m_steps.front());
    m_steps.pop_front();
    // An action starts DTM traffic of its own: the next step waits for a new quiet period.
    m_quietSince.reset();
    m_waitingSince = Scheduler().NowMs();
    step.action();
}

bool CFrameAutomation::IsSettled() {
    const bool quiet =
        CNavigationAccess(m_window.GetControlWidget()).IsBuilt() && !(m_dtmBusy && m_dtmBusy());
    if (!quiet) {
        m_quietSince.reset();
        return false;
    }
    const std::int64_t now = Scheduler().NowMs();
    if (!m_quietSince) {
        m_quietSince = now;
    }
    return now - *m_quietSince >= kQuietMs;
}

void CFrameAutomation::Fail(const std::string& message) {
    m_failed = true;
    m_window.AppendLog(QString::fromStdString(message));
    std::cerr << "fdt-frame: " << message << '\n';
}

void CFrameAutomation::SelectView(int viewId) {
    if (!CNavigationAccess(m_window.GetControlWidget()).Select(viewId)) {
        Fail("no navigation entry shows view " + std::to_string(viewId));
    }
}

void CFrameAutomation::Grab(const std::string& path) {
    const std::filesystem::path file = std::filesystem::absolute(path);
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    if (!m_window.grab().save(QString::fromStdString(file.string()))) {
        Fail("cannot save the screenshot " + file.string());
        return;
    }
    m_screenshots.push_back(file.string());
    if (m_onScreenshot) {
        m_onScreenshot(file.string());
    }
}

void CFrameAutomation::QueueTour(const std::string& directory) {
    const std::filesystem::path folder(directory);
    const auto entries = CNavigationAccess(m_window.GetControlWidget()).Entries();
    if (entries.empty()) {
        Fail("the navigation has no entries to show");
    }
    // The view shown now is the start view; then every entry in tree order.
    std::deque<Step> tour{{false, [this, folder] { Grab((folder / "00-start.png").string()); }}};
    int index = 1;
    for (const auto& entry : entries) {
        const std::string name = ScreenshotName(index++, entry.viewId, entry.label);
        tour.push_back({false, [this, viewId = entry.viewId] { SelectView(viewId); }});
        tour.push_back({true, [this, path = (folder / name).string()] { Grab(path); }});
    }
    m_steps.insert(m_steps.begin(), tour.begin(), tour.end());
}

std::string CFrameAutomation::ScreenshotName(int index, int viewId, const std::string& label) {
    std::string slug;
    for (const char c : label) {
        if (std::isalnum(static_cast<unsigned char>(c))) {
            slug += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        } else if (!slug.empty() && slug.back() != '-') {
            slug += '-';
        }
    }
    while (!slug.empty() && slug.back() == '-') {
        slug.pop_back();
    }
    char prefix[32];
    std::snprintf(prefix, sizeof prefix, "%02d-%d", index, viewId);
    return std::string(prefix) + (slug.empty() ? "" : "-" + slug) + ".png";
}
