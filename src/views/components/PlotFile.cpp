#include "views/components/PlotFile.h"

#include <QCoreApplication>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>

namespace {

const QByteArray kMagic = "VelaPlot";
constexpr int kVersion = 1;

// The shortest text that reads back as the very same double (including -0).
QByteArray number(double value) {
    char text[32];
    const auto end = std::to_chars(std::begin(text), std::end(text), value).ptr;
    return QByteArray(text, end - std::begin(text));
}

QString tr(const char* text) {
    return QCoreApplication::translate("PlotFile", text);
}

// Walks through the lines of a file and reads typed fields, remembering the first fault.
class Reader {
public:
    explicit Reader(const QByteArray& text) : m_lines(text.split('\n')) {
        // A final line break leaves one empty piece behind; trailing blank lines are allowed.
        while (!m_lines.isEmpty() && m_lines.last().trimmed().isEmpty()) {
            m_lines.removeLast();
        }
    }

    // The next line split into tab-separated fields, or nothing at the end of the text.
    std::optional<QList<QByteArray>> next() {
        if (m_index >= m_lines.size()) {
            return std::nullopt;
        }
        QByteArray line = m_lines[m_index++];
        if (line.endsWith('\r')) {
            line.chop(1);
        }
        return line.split('\t');
    }
    // The next line, which must start with keyword and have count fields in all.
    std::optional<QList<QByteArray>> expect(const char* keyword, qsizetype count) {
        auto fields = next();
        if (!fields) {
            return fail(tr("the file ends early, \"%1\" expected").arg(QLatin1String(keyword)));
        }
        if (fields->first() != keyword || fields->size() != count) {
            return fail(
                tr("\"%1\" with %2 fields expected").arg(QLatin1String(keyword)).arg(count));
        }
        return fields;
    }
    std::optional<double> real(const QByteArray& field) {
        double value = 0.0;
        const char* end = field.constData() + field.size();
        const auto [stop, fault] = std::from_chars(field.constData(), end, value);
        if (field.isEmpty() || fault != std::errc() || stop != end || !std::isfinite(value)) {
            return fail(tr("\"%1\" is not a number").arg(QString::fromUtf8(field)));
        }
        return value;
    }
    std::optional<qint64> integer(const QByteArray& field, qint64 low, qint64 high, int base = 10) {
        bool ok = false;
        const qint64 value = field.toLongLong(&ok, base);
        if (!ok || value < low || value > high) {
            return fail(tr("\"%1\" is not a whole number from %2 to %3")
                            .arg(QString::fromUtf8(field))
                            .arg(low)
                            .arg(high));
        }
        return value;
    }
    std::nullopt_t fail(const QString& message) {
        if (m_error.isEmpty()) {
            m_error = tr("line %1: %2").arg(m_index).arg(message);
        }
        return std::nullopt;
    }
    void back() { --m_index; }
    QString error() const { return m_error; }

private:
    QList<QByteArray> m_lines;
    qsizetype m_index = 0;
    QString m_error;
};

std::optional<PlotFile::Span> readSpan(Reader& reader, const QByteArray& low,
                                       const QByteArray& high) {
    const auto minimum = reader.real(low);
    const auto maximum = minimum ? reader.real(high) : std::nullopt;
    if (!maximum) {
        return std::nullopt;
    }
    if (*minimum >= *maximum) {
        return reader.fail(tr("the axis minimum is not below its maximum"));
    }
    return PlotFile::Span{*minimum, *maximum};
}

} // namespace

QByteArray PlotFile::toText() const {
    QByteArray text = kMagic + ' ' + QByteArray::number(kVersion) + '\n';
    if (xAxis) {
        text += "x-axis\t" + number(xAxis->minimum) + '\t' + number(xAxis->maximum) + '\n';
    }
    for (int axis = 0; axis < kYAxisCount; ++axis) {
        if (const auto& span = yAxes[axis]) {
            text += "y-axis\t" + QByteArray::number(axis) + '\t' + number(span->minimum) + '\t' +
                    number(span->maximum) + '\n';
        }
    }
    for (const Channel& channel : channels) {
        text += "channel\t" + QByteArray::number(channel.number) + '\t' + "0x" +
                QByteArray::number(channel.color, 16).rightJustified(8, '0').toUpper() + '\t' +
                QByteArray::number(channel.yAxis) + '\t' +
                QByteArray::number(channel.points.size()) + '\t' + channel.name.toUtf8() + '\t' +
                channel.markerLabel.toUtf8() + '\n';
    }
    for (const Channel& channel : channels) {
        text += "points\t" + QByteArray::number(channel.number) + '\n';
        for (const QPointF& point : channel.points) {
            text += number(point.x()) + '\t' + number(point.y()) + '\n';
        }
    }
    return text + "end\n";
}

