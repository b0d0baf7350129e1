#pragma once

#include "views/components/Csv.h"
#include "views/components/PlotFile.h"

#include <QList>
#include <QPointF>
#include <QWidget>

#include <array>
#include <functional>
#include <vector>

class QChart;
class QChartView;
class QGraphicsSimpleTextItem;
class QLineSeries;
class QValueAxis;

// X-y plot of eight channels (or as many as it is made with) on one x axis and up to three y
// axes.
//
// Channels are found by name, "Channel 1" to "Channel 8"; each has a display name for the
// legend, a colour and a y axis. Operations take the channel index that GetChannelByName
// answers and ignore -1 and any other index out of range, so a view that asks for a channel
// that does not exist changes nothing. Points that are not finite numbers are ignored.
//
// Added points are collected and drawn together at the next redraw(), or when control returns
// to the event loop, so that filling a channel point by point stays cheap.
//
// A channel keeps every point (channelPoints, the data files), but draws at most two points a
// column of the x axis span (kColumns columns): its lowest and highest, so that a long
// recording draws as fast as a short one and keeps every peak. Points added to the right of
// the drawn ones update their columns only; a new x span draws the channel anew.
//
// saveData() and loadData() write and read the channels in the text format of PlotFile. They
// throw nothing: they answer false with a message in *error when given. A file that cannot be
// read completely leaves the plot as it was. A plot of more channels than the file holds is
// not saved.
//
// The context menu's "Export as CSV…" writes the channels (csv()) where the window that holds
// the plot says (CCsvExportHost).
class CPlot : public QWidget {
    Q_OBJECT
public:
    static constexpr int kChannelCount = PlotFile::kChannelCount;
    static constexpr int kYAxisCount = PlotFile::kYAxisCount;
    // Columns of the x span a long channel is drawn in, and the length from which it is.
    static constexpr int kColumns = 1000;
    static constexpr qsizetype kDecimateAbove = 2 * kColumns;

    explicit CPlot(QWidget* parent = nullptr, int channels = kChannelCount);
    ~CPlot() override;
    QSize sizeHint() const override { return {560, 340}; }
    QSize minimumSizeHint() const override { return {260, 180}; }

    int channelCount() const { return static_cast<int>(m_channels.size()); }
    // 0 to 7 for "Channel 1" to "Channel 8" (and on for a plot of more), -1 for any other name.
    int GetChannelByName(const QString& name) const;

    QString channelName(int channel) const;
    void setChannelName(int channel, const QString& name);
    // Colour as a COLORREF (0x00BBGGRR).
    quint32 channelColor(int channel) const;
    void setChannelColor(int channel, quint32 colorRef);
    int channelYAxis(int channel) const;
    void setChannelYAxis(int channel, int axis);
    // The channel's points, drawn or not yet drawn, in the order added.
    QList<QPointF> channelPoints(int channel) const;

    void addPoint(int channel, double x, double y);
    void clearChannel(int channel);
    void clearAll();

    QString title() const;
    void setTitle(const QString& title);
    double xAxisMin() const;
    double xAxisMax() const;
    // Both spans are ignored unless minimum < maximum.
    void setXAxisSpan(double minimum, double maximum);
    void setXAxisTitle(const QString& title);
    double yAxisMin(int axis = 0) const;
    double yAxisMax(int axis = 0) const;
    void setYAxisSpan(double minimum, double maximum, int axis = 0);
    void setYAxisTitle(const QString& title, int axis = 0);

    // Turns the channel into a vertical line at x from its y axis minimum to maximum, in the
    // given colour (COLORREF), with the label written beside its top.
    void drawMarker(int channel, double x, quint32 colorRef, const QString& label);
    QString markerLabel(int channel) const;

    // Small type and no legend, for plots that share a view four to a page; the title names
    // what each shows.
    void setCompact(bool compact);

    // Draws the points added since the last redraw.
    void redraw();
    // The points the channel's line goes through now (fewer than its points when it is long).
    QList<QPointF> drawnPoints(int channel) const;

    // The channels with points as a table: the x column first, then one column per channel
    // named by its legend; channels whose x values differ from the others' get an x and a y
    // column each.
    CCsvTable csv() const;

    // The channels and axis spans as a plot data file holds them (the first kChannelCount).
    PlotFile content() const;

    bool saveData(const QString& path, QString* error = nullptr) const;
    // `accept` may refuse a complete file whose content does not suit the plot (another
    // kind of recording): it answers the reason, empty to accept.
    using ContentCheck = std::function<QString(const PlotFile& content)>;
    bool loadData(const QString& path, QString* error = nullptr, const ContentCheck& accept = {});

private:
    // The points of one column of the x span: indexes of its lowest and highest.
    struct Column {
        bool used = false;
        qsizetype lowest = 0;
        qsizetype highest = 0;
    };
    struct Channel {
        QLineSeries* series = nullptr;
        QList<QPointF> points; // every point, drawn or not
        qsizetype drawn = 0;   // points before this are drawn
        bool redrawAll = false;
        // A long channel's columns, left to right, with one more at each edge for the points
        // outside the span.
        std::vector<Column> columns;
        double columnOrigin = 0.0;
        double columnWidth = 0.0;
        QString name;
        int yAxis = 0;
        QString markerLabel;
        QGraphicsSimpleTextItem* markerText = nullptr;
    };

    bool isChannel(int channel) const { return channel >= 0 && channel < channelCount(); }
    QValueAxis* yAxis(int axis) const;
    void scheduleRedraw();
    void drawChannel(Channel& c);
    // Adds points[from, end) to the channel's columns; false when the x span changed since
    // they were made.
    bool extendColumns(Channel& c, qsizetype from) const;
    void setMarkerLabel(int channel, const QString& label);
    void placeMarkerLabels();
    void refreshLegendAndAxes();
    void apply(const PlotFile& file);

    QChart* m_chart = nullptr;
    QChartView* m_view = nullptr;
    QValueAxis* m_xAxis = nullptr;
    std::array<QValueAxis*, kYAxisCount> m_yAxes{};
    std::vector<Channel> m_channels;
    bool m_redrawScheduled = false;
    bool m_compact = false;
};
