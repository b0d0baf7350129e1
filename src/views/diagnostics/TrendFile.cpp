#include "views/diagnostics/TrendFile.h"

#include <QList>

#include <cstdio>

namespace {

constexpr std::array<const char*, 3> kTitles{"Position Trend [%]", "Deviation Trend [%]",
                                             "Friction Trend [kPa]"};
constexpr const char* kHeads = "Day Trend(X)\tDay Trend(Y)\tMonth Trend(X)\tMonth Trend(Y)\t"
                               "Year Trend(X)\tYear Trend(Y)\t25Years Trend(X)\t25Years Trend(Y)";

// A number as a text stream writes it by default: up to six significant digits.
QByteArray Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

} // namespace

QString STrendFile::TitleOf(int kind) {
    return kind >= 0 && kind < static_cast<int>(kTitles.size()) ? QString::fromLatin1(kTitles[kind])
                                                                : QString();
}

int STrendFile::KindOf(const QString& title) {
    for (std::size_t kind = 0; kind < kTitles.size(); ++kind) {
        if (title == QLatin1String(kTitles[kind])) {
            return static_cast<int>(kind);
        }
    }
    return -1;
}

QByteArray STrendFile::ToText() const {
    QByteArray text = title.toLatin1() + '\n' + kHeads + '\n';
    for (int row = 0; row < kRows; ++row) {
        for (std::size_t span = 0; span < y.size(); ++span) {
            const bool point =
                row < kPoints[span] && static_cast<std::size_t>(row) < y[span].size();
            if (point) {
                text += Number(row) + '\t' + Number(y[span][static_cast<std::size_t>(row)]);
            } else {
                text += '\t';
            }
            text += span + 1 < y.size() || !point ? "\t" : "";
        }
        text += '\n';
    }
    return text;
}

std::optional<STrendFile> STrendFile::FromText(const QByteArray& text, QString& error) {
    if (text.contains('\0')) {
        error = QStringLiteral("the file is not a trend file (it holds bytes that are no text)");
        return std::nullopt;
    }
    QList<QByteArray> lines = text.split('\n');
    if (!lines.isEmpty() && lines.back().isEmpty()) {
        lines.removeLast(); // the line feed that ends the last line
    }
    const int rows = static_cast<int>(lines.size()) - 2;
    if (rows < kRows) {
        error = QStringLiteral("line %1: the file ends before its %2 rows of trends")
                    .arg(lines.size() + 1)
                    .arg(kRows);
        return std::nullopt;
    }
    if (rows > kMaxRows) {
        error =
            QStringLiteral("line %1: more than %2 rows of trends").arg(kMaxRows + 3).arg(kMaxRows);
        return std::nullopt;
    }
    STrendFile file;
    file.title = QString::fromLatin1(lines[0]).trimmed();
    for (std::size_t span = 0; span < file.y.size(); ++span) {
        file.y[span].assign(static_cast<std::size_t>(kPoints[span]), 0.0);
    }
    for (int row = 0; row < rows; ++row) {
        const int line = row + 3;
        const QList<QByteArray> fields = lines[row + 2].split('\t');
        for (const QByteArray& field : fields) {
            if (field.size() > kMaxFieldLength) {
                error = QStringLiteral("line %1: a field is longer than %2 characters")
                            .arg(line)
                            .arg(kMaxFieldLength);
                return std::nullopt;
            }
        }
        // Only the y fields count; x is the point's index.
        for (std::size_t span = 0; span < file.y.size(); ++span) {
            if (row >= kPoints[span]) {
                continue;
            }
            const qsizetype at = static_cast<qsizetype>(2 * span + 1);
            bool number = false;
            const double value = at < fields.size() ? fields[at].trimmed().toDouble(&number) : 0.0;
            if (!number) {
                error = QStringLiteral("line %1: point %2 of span %3 is not a number")
                            .arg(line)
                            .arg(row)
                            .arg(span + 1);
                return std::nullopt;
            }
            file.y[span][static_cast<std::size_t>(row)] = value;
        }
    }
    return file;
}
