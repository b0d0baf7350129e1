#include "FrameAutomation.h"

#include "FrameError.h"
#include "FrameScript.h"
#include "FrameWindow.h"
#include "NavigationAccess.h"
#include "ViewWidgets.h"

#include "server/ControlViews.h"
#include "ui/Guard.h"
#include "ui/Scheduler.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTextEdit>

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
        m_steps.push_back({.action = [this, id = *m_options.viewId] { SelectView(id); }});
    }
    if (!m_options.scriptFile.empty()) {
        QueueScript(m_options.scriptFile);
    }
    if (!m_options.screenshotFile.empty()) {
        m_steps.push_back({.action = [this] { Grab(m_options.screenshotFile); }});
    }
    if (!m_options.screenshotDirectory.empty()) {
        m_steps.push_back({.action = [this] { QueueTour(m_options.screenshotDirectory); }});
    }
    if (m_options.closeWhenDone && (!m_steps.empty() || m_failed)) {
        m_steps.push_back({.wait = EWait::None, .action = [this] { m_window.close(); }});
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
    if (!IsReady(m_steps.front())) {
        return;
    }
    Step step = std::move(m_steps.front());
    m_steps.pop_front();
    // An action starts DTM traffic of its own: the next step waits for a new quiet period.
    m_quietSince.reset();
    m_waitingSince = Scheduler().NowMs();
    step.action();
}

bool CFrameAutomation::IsReady(const Step& step) {
    const std::int64_t waited = Scheduler().NowMs() - m_waitingSince;
    switch (step.wait) {
    case EWait::None:
        return true;
    case EWait::Time:
        return waited >= step.waitMs;
    case EWait::Settle:
    case EWait::Idle:
        break;
    }
    if (IsSettled(step.wait == EWait::Idle)) {
        return true;
    }
    if (waited < kSettleTimeoutMs) {
        return false;
    }
    const QString warning =
        QString("The view did not settle within %1 ms; going on.").arg(kSettleTimeoutMs);
    m_window.AppendLog(warning);
    std::cerr << "fdt-frame: " << warning.toStdString() << '\n';
    return true;
}

bool CFrameAutomation::IsSettled(bool idle) {
    QWidget* control = m_window.GetControlWidget();
    const bool quiet = CNavigationAccess(control).IsBuilt() && !(m_dtmBusy && m_dtmBusy()) &&
                       !(idle && ViewWidgets::IsBusyIndicatorRunning(control));
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
    if (const std::string error = ShowView(viewId); !error.empty()) {
        Fail(error);
    }
}

void CFrameAutomation::Grab(const std::string& path) {
    if (const std::string error = SaveScreenshot(path); !error.empty()) {
        Fail(error);
    }
}

std::string CFrameAutomation::SaveScreenshot(const std::string& path) {
    const std::filesystem::path file = std::filesystem::absolute(path);
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    if (!m_window.grab().save(QString::fromStdString(file.string()))) {
        return "cannot save the screenshot " + file.string();
    }
    m_screenshots.push_back(file.string());
    if (m_onScreenshot) {
        m_onScreenshot(file.string());
    }
    return {};
}

