#include "views/components/Plot.h"

#include "views/components/Painting.h"

#include <QChart>
#include <QChartView>
#include <QFile>
#include <QGraphicsLayout>
#include <QGraphicsSimpleTextItem>
#include <QLegendMarker>
#include <QLineSeries>
#include <QSaveFile>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

using namespace Painting;

namespace {

// Default channel colours (COLORREF): well apart from each other on a white background.
constexpr std::array<quint32, CPlot::kChannelCount> kChannelColors{
    0x00B26F1F, 0x002828C6, 0x00388E2E, 0x00007CEF, 0x00A0398E, 0x00898C00, 0x00455A79, 0x00606060};

// The colour of channel `index`: the defaults, then hues spread around the colour wheel.
quint32 defaultColor(int index) {
    if (index < CPlot::kChannelCount) {
        return kChannelColors[static_cast<std::size_t>(index)];
    }
    return refFromColor(QColor::fromHsv((index * 137) % 360, 200, 170));
}

// Legend entries that fit in a row below the plot.
constexpr int kLegendRow = 4;

// A plot file is text of a few megabytes at most; refuse to read anything far bigger.
constexpr qint64 kMaxFileSize = 256 * 1024 * 1024;

QString oneLine(const QString& text) {
    QString line = text;
    line.replace(QLatin1Char('\t'), QLatin1Char(' '));
    line.replace(QLatin1Char('\r'), QLatin1Char(' '));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return line;
}

bool isSpan(double minimum, double maximum) {
    return std::isfinite(minimum) && std::isfinite(maximum) && minimum < maximum;
}

QValueAxis* makeAxis(const QFont& base) {
    auto* axis = new QValueAxis;
    axis->setLabelFormat(QStringLiteral("%g"));
    axis->setLabelsFont(sizedFont(base, 11.0));
    axis->setTitleFont(sizedFont(base, 12.0, true));
    axis->setLabelsColor(kText);
    axis->setTitleBrush(kText);
    axis->setGridLineColor(kTrack);
    axis->setLinePenColor(kPanelBorder);
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0.0);
    // At most eight grid lines, at round numbers.
    const auto retick = [axis](qreal minimum, qreal maximum) {
        const Scale scale = niceScale(minimum, maximum, 8);
        if (scale.step > 0.0) {
            axis->setTickInterval(scale.step);
        }
    };
    QObject::connect(axis, &QValueAxis::rangeChanged, axis, retick);
    axis->setRange(0.0, 100.0);
    retick(0.0, 100.0);
    return axis;
}

} // namespace

CPlot::CPlot(QWidget* parent, int channels)
    : QWidget(parent), m_chart(new QChart),
      m_channels(static_cast<std::size_t>(std::max(channels, 1))) {
    m_chart->setAnimationOptions(QChart::NoAnimation);
    m_chart->setBackgroundRoundness(0);
    m_chart->setMargins(QMargins(4, 4, 4, 4));
    m_chart->setTitleFont(sizedFont(font(), 14.0, true));
    m_chart->setTitleBrush(kText);
    m_chart->legend()->setAlignment(Qt::AlignBottom);
    m_chart->legend()->setFont(sizedFont(font(), 12.0));
    m_chart->legend()->setLabelColor(kText);

    m_xAxis = makeAxis(font());
    m_chart->addAxis(m_xAxis, Qt::AlignBottom);
    for (int axis = 0; axis < kYAxisCount; ++axis) {
        m_yAxes[axis] = makeAxis(font());
        m_chart->addAxis(m_yAxes[axis], axis == 0 ? Qt::AlignLeft : Qt::AlignRight);
        connect(m_yAxes[axis], &QValueAxis::rangeChanged, this, &CPlot::placeMarkerLabels);
    }
    connect(m_xAxis, &QValueAxis::rangeChanged, this, &CPlot::placeMarkerLabels);
    connect(m_chart, &QChart::plotAreaChanged, this, &CPlot::placeMarkerLabels);

    for (int c = 0; c < channelCount(); ++c) {
        auto* series = new QLineSeries;
        m_chart->addSeries(series);
        series->attachAxis(m_xAxis);
        series->attachAxis(m_yAxes[0]);
        m_channels[c].series = series;
        setChannelColor(c, defaultColor(c));
    }

    m_view = new QChartView(m_chart, this);
    m_view->setRenderHint(QPainter::Antialiasing);
    m_view->setFrameShape(QFrame::NoFrame);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    refreshLegendAndAxes();
    addCsvExport(*this, [this] { return csv(); });
}

