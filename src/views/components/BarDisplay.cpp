#include "views/components/BarDisplay.h"

#include "views/components/Painting.h"

#include <QImageWriter>
#include <QPainter>

#include <cmath>

using namespace Painting;

CBarDisplay::CBarDisplay(QWidget* parent) : QWidget(parent), m_values(16, 0.0) {}

void CBarDisplay::setBarCount(int count) {
    if (count >= 0 && count <= kMaxBars && count != barCount()) {
        m_values.resize(count, 0.0);
        update();
    }
}

double CBarDisplay::barValue(int index) const {
    return index >= 0 && index < barCount() ? m_values[index] : 0.0;
}

void CBarDisplay::setBarValue(int index, double value) {
    if (index >= 0 && index < barCount() && std::isfinite(value)) {
        m_values[index] = value;
        update();
    }
}

void CBarDisplay::setBarLabels(const QStringList& labels) {
    m_labels = labels;
    update();
}

void CBarDisplay::setAxisTitle(const QString& title) {
    m_axisTitle = title;
    update();
}

void CBarDisplay::setRange(double minimum, double maximum) {
    if (std::isfinite(minimum) && std::isfinite(maximum) && minimum < maximum) {
        m_minimum = minimum;
        m_maximum = maximum;
        update();
    }
}

void CBarDisplay::redraw() {
    update();
}

bool CBarDisplay::saveBitmap(const QString& path, QString* error) {
    QImageWriter writer(path, "bmp");
    if (!path.isEmpty() && writer.write(grab().toImage())) {
        return true;
    }
    if (error) {
        *error = path.isEmpty()
                     ? tr("No file name given for the bitmap")
                     : tr("Cannot save the bitmap %1: %2").arg(path, writer.errorString());
    }
    return false;
}

QString CBarDisplay::barLabel(int index) const {
    return index < m_labels.size() ? m_labels[index] : QString::number(index + 1);
}

void CBarDisplay::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    drawPanel(painter, rect());

    const QFont labelFont = sizedFont(font(), 11.0);
    const QFontMetricsF metrics(labelFont);
    painter.setFont(labelFont);
    const qreal top = 8 + (m_axisTitle.isEmpty() ? 0 : metrics.height() + 4);
    const qreal bottom = height() - 8 - metrics.height() - 4;
    const Scale scale = niceScale(m_minimum, m_maximum, qBound(2, int((bottom - top) / 28), 11));
    const QRectF plot(QPointF(10 + widestLabel(labelFont, scale) + 6, top),
                      QPointF(width() - 10, bottom));
    if (!m_axisTitle.isEmpty()) {
        painter.setPen(kText);
        painter.drawText(QRectF(8, 6, width() - 16, metrics.height()), Qt::AlignLeft, m_axisTitle);
    }

    // Grid lines at the ticks, then the scale on the left.
    const auto yOf = [&](double v) {
        const double f = std::clamp((v - m_minimum) / (m_maximum - m_minimum), 0.0, 1.0);
        return plot.bottom() - plot.height() * f;
    };
    painter.setPen(QPen(kTrack, 1.0));
    for (const double tick : scale.ticks) {
        const qreal y = std::floor(yOf(tick)) + 0.5;
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    }
    drawLinearScale(painter, plot.bottomLeft(), plot.topLeft(), m_minimum, m_maximum, scale,
                    Qt::AlignLeft, 4.0);

    // Bars from the zero line (or the nearer range end) to their values.
    const int count = barCount();
    const qreal slot = count > 0 ? plot.width() / count : 0.0;
    const qreal base = yOf(std::clamp(0.0, m_minimum, m_maximum));
    const qreal widest = [&] {
        qreal w = 0.0;
        for (int i = 0; i < count; ++i) {
            w = qMax(w, metrics.horizontalAdvance(barLabel(i)));
        }
        return w;
    }();
    const int labelEvery = slot > 0 ? qMax(1, int(std::ceil((widest + 4) / slot))) : 1;
    for (int i = 0; i < count; ++i) {
        const qreal left = plot.left() + slot * i + slot * 0.15;
        const qreal y = yOf(m_values[i]);
        const QRectF bar(QPointF(left, qMin(y, base)), QPointF(left + slot * 0.7, qMax(y, base)));
        QLinearGradient fill(bar.topLeft(), bar.topRight());
        fill.setColorAt(0.0, kAccent.lighter(125));
        fill.setColorAt(1.0, kAccent);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawRect(bar);
        if (i % labelEvery == 0) {
            painter.setPen(kText);
            painter.drawText(QRectF(plot.left() + slot * i - slot * labelEvery / 2.0 + slot / 2,
                                    plot.bottom() + 4, slot * labelEvery, metrics.height()),
                             Qt::AlignCenter, barLabel(i));
        }
    }
    painter.setPen(QPen(kMutedText, 1.0));
    painter.drawLine(QPointF(plot.left(), std::floor(base) + 0.5),
                     QPointF(plot.right(), std::floor(base) + 0.5));
}
