#include "views/alarms/AlarmStatusView.h"

#include "model/AlarmInformation.h"
#include "model/Conversions.h"
#include "model/DeviceState.h"
#include "ui/UIController.h"
#include "views/alarms/AlarmVocabulary.h"
#include "views/common/DeviceViewServices.h"
#include "views/components/Grid.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kAlarmIdColumn = 4;

} // namespace

CAlarmStatusView::CAlarmStatusView(const SViewContext& context,
                                   std::function<bool(int viewId)> viewExists)
    : CDeviceView(context, EHeader::WithNavigation), m_alarms(context.alarmInformation),
      m_diagnosticAlarms(context.diagnosticAlarmInformation), m_viewExists(std::move(viewExists)) {}

CAlarmStatusView::~CAlarmStatusView() = default;

QString CAlarmStatusView::Description() const {
    return m_description->toPlainText();
}

const SAlarmText* CAlarmStatusView::FindAlarm(std::uint32_t id) const {
    const SAlarmText* text = m_alarms ? m_alarms->Find(id) : nullptr;
    return text || !m_diagnosticAlarms ? text : m_diagnosticAlarms->Find(id);
}

std::unique_ptr<QWidget> CAlarmStatusView::CreateDeviceContent() {
    auto content = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(content.get());
    layout->setContentsMargins(0, 0, 0, 0);
    auto* top = new QHBoxLayout;
    m_poll = new QPushButton(QStringLiteral("Poll All"), content.get());
    m_progress = new QProgressBar(content.get());
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setFixedWidth(160);
    top->addWidget(m_poll);
    top->addWidget(m_progress);
    top->addStretch(1);
    layout->addLayout(top);
    m_grid = new CGrid(content.get());
    m_grid->setColumnFormat(
        QStringLiteral("Category|Alarm|Priority|Status|Alarm ID|Received Order"));
    m_grid->setRows(1);
    layout->addWidget(m_grid, 1);
    layout->addWidget(new QLabel(QStringLiteral("Description"), content.get()));
    m_description = new QPlainTextEdit(content.get());
    m_description->setReadOnly(true);
    m_description->setMaximumHeight(44);
    layout->addWidget(m_description);
    auto* help = new QLabel(QString::fromUtf8(kHelp), content.get());
    help->setWordWrap(true);
    layout->addWidget(help);
    auto* buttons = new QGridLayout;
    m_buttons = AddViewButtons(*buttons, content.get(),
                               {{1204, "Alarm Enabling Configuration"},
                                {1202, "Digital Output Alarm Configuration"},
                                {1203, "Diagnostic Alarm Configuration"}},
                               3, m_viewExists, [this](int viewId) { ShowOtherView(viewId); });
    layout->addLayout(buttons);

    SSegmentUploadSettings settings;
    settings.frameType = kFrameType;
    settings.progressText = "Log upload is in progress";
    settings.completedText = "Log upload is completed";
    m_upload = std::make_unique<CSegmentUpload>(
        Device(), State(), m_progress, std::move(settings),
        CSegmentUpload::SHooks{[this](const SSegmentFrame& frame) { AppendRecords(frame); },
                               [this](const std::string& text) { ShowStatus(text); },
                               [this](CSegmentUpload::EState state) {
                                   m_poll->setEnabled(state != CSegmentUpload::EState::Waiting);
                               }});
    QObject::connect(m_poll, &QPushButton::clicked, m_poll,
                     [this] { RunGuarded("Poll All", [this] { PollAll(); }); });
    QObject::connect(m_grid, &CGrid::rowSelected, m_grid,
                     [this](int row) { RunGuarded("Alarm", [this, row] { SelectRow(row); }); });
    QObject::connect(m_grid, &CGrid::rowDoubleClicked, m_grid,
                     [this](int row) { RunGuarded("Alarm", [this, row] { OpenRow(row); }); });
    return content;
}

void CAlarmStatusView::PollAll() {
    // The device stamps its log with its clock: set it first, as the event log view does.
    const QDateTime now = m_clock();
    WriteDeviceClock(Device(), now.date().year(), now.date().month(), now.date().day(),
                     now.time().hour(), now.time().minute(), now.time().second());
    Device().RequestRead(kSummary);
    m_grid->setRows(1);
    m_description->clear();
    m_upload->Start();
}

void CAlarmStatusView::AppendRecords(const SSegmentFrame& frame) {
    using namespace alarm_vocabulary;
    const std::size_t records = frame.payload.size() / kRecordBytes;
    int row = m_grid->rows();
    m_grid->setRows(row + static_cast<int>(records));
    for (std::size_t r = 0; r < records; ++r, ++row) {
        const std::uint8_t* record = frame.payload.data() + r * kRecordBytes;
        const SAlarmText* alarm = FindAlarm(record[0]);
        const int order = record[4] | (record[5] << 8);
        m_grid->setCellText(row, 0, QString::fromStdString(CategoryName(record[2])));
        m_grid->setCellText(row, 1,
                            alarm ? QString::fromStdString(alarm->shortDescription) : QString());
        m_grid->setCellText(row, 2, QString::fromStdString(PriorityName(record[3])));
        m_grid->setCellText(row, 3, QString::fromStdString(StateName(record[1])));
        m_grid->setCellText(row, kAlarmIdColumn, QString::number(record[0]));
        m_grid->setCellText(row, 5, QString::number(order));
        m_grid->setRowColor(row, StateColour(record[1]));
    }
}

std::optional<std::uint32_t> CAlarmStatusView::RowAlarm(int row) const {
    // A cell that holds no alarm number names no alarm.
    try {
        return CConversions::to_uint32(m_grid->cellText(row, kAlarmIdColumn).toStdString());
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

void CAlarmStatusView::SelectRow(int row) {
    const std::optional<std::uint32_t> id = RowAlarm(row);
    const SAlarmText* alarm = id ? FindAlarm(*id) : nullptr;
    m_description->setPlainText(alarm ? QString::fromStdString(alarm->faultDescription)
                                      : QString());
}

void CAlarmStatusView::OpenRow(int row) {
    const std::optional<std::uint32_t> id = RowAlarm(row);
    if (!id) {
        return;
    }
    const auto index = [this, row](int column, const std::array<const char*, 4>& names) {
        const QString text = m_grid->cellText(row, column);
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (text == QString::fromUtf8(names[i])) {
                return static_cast<std::int32_t>(i);
            }
        }
        return std::int32_t{-1};
    };
    State().selectedAlarm = *id;
    State().selectedAlarmCategory = index(0, alarm_vocabulary::kCategories);
    State().selectedAlarmPriority = index(2, alarm_vocabulary::kPriorities);
    if (GetController() && m_viewExists && m_viewExists(kInformationViewId)) {
        GetController()->ShowView(kInformationViewId);
    }
}

void CAlarmStatusView::OnDeviceDeactivated() {
    m_upload->Leave();
}

void CAlarmStatusView::OnParameter(std::uint32_t key) {
    m_upload->OnParameter(key);
}