std::optional<PlotFile> PlotFile::fromText(const QByteArray& text, QString& error) {
    Reader reader(text);
    const auto header = reader.next();
    if (!header || !header->first().startsWith(kMagic + ' ')) {
        error =
            tr("not a plot data file (it does not begin with \"%1\")").arg(QLatin1String(kMagic));
        return std::nullopt;
    }
    if (header->first() != kMagic + ' ' + QByteArray::number(kVersion) || header->size() != 1) {
        error = tr("plot data version \"%1\" is not supported (version %2 is)")
                    .arg(QString::fromUtf8(header->first().mid(kMagic.size() + 1)))
                    .arg(kVersion);
        return std::nullopt;
    }

    PlotFile file;
    QList<qint64> counts;
    bool ok = true;
    while (ok) {
        const auto fields = reader.next();
        if (!fields) {
            break; // the checks below report the missing rest
        }
        const QByteArray& keyword = fields->first();
        if (keyword == "points" || keyword == "end") {
            reader.back();
            break;
        }
        if (keyword == "x-axis" && fields->size() == 3) {
            file.xAxis = readSpan(reader, fields->at(1), fields->at(2));
            ok = bool(file.xAxis);
        } else if (keyword == "y-axis" && fields->size() == 4) {
            const auto axis = reader.integer(fields->at(1), 0, kYAxisCount - 1);
            const auto span = axis ? readSpan(reader, fields->at(2), fields->at(3)) : std::nullopt;
            ok = bool(span);
            if (ok) {
                file.yAxes[*axis] = span;
            }
        } else if (keyword == "channel" && fields->size() == 7) {
            Channel channel;
            const auto channelNumber = reader.integer(fields->at(1), 1, kChannelCount);
            const QByteArray& colour = fields->at(2);
            const auto colorRef =
                channelNumber && colour.startsWith("0x")
                    ? reader.integer(colour.mid(2), 0, 0xFFFFFF, 16)
                    : reader.fail(tr("bad channel colour \"%1\"").arg(QString::fromUtf8(colour)));
            const auto axis =
                colorRef ? reader.integer(fields->at(3), 0, kYAxisCount - 1) : std::nullopt;
            const auto count =
                axis ? reader.integer(fields->at(4), 0, text.size() / 4) : std::nullopt;
            ok = bool(count);
            if (ok) {
                const bool repeated = std::any_of(
                    file.channels.cbegin(), file.channels.cend(),
                    [&](const Channel& other) { return other.number == *channelNumber; });
                if (repeated) {
                    reader.fail(tr("channel %1 is listed twice").arg(*channelNumber));
                    ok = false;
                    break;
                }
                channel.number = int(*channelNumber);
                channel.color = quint32(*colorRef);
                channel.yAxis = int(*axis);
                channel.name = QString::fromUtf8(fields->at(5));
                channel.markerLabel = QString::fromUtf8(fields->at(6));
                file.channels.append(channel);
                counts.append(*count);
            }
        } else {
            reader.fail(
                tr("unknown or malformed record \"%1\"").arg(QString::fromUtf8(keyword.left(40))));
            ok = false;
        }
    }

    for (qsizetype c = 0; ok && c < file.channels.size(); ++c) {
        Channel& channel = file.channels[c];
        const auto fields = reader.expect("points", 2);
        ok = fields && fields->at(1) == QByteArray::number(channel.number);
        if (fields && !ok) {
            reader.fail(tr("the points of channel %1 expected").arg(channel.number));
        }
        channel.points.reserve(counts[c]);
        for (qint64 p = 0; ok && p < counts[c]; ++p) {
            const auto point = reader.next();
            if (!point || point->size() != 2) {
                reader.fail(point ? tr("a point \"x<tab>y\" expected")
                                  : tr("the file ends early, %1 points of channel %2 missing")
                                        .arg(counts[c] - p)
                                        .arg(channel.number));
                ok = false;
                break;
            }
            const auto x = reader.real(point->at(0));
            const auto y = x ? reader.real(point->at(1)) : std::nullopt;
            ok = bool(y);
            if (ok) {
                channel.points.append(QPointF(*x, *y));
            }
        }
    }
    ok = ok && reader.expect("end", 1);
    if (ok && reader.next()) {
        reader.fail(tr("text after \"end\""));
        ok = false;
    }
    if (!ok) {
        error = reader.error();
        return std::nullopt;
    }
    return file;
}
