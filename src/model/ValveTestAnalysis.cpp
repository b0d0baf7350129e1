#include "model/ValveTestAnalysis.h"

#include <algorithm>
#include <cmath>

namespace valve_analysis {

namespace {

constexpr double kLongestLagS = 10.0;
constexpr int kLagRefinement = 10;

// The time within the segment from `from` to `to` where f, linear between them, reaches
// `level`; `from` itself when it is there already.
template <class F> double Crossing(const SPoint& from, const SPoint& to, double level, F f) {
    const double a = f(from.value);
    const double b = f(to.value);
    if (a == b) {
        return from.time;
    }
    const double share = std::clamp((level - a) / (b - a), 0.0, 1.0);
    return from.time + share * (to.time - from.time);
}

double MeanDeviation(const Curve& position, const Curve& setpoint, double delay) {
    double sum = 0.0;
    for (const SPoint& sample : position) {
        sum += std::abs(ProfileAt(setpoint, sample.time - delay) - sample.value);
    }
    return sum / static_cast<double>(position.size());
}

double Lag(const Curve& position, const Curve& setpoint) {
    if (position.size() < 2) {
        return 0.0;
    }
    const double span = position.back().time - position.front().time;
    const double period = span / static_cast<double>(position.size() - 1);
    if (!(period > 0.0)) {
        return 0.0;
    }
    const double longest = std::min(kLongestLagS, span / 4.0);
    // Whole sample periods first, then tenths of one around the best.
    double best = 0.0;
    double bestDeviation = MeanDeviation(position, setpoint, 0.0);
    const auto consider = [&](double delay) {
        const double deviation = MeanDeviation(position, setpoint, delay);
        if (deviation < bestDeviation) {
            bestDeviation = deviation;
            best = delay;
        }
    };
    for (int k = 1; k * period <= longest; ++k) {
        consider(k * period);
    }
    const double coarse = best;
    for (int k = -kLagRefinement; k <= kLagRefinement; ++k) {
        const double delay = coarse + k * period / kLagRefinement;
        if (k != 0 && delay >= 0.0 && delay <= longest) {
            consider(delay);
        }
    }
    return best;
}

std::vector<double> MeanStepFigures(const Curve& position, const std::vector<SStep>& steps) {
    std::vector<double> sums(5, 0.0);
    for (const SStep& step : steps) {
        const SStepResponse r = StepResponse(position, step.start, step.end, step.target);
        const double figures[] = {r.deadTime, r.t63, r.t86, r.overshoot, r.settlingTime};
        for (std::size_t i = 0; i < sums.size(); ++i) {
            sums[i] += figures[i];
        }
    }
    for (double& sum : sums) {
        sum /= static_cast<double>(steps.size());
    }
    return sums;
}

} // namespace

SStepResponse StepResponse(const Curve& position, double start, double end, double target) {
    const double from = ProfileAt(position, start);
    const double step = target - from;
    if (std::abs(step) < 1e-9 || !(end > start)) {
        return {};
    }
    const auto progress = [from, step](double value) { return (value - from) / step; };
    const auto distance = [target](double value) { return std::abs(value - target); };
    const double band = kSettledBand * std::abs(step);
    const double whole = end - start;

    std::optional<double> deadTime;
    std::optional<double> t63;
    std::optional<double> t86;
    double overshoot = 0.0;
    std::optional<double> settledAt; // since then within the band
    SPoint previous{start, from};
    const auto first = std::upper_bound(position.begin(), position.end(), start,
                                        [](double t, const SPoint& p) { return t < p.time; });
    for (auto it = first; it != position.end() && it->time <= end; ++it) {
        const SPoint& sample = *it;
        const double moved = progress(sample.value);
        for (auto [share, found] :
             {std::pair{kDeadTimeShare, &deadTime}, std::pair{0.63, &t63}, std::pair{0.86, &t86}}) {
            if (!*found && moved >= share) {
                *found = Crossing(previous, sample, share, progress) - start;
            }
        }
        overshoot = std::max(overshoot, (moved - 1.0) * 100.0);
        if (distance(sample.value) > band) {
            settledAt.reset();
        } else if (!settledAt) {
            settledAt = Crossing(previous, sample, band, distance);
        }
        previous = sample;
    }
    return {deadTime.value_or(whole), t63.value_or(whole), t86.value_or(whole), overshoot,
            settledAt ? *settledAt - start : whole};
}

STracking Tracking(const Curve& position, const Curve& setpoint) {
    STracking tracking;
    if (position.empty()) {
        return tracking;
    }
    double sum = 0.0;
    for (const SPoint& sample : position) {
        const double error = std::abs(ProfileAt(setpoint, sample.time) - sample.value);
        sum += error;
        tracking.maxError = std::max(tracking.maxError, error);
    }
    tracking.meanError = sum / static_cast<double>(position.size());
    tracking.lag = Lag(position, setpoint);
    return tracking;
}

std::vector<SStep> Steps(const Curve& setpoint, double end) {
    std::vector<SStep> steps;
    for (std::size_t i = 0; i + 1 < setpoint.size(); ++i) {
        const SPoint& before = setpoint[i];
        const SPoint& after = setpoint[i + 1];
        if (before.time == after.time && before.value != after.value && before.time < end) {
            if (!steps.empty()) {
                steps.back().end = before.time;
            }
            steps.push_back({before.time, end, after.value});
        }
    }
    // A later point at the same time as a step replaces its target.
    std::erase_if(steps, [](const SStep& step) { return !(step.end > step.start); });
    return steps;
}

std::optional<SStroke> FindStroke(const Curve& setpoint) {
    const auto leaves = std::find_if(setpoint.begin(), setpoint.end(), [&](const SPoint& p) {
        return p.value != setpoint.front().value;
    });
    if (leaves == setpoint.end()) {
        return std::nullopt;
    }
    SStroke stroke{std::prev(leaves)->time, leaves->value, leaves->time};
    for (auto it = leaves; it != setpoint.end() && it->value == stroke.target; ++it) {
        stroke.back = it->time;
    }
    if (!(stroke.back > stroke.start)) {
        return std::nullopt;
    }
    return stroke;
}

const std::vector<SFigure>& Figures(ETestKind kind) {
    static const std::vector<SFigure> ramp{{"Mean tracking error", "%", EFigureKind::Deviation},
                                           {"Max. tracking error", "%", EFigureKind::Deviation},
                                           {"Lag", "s", EFigureKind::Time}};
    static const std::vector<SFigure> multiStep{{"Dead time", "s", EFigureKind::Time},
                                                {"T63", "s", EFigureKind::Time},
                                                {"T86", "s", EFigureKind::Time},
                                                {"Overshoot", "%", EFigureKind::Deviation},
                                                {"Settling time", "s", EFigureKind::Time}};
    static const std::vector<SFigure> stroke{{"t63", "s", EFigureKind::Time},
                                             {"Overshoot", "%", EFigureKind::Deviation},
                                             {"Time to settle", "s", EFigureKind::Time}};
    switch (kind) {
    case ETestKind::Ramp:
        return ramp;
    case ETestKind::MultiStep:
        return multiStep;
    case ETestKind::PartialStroke:
        break;
    }
    return stroke;
}

std::optional<std::vector<double>> Analyse(ETestKind kind, const Curve& position,
                                           const Curve& setpoint, std::string* problem) {
    const auto refuse = [problem](const char* reason) {
        if (problem) {
            *problem = reason;
        }
        return std::nullopt;
    };
    if (position.size() < 2) {
        return refuse("it holds no recorded position");
    }
    if (setpoint.size() < 2) {
        return refuse("it holds no setpoint");
    }
    switch (kind) {
    case ETestKind::Ramp: {
        const STracking tracking = Tracking(position, setpoint);
        return std::vector<double>{tracking.meanError, tracking.maxError, tracking.lag};
    }
    case ETestKind::MultiStep: {
        const std::vector<SStep> steps = Steps(setpoint, position.back().time);
        if (steps.empty()) {
            return refuse("its setpoint makes no step");
        }
        return MeanStepFigures(position, steps);
    }
    case ETestKind::PartialStroke:
        break;
    }
    const std::optional<SStroke> stroke = FindStroke(setpoint);
    if (!stroke) {
        return refuse("its setpoint makes no stroke");
    }
    const SStepResponse r = StepResponse(position, stroke->start, stroke->back, stroke->target);
    return std::vector<double>{r.t63, r.overshoot, r.settlingTime};
}

SDrift Drift(double value, double baseline, EFigureKind kind, const SDriftThresholds& thresholds) {
    SDrift drift;
    drift.absolute = value - baseline;
    if (baseline != 0.0) {
        drift.relative = drift.absolute / std::abs(baseline) * 100.0;
    }
    if (kind == EFigureKind::Deviation) {
        drift.marked = std::abs(drift.absolute) > thresholds.deviationPoints;
    } else {
        drift.marked =
            drift.relative ? std::abs(*drift.relative) > thresholds.timePercent : value != 0.0;
    }
    return drift;
}

} // namespace valve_analysis
