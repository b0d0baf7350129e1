#include "dtm/procedures/ValveTestProcedure.h"

#include "dtm/DeviceModel.h"
#include "dtm/FaultSwitches.h"
#include "dtm/FrameBuilder.h"
#include "dtm/procedures/Settings.h"
#include "ui/Scheduler.h"

#include <cmath>
#include <string>
#include <utility>

namespace {

// Settings elements (of 0x01600000 and 0x015F0000).
constexpr std::uint32_t kRampStart = 2;
constexpr std::uint32_t kRampDuration = 4;
constexpr std::uint32_t kRampBreakPoint1 = 5;
constexpr std::uint32_t kRampBreakPoint2 = 6;
constexpr std::uint32_t kRampEnd = 7;
constexpr std::uint32_t kRampPreTest = 8;
constexpr std::uint32_t kRampPause = 9;
constexpr std::uint32_t kStepStart = 7;
constexpr std::uint32_t kStepAmplitude = 8;
constexpr std::uint32_t kStepLength = 9;
constexpr std::uint32_t kStepPreTest = 10;
constexpr std::uint32_t kStepWaves = 11;

} // namespace

CValveTestProcedure::~CValveTestProcedure() {
    if (m_scheduled) {
        Scheduler().StopAll(this);
    }
}

void CValveTestProcedure::Start(EValveTest test) {
    if (IsRunning()) {
        return;
    }
    const SRun run = ReadSettings(test);
    const bool steps = test == EValveTest::MultiStep;
    const CSetpointProfile profile = steps ? StepProfile(run.step) : RampProfile(run.ramp);
    Launch(profile.DurationS(), [this, run, steps] {
        if (steps) {
            RecordSteps(run.step);
        } else {
            RecordRamp(run.ramp);
        }
        return kFinished;
    });
}

bool CValveTestProcedure::Launch(double durationS, std::function<int()> finish) {
    if (IsRunning()) {
        return false;
    }
    if (m_store.Read(kServiceModeKey) == std::to_string(kInService)) {
        SetState(kFailed);
        return false;
    }
    m_finish = std::move(finish);
    SetState(kInProgress);
    m_scheduled = true;
    Scheduler().StartOneShot(this, kTimerId,
                             static_cast<int>(std::llround(durationS * kMilliseconds)),
                             [this] { Finish(); });
    return true;
}

void CValveTestProcedure::Abort() {
    if (!IsRunning()) {
        return;
    }
    Scheduler().StopTimer(this, kTimerId);
    m_finish = nullptr;
    SetState(kAborted);
}

CValveTestProcedure::SRun CValveTestProcedure::ReadSettings(EValveTest test) const {
    const auto setting = [&](std::uint32_t key) { return ReadSetting(m_store, m_dictionary, key); };
    SRun run;
    const auto ramp = [&](std::uint32_t element) { return setting(kRampSettingsKey + element); };
    run.ramp.roundTrip = test == EValveTest::RoundTripRamp;
    run.ramp.start = ramp(kRampStart) / kTenths;
    run.ramp.breakPoint1 = ramp(kRampBreakPoint1) / kTenths;
    run.ramp.breakPoint2 = ramp(kRampBreakPoint2) / kTenths;
    run.ramp.end = ramp(kRampEnd) / kTenths;
    run.ramp.durationS = ramp(kRampDuration) / kMilliseconds;
    run.ramp.preTestS = ramp(kRampPreTest) / kMilliseconds;
    run.ramp.pauseS = ramp(kRampPause) / kMilliseconds;
    const auto step = [&](std::uint32_t element) { return setting(kStepSettingsKey + element); };
    run.step.start = step(kStepStart) / kTenths;
    run.step.amplitude = step(kStepAmplitude) / kTenths;
    run.step.stepLengthS = step(kStepLength) / kMilliseconds;
    run.step.preTestS = step(kStepPreTest) / kMilliseconds;
    run.step.waves = static_cast<int>(step(kStepWaves));
    return run;
}

void CValveTestProcedure::Finish() {
    const std::function<int()> finish = std::exchange(m_finish, nullptr);
    if (m_faults.failState == kAborted || m_faults.failState == kFailed) {
        SetState(m_faults.failState);
        return;
    }
    SetState(finish());
}

void CValveTestProcedure::RecordRamp(const SRampSettings& settings) {
    CValveModel model(m_model);
    const std::vector<double> trace = Simulate(RampProfile(settings), model);
    m_rampSamples =
        TakeSamples(trace, m_model.stepS, settings.preTestS, SampleCount(RampRecordedS(settings)));
}

void CValveTestProcedure::RecordSteps(const SStepSettings& settings) {
    CValveModel model(m_model);
    const CSetpointProfile profile = StepProfile(settings);
    const std::vector<double> trace = Simulate(profile, model);
    m_stepSamples = TakeSamples(trace, m_model.stepS, 0, SampleCount(profile.DurationS()));

    m_stepFigures.clear();
    const double high = settings.start + settings.amplitude;
    for (int step = 0; step < 2 * settings.waves; ++step) {
        if (m_stepFigures.size() + kFiguresPerStep > kMaxFigures) {
            break;
        }
        const bool up = step % 2 == 0;
        const SStepFigures figures = MeasureStep(
            trace, m_model.stepS, settings.preTestS + step * settings.stepLengthS,
            settings.stepLengthS, up ? settings.start : high, up ? high : settings.start);
        for (const double value : {figures.deadTimeS, figures.t63S, figures.t86S,
                                   figures.overshootPercent, figures.settlingTimeS}) {
            m_stepFigures.push_back(Hundredths(value));
        }
    }

    const std::size_t samples = m_stepSamples.size();
    const std::size_t values = m_stepFigures.size();
    m_store.Write(kStepSamplesKey, std::to_string(samples));
    m_store.Write(kStepResultFramesKey, std::to_string(frames::ValueFrameCount(samples)));
    m_store.Write(kStepFiguresKey, std::to_string(values));
    m_store.Write(kStepVectorFramesKey, std::to_string(frames::ValueFrameCount(values)));
}

void CValveTestProcedure::SetState(int state) {
    m_store.Write(kStateKey, std::to_string(state));
}
