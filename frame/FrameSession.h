#pragma once

#include "FrameAutomation.h"
#include "FrameError.h"
#include "FrameOptions.h"
#include "FrameWindow.h"
#include "TrackingScheduler.h"

#include "com/ComPtr.h"
#include "dtm/DataDirectory.h"

#include <filesystem>
#include <memory>

class CSimulatedDtm;

// One run of the frame with a created control: the simulated DTM set up from the options,
// the control in the frame's window with the DTM's dialogs shown there, Init with the
// function-call document, and the unattended steps. The DTM's replies and the frame's own
// timers run on a tracking scheduler put in front of the process scheduler, which tells the
// steps when the DTM is idle.
class CFrameSession {
public:
    // Throws CFrameError (EFrameExit::ClassNotCreated) when `control` is no online view
    // control, and std::runtime_error when the DTM's data files cannot be read.
    CFrameSession(const SFrameOptions& options, const ComPtr<IUnknown>& control, bool headless,
                  const std::filesystem::path& dtmData = FindDtmDataDirectory());
    // The window (and with it the control) goes before the DTM, the DTM before the scheduler.
    ~CFrameSession();
    CFrameSession(const CFrameSession&) = delete;
    CFrameSession& operator=(const CFrameSession&) = delete;

    // Shows the window, calls Init and starts the unattended steps; answers Init's result.
    bool Start();

    CFrameWindow& GetWindow() { return *m_window; }
    CSimulatedDtm& GetDtm() { return *m_dtm; }
    CFrameAutomation& GetAutomation() { return *m_automation; }
    // True while the DTM has a reply on its way.
    bool IsDtmBusy() const;
    // What the frame answers its caller once the window is closed.
    EFrameExit GetExit() const;

private:
    IScheduler& m_previousScheduler;
    CTrackingScheduler m_scheduler;
    ComPtr<CSimulatedDtm> m_dtm;
    std::unique_ptr<CFrameWindow> m_window;
    std::unique_ptr<CFrameAutomation> m_automation;
};
