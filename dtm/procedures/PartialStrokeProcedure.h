#pragma once

#include "dtm/ValveModel.h"
#include "dtm/procedures/ValveTestProfile.h"

#include <cstdint>
#include <optional>
#include <vector>

class CDeviceModel;
class CEventLog;
class CParameterDictionary;
class CValveTestProcedure;
struct SProcedureFaults;

// The partial stroke test: from fully open the valve strokes by the setpoint change, holds,
// and returns; the device records the position and judges whether the stroke covered 63 % of
// the change. Positions in percent, times in seconds (DEVICE.md, Partial stroke test).
struct SPartialStrokeSettings {
    bool ramp = false;    // the setpoint ramps at kPstRampRate instead of stepping
    double change = 10;   // C
    double maxWaitS = 10; // Wmax
    double pauseS = 2;    // Wp
};

inline constexpr double kPstOpen = 100;         // O: the valve rests fully open
inline constexpr double kPstPreTestS = 1.0;     // P, the device's own
inline constexpr double kPstRampRate = 5;       // %/s of the ramp type, both ways
inline constexpr double kPstRecordAfterS = 2.0; // recorded after the setpoint is back at O
inline constexpr double kPstReachedBand = 0.02; // T counts as reached within this share of C
inline constexpr double kPstStrokeShare = 0.63; // the share of C the stroke must cover

// One stroke as the device recorded it.
struct SPartialStroke {
    double rampS = 0;           // R: 0 for the step type
    double holdS = 0;           // H, whole tenths
    double durationS = 0;       // P + H + R + 2 s
    std::optional<double> t63S; // from P; nothing when 63 % was not covered before the return
    std::vector<std::int16_t> samples; // every kSampleS from 0, hundredths of a percent

    bool Passed() const { return t63S.has_value(); }
    // The results record: six 16-bit little-endian words (t63, sample count, sample period in
    // ms, P, verdict, H; times in hundredths of a second).
    std::vector<std::uint8_t> Record() const;
};

// The setpoint of a stroke held `holdS` from P on.
CSetpointProfile PartialStrokeProfile(const SPartialStrokeSettings& settings, double holdS);
// The stroke `model` makes with `settings`: the wait for T on a first run, then the stroke with
// its hold time.
SPartialStroke SimulatePartialStroke(const SPartialStrokeSettings& settings,
                                     const SValveModelParameters& model);

// The manual test (through the valve tests' runner, so one valve test runs at a time) and the
// automatic test every PST_INTERVAL hours while switched on; both replace the result buffers.
class CPartialStrokeProcedure {
public:
    static constexpr std::uint32_t kSettingsKey = 0x01610000;
    static constexpr std::uint32_t kModeKey = 0x01610001;
    static constexpr std::uint8_t kStartCommand = 28;
    static constexpr std::uint8_t kResultsFrame = 29;
    static constexpr std::uint8_t kVectorFrame = 30;
    static constexpr std::size_t kRecordSize = 12;
    static constexpr std::uint8_t kSelfTestEnded = 13; // the event an automatic test logs

    CPartialStrokeProcedure(CDeviceModel& store, const CParameterDictionary& dictionary,
                            const SProcedureFaults& faults, CValveTestProcedure& tests,
                            CEventLog& events)
        : m_store(store), m_dictionary(dictionary), m_faults(faults), m_tests(tests),
          m_events(events) {}
    CPartialStrokeProcedure(const CPartialStrokeProcedure&) = delete;
    CPartialStrokeProcedure& operator=(const CPartialStrokeProcedure&) = delete;
    ~CPartialStrokeProcedure();

    // By the valve tests' rules: state 1, then 2 (3 when the verdict is failed).
    void Start();
    // A write of PST_MODE: 1 switches the automatic test on (in service only; out of service
    // the store goes back to 0), 0 switches it off.
    void SetAutomatic(bool on);
    bool IsAutoPstOn() const { return m_autoDueMs.has_value(); }
    // Automatic tests run since the device started.
    int AutoRunCount() const { return m_autoRuns; }

    // The result buffers: the results record (kRecordSize bytes, empty before the first test)
    // and the position samples in hundredths of a percent.
    const std::vector<std::uint8_t>& Results() const { return m_results; }
    const std::vector<std::int16_t>& Samples() const { return m_samples; }
    // The last stroke recorded, manual or automatic.
    const std::optional<SPartialStroke>& Last() const { return m_last; }

private:
    static constexpr int kAutoTimerId = 1;
    // Intervals go up to a year, beyond a timer's int milliseconds: the timer runs in parts.
    static constexpr std::int64_t kLongestTimerMs = 24LL * 3600 * 1000;

    SPartialStrokeSettings ReadSettings() const;
    SPartialStroke Stroke() const;
    void Keep(const SPartialStroke& stroke);
    void ScheduleNextRun();
    void WaitForRun();
    void RunAutomatic();

    CDeviceModel& m_store;
    const CParameterDictionary& m_dictionary;
    const SProcedureFaults& m_faults;
    CValveTestProcedure& m_tests;
    CEventLog& m_events;
    std::optional<std::int64_t> m_autoDueMs; // scheduler time of the next automatic test
    int m_autoRuns = 0;
    bool m_scheduled = false; // a timer was ever started
    std::optional<SPartialStroke> m_last;
    std::vector<std::uint8_t> m_results;
    std::vector<std::int16_t> m_samples;
};
