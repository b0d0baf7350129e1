#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CDeviceModel;
class CEventLog;
class CParameterDictionary;
class CValveTestProcedure;
struct SCalibrationFaults;

// The pressure sensors, in the order of their calibration commands (span, zero).
enum class EPressureSensor { Supply, CPlus, CMinus };

// The positioner's calibrations (DEVICE.md, Calibration).
//
// Automatic procedures: a write of 1 to 4 to the service mode target starts one out of
// service; it writes its status codes to the service mode one after the other, each held for
// the state hold time, and returns the mode to 241 (out of service). One runner serves the
// four procedures from their tables of codes.
//
// Calibration steps: a write of a step command to the command element checks the value
// entered just before (0x015B0004) by the step's rule; the procedure state is 1 for the step
// time, then 2, or 4 with the reason in 0x015B0003.
class CCalibrationProcedure {
public:
    static constexpr std::uint32_t kServiceModeKey = 0x01290000;
    static constexpr std::uint32_t kActiveKey = 0x015C0000;
    static constexpr std::uint32_t kStateKey = 0x015B0002;
    static constexpr std::uint32_t kReasonKey = 0x015B0003;
    static constexpr std::uint32_t kEnteredValueKey = 0x015B0004;
    static constexpr std::uint32_t kPressureUnitKey = 0x011A0000;
    static constexpr std::uint32_t kTransmitterLowerKey = 0x01700002;
    static constexpr std::uint32_t kTransmitterUpperKey = 0x01700003;
    static constexpr std::uint32_t kTransmitterOnlineKey = 0x01700006;

    // Commands of the service mode target.
    static constexpr std::uint8_t kAutoCalibration = 1;
    static constexpr std::uint8_t kTravelCalibration = 2;
    static constexpr std::uint8_t kLeakTest = 3;
    static constexpr std::uint8_t kAutoTune = 4;
    static constexpr std::uint8_t kAbort = 255;

    // Status codes of the service mode the procedures write.
    static constexpr std::uint8_t kTravelFinished = 0x00;
    static constexpr std::uint8_t kCalibrationInProgress = 0x01;
    static constexpr std::uint8_t kNoMovement = 0x02;
    static constexpr std::uint8_t kPotFailure = 0x03;
    static constexpr std::uint8_t kAirSupplyLow = 0x06;
    static constexpr std::uint8_t kLeakTestFinished = 0x10;
    static constexpr std::uint8_t kLeakTestInProgress = 0x11;
    static constexpr std::uint8_t kLeakageDetected = 0x12;
    static constexpr std::uint8_t kAutoTuneFinished = 0x20;
    static constexpr std::uint8_t kPulseTuneInProgress = 0x21;
    static constexpr std::uint8_t kStepTuneInProgress = 0x22;
    static constexpr std::uint8_t kPulseTuneFinished = 0x43;
    static constexpr std::uint8_t kStepTuneFinished = 0x44;
    static constexpr std::uint8_t kFrictionInProgress = 0x45;
    static constexpr std::uint8_t kFrictionFinished = 0x46;
    static constexpr std::uint8_t kPlayInProgress = 0x47;
    static constexpr std::uint8_t kPlayFinished = 0x48;
    static constexpr int kInService = 240;
    static constexpr int kOutOfService = 241;

    // Step commands of the command element: pressure sensors (span, zero of supply, C+, C-),
    // the setpoint current's points, the transmitter (on-line/off-line, calibration of its
    // high and low value, and tuning of them up and down).
    static constexpr std::uint8_t kResetStep = 0;
    static constexpr std::uint8_t kSupplySpan = 1;
    static constexpr std::uint8_t kSignalUpper = 7;
    static constexpr std::uint8_t kSignalLower = 8;
    static constexpr std::uint8_t kTransmitterOnline = 13;
    static constexpr std::uint8_t kTransmitterHigh = 14;
    static constexpr std::uint8_t kTransmitterLow = 15;
    static constexpr std::uint8_t kTransmitterHighUp = 16;
    static constexpr std::uint8_t kTransmitterLowDown = 19;
    static constexpr std::uint8_t kAbortStep = 255;
    static constexpr std::array<std::uint8_t, 15> kStepCommands = {1,  2,  3,  4,  5,  6,  7, 8,
                                                                   13, 14, 15, 16, 17, 18, 19};

