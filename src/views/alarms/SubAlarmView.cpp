#include "views/alarms/SubAlarmView.h"

#include "model/AlarmInformation.h"
#include "model/Conversions.h"
#include "model/DeviceState.h"
#include "model/NumericParameterDescriptor.h"
#include "ui/UIController.h"
#include "views/common/DeviceViewServices.h"
#include "views/components/Led.h"

#include <QDir>
#include <QFile>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>
#include <QUrlQuery>
#include <QVBoxLayout>

#include <stdexcept>

namespace {

// Top down as the view shows them; the device numbers them the other way round.
constexpr std::array<const char*, 4> kCategoryLabels{"Failure", "Check Function",
                                                     "Maintenance Required", "Out of range"};
constexpr std::array<const char*, 4> kPriorityLabels{"Very High", "High", "Medium", "Low"};
constexpr quint32 kLit = 0x0000C000;
constexpr int kAcknowledgedInactive = 2;
constexpr int kAcknowledgedActive = 3;

QLineEdit* ReadOnlyLine(QWidget* parent) {
    auto* line = new QLineEdit(parent);
    line->setReadOnly(true);
    line->setFocusPolicy(Qt::NoFocus);
    return line;
}

QPlainTextEdit* ReadOnlyText(QWidget* parent) {
    auto* text = new QPlainTextEdit(parent);
    text->setReadOnly(true);
    text->setMaximumHeight(46);
    return text;
}

} // namespace

CSubAlarmView::CSubAlarmView(const SViewContext& context)
    : CDeviceView(context, EHeader::WithNavigation), m_alarms(context.alarmInformation),
      m_diagnosticAlarms(context.diagnosticAlarmInformation) {}

QString CSubAlarmView::NotesPath() const {
    const QString folder = m_notesFolder.isEmpty()
                               ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                               : m_notesFolder;
    return QDir(folder).filePath(QStringLiteral("alarm-notes-%1.txt").arg(m_alarm));
}

QString CSubAlarmView::Field(const char* name) const {
    const QString wanted = QString::fromUtf8(name);
    if (wanted == QLatin1String("Name:")) {
        return m_name->text();
    }
    if (wanted == QLatin1String("Type:")) {
        return m_type->text();
    }
    if (wanted == QLatin1String("Alarm Description")) {
        return m_description->toPlainText();
    }
    if (wanted == QLatin1String("Recommendation")) {
        return m_recommendation->toPlainText();
    }
    if (wanted == QLatin1String("Tag:")) {
        return m_tag->text();
    }
    return m_status->text();
}

CRectLed* CSubAlarmView::CategoryLed(int category) const {
    return category >= 0 && category < 4 ? m_categories[static_cast<std::size_t>(3 - category)]
                                         : nullptr;
}

CRectLed* CSubAlarmView::PriorityLed(int priority) const {
    return priority >= 0 && priority < 4 ? m_priorities[static_cast<std::size_t>(3 - priority)]
                                         : nullptr;
}

