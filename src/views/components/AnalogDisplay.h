#pragma once

#include "views/components/Indicator.h"

// Numeric read-out of a value with its unit (the dashboard's deviation display).
class CAnalogDisplay : public CIndicator {
    Q_OBJECT
public:
    explicit CAnalogDisplay(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {140, 40}; }
    QSize minimumSizeHint() const override { return {80, 26}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    // Draws the read-out panel with the value and unit into area.
    void paintReadout(QPainter& painter, const QRectF& area) const;
};

// A read-out with a level bar under the number that shows where the value lies in the range.
// Announces every change of its value.
class CAnalogOutputDisplay : public CAnalogDisplay {
    Q_OBJECT
public:
    explicit CAnalogOutputDisplay(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {140, 54}; }
    QSize minimumSizeHint() const override { return {80, 38}; }

signals:
    void valueChanged(double value);

protected:
    void paintEvent(QPaintEvent* event) override;
    void valueChangedEvent(double value) override { emit valueChanged(value); }
};
