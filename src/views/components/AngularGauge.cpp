#include "views/components/AngularGauge.h"

#include "views/components/Painting.h"

#include <QPainter>
#include <QRadialGradient>

#include <cmath>
#include <numbers>

using namespace Painting;

namespace {
// The scale runs clockwise from 225 degrees (lower left) to -45 degrees (lower right).
constexpr double kStartAngle = 225.0;
constexpr double kSweep = 270.0;

QPointF onCircle(const QPointF& centre, qreal radius, double degrees) {
    const double radians = degrees * std::numbers::pi / 180.0;
    return centre + QPointF(radius * std::cos(radians), -radius * std::sin(radians));
}
} // namespace

CAngularGauge::CAngularGauge(QWidget* parent) : CIndicator(parent) {
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void CAngularGauge::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = qMin(width(), height());
    const QRectF face((width() - side) / 2 + 1, (height() - side) / 2 + 1, side - 2, side - 2);
    const QPointF centre = face.center();
    const qreal radius = face.width() / 2;

    // Bezel and dial face.
    QRadialGradient dial(centre, radius);
    dial.setColorAt(0.0, QColor(Qt::white));
    dial.setColorAt(0.92, kPanel);
    dial.setColorAt(1.0, kPanel.darker(112));
    painter.setPen(QPen(kPanelBorder, 1.5));
    painter.setBrush(dial);
    painter.drawEllipse(face);

    const double angle = kStartAngle - kSweep * fraction();
    const auto arcRect = [&](qreal r) {
        return QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r);
    };

    // Track and the arc up to the value (angles of drawArc in sixteenths of a degree).
    const qreal band = qMax(4.0, radius * 0.07);
    const qreal arcRadius = radius * 0.86;
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kTrack, band, Qt::SolidLine, Qt::FlatCap));
    painter.drawArc(arcRect(arcRadius), int(kStartAngle * 16), int(-kSweep * 16));
    painter.setPen(QPen(kAccent, band, Qt::SolidLine, Qt::FlatCap));
    painter.drawArc(arcRect(arcRadius), int(kStartAngle * 16),
                    int(std::lround((angle - kStartAngle) * 16)));

    // Ticks inside the band, labels inside the ticks.
    const QFont labelFont = sizedFont(font(), radius * 0.13);
    painter.setFont(labelFont);
    const Scale scale = niceScale(minimum(), maximum(), radius > 70 ? 7 : 5);
    const qreal tickOuter = arcRadius - band / 2 - 1;
    const qreal labelRadius = tickOuter - radius * 0.11 - QFontMetricsF(labelFont).height() * 0.6;
    for (const double tick : scale.ticks) {
        const double a = kStartAngle - kSweep * fractionOf(tick);
        painter.setPen(QPen(kText, 1.5));
        painter.drawLine(onCircle(centre, tickOuter, a),
                         onCircle(centre, tickOuter - radius * 0.11, a));
        const double half = tick + scale.step / 2;
        if (half < maximum()) {
            const double b = kStartAngle - kSweep * fractionOf(half);
            painter.setPen(QPen(kMutedText, 1.0));
            painter.drawLine(onCircle(centre, tickOuter, b),
                             onCircle(centre, tickOuter - radius * 0.06, b));
        }
        const QPointF at = onCircle(centre, labelRadius, a);
        painter.setPen(kText);
        painter.drawText(
            QRectF(at.x() - radius * 0.3, at.y() - radius * 0.1, radius * 0.6, radius * 0.2),
            Qt::AlignCenter, tickLabel(tick, scale.step));
    }

    // Value and unit in the lower half.
    painter.setFont(sizedFont(font(), radius * 0.17, true));
    painter.setPen(kText);
    painter.drawText(
        QRectF(centre.x() - radius * 0.6, centre.y() + radius * 0.38, radius * 1.2, radius * 0.24),
        Qt::AlignCenter, QString::number(value(), 'f', decimals()));
    painter.setFont(sizedFont(font(), radius * 0.12));
    painter.setPen(kMutedText);
    painter.drawText(
        QRectF(centre.x() - radius * 0.6, centre.y() + radius * 0.62, radius * 1.2, radius * 0.18),
        Qt::AlignCenter, unit());

    // Pointer: a tapered needle from behind the hub to near the track, then the hub cap.
    const qreal length = arcRadius - band;
    const qreal base = qMax(2.5, radius * 0.035);
    const QPolygonF needle{onCircle(centre, length, angle), onCircle(centre, base, angle + 90),
                           onCircle(centre, radius * 0.12, angle + 180),
                           onCircle(centre, base, angle - 90)};
    painter.setPen(QPen(kPointer.darker(150), 1.0));
    painter.setBrush(kPointer);
    painter.drawPolygon(needle);
    QRadialGradient hub(centre, radius * 0.08);
    hub.setColorAt(0.0, QColor(0x6b, 0x74, 0x7c));
    hub.setColorAt(1.0, QColor(0x2a, 0x30, 0x35));
    painter.setPen(Qt::NoPen);
    painter.setBrush(hub);
    painter.drawEllipse(centre, radius * 0.08, radius * 0.08);
}
