#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class CDeviceAccess;
struct SDeviceState;

// One step of a pressure sensor, setpoint current or transmitter calibration: the value the
// user entered goes to the frame number element (0x015B0004), then the command to the command
// element (0x015B0001); the device's procedure state (0x015B0002, with the reason of a failure
// in 0x015B0003) is read every 500 ms until the step ends. A step that has not ended within
// 20000 ms ends as timed out. While a step runs no view offers the service mode switch.
class CCalibrationStep {
public:
    static constexpr std::uint32_t kStateRecord = 0x015B0000;
    static constexpr std::uint32_t kReasonKey = 0x015B0003;
    static constexpr std::int32_t kAbortCommand = 255;
    static constexpr int kPollMs = 500;
    static constexpr int kTimeoutMs = 20000;
    // Failure reasons (the device's command result codes).
    static constexpr int kTooLarge = 3;
    static constexpr int kTooSmall = 4;

    enum class EResult { InProgress, Finished, Aborted, Failed, TimedOut };
    // The step's news; `reason` is the failure reason for EResult::Failed.
    using Report = std::function<void(EResult result, int reason)>;

    CCalibrationStep(const CDeviceAccess& device, SDeviceState& state, Report report);
    ~CCalibrationStep();
    CCalibrationStep(const CCalibrationStep&) = delete;
    CCalibrationStep& operator=(const CCalibrationStep&) = delete;

    void Start(std::int32_t command, std::optional<double> value = std::nullopt);
    // Writes the abort command; the device's answer ends the step.
    void Abort();
    // The view is left: the step is no longer followed.
    void Leave();
    // Hands an update notification to the step; true when it was the procedure state.
    bool OnParameter(std::uint32_t key);
    bool IsRunning() const { return m_running; }

    // "<name> calibration is in progress", "... is completed", "... is failed", "... is
    // aborted", or "Communication timed out".
    static std::string ResultText(const std::string& name, EResult result);

private:
    enum ETimer { kPollTimer = 1, kTimeoutTimer };

    void End(EResult result, int reason);

    const CDeviceAccess& m_device;
    SDeviceState& m_state;
    Report m_report;
    bool m_running = false;
};
