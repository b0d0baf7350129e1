#include "views/components/Plot.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Bit for bit, so that -0.0 and 0.0 or neighbouring doubles count as different.
bool identical(const QList<QPointF>& a, const QList<QPointF>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (qsizetype i = 0; i < a.size(); ++i) {
        const double values[4] = {a[i].x(), a[i].y(), b[i].x(), b[i].y()};
        if (std::memcmp(&values[0], &values[2], 2 * sizeof(double)) != 0) {
            return false;
        }
    }
    return true;
}

// Everything a plot file carries, to compare a plot before and after.
struct Snapshot {
    QList<QList<QPointF>> points;
    QStringList names;
    QStringList markers;
    QList<quint32> colors;
    QList<int> axes;
    QList<double> spans;

    explicit Snapshot(const CPlot& plot) {
        for (int c = 0; c < CPlot::kChannelCount; ++c) {
            points.append(plot.channelPoints(c));
            names.append(plot.channelName(c));
            markers.append(plot.markerLabel(c));
            colors.append(plot.channelColor(c));
            axes.append(plot.channelYAxis(c));
        }
        spans = {plot.xAxisMin(), plot.xAxisMax()};
        for (int axis = 0; axis < CPlot::kYAxisCount; ++axis) {
            spans += {plot.yAxisMin(axis), plot.yAxisMax(axis)};
        }
    }
    bool operator==(const Snapshot& other) const {
        for (int c = 0; c < CPlot::kChannelCount; ++c) {
            if (!identical(points[c], other.points[c])) {
                return false;
            }
        }
        return names == other.names && markers == other.markers && colors == other.colors &&
               axes == other.axes && spans == other.spans;
    }
};

