#include "views/components/Led.h"

#include "views/components/Painting.h"

#include <QPainter>
#include <QRadialGradient>

using namespace Painting;

CLed::CLed(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void CLed::setActiveColor(quint32 colorRef) {
    colorRef &= 0x00FFFFFF; // the top byte of a COLORREF carries no colour
    if (colorRef != m_activeColor) {
        m_activeColor = colorRef;
        update();
    }
}

void CLed::setActive(bool on) {
    if (on != m_active) {
        m_active = on;
        update();
    }
}

void CLed::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);

    const QRectF outer = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient bezel(outer.topLeft(), outer.bottomLeft());
    bezel.setColorAt(0.0, QColor(0xb4, 0xbb, 0xc2));
    bezel.setColorAt(1.0, QColor(0x4d, 0x55, 0x5c));
    painter.setBrush(bezel);
    painter.drawPath(bodyShape(outer));

    const qreal rim = qMax(1.5, qMin(outer.width(), outer.height()) * 0.12);
    const QRectF lens = outer.adjusted(rim, rim, -rim, -rim);
    const QColor colour = colorFromRef(m_activeColor);
    const QColor face = m_active ? colour : mix(colour, QColor(0x3a, 0x3f, 0x44), 0.72);
    QRadialGradient glow(lens.center().x(), lens.top() + lens.height() * 0.35,
                         qMax(lens.width(), lens.height()) * 0.75);
    glow.setColorAt(0.0, m_active ? face.lighter(170) : face.lighter(125));
    glow.setColorAt(0.55, face);
    glow.setColorAt(1.0, face.darker(130));
    painter.setBrush(glow);
    painter.drawPath(bodyShape(lens));

    // Reflection on the upper part of the lens.
    const QRectF shine(lens.left() + lens.width() * 0.2, lens.top() + lens.height() * 0.08,
                       lens.width() * 0.6, lens.height() * 0.4);
    QLinearGradient gloss(shine.topLeft(), shine.bottomLeft());
    gloss.setColorAt(0.0, QColor(255, 255, 255, m_active ? 150 : 70));
    gloss.setColorAt(1.0, QColor(255, 255, 255, 0));
    painter.setBrush(gloss);
    painter.drawPath(bodyShape(shine));
}

CRoundLed::CRoundLed(QWidget* parent) : CLed(parent) {}

QPainterPath CRoundLed::bodyShape(const QRectF& bounds) const {
    const qreal side = qMin(bounds.width(), bounds.height());
    QPainterPath path;
    path.addEllipse(
        QRectF(bounds.center().x() - side / 2, bounds.center().y() - side / 2, side, side));
    return path;
}

CRectLed::CRectLed(QWidget* parent) : CLed(parent) {}

QPainterPath CRectLed::bodyShape(const QRectF& bounds) const {
    const qreal radius = qMin(bounds.width(), bounds.height()) * 0.18;
    QPainterPath path;
    path.addRoundedRect(bounds, radius, radius);
    return path;
}