CPlot::~CPlot() {
    // The chart is deleted with the view after this object is gone; it must not call back.
    m_chart->disconnect(this);
    m_xAxis->disconnect(this);
    for (QValueAxis* axis : m_yAxes) {
        axis->disconnect(this);
    }
}

int CPlot::GetChannelByName(const QString& name) const {
    static const QString prefix = QStringLiteral("Channel ");
    if (!name.startsWith(prefix)) {
        return -1;
    }
    bool ok = false;
    const int number = QStringView(name).mid(prefix.size()).toInt(&ok);
    // Only the plain form: "Channel 1", not "Channel 01" or "Channel +1".
    const bool plain = ok && QString::number(number) == QStringView(name).mid(prefix.size());
    return plain && number >= 1 && number <= channelCount() ? number - 1 : -1;
}

QString CPlot::channelName(int channel) const {
    return isChannel(channel) ? m_channels[channel].name : QString();
}

void CPlot::setChannelName(int channel, const QString& name) {
    if (isChannel(channel)) {
        m_channels[channel].name = oneLine(name);
        refreshLegendAndAxes();
    }
}

quint32 CPlot::channelColor(int channel) const {
    return isChannel(channel) ? refFromColor(m_channels[channel].series->pen().color()) : 0;
}

void CPlot::setChannelColor(int channel, quint32 colorRef) {
    if (!isChannel(channel)) {
        return;
    }
    const QColor colour = colorFromRef(colorRef);
    QPen pen(colour, 2.0);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    m_channels[channel].series->setPen(pen);
    if (auto* text = m_channels[channel].markerText) {
        text->setBrush(colour);
    }
}

int CPlot::channelYAxis(int channel) const {
    return isChannel(channel) ? m_channels[channel].yAxis : 0;
}

void CPlot::setChannelYAxis(int channel, int axis) {
    if (!isChannel(channel) || axis < 0 || axis >= kYAxisCount) {
        return;
    }
    Channel& c = m_channels[channel];
    c.series->detachAxis(m_yAxes[c.yAxis]);
    c.series->attachAxis(m_yAxes[axis]);
    c.yAxis = axis;
    refreshLegendAndAxes();
    placeMarkerLabels();
}

QList<QPointF> CPlot::channelPoints(int channel) const {
    return isChannel(channel) ? m_channels[channel].points : QList<QPointF>();
}

QList<QPointF> CPlot::drawnPoints(int channel) const {
    return isChannel(channel) ? m_channels[channel].series->points() : QList<QPointF>();
}

void CPlot::addPoint(int channel, double x, double y) {
    if (isChannel(channel) && std::isfinite(x) && std::isfinite(y)) {
        m_channels[channel].points.append(QPointF(x, y));
        scheduleRedraw();
    }
}

void CPlot::clearChannel(int channel) {
    if (isChannel(channel)) {
        Channel& c = m_channels[channel];
        c.points.clear();
        c.drawn = 0;
        c.redrawAll = false;
        c.columns.clear();
        c.series->clear();
        setMarkerLabel(channel, QString());
        refreshLegendAndAxes();
    }
}

void CPlot::clearAll() {
    for (int c = 0; c < channelCount(); ++c) {
        clearChannel(c);
    }
}

QString CPlot::title() const {
    return m_chart->title();
}

void CPlot::setTitle(const QString& title) {
    m_chart->setTitle(title);
}

double CPlot::xAxisMin() const {
    return m_xAxis->min();
}

double CPlot::xAxisMax() const {
    return m_xAxis->max();
}

void CPlot::setXAxisSpan(double minimum, double maximum) {
    if (!isSpan(minimum, maximum) || (minimum == xAxisMin() && maximum == xAxisMax())) {
        return;
    }
    m_xAxis->setRange(minimum, maximum);
    // Long channels are drawn in columns of the span: they are drawn anew.
    for (Channel& c : m_channels) {
        if (!c.columns.empty()) {
            c.redrawAll = true;
            scheduleRedraw();
        }
    }
}