void write(const QString& path, const QByteArray& content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

TEST(Plot, ChannelsAreFoundByTheirExactName) {
    CPlot plot;
    EXPECT_EQ(plot.GetChannelByName(QStringLiteral("Channel 1")), 0);
    EXPECT_EQ(plot.GetChannelByName(QStringLiteral("Channel 8")), 7);
    for (const char* name : {"Channel 0", "Channel 9", "Channel 10", "channel 1", "Channel 01",
                             "Channel +1", "Channel 1 ", "Channel", "", "Input Setpoint"}) {
        EXPECT_EQ(plot.GetChannelByName(QString::fromLatin1(name)), -1) << name;
    }

    // A view that asks for a channel that does not exist changes nothing.
    const Snapshot before(plot);
    for (const int bad : {-1, 8, 1000}) {
        plot.addPoint(bad, 1.0, 2.0);
        plot.setChannelName(bad, QStringLiteral("x"));
        plot.setChannelColor(bad, 0x000000FF);
        plot.setChannelYAxis(bad, 1);
        plot.drawMarker(bad, 1.0, 0x00C00000, QStringLiteral("t63"));
        plot.clearChannel(bad);
        EXPECT_TRUE(plot.channelPoints(bad).isEmpty());
        EXPECT_TRUE(plot.channelName(bad).isEmpty());
    }
    plot.setChannelYAxis(0, 3);
    plot.setChannelYAxis(0, -1);
    plot.setYAxisSpan(0.0, 1.0, 3);
    plot.setYAxisTitle(QStringLiteral("x"), -1);
    EXPECT_EQ(plot.yAxisMin(3), 0.0);
    plot.redraw();
    EXPECT_TRUE(Snapshot(plot) == before);
}

TEST(Plot, PointsCollectUntilRedrawAndBadNumbersAreDropped) {
    CPlot plot;
    const int output = plot.GetChannelByName(QStringLiteral("Channel 2"));
    plot.setChannelName(output, QStringLiteral("Output Position"));
    EXPECT_EQ(plot.channelName(output), QStringLiteral("Output Position"));
    plot.addPoint(output, 0.0, 50.0);
    plot.addPoint(output, kNaN, 1.0);
    plot.addPoint(output, 1.0, kInf);
    plot.addPoint(output, -kInf, 1.0);
    plot.addPoint(output, 0.1, 50.5);
    EXPECT_EQ(plot.channelPoints(output), (QList<QPointF>{{0.0, 50.0}, {0.1, 50.5}}))
        << "points not yet drawn are part of the channel";
    plot.redraw();
    plot.addPoint(output, 0.2, 51.0);
    plot.redraw();
    EXPECT_EQ(plot.channelPoints(output).size(), 3) << "a redraw appends, it does not replace";

    // Without an explicit redraw the points appear once the event loop runs.
    plot.addPoint(output, 0.3, 51.5);
    QCoreApplication::processEvents();
    EXPECT_EQ(plot.channelPoints(output).size(), 4);

    plot.clearChannel(output);
    EXPECT_TRUE(plot.channelPoints(output).isEmpty());
    EXPECT_EQ(plot.channelName(output), QStringLiteral("Output Position"))
        << "clearing keeps the name";
    plot.addPoint(0, 1.0, 1.0);
    plot.addPoint(3, 1.0, 1.0);
    plot.clearAll();
    for (int c = 0; c < CPlot::kChannelCount; ++c) {
        EXPECT_TRUE(plot.channelPoints(c).isEmpty());
    }
    QCoreApplication::processEvents(); // the pending redraw finds nothing to draw
    EXPECT_TRUE(plot.channelPoints(0).isEmpty());

    plot.setXAxisSpan(0.0, 27.0);
    for (const auto& [low, high] : {std::pair{5.0, 5.0}, {9.0, 1.0}, {kNaN, 1.0}, {0.0, kInf}}) {
        plot.setXAxisSpan(low, high);
        plot.setYAxisSpan(low, high);
    }
    EXPECT_EQ(plot.xAxisMin(), 0.0);
    EXPECT_EQ(plot.xAxisMax(), 27.0);
    EXPECT_EQ(plot.yAxisMax(), 100.0);
}

TEST(Plot, ALongChannelDrawsTwoPointsAColumnAndKeepsEveryPeak) {
    // A day at one sample a second, with one spike up and one down.
    CPlot plot;
    plot.setXAxisSpan(0.0, 86400.0);
    const int channel = 0;
    for (int i = 0; i < 86400; ++i) {
        const double y = i == 43210 ? 99.0 : i == 70001 ? 1.0 : 50.0 + std::sin(i / 500.0);
        plot.addPoint(channel, i, y);
    }
    plot.redraw();
    EXPECT_EQ(plot.channelPoints(channel).size(), 86400) << "every point is kept";
    QList<QPointF> drawn = plot.drawnPoints(channel);
    EXPECT_LE(drawn.size(), 2 * CPlot::kColumns);
    EXPECT_TRUE(drawn.contains(QPointF(43210, 99.0)));
    EXPECT_TRUE(drawn.contains(QPointF(70001, 1.0)));
    EXPECT_TRUE(std::is_sorted(drawn.begin(), drawn.end(),
                               [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); }));

    // More points to the right update the last columns; a new span draws it all anew.
    plot.addPoint(channel, 86400.0, 120.0);
    plot.redraw();
    EXPECT_TRUE(plot.drawnPoints(channel).contains(QPointF(86400.0, 120.0)));
    plot.setXAxisSpan(40000.0, 50000.0);
    plot.redraw();
    drawn = plot.drawnPoints(channel);
    EXPECT_TRUE(drawn.contains(QPointF(43210, 99.0)));
    const auto inSpan = std::count_if(drawn.begin(), drawn.end(), [](const QPointF& p) {
        return p.x() >= 40000.0 && p.x() <= 50000.0;
    });
    EXPECT_GT(inSpan, CPlot::kColumns) << "the narrow span is drawn in detail";
    // A point to the left of the last ones goes into its own column.
    plot.addPoint(channel, 45000.5, -20.0);
    plot.redraw();
    EXPECT_TRUE(plot.drawnPoints(channel).contains(QPointF(45000.5, -20.0)));
}

TEST(Plot, MarkerIsAVerticalLineOverTheYAxisSpan) {
    CPlot plot;
    plot.setYAxisSpan(-10.0, 110.0);
    const int channel = plot.GetChannelByName(QStringLiteral("Channel 3"));
    plot.addPoint(channel, 0.0, 0.0); // an earlier curve on that channel goes away
    const QString label = QString::asprintf("t63 = %.2f s", 1.837);
    plot.drawMarker(channel, 5.0 + 1.837, 0x00C00000, label);
    EXPECT_EQ(plot.channelPoints(channel), (QList<QPointF>{{6.837, -10.0}, {6.837, 110.0}}));
    EXPECT_EQ(plot.channelColor(channel), 0x00C00000u);
    EXPECT_EQ(plot.markerLabel(channel), QStringLiteral("t63 = 1.84 s"));
    plot.drawMarker(channel, kNaN, 0x000000FF, QStringLiteral("bad"));
    EXPECT_EQ(plot.markerLabel(channel), QStringLiteral("t63 = 1.84 s"));
    // Rendered offscreen without ever being shown, the line is there in its colour.
    plot.resize(plot.sizeHint());
    const QImage image = plot.grab().toImage();
    int markerPixels = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            markerPixels += pixel.blue() > 150 && pixel.red() < 60 && pixel.green() < 60;
        }
    }
    EXPECT_GT(markerPixels, plot.height() / 2) << "a vertical line most of the plot high";
    plot.clearChannel(channel);
    EXPECT_TRUE(plot.markerLabel(channel).isEmpty()) << "clearing removes the marker label";
}

