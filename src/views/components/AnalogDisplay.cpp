#include "views/components/AnalogDisplay.h"

#include "views/components/Painting.h"

#include <QPainter>

using namespace Painting;

namespace {
const QColor kReadoutBackground{0x1e, 0x29, 0x31};
const QColor kReadoutDigits{0xf2, 0xf7, 0xfb};
const QColor kReadoutUnit{0xa9, 0xb8, 0xc4};
} // namespace

CAnalogDisplay::CAnalogDisplay(QWidget* parent) : CIndicator(parent) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void CAnalogDisplay::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    paintReadout(painter, rect());
}

void CAnalogDisplay::paintReadout(QPainter& painter, const QRectF& area) const {
    const QRectF box = area.adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(kPanelBorder.darker(130), 1.0));
    painter.setBrush(kReadoutBackground);
    painter.drawRoundedRect(box, 4, 4);

    const qreal pad = qMax(4.0, box.height() * 0.18);
    QRectF text = box.adjusted(pad, 0, -pad, 0);
    const QFont unitFont = sizedFont(font(), box.height() * 0.34);
    if (!unit().isEmpty()) {
        painter.setFont(unitFont);
        painter.setPen(kReadoutUnit);
        const QRectF unitBox =
            painter.boundingRect(text, Qt::AlignRight | Qt::AlignVCenter, unit());
        painter.drawText(text, Qt::AlignRight | Qt::AlignVCenter, unit());
        text.setRight(unitBox.left() - pad / 2);
    }
    painter.setFont(sizedFont(font(), box.height() * 0.55, true));
    painter.setPen(kReadoutDigits);
    painter.drawText(text, Qt::AlignRight | Qt::AlignVCenter,
                     QString::number(value(), 'f', decimals()));
}

CAnalogOutputDisplay::CAnalogOutputDisplay(QWidget* parent) : CAnalogDisplay(parent) {}

void CAnalogOutputDisplay::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF all = rect();
    const qreal barHeight = qBound(6.0, all.height() * 0.16, 12.0);
    const qreal gap = 4.0;
    paintReadout(painter, all.adjusted(0, 0, 0, -(barHeight + gap)));

    const QRectF track(all.left() + 0.5, all.bottom() - barHeight + 0.5, all.width() - 1.0,
                       barHeight - 1.0);
    painter.setPen(QPen(kPanelBorder, 1.0));
    painter.setBrush(kTrack);
    painter.drawRoundedRect(track, 2, 2);
    QRectF level = track.adjusted(1, 1, -1, -1);
    level.setWidth(level.width() * fraction());
    painter.setPen(Qt::NoPen);
    painter.setBrush(kAccent);
    painter.drawRect(level);
}
