#include "views/diagnostics/EventLogView.h"

#include "model/AlarmInformation.h"
#include "ui/UIController.h"
#include "views/common/DeviceViewServices.h"
#include "views/components/Grid.h"

#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <array>
#include <cstdio>

namespace {

constexpr std::array<const char*, 15> kEventNames{
    "Reset",
    "Calibration started",
    "Calibration finished",
    "Calibration aborted",
    "Signature started",
    "Signature finished",
    "Signature aborted",
    "Mode changed",
    "Alarm ON",
    "Alarm OFF",
    "Temperature event",
    "Time synchronisation",
    "Self-test started",
    "Self-test ended",
    "Self-test aborted",
};
constexpr std::array<const char*, 3> kModeTexts{"To automatic setpoint mode",
                                                "To manual setpoint mode", "To DTM setpoint mode"};
constexpr std::uint8_t kModeChanged = 7;
constexpr std::uint8_t kAlarmOn = 8;
constexpr std::uint8_t kAlarmOff = 9;

} // namespace

CEventLogView::CEventLogView(const SViewContext& context)
    : CDeviceView(context, EHeader::WithNavigation), m_alarms(context.alarmInformation) {}

CEventLogView::~CEventLogView() = default;

std::unique_ptr<QWidget> CEventLogView::CreateDeviceContent() {
    auto content = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(content.get());
    auto* buttons = new QHBoxLayout;
    m_refresh = new QPushButton(QStringLiteral("Refresh Log"), content.get());
    m_abort = new QPushButton(QStringLiteral("Abort"), content.get());
    m_abort->setEnabled(false);
    m_progress = new QProgressBar(content.get());
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    buttons->addWidget(m_refresh);
    buttons->addWidget(m_abort);
    buttons->addWidget(m_progress, 1);
    layout->addLayout(buttons);
    m_grid = new CGrid(content.get());
    m_grid->setColumnFormat(QStringLiteral("Sr.No.|Date & Time|Event Name|Information"));
    m_grid->setRows(1);
    layout->addWidget(m_grid, 1);

    m_upload = std::make_unique<CSegmentUpload>(
        Device(), State(), m_progress,
        SSegmentUploadSettings{kFrameType, kReadDelayMs, 0, "Event log upload in progress",
                               "Event log upload is completed"},
        CSegmentUpload::SHooks{[this](const SSegmentFrame& frame) { AppendRecords(frame); },
                               [this](const std::string& text) { ShowStatus(text); },
                               [this](CSegmentUpload::EState state) { OnUploadState(state); }});
    QObject::connect(m_refresh, &QPushButton::clicked, m_refresh,
                     [this] { RunGuarded("Refresh Log", [this] { StartUpload(); }); });
    QObject::connect(m_abort, &QPushButton::clicked, m_abort,
                     [this] { RunGuarded("Abort", [this] { m_upload->Abort(); }); });
    return content;
}

void CEventLogView::OnDeviceActivated() {
    OnUploadState(m_upload->GetState());
}

void CEventLogView::OnFirstActivation() {
    // The device clock from the host clock.
    const QDateTime now = m_clock();
    const QDate date = now.date();
    const QTime time = now.time();
    m_baseYear = WriteDeviceClock(Device(), date.year(), date.month(), date.day(), time.hour(),
                                  time.minute(), time.second());
}

void CEventLogView::OnDeviceDeactivated() {
    // An upload cannot go on without the view: it stops, and the request record is reset in
    // the DTM's copy.
    m_upload->Leave();
}

void CEventLogView::OnParameter(std::uint32_t key) {
    m_upload->OnParameter(key);
}

void CEventLogView::StartUpload() {
    m_serial = 0;
    m_grid->setRows(1);
    m_upload->Start();
}

void CEventLogView::OnUploadState(CSegmentUpload::EState state) {
    // The upload writes the device's request record: only a user who may edit starts one.
    const bool running = state == CSegmentUpload::EState::Waiting;
    IUIController* controller = GetController();
    m_refresh->setEnabled(!running && (controller == nullptr || controller->IsEditingAllowed()));
    m_abort->setEnabled(running);
}

void CEventLogView::AppendRecords(const SSegmentFrame& frame) {
    const std::size_t records = frame.payload.size() / kRecordBytes;
    // The table grows once per frame, by a row per record.
    int row = m_grid->rows();
    m_grid->setRows(row + static_cast<int>(records));
    for (std::size_t r = 0; r < records; ++r, ++row) {
        const std::uint8_t* record = frame.payload.data() + r * kRecordBytes;
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d", m_baseYear + record[2],
                      record[3], record[4], record[5], record[6], record[7]);
        const auto [name, information] = EventTexts(record[0], record[1]);
        ++m_serial;
        m_grid->setCellText(row, 0, QString::number(m_serial));
        m_grid->setCellText(row, 1, QString::fromUtf8(stamp));
        m_grid->setCellText(row, 2, QString::fromStdString(name));
        m_grid->setCellText(row, 3, QString::fromStdString(information));
    }
}

std::pair<std::string, std::string> CEventLogView::EventTexts(std::uint8_t code,
                                                              std::uint8_t information) const {
    if (code >= kEventNames.size()) {
        return {"unknown event", {}};
    }
    std::string text;
    if (code == kModeChanged) {
        text = information < kModeTexts.size() ? kModeTexts[information] : "To undefined mode";
    } else if (code == kAlarmOn || code == kAlarmOff) {
        const SAlarmText* alarm = m_alarms ? m_alarms->Find(information) : nullptr;
        text = alarm ? alarm->shortDescription : std::string();
    }
    return {kEventNames[code], text};
}