TEST(Plot, SaveAndLoadRestoreTheChannelsExactly) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("ramp.rat"));

    CPlot plot;
    plot.setXAxisSpan(0.0, 27.0);
    plot.setYAxisSpan(-12.5, 112.5);
    plot.setYAxisSpan(0.0, 7.0, 1);
    plot.setChannelName(0, QStringLiteral("Input Setpoint"));
    plot.setChannelName(1, QStringLiteral("Output\tPosition\n")); // no tabs in the file
    plot.setChannelName(6, QStringLiteral("Température [°C]"));
    plot.setChannelYAxis(3, 1);
    plot.setChannelColor(4, 0x00123456);
    QRandomGenerator random(11);
    for (int i = 0; i < 2700; ++i) {
        plot.addPoint(1, i / 10.0, random.generateDouble() * 100.0);
    }
    const QList<QPointF> awkward{{0.1, 1.0 / 3.0},
                                 {-0.0, 0.0},
                                 {1e-300, -1e300},
                                 {4.9e-324, 2.5},
                                 {123456789.123456789, -7.0}};
    for (const QPointF& p : awkward) {
        plot.addPoint(3, p.x(), p.y());
    }
    plot.addPoint(0, 0.0, 50.0);
    plot.redraw();
    plot.addPoint(0, 5.0, 50.0); // not yet drawn: saved all the same
    plot.drawMarker(2, 6.84, 0x00C00000, QStringLiteral("t63 = 1.84 s"));
    const Snapshot saved(plot);
    QString error;
    ASSERT_TRUE(plot.saveData(path, &error)) << error.toStdString();

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readLine().startsWith("VelaPlot 1\n")) << "the file names its format";

    CPlot other;
    other.addPoint(7, 1.0, 1.0); // replaced by the file's (empty) channel 8
    ASSERT_TRUE(other.loadData(path, &error)) << error.toStdString();
    EXPECT_TRUE(Snapshot(other) == saved);
    EXPECT_TRUE(identical(other.channelPoints(3), awkward));
    EXPECT_TRUE(std::signbit(other.channelPoints(3)[1].x())) << "-0 stays -0";
    EXPECT_EQ(other.channelName(1), QStringLiteral("Output Position "));
    EXPECT_EQ(other.channelName(6), QStringLiteral("Température [°C]"));

    // Saving the loaded plot again gives the same file.
    const QString again = dir.filePath(QStringLiteral("again.rat"));
    ASSERT_TRUE(other.saveData(again, &error));
    QFile first(path), second(again);
    ASSERT_TRUE(first.open(QIODevice::ReadOnly) && second.open(QIODevice::ReadOnly));
    EXPECT_EQ(first.readAll(), second.readAll());

    EXPECT_FALSE(plot.saveData(dir.filePath(QStringLiteral("none/x.rat")), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("none/x.rat"))) << error.toStdString();
}

