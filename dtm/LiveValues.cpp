#include "dtm/LiveValues.h"

#include "dtm/DeviceModel.h"
#include "ui/Scheduler.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <numbers>
#include <string>

namespace {

// amplitude × sin(2π t / period).
double Wave(double amplitude, std::int64_t timeMs, std::int64_t periodMs) {
    const double phase = static_cast<double>(timeMs % periodMs) / static_cast<double>(periodMs);
    return amplitude * std::sin(2 * std::numbers::pi * phase);
}

// Thousandths as the store keeps them; never "-0.000".
std::string Text(double value) {
    if (std::fabs(value) < 0.0005) {
        value = 0;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

} // namespace

CLiveValues::CLiveValues(CDeviceModel& store, const SValveModelParameters& model)
    : m_store(store), m_valve(model), m_stepMs(std::max(1L, std::lround(model.stepS * 1000))) {
    m_valve.Reset(SetpointAt(0));
    m_last = Values();
}

double CLiveValues::SetpointAt(std::int64_t timeMs) {
    timeMs = std::max<std::int64_t>(timeMs, 0); // the pattern starts at time 0
    constexpr auto kLevelCount = static_cast<std::int64_t>(std::size(kLevels));
    const double level = kLevels[static_cast<std::size_t>((timeMs / kLevelMs) % kLevelCount)];
    return std::clamp(level + Wave(kSetpointSwing, timeMs, kSetpointPeriodMs), 0.0, 100.0);
}

double CLiveValues::SetpointFor(std::int64_t timeMs) const {
    return m_held.value_or(SetpointAt(timeMs));
}

void CLiveValues::AdvanceToNow() {
    const std::int64_t steps = std::max<std::int64_t>(0, Scheduler().NowMs()) / m_stepMs;
    if (steps <= m_steps) {
        return;
    }
    const double stepS = m_valve.Parameters().stepS;
    double before = m_valve.Position();
    for (; m_steps < steps; ++m_steps) {
        before = m_valve.Position();
        m_valve.Step(m_failPosition.value_or(SetpointFor(m_steps * m_stepMs)));
    }
    m_speed = (m_valve.Position() - before) / stepS;
}

SLiveValues CLiveValues::Values() const {
    const std::int64_t timeMs = m_steps * m_stepMs;
    SLiveValues values;
    values.setpoint = SetpointFor(timeMs);
    values.position = m_valve.Position();
    values.speed = m_speed;
    values.deviation = values.setpoint - values.position;
    const double ripple = Wave(kSupplyRipple, timeMs, kRipplePeriodMs);
    values.supply = kSupply + ripple;
    values.cPlus = kCPlusAtClosed + kCPlusSpan * values.position / 100 + ripple;
    values.cMinus = std::max(0.0, values.supply - values.cPlus - kPressureLoss);
    values.temperature = kTemperature + Wave(kTemperatureDrift, timeMs, kTemperaturePeriodMs);
    values.friction = kFriction + Wave(kFrictionDrift, timeMs, kFrictionPeriodMs) +
                      kMovingFriction * std::min(1.0, std::fabs(m_speed) / kMovingSpeed);
    values.balance = values.cPlus - values.cMinus;
    return values;
}

void CLiveValues::Snapshot() {
    AdvanceToNow();
    m_snapshotMs = m_steps * m_stepMs;
    m_last = Values();
    const std::string good = std::to_string(kGoodStatus);
    m_store.Write(kPositionKey, Text(m_last.position));
    m_store.Write(kSetpointStatusKey, good);
    m_store.Write(kSetpointKey, Text(m_last.setpoint));
    m_store.Write(kDeviationKey, Text(m_last.deviation));
    m_store.Write(kSupplyKey, Text(m_last.supply));
    m_store.Write(kCPlusKey, Text(m_last.cPlus));
    m_store.Write(kCMinusKey, Text(m_last.cMinus));
    m_store.Write(kTemperatureStatusKey, good);
    m_store.Write(kTemperatureKey, Text(m_last.temperature));
    m_store.Write(kFrictionKey, Text(m_last.friction));
    m_store.Write(kSpeedKey, Text(m_last.speed));
    m_store.Write(kBalanceKey, Text(m_last.balance));
    m_store.Write(kDeviationAbsKey, Text(std::fabs(m_last.deviation)));
    m_store.Write(kFinalValueStatusKey, good);
    m_store.Write(kFinalValueKey, Text(m_last.setpoint));
    m_store.Write(kOutputStatusKey, good);
    m_store.Write(kOutputKey, Text(m_last.setpoint));
    m_store.Write(kProcessValueStatusKey, good);
    m_store.Write(kProcessValueKey, Text(m_last.position));
}

void CLiveValues::CountRefresh() {
    std::uint32_t count = 0;
    if (const std::optional<std::string> text = m_store.Read(kCounterKey)) {
        std::from_chars(text->data(), text->data() + text->size(), count);
    }
    m_store.Write(kCounterKey, std::to_string(count + 1));
}

void CLiveValues::HoldSetpoint(bool hold) {
    if (hold == m_held.has_value()) {
        return;
    }
    AdvanceToNow();
    m_held = hold ? std::optional(SetpointAt(m_steps * m_stepMs)) : std::nullopt;
}

void CLiveValues::Fail(std::optional<EFailAction> action) {
    if (action.has_value() == m_failPosition.has_value()) {
        return;
    }
    AdvanceToNow();
    if (!action) {
        m_failPosition.reset();
        return;
    }
    switch (*action) {
    case EFailAction::Close:
        m_failPosition = 0.0;
        break;
    case EFailAction::Open:
        m_failPosition = 100.0;
        break;
    case EFailAction::HoldLastPosition:
        m_failPosition = m_valve.Position();
        break;
    }
}
