#pragma once

// The online view control in the frame's window with the simulated DTM, on the manual
// scheduler, and the device views shown through its controller.

#include "FrameTestSupport.h"
#include "TestPaths.h"

#include "FrameSession.h"
#include "NavigationAccess.h"

#include "com/ComObject.h"
#include "dtm/SimulatedDtm.h"
#include "server/OnlineView.h"
#include "ui/Guard.h"
#include "ui/StatusArea.h"
#include "ui/UIController.h"
#include "views/common/DeviceViewServices.h"
#include "views/diagnostics/ValveTestView.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QString>

#include <gmock/gmock.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

inline constexpr int kLatencyMs = 30;

class EndToEndTest : public ::testing::Test {
protected:
    EndToEndTest() { SetScheduler(&m_scheduler); }
    ~EndToEndTest() override {
        m_session.reset();
        SetScheduler(nullptr);
    }

    // The frame's session with the in-process control and the options given.
    void Open(SFrameOptions options = {}) {
        if (!options.latencyMs) {
            options.latencyMs = kLatencyMs;
        }
        m_objectsBefore = com::Module::Objects();
        ComPtr<COnlineView> control = MakeCom<COnlineView>();
        m_control = control.Get(); // the session holds it
        m_session =
            std::make_unique<CFrameSession>(options, control.As<IUnknown>(), true, OV_DTM_DATA_DIR);
        m_objectsBefore += 1; // the session's DTM
    }

    // Open, Start and the DTM's first answers.
    void Started(SFrameOptions options = {}) {
        Open(std::move(options));
        ASSERT_TRUE(m_session->Start());
        Advance(m_scheduler, 10 * kLatencyMs);
    }
    CFrameWindow& Window() { return m_session->GetWindow(); }
    CSimulatedDtm& Dtm() { return m_session->GetDtm(); }
    CNavigationAccess Navigation() { return CNavigationAccess(Window().GetControlWidget()); }
    const CStatusPane& ConnectionPane() {
        return FindWidget<CStatusArea>(Window().GetControlWidget())
            ->GetPane(CStatusArea::kConnectionPane);
    }

    CManualScheduler m_scheduler;
    COnlineView* m_control = nullptr;
    long m_objectsBefore = 0;
    std::unique_ptr<CFrameSession> m_session;
};

class DeviceViewsTest : public EndToEndTest {
protected:
    void SetUp() override {
        m_previousReporter =
            SetGuardReporter([this](const std::string& where, const std::string& error) {
                m_reports.push_back(where + ": " + error);
            });
        Open();
        ASSERT_TRUE(m_session->Start());
        Advance(m_scheduler, 10 * kLatencyMs);
    }
    void TearDown() override { SetGuardReporter(m_previousReporter); }

    // Shows the view through the controller, as a view request does, and answers its window.
    QWidget* Show(int viewId) {
        CUIController& controller = m_control->GetController();
        controller.ShowView(viewId);
        Advance(m_scheduler, 10 * kLatencyMs);
        IApplicationView* view = controller.FindView(viewId);
        return view ? view->GetWindow() : nullptr;
    }
    template <class T> T* Named(QWidget* window, const QString& text) {
        for (T* widget : window->findChildren<T*>()) {
            if (widget->text() == text) {
                return widget;
            }
        }
        ADD_FAILURE() << "no widget " << text.toStdString();
        return nullptr;
    }
    std::string Output(QWidget* window) {
        return window->findChildren<QPlainTextEdit*>().value(0)->toPlainText().toStdString();
    }

    // The push button of the shown view (m_window) that reads `text`; a button with an
    // accessible name goes by that name, as the frame's automation finds it.
    QPushButton* Button(const char* text) {
        for (QPushButton* button : m_window->findChildren<QPushButton*>()) {
            const QString name =
                button->accessibleName().isEmpty() ? button->text() : button->accessibleName();
            if (name == QString::fromUtf8(text)) {
                return button;
            }
        }
        ADD_FAILURE() << "no button " << text;
        return nullptr;
    }
    // Clicks it and lets the DTM answer.
    void Click(const char* text) {
        Button(text)->click();
        Advance(m_scheduler, 10 * kLatencyMs);
    }
    // The test view shown, with the device out of service (or not) before it reads its
    // settings.
    template <class View> View* ShowTest(bool outOfService = true) {
        Dtm().Positioner().Store().Write(0x01290000, outOfService ? "241" : "240");
        m_window = Show(View::kViewId);
        auto* view = dynamic_cast<View*>(m_control->GetController().FindView(View::kViewId));
        EXPECT_NE(view, nullptr);
        return view;
    }
    // Runs a valve test from Start until its results are plotted (or it ended otherwise).
    void RunTest(CValveTestViewCore& view) {
        Dtm().Calls().Clear();
        Click("Start");
        for (int second = 0; second < 600 && view.GetPhase() != CValveTestViewCore::EPhase::Idle;
             ++second) {
            Advance(m_scheduler, 1000);
        }
    }
    // The values set in the DTM's copy of `key` since the call log was cleared.
    std::vector<std::string> Written(std::uint32_t key) {
        std::vector<std::string> values;
        const std::string prefix = "SetParameterValue(2, " + std::to_string(key) + ", ";
        for (const std::string& line : Dtm().Calls().Lines("SetParameterValue")) {
            if (line.starts_with(prefix)) {
                values.push_back(line.substr(prefix.size(), line.size() - prefix.size() - 1));
            }
        }
        return values;
    }

    QWidget* m_window = nullptr; // the view a test shows
    std::vector<std::string> m_reports;
    GuardReporter m_previousReporter;
};

// Answers the device views' file dialogs with the paths a test sets (nothing: cancelled), and
// keeps the titles and filters asked with, installed for its lifetime.
class CAnsweringFileDialogs : public IFileDialogService {
public:
    CAnsweringFileDialogs() { SetFileDialogs(this); }
    ~CAnsweringFileDialogs() override { SetFileDialogs(nullptr); }
    CAnsweringFileDialogs(const CAnsweringFileDialogs&) = delete;
    CAnsweringFileDialogs& operator=(const CAnsweringFileDialogs&) = delete;

    std::optional<std::string> GetOpenFileName(QWidget*, const std::string& title,
                                               const std::string& filter) override {
        titles.push_back(title);
        filters.push_back(filter);
        return openPath;
    }
    std::optional<std::string> GetSaveFileName(QWidget*, const std::string& title,
                                               const std::string& filter) override {
        titles.push_back(title);
        filters.push_back(filter);
        return savePath;
    }
    // Several files when the test set them, else the one file.
    std::vector<std::string> GetOpenFileNames(QWidget* parent, const std::string& title,
                                              const std::string& filter) override {
        if (openPaths.empty()) {
            return IFileDialogService::GetOpenFileNames(parent, title, filter);
        }
        titles.push_back(title);
        filters.push_back(filter);
        return openPaths;
    }
    void Answer(const QString& path) { openPath = savePath = path.toStdString(); }

    std::optional<std::string> openPath;
    std::optional<std::string> savePath;
    std::vector<std::string> openPaths;
    std::vector<std::string> titles;
    std::vector<std::string> filters;
};
