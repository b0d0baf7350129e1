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

// Reads a whole plot data file: the header, the axis and channel records, one point block per
// channel in the order of the channel records, and the closing line. Stops at the first fault.
class Parser {
public:
    explicit Parser(const QByteArray& text) : m_reader(text), m_maxPoints(text.size() / 4) {}

    std::optional<PlotFile> read(QString& error) {
        if (!readHeader(error)) {
            return std::nullopt;
        }
        if (!readRecords() || !readPointBlocks() || !readEnd()) {
            error = m_reader.error();
            return std::nullopt;
        }
        return m_file;
    }

private:
    // The format name and version. A foreign file gets a message without a line number.
    bool readHeader(QString& error) {
        const auto header = m_reader.next();
        if (!header || !header->first().startsWith(kMagic + ' ')) {
            error = tr("not a plot data file (it does not begin with \"%1\")")
                        .arg(QLatin1String(kMagic));
            return false;
        }
        if (header->first() != kMagic + ' ' + QByteArray::number(kVersion) || header->size() != 1) {
            error = tr("plot data version \"%1\" is not supported (version %2 is)")
                        .arg(QString::fromUtf8(header->first().mid(kMagic.size() + 1)))
                        .arg(kVersion);
            return false;
        }
        return true;
    }

    // The axis and channel records, up to the first point block or the closing line.
    bool readRecords() {
        while (const auto fields = m_reader.next()) {
            const QByteArray& keyword = fields->first();
            if (keyword == "points" || keyword == "end") {
                m_reader.back();
                return true;
            }
            if (!readRecord(*fields)) {
                return false;
            }
        }
        return true; // the point blocks and the closing line report the missing rest
    }

    bool readRecord(const QList<QByteArray>& fields) {
        const QByteArray& keyword = fields.first();
        if (keyword == "x-axis" && fields.size() == 3) {
            m_file.xAxis = readSpan(m_reader, fields[1], fields[2]);
            return bool(m_file.xAxis);
        }
        if (keyword == "y-axis" && fields.size() == 4) {
            return readYAxis(fields);
        }
        if (keyword == "channel" && fields.size() == 7) {
            return readChannel(fields);
        }
        m_reader.fail(
            tr("unknown or malformed record \"%1\"").arg(QString::fromUtf8(keyword.left(40))));
        return false;
    }

    bool readYAxis(const QList<QByteArray>& fields) {
        const auto axis = m_reader.integer(fields[1], 0, PlotFile::kYAxisCount - 1);
        const auto span = axis ? readSpan(m_reader, fields[2], fields[3]) : std::nullopt;
        if (span) {
            m_file.yAxes[*axis] = span;
        }
        return bool(span);
    }

    // A channel record; its points follow later in a block of their own.
    bool readChannel(const QList<QByteArray>& fields) {
        const auto number = m_reader.integer(fields[1], 1, PlotFile::kChannelCount);
        const QByteArray& colour = fields[2];
        const auto colorRef =
            number && colour.startsWith("0x")
                ? m_reader.integer(colour.mid(2), 0, 0xFFFFFF, 16)
                : m_reader.fail(tr("bad channel colour \"%1\"").arg(QString::fromUtf8(colour)));
        const auto axis =
            colorRef ? m_reader.integer(fields[3], 0, PlotFile::kYAxisCount - 1) : std::nullopt;
        const auto count = axis ? m_reader.integer(fields[4], 0, m_maxPoints) : std::nullopt;
        if (!count) {
            return false;
        }
        const bool repeated =
            std::any_of(m_file.channels.cbegin(), m_file.channels.cend(),
                        [&](const PlotFile::Channel& other) { return other.number == *number; });
        if (repeated) {
            m_reader.fail(tr("channel %1 is listed twice").arg(*number));
            return false;
        }
        PlotFile::Channel channel;
        channel.number = int(*number);
        channel.color = quint32(*colorRef);
        channel.yAxis = int(*axis);
        channel.name = QString::fromUtf8(fields[5]);
        channel.markerLabel = QString::fromUtf8(fields[6]);
        m_file.channels.append(channel);
        m_counts.append(*count);
        return true;
    }

    bool readPointBlocks() {
        for (qsizetype c = 0; c < m_file.channels.size(); ++c) {
            if (!readPoints(m_file.channels[c], m_counts[c])) {
                return false;
            }
        }
        return true;
    }

    // "points <number>" naming the channel, then exactly count point lines.
    bool readPoints(PlotFile::Channel& channel, qint64 count) {
        const auto fields = m_reader.expect("points", 2);
        if (!fields) {
            return false;
        }
        if (fields->at(1) != QByteArray::number(channel.number)) {
            m_reader.fail(tr("the points of channel %1 expected").arg(channel.number));
            return false;
        }
        channel.points.reserve(count);
        for (qint64 p = 0; p < count; ++p) {
            if (!readPoint(channel, count - p)) {
                return false;
            }
        }
        return true;
    }

    // One "x<tab>y" line; missing counts the points still to come, this one included.
    bool readPoint(PlotFile::Channel& channel, qint64 missing) {
        const auto point = m_reader.next();
        if (!point || point->size() != 2) {
            m_reader.fail(point ? tr("a point \"x<tab>y\" expected")
                                : tr("the file ends early, %1 points of channel %2 missing")
                                      .arg(missing)
                                      .arg(channel.number));
            return false;
        }
        const auto x = m_reader.real(point->at(0));
        const auto y = x ? m_reader.real(point->at(1)) : std::nullopt;
        if (!y) {
            return false;
        }
        channel.points.append(QPointF(*x, *y));
        return true;
    }

    // The closing line, with nothing but blank lines after it.
    bool readEnd() {
        if (!m_reader.expect("end", 1)) {
            return false;
        }
        if (m_reader.next()) {
            m_reader.fail(tr("text after \"end\""));
            return false;
        }
        return true;
    }

    Reader m_reader;
    qint64 m_maxPoints; // a point line takes at least four characters
    PlotFile m_file;
    QList<qint64> m_counts; // the point count of each channel record
};

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
    return Parser(text).read(error);
}
