#pragma once

#include "dtm/ValveModel.h"

#include <cstdint>
#include <optional>

class CDeviceModel;

// The process values of the positioner at one moment: percent, bar and degrees Celsius.
struct SLiveValues {
    double setpoint = 0;  // the analog output block's setpoint
    double position = 0;  // the valve's position
    double speed = 0;     // the position's rate of change, %/s
    double deviation = 0; // setpoint - position
    double supply = 0;    // supply pressure
    double cPlus = 0;     // actuator pressure C+
    double cMinus = 0;    // actuator pressure C-
    double temperature = 0;
    double friction = 0;
    double balance = 0; // C+ - C-
};

// Where the valve goes in the failure mode (FAIL_ACTION 0x01190000): closed, open, or where
// it is at that moment.
enum class EFailAction { Close = 0, Open = 1, HoldLastPosition = 2 };

// The live process values of the positioner (DEVICE.md, Live values). The setpoint follows a
// fixed pattern of scheduler time; the valve follows it through the valve model, integrated
// step by step from time 0 whenever a snapshot asks for a later time; pressures, temperature
// and friction are formulas of the time and of the valve. A snapshot (command 42) writes the
// values into the store, which holds them until the next snapshot; command 41 does the same
// and counts the refreshes. While the setpoint is held (the setpoint modes other than
// automatic) it keeps the pattern's value of the moment the hold began and the valve follows
// that. In the failure mode the valve is driven to its fail position instead of the setpoint.
// Deterministic: the same scheduler times, holds and failures give the same values, however the
// snapshots fall.
class CLiveValues {
public:
    static constexpr std::uint8_t kSnapshotCommand = 42;
    static constexpr std::uint8_t kRefreshCommand = 41;

    static constexpr std::uint32_t kPositionKey = 0x01440001;
    static constexpr std::uint32_t kSetpointStatusKey = 0x04080001;
    static constexpr std::uint32_t kSetpointKey = 0x04080002;
    static constexpr std::uint32_t kDeviationKey = 0x015D0001;
    static constexpr std::uint32_t kSupplyKey = 0x01530001;
    static constexpr std::uint32_t kCPlusKey = 0x01530002;
    static constexpr std::uint32_t kCMinusKey = 0x01530003;
    static constexpr std::uint32_t kTemperatureStatusKey = 0x01110001;
    static constexpr std::uint32_t kTemperatureKey = 0x01110002;
    static constexpr std::uint32_t kFrictionKey = 0x015E0001;
    static constexpr std::uint32_t kSpeedKey = 0x01440002;
    static constexpr std::uint32_t kBalanceKey = 0x01530004;
    static constexpr std::uint32_t kDeviationAbsKey = 0x015D0002;
    // The blocks' copies: the final value and the analog output block's output (the setpoint),
    // the analog output block's process value (the position), each with its status.
    static constexpr std::uint32_t kFinalValueStatusKey = 0x010D0001;
    static constexpr std::uint32_t kFinalValueKey = 0x010D0002;
    static constexpr std::uint32_t kOutputStatusKey = 0x04090001;
    static constexpr std::uint32_t kOutputKey = 0x04090002;
    static constexpr std::uint32_t kProcessValueStatusKey = 0x04070001;
    static constexpr std::uint32_t kProcessValueKey = 0x04070002;
    // The refreshes (command 41) so far.
    static constexpr std::uint32_t kCounterKey = 0x01660000;
    // The status both status elements carry: good.
    static constexpr int kGoodStatus = 128;

    // The setpoint pattern: levels held kLevelMs each, in turn, plus a slow sine.
    static constexpr double kLevels[] = {50, 65, 40, 70, 55, 30, 60};
    static constexpr std::int64_t kLevelMs = 30000;
    static constexpr double kSetpointSwing = 2; // %, amplitude of the sine
    static constexpr std::int64_t kSetpointPeriodMs = 600000;

    static constexpr double kSupply = 5.5; // bar
    static constexpr double kSupplyRipple = 0.05;
    static constexpr std::int64_t kRipplePeriodMs = 420000;
    static constexpr double kCPlusAtClosed = 1.0; // bar at 0 %
    static constexpr double kCPlusSpan = 3.5;     // bar from 0 to 100 %
    static constexpr double kPressureLoss = 0.4;  // bar: supply - C+ - C-
    static constexpr double kTemperature = 24;    // degrees Celsius
    static constexpr double kTemperatureDrift = 1.5;
    static constexpr std::int64_t kTemperaturePeriodMs = 3600000;
    static constexpr double kFriction = 0.6; // bar
    static constexpr double kFrictionDrift = 0.08;
    static constexpr std::int64_t kFrictionPeriodMs = 1500000;
    // While the valve moves friction rises by up to kMovingFriction, in full from kMovingSpeed.
    static constexpr double kMovingFriction = 0.02;
    static constexpr double kMovingSpeed = 5; // %/s

    // The valve rests at the pattern's setpoint at time 0; the store keeps its values until
    // the first snapshot (the dictionary's defaults are the values at time 0).
    explicit CLiveValues(CDeviceModel& store, const SValveModelParameters& model = {});

    // The pattern's setpoint at `timeMs` of scheduler time (that of 0 before it), clamped to
    // 0..100 %.
    static double SetpointAt(std::int64_t timeMs);

    // Brings the valve to the scheduler's time (its last whole integration step) and writes
    // the nineteen values into the store, numbers as "%.3f", the statuses as whole numbers.
    void Snapshot();
    // Adds one to the refresh counter in the store (32 bits, it wraps).
    void CountRefresh();
    // From the scheduler's time on the setpoint holds its value of that moment (true) or
    // follows the pattern again (false); the valve is brought to that time first. Holding
    // again while held keeps the first value.
    void HoldSetpoint(bool hold);
    bool IsSetpointHeld() const { return m_held.has_value(); }
    // From the scheduler's time on the valve is driven to the fail action's position (0 %,
    // 100 % or its position of that moment) whatever the setpoint (an action), or follows the
    // setpoint again (nothing); the valve is brought to that time first. Failing again while
    // failed keeps the first position.
    void Fail(std::optional<EFailAction> action);
    bool IsFailed() const { return m_failPosition.has_value(); }
    // The values of the last snapshot; those at time 0 before the first.
    const SLiveValues& Last() const { return m_last; }
    // The model time of the last snapshot, a whole number of integration steps.
    std::int64_t LastSnapshotMs() const { return m_snapshotMs; }

private:
    void AdvanceToNow();
    // The setpoint the valve gets at `timeMs`: the held one or the pattern's.
    double SetpointFor(std::int64_t timeMs) const;
    SLiveValues Values() const;

    CDeviceModel& m_store;
    CValveModel m_valve;
    std::int64_t m_stepMs = 10;
    std::int64_t m_steps = 0; // integration steps made since time 0
    double m_speed = 0;       // over the last step, %/s
    std::int64_t m_snapshotMs = 0;
    std::optional<double> m_held;         // the setpoint while it is held
    std::optional<double> m_failPosition; // where the valve is driven in the failure mode
    SLiveValues m_last;
};
