#include "views/components/Painting.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>

#include <cmath>

namespace Painting {

QColor colorFromRef(quint32 colorRef) {
    return QColor(int(colorRef & 0xFF), int((colorRef >> 8) & 0xFF), int((colorRef >> 16) & 0xFF));
}

quint32 refFromColor(const QColor& color) {
    return quint32(color.red()) | (quint32(color.green()) << 8) | (quint32(color.blue()) << 16);
}

QColor mix(const QColor& a, const QColor& b, qreal t) {
    const auto blend = [t](qreal x, qreal y) { return x + (y - x) * t; };
    return QColor::fromRgbF(blend(a.redF(), b.redF()), blend(a.greenF(), b.greenF()),
                            blend(a.blueF(), b.blueF()), blend(a.alphaF(), b.alphaF()));
}

Scale niceScale(double minimum, double maximum, int maxTicks) {
    Scale scale;
    const double span = maximum - minimum;
    if (!std::isfinite(span) || span <= 0.0 || maxTicks < 2) {
        return scale;
    }
    const double rough = span / (maxTicks - 1);
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double factor : {1.0, 2.0, 2.5, 5.0, 10.0}) {
        scale.step = factor * power;
        if (scale.step >= rough) {
            break;
        }
    }
    // Integer tick numbers keep rounding errors from piling up along the scale.
    const double tolerance = scale.step * 1e-9;
    const auto first = std::ceil((minimum - tolerance) / scale.step);
    const auto last = std::floor((maximum + tolerance) / scale.step);
    // Bounded by count: far out on the number line first + i may not grow at all.
    for (int i = 0; i <= maxTicks && first + i <= last; ++i) {
        const double tick = (first + i) * scale.step;
        scale.ticks.append(tick == 0.0 ? 0.0 : tick); // no "-0" labels
    }
    return scale;
}

QString tickLabel(double value, double step) {
    if (std::abs(value) <= std::abs(step) * 1e-9) {
        value = 0.0; // no "-0"
    }
    int decimals = 0;
    while (decimals < 6 && std::abs(step * std::pow(10.0, decimals) -
                                    std::round(step * std::pow(10.0, decimals))) > 1e-6) {
        ++decimals;
    }
    return QString::number(value, 'f', decimals);
}

qreal widestText(const QFont& font, const QStringList& texts) {
    const QFontMetricsF metrics(font);
    qreal widest = 0.0;
    for (const QString& text : texts) {
        widest = qMax(widest, metrics.horizontalAdvance(text));
    }
    return widest;
}

qreal widestLabel(const QFont& font, const Scale& scale) {
    QStringList labels;
    for (const double tick : scale.ticks) {
        labels.append(tickLabel(tick, scale.step));
    }
    return widestText(font, labels);
}

void drawLinearScale(QPainter& painter, const QPointF& start, const QPointF& end, double minimum,
                     double maximum, const Scale& scale, Qt::Alignment labelSide,
                     qreal tickLength) {
    const double span = maximum - minimum;
    if (scale.ticks.isEmpty() || !(span > 0.0)) {
        return;
    }
    const bool vertical = labelSide & (Qt::AlignLeft | Qt::AlignRight);
    const QPointF normal = labelSide & Qt::AlignBottom ? QPointF(0, 1)
                           : labelSide & Qt::AlignTop  ? QPointF(0, -1)
                           : labelSide & Qt::AlignLeft ? QPointF(-1, 0)
                                                       : QPointF(1, 0);
    // Positions along the scale snap to pixel centres so one-pixel ticks stay sharp.
    const auto at = [&](double v) {
        const QPointF p = start + (end - start) * ((v - minimum) / span);
        return vertical ? QPointF(p.x(), pixelCentre(p.y())) : QPointF(pixelCentre(p.x()), p.y());
    };
    const QFontMetricsF metrics(painter.font());
    painter.save();
    painter.setPen(QPen(kMutedText, 1.0));
    const auto snapped = [vertical](const QPointF& p) {
        return vertical ? QPointF(pixelCentre(p.x()), p.y()) : QPointF(p.x(), pixelCentre(p.y()));
    };
    painter.drawLine(snapped(start), snapped(end));
    for (const double tick : scale.ticks) {
        const double half = tick + scale.step / 2;
        if (half < maximum) {
            const QPointF p = at(half);
            painter.drawLine(p, p + normal * (tickLength / 2));
        }
        const QPointF p = at(tick);
        painter.drawLine(p, p + normal * tickLength);
    }
    painter.setPen(kText);
    for (const double tick : scale.ticks) {
        const QString text = tickLabel(tick, scale.step);
        const QPointF anchor = at(tick) + normal * (tickLength + 3.0);
        const qreal w = metrics.horizontalAdvance(text) + 2.0;
        const qreal h = metrics.height();
        QRectF box(0, 0, w, h);
        if (vertical) {
            box.moveTop(anchor.y() - h / 2);
            box.moveLeft(normal.x() < 0 ? anchor.x() - w : anchor.x());
        } else {
            box.moveLeft(anchor.x() - w / 2);
            box.moveTop(normal.y() > 0 ? anchor.y() : anchor.y() - h);
        }
        painter.drawText(box, Qt::AlignCenter, text);
    }
    painter.restore();
}

QFont sizedFont(const QFont& base, qreal pixelSize, bool bold) {
    constexpr qreal kSmallestReadable = 10.0;
    QFont font = base;
    font.setPixelSize(qMax(1, qRound(qMax(pixelSize, kSmallestReadable))));
    font.setBold(bold);
    return font;
}

void drawPanel(QPainter& painter, const QRectF& rect, qreal radius) {
    // Half-pixel inset keeps the one-pixel border on the pixel grid.
    const QRectF box = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0.0, kPanel.lighter(103));
    fill.setColorAt(1.0, kPanel.darker(104));
    painter.save();
    painter.setPen(QPen(kPanelBorder, 1.0));
    painter.setBrush(fill);
    painter.drawRoundedRect(box, radius, radius);
    painter.restore();
}

} // namespace Painting