std::unique_ptr<QWidget> CSubAlarmView::CreateDeviceContent() {
    auto content = std::make_unique<QWidget>();
    auto* layout = new QGridLayout(content.get());
    layout->setContentsMargins(0, 0, 0, 0);

    auto* alarm = new QGroupBox(QStringLiteral("ALARM INFORMATION"), content.get());
    auto* form = new QFormLayout(alarm);
    m_name = ReadOnlyLine(alarm);
    m_type = ReadOnlyLine(alarm);
    m_description = ReadOnlyText(alarm);
    m_recommendation = ReadOnlyText(alarm);
    form->addRow(QStringLiteral("Name:"), m_name);
    form->addRow(QStringLiteral("Type:"), m_type);
    form->addRow(QStringLiteral("Alarm Description"), m_description);
    form->addRow(QStringLiteral("Recommendation"), m_recommendation);
    layout->addWidget(alarm, 0, 0, 1, 2);

    const auto lamps = [&](const char* title, const std::array<const char*, 4>& labels,
                           std::array<CRectLed*, 4>& leds) {
        auto* group = new QGroupBox(QString::fromUtf8(title), content.get());
        auto* grid = new QGridLayout(group);
        grid->setVerticalSpacing(1);
        for (std::size_t i = 0; i < labels.size(); ++i) {
            leds[i] = new CRectLed(group);
            leds[i]->setActiveColor(kLit);
            grid->addWidget(leds[i], static_cast<int>(i), 0);
            grid->addWidget(new QLabel(QString::fromUtf8(labels[i]), group), static_cast<int>(i),
                            1);
        }
        return group;
    };
    layout->addWidget(lamps("Category", kCategoryLabels, m_categories), 1, 0);
    layout->addWidget(lamps("Priority", kPriorityLabels, m_priorities), 1, 1);

    auto* device = new QGroupBox(QStringLiteral("Device"), content.get());
    auto* deviceForm = new QFormLayout(device);
    m_tag = ReadOnlyLine(device);
    m_deviceDescription = ReadOnlyLine(device);
    deviceForm->addRow(QStringLiteral("Tag:"), m_tag);
    deviceForm->addRow(QStringLiteral("Description:"), m_deviceDescription);
    auto* ack = new QHBoxLayout;
    auto* acknowledge = new QPushButton(QStringLiteral("Acknowledge"), device);
    m_ackLed = new CRoundLed(device);
    ack->addWidget(acknowledge);
    ack->addWidget(m_ackLed);
    ack->addStretch(1);
    deviceForm->addRow(ack);
    layout->addWidget(device, 0, 2);

    auto* notes = new QGroupBox(QStringLiteral("Notes"), content.get());
    auto* notesLayout = new QGridLayout(notes);
    m_noteName = new QLineEdit(notes);
    m_noteDate = new QLineEdit(notes);
    m_notes = new QPlainTextEdit(notes);
    m_notes->setAccessibleName(QStringLiteral("Notes"));
    m_notes->setMaximumHeight(50);
    notesLayout->addWidget(new QLabel(QStringLiteral("Name:"), notes), 0, 0);
    notesLayout->addWidget(m_noteName, 0, 1);
    notesLayout->addWidget(new QLabel(QStringLiteral("Date :"), notes), 1, 0);
    notesLayout->addWidget(m_noteDate, 1, 1);
    notesLayout->addWidget(m_notes, 2, 0, 1, 2);
    auto* save = new QPushButton(QStringLiteral("Save"), notes);
    auto* open = new QPushButton(QStringLiteral("Open"), notes);
    notesLayout->addWidget(save, 3, 0);
    notesLayout->addWidget(open, 3, 1, Qt::AlignLeft);
    layout->addWidget(notes, 1, 2);
    auto* actions = new QHBoxLayout;
    const auto action = [&](const char* label, void (CSubAlarmView::*act)()) {
        auto* button = new QPushButton(QString::fromUtf8(label), content.get());
        actions->addWidget(button);
        QObject::connect(button, &QPushButton::clicked, button, [this, label, act] {
            RunGuarded(label, [this, act] { (this->*act)(); });
        });
        return button;
    };
    auto* schedule = action("Schedule Repair", &CSubAlarmView::OpenMakerPage);
    action("Send e-mail", &CSubAlarmView::SendMail);
    action("Print", &CSubAlarmView::PrintPage);
    auto* repair = action("Repair", &CSubAlarmView::OpenMakerPage);
    auto* help = action("Help", &CSubAlarmView::OpenMakerPage);
    m_makerButtons = {schedule, repair, help};
    actions->addStretch(1);
    layout->addLayout(actions, 2, 0, 1, 3);
    m_status = new QLabel(content.get());
    m_status->setObjectName(QStringLiteral("alarmStatus"));
    layout->addWidget(m_status, 3, 0, 1, 3);
    layout->setColumnStretch(2, 1);

    QObject::connect(acknowledge, &QPushButton::clicked, acknowledge,
                     [this] { RunGuarded("Acknowledge", [this] { Acknowledge(); }); });
    QObject::connect(save, &QPushButton::clicked, save,
                     [this] { RunGuarded("Save", [this] { SaveNotes(); }); });
    QObject::connect(open, &QPushButton::clicked, open,
                     [this] { RunGuarded("Open", [this] { OpenNotes(); }); });
    return content;
}

void CSubAlarmView::OnDeviceActivated() {
    ShowAlarm();
}

void CSubAlarmView::ShowAlarm() {
    // The alarm chosen in the alarm list; without one, the device's current alarm.
    m_alarm = State().selectedAlarm;
    if (m_alarm == 0) {
        if (const auto current = Device().Fetch<CNumericParameterDescriptor>(kCurrentAlarm)) {
            m_alarm = CConversions::to_uint32(*current);
        }
    }
    const bool digital = IsDigitalOutputAlarm(m_alarm);
    const SAlarmText* text = nullptr;
    if (digital && m_alarms) {
        text = m_alarms->Find(m_alarm);
    } else if (m_diagnosticAlarms) {
        text = m_diagnosticAlarms->Find(m_alarm);
        if (!text && m_alarms) {
            text = m_alarms->Find(m_alarm);
        }
    }
    m_name->setText(text ? QString::fromStdString(text->shortDescription) : QString());
    m_type->setText(m_alarm == 0 ? QString()
                    : digital    ? QStringLiteral("Digital output alarm")
                                 : QStringLiteral("Diagnostic alarm"));
    m_description->setPlainText(text ? QString::fromStdString(text->faultDescription) : QString());
    m_recommendation->setPlainText(text ? QString::fromStdString(text->consequences) : QString());
    for (int i = 0; i < 4; ++i) {
        CategoryLed(i)->setActive(i == State().selectedAlarmCategory);
        PriorityLed(i)->setActive(i == State().selectedAlarmPriority);
    }
    m_ackLed->setActive(false);
    // Without a web address of the maker there is nothing to open.
    for (QPushButton* button : m_makerButtons) {
        button->setEnabled(!MakerWebAddress().empty());
    }
    m_tag->setText(QString::fromStdString(Device().GetProperty("VFDTag")));
    m_deviceDescription->setText(QString::fromStdString(Device().GetProperty("DeviceCategory")));
    m_noteDate->setText(QDate::currentDate().toString(Qt::ISODate));
    m_notes->clear();
}

