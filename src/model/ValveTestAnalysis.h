#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// The figures of a recorded valve test, measured on its position samples against the setpoint
// it followed, and their drift from a baseline run. No Qt: it serves the comparison of saved
// results and the test views alike.
//
// A curve is a list of points (time in s, value in %) in time order; a setpoint profile is
// linear between its points, and of two points at one time the later holds from then on.
namespace valve_analysis {

struct SPoint {
    double time = 0.0;
    double value = 0.0;
    // The accessors of a plot point, so that ProfileAt takes either.
    double x() const { return time; }
    double y() const { return value; }
};
using Curve = std::vector<SPoint>;

// The value of a profile at `seconds`: linear between its points; of two points at one time
// the later holds from then on; the first before it, the last after it; 0 for no points.
// `Point` is any type with x() and y().
template <class Point> double ProfileAt(const Point* points, std::size_t count, double seconds) {
    if (count == 0) {
        return 0.0;
    }
    // The first point after `seconds`.
    std::size_t low = 0;
    std::size_t high = count;
    while (low < high) {
        const std::size_t middle = (low + high) / 2;
        if (points[middle].x() <= seconds) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    if (low == 0) {
        return points[0].y();
    }
    if (low == count) {
        return points[count - 1].y();
    }
    const Point& from = points[low - 1];
    const Point& to = points[low];
    return from.y() + (to.y() - from.y()) * (seconds - from.x()) / (to.x() - from.x());
}
inline double ProfileAt(const Curve& profile, double seconds) {
    return ProfileAt(profile.data(), profile.size(), seconds);
}

// Shares of the step that the figures of a step response are measured at.
inline constexpr double kDeadTimeShare = 0.02;
inline constexpr double kSettledBand = 0.02;

// The response to a step of the setpoint to `target` at `start`, measured until `end` on the
// samples in that window (linear between samples). Movement counts from the position at the
// step, in parts of the step |target - position|. A threshold never crossed (or a position
// never settled) gives end - start; a step of size 0 gives all 0.
struct SStepResponse {
    double deadTime = 0.0;     // s until 2 % of the step is covered
    double t63 = 0.0;          // s until 63 %
    double t86 = 0.0;          // s until 86 %
    double overshoot = 0.0;    // largest excursion beyond the target, % of the step; 0: none
    double settlingTime = 0.0; // s after which the position stays within 2 % of the step
};
SStepResponse StepResponse(const Curve& position, double start, double end, double target);

// How well the position follows a setpoint: mean and largest |setpoint - position| over the
// samples (in %), and the lag: the delay of the setpoint that the position matches best
// (smallest mean deviation), searched up to a quarter of the recording and at most 10 s, to a
// tenth of a sample period.
struct STracking {
    double meanError = 0.0;
    double maxError = 0.0;
    double lag = 0.0;
};
STracking Tracking(const Curve& position, const Curve& setpoint);

// The steps of a setpoint profile: the times where it jumps (two points at one time with
// different values), the value it jumps to, and where the next step (or the profile) ends.
struct SStep {
    double start = 0.0;
    double end = 0.0;
    double target = 0.0;
};
std::vector<SStep> Steps(const Curve& setpoint, double end);

// The stroke of a partial stroke test: the setpoint leaves its first value at `start`, reaches
// `target` and holds it until `back`, where it returns.
struct SStroke {
    double start = 0.0;
    double target = 0.0;
    double back = 0.0;
};
std::optional<SStroke> FindStroke(const Curve& setpoint);

// The kinds of test a comparison holds, their figures and how a drift of each is judged.
enum class ETestKind { Ramp, MultiStep, PartialStroke };
enum class EFigureKind {
    Time,     // judged by its relative drift (%)
    Deviation // a value in %: judged by its absolute drift (percentage points)
};
struct SFigure {
    std::string name;
    std::string unit;
    EFigureKind kind = EFigureKind::Time;
};
const std::vector<SFigure>& Figures(ETestKind kind);

// The figures of one run, in the order of Figures(kind); nothing when the curves do not make
// the test (no position, no step in the setpoint, ...), with the reason in `*problem`.
//   ramp: mean and largest tracking error, lag;
//   multi-step: the five step response figures, averaged over the steps;
//   partial stroke: t63, overshoot and settling time of the stroke (from its start).
std::optional<std::vector<double>> Analyse(ETestKind kind, const Curve& position,
                                           const Curve& setpoint, std::string* problem = nullptr);

// When a drift is marked: times beyond this relative drift, deviations beyond this many
// percentage points.
struct SDriftThresholds {
    double timePercent = 20.0;
    double deviationPoints = 5.0;
};
struct SDrift {
    double absolute = 0.0;          // value - baseline, in the figure's unit
    std::optional<double> relative; // in % of |baseline|; nothing for a baseline of 0
    bool marked = false;
};
// A time whose baseline is 0 is marked when it is not 0 itself.
SDrift Drift(double value, double baseline, EFigureKind kind, const SDriftThresholds& thresholds);

} // namespace valve_analysis
