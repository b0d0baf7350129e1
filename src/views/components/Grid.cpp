#include "views/components/Grid.h"

#include "views/components/Painting.h"

#include <QHeaderView>

CGrid::CGrid(QWidget* parent) : QTableWidget(parent) {
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAlternatingRowColors(true);
    setWordWrap(false);
    setReadOnly(true);
    connect(this, &QTableWidget::currentCellChanged, this,
            [this](int row, int, int previousRow, int) {
                if (row >= 0 && row != previousRow) {
                    emit rowSelected(row + 1);
                }
            });
    connect(this, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { emit rowDoubleClicked(row + 1); });
    addCsvExport(*this, [this] { return m_csvSource ? m_csvSource() : csv(); });
}

CCsvTable CGrid::csv() const {
    QStringList header;
    for (int column = 0; column < columnCount(); ++column) {
        header << cellText(0, column);
    }
    CCsvTable table(header);
    for (int row = 1; row < rows(); ++row) {
        QStringList cells;
        for (int column = 0; column < columnCount(); ++column) {
            cells << cellText(row, column);
        }
        table.addRow(cells);
    }
    return table;
}

void CGrid::setCellColor(int row, int column, quint32 background, quint32 text, bool bold) {
    if (!isDataCell(row, column)) {
        return;
    }
    QTableWidgetItem* cell = itemAt(row, column);
    cell->setBackground(Painting::colorFromRef(background));
    cell->setForeground(Painting::colorFromRef(text));
    QFont font = cell->font();
    font.setBold(bold);
    cell->setFont(font);
}

void CGrid::setColumnFormat(const QString& format) {
    const QStringList headings = format.split(QLatin1Char('|'));
    setColumnCount(int(headings.size()));
    setHorizontalHeaderLabels(headings);
    const QFontMetrics metrics(horizontalHeader()->font());
    for (int column = 0; column < columnCount(); ++column) {
        setColumnWidth(column, qMax(70, metrics.horizontalAdvance(headings[column]) + 28));
    }
}

void CGrid::setRows(int rows) {
    if (rows >= 1 && rows <= kMaxRows) {
        setRowCount(rows - 1);
    }
}

bool CGrid::isDataCell(int row, int column) const {
    return row >= 1 && row < rows() && column >= 0 && column < columnCount();
}

QTableWidgetItem* CGrid::itemAt(int row, int column) {
    QTableWidgetItem* cell = item(row - 1, column);
    if (!cell) {
        cell = new QTableWidgetItem;
        setItem(row - 1, column, cell);
    }
    return cell;
}

QString CGrid::cellText(int row, int column) const {
    if (row == 0 && column >= 0 && column < columnCount()) {
        const QTableWidgetItem* heading = horizontalHeaderItem(column);
        return heading ? heading->text() : QString();
    }
    const QTableWidgetItem* cell = isDataCell(row, column) ? item(row - 1, column) : nullptr;
    return cell ? cell->text() : QString();
}

void CGrid::setCellText(int row, int column, const QString& text) {
    if (row == 0 && column >= 0 && column < columnCount()) {
        setHorizontalHeaderItem(column, new QTableWidgetItem(text));
    } else if (isDataCell(row, column)) {
        itemAt(row, column)->setText(text);
        fitColumn(column, text);
    }
}

void CGrid::fitColumn(int column, const QString& text) {
    // Widen (never narrow) a column to show its texts in full, up to a sensible limit; the
    // last column stretches to the grid's edge anyway.
    constexpr int kWidest = 360;
    if (column + 1 < columnCount() && columnWidth(column) < kWidest) {
        const int wanted = qMin(kWidest, fontMetrics().horizontalAdvance(text) + 16);
        if (wanted > columnWidth(column)) {
            setColumnWidth(column, wanted);
        }
    }
}

void CGrid::setRowColor(int row, quint32 colorRef) {
    if (!isDataCell(row, 0)) {
        return;
    }
    const QColor background = Painting::colorFromRef(colorRef);
    const QColor text = background.lightnessF() < 0.45 ? QColor(Qt::white) : Painting::kText;
    for (int column = 0; column < columnCount(); ++column) {
        QTableWidgetItem* cell = itemAt(row, column);
        cell->setBackground(background);
        cell->setForeground(text);
    }
}

void CGrid::setReadOnly(bool readOnly) {
    m_readOnly = readOnly;
    setEditTriggers(readOnly
                        ? QAbstractItemView::NoEditTriggers
                        : QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed);
}
