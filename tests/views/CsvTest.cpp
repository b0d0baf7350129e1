#include "views/components/Csv.h"
#include "views/components/Grid.h"
#include "views/components/Plot.h"

#include <QAction>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <clocale>

namespace {

QAction* ExportAction(const QWidget& widget) {
    for (QAction* action : widget.actions()) {
        if (action->text() == QString::fromUtf8(kExportCsvText)) {
            return action;
        }
    }
    return nullptr;
}

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(Csv, TextsAreQuotedAfterRfc4180AndNumbersKeepTheirPointUnderAGermanLocale) {
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const bool germanC = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;

    CCsvTable table({QStringLiteral("Name"), QStringLiteral("Wert [%]")});
    table.addRow({QStringLiteral("Ventil, Stufe 2"), CCsvTable::number(12.5)});
    table.addRow({QStringLiteral("sagt \"auf\""), CCsvTable::number(-0.001)});
    table.addRow({QStringLiteral("zwei\nZeilen"), CCsvTable::number(1e21)});
    table.addRow({QStringLiteral(" Rand "), CCsvTable::number(std::nan(""))});
    table.addRow({QStringLiteral("Grüße\r"), CCsvTable::number(0.1 + 0.2)});
    EXPECT_EQ(table.toText(), QByteArray("Name,Wert [%]\r\n"
                                         "\"Ventil, Stufe 2\",12.5\r\n"
                                         "\"sagt \"\"auf\"\"\",-0.001\r\n"
                                         "\"zwei\nZeilen\",1e+21\r\n"
                                         "\" Rand \",\r\n"
                                         "\"Grüße\r\",0.30000000000000004\r\n"));
    if (germanC) {
        std::setlocale(LC_ALL, "C");
    }
    QLocale::setDefault(previous);
}

TEST(Csv, GridAndPlotExportThroughTheHostOfTheirWindow) {
    QTemporaryDir folder;
    QWidget window;
    auto* grid = new CGrid(&window);
    grid->setColumnFormat(QStringLiteral("Sr.No.|Event Name|Information"));
    grid->setRows(3);
    grid->setCellText(1, 0, QStringLiteral("1"));
    grid->setCellText(1, 1, QStringLiteral("Alarm ON"));
    grid->setCellText(1, 2, QStringLiteral("Travel, high"));
    grid->setCellText(2, 0, QStringLiteral("2"));
    auto* plot = new CPlot(&window);
    plot->setXAxisTitle(QStringLiteral("Time [s]"));
    plot->setChannelName(0, QStringLiteral("Setpoint"));
    for (int i = 0; i < 3; ++i) {
        plot->addPoint(0, i * 0.1, 50.0 + i);
        plot->addPoint(1, i * 0.1, 49.5 + i);
    }

    // Without a host nothing is asked or written.
    ASSERT_NE(ExportAction(*grid), nullptr);
    ExportAction(*grid)->trigger();

    std::optional<QString> answer;
    QStringList reports;
    int asked = 0;
    new CCsvExportHost(
        window,
        [&](QWidget*) {
            ++asked;
            return answer;
        },
        [&](const QString& message) { reports << message; });
    ExportAction(*grid)->trigger(); // cancelled
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(reports.isEmpty());

    answer = folder.filePath(QStringLiteral("log.csv"));
    ExportAction(*grid)->trigger();
    EXPECT_EQ(Read(*answer), QByteArray("Sr.No.,Event Name,Information\r\n"
                                        "1,Alarm ON,\"Travel, high\"\r\n"
                                        "2,,\r\n"));
    EXPECT_EQ(reports.value(0), QStringLiteral("Exported as CSV to log.csv"));

    // Channels on the same times share the x column.
    answer = folder.filePath(QStringLiteral("plot.csv"));
    ASSERT_NE(ExportAction(*plot), nullptr);
    ExportAction(*plot)->trigger();
    EXPECT_EQ(Read(*answer), QByteArray("Time [s],Setpoint,Channel 2\r\n"
                                        "0,50,49.5\r\n"
                                        "0.1,51,50.5\r\n"
                                        "0.2,52,51.5\r\n"));
    // A channel on other times gets x and y columns of its own, as does every other.
    plot->drawMarker(2, 0.15, 0xFF, QStringLiteral("t63"));
    EXPECT_EQ(plot->csv().header(),
              QStringList({"Time [s] (Setpoint)", "Setpoint", "Time [s] (Channel 2)", "Channel 2",
                           "Time [s] (t63)", "t63"}));
    EXPECT_EQ(plot->csv().rows().at(2), QStringList({"0.2", "52", "0.2", "51.5", "", ""}));

    // A file that cannot be written is reported; the previous one stays.
    answer = folder.filePath(QStringLiteral("missing/plot.csv"));
    ExportAction(*plot)->trigger();
    EXPECT_TRUE(reports.last().startsWith(QStringLiteral("Cannot write the CSV file")));
}

TEST(Csv, APlotOfMoreChannelsThanAFileHoldsDrawsThemAllButIsNotSaved) {
    CPlot plot(nullptr, 12);
    ASSERT_EQ(plot.channelCount(), 12);
    EXPECT_EQ(plot.GetChannelByName(QStringLiteral("Channel 12")), 11);
    EXPECT_NE(plot.channelColor(9), plot.channelColor(10));
    plot.addPoint(11, 1.0, 2.0);
    plot.redraw();
    EXPECT_EQ(plot.drawnPoints(11).size(), 1);
    QTemporaryDir folder;
    QString error;
    EXPECT_FALSE(plot.saveData(folder.filePath(QStringLiteral("x.plot")), &error));
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
