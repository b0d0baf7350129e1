#include "views/components/Indicator.h"

#include <algorithm>
#include <cmath>

CIndicator::CIndicator(QWidget* parent) : QWidget(parent) {}

void CIndicator::setRange(double minimum, double maximum) {
    if (!std::isfinite(minimum) || !std::isfinite(maximum) || minimum > maximum) {
        return;
    }
    m_minimum = minimum;
    m_maximum = maximum;
    update();
}

void CIndicator::setMinimum(double minimum) {
    setRange(minimum, std::isfinite(minimum) ? std::max(minimum, m_maximum) : m_maximum);
}

void CIndicator::setMaximum(double maximum) {
    setRange(std::isfinite(maximum) ? std::min(maximum, m_minimum) : m_minimum, maximum);
}

void CIndicator::setValue(double value) {
    if (!std::isfinite(value) || value == m_value) {
        return;
    }
    m_value = value;
    update();
    valueChangedEvent(value);
}

void CIndicator::setUnit(const QString& unit) {
    m_unit = unit;
    update();
}

void CIndicator::setDecimals(int decimals) {
    if (decimals >= 0 && decimals <= 6) {
        m_decimals = decimals;
        update();
    }
}

QString CIndicator::valueText() const {
    const QString number = QString::number(m_value, 'f', m_decimals);
    return m_unit.isEmpty() ? number : number + QLatin1Char(' ') + m_unit;
}

double CIndicator::fractionOf(double value) const {
    const double span = m_maximum - m_minimum;
    if (!(span > 0.0) || !std::isfinite(span)) {
        return 0.0;
    }
    return std::clamp((value - m_minimum) / span, 0.0, 1.0);
}
