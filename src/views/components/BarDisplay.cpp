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

QStringList CBarDisplay::barLabels() const {
    QStringList labels;
    for (int i = 0; i < barCount(); ++i) {
        labels.append(i < m_labels.size() ? m_labels[i] : QString::number(i + 1));
    }
    return labels;
}

// Where the parts of the display lie at the widget's present size.
struct CBarDisplay::Layout {
    QFont font; // of the title, the scale and the bar labels
    qreal lineHeight = 0.0;
    Scale scale;
    QRectF plot;      // the area of the bars and grid lines
    qreal slot = 0.0; // the width each bar has
    qreal base = 0.0; // the height at which the bars start
};

void CBarDisplay::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    drawPanel(painter, rect());
    const Layout layout = measureLayout();
    painter.setFont(layout.font);
    if (!m_axisTitle.isEmpty()) {
        painter.setPen(kText);
        painter.drawText(QRectF(8, 6, width() - 16, layout.lineHeight), Qt::AlignLeft, m_axisTitle);
    }
    drawGrid(painter, layout);
    drawBars(painter, layout);
    drawBarLabels(painter, layout);
}

CBarDisplay::Layout CBarDisplay::measureLayout() const {
    Layout layout;
    layout.font = sizedFont(font(), 11.0);
    layout.lineHeight = QFontMetricsF(layout.font).height();
    const qreal top = 8 + (m_axisTitle.isEmpty() ? 0 : layout.lineHeight + 4);
    const qreal bottom = height() - 8 - layout.lineHeight - 4;
    layout.scale = niceScale(m_minimum, m_maximum, qBound(2, int((bottom - top) / 28), 11));
    layout.plot = QRectF(QPointF(10 + widestLabel(layout.font, layout.scale) + 6, top),
                         QPointF(width() - 10, bottom));
    layout.slot = barCount() > 0 ? layout.plot.width() / barCount() : 0.0;
    layout.base = yOf(layout.plot, std::clamp(0.0, m_minimum, m_maximum));
    return layout;
}

qreal CBarDisplay::yOf(const QRectF& plot, double value) const {
    const double f = std::clamp((value - m_minimum) / (m_maximum - m_minimum), 0.0, 1.0);
    return plot.bottom() - plot.height() * f;
}

// Grid lines at the ticks, then the scale on the left.
void CBarDisplay::drawGrid(QPainter& painter, const Layout& layout) const {
    const QRectF& plot = layout.plot;
    painter.setPen(QPen(kTrack, 1.0));
    for (const double tick : layout.scale.ticks) {
        const qreal y = pixelCentre(yOf(plot, tick));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    }
    drawLinearScale(painter, plot.bottomLeft(), plot.topLeft(), m_minimum, m_maximum, layout.scale,
                    Qt::AlignLeft, 4.0);
}

// Bars from the zero line (or the nearer range end) to their values, then the zero line.
void CBarDisplay::drawBars(QPainter& painter, const Layout& layout) const {
    const QRectF& plot = layout.plot;
    for (int i = 0; i < barCount(); ++i) {
        const qreal left = plot.left() + layout.slot * i + layout.slot * 0.15;
        const qreal y = yOf(plot, m_values[i]);
        const QRectF bar(QPointF(left, qMin(y, layout.base)),
                         QPointF(left + layout.slot * 0.7, qMax(y, layout.base)));
        QLinearGradient fill(bar.topLeft(), bar.topRight());
        fill.setColorAt(0.0, kAccent.lighter(125));
        fill.setColorAt(1.0, kAccent);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawRect(bar);
    }
    painter.setPen(QPen(kMutedText, 1.0));
    const qreal base = pixelCentre(layout.base);
    painter.drawLine(QPointF(plot.left(), base), QPointF(plot.right(), base));
}

// The labels under the bars; where they would overlap, only every n-th bar gets its label,
// centred in the n slots from its own.
void CBarDisplay::drawBarLabels(QPainter& painter, const Layout& layout) const {
    const QStringList labels = barLabels();
    const qreal slot = layout.slot;
    const int every =
        slot > 0 ? qMax(1, int(std::ceil((widestText(layout.font, labels) + 4) / slot))) : 1;
    painter.setPen(kText);
    for (int i = 0; i < labels.size(); i += every) {
        painter.drawText(QRectF(layout.plot.left() + slot * i - slot * every / 2.0 + slot / 2,
                                layout.plot.bottom() + 4, slot * every, layout.lineHeight),
                         Qt::AlignCenter, labels[i]);
    }
}
