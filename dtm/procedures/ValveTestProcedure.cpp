#include "dtm/procedures/ValveTestProcedure.h"

#include "dtm/DeviceModel.h"
#include "dtm/FaultSwitches.h"
#include "dtm/FrameBuilder.h"
#include "dtm/ParameterDictionary.h"
#include "ui/Scheduler.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {

std::optional<double> Number(const std::optional<std::string>& text) {
    if (!text || text->empty()) {
        return std::nullopt;
    }
    char* end = nullptr;
    const double value = std::strtod(text->c_str(), &end);
    if (end != text->c_str() + text->size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

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

// Positions are kept in tenths of a percent, times in milliseconds.
constexpr double kTenths = 10;
constexpr double kMilliseconds = 1000;

std::vector<std::int16_t> Samples(std::span<const double> trace, double stepS, double fromS,
                                  std::size_t count) {
    std::vector<std::int16_t> samples;
    samples.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const double timeS = fromS + static_cast<double>(i) * kSampleS;
        const auto k =
            std::min(static_cast<std::size_t>(std::lround(timeS / stepS)), trace.size() - 1);
        samples.push_back(Hundredths(trace[k]));
    }
    return samples;
}

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
    if (m_store.Read(kServiceModeKey) == std::to_string(kInService)) {
        SetState(kFailed);
        return;
    }
    m_running = ReadSettings(test);
    const CSetpointProfile profile =
        test == EValveTest::MultiStep ? StepProfile(m_running->step) : RampProfile(m_running->ramp);
    SetState(kInProgress);
    m_scheduled = true;
    Scheduler().StartOneShot(this, kTimerId,
                             static_cast<int>(std::llround(profile.DurationS() * kMilliseconds)),
                             [this] { Finish(); });
}

void CValveTestProcedure::Abort() {
    if (!IsRunning()) {
        return;
    }
    Scheduler().StopTimer(this, kTimerId);
    m_running.reset();
    SetState(kAborted);
}

double CValveTestProcedure::Setting(std::uint32_t record, std::uint32_t element) const {
    const std::uint32_t key = record + element;
    const SParameterDefinition* definition = m_dictionary.Find(key);
    if (definition == nullptr) {
        return 0;
    }
    const double value =
        Number(m_store.Read(key)).value_or(Number(definition->defaultValue).value_or(0));
    const double low = Number(definition->min).value_or(value);
    const double high = Number(definition->max).value_or(value);
    return std::clamp(value, low, std::max(low, high));
}

CValveTestProcedure::SRun CValveTestProcedure::ReadSettings(EValveTest test) const {
    SRun run;
    run.test = test;
    const auto ramp = [&](std::uint32_t element) { return Setting(kRampSettingsKey, element); };
    run.ramp.roundTrip = test == EValveTest::RoundTripRamp;
    run.ramp.start = ramp(kRampStart) / kTenths;
    run.ramp.breakPoint1 = ramp(kRampBreakPoint1) / kTenths;
    run.ramp.breakPoint2 = ramp(kRampBreakPoint2) / kTenths;
    run.ramp.end = ramp(kRampEnd) / kTenths;
    run.ramp.durationS = ramp(kRampDuration) / kMilliseconds;
    run.ramp.preTestS = ramp(kRampPreTest) / kMilliseconds;
    run.ramp.pauseS = ramp(kRampPause) / kMilliseconds;
    const auto step = [&](std::uint32_t element) { return Setting(kStepSettingsKey, element); };
    run.step.start = step(kStepStart) / kTenths;
    run.step.amplitude = step(kStepAmplitude) / kTenths;
    run.step.stepLengthS = step(kStepLength) / kMilliseconds;
    run.step.preTestS = step(kStepPreTest) / kMilliseconds;
    run.step.waves = static_cast<int>(step(kStepWaves));
    return run;
}

void CValveTestProcedure::Finish() {
    const SRun run = *m_running;
    m_running.reset();
    if (m_faults.failState == kAborted || m_faults.failState == kFailed) {
        SetState(m_faults.failState);
        return;
    }
    if (run.test == EValveTest::MultiStep) {
        RecordSteps(run.step);
    } else {
        RecordRamp(run.ramp);
    }
    SetState(kFinished);
}

void CValveTestProcedure::RecordRamp(const SRampSettings& settings) {
    CValveModel model(m_model);
    const std::vector<double> trace = Simulate(RampProfile(settings), model);
    m_rampSamples =
        Samples(trace, m_model.stepS, settings.preTestS, SampleCount(RampRecordedS(settings)));
}

void CValveTestProcedure::RecordSteps(const SStepSettings& settings) {
    CValveModel model(m_model);
    const CSetpointProfile profile = StepProfile(settings);
    const std::vector<double> trace = Simulate(profile, model);
    m_stepSamples = Samples(trace, m_model.stepS, 0, SampleCount(profile.DurationS()));

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
