#include "model/ValveTestAnalysis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

using namespace valve_analysis;

namespace {

constexpr double kPeriod = 0.1;

// Samples every `period` from 0 to `end` of a response to a step from 10 % to 20 % at `step`.
template <class F> Curve Sampled(double end, double period, F response) {
    Curve curve;
    for (int i = 0; i * period <= end + 1e-9; ++i) {
        const double t = i * period;
        curve.push_back({t, response(t)});
    }
    return curve;
}

// A first-order lag of time constant `tau` behind a dead time `dead`, from 10 % to 20 %.
Curve FirstOrder(double step, double dead, double tau, double end, double period = kPeriod) {
    return Sampled(end, period, [=](double t) {
        const double since = t - step - dead;
        return since <= 0.0 ? 10.0 : 20.0 - 10.0 * std::exp(-since / tau);
    });
}

TEST(ValveTestAnalysis, StepResponseOfAFirstOrderLagGivesItsKnownTimesWithinOneSample) {
    const double dead = 0.3;
    const double tau = 0.8;
    const SStepResponse r = StepResponse(FirstOrder(2.0, dead, tau, 12.0), 2.0, 12.0, 20.0);
    EXPECT_NEAR(r.t63, dead + tau, kPeriod); // 1 - e^-1 of the step after the dead time
    EXPECT_NEAR(r.deadTime, dead + tau * -std::log(0.98), kPeriod);
    EXPECT_NEAR(r.t86, dead + tau * std::log(1.0 / 0.14), kPeriod);
    EXPECT_NEAR(r.settlingTime, dead + tau * std::log(50.0), kPeriod);
    EXPECT_DOUBLE_EQ(r.overshoot, 0.0);

    // The same at another sample period, and with noise of ±0.3 % of the step.
    const SStepResponse slow =
        StepResponse(FirstOrder(2.0, dead, tau, 12.0, 0.25), 2.0, 12.0, 20.0);
    EXPECT_NEAR(slow.t63, dead + tau, 0.25);
    std::mt19937 random(7);
    std::uniform_real_distribution<double> noise(-0.03, 0.03);
    Curve noisy = FirstOrder(2.0, dead, tau, 12.0);
    for (SPoint& sample : noisy) {
        sample.value += noise(random);
    }
    const SStepResponse n = StepResponse(noisy, 2.0, 12.0, 20.0);
    EXPECT_NEAR(n.t63, dead + tau, kPeriod);
    EXPECT_NEAR(n.t86, dead + tau * std::log(1.0 / 0.14), kPeriod);
    EXPECT_NEAR(n.settlingTime, dead + tau * std::log(50.0), 3 * kPeriod);
    EXPECT_LT(n.overshoot, 0.5);

    // A step downwards measures the same way.
    Curve down = FirstOrder(2.0, dead, tau, 12.0);
    for (SPoint& sample : down) {
        sample.value = 30.0 - sample.value;
    }
    EXPECT_NEAR(StepResponse(down, 2.0, 12.0, 10.0).t63, dead + tau, kPeriod);
}

TEST(ValveTestAnalysis, OvershootNeverReachedThresholdsAndEmptyStepsFollowTheDeviceRules) {
    // A second-order response with damping 0.5 overshoots by e^(-pi 0.5 / sqrt(0.75)): 16.3 %.
    const double zeta = 0.5;
    const double omega = 4.0;
    const double damped = omega * std::sqrt(1 - zeta * zeta);
    const Curve ringing = Sampled(10.0, 0.01, [=](double t) {
        const double s = t - 1.0;
        return s <= 0 ? 10.0
                      : 20.0 - 10.0 * std::exp(-zeta * omega * s) *
                                   (std::cos(damped * s) +
                                    zeta / std::sqrt(1 - zeta * zeta) * std::sin(damped * s));
    });
    const SStepResponse r = StepResponse(ringing, 1.0, 10.0, 20.0);
    EXPECT_NEAR(r.overshoot, 100.0 * std::exp(-std::numbers::pi * zeta / std::sqrt(0.75)), 0.2);
    EXPECT_GT(r.settlingTime, r.t86) << "it settles only after the ringing";

    // A valve that stops short never crosses 86 % nor settles: the whole window.
    const Curve shortOf = Sampled(6.0, kPeriod, [](double t) { return t < 1.45 ? 10.0 : 17.0; });
    const SStepResponse stuck = StepResponse(shortOf, 1.0, 6.0, 20.0);
    EXPECT_NEAR(stuck.t63, 0.5, kPeriod);
    EXPECT_DOUBLE_EQ(stuck.t86, 5.0);
    EXPECT_DOUBLE_EQ(stuck.settlingTime, 5.0);
    // No step: all 0.
    const SStepResponse none = StepResponse(shortOf, 2.0, 6.0, 17.0);
    EXPECT_DOUBLE_EQ(none.t63, 0.0);
    EXPECT_DOUBLE_EQ(none.settlingTime, 0.0);
}

TEST(ValveTestAnalysis, TrackingErrorAndLagOfARampFollowedLate) {
    const Curve setpoint{{0, 50}, {5, 50}, {15, 70}, {17, 70}, {27, 50}, {29, 50}};
    const double lag = 0.7;
    const Curve position =
        Sampled(29.0, kPeriod, [&](double t) { return ProfileAt(setpoint, t - lag); });
    const STracking tracking = Tracking(position, setpoint);
    EXPECT_NEAR(tracking.lag, lag, 0.011);
    // The ramps run at 2 %/s: 1.4 % behind while they run.
    EXPECT_NEAR(tracking.maxError, 1.4, 1e-9);
    EXPECT_GT(tracking.meanError, 0.5);
    EXPECT_LT(tracking.meanError, 1.4);

    const Curve exactly = Sampled(29.0, kPeriod, [&](double t) { return ProfileAt(setpoint, t); });
    const STracking exact = Tracking(exactly, setpoint);
    EXPECT_NEAR(exact.meanError, 0.0, 1e-9);
    EXPECT_DOUBLE_EQ(exact.lag, 0.0);
}

TEST(ValveTestAnalysis, AnalyseFindsTheStepsAndTheStrokeInTheSetpointAndRefusesWhatMakesNoTest) {
    // A multi-step staircase: up at 2 s and down at 4 s; the valve follows a first-order lag.
    const Curve staircase{{0, 10}, {2, 10}, {2, 20}, {4, 20}, {4, 10}, {6, 10}};
    const std::vector<SStep> steps = Steps(staircase, 6.0);
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_DOUBLE_EQ(steps[0].end, 4.0);
    EXPECT_DOUBLE_EQ(steps[1].target, 10.0);
    const Curve position = Sampled(6.0, kPeriod, [](double t) {
        const auto rise = [](double s) { return s <= 0 ? 0.0 : 10.0 * (1 - std::exp(-s / 0.4)); };
        return 10.0 + rise(t - 2.1) - rise(t - 4.1);
    });
    const auto steps5 = Analyse(ETestKind::MultiStep, position, staircase);
    ASSERT_TRUE(steps5);
    ASSERT_EQ(steps5->size(), Figures(ETestKind::MultiStep).size());
    EXPECT_NEAR((*steps5)[1], 0.5, kPeriod); // T63 averaged over both steps

    // A partial stroke from 100 % to 90 % at 1 s, back at 4 s.
    const Curve stroke{{0, 100}, {1, 100}, {1, 90}, {4, 90}, {4, 100}, {6, 100}};
    const auto found = FindStroke(stroke);
    ASSERT_TRUE(found);
    EXPECT_DOUBLE_EQ(found->start, 1.0);
    EXPECT_DOUBLE_EQ(found->back, 4.0);
    const Curve valve = Sampled(6.0, kPeriod, [](double t) {
        return t <= 1.2 ? 100.0 : 90.0 + 10.0 * std::exp(-(t - 1.2) / 0.5);
    });
    const auto pst = Analyse(ETestKind::PartialStroke, valve, stroke);
    ASSERT_TRUE(pst);
    EXPECT_NEAR((*pst)[0], 0.7, kPeriod);
    EXPECT_DOUBLE_EQ((*pst)[1], 0.0);

    std::string problem;
    EXPECT_FALSE(Analyse(ETestKind::PartialStroke, {}, stroke, &problem));
    EXPECT_EQ(problem, "it holds no recorded position");
    EXPECT_FALSE(Analyse(ETestKind::PartialStroke, valve, {{0, 100}, {6, 100}}, &problem));
    EXPECT_EQ(problem, "its setpoint makes no stroke");
    EXPECT_FALSE(Analyse(ETestKind::MultiStep, valve, {{0, 100}, {6, 90}}, &problem));
    EXPECT_EQ(problem, "its setpoint makes no step");
}

TEST(ValveTestAnalysis, DriftIsRelativeForTimesAndInPercentagePointsForDeviations) {
    const SDriftThresholds defaults;
    const SDrift slower = Drift(0.90, 0.70, EFigureKind::Time, defaults);
    EXPECT_NEAR(slower.absolute, 0.20, 1e-12);
    ASSERT_TRUE(slower.relative);
    EXPECT_NEAR(*slower.relative, 28.571, 0.001);
    EXPECT_TRUE(slower.marked);
    EXPECT_FALSE(Drift(0.80, 0.70, EFigureKind::Time, defaults).marked);
    EXPECT_TRUE(Drift(0.50, 0.70, EFigureKind::Time, defaults).marked) << "faster counts too";
    EXPECT_FALSE(Drift(0.90, 0.70, EFigureKind::Time, {30.0, 5.0}).marked);

    EXPECT_TRUE(Drift(9.0, 3.0, EFigureKind::Deviation, defaults).marked);
    EXPECT_FALSE(Drift(7.0, 3.0, EFigureKind::Deviation, defaults).marked)
        << "+133 % but only 4 percentage points";

    const SDrift fromZero = Drift(0.1, 0.0, EFigureKind::Time, defaults);
    EXPECT_FALSE(fromZero.relative);
    EXPECT_TRUE(fromZero.marked);
    EXPECT_FALSE(Drift(0.0, 0.0, EFigureKind::Time, defaults).marked);
}

} // namespace
