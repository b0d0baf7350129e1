#include "dtm/procedures/CalibrationProcedure.h"

#include "dtm/DeviceModel.h"
#include "dtm/EventLog.h"
#include "dtm/FaultSwitches.h"
#include "dtm/ParameterDictionary.h"
#include "dtm/procedures/Settings.h"
#include "dtm/procedures/ValveTestProcedure.h"
#include "ui/Scheduler.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <utility>

namespace {

using Calibration = CCalibrationProcedure;

// The status codes each automatic procedure writes, in turn.
struct SSequence {
    std::uint8_t command;
    std::span<const std::uint8_t> states;
};

constexpr std::uint8_t kAutoCalibrationStates[] = {
    Calibration::kCalibrationInProgress, Calibration::kFrictionInProgress,
    Calibration::kFrictionFinished,      Calibration::kPlayInProgress,
    Calibration::kPlayFinished,          Calibration::kAutoTuneFinished};
constexpr std::uint8_t kTravelCalibrationStates[] = {Calibration::kCalibrationInProgress,
                                                     Calibration::kTravelFinished};
constexpr std::uint8_t kLeakTestStates[] = {Calibration::kLeakTestInProgress,
                                            Calibration::kLeakTestFinished};
constexpr std::uint8_t kAutoTuneStates[] = {
    Calibration::kPulseTuneInProgress, Calibration::kPulseTuneFinished,
    Calibration::kStepTuneInProgress, Calibration::kStepTuneFinished,
    Calibration::kAutoTuneFinished};

constexpr SSequence kSequences[] = {{Calibration::kAutoCalibration, kAutoCalibrationStates},
                                    {Calibration::kTravelCalibration, kTravelCalibrationStates},
                                    {Calibration::kLeakTest, kLeakTestStates},
                                    {Calibration::kAutoTune, kAutoTuneStates}};

std::span<const std::uint8_t> Sequence(std::uint8_t command) {
    const auto it = std::ranges::find(kSequences, command, &SSequence::command);
    return it != std::end(kSequences) ? it->states : std::span<const std::uint8_t>();
}

bool IsFailureCode(int code) {
    return code == Calibration::kNoMovement || code == Calibration::kPotFailure ||
           code == Calibration::kAirSupplyLow;
}

// How a step judges the value entered for it.
enum class ERule {
    Zero,   // the sensor's pressure must be near 0 bar
    Span,   // the entered pressure, in the device's unit, within the span range in bar
    Range,  // the entered value within [low, high]
    Store,  // within the range of `key`, which the finished step sets to it
    Online, // 0 or 1, which the finished step sets `key` to
    Tune,   // the finished step moves `key` by `move`, kept within its range
};

struct SStepRule {
    std::uint8_t command;
    ERule rule;
    EPressureSensor sensor = EPressureSensor::Supply;
    double low = 0;
    double high = 0;
    std::uint32_t key = 0;
    double move = 0;
};

constexpr EPressureSensor kSupply = EPressureSensor::Supply;
constexpr EPressureSensor kCPlus = EPressureSensor::CPlus;
constexpr EPressureSensor kCMinus = EPressureSensor::CMinus;
constexpr std::uint32_t kUpper = Calibration::kTransmitterUpperKey;
constexpr std::uint32_t kLower = Calibration::kTransmitterLowerKey;
constexpr double kTune = Calibration::kTuneStepMa;

constexpr SStepRule kStepRules[] = {
    {1, ERule::Span, kSupply},
    {2, ERule::Zero, kSupply},
    {3, ERule::Span, kCPlus},
    {4, ERule::Zero, kCPlus},
    {5, ERule::Span, kCMinus},
    {6, ERule::Zero, kCMinus},
    {7, ERule::Range, kSupply, Calibration::kSignalUpperMin, Calibration::kSignalUpperMax},
    {8, ERule::Range, kSupply, Calibration::kSignalLowerMin, Calibration::kSignalLowerMax},
    {13, ERule::Online, kSupply, 0, 1, Calibration::kTransmitterOnlineKey},
    {14, ERule::Store, kSupply, 0, 0, kUpper},
    {15, ERule::Store, kSupply, 0, 0, kLower},
    {16, ERule::Tune, kSupply, 0, 0, kUpper, kTune},
    {17, ERule::Tune, kSupply, 0, 0, kUpper, -kTune},
    {18, ERule::Tune, kSupply, 0, 0, kLower, kTune},
    {19, ERule::Tune, kSupply, 0, 0, kLower, -kTune},
};

// The reason a value outside [low, high] fails with; 0 inside.
int Bounds(double value, double low, double high) {
    if (value > high) {
        return Calibration::kParamTooLarge;
    }
    return value < low ? Calibration::kParamTooSmall : 0;
}

std::string Milliamperes(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

} // namespace

CCalibrationProcedure::~CCalibrationProcedure() {
    if (m_scheduled) {
        Scheduler().StopAll(this);
    }
}

void CCalibrationProcedure::Start(std::uint8_t command) {
    if (m_run) {
        if (command == kAutoCalibration && IsWaiting()) {
            Launch(command);
        }
        return;
    }
    if (m_store.Read(kServiceModeKey) == std::to_string(kInService) || Sequence(command).empty()) {
        return;
    }
    Launch(command);
}

void CCalibrationProcedure::Launch(std::uint8_t command) {
    const std::span<const std::uint8_t> states = Sequence(command);
    SRun run{command, {states.begin(), states.end()}};
    if (IsFailureCode(m_faults.failure)) {
        run.states = {states.front(), static_cast<std::uint8_t>(m_faults.failure)};
        run.fails = true;
    } else if (command == kLeakTest && m_faults.leak) {
        run.states.back() = kLeakageDetected;
        run.waits = true;
    }
    m_run = std::move(run);
    m_store.Write(kActiveKey, "1");
    m_events.Append(CEventLog::kCalibrationStarted, command);
    Advance();
}

void CCalibrationProcedure::Advance() {
    SRun& run = *m_run;
    if (run.next == run.states.size()) { // the last state has been held
        if (!run.fails) {
            m_events.Append(CEventLog::kCalibrationFinished, run.command);
        }
        Return();
        return;
    }
    m_store.Write(kServiceModeKey, std::to_string(run.states[run.next++]));
    const bool last = run.next == run.states.size();
    if (last && run.fails) {
        m_events.Append(CEventLog::kCalibrationAborted, run.command);
    }
    if (last && run.waits) {
        return; // for 1 (go on) or 255 (abort)
    }
    m_scheduled = true;
    Scheduler().StartOneShot(this, kSequenceTimerId, std::max(m_stateHoldMs, 0),
                             [this] { Advance(); });
}

void CCalibrationProcedure::Abort() {
    if (!m_run) {
        return;
    }
    Scheduler().StopTimer(this, kSequenceTimerId);
    m_events.Append(CEventLog::kCalibrationAborted, m_run->command);
    Return();
}

void CCalibrationProcedure::Return() {
    m_run.reset();
    m_store.Write(kServiceModeKey, std::to_string(kOutOfService));
    m_store.Write(kActiveKey, "0");
}

void CCalibrationProcedure::Step(std::uint8_t command) {
    if (m_step || m_run || m_tests.IsRunning()) {
        SetStep(kFailed, kDeviceIsBusy);
        return;
    }
    m_step = Evaluate(command);
    SetStep(kInProgress, 0);
    if (m_faults.noAnswer) {
        return; // stays in progress until aborted
    }
    m_scheduled = true;
    Scheduler().StartOneShot(this, kStepTimerId, std::max(m_stepMs, 0), [this] { FinishStep(); });
}

CCalibrationProcedure::SStepOutcome CCalibrationProcedure::Evaluate(std::uint8_t command) const {
    const auto rule = std::ranges::find(kStepRules, command, &SStepRule::command);
    if (rule == std::end(kStepRules)) {
        return {kParamTooLarge};
    }
    const double entered = Number(kEnteredValueKey);
    const auto limits = [this](std::uint32_t key) {
        const SParameterDefinition* definition = m_dictionary.Find(key);
        return std::pair(std::strtod(definition->min.c_str(), nullptr),
                         std::strtod(definition->max.c_str(), nullptr));
    };
    switch (rule->rule) {
    case ERule::Zero:
        return {PhysicalPressure(rule->sensor) > kZeroLimitBar ? kParamTooLarge : 0};
    case ERule::Span: {
        const bool psi = Number(kPressureUnitKey) == 1;
        return {Bounds(entered * (psi ? kBarPerPsi : kBarPerKpa), kSpanMinBar, kSpanMaxBar)};
    }
    case ERule::Range:
        return {Bounds(entered, rule->low, rule->high)};
    case ERule::Online:
        return {Bounds(entered, rule->low, rule->high), rule->key, entered != 0 ? "1" : "0"};
    case ERule::Store: {
        const auto [low, high] = limits(rule->key);
        return {Bounds(entered, low, high), rule->key, Milliamperes(entered)};
    }
    case ERule::Tune: {
        const auto [low, high] = limits(rule->key);
        return {0, rule->key, Milliamperes(std::clamp(Number(rule->key) + rule->move, low, high))};
    }
    }
    return {kParamTooLarge};
}

void CCalibrationProcedure::FinishStep() {
    const SStepOutcome outcome = *std::exchange(m_step, std::nullopt);
    if (outcome.reason != 0) {
        SetStep(kFailed, outcome.reason);
        return;
    }
    if (outcome.key != 0) {
        m_store.Write(outcome.key, outcome.value);
    }
    SetStep(kFinished, 0);
}

void CCalibrationProcedure::AbortStep() {
    if (!m_step) {
        return;
    }
    Scheduler().StopTimer(this, kStepTimerId);
    m_step.reset();
    SetStep(kAborted, 0);
}

void CCalibrationProcedure::ResetStep() {
    SetStep(kClear, 0);
}

void CCalibrationProcedure::SetStep(int state, int reason) {
    m_store.Write(kReasonKey, std::to_string(reason));
    m_store.Write(kStateKey, std::to_string(state));
}

void CCalibrationProcedure::SetPhysicalPressure(EPressureSensor sensor, double bar) {
    m_pressures.at(static_cast<std::size_t>(sensor)) = bar;
}

double CCalibrationProcedure::PhysicalPressure(EPressureSensor sensor) const {
    return m_pressures.at(static_cast<std::size_t>(sensor));
}

double CCalibrationProcedure::Number(std::uint32_t key) const {
    return ReadSetting(m_store, m_dictionary, key);
}
