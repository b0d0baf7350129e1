#include "views/components/Csv.h"

#include <QAction>
#include <QFileInfo>
#include <QSaveFile>
#include <QWidget>

#include <charconv>
#include <cmath>
#include <iterator>

QByteArray CCsvTable::field(const QString& text) {
    QByteArray bytes = text.toUtf8();
    const bool quoted = bytes.contains(',') || bytes.contains('"') || bytes.contains('\n') ||
                        bytes.contains('\r') ||
                        (!bytes.isEmpty() && (bytes.front() == ' ' || bytes.back() == ' '));
    if (!quoted) {
        return bytes;
    }
    bytes.replace("\"", "\"\"");
    return '"' + bytes + '"';
}

QString CCsvTable::number(double value) {
    if (!std::isfinite(value)) {
        return {};
    }
    char text[32];
    const auto end = std::to_chars(std::begin(text), std::end(text), value).ptr;
    return QString::fromLatin1(text, end - std::begin(text));
}

QByteArray CCsvTable::toText() const {
    QByteArray text;
    const auto write = [&text](const QStringList& row) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (i > 0) {
                text += ',';
            }
            text += field(row[i]);
        }
        text += "\r\n";
    };
    write(m_header);
    for (const QStringList& row : m_rows) {
        write(row);
    }
    return text;
}

bool CCsvTable::save(const QString& path, QString* error) const {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(toText()) >= 0 && file.commit()) {
        return true;
    }
    if (error) {
        *error = QObject::tr("Cannot write the CSV file %1: %2").arg(path, file.errorString());
    }
    return false;
}

CCsvExportHost::CCsvExportHost(QWidget& window, Question question, Report report)
    : QObject(&window), m_question(std::move(question)), m_report(std::move(report)) {}

CCsvExportHost* CCsvExportHost::find(const QWidget& widget) {
    for (const QWidget* at = &widget; at; at = at->parentWidget()) {
        if (auto* host = at->findChild<CCsvExportHost*>(QString(), Qt::FindDirectChildrenOnly)) {
            return host;
        }
    }
    return nullptr;
}

void CCsvExportHost::exportTable(QWidget& from, const CCsvTable& table) const {
    try {
        const std::optional<QString> path = m_question(&from);
        if (!path) {
            return;
        }
        QString error;
        m_report(table.save(*path, &error)
                     ? tr("Exported as CSV to %1").arg(QFileInfo(*path).fileName())
                     : error);
    } catch (const std::exception& e) {
        m_report(tr("Export as CSV: %1").arg(QString::fromUtf8(e.what())));
    } catch (...) {
        m_report(tr("Export as CSV failed"));
    }
}

QAction* addCsvExport(QWidget& widget, std::function<CCsvTable()> table) {
    auto* action = new QAction(QString::fromUtf8(kExportCsvText), &widget);
    widget.addAction(action);
    widget.setContextMenuPolicy(Qt::ActionsContextMenu);
    QObject::connect(action, &QAction::triggered, &widget, [&widget, table = std::move(table)] {
        if (const CCsvExportHost* host = CCsvExportHost::find(widget)) {
            host->exportTable(widget, table());
        }
    });
    return action;
}