void CPlot::setXAxisTitle(const QString& title) {
    m_xAxis->setTitleText(title);
}

QValueAxis* CPlot::yAxis(int axis) const {
    return axis >= 0 && axis < kYAxisCount ? m_yAxes[axis] : nullptr;
}

double CPlot::yAxisMin(int axis) const {
    return yAxis(axis) ? yAxis(axis)->min() : 0.0;
}

double CPlot::yAxisMax(int axis) const {
    return yAxis(axis) ? yAxis(axis)->max() : 0.0;
}

void CPlot::setYAxisSpan(double minimum, double maximum, int axis) {
    if (yAxis(axis) && isSpan(minimum, maximum)) {
        yAxis(axis)->setRange(minimum, maximum);
    }
}

void CPlot::setYAxisTitle(const QString& title, int axis) {
    if (yAxis(axis)) {
        yAxis(axis)->setTitleText(title);
    }
}

void CPlot::drawMarker(int channel, double x, quint32 colorRef, const QString& label) {
    if (!isChannel(channel) || !std::isfinite(x)) {
        return;
    }
    Channel& c = m_channels[channel];
    const QValueAxis* axis = m_yAxes[c.yAxis];
    c.points = QList<QPointF>{{x, axis->min()}, {x, axis->max()}};
    c.columns.clear();
    c.series->replace(c.points);
    c.drawn = c.points.size();
    c.redrawAll = false;
    setChannelColor(channel, colorRef);
    setMarkerLabel(channel, label);
    refreshLegendAndAxes();
    placeMarkerLabels();
}

QString CPlot::markerLabel(int channel) const {
    return isChannel(channel) ? m_channels[channel].markerLabel : QString();
}

void CPlot::setCompact(bool compact) {
    m_compact = compact;
    const qreal scale = compact ? 0.8 : 1.0;
    m_chart->setTitleFont(sizedFont(font(), 14.0 * scale, true));
    for (QValueAxis* axis :
         std::initializer_list<QValueAxis*>{m_xAxis, m_yAxes[0], m_yAxes[1], m_yAxes[2]}) {
        axis->setLabelsFont(sizedFont(font(), 11.0 * scale));
        axis->setTitleFont(sizedFont(font(), 12.0 * scale, true));
    }
    m_chart->setMargins(compact ? QMargins(0, 0, 0, 0) : QMargins(4, 4, 4, 4));
    m_chart->legend()->setVisible(!compact);
    setMinimumSize(compact ? QSize(200, 140) : QSize());
}

void CPlot::redraw() {
    m_redrawScheduled = false;
    for (Channel& c : m_channels) {
        if (c.redrawAll || c.drawn < c.points.size()) {
            drawChannel(c);
        }
    }
    refreshLegendAndAxes();
    placeMarkerLabels();
}

void CPlot::drawChannel(Channel& c) {
    const qsizetype count = c.points.size();
    if (count <= kDecimateAbove && c.columns.empty()) {
        // Short: every point, in one replace (appending to a series lays the chart out again
        // for each point).
        c.series->replace(c.points);
    } else {
        const qsizetype from = c.redrawAll || c.columns.empty() ? 0 : c.drawn;
        if (!extendColumns(c, from)) {
            extendColumns(c, 0);
        }
        // The lowest and highest point of each column, in the order they were added.
        QList<QPointF> line;
        line.reserve(static_cast<qsizetype>(2 * c.columns.size()));
        for (const Column& column : c.columns) {
            if (!column.used) {
                continue;
            }
            line.append(c.points[std::min(column.lowest, column.highest)]);
            if (column.lowest != column.highest) {
                line.append(c.points[std::max(column.lowest, column.highest)]);
            }
        }
        // One replace per channel: the chart lays out the whole line once, not per point.
        c.series->replace(line);
    }
    c.drawn = count;
    c.redrawAll = false;
}

