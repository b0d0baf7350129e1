#pragma once

#include "views/components/Indicator.h"

class QPainter;

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

private:
    struct Dial;
    Dial measureDial() const;
    // The angle of value on the scale in degrees, counter-clockwise from 3 o'clock.
    double angleOf(double value) const;

    void drawFace(QPainter& painter, const Dial& dial) const;
    void drawTrack(QPainter& painter, const Dial& dial) const;
    void drawScale(QPainter& painter, const Dial& dial) const;
    void drawReadout(QPainter& painter, const Dial& dial) const;
    void drawPointer(QPainter& painter, const Dial& dial) const;
};
