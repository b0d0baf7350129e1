#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// The state of the device that the edit model and the device views of one control share:
// the header values (alarm count, service and setpoint modes, failure mode), the sound and
// calibration switches, the segment upload in progress, and the text tables that turn the
// small codes the device delivers into texts. Every field starts as a new record has it; the
// edit model resets the record when it starts.
struct SDeviceState {
    // Texts of the selection codes, the command results, the procedure states and the
    // calibration and test states, indexed by the device's code.
    using SelectionNames = std::array<std::string, 20>;
    using CommandResults = std::array<std::string, 20>;
    using ProcedureStates = std::array<std::string, 100>;
    using CalibrationStatusTexts = std::array<std::string, 100>;

    // Shown for a calibration or test state that has no text of its own.
    static constexpr const char* kNoStatusText = "-------";

    static SelectionNames MakeSelectionNames();
    static CommandResults MakeCommandResults();
    static ProcedureStates MakeProcedureStates();
    static CalibrationStatusTexts MakeCalibrationStatusTexts();

    // Last value of the active alarm count (0x01680000).
    std::int32_t activeAlarmCount = 0;
    // The alarm beep is enabled (the views' Sound button).
    bool soundOn = false;
    // The mode parameter (0x01290000) last read 240.
    bool inService = true;
    // The views may offer the service mode button; cleared while a calibration runs.
    bool serviceSwitchingAllowed = true;
    bool calibrationRunning = false;
    // "SRV" in service, "OOS" otherwise.
    std::string modeText = "SRV";
    // "AUTO", "LO" or "DTM", from the setpoint mode (0x012E0000); empty until first read.
    std::string setpointModeText;
    // Parameter 0x015C0000 last read not 0 (as a signed 8-bit number).
    bool parameter348Set = false;
    // 1 while the failure mode state (0x015B0002) last read 200.
    std::int32_t failureModeFlag = 0;
    // The code of the last failure mode command (33 activate, 34 deactivate).
    std::int32_t failureModeCommand = 0;
    // The alarm the alarm list showed last (its row double-clicked): what the alarm
    // information view shows. Category and priority as the device's alarm log gave them, -1
    // when unknown.
    std::uint32_t selectedAlarm = 0;
    std::int32_t selectedAlarmCategory = -1;
    std::int32_t selectedAlarmPriority = -1;
    // The segment upload in progress: the requested frame type and the frame counter.
    std::int32_t frameType = 0;
    float frameNumber = 0.0f;

    // A calibration procedure runs: no view offers the service mode switch meanwhile.
    void SetCalibrationRunning(bool running) {
        calibrationRunning = running;
        serviceSwitchingAllowed = !running;
    }

    SelectionNames selectionNames = MakeSelectionNames();
    CommandResults commandResults = MakeCommandResults();
    ProcedureStates procedureStates = MakeProcedureStates();
    CalibrationStatusTexts calibrationStatusTexts = MakeCalibrationStatusTexts();

    // Fixed texts of the views.
    std::string fixedNumberText = "12345";
    std::string fixedDashText = "-------";
    // Shown when the frame application does not permit private dialogs.
    std::string privateDialogsMessage =
        "This action needs private dialogs enabled.\nPlease contact frame application "
        "administrator to enable this property";
};

// The text of `code` in one of the record's tables; the empty text for a code outside it, so
// that an unexpected code from the device never reads past the table.
template <std::size_t N>
const std::string& TableText(const std::array<std::string, N>& table, std::int64_t code) {
    static const std::string none;
    return code >= 0 && static_cast<std::uint64_t>(code) < N ? table[static_cast<std::size_t>(code)]
                                                             : none;
}
