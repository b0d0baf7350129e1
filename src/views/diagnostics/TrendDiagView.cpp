#include "views/diagnostics/TrendDiagView.h"

#include "model/DeviceState.h"
#include "views/common/BusyIndicator.h"
#include "views/common/DeviceViewServices.h"
#include "views/components/Plot.h"

#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

#include <algorithm>
#include <stdexcept>

namespace {

struct SSpan {
    const char* plotTitle;
    const char* channel;
    const char* xAxis;
    const char* name; // in the status texts
};
constexpr std::array<SSpan, 4> kSpans{{
    {"24 Hours", "Day Trend", "Time [hours]", "Day"},
    {"31 Days", "Month Trend", "Time [days]", "Month"},
    {"12 Months", "Year Trend", "Time [months]", "Year"},
    {"25 Years", "25Years Trend", "Time [years]", "25 years"},
}};
constexpr std::array<const char*, 3> kYAxes{"POSITION TREND [%]", "DEVIATION TREND [%]",
                                            "FRICTION TREND [kPa]"};

const SFileQuestion kSaveQuestion{"Save trend as", "Trend", "tnd",
                                  private_dialogs::kSettingRefusal};
const SFileQuestion kOpenQuestion{"Open trend", "Trend", "tnd", private_dialogs::kSettingRefusal};

std::string SpanText(int span, const char* what) {
    return std::string(kSpans[static_cast<std::size_t>(span)].name) + " trend " + what;
}

} // namespace

CTrendDiagView::CTrendDiagView(const SViewContext& context)
    : CDeviceView(context, EHeader::WithNavigation) {
    for (std::size_t span = 0; span < m_trends.y.size(); ++span) {
        m_trends.y[span].assign(static_cast<std::size_t>(STrendFile::kPoints[span]), 0.0);
    }
}

CTrendDiagView::~CTrendDiagView() = default;

QString CTrendDiagView::Status() const {
    return m_status->text();
}

bool CTrendDiagView::IsUploading() const {
    return m_upload && m_upload->GetState() == CSegmentUpload::EState::Waiting;
}

std::unique_ptr<QWidget> CTrendDiagView::CreateDeviceContent() {
    auto content = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(content.get());
    layout->setContentsMargins(0, 0, 0, 0);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Trend:"), content.get()));
    m_kindChoice = new QComboBox(content.get());
    m_kindChoice->setAccessibleName(QStringLiteral("Trend"));
    m_kindChoice->addItems({QStringLiteral("Select"), QStringLiteral("Position"),
                            QStringLiteral("Deviation"), QStringLiteral("Friction")});
    top->addWidget(m_kindChoice);
    m_title = new QLabel(content.get());
    m_title->setObjectName(QStringLiteral("trendTitle"));
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    top->addWidget(m_title, 1);
    m_abort = new QPushButton(QStringLiteral("Abort"), content.get());
    m_save = new QPushButton(QStringLiteral("Save"), content.get());
    m_open = new QPushButton(QStringLiteral("Open"), content.get());
    top->addWidget(m_abort);
    top->addWidget(m_save);
    top->addWidget(m_open);
    layout->addLayout(top);

    auto* grid = new QGridLayout;
    for (std::size_t span = 0; span < m_plots.size(); ++span) {
        auto* plot = new CPlot(content.get());
        plot->setCompact(true);
        plot->setTitle(QString::fromUtf8(kSpans[span].plotTitle));
        plot->setChannelName(0, QString::fromUtf8(kSpans[span].channel));
        plot->setXAxisTitle(QString::fromUtf8(kSpans[span].xAxis));
        plot->setXAxisSpan(0.0, STrendFile::kPoints[span] - 1);
        m_plots[span] = plot;
        grid->addWidget(plot, static_cast<int>(span / 2), static_cast<int>(span % 2));
    }
    layout->addLayout(grid, 1);
    auto* bottom = new QHBoxLayout;
    m_progress = new QProgressBar(content.get());
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setFixedWidth(160);
    m_progress->setProperty(CBusyIndicator::kBusyProperty, false); // until an upload runs
    m_status = new QLabel(content.get());
    m_status->setObjectName(QStringLiteral("trendStatus"));
    bottom->addWidget(m_progress);
    bottom->addWidget(m_status, 1);
    layout->addLayout(bottom);

    QObject::connect(m_kindChoice, &QComboBox::activated, m_kindChoice, [this](int index) {
        RunGuarded("Trend", [this, index] {
            if (index > 0) {
                StartUpload(index - 1);
            }
        });
    });
    QObject::connect(m_abort, &QPushButton::clicked, m_abort,
                     [this] { RunGuarded("Abort", [this] { Abort(); }); });
    QObject::connect(m_save, &QPushButton::clicked, m_save,
                     [this] { RunGuarded("Save", [this] { Save(); }); });
    QObject::connect(m_open, &QPushButton::clicked, m_open,
                     [this] { RunGuarded("Open", [this] { Open(); }); });
    RefreshButtons();
    return content;
}

// --- upload ---

void CTrendDiagView::StartUpload(int kind) {
    m_kind = kind;
    for (std::size_t span = 0; span < m_trends.y.size(); ++span) {
        std::fill(m_trends.y[span].begin(), m_trends.y[span].end(), 0.0);
        m_plots[span]->clearAll();
        m_plots[span]->redraw();
    }
    m_trends.title = STrendFile::TitleOf(kind);
    m_title->setText(m_trends.title);
    State().frameNumber = 0.0f;
    ShowTrendStatus("Uploading day trend");
    m_span = 0;
    // The day buffer after 100 ms; all four within the guard time.
    StartViewOneShot(kRequestTimer, kRequestDelayMs, [this] { UploadSpan(0); });
    StartViewOneShot(kGuardTimer, kGuardMs, [this] {
        if (m_upload) {
            m_upload->Abort();
        }
        ShowTrendStatus("Trend upload failed");
        RefreshButtons();
    });
    RefreshButtons();
}

