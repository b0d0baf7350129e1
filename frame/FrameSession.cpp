#include "FrameSession.h"

#include "FrameError.h"
#include "FunctionCall.h"

#include "dtm/SimulatedDtm.h"

namespace {

ComPtr<CSimulatedDtm> MakeDtm(const SFrameOptions& options, const std::filesystem::path& data) {
    auto dtm = MakeCom<CSimulatedDtm>(data);
    if (options.latencyMs) {
        dtm->SetBusLatency(*options.latencyMs);
    }
    if (options.userLevel) {
        dtm->SetUserLevel(*options.userLevel);
    }
    dtm->SetPrivateDialogEnabled(options.privateDialogs);
    return dtm;
}

} // namespace

CFrameSession::CFrameSession(const SFrameOptions& options, const ComPtr<IUnknown>& control,
                             bool headless, const std::filesystem::path& dtmData)
    : m_previousScheduler(Scheduler()), m_scheduler(m_previousScheduler) {
    SetScheduler(&m_scheduler);
    try {
        m_dtm = MakeDtm(options, dtmData);
        m_window = std::make_unique<CFrameWindow>(control, headless);
    } catch (...) {
        m_dtm = nullptr;
        SetScheduler(&m_previousScheduler);
        throw;
    }
    m_dtm->SetUserDialogHandler([this](const std::string& kind, const std::string& message) {
        m_window->ShowUserDialog(kind, message);
    });
    const bool unattended = !options.screenshotFile.empty() ||
                            !options.screenshotDirectory.empty() || !options.scriptFile.empty();
    m_automation = std::make_unique<CFrameAutomation>(
        *m_window, [this] { return IsDtmBusy(); },
        CFrameAutomation::SSteps{options.viewId, options.screenshotFile,
                                 options.screenshotDirectory, options.scriptFile,
                                 options.quitAfterMs, headless && unattended});
}

CFrameSession::~CFrameSession() {
    m_automation.reset();
    m_window.reset();
    m_dtm->SetUserDialogHandler({});
    m_dtm = nullptr;
    SetScheduler(&m_previousScheduler);
}

bool CFrameSession::Start() {
    m_window->show();
    const bool accepted = m_window->InitControl(FunctionCallDocument(), m_dtm.As<IUnknown>().Get());
    m_automation->Start();
    return accepted;
}

bool CFrameSession::IsDtmBusy() const {
    return m_scheduler.PendingOneShots(m_dtm.Get()) > 0;
}

EFrameExit CFrameSession::GetExit() const {
    if (m_automation->HasFailed()) {
        return EFrameExit::AutomationFailed;
    }
    return m_window->WasReleaseForced() ? EFrameExit::ReleaseRefused : EFrameExit::Ok;
}
