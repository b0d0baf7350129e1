#pragma once

#include "views/components/Indicator.h"

// Round dial with a pointer over a 270 degree scale and the value in numbers under the hub
// (the dashboard's pressures, the pressure calibration).
class CAngularGauge : public CIndicator {
    Q_OBJECT
public:
    explicit CAngularGauge(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {180, 180}; }
    QSize minimumSizeHint() const override { return {110, 110}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return width; }

protected:
    void paintEvent(QPaintEvent* event) override;
};