bool CPlot::extendColumns(Channel& c, qsizetype from) const {
    const double origin = xAxisMin();
    const double width = (xAxisMax() - xAxisMin()) / kColumns;
    if (from == 0) {
        c.columns.assign(kColumns + 2, Column{});
        c.columnOrigin = origin;
        c.columnWidth = width;
    } else if (origin != c.columnOrigin || width != c.columnWidth) {
        return false;
    }
    for (qsizetype i = from; i < c.points.size(); ++i) {
        // Points outside the span fall into the columns beyond its edges.
        const double at = std::clamp((c.points[i].x() - origin) / width, -1.0, double(kColumns));
        Column& column = c.columns[static_cast<std::size_t>(std::floor(at) + 1)];
        const double y = c.points[i].y();
        if (!column.used) {
            column = {true, i, i};
            continue;
        }
        if (y < c.points[column.lowest].y()) {
            column.lowest = i;
        }
        if (y > c.points[column.highest].y()) {
            column.highest = i;
        }
    }
    return true;
}

void CPlot::scheduleRedraw() {
    if (!m_redrawScheduled) {
        m_redrawScheduled = true;
        QMetaObject::invokeMethod(this, &CPlot::redraw, Qt::QueuedConnection);
    }
}

void CPlot::setMarkerLabel(int channel, const QString& label) {
    Channel& c = m_channels[channel];
    c.markerLabel = oneLine(label);
    if (c.markerLabel.isEmpty()) {
        delete c.markerText;
        c.markerText = nullptr;
        return;
    }
    if (!c.markerText) {
        c.markerText = new QGraphicsSimpleTextItem(m_chart);
        c.markerText->setFont(sizedFont(font(), 12.0, true));
        c.markerText->setZValue(100);
    }
    c.markerText->setBrush(c.series->pen().color());
    c.markerText->setText(c.markerLabel);
}

void CPlot::placeMarkerLabels() {
    const QRectF area = m_chart->plotArea();
    for (const Channel& c : m_channels) {
        if (!c.markerText) {
            continue;
        }
        const QList<QPointF> points = c.series->points();
        c.markerText->setVisible(!points.isEmpty());
        if (points.isEmpty()) {
            continue;
        }
        const QPointF top = *std::max_element(points.cbegin(), points.cend(),
                                              [](auto& a, auto& b) { return a.y() < b.y(); });
        const QPointF at = m_chart->mapToPosition(top, c.series);
        const QRectF box = c.markerText->boundingRect();
        // Right of the line, or left of it when the label would leave the plot area.
        qreal x = at.x() + 6;
        if (x + box.width() > area.right()) {
            x = at.x() - 6 - box.width();
        }
        // Below the top of the line, kept inside the plot area while the area is large enough.
        const qreal y =
            std::max(area.top() + 2, std::min(at.y() + 2, area.bottom() - box.height()));
        c.markerText->setPos(x, y);
    }
}

void CPlot::refreshLegendAndAxes() {
    std::array<bool, kYAxisCount> used{true};
    int shown = 0;
    for (int index = 0; index < channelCount(); ++index) {
        const Channel& c = m_channels[index];
        used[c.yAxis] = true;
        const QString legend = !c.name.isEmpty() ? c.name
                               : !c.markerLabel.isEmpty()
                                   ? c.markerLabel
                                   : QStringLiteral("Channel %1").arg(index + 1);
        c.series->setName(legend);
        for (QLegendMarker* marker : m_chart->legend()->markers(c.series)) {
            marker->setVisible(c.series->count() > 0);
            shown += c.series->count() > 0 ? 1 : 0;
        }
    }
    // A few channels fit in a row below the plot; more are listed beside it.
    m_chart->legend()->setAlignment(shown > kLegendRow ? Qt::AlignRight : Qt::AlignBottom);
    for (int axis = 1; axis < kYAxisCount; ++axis) {
        m_yAxes[axis]->setVisible(used[axis]);
    }
    // The legend does not lay itself out again when a marker is shown or hidden: without
    // this, the markers of channels filled later stack on the first one.
    if (QGraphicsLayout* layout = m_chart->legend()->layout()) {
        layout->invalidate();
    }
}