void CTrendDiagView::UploadSpan(int span) {
    m_span = span;
    SSegmentUploadSettings settings;
    settings.frameType = Command(m_kind, span);
    settings.readDelayMs = kReadDelayMs;
    settings.frameText.clear();
    settings.completedText = SpanText(span, "uploaded");
    settings.lastFrameMissedText = SpanText(span, "upload failed");
    m_upload = std::make_unique<CSegmentUpload>(
        Device(), State(), m_progress, std::move(settings),
        CSegmentUpload::SHooks{[this](const SSegmentFrame& frame) {
                                   StoreValues(frame, m_trends.y[static_cast<std::size_t>(m_span)],
                                               100.0);
                               },
                               [this](const std::string& text) { ShowTrendStatus(text); },
                               [this](CSegmentUpload::EState state) { OnUploadState(state); }});
    m_upload->Start(1);
    RefreshButtons();
}

void CTrendDiagView::OnUploadState(CSegmentUpload::EState state) {
    if (state != CSegmentUpload::EState::Completed &&
        state != CSegmentUpload::EState::LastFrameMissed) {
        return;
    }
    // A span that failed stays at 0; the next one follows, from the timer, since this upload
    // is still reporting.
    if (m_span + 1 < static_cast<int>(m_plots.size())) {
        StartViewOneShot(kRequestTimer, kRequestDelayMs, [this] { UploadSpan(m_span + 1); });
        return;
    }
    StopViewTimer(kGuardTimer);
    ShowTrendStatus("Trend upload completed.");
    DrawTrends();
    ShowTrendStatus("Trends plotting completed");
    RefreshButtons();
}

void CTrendDiagView::Abort() {
    StopViewTimer(kRequestTimer);
    StopViewTimer(kGuardTimer);
    if (m_upload) {
        m_upload->Abort();
    }
    ShowTrendStatus("Aborted by the user");
    RefreshButtons();
}

void CTrendDiagView::OnDeviceDeactivated() {
    if (m_upload) {
        m_upload->Leave();
    }
    RefreshButtons();
}

void CTrendDiagView::OnParameter(std::uint32_t key) {
    if (m_upload) {
        m_upload->OnParameter(key);
    }
}

// --- plots and files ---

void CTrendDiagView::DrawTrends() {
    // One y range for the four plots, from the values; equal values get one unit each side.
    double low = 0.0;
    double high = 0.0;
    bool first = true;
    for (const std::vector<double>& values : m_trends.y) {
        for (const double value : values) {
            low = first ? value : std::min(low, value);
            high = first ? value : std::max(high, value);
            first = false;
        }
    }
    if (!(low < high)) {
        low -= 1.0;
        high += 1.0;
    }
    const int kind = std::max(STrendFile::KindOf(m_trends.title), 0);
    for (std::size_t span = 0; span < m_plots.size(); ++span) {
        CPlot& plot = *m_plots[span];
        plot.clearChannel(0);
        plot.setYAxisTitle(QString::fromUtf8(kYAxes[static_cast<std::size_t>(kind)]));
        plot.setYAxisSpan(low, high);
        const std::vector<double>& values = m_trends.y[span];
        for (std::size_t i = 0; i < values.size(); ++i) {
            plot.addPoint(0, static_cast<double>(i), values[i]);
        }
        plot.redraw();
    }
}

void CTrendDiagView::Save() {
    const std::optional<std::string> path =
        AskFile(GetController(), Device(), GetWindow(), kSaveQuestion, true);
    if (!path) {
        return;
    }
    QSaveFile file(QString::fromStdString(*path));
    if (!file.open(QIODevice::WriteOnly) || file.write(m_trends.ToText()) < 0 || !file.commit()) {
        throw std::runtime_error("Cannot write the trend file " + *path + ": " +
                                 file.errorString().toStdString());
    }
}

void CTrendDiagView::Open() {
    const std::optional<std::string> path =
        AskFile(GetController(), Device(), GetWindow(), kOpenQuestion, false);
    if (!path) {
        return;
    }
    QFile file(QString::fromStdString(*path));
    if (!file.open(QIODevice::ReadOnly)) {
        throw std::runtime_error("Cannot open the trend file " + *path + ": " +
                                 file.errorString().toStdString());
    }
    // A malformed file leaves the trends as they were.
    QString error;
    std::optional<STrendFile> trends = STrendFile::FromText(file.read(64 * 1024), error);
    if (!trends) {
        throw std::runtime_error("Cannot read the trend file " + *path + ": " +
                                 error.toStdString());
    }
    m_trends = std::move(*trends);
    m_kind = STrendFile::KindOf(m_trends.title);
    m_title->setText(m_trends.title);
    DrawTrends();
    RefreshButtons();
}

void CTrendDiagView::ShowTrendStatus(const std::string& text) {
    if (!text.empty()) {
        m_status->setText(QString::fromStdString(text));
    }
}

void CTrendDiagView::RefreshButtons() {
    const bool uploading = IsUploading() || IsViewTimerRunning(kRequestTimer);
    m_kindChoice->setEnabled(!uploading);
    m_abort->setEnabled(uploading);
    m_save->setEnabled(!uploading && m_kind >= 0);
    m_open->setEnabled(!uploading);
}
