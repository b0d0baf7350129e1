#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QAction;
class QWidget;

// A table written as CSV after RFC 4180: UTF-8 (no byte order mark), one header row, fields
// separated by commas, records ended by CR LF, and a field quoted, with its quotes doubled,
// when it holds a comma, a quote, a line break or blanks at either end. Numbers go in with
// number(): "." as the decimal separator whatever the locale.
class CCsvTable {
public:
    explicit CCsvTable(QStringList header = {}) : m_header(std::move(header)) {}

    void addRow(QStringList row) { m_rows.append(std::move(row)); }
    const QStringList& header() const { return m_header; }
    const QList<QStringList>& rows() const { return m_rows; }

    QByteArray toText() const;
    // Writes the whole file or nothing (the previous file stays); false with a message.
    bool save(const QString& path, QString* error = nullptr) const;

    // The shortest text that reads back as the same double, with "."; empty when not finite.
    static QString number(double value);
    static QByteArray field(const QString& text);

private:
    QStringList m_header;
    QList<QStringList> m_rows;
};

// The window that holds grids and plots says where their "Export as CSV…" writes: it asks
// (a device view asks the user after its private-dialogs check; nothing means refused or
// cancelled) and reports the outcome. An export uses the host of the nearest of the widget
// and its ancestors; without one it does nothing.
class CCsvExportHost : public QObject {
    Q_OBJECT
public:
    using Question = std::function<std::optional<QString>(QWidget* from)>;
    using Report = std::function<void(const QString& message)>;

    CCsvExportHost(QWidget& window, Question question, Report report);

    static CCsvExportHost* find(const QWidget& widget);
    // Asks for the file and writes `table` there; every outcome is reported, nothing thrown.
    void exportTable(QWidget& from, const CCsvTable& table) const;

private:
    Question m_question;
    Report m_report;
};

inline constexpr const char* kExportCsvText = "Export as CSV…";

// Gives `widget` the context menu entry "Export as CSV…", which exports `table()` through
// the widget's host. Answers the entry's action.
QAction* addCsvExport(QWidget& widget, std::function<CCsvTable()> table);
