#pragma once

#include <QWidget>

// The value, range, unit and number format that the gauges and numeric displays share.
// Values and limits that are not finite numbers are ignored. A value outside the range is kept
// and shown in numbers; scales and pointers stop at the range ends.
class CIndicator : public QWidget {
    Q_OBJECT
public:
    double minimum() const { return m_minimum; }
    double maximum() const { return m_maximum; }
    // Both limits at once; ignored unless minimum <= maximum.
    void setRange(double minimum, double maximum);
    // One limit; the other one follows when the range would otherwise be inverted.
    void setMinimum(double minimum);
    void setMaximum(double maximum);

    double value() const { return m_value; }
    void setValue(double value);

    QString unit() const { return m_unit; }
    void setUnit(const QString& unit);
    int decimals() const { return m_decimals; }
    void setDecimals(int decimals); // 0 to 6
    // The value as shown: fixed decimals, then the unit.
    QString valueText() const;

protected:
    explicit CIndicator(QWidget* parent);
    // Where the value lies in the range, 0 to 1.
    double fraction() const { return fractionOf(m_value); }
    double fractionOf(double value) const;
    // Called after the value has changed.
    virtual void valueChangedEvent(double) {}

private:
    double m_minimum = 0.0;
    double m_maximum = 100.0;
    double m_value = 0.0;
    QString m_unit;
    int m_decimals = 2;
};
