#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

class CValveModel;

// The setpoint profiles of the valve tests, the simulated response to them and the figures
// measured on it. Positions are in percent, times in seconds (DEVICE.md, Valve tests).

// A setpoint over time, linear between its points; two points at the same time make a step
// (the later point holds from that time on). Before the first point the first setpoint holds,
// after the last the last.
struct SProfilePoint {
    double timeS = 0;
    double setpoint = 0;
};

class CSetpointProfile {
public:
    explicit CSetpointProfile(std::vector<SProfilePoint> points) : m_points(std::move(points)) {}

    double At(double timeS) const;
    double DurationS() const { return m_points.empty() ? 0 : m_points.back().timeS; }
    const std::vector<SProfilePoint>& Points() const { return m_points; }

private:
    std::vector<SProfilePoint> m_points;
};

struct SRampSettings {
    bool roundTrip = true;
    double start = 50;
    double breakPoint1 = 70;
    double breakPoint2 = 30;
    double end = 50;
    double durationS = 20;
    double preTestS = 5;
    double pauseS = 2;
};

struct SStepSettings {
    double start = 50;
    double amplitude = 10;
    double stepLengthS = 2;
    double preTestS = 2;
    int waves = 4;
};

CSetpointProfile RampProfile(const SRampSettings& settings);
CSetpointProfile StepProfile(const SStepSettings& settings);
// The time a ramp test records from the end of its pre-test time on: D + W one way, D + 3W
// round trip.
double RampRecordedS(const SRampSettings& settings);

// Samples are taken every kSampleS; a test records at most kMaxSamples of them.
inline constexpr double kSampleS = 0.1;
inline constexpr std::size_t kMaxSamples = 2700;
// How many samples `seconds` of recording take: trunc(seconds / kSampleS), at most kMaxSamples.
std::size_t SampleCount(double seconds);

// The valve position at every integration step of `model` from time 0 (the valve resting at
// the profile's first setpoint) to the profile's end: entry k is the position at k steps.
std::vector<double> Simulate(const CSetpointProfile& profile, CValveModel& model);

// The positions of `trace` (every `stepS` seconds from time 0) every kSampleS from `fromS` on:
// `count` samples in hundredths, the last position repeated beyond the trace's end.
std::vector<std::int16_t> TakeSamples(std::span<const double> trace, double stepS, double fromS,
                                      std::size_t count);

// The first time, in seconds from `fromS` and within the `lengthS` seconds from it, at which
// the position of `trace` (every `stepS` seconds from time 0) makes `reached` true; nothing
// when it never does. `reached` gets the position and the position at `fromS`.
std::optional<double> FirstTime(std::span<const double> trace, double stepS, double fromS,
                                double lengthS,
                                const std::function<bool(double position, double start)>& reached);

// The figures of one step, in seconds from the step and percent of the step size.
struct SStepFigures {
    double deadTimeS = 0;
    double t63S = 0;
    double t86S = 0;
    double overshootPercent = 0;
    double settlingTimeS = 0;
};

// Measures the setpoint step from `from` to `to` at `stepTimeS` on `trace` (positions every
// `stepS` seconds from time 0) within the `lengthS` seconds the step lasts. Movement counts
// from the position at the step; all figures are 0 for a step of size 0.
SStepFigures MeasureStep(std::span<const double> trace, double stepS, double stepTimeS,
                         double lengthS, double from, double to);

// A value as the result buffers send it: hundredths, rounded, saturated to 16 bits.
std::int16_t Hundredths(double value);
// The same in tenths (the travel histogram's shares).
std::int16_t Tenths(double value);
