#include "views/diagnostics/TravelHistogramView.h"

#include "model/DeviceState.h"
#include "views/common/DeviceViewServices.h"
#include "views/components/BarDisplay.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>
#include <stdexcept>

CTravelHistogramView::CTravelHistogramView(const SViewContext& context)
    : CDeviceView(context, EHeader::WithNavigation), m_bins(kBins, 0.0) {}

CTravelHistogramView::~CTravelHistogramView() = default;

QStringList CTravelHistogramView::BandLabels() {
    QStringList labels;
    const double band = 100.0 / kBins;
    for (int i = 0; i < kBins; ++i) {
        // Band edges rounded to whole percent (half to even: 12.5 is 12, 93.75 is 94).
        labels << QStringLiteral("%1-%2")
                      .arg(std::nearbyint(i * band))
                      .arg(std::nearbyint((i + 1) * band));
    }
    return labels;
}

QString CTravelHistogramView::Status() const {
    return m_status->text();
}

std::unique_ptr<QWidget> CTravelHistogramView::CreateDeviceContent() {
    auto content = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(content.get());
    layout->setContentsMargins(0, 0, 0, 0);
    auto* top = new QHBoxLayout;
    m_uploadButton = new QPushButton(QStringLiteral("Upload"), content.get());
    m_save = new QPushButton(QStringLiteral("Save"), content.get());
    m_progress = new QProgressBar(content.get());
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_status = new QLabel(content.get());
    m_status->setObjectName(QStringLiteral("histogramStatus"));
    top->addWidget(m_uploadButton);
    top->addWidget(m_save);
    top->addWidget(m_progress);
    top->addWidget(m_status, 1);
    layout->addLayout(top);
    m_display = new CBarDisplay(content.get());
    m_display->setBarCount(kBins);
    m_display->setBarLabels(BandLabels());
    m_display->setAxisTitle(QStringLiteral("Travel time [%]"));
    layout->addWidget(m_display, 1);
    layout->addWidget(new QLabel(QStringLiteral("Valve position [%]"), content.get()), 0,
                      Qt::AlignHCenter);

    SSegmentUploadSettings settings;
    settings.frameType = kFrameType;
    settings.readDelayMs = kReadDelayMs;
    settings.progressText = "Histogram upload in progress";
    settings.completedText = "Histogram upload completed";
    settings.frameText.clear();
    m_upload = std::make_unique<CSegmentUpload>(
        Device(), State(), m_progress, std::move(settings),
        CSegmentUpload::SHooks{
            [this](const SSegmentFrame& frame) { StoreValues(frame, m_bins, 10.0); },
            [this](const std::string& text) {
                if (!text.empty()) {
                    m_status->setText(QString::fromStdString(text));
                }
            },
            [this](CSegmentUpload::EState state) { OnUploadState(state); }});
    QObject::connect(m_uploadButton, &QPushButton::clicked, m_uploadButton,
                     [this] { RunGuarded("Upload", [this] { m_upload->Start(1); }); });
    QObject::connect(m_save, &QPushButton::clicked, m_save,
                     [this] { RunGuarded("Save", [this] { Save(); }); });
    return content;
}

void CTravelHistogramView::OnUploadState(CSegmentUpload::EState state) {
    const bool running = state == CSegmentUpload::EState::Waiting;
    m_uploadButton->setEnabled(!running);
    m_save->setEnabled(!running);
    if (state == CSegmentUpload::EState::Completed) {
        for (int bin = 0; bin < kBins; ++bin) {
            m_display->setBarValue(bin, m_bins[static_cast<std::size_t>(bin)]);
        }
        m_display->redraw();
    }
}

void CTravelHistogramView::OnDeviceDeactivated() {
    m_upload->Leave();
}

void CTravelHistogramView::OnParameter(std::uint32_t key) {
    m_upload->OnParameter(key);
}

void CTravelHistogramView::Save() {
    const SFileQuestion question{"Save Histogram As", "Bitmap", "bmp",
                                 State().privateDialogsMessage};
    const std::optional<std::string> path =
        AskFile(GetController(), Device(), GetWindow(), question, true);
    if (!path) {
        return;
    }
    QString error;
    if (!m_display->saveBitmap(QString::fromStdString(*path), &error)) {
        throw std::runtime_error(error.toStdString());
    }
}