void CFrameAutomation::QueueTour(const std::string& directory) {
    const std::filesystem::path folder(directory);
    const auto entries = CNavigationAccess(m_window.GetControlWidget()).Entries();
    if (entries.empty()) {
        Fail("the navigation has no entries to show");
    }
    // The view shown now is the start view; then every entry in tree order.
    std::deque<Step> tour{{.wait = EWait::None,
                           .action = [this, folder] { Grab((folder / "00-start.png").string()); }}};
    int index = 1;
    for (const auto& entry : entries) {
        const std::string name = ScreenshotName(index++, entry.viewId, entry.label);
        tour.push_back(
            {.wait = EWait::None, .action = [this, viewId = entry.viewId] { SelectView(viewId); }});
        tour.push_back({.action = [this, path = (folder / name).string()] { Grab(path); }});
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

void CFrameAutomation::QueueScript(const std::string& file) {
    std::vector<SScriptStep> script;
    try {
        script = ReadFrameScript(file);
    } catch (const CFrameError& error) {
        // Nothing of a script that does not read runs.
        Fail(error.what());
        return;
    }
    // The script starts once the window has settled; then each step waits as it says.
    m_steps.push_back({.scripted = true, .action = [] {}});
    for (SScriptStep& line : script) {
        Step step{.wait = EWait::None, .waitMs = 0, .scripted = true, .action = {}};
        if (line.action == SScriptStep::EAction::WaitIdle) {
            step.wait = EWait::Idle;
        } else if (line.action == SScriptStep::EAction::WaitTime) {
            step.wait = EWait::Time;
            step.waitMs = line.number;
        }
        step.action = [this, line = std::move(line)] { RunScriptStep(line); };
        m_steps.push_back(std::move(step));
    }
}

void CFrameAutomation::RunScriptStep(const SScriptStep& step) {
    std::string error;
    try {
        error = Carry(step);
    } catch (const std::exception& failure) {
        error = failure.what();
    }
    if (error.empty()) {
        return;
    }
    Fail("script " + step.Describe() + ": " + error);
    std::erase_if(m_steps, [](const Step& queued) { return queued.scripted; });
}

std::string CFrameAutomation::Carry(const SScriptStep& step) {
    using EAction = SScriptStep::EAction;
    if (m_window.IsControlReleased()) {
        return "the control is released";
    }
    switch (step.action) {
    case EAction::View:
        return ShowView(step.number);
    case EAction::Press:
        return Press(step.arguments[0]);
    case EAction::Type:
        return Type(step.arguments[0], step.arguments[1]);
    case EAction::Choose:
        return Choose(step.arguments[0], step.arguments[1]);
    case EAction::Screenshot:
        return SaveScreenshot(step.arguments[0]);
    case EAction::WaitIdle:
    case EAction::WaitTime:
        break; // the step waited before it ran
    }
    return {};
}

std::string CFrameAutomation::ShowView(int viewId) {
    // Through the navigation as a user would; a view without an entry by the control's view
    // request.
    if (CNavigationAccess(m_window.GetControlWidget()).Select(viewId)) {
        return {};
    }
    VARIANT_BOOL shown = VARIANT_FALSE;
    IControlViews* views = m_window.GetControlViews();
    if (views == nullptr || FAILED(views->ShowView(viewId, &shown)) || shown == VARIANT_FALSE) {
        return "the control has no view " + std::to_string(viewId);
    }
    return {};
}

std::vector<QWidget*> CFrameAutomation::SearchRoots() const {
    std::vector<QWidget*> roots;
    if (IControlViews* views = m_window.GetControlViews()) {
        if (QWidget* view = views->GetCurrentViewWindow()) {
            roots.push_back(view);
        }
    }
    roots.push_back(m_window.GetControlWidget());
    return roots;
}

namespace {

// The one widget found in the first root that has any; else the reason.
template <class T, class Find>
std::pair<T*, std::string> FindOne(const std::vector<QWidget*>& roots, Find find,
                                   const std::string& what) {
    for (QWidget* root : roots) {
        const auto found = find(root);
        if (found.size() == 1) {
            return {found.front(), {}};
        }
        if (found.size() > 1) {
            return {nullptr, std::to_string(found.size()) + " visible " + what + "s"};
        }
    }
    return {nullptr, "no visible " + what};
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

} // namespace

std::string CFrameAutomation::Press(const std::string& label) {
    const QString text = QString::fromStdString(label);
    const auto [button, error] = FindOne<QPushButton>(
        SearchRoots(), [&](QWidget* root) { return ViewWidgets::Buttons(root, text); },
        "push button " + Quoted(label));
    if (button == nullptr) {
        return error;
    }
    if (!button->isEnabled()) {
        return "the push button " + Quoted(label) + " is disabled";
    }
    button->click();
    return {};
}

std::string CFrameAutomation::Type(const std::string& label, const std::string& text) {
    const auto [field, error] = FindOne<QWidget>(
        SearchRoots(),
        [&](QWidget* root) { return ViewWidgets::Fields(root, QString::fromStdString(label)); },
        "field " + Quoted(label));
    if (field == nullptr) {
        return error;
    }
    if (!field->isEnabled() || field->property("readOnly").toBool()) {
        return "the field " + Quoted(label) + " does not take input";
    }
    const QString typed = QString::fromStdString(text);
    if (auto* edit = qobject_cast<QLineEdit*>(field)) {
        // As typed over the whole text: textEdited and textChanged, then the end of editing
        // that Return brings (without Return itself, which a dialog would take for its
        // default button). The field does not take the focus, whose loss would end the
        // editing a second time.
        edit->selectAll();
        edit->insert(typed);
        if (edit->text() != typed) {
            return "the field " + Quoted(label) + " did not take " + Quoted(text);
        }
        if (edit->hasAcceptableInput()) {
            Q_EMIT edit->editingFinished();
        }
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(field)) {
        plain->selectAll();
        plain->insertPlainText(typed);
    } else if (auto* rich = qobject_cast<QTextEdit*>(field)) {
        rich->selectAll();
        rich->insertPlainText(typed);
    } else if (auto* spin = qobject_cast<QSpinBox*>(field)) {
        bool number = false;
        const int value = typed.toInt(&number);
        if (!number || value < spin->minimum() || value > spin->maximum()) {
            return "the field " + Quoted(label) + " did not take " + Quoted(text);
        }
        spin->setValue(value);
    }
    return {};
}

std::string CFrameAutomation::Choose(const std::string& label, const std::string& entry) {
    const auto [combo, error] = FindOne<QComboBox>(
        SearchRoots(),
        [&](QWidget* root) { return ViewWidgets::Combos(root, QString::fromStdString(label)); },
        "combo box " + Quoted(label));
    if (combo == nullptr) {
        return error;
    }
    if (!combo->isEnabled()) {
        return "the combo box " + Quoted(label) + " is disabled";
    }
    const int index = combo->findText(QString::fromStdString(entry), Qt::MatchExactly);
    if (index < 0) {
        return "the combo box " + Quoted(label) + " has no entry " + Quoted(entry);
    }
    // As a choice from the list: the index changes, then the activation signals.
    combo->setCurrentIndex(index);
    Q_EMIT combo->activated(index);
    Q_EMIT combo->textActivated(combo->itemText(index));
    return {};
}
