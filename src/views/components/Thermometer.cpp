#include "views/components/Thermometer.h"

#include "views/components/Painting.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

using namespace Painting;

namespace {
const QColor kFluid{0xd3, 0x2f, 0x2f};
}

CThermometer::CThermometer(QWidget* parent) : CIndicator(parent) {
    setRange(-40.0, 100.0);
    setDecimals(1);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
}

void CThermometer::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    drawPanel(painter, rect());

    const QFont valueFont = sizedFont(font(), qBound(11.0, width() * 0.15, 16.0), true);
    const qreal valueHeight = QFontMetricsF(valueFont).height();
    painter.setFont(valueFont);
    painter.setPen(kText);
    painter.drawText(QRectF(2, 4, width() - 4, valueHeight), Qt::AlignCenter, valueText());

    // Bulb and tube, centred together with the scale labels to their right.
    const QFont labelFont = sizedFont(font(), 11.0);
    const qreal bulb = qBound(16.0, width() * 0.28, 28.0);
    const qreal tube = bulb * 0.46;
    const qreal labels = 8.0 + widestLabel(labelFont, niceScale(minimum(), maximum(), 8));
    const qreal cx = std::round((width() - bulb - labels) / 2 + bulb / 2) + 0.5;
    const QRectF bulbRect(cx - bulb / 2, height() - 8 - bulb, bulb, bulb);
    const QRectF tubeRect(cx - tube / 2, 4 + valueHeight + 8, tube,
                          bulbRect.center().y() - (4 + valueHeight + 8));
    QPainterPath glass;
    glass.addRoundedRect(tubeRect, tube / 2, tube / 2);
    glass.addEllipse(bulbRect);
    glass = glass.simplified();
    painter.setPen(QPen(kPanelBorder.darker(115), 1.0));
    painter.setBrush(QColor(Qt::white));
    painter.drawPath(glass);

    // The scale runs from just above the bulb to near the top of the tube.
    const qreal yMin = bulbRect.top() - 4;
    const qreal yMax = tubeRect.top() + tube / 2 + 2;
    const qreal level = yMin - (yMin - yMax) * fraction();
    const qreal inner = tube * 0.5;
    painter.setPen(Qt::NoPen);
    painter.setBrush(kFluid);
    painter.drawRect(QRectF(cx - inner / 2, level, inner, bulbRect.center().y() - level));
    painter.drawEllipse(bulbRect.center(), bulb / 2 - 3, bulb / 2 - 3);

    painter.setFont(labelFont);
    const int maxTicks = qBound(2, int((yMin - yMax) / 22), 8);
    drawLinearScale(painter, QPointF(tubeRect.right() + 3, yMin),
                    QPointF(tubeRect.right() + 3, yMax), minimum(), maximum(),
                    niceScale(minimum(), maximum(), maxTicks), Qt::AlignRight, 5.0);
}
