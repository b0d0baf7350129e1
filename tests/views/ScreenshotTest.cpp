#include "views/components/AnalogDisplay.h"
#include "views/components/AngularGauge.h"
#include "views/components/BarDisplay.h"
#include "views/components/Grid.h"
#include "views/components/LabelDisplay.h"
#include "views/components/Led.h"
#include "views/components/LinearGauge.h"
#include "views/components/Plot.h"
#include "views/components/Thermometer.h"

#include <QCoreApplication>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>

namespace {

QGroupBox* group(const QString& title, QWidget* content) {
    auto* box = new QGroupBox(title);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(content);
    return box;
}

QWidget* lamps() {
    auto* widget = new QWidget;
    auto* layout = new QGridLayout(widget);
    const QStringList texts{QStringLiteral("Test passed"), QStringLiteral("Test in progress"),
                            QStringLiteral("Test failed")};
    const quint32 colours[] = {0x0000C000, 0x0000C0FF, 0x000A0AFF};
    for (int i = 0; i < 3; ++i) {
        auto* lamp = new CRectLed;
        lamp->setActiveColor(colours[i]);
        lamp->setActive(i == 0);
        layout->addWidget(lamp, i, 0);
        layout->addWidget(new QLabel(texts[i]), i, 1);
    }
    auto* alarm = new CRoundLed;
    alarm->setActiveColor(0x000A0AFF);
    alarm->setActive(true);
    layout->addWidget(alarm, 3, 0, Qt::AlignHCenter);
    layout->addWidget(new QLabel(QStringLiteral("Active Alarms: 2")), 3, 1);
    return widget;
}

QWidget* readouts() {
    auto* widget = new QWidget;
    auto* layout = new QVBoxLayout(widget);
    auto* deviation = new CAnalogDisplay;
    deviation->setRange(-10, 10);
    deviation->setValue(-1.27);
    deviation->setUnit(QStringLiteral("%"));
    auto* output = new CAnalogOutputDisplay;
    output->setValue(63.5);
    output->setUnit(QStringLiteral("%"));
    auto* position = new CLinearGauge;
    position->setValue(42.7);
    position->setUnit(QStringLiteral("%"));
    layout->addWidget(deviation);
    layout->addWidget(output);
    layout->addWidget(position);
    layout->addWidget(new CLabelDisplay(QStringLiteral("t63 = 1.84 s")));
    return widget;
}

CPlot* stepPlot() {
    auto* plot = new CPlot;
    plot->setTitle(QStringLiteral("Partial Stroke Test"));
    plot->setXAxisTitle(QStringLiteral("Time [s]"));
    plot->setYAxisTitle(QStringLiteral("Position [%]"));
    plot->setXAxisSpan(0, 20);
    plot->setYAxisSpan(0, 100);
    plot->setChannelName(0, QStringLiteral("Input Setpoint"));
    plot->setChannelName(1, QStringLiteral("Output Position"));
    for (int i = 0; i <= 200; ++i) {
        const double t = i / 10.0;
        const double setpoint = t < 5 ? 80 : 70;
        const double position = t < 5 ? 80 : 70 + 10 * std::exp(-(t - 5) / 1.84);
        plot->addPoint(0, t, setpoint);
        plot->addPoint(1, t, position);
    }
    plot->drawMarker(2, 5 + 1.84, 0x00C00000, QString::asprintf("t63 = %.2f s", 1.84));
    plot->redraw();
    return plot;
}

CBarDisplay* histogram() {
    auto* bars = new CBarDisplay;
    QStringList labels;
    for (int bin = 0; bin < 16; ++bin) {
        bars->setBarValue(bin, 2 + 18 * std::exp(-std::pow((bin - 7) / 3.5, 2)));
        labels.append(QString::number(bin * 100 / 16));
    }
    bars->setBarLabels(labels);
    bars->setAxisTitle(QStringLiteral("Travel time [%] per position band [%]"));
    bars->setRange(0, 25);
    return bars;
}

CGrid* eventLog() {
    auto* grid = new CGrid;
    grid->setColumnFormat(QStringLiteral("Sr.No.|Date & Time|Event Name|Information"));
    const char* events[][2] = {
        {"Power up", ""}, {"Auto calibration", "Completed"}, {"Supply pressure low", "4.2 bar"}};
    for (int i = 0; i < 3; ++i) {
        grid->setRows(grid->rows() + 1);
        grid->setCellText(i + 1, 0, QString::number(i + 1));
        grid->setCellText(i + 1, 1, QStringLiteral("2024-03-0%1 08:1%1:00").arg(i + 1));
        grid->setCellText(i + 1, 2, QString::fromLatin1(events[i][0]));
        grid->setCellText(i + 1, 3, QString::fromLatin1(events[i][1]));
    }
    grid->setRowColor(3, 0x0064F0F0);
    return grid;
}

// One of each component as a device view would show it, for people to look at.
TEST(Screenshot, OneOfEachComponentAtScaleOneAndTwo) {
    QWidget panel;
    panel.setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    auto* layout = new QGridLayout(&panel);
    auto* pressure = new CAngularGauge;
    pressure->setRange(0, 10);
    pressure->setValue(6.3);
    pressure->setUnit(QStringLiteral("bar"));
    auto* temperature = new CThermometer;
    temperature->setValue(36.5);
    temperature->setUnit(QStringLiteral("°C"));
    auto* gauges = new QWidget;
    auto* gaugeRow = new QHBoxLayout(gauges);
    gaugeRow->addWidget(pressure);
    gaugeRow->addWidget(temperature);
    layout->addWidget(group(QStringLiteral("Test Status"), lamps()), 0, 0);
    layout->addWidget(group(QStringLiteral("Position"), readouts()), 0, 1);
    layout->addWidget(group(QStringLiteral("Pressures"), gauges), 0, 2);
    layout->addWidget(group(QStringLiteral("Plot"), stepPlot()), 1, 0, 1, 2);
    layout->addWidget(group(QStringLiteral("Histogram"), histogram()), 1, 2);
    layout->addWidget(group(QStringLiteral("Event Log"), eventLog()), 2, 0, 1, 3);
    panel.resize(panel.sizeHint());

    const QDir out(QCoreApplication::applicationDirPath());
    for (const int scale : {1, 2}) {
        QImage image(panel.size() * scale, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(scale);
        image.fill(panel.palette().window().color());
        {
            QPainter painter(&image);
            panel.render(&painter);
        }
        const QString name =
            scale == 1 ? QStringLiteral("components.png") : QStringLiteral("components@2x.png");
        ASSERT_TRUE(image.save(out.filePath(name))) << name.toStdString();
    }
}

} // namespace
