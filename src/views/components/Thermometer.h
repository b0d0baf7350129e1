#pragma once

#include "views/components/Indicator.h"

// Vertical thermometer: a glass tube whose fluid rises to the temperature, a scale beside it
// and the temperature in numbers above (the dashboard's temperature).
class CThermometer : public CIndicator {
    Q_OBJECT
public:
    explicit CThermometer(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {96, 220}; }
    QSize minimumSizeHint() const override { return {72, 140}; }

protected:
    void paintEvent(QPaintEvent* event) override;
};
