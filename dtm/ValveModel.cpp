#include "dtm/ValveModel.h"

#include <algorithm>
#include <cmath>

CValveModel::CValveModel(const SValveModelParameters& parameters)
    : m_parameters(parameters), m_delaySteps(static_cast<std::size_t>(std::max(
                                    0L, std::lround(parameters.deadTimeS / parameters.stepS)))) {
    Reset(0);
}

void CValveModel::Reset(double position) {
    m_position = std::clamp(position, 0.0, 100.0);
    m_drive = m_position;
    m_velocity = 0;
    m_pending.assign(m_delaySteps, m_position);
}

void CValveModel::Step(double setpoint) {
    if (m_parameters.stuck) {
        return;
    }
    m_pending.push_back(setpoint);
    const double delayed = m_pending.front();
    m_pending.pop_front();

    // The play of the friction band: the drive follows only what leaves the band around it.
    const double half = m_parameters.deadBandPercent / 2;
    if (delayed > m_drive + half) {
        m_drive = delayed - half;
    } else if (delayed < m_drive - half) {
        m_drive = delayed + half;
    }

    // Semi-implicit Euler: stable for the small steps used here.
    const double w = m_parameters.naturalFrequency;
    const double dt = m_parameters.stepS;
    const double acceleration =
        w * w * (m_drive - m_position) - 2 * m_parameters.damping * w * m_velocity;
    m_velocity += acceleration * dt;
    m_position += m_velocity * dt;
    if (m_position < 0 || m_position > 100) {
        m_position = std::clamp(m_position, 0.0, 100.0);
        m_velocity = 0;
    }
}
