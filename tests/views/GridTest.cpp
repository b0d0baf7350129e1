#include "views/components/Grid.h"
#include "views/components/BarDisplay.h"

#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(Grid, EventLogIsFilledRowByRowWithOneHeaderRow) {
    CGrid grid;
    grid.setColumnFormat(QStringLiteral("Sr.No.|Date & Time|Event Name|Information"));
    ASSERT_EQ(grid.columns(), 4);
    EXPECT_EQ(grid.cellText(0, 1), QStringLiteral("Date & Time"));
    EXPECT_EQ(grid.cellText(0, 3), QStringLiteral("Information"));
    EXPECT_EQ(grid.rows(), 1) << "a new grid has its header row only";

    // As the event log does it: grow by one row, then fill the new row.
    for (int serial = 1; serial <= 3; ++serial) {
        grid.setRows(grid.rows() + 1);
        const int row = grid.rows() - 1;
        grid.setCellText(row, 0, QString::number(serial));
        grid.setCellText(row, 2, QStringLiteral("Event %1").arg(serial));
    }
    EXPECT_EQ(grid.rows(), 4);
    EXPECT_EQ(grid.cellText(1, 0), QStringLiteral("1"));
    EXPECT_EQ(grid.cellText(3, 2), QStringLiteral("Event 3"));
    EXPECT_EQ(grid.cellText(3, 3), QString()) << "a cell never written is empty";

    // Out of range: ignored, read as empty.
    for (const auto& [row, column] : {std::pair{4, 0}, {-1, 0}, {1, 4}, {1, -1}, {100000, 2}}) {
        grid.setCellText(row, column, QStringLiteral("x"));
        EXPECT_EQ(grid.cellText(row, column), QString());
    }
    grid.setCellText(0, 3, QStringLiteral("Info"));
    EXPECT_EQ(grid.cellText(0, 3), QStringLiteral("Info"));
    grid.setRowColor(9, 0x000A0AFF);
    grid.setRowColor(2, 0x000A0AFF);
    EXPECT_EQ(grid.item(1, 0)->background().color(), QColor(0xFF, 0x0A, 0x0A));
    EXPECT_EQ(grid.item(1, 3)->background().color(), QColor(0xFF, 0x0A, 0x0A));
    grid.setCellText(2, 3, QStringLiteral("coloured first"));
    EXPECT_EQ(grid.item(1, 3)->background().color(), QColor(0xFF, 0x0A, 0x0A));

    grid.setRows(0);
    grid.setRows(-3);
    grid.setRows(CGrid::kMaxRows + 1);
    EXPECT_EQ(grid.rows(), 4);
    grid.setRows(1); // "Refresh Log" starts from an empty table
    EXPECT_EQ(grid.rows(), 1);
    EXPECT_EQ(grid.cellText(1, 0), QString());
    EXPECT_EQ(grid.cellText(0, 0), QStringLiteral("Sr.No."));
}

TEST(Grid, ReadOnlyGridRefusesEditsAndReportsRowsInGridNumbers) {
    CGrid grid;
    grid.setColumnFormat(QStringLiteral("Alarm|Enabled"));
    grid.setRows(3);
    grid.setCellText(1, 0, QStringLiteral("Travel deviation"));
    grid.setCellText(2, 0, QStringLiteral("Supply pressure low"));
    grid.resize(400, 200);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    QSignalSpy selected(&grid, &CGrid::rowSelected);
    QSignalSpy doubleClicked(&grid, &CGrid::rowDoubleClicked);

    const QPoint secondRow = grid.visualItemRect(grid.item(1, 0)).center();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, secondRow);
    ASSERT_EQ(selected.count(), 1);
    EXPECT_EQ(selected.at(0).at(0).toInt(), 2);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, secondRow);
    ASSERT_EQ(doubleClicked.count(), 1);
    EXPECT_EQ(doubleClicked.at(0).at(0).toInt(), 2);
    EXPECT_TRUE(grid.findChildren<QLineEdit*>().isEmpty()) << "no cell editor opened";
    QTest::keyClick(&grid, Qt::Key_F2);
    QTest::keyClicks(&grid, QStringLiteral("typed"));
    QTest::keyClick(&grid, Qt::Key_Return);
    EXPECT_EQ(grid.cellText(2, 0), QStringLiteral("Supply pressure low"));

    grid.setReadOnly(false);
    EXPECT_FALSE(grid.isReadOnly());
    grid.setCurrentCell(1, 0); // typing above moved to the row starting with "t"
    QTest::keyClick(&grid, Qt::Key_F2);
    auto* editor = grid.findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr) << "an editable grid opens a cell editor";
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("typed"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents(); // the editor commits through a queued call
    EXPECT_EQ(grid.cellText(2, 0), QStringLiteral("typed")) << "an editable grid takes input";
}

TEST(BarDisplay, BarsIgnoreBadIndexesAndValuesAndSaveAsBitmap) {
    CBarDisplay bars;
    EXPECT_EQ(bars.barCount(), 16) << "one bar per histogram bin";
    bars.setBarValue(0, 12.5);
    bars.setBarValue(15, 3.0);
    bars.setBarValue(16, 99.0);
    bars.setBarValue(-1, 99.0);
    bars.setBarValue(1, std::numeric_limits<double>::quiet_NaN());
    bars.setBarValue(2, -std::numeric_limits<double>::infinity());
    EXPECT_EQ(bars.barValue(0), 12.5);
    EXPECT_EQ(bars.barValue(15), 3.0);
    EXPECT_EQ(bars.barValue(1), 0.0);
    EXPECT_EQ(bars.barValue(2), 0.0);
    EXPECT_EQ(bars.barValue(16), 0.0);

    bars.setBarCount(-1);
    bars.setBarCount(CBarDisplay::kMaxBars + 1);
    EXPECT_EQ(bars.barCount(), 16);
    bars.setBarCount(20);
    EXPECT_EQ(bars.barValue(0), 12.5) << "growing keeps the values";
    EXPECT_EQ(bars.barValue(19), 0.0);
    bars.setBarCount(0);
    bars.resize(bars.sizeHint());
    EXPECT_FALSE(bars.grab().isNull()) << "no bars at all still paints";
    bars.setBarCount(16);
    bars.setBarValue(3, 250.0); // above the range: drawn clipped, kept
    bars.setRange(10.0, 10.0);  // empty range: ignored
    EXPECT_EQ(bars.maximum(), 100.0);
    bars.redraw();

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("histogram.bmp"));
    QString error;
    ASSERT_TRUE(bars.saveBitmap(path, &error)) << error.toStdString();
    QImage saved;
    ASSERT_TRUE(saved.load(path, "BMP")) << "the file is a Windows bitmap";
    EXPECT_EQ(saved.size(), bars.size());

    const QString missing = dir.filePath(QStringLiteral("no/such/folder/h.bmp"));
    EXPECT_FALSE(bars.saveBitmap(missing, &error));
    EXPECT_TRUE(error.contains(missing)) << error.toStdString();
    EXPECT_FALSE(bars.saveBitmap(QString(), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(bars.saveBitmap(QString())) << "no error text asked for: no crash";
}

} // namespace
