#include "views/calibration/CalibrationStep.h"

#include "model/Conversions.h"
#include "model/DeviceState.h"
#include "model/EnumParameterDescriptor.h"
#include "model/NumericParameterDescriptor.h"
#include "ui/Guard.h"
#include "ui/Scheduler.h"
#include "views/common/DeviceAccess.h"
#include "views/common/DeviceKeys.h"

#include <utility>

namespace {

constexpr int kInProgress = 1;
constexpr int kFinished = 2;
constexpr int kAborted = 3;
constexpr int kFailed = 4;

} // namespace

CCalibrationStep::CCalibrationStep(const CDeviceAccess& device, SDeviceState& state, Report report)
    : m_device(device), m_state(state), m_report(std::move(report)) {}

CCalibrationStep::~CCalibrationStep() {
    Scheduler().StopAll(this);
}

void CCalibrationStep::Start(std::int32_t command, std::optional<double> value) {
    if (value) {
        m_device.Write(device_keys::kFrameNumber, CConversions::format_double(*value));
    }
    m_device.Write(device_keys::kFrameType, std::to_string(command));
    m_running = true;
    m_state.SetCalibrationRunning(true);
    Scheduler().StartTimer(this, kPollTimer, kPollMs, [this] {
        Guarded("Calibration step", [this] { m_device.RequestRead(kStateRecord); });
    });
    Scheduler().StartOneShot(this, kTimeoutTimer, kTimeoutMs,
                             [this] { End(EResult::TimedOut, 0); });
}

void CCalibrationStep::Abort() {
    m_device.Write(device_keys::kFrameType, std::to_string(kAbortCommand));
}

void CCalibrationStep::Leave() {
    Scheduler().StopAll(this);
    if (m_running) {
        m_running = false;
        m_state.SetCalibrationRunning(false);
    }
}

bool CCalibrationStep::OnParameter(std::uint32_t key) {
    if (key != device_keys::kProcedureState) {
        return key == kReasonKey;
    }
    if (!m_running) {
        return true;
    }
    const std::optional<std::string> state =
        m_device.Fetch<CEnumParameterDescriptor>(device_keys::kProcedureState);
    if (!state) {
        return true;
    }
    switch (CConversions::to_int32(*state)) {
    case kInProgress:
        m_report(EResult::InProgress, 0);
        break;
    case kFinished:
        End(EResult::Finished, 0);
        break;
    case kAborted:
        End(EResult::Aborted, 0);
        break;
    case kFailed: {
        const std::optional<std::string> reason =
            m_device.Fetch<CNumericParameterDescriptor>(kReasonKey);
        End(EResult::Failed, reason ? CConversions::to_int32(*reason) : 0);
        break;
    }
    default:
        break; // the state of an earlier step, not yet replaced
    }
    return true;
}

void CCalibrationStep::End(EResult result, int reason) {
    Scheduler().StopAll(this);
    m_running = false;
    m_state.SetCalibrationRunning(false);
    m_report(result, reason);
}

std::string CCalibrationStep::ResultText(const std::string& name, EResult result) {
    switch (result) {
    case EResult::InProgress:
        return name + " calibration is in progress";
    case EResult::Finished:
        return name + " calibration is completed";
    case EResult::Aborted:
        return name + " calibration is aborted";
    case EResult::Failed:
        return name + " calibration is failed";
    case EResult::TimedOut:
        break;
    }
    return "Communication timed out";
}
