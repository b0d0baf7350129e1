#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <cmath>

class QPainter;

// Drawing helpers shared by the indicator widgets, so that every gauge, LED and display has the
// same panel, scale and colours.
namespace Painting {

// Colours of the indicator panels.
inline const QColor kPanel{0xf5, 0xf7, 0xf9};
inline const QColor kPanelBorder{0x8c, 0x95, 0x9e};
inline const QColor kText{0x1b, 0x22, 0x28};
inline const QColor kMutedText{0x4a, 0x55, 0x5f};
inline const QColor kTrack{0xd9, 0xde, 0xe3};
inline const QColor kAccent{0x1f, 0x6f, 0xb2};
inline const QColor kPointer{0xc6, 0x28, 0x28};

// A Windows COLORREF (0x00BBGGRR) and back.
QColor colorFromRef(quint32 colorRef);
quint32 refFromColor(const QColor& color);
// a blended with b; t = 0 gives a, t = 1 gives b.
QColor mix(const QColor& a, const QColor& b, qreal t);

// Tick positions at "nice" steps (1, 2, 2.5 or 5 times a power of ten) covering
// [minimum, maximum] with at most maxTicks ticks. Empty for an empty or invalid range.
struct Scale {
    QList<double> ticks;
    double step = 0.0;
};
Scale niceScale(double minimum, double maximum, int maxTicks);
// A tick value with as many decimals as the step needs.
QString tickLabel(double value, double step);

// The widest of the texts, or of the tick labels of a scale, in the given font.
qreal widestText(const QFont& font, const QStringList& texts);
qreal widestLabel(const QFont& font, const Scale& scale);

// The centre of the pixel a coordinate falls in: a one-pixel line drawn there stays sharp.
inline qreal pixelCentre(qreal coordinate) {
    return std::floor(coordinate) + 0.5;
}

// Ticks and labels of a straight scale whose minimum lies at start and maximum at end. The
// ticks point to labelSide (Qt::AlignBottom or Qt::AlignTop for a horizontal scale,
// Qt::AlignLeft or Qt::AlignRight for a vertical one); half steps get short ticks.
void drawLinearScale(QPainter& painter, const QPointF& start, const QPointF& end, double minimum,
                     double maximum, const Scale& scale, Qt::Alignment labelSide, qreal tickLength);

// The widget's font at the given pixel size, never below a readable minimum.
QFont sizedFont(const QFont& base, qreal pixelSize, bool bold = false);

// The common rounded panel behind an indicator; rect is in logical pixels.
void drawPanel(QPainter& painter, const QRectF& rect, qreal radius = 4.0);

} // namespace Painting
