#pragma once

#include "views/components/Indicator.h"

// Horizontal gauge: a bar filled from the minimum to the value with a pointer, a scale under it
// and the value in numbers above (the dashboard's position and setpoint). Announces every
// change of its value.
class CLinearGauge : public CIndicator {
    Q_OBJECT
public:
    explicit CLinearGauge(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {260, 72}; }
    QSize minimumSizeHint() const override { return {140, 60}; }

signals:
    void valueChanged(double value);

protected:
    void paintEvent(QPaintEvent* event) override;
    void valueChangedEvent(double value) override { emit valueChanged(value); }
};