PlotFile CPlot::content() const {
    PlotFile file;
    file.xAxis = PlotFile::Span{xAxisMin(), xAxisMax()};
    for (int axis = 0; axis < kYAxisCount; ++axis) {
        file.yAxes[axis] = PlotFile::Span{yAxisMin(axis), yAxisMax(axis)};
    }
    for (int c = 0; c < std::min(channelCount(), kChannelCount); ++c) {
        file.channels.append({c + 1, m_channels[c].name, channelColor(c), m_channels[c].yAxis,
                              m_channels[c].markerLabel, channelPoints(c)});
    }
    return file;
}

void CPlot::apply(const PlotFile& file) {
    if (file.xAxis) {
        setXAxisSpan(file.xAxis->minimum, file.xAxis->maximum);
    }
    for (int axis = 0; axis < kYAxisCount; ++axis) {
        if (file.yAxes[axis]) {
            setYAxisSpan(file.yAxes[axis]->minimum, file.yAxes[axis]->maximum, axis);
        }
    }
    clearAll();
    for (const PlotFile::Channel& stored : file.channels) {
        const int channel = stored.number - 1;
        if (!isChannel(channel)) {
            continue;
        }
        setChannelName(channel, stored.name);
        setChannelColor(channel, stored.color);
        setChannelYAxis(channel, stored.yAxis);
        m_channels[channel].points = stored.points;
        m_channels[channel].redrawAll = true;
        setMarkerLabel(channel, stored.markerLabel);
    }
    redraw();
}

CCsvTable CPlot::csv() const {
    std::vector<const Channel*> filled;
    for (const Channel& c : m_channels) {
        if (!c.points.isEmpty()) {
            filled.push_back(&c);
        }
    }
    const QString xTitle =
        m_xAxis->titleText().isEmpty() ? QStringLiteral("x") : m_xAxis->titleText();
    const auto sameX = [&filled](const Channel* c) {
        const QList<QPointF>& first = filled.front()->points;
        return std::equal(c->points.cbegin(), c->points.cend(), first.cbegin(), first.cend(),
                          [](const QPointF& a, const QPointF& b) { return a.x() == b.x(); });
    };
    const bool shared = filled.empty() || std::all_of(filled.cbegin(), filled.cend(), sameX);
    QStringList header;
    qsizetype length = 0;
    for (const Channel* c : filled) {
        const QString name = c->series->name();
        if (!shared) {
            header << QStringLiteral("%1 (%2)").arg(xTitle, name);
        }
        header << name;
        length = std::max(length, c->points.size());
    }
    if (shared) {
        header.prepend(xTitle);
    }
    CCsvTable table(header);
    for (qsizetype i = 0; i < length; ++i) {
        QStringList row;
        if (shared) {
            row << CCsvTable::number(filled.front()->points[i].x());
        }
        for (const Channel* c : filled) {
            const bool has = i < c->points.size();
            if (!shared) {
                row << (has ? CCsvTable::number(c->points[i].x()) : QString());
            }
            row << (has ? CCsvTable::number(c->points[i].y()) : QString());
        }
        table.addRow(row);
    }
    return table;
}

bool CPlot::saveData(const QString& path, QString* error) const {
    if (channelCount() > kChannelCount) {
        if (error) {
            *error = tr("Cannot write the plot data file %1: a plot data file holds %2 channels")
                         .arg(path)
                         .arg(kChannelCount);
        }
        return false;
    }
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(content().toText()) >= 0 && file.commit()) {
        return true;
    }
    if (error) {
        *error = tr("Cannot write the plot data file %1: %2").arg(path, file.errorString());
    }
    return false;
}

bool CPlot::loadData(const QString& path, QString* error, const ContentCheck& accept) {
    QFile file(path);
    QString problem;
    std::optional<PlotFile> content;
    if (!file.open(QIODevice::ReadOnly)) {
        problem = file.errorString();
    } else if (file.size() > kMaxFileSize) {
        problem = tr("the file is too large for plot data");
    } else {
        content = PlotFile::fromText(file.readAll(), problem);
        if (content && accept) {
            problem = accept(*content);
            if (!problem.isEmpty()) {
                content.reset();
            }
        }
    }
    if (!content) {
        if (error) {
            *error = tr("Cannot load the plot data file %1: %2").arg(path, problem);
        }
        return false;
    }
    apply(*content);
    return true;
}
