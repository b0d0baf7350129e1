#pragma once

#include <cstddef>
#include <deque>

// How the simulated valve answers its setpoint. The defaults give a 10 % step a dead time of
// about 0.26 s, T63 of about 0.7 s and an overshoot of about 3 % (DEVICE.md, Valve model).
struct SValveModelParameters {
    // The drive reacts to the setpoint this long after it changed.
    double deadTimeS = 0.2;
    // The second-order response of the actuator to the drive.
    double naturalFrequency = 3.5; // rad/s
    double damping = 0.7;
    // Friction: the drive moves this far (in %) in the other direction before the valve
    // follows again; the valve rests while the drive moves within the band.
    double deadBandPercent = 0.25;
    // The fixed integration step.
    double stepS = 0.01;
    // The valve does not move: the position stays where Reset put it (a stuck valve).
    bool stuck = false;
};

// The valve position (0 to 100 %) driven by a setpoint: the setpoint delayed by the dead time
// moves a drive through the friction band (a play of deadBandPercent), and the position
// follows the drive as a damped second-order system, clamped to 0..100 %. Deterministic: the
// same setpoints give the same positions.
class CValveModel {
public:
    explicit CValveModel(const SValveModelParameters& parameters = {});

    // The valve rests at `position` with the drive there and the setpoint held at it.
    void Reset(double position);
    // Advances by one integration step with `setpoint` (in %) applied now.
    void Step(double setpoint);

    double Position() const { return m_position; }
    const SValveModelParameters& Parameters() const { return m_parameters; }

private:
    SValveModelParameters m_parameters;
    std::size_t m_delaySteps = 0;
    std::deque<double> m_pending; // setpoints on their way through the dead time
    double m_drive = 0;
    double m_position = 0;
    double m_velocity = 0; // % per second
};
