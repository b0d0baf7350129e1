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

QRectF circleBounds(const QPointF& centre, qreal radius) {
    return QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
}

// A line along a radius, from outer to inner, in the painter's pen.
void drawRadial(QPainter& painter, const QPointF& centre, qreal outer, qreal inner,
                double degrees) {
    painter.drawLine(onCircle(centre, outer, degrees), onCircle(centre, inner, degrees));
}
} // namespace

// Where the parts of the dial lie at the widget's present size.
struct CAngularGauge::Dial {
    QRectF face;
    QPointF centre;
    qreal radius = 0.0;
    qreal band = 0.0;      // width of the track
    qreal arcRadius = 0.0; // radius of the track's middle
    double angle = 0.0;    // where the value lies, in degrees
};

CAngularGauge::CAngularGauge(QWidget* parent) : CIndicator(parent) {
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void CAngularGauge::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const Dial dial = measureDial();
    drawFace(painter, dial);
    drawTrack(painter, dial);
    drawScale(painter, dial);
    drawReadout(painter, dial);
    drawPointer(painter, dial);
}

CAngularGauge::Dial CAngularGauge::measureDial() const {
    const qreal side = qMin(width(), height());
    Dial dial;
    dial.face = QRectF((width() - side) / 2 + 1, (height() - side) / 2 + 1, side - 2, side - 2);
    dial.centre = dial.face.center();
    dial.radius = dial.face.width() / 2;
    dial.band = qMax(4.0, dial.radius * 0.07);
    dial.arcRadius = dial.radius * 0.86;
    dial.angle = angleOf(value());
    return dial;
}

double CAngularGauge::angleOf(double value) const {
    return kStartAngle - kSweep * fractionOf(value);
}

// Bezel and dial face.
void CAngularGauge::drawFace(QPainter& painter, const Dial& dial) const {
    QRadialGradient fill(dial.centre, dial.radius);
    fill.setColorAt(0.0, QColor(Qt::white));
    fill.setColorAt(0.92, kPanel);
    fill.setColorAt(1.0, kPanel.darker(112));
    painter.setPen(QPen(kPanelBorder, 1.5));
    painter.setBrush(fill);
    painter.drawEllipse(dial.face);
}

// Track and the arc up to the value (angles of drawArc in sixteenths of a degree).
void CAngularGauge::drawTrack(QPainter& painter, const Dial& dial) const {
    const QRectF bounds = circleBounds(dial.centre, dial.arcRadius);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kTrack, dial.band, Qt::SolidLine, Qt::FlatCap));
    painter.drawArc(bounds, int(kStartAngle * 16), int(-kSweep * 16));
    painter.setPen(QPen(kAccent, dial.band, Qt::SolidLine, Qt::FlatCap));
    painter.drawArc(bounds, int(kStartAngle * 16),
                    int(std::lround((dial.angle - kStartAngle) * 16)));
}

// Ticks inside the track with short ones at half steps, labels inside the ticks.
void CAngularGauge::drawScale(QPainter& painter, const Dial& dial) const {
    const qreal radius = dial.radius;
    const QFont labelFont = sizedFont(font(), radius * 0.13);
    painter.setFont(labelFont);
    const Scale scale = niceScale(minimum(), maximum(), radius > 70 ? 7 : 5);
    const qreal tickOuter = dial.arcRadius - dial.band / 2 - 1;
    const qreal labelRadius = tickOuter - radius * 0.11 - QFontMetricsF(labelFont).height() * 0.6;
    for (const double tick : scale.ticks) {
        const double angle = angleOf(tick);
        painter.setPen(QPen(kText, 1.5));
        drawRadial(painter, dial.centre, tickOuter, tickOuter - radius * 0.11, angle);
        const double half = tick + scale.step / 2;
        if (half < maximum()) {
            painter.setPen(QPen(kMutedText, 1.0));
            drawRadial(painter, dial.centre, tickOuter, tickOuter - radius * 0.06, angleOf(half));
        }
        const QPointF at = onCircle(dial.centre, labelRadius, angle);
        painter.setPen(kText);
        painter.drawText(
            QRectF(at.x() - radius * 0.3, at.y() - radius * 0.1, radius * 0.6, radius * 0.2),
            Qt::AlignCenter, tickLabel(tick, scale.step));
    }
}

// Value and unit in the lower half.
void CAngularGauge::drawReadout(QPainter& painter, const Dial& dial) const {
    const QPointF& centre = dial.centre;
    const qreal radius = dial.radius;
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
}

// A tapered needle from behind the hub to near the track, then the hub cap.
void CAngularGauge::drawPointer(QPainter& painter, const Dial& dial) const {
    const QPointF& centre = dial.centre;
    const qreal radius = dial.radius;
    const double angle = dial.angle;
    const qreal length = dial.arcRadius - dial.band;
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
