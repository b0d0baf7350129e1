#pragma once

#include <QByteArray>
#include <QList>
#include <QPointF>
#include <QString>

#include <array>
#include <optional>

// The content of a plot data file: the plot's channels and axis spans.
//
// The file is UTF-8 text, one record a line, fields separated by tabs:
//   VelaPlot 1                                   format name and version
//   x-axis  <min> <max>                          optional
//   y-axis  <axis> <min> <max>                   optional, axis 0 to 2
//   channel <number> <colour> <axis> <count> <name> <marker label>
//                                                one per stored channel, number 1 to 8,
//                                                colour as 0x00BBGGRR
//   points  <number>                             for each channel line in its order,
//   <x> <y>                                      followed by exactly <count> point lines
//   end
// Numbers are written in the shortest form that reads back as the very same double, so a
// file restores the channels exactly. Names have no tabs or line breaks.
struct PlotFile {
    static constexpr int kChannelCount = 8;
    static constexpr int kYAxisCount = 3;

    struct Span {
        double minimum = 0.0;
        double maximum = 0.0;
    };
    struct Channel {
        int number = 1; // 1 to kChannelCount
        QString name;
        quint32 color = 0;
        int yAxis = 0;
        QString markerLabel;
        QList<QPointF> points;
    };

    std::optional<Span> xAxis;
    std::array<std::optional<Span>, kYAxisCount> yAxes;
    QList<Channel> channels;

    QByteArray toText() const;
    // The content of text, or nothing and a message naming the first fault (with its line
    // number) when text is not a complete plot data file of a known version.
    static std::optional<PlotFile> fromText(const QByteArray& text, QString& error);
};
