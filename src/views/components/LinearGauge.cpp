#include "views/components/LinearGauge.h"

#include "views/components/Painting.h"

#include <QPainter>

using namespace Painting;

CLinearGauge::CLinearGauge(QWidget* parent) : CIndicator(parent) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void CLinearGauge::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    drawPanel(painter, rect());

    const qreal h = height();
    const QFont labelFont = sizedFont(font(), qBound(10.0, h * 0.16, 13.0));
    const QFont valueFont = sizedFont(font(), qBound(11.0, h * 0.22, 18.0), true);
    const Scale probe = niceScale(minimum(), maximum(), 6);
    const qreal margin = 6.0 + widestLabel(labelFont, probe) / 2;
    const qreal trackLeft = margin;
    const qreal trackRight = width() - margin;

    // Value row at the top.
    const qreal valueHeight = QFontMetricsF(valueFont).height();
    painter.setFont(valueFont);
    painter.setPen(kText);
    painter.drawText(QRectF(6, 3, width() - 12, valueHeight), Qt::AlignRight | Qt::AlignVCenter,
                     valueText());

    // Track, fill and pointer.
    const qreal trackHeight = qBound(8.0, h * 0.14, 14.0);
    const QRectF track(trackLeft, 3 + valueHeight + 4, trackRight - trackLeft, trackHeight);
    painter.setPen(QPen(kPanelBorder, 1.0));
    painter.setBrush(kTrack);
    painter.drawRect(track);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kAccent);
    painter.drawRect(QRectF(track.left() + 1, track.top() + 1, (track.width() - 2) * fraction(),
                            track.height() - 2));
    const qreal x = track.left() + track.width() * fraction();
    const qreal tip = track.top() + 2;
    const qreal size = qMax(5.0, trackHeight * 0.6);
    const QPolygonF pointer{{x, tip}, {x - size, tip - size * 1.2}, {x + size, tip - size * 1.2}};
    painter.setBrush(kPointer);
    painter.setPen(QPen(kPointer.darker(140), 1.0));
    painter.drawPolygon(pointer);

    // Scale under the track.
    painter.setFont(labelFont);
    const int maxTicks = qMax(2, int(track.width() / (widestLabel(labelFont, probe) + 16)));
    drawLinearScale(painter, track.bottomLeft(), track.bottomRight(), minimum(), maximum(),
                    niceScale(minimum(), maximum(), qMin(maxTicks, 11)), Qt::AlignBottom, 5.0);
}
