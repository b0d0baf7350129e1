#include "dtm/procedures/ValveTestProfile.h"

#include "dtm/ValveModel.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Appends a hold of `holdS` at the last point's setpoint, then a ramp of `rampS` to `setpoint`.
void HoldThenRamp(std::vector<SProfilePoint>& points, double holdS, double rampS, double setpoint) {
    const SProfilePoint last = points.back();
    points.push_back({last.timeS + holdS, last.setpoint});
    points.push_back({last.timeS + holdS + rampS, setpoint});
}

// The trace entries within `lengthS` from `fromS`: from the first at or after `fromS` to the
// last before its end, and the time of the first from `fromS`.
struct SWindow {
    std::span<const double> positions;
    double offsetS = 0;
};

SWindow Window(std::span<const double> trace, double stepS, double fromS, double lengthS) {
    const auto first =
        std::min(static_cast<std::size_t>(std::ceil(fromS / stepS - 1e-9)), trace.size());
    const auto end = std::min(static_cast<std::size_t>(std::ceil((fromS + lengthS) / stepS - 1e-9)),
                              trace.size());
    return {trace.subspan(first, end - std::min(first, end)),
            static_cast<double>(first) * stepS - fromS};
}

std::optional<double> FirstIn(const SWindow& window, double stepS,
                              const std::function<bool(double, double)>& reached) {
    for (std::size_t k = 0; k < window.positions.size(); ++k) {
        if (reached(window.positions[k], window.positions.front())) {
            return window.offsetS + static_cast<double>(k) * stepS;
        }
    }
    return std::nullopt;
}

} // namespace

double CSetpointProfile::At(double timeS) const {
    if (m_points.empty()) {
        return 0;
    }
    // The first point later than the time; the one before it holds or starts the segment.
    const auto later = std::upper_bound(
        m_points.begin(), m_points.end(), timeS,
        [](double time, const SProfilePoint& point) { return time < point.timeS; });
    if (later == m_points.begin()) {
        return m_points.front().setpoint;
    }
    if (later == m_points.end()) {
        return m_points.back().setpoint;
    }
    const SProfilePoint& before = *std::prev(later);
    const double share = (timeS - before.timeS) / (later->timeS - before.timeS);
    return before.setpoint + share * (later->setpoint - before.setpoint);
}

CSetpointProfile RampProfile(const SRampSettings& s) {
    std::vector<SProfilePoint> points{{0, s.start}};
    if (s.roundTrip) {
        const double quarter = s.durationS / 4;
        HoldThenRamp(points, s.preTestS, quarter, s.breakPoint1);
        HoldThenRamp(points, s.pauseS, quarter, s.start);
        HoldThenRamp(points, s.pauseS, quarter, s.breakPoint2);
        HoldThenRamp(points, s.pauseS, quarter, s.end);
    } else {
        const double half = s.durationS / 2;
        HoldThenRamp(points, s.preTestS, half, s.breakPoint1);
        HoldThenRamp(points, s.pauseS, half, s.end);
    }
    points.push_back({points.back().timeS + s.pauseS, s.end});
    return CSetpointProfile(std::move(points));
}

CSetpointProfile StepProfile(const SStepSettings& s) {
    std::vector<SProfilePoint> points{{0, s.start}, {s.preTestS, s.start}};
    const double high = s.start + s.amplitude;
    for (int wave = 0; wave < s.waves; ++wave) {
        const double up = s.preTestS + 2 * wave * s.stepLengthS;
        points.push_back({up, high});
        points.push_back({up + s.stepLengthS, high});
        points.push_back({up + s.stepLengthS, s.start});
        points.push_back({up + 2 * s.stepLengthS, s.start});
    }
    return CSetpointProfile(std::move(points));
}

double RampRecordedS(const SRampSettings& s) {
    return s.durationS + (s.roundTrip ? 3 : 1) * s.pauseS;
}

std::size_t SampleCount(double seconds) {
    // The small margin keeps a whole number of tenths whole despite rounding on the way.
    const double samples = std::floor(seconds / kSampleS + 1e-6);
    return samples <= 0 ? 0 : std::min(static_cast<std::size_t>(samples), kMaxSamples);
}

std::vector<double> Simulate(const CSetpointProfile& profile, CValveModel& model) {
    const double stepS = model.Parameters().stepS;
    const auto steps = static_cast<std::size_t>(std::ceil(profile.DurationS() / stepS));
    model.Reset(profile.At(0));
    std::vector<double> trace;
    trace.reserve(steps + 1);
    trace.push_back(model.Position());
    for (std::size_t k = 0; k < steps; ++k) {
        model.Step(profile.At(static_cast<double>(k) * stepS));
        trace.push_back(model.Position());
    }
    return trace;
}

std::vector<std::int16_t> TakeSamples(std::span<const double> trace, double stepS, double fromS,
                                      std::size_t count) {
    std::vector<std::int16_t> samples;
    if (trace.empty()) {
        return samples;
    }
    samples.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const double timeS = fromS + static_cast<double>(i) * kSampleS;
        const auto k =
            std::min(static_cast<std::size_t>(std::lround(timeS / stepS)), trace.size() - 1);
        samples.push_back(Hundredths(trace[k]));
    }
    return samples;
}

std::optional<double> FirstTime(std::span<const double> trace, double stepS, double fromS,
                                double lengthS,
                                const std::function<bool(double position, double start)>& reached) {
    return FirstIn(Window(trace, stepS, fromS, lengthS), stepS, reached);
}

SStepFigures MeasureStep(std::span<const double> trace, double stepS, double stepTimeS,
                         double lengthS, double from, double to) {
    if (to == from) {
        return {};
    }
    const SWindow window = Window(trace, stepS, stepTimeS, lengthS);
    if (window.positions.empty()) {
        return {};
    }
    const double offsetS = window.offsetS;
    const double size = std::abs(to - from);
    // Movement counts from the position at the step toward the new setpoint.
    const auto share = [&](double part) {
        return FirstIn(window, stepS,
                       [&](double position, double start) {
                           return (position - start) / (to - from) >= part;
                       })
            .value_or(lengthS);
    };

    SStepFigures figures;
    figures.deadTimeS = share(0.02);
    figures.t63S = share(0.63);
    figures.t86S = share(0.86);
    const double direction = to > from ? 1 : -1;
    for (const double position : window.positions) {
        figures.overshootPercent =
            std::max(figures.overshootPercent, (position - to) * direction / size * 100);
    }
    // Settled from the entry after the last one outside the band on.
    figures.settlingTimeS = offsetS;
    for (std::size_t k = window.positions.size(); k-- > 0;) {
        if (std::abs(window.positions[k] - to) > 0.02 * size) {
            figures.settlingTimeS = std::min(offsetS + static_cast<double>(k + 1) * stepS, lengthS);
            break;
        }
    }
    return figures;
}

namespace {

// `value` × `scale`, rounded, saturated to 16 bits; 0 for what is not a number.
std::int16_t Scaled(double value, double scale) {
    const double scaled = std::round(value * scale);
    if (std::isnan(scaled)) {
        return 0;
    }
    return static_cast<std::int16_t>(
        std::clamp(scaled, static_cast<double>(std::numeric_limits<std::int16_t>::min()),
                   static_cast<double>(std::numeric_limits<std::int16_t>::max())));
}

} // namespace

std::int16_t Hundredths(double value) {
    return Scaled(value, 100);
}

std::int16_t Tenths(double value) {
    return Scaled(value, 10);
}