void CSubAlarmView::Acknowledge() {
    if (m_alarm == 0) {
        return;
    }
    Device().Write(kAcknowledge, std::to_string(m_alarm));
    Device().RequestRead(kSummary);
    m_status->setText(QStringLiteral("Acknowledgement sent"));
}

void CSubAlarmView::OnParameter(std::uint32_t key) {
    if (key != kLastAcknowledgedState) {
        return;
    }
    // The device's answer: the alarm last acknowledged and its state now.
    const auto id = Device().Fetch<CNumericParameterDescriptor>(kLastAcknowledged);
    const auto state = Device().Fetch<CNumericParameterDescriptor>(kLastAcknowledgedState);
    if (!id || !state || CConversions::to_uint32(*id) != m_alarm) {
        return;
    }
    const int value = CConversions::to_int32(*state);
    const bool acknowledged = value == kAcknowledgedInactive || value == kAcknowledgedActive;
    m_ackLed->setActive(acknowledged);
    m_status->setText(acknowledged ? QStringLiteral("Alarm acknowledged")
                                   : QStringLiteral("The device did not acknowledge the alarm"));
}

bool CSubAlarmView::MayUseFiles() {
    const IUIController* controller = GetController();
    return controller != nullptr &&
           PrivateDialogsPermitted(*controller, Device(), State().privateDialogsMessage);
}

void CSubAlarmView::SaveNotes() {
    if (m_alarm == 0 || !MayUseFiles()) {
        return;
    }
    const QString path = NotesPath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    const QString text = QStringLiteral("Name: ") + m_noteName->text() +
                         QStringLiteral("\nDate : ") + m_noteDate->text() + QStringLiteral("\n") +
                         m_notes->toPlainText();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text) || file.write(text.toUtf8()) < 0 ||
        !file.commit()) {
        throw std::runtime_error("Cannot write the notes " + path.toStdString() + ": " +
                                 file.errorString().toStdString());
    }
    m_status->setText(QStringLiteral("Notes saved"));
}

void CSubAlarmView::OpenNotes() {
    if (m_alarm == 0 || !MayUseFiles()) {
        return;
    }
    QFile file(NotesPath());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        m_status->setText(QStringLiteral("No notes for this alarm yet"));
        return;
    }
    // Name and date lines first, then the notes as written.
    QString text = QString::fromUtf8(file.read(1024 * 1024));
    const auto takeLine = [&text](const QString& prefix) {
        if (!text.startsWith(prefix)) {
            return QString();
        }
        const qsizetype end = text.indexOf(QLatin1Char('\n'));
        const QString value = text.mid(prefix.size(), end < 0 ? -1 : end - prefix.size());
        text = end < 0 ? QString() : text.mid(end + 1);
        return value;
    };
    m_noteName->setText(takeLine(QStringLiteral("Name: ")));
    m_noteDate->setText(takeLine(QStringLiteral("Date : ")));
    m_notes->setPlainText(text);
    m_status->setText(QStringLiteral("Notes opened"));
}

void CSubAlarmView::SendMail() {
    if (m_alarm == 0 || !MayUseFiles()) {
        return;
    }
    // A message about the alarm, addressed by the user in the mail program.
    const QString subject = QStringLiteral("Alarm %1: %2").arg(m_alarm).arg(m_name->text());
    const QString body =
        QStringLiteral("Device: %1\n\n%2\n\nRecommendation: %3")
            .arg(m_tag->text(), m_description->toPlainText(), m_recommendation->toPlainText());
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("subject"), subject);
    query.addQueryItem(QStringLiteral("body"), body);
    QUrl mail(QStringLiteral("mailto:"));
    mail.setQuery(query);
    if (!LinkOpener().Open(mail.toString(QUrl::FullyEncoded).toStdString())) {
        m_status->setText(QStringLiteral("No mail program opened the message"));
    }
}

void CSubAlarmView::OpenMakerPage() {
    if (MakerWebAddress().empty() || !MayUseFiles()) {
        return;
    }
    if (!LinkOpener().Open(MakerWebAddress())) {
        m_status->setText(QStringLiteral("The maker's web page did not open"));
    }
}

void CSubAlarmView::PrintPage() {
    if (!MayUseFiles()) {
        return;
    }
    const std::string title =
        "Alarm " + std::to_string(m_alarm) + " " + m_name->text().toStdString();
    if (PrintService().Print(*GetWindow(), title)) {
        m_status->setText(QStringLiteral("Alarm page printed"));
    }
}
