#pragma once

#include "views/components/Csv.h"

#include <QTableWidget>

#include <functional>

// Table with one header row, addressed as the device views do: row 0 is the header, data rows
// count from 1, and the row count includes the header. Rows and cells out of range are ignored.
// A read-only grid (the default) lets the user select rows but not edit cells. The context
// menu's "Export as CSV…" writes the header and every row (csv()) where the window that holds
// the grid says (CCsvExportHost).
class CGrid : public QTableWidget {
    Q_OBJECT
public:
    static constexpr int kMaxRows = 100000;

    explicit CGrid(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {520, 240}; }

    // Column headings separated by '|', e.g. "Sr.No.|Date & Time|Event Name|Information".
    void setColumnFormat(const QString& format);
    int columns() const { return columnCount(); }

    int rows() const { return rowCount() + 1; }
    // 1 (header only) to kMaxRows; rows taken away lose their cells.
    void setRows(int rows);

    QString cellText(int row, int column) const;
    void setCellText(int row, int column, const QString& text);
    // Background of a data row as a COLORREF (0x00BBGGRR); the text turns white on dark colours.
    void setRowColor(int row, quint32 colorRef);
    // Background and text colour (COLORREF) of one data cell, and its text bold or not.
    void setCellColor(int row, int column, quint32 background, quint32 text, bool bold);

    // The header row and the data rows as the grid shows them.
    CCsvTable csv() const;
    // What "Export as CSV…" writes instead of csv() (a table of the numbers behind the texts);
    // an empty function restores csv().
    void setCsvSource(std::function<CCsvTable()> source) { m_csvSource = std::move(source); }

    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly);

signals:
    // The user moved to another data row, or double-clicked one (grid row numbers).
    void rowSelected(int row);
    void rowDoubleClicked(int row);

private:
    bool isDataCell(int row, int column) const;
    QTableWidgetItem* itemAt(int row, int column);
    void fitColumn(int column, const QString& text);

    bool m_readOnly = true;
    std::function<CCsvTable()> m_csvSource;
};