    // Procedure states and the reasons of a failed step.
    static constexpr int kClear = 0;
    static constexpr int kInProgress = 1;
    static constexpr int kFinished = 2;
    static constexpr int kAborted = 3;
    static constexpr int kFailed = 4;
    static constexpr int kParamTooLarge = 3;
    static constexpr int kParamTooSmall = 4;
    static constexpr int kDeviceIsBusy = 7;

    // The rules' limits: the pressure a zero point allows, a span point's range (bar), the
    // setpoint current's points (mA) and a tuning step (mA).
    static constexpr double kZeroLimitBar = 0.3;
    static constexpr double kSpanMinBar = 0.95;
    static constexpr double kSpanMaxBar = 7.05;
    static constexpr double kSignalUpperMin = 16.0;
    static constexpr double kSignalUpperMax = 22.0;
    static constexpr double kSignalLowerMin = 2.0;
    static constexpr double kSignalLowerMax = 6.0;
    static constexpr double kTuneStepMa = 0.01;
    static constexpr double kBarPerKpa = 0.01;
    static constexpr double kBarPerPsi = 0.0689475729;

    static constexpr int kDefaultStateHoldMs = 2000;
    static constexpr int kDefaultStepMs = 1500;

    // The faults are read at each start (automatic procedures) and each step; a valve test
    // that runs makes a step fail as busy.
    CCalibrationProcedure(CDeviceModel& store, const CParameterDictionary& dictionary,
                          const SCalibrationFaults& faults, CEventLog& events,
                          const CValveTestProcedure& tests)
        : m_store(store), m_dictionary(dictionary), m_faults(faults), m_events(events),
          m_tests(tests) {}
    CCalibrationProcedure(const CCalibrationProcedure&) = delete;
    CCalibrationProcedure& operator=(const CCalibrationProcedure&) = delete;
    ~CCalibrationProcedure();

    // A start command (1 to 4): ignored in service and while a procedure runs, except 1
    // while the leak test waits at 0x12, which goes on with the auto calibration.
    void Start(std::uint8_t command);
    // Ends a running or waiting procedure at once: 241, event "Calibration aborted".
    void Abort();
    // From the start until the mode is 241 again, the wait at 0x12 included.
    bool IsRunning() const { return m_run.has_value(); }
    bool IsWaiting() const { return m_run && m_run->waits && m_run->next == m_run->states.size(); }

    // A step command (kStepCommands); fails at once as busy while anything runs.
    void Step(std::uint8_t command);
    // Ends a running step with state 3; nothing when none runs.
    void AbortStep();
    // Command 0: state 0 (clear), reason 0.
    void ResetStep();
    bool IsStepRunning() const { return m_step.has_value(); }

    // The pressure the sensor is exposed to, in bar (0 at first): a zero point fails above
    // kZeroLimitBar.
    void SetPhysicalPressure(EPressureSensor sensor, double bar);
    double PhysicalPressure(EPressureSensor sensor) const;

    void SetStateHoldMs(int milliseconds) { m_stateHoldMs = milliseconds; }
    int StateHoldMs() const { return m_stateHoldMs; }
    void SetStepMs(int milliseconds) { m_stepMs = milliseconds; }
    int StepMs() const { return m_stepMs; }

private:
    static constexpr int kSequenceTimerId = 1;
    static constexpr int kStepTimerId = 2;

    struct SRun {
        std::uint8_t command = 0;
        std::vector<std::uint8_t> states;
        std::size_t next = 0; // the next state to write
        bool waits = false;   // at the last state, for a command
        bool fails = false;   // the last state is a failure
    };
    // What a step finds: the reason it fails (0: it finishes) and, when it finishes, the
    // value it stores.
    struct SStepOutcome {
        int reason = 0;
        std::uint32_t key = 0;
        std::string value = {};
    };

    void Launch(std::uint8_t command);
    void Advance();
    void Return();
    SStepOutcome Evaluate(std::uint8_t command) const;
    void FinishStep();
    void SetStep(int state, int reason);
    double Number(std::uint32_t key) const;

    CDeviceModel& m_store;
    const CParameterDictionary& m_dictionary;
    const SCalibrationFaults& m_faults;
    CEventLog& m_events;
    const CValveTestProcedure& m_tests;
    std::optional<SRun> m_run;
    std::optional<SStepOutcome> m_step; // set while a step runs
    std::array<double, 3> m_pressures{};
    int m_stateHoldMs = kDefaultStateHoldMs;
    int m_stepMs = kDefaultStepMs;
    bool m_scheduled = false; // a timer was ever started
};
