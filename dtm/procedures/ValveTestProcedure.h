#pragma once

#include "dtm/ValveModel.h"
#include "dtm/procedures/ValveTestProfile.h"

#include <cstdint>
#include <functional>
#include <vector>

class CDeviceModel;
class CParameterDictionary;
struct SProcedureFaults;

enum class EValveTest { OneWayRamp, RoundTripRamp, MultiStep };

// The valve tests: a start command reads the test's settings from the store, sets the
// procedure state to 1 (in progress) and runs the test for its profile's duration on the
// scheduler's time; then the state becomes 2 (finished) and the result buffers hold the
// simulated valve's response. One test runs at a time, whichever procedure started it (the
// partial stroke test starts through Launch). DEVICE.md, Valve tests, is the contract.
class CValveTestProcedure {
public:
    static constexpr std::uint32_t kStateKey = 0x015B0002;
    static constexpr std::uint32_t kServiceModeKey = 0x01290000;
    static constexpr std::uint32_t kRampSettingsKey = 0x01600000;
    static constexpr std::uint32_t kStepSettingsKey = 0x015F0000;
    // Figures of the last multi-step test the device keeps for information.
    static constexpr std::uint32_t kStepSamplesKey = 0x015F0001;
    static constexpr std::uint32_t kStepResultFramesKey = 0x015F0002;
    static constexpr std::uint32_t kStepFiguresKey = 0x015F0003;
    static constexpr std::uint32_t kStepVectorFramesKey = 0x015F0004;

    // Command values of the command element.
    static constexpr std::uint8_t kMultiStepCommand = 21;
    static constexpr std::uint8_t kStepSamplesFrame = 22;
    static constexpr std::uint8_t kStepFiguresFrame = 23;
    static constexpr std::uint8_t kOneWayRampCommand = 24;
    static constexpr std::uint8_t kRoundTripRampCommand = 25;
    static constexpr std::uint8_t kRampSamplesFrame = 26;
    static constexpr std::uint8_t kAbortCommand = 255;

    // Procedure states.
    static constexpr int kClear = 0;
    static constexpr int kInProgress = 1;
    static constexpr int kFinished = 2;
    static constexpr int kAborted = 3;
    static constexpr int kFailed = 4;

    static constexpr int kInService = 240;
    // Five figures per step: dead time, T63, T86, overshoot, settling time.
    static constexpr std::size_t kFiguresPerStep = 5;
    static constexpr std::size_t kMaxFigures = 1000;

    // The dictionary gives the settings' limits and defaults; the faults are read at each
    // test's end.
    CValveTestProcedure(CDeviceModel& store, const CParameterDictionary& dictionary,
                        const SProcedureFaults& faults)
        : m_store(store), m_dictionary(dictionary), m_faults(faults) {}
    CValveTestProcedure(const CValveTestProcedure&) = delete;
    CValveTestProcedure& operator=(const CValveTestProcedure&) = delete;
    ~CValveTestProcedure();

    // Ignored while a test runs; ends at once with state 4 while the device is in service.
    void Start(EValveTest test);
    // Starts a test of `durationS` seconds by the rules of Start; false when it did not start.
    // At the test's end `finish` keeps its results and answers the end state (2 finished, or
    // 3 for a failed verdict); the fault switch failState ends it without calling `finish`.
    bool Launch(double durationS, std::function<int()> finish);
    // Ends a running test with state 3, its results not kept; nothing when none runs.
    void Abort();
    bool IsRunning() const { return static_cast<bool>(m_finish); }

    // The result buffers, in hundredths (percent or seconds): empty before the first test.
    const std::vector<std::int16_t>& RampSamples() const { return m_rampSamples; }
    const std::vector<std::int16_t>& StepSamples() const { return m_stepSamples; }
    const std::vector<std::int16_t>& StepFigures() const { return m_stepFigures; }

    // The valve the tests drive; a new model applies from the next test on.
    const SValveModelParameters& Model() const { return m_model; }
    void SetModel(const SValveModelParameters& model) { m_model = model; }

private:
    static constexpr int kTimerId = 1;

    struct SRun {
        SRampSettings ramp;
        SStepSettings step;
    };

    SRun ReadSettings(EValveTest test) const;
    void Finish();
    void RecordRamp(const SRampSettings& settings);
    void RecordSteps(const SStepSettings& settings);
    void SetState(int state);

    CDeviceModel& m_store;
    const CParameterDictionary& m_dictionary;
    const SProcedureFaults& m_faults;
    SValveModelParameters m_model;
    std::function<int()> m_finish; // set while a test runs
    bool m_scheduled = false;      // a timer was ever started
    std::vector<std::int16_t> m_rampSamples;
    std::vector<std::int16_t> m_stepSamples;
    std::vector<std::int16_t> m_stepFigures;
};
