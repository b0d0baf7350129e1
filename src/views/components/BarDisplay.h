#pragma once

#include <QList>
#include <QStringList>
#include <QWidget>

class QPainter;

// Bar (spectrum) display: one bar per bin over a common scale, such as the travel histogram.
// Indexes out of range and values that are not finite numbers are ignored.
class CBarDisplay : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMaxBars = 1024;

    explicit CBarDisplay(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {380, 220}; }
    QSize minimumSizeHint() const override { return {200, 120}; }

    int barCount() const { return int(m_values.size()); }
    // 0 to kMaxBars bars; bars that are added start at 0.
    void setBarCount(int count);
    double barValue(int index) const;
    void setBarValue(int index, double value);
    // Text under each bar; bars without one show their number counted from 1.
    void setBarLabels(const QStringList& labels);
    void setAxisTitle(const QString& title);

    double minimum() const { return m_minimum; }
    double maximum() const { return m_maximum; }
    void setRange(double minimum, double maximum); // ignored unless minimum < maximum

    void redraw();
    // Writes the display as it looks now to a Windows bitmap (.bmp) file. On failure answers
    // false and, when error is given, a message naming the file and the reason.
    bool saveBitmap(const QString& path, QString* error = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Layout;
    Layout measureLayout() const;
    // The height of value in the plot area, clamped to the range.
    qreal yOf(const QRectF& plot, double value) const;
    // The text under each bar.
    QStringList barLabels() const;

    void drawGrid(QPainter& painter, const Layout& layout) const;
    void drawBars(QPainter& painter, const Layout& layout) const;
    void drawBarLabels(QPainter& painter, const Layout& layout) const;

    QList<double> m_values;
    QStringList m_labels;
    QString m_axisTitle;
    double m_minimum = 0.0;
    double m_maximum = 100.0;
};