TEST(Plot, BadFilesFailWithAReasonAndLeaveThePlotAsItWas) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("plot.mst"));
    CPlot source;
    source.setChannelName(0, QStringLiteral("Input Setpoint"));
    for (int i = 0; i < 50; ++i) {
        source.addPoint(0, i / 10.0, 50.0 + i);
        source.addPoint(1, i / 10.0, 49.0 + i);
    }
    ASSERT_TRUE(source.saveData(path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray good = file.readAll();

    CPlot plot;
    plot.setXAxisSpan(2.0, 3.0);
    plot.setChannelName(4, QStringLiteral("Supply Pressure"));
    plot.addPoint(4, 1.0, 2.0);
    plot.drawMarker(2, 2.5, 0x00C00000, QStringLiteral("t63 = 0.50 s"));
    const Snapshot before(plot);

    const auto expectRefused = [&](const QByteArray& content, const char* reason,
                                   const QString& mention) {
        write(path, content);
        QString error;
        EXPECT_FALSE(plot.loadData(path, &error)) << reason;
        EXPECT_TRUE(error.contains(path)) << reason << ": " << error.toStdString();
        EXPECT_TRUE(error.contains(mention, Qt::CaseInsensitive))
            << reason << ": " << error.toStdString();
        EXPECT_TRUE(Snapshot(plot) == before) << reason;
    };
    const auto with = [&](const char* from, const char* to) {
        QByteArray changed = good;
        EXPECT_TRUE(changed.contains(from)) << from;
        return changed.replace(from, to);
    };

    expectRefused({}, "empty file", QStringLiteral("not a plot data file"));
    expectRefused("Sample;Value\n1;2\n", "foreign file", QStringLiteral("not a plot data file"));
    expectRefused(QByteArray("\x89PNG\r\n\x1a\n\0\0", 10), "binary", QStringLiteral("not a plot"));
    expectRefused(with("VelaPlot 1", "VelaPlot 2"), "newer version", QStringLiteral("version"));
    expectRefused(with("\nend\n", "\n"), "no end line", QStringLiteral("ends early"));
    expectRefused(good + "points\t1\n", "text after end", QStringLiteral("after"));
    expectRefused(with("\n4.9\t", "\nabc\t"), "bad number", QStringLiteral("abc"));
    expectRefused(with("\n4.9\t", "\nnan\t"), "NaN", QStringLiteral("nan"));
    expectRefused(with("\n4.9\t", "\n-inf\t"), "infinite", QStringLiteral("-inf"));
    expectRefused(with("\n4.9\t", "\n+4.9\t"), "sign", QStringLiteral("+4.9"));
    expectRefused(with("\n4.9\t", "\n 4.9\t"), "blank", QStringLiteral(" 4.9"));
    expectRefused(with("\n4.9\t", "\n1e999\t"), "too big", QStringLiteral("1e999"));
    expectRefused(with("channel\t2\t", "channel\t1\t"), "channel twice", QStringLiteral("twice"));
    expectRefused(with("channel\t2\t", "channel\t9\t"), "channel 9", QStringLiteral("\"9\""));
    expectRefused(with("\t50\tInput", "\t51\tInput"), "more points declared",
                  QStringLiteral("point"));
    expectRefused(with("\t50\tInput", "\t49\tInput"), "fewer points declared",
                  QStringLiteral("points"));
    expectRefused(with("x-axis\t0\t100", "x-axis\t100\t0"), "inverted axis",
                  QStringLiteral("minimum"));
    expectRefused(with("channel\t1\t0x", "channel\t1\t#"), "bad colour", QStringLiteral("colour"));
    expectRefused(with("points\t2\n", "points\t3\n"), "blocks out of order",
                  QStringLiteral("channel 2"));

    // Cut anywhere before the final line break: always refused, always named as such.
    for (qsizetype cut = 0; cut < good.size() - 1; cut += 7) {
        write(path, good.left(cut));
        QString error;
        ASSERT_FALSE(plot.loadData(path, &error)) << "cut at " << cut;
        ASSERT_TRUE(Snapshot(plot) == before) << "cut at " << cut;
    }

    QString error;
    EXPECT_FALSE(plot.loadData(dir.filePath(QStringLiteral("missing.mst")), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("missing.mst")));
    EXPECT_FALSE(plot.loadData(dir.path())) << "a folder; no error text asked for";
    EXPECT_TRUE(Snapshot(plot) == before);

    // Windows line ends and a file without the optional axis lines are fine.
    QByteArray windows = good;
    windows.replace("\n", "\r\n");
    write(path, windows);
    ASSERT_TRUE(plot.loadData(path, &error)) << error.toStdString();
    EXPECT_EQ(plot.channelPoints(1), source.channelPoints(1));
    write(path, "VelaPlot 1\nchannel\t3\t0x000000FF\t0\t1\tStep\t\npoints\t3\n1\t2\nend\n");
    ASSERT_TRUE(plot.loadData(path, &error)) << error.toStdString();
    EXPECT_EQ(plot.channelPoints(2), (QList<QPointF>{{1.0, 2.0}}));
    EXPECT_TRUE(plot.channelPoints(1).isEmpty()) << "channels not in the file are cleared";
    EXPECT_EQ(plot.channelName(0), QStringLiteral("Input Setpoint"))
        << "names not in the file are kept";
}

} // namespace
