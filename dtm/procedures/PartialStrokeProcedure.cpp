#include "dtm/procedures/PartialStrokeProcedure.h"

#include "dtm/DeviceModel.h"
#include "dtm/EventLog.h"
#include "dtm/FaultSwitches.h"
#include "dtm/procedures/Settings.h"
#include "dtm/procedures/ValveTestProcedure.h"
#include "ui/Scheduler.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

// Elements of the settings record 0x01610000.
constexpr std::uint32_t kType = 2;
constexpr std::uint32_t kSetpointChange = 3;
constexpr std::uint32_t kInterval = 4;
constexpr std::uint32_t kMaxWaitingTime = 5;
constexpr std::uint32_t kPauseTime = 6;

constexpr std::uint16_t kSamplePeriodMs = 100;
constexpr double kMsPerHour = 3600 * kMilliseconds;

double RampS(const SPartialStrokeSettings& settings) {
    return settings.ramp ? settings.change / kPstRampRate : 0;
}

// Times in whole tenths of a second, as the samples fall.
double RoundedTenths(double seconds) {
    return std::round(seconds * 10) / 10;
}
// Rounded up; the margin keeps a whole number of tenths as it is.
double TenthsAtLeast(double seconds) {
    return std::ceil(seconds * 10 - 1e-6) / 10;
}

} // namespace

std::vector<std::uint8_t> SPartialStroke::Record() const {
    const std::uint16_t words[] = {
        static_cast<std::uint16_t>(Hundredths(t63S.value_or(0))),
        static_cast<std::uint16_t>(samples.size()),
        kSamplePeriodMs,
        static_cast<std::uint16_t>(Hundredths(kPstPreTestS)),
        static_cast<std::uint16_t>(Passed() ? 0 : 1),
        static_cast<std::uint16_t>(Hundredths(holdS)),
    };
    std::vector<std::uint8_t> bytes;
    for (const std::uint16_t word : words) {
        bytes.push_back(static_cast<std::uint8_t>(word & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(word >> 8));
    }
    return bytes;
}

CSetpointProfile PartialStrokeProfile(const SPartialStrokeSettings& settings, double holdS) {
    const double open = kPstOpen;
    const double target = kPstOpen - settings.change;
    const double rampS = RampS(settings);
    const double back = kPstPreTestS + holdS;
    return CSetpointProfile({{0, open},
                             {kPstPreTestS, open},
                             {kPstPreTestS + rampS, target},
                             {back, target},
                             {back + rampS, open},
                             {back + rampS + kPstRecordAfterS, open}});
}

SPartialStroke SimulatePartialStroke(const SPartialStrokeSettings& settings,
                                     const SValveModelParameters& model) {
    const double target = kPstOpen - settings.change;
    const double band = kPstReachedBand * settings.change;
    SPartialStroke stroke;
    stroke.rampS = RampS(settings);

    // The wait: T held as long as the device waits at most, from the end of the step or ramp.
    CValveModel valve(model);
    const double endOfMoveS = kPstPreTestS + stroke.rampS;
    const std::vector<double> waiting =
        Simulate(PartialStrokeProfile(settings, stroke.rampS + settings.maxWaitS), valve);
    const double waitS =
        FirstTime(waiting, model.stepS, endOfMoveS, settings.maxWaitS,
                  [&](double position, double) { return std::abs(position - target) <= band; })
            .value_or(settings.maxWaitS);
    // Never shorter than the ramp, so the setpoint turns back only after reaching T.
    stroke.holdS = std::max(RoundedTenths(stroke.rampS + waitS + settings.pauseS),
                            TenthsAtLeast(stroke.rampS));

    const CSetpointProfile profile = PartialStrokeProfile(settings, stroke.holdS);
    stroke.durationS = profile.DurationS();
    const std::vector<double> trace = Simulate(profile, valve);
    stroke.samples = TakeSamples(trace, model.stepS, 0, SampleCount(stroke.durationS));
    stroke.t63S = FirstTime(trace, model.stepS, kPstPreTestS, stroke.holdS,
                            [&](double position, double start) {
                                return (start - position) / settings.change >= kPstStrokeShare;
                            });
    return stroke;
}

CPartialStrokeProcedure::~CPartialStrokeProcedure() {
    if (m_scheduled) {
        Scheduler().StopAll(this);
    }
}

void CPartialStrokeProcedure::Start() {
    if (m_tests.IsRunning()) {
        return;
    }
    const SPartialStroke stroke = Stroke();
    m_tests.Launch(stroke.durationS, [this, stroke] {
        Keep(stroke);
        return stroke.Passed() ? CValveTestProcedure::kFinished : CValveTestProcedure::kAborted;
    });
}

void CPartialStrokeProcedure::SetAutomatic(bool on) {
    if (!on) {
        m_autoDueMs.reset();
        if (m_scheduled) {
            Scheduler().StopTimer(this, kAutoTimerId);
        }
        return;
    }
    if (IsAutoPstOn()) {
        return;
    }
    if (m_store.Read(CValveTestProcedure::kServiceModeKey) !=
        std::to_string(CValveTestProcedure::kInService)) {
        m_store.Write(kModeKey, "0");
        return;
    }
    ScheduleNextRun();
}

SPartialStrokeSettings CPartialStrokeProcedure::ReadSettings() const {
    const auto setting = [&](std::uint32_t element) {
        return ReadSetting(m_store, m_dictionary, kSettingsKey + element);
    };
    SPartialStrokeSettings settings;
    settings.ramp = setting(kType) != 0;
    settings.change = setting(kSetpointChange) / kTenths;
    settings.maxWaitS = setting(kMaxWaitingTime) / kMilliseconds;
    settings.pauseS = setting(kPauseTime) / kMilliseconds;
    return settings;
}

SPartialStroke CPartialStrokeProcedure::Stroke() const {
    SValveModelParameters model = m_tests.Model();
    model.stuck = m_faults.stuckValve;
    return SimulatePartialStroke(ReadSettings(), model);
}

void CPartialStrokeProcedure::Keep(const SPartialStroke& stroke) {
    m_results = stroke.Record();
    m_samples = stroke.samples;
    m_last = stroke;
}

void CPartialStrokeProcedure::ScheduleNextRun() {
    const double hours = ReadSetting(m_store, m_dictionary, kSettingsKey + kInterval);
    m_autoDueMs = Scheduler().NowMs() + std::llround(hours * kMsPerHour);
    WaitForRun();
}

void CPartialStrokeProcedure::WaitForRun() {
    const std::int64_t remainingMs = std::max<std::int64_t>(0, *m_autoDueMs - Scheduler().NowMs());
    m_scheduled = true;
    Scheduler().StartOneShot(this, kAutoTimerId,
                             static_cast<int>(std::min(remainingMs, kLongestTimerMs)), [this] {
                                 if (Scheduler().NowMs() < *m_autoDueMs) {
                                     WaitForRun();
                                 } else {
                                     RunAutomatic();
                                 }
                             });
}

void CPartialStrokeProcedure::RunAutomatic() {
    // The valve is busy with a test of the view's: this run is left out.
    if (!m_tests.IsRunning()) {
        const SPartialStroke stroke = Stroke();
        Keep(stroke);
        ++m_autoRuns;
        m_events.Append(kSelfTestEnded, stroke.Passed() ? 0 : 1);
    }
    ScheduleNextRun();
}
