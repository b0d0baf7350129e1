#include "views/alarms/DiagnosticsAlarmConfigurationView.h"

#include "fdt/DtmFunctions.h"
#include "model/AlarmInformation.h"
#include "model/Conversions.h"
#include "views/alarms/AlarmVocabulary.h"
#include "views/alarms/SymptomGroups.h"
#include "views/common/WriteSingleArrayElement.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdio>

namespace {

// The configuration views offer the three upper priorities only.
constexpr int kFirstOfferedPriority = 1;

std::string TwoDecimals(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

} // namespace

CDiagnosticsAlarmConfgurationView::CDiagnosticsAlarmConfgurationView(const SViewContext& context)
    : CDeviceView(context, EHeader::WithNavigation), m_alarms(context.diagnosticAlarmInformation) {}

QString CDiagnosticsAlarmConfgurationView::Message() const {
    return m_message->text();
}

std::unique_ptr<QWidget> CDiagnosticsAlarmConfgurationView::CreateDeviceContent() {
    auto content = std::make_unique<QWidget>();
    auto* layout = new QGridLayout(content.get());
    layout->setContentsMargins(0, 0, 0, 0);
    auto* alarm = new QGroupBox(QStringLiteral("DIAGNOSTIC ALARM CONFIGURATION"), content.get());
    auto* form = new QFormLayout(alarm);
    m_alarm = new QComboBox(alarm);
    m_alarm->setMaximumWidth(260);
    m_alarm->addItem(QStringLiteral("Select an alarm"));
    if (m_alarms) {
        for (const auto& [id, text] : m_alarms->GetTexts()) {
            m_alarmIds.push_back(id);
            m_alarm->addItem(QString::fromStdString(text.shortDescription));
        }
    }
    m_category = new QComboBox(alarm);
    for (const char* name : alarm_vocabulary::kCategories) {
        m_category->addItem(QString::fromUtf8(name));
    }
    m_priority = new QComboBox(alarm);
    for (std::size_t i = kFirstOfferedPriority; i < alarm_vocabulary::kPriorities.size(); ++i) {
        m_priority->addItem(QString::fromUtf8(alarm_vocabulary::kPriorities[i]));
    }
    m_enabled = new QCheckBox(QStringLiteral("Enabled"), alarm);
    form->addRow(QStringLiteral("Alarm"), m_alarm);
    form->addRow(QStringLiteral("Category"), m_category);
    form->addRow(QStringLiteral("Priority"), m_priority);
    form->addRow(m_enabled);
    auto* help = new QLabel(QString::fromUtf8(kHelp), alarm);
    help->setWordWrap(true);
    form->addRow(help);
    layout->addWidget(alarm, 0, 0);

    auto* limits = new QGroupBox(QStringLiteral("Symptoms Limits"), content.get());
    auto* grid = new QGridLayout(limits);
    grid->setVerticalSpacing(2);
    for (int row = 0; row < kRows; ++row) {
        auto* value = new QLineEdit(limits);
        value->setMaximumWidth(110);
        auto* label = new QLineEdit(limits);
        label->setReadOnly(true);
        label->setFocusPolicy(Qt::NoFocus);
        label->setMinimumWidth(280);
        grid->addWidget(value, row, 0);
        grid->addWidget(label, row, 1);
        m_values[static_cast<std::size_t>(row)] = value;
        m_labels[static_cast<std::size_t>(row)] = label;
    }
    layout->addWidget(limits, 0, 1);
    auto* buttons = new QHBoxLayout;
    const auto add = [&](const char* label, void (CDiagnosticsAlarmConfgurationView::*act)()) {
        auto* button = new QPushButton(QString::fromUtf8(label), content.get());
        buttons->addWidget(button);
        QObject::connect(button, &QPushButton::clicked, button, [this, label, act] {
            RunGuarded(label, [this, act] { (this->*act)(); });
        });
    };
    add("Read", &CDiagnosticsAlarmConfgurationView::Read);
    add("Default ", &CDiagnosticsAlarmConfgurationView::Defaults);
    add("Apply", &CDiagnosticsAlarmConfgurationView::Apply);
    buttons->addStretch(1);
    layout->addLayout(buttons, 1, 0, 1, 2);
    m_message = new QLabel(content.get());
    m_message->setObjectName(QStringLiteral("alarmMessage"));
    layout->addWidget(m_message, 2, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(3, 1);
    alarm->setMaximumWidth(340);
    QObject::connect(m_alarm, &QComboBox::currentIndexChanged, m_alarm,
                     [this] { RunGuarded("Alarm", [this] { ShowLabels(); }); });
    return content;
}

void CDiagnosticsAlarmConfgurationView::ChooseAlarm(const QString& name) {
    m_alarm->setCurrentIndex(std::max(m_alarm->findText(name), 0));
}

std::uint32_t CDiagnosticsAlarmConfgurationView::SelectedAlarm() const {
    // The name compared with the list's alarms; no match is no alarm.
    return m_alarms ? m_alarms->FindId(m_alarm->currentText().toStdString()) : 0;
}

int CDiagnosticsAlarmConfgurationView::AlarmIndex() const {
    const std::uint32_t id = SelectedAlarm();
    const auto it = std::find(m_alarmIds.begin(), m_alarmIds.end(), id);
    return id != 0 && it != m_alarmIds.end() ? static_cast<int>(it - m_alarmIds.begin()) : -1;
}

void CDiagnosticsAlarmConfgurationView::ShowLabels() {
    const std::optional<int> group = symptom_groups::GroupOf(SelectedAlarm());
    if (!group) {
        return; // an alarm of no group leaves the rows as they are
    }
    const std::vector<symptom_groups::SLimit>& limits = symptom_groups::Limits(*group);
    for (int row = 0; row < kRows; ++row) {
        const bool used = static_cast<std::size_t>(row) < limits.size();
        Label(row)->setText(used ? QString::fromUtf8(limits[static_cast<std::size_t>(row)].label)
                                 : QString());
        Value(row)->clear();
    }
    if (*group == 0) {
        Label(0)->setText(QStringLiteral("No symptoms to set"));
    }
}

void CDiagnosticsAlarmConfgurationView::Read() {
    m_message->clear();
    Device().RequestRead(kConfigArray);
    Device().RequestRead(kLimitsArray);
    Device().RequestRead(kEnables);
}

void CDiagnosticsAlarmConfgurationView::OnParameter(std::uint32_t key) {
    const int index = AlarmIndex();
    if (index < 0 || (key != kConfigArray && key != kLimitsArray)) {
        return;
    }
    const std::optional<std::vector<std::string>> values = Device().FetchArray(key);
    if (!values) {
        return;
    }
    const auto element = [&values](std::size_t at) -> std::optional<double> {
        if (at == 0 || at > values->size()) {
            return std::nullopt;
        }
        return CConversions::to_double((*values)[at - 1]);
    };
    if (key == kConfigArray) {
        const std::size_t first = static_cast<std::size_t>(index) * kConfigValues + 1;
        if (const auto enabled = element(first)) {
            m_enabled->setChecked(*enabled != 0.0);
        }
        if (const auto category = element(first + 1)) {
            m_category->setCurrentIndex(static_cast<int>(*category));
        }
        if (const auto priority = element(first + 2)) {
            m_priority->setCurrentIndex(
                std::max(static_cast<int>(*priority) - kFirstOfferedPriority, 0));
        }
        return;
    }
    const std::optional<int> group = symptom_groups::GroupOf(SelectedAlarm());
    if (group && *group == 0) {
        m_message->setText(QStringLiteral("No symptoms to set"));
        return;
    }
    if (!group) {
        return;
    }
    const std::size_t used = symptom_groups::Limits(*group).size();
    for (std::size_t row = 0; row < used; ++row) {
        if (const auto value =
                element(symptom_groups::LimitElement(*group, static_cast<int>(row)))) {
            Value(static_cast<int>(row))->setText(QString::fromStdString(TwoDecimals(*value)));
        }
    }
    m_message->setText(QStringLiteral("Read request is successful"));
}

void CDiagnosticsAlarmConfgurationView::Defaults() {
    const std::optional<int> group = symptom_groups::GroupOf(SelectedAlarm());
    if (!group) {
        return;
    }
    const std::vector<symptom_groups::SLimit>& limits = symptom_groups::Limits(*group);
    for (std::size_t row = 0; row < limits.size(); ++row) {
        Value(static_cast<int>(row))->setText(QString::fromUtf8(limits[row].defaultValue));
    }
}

void CDiagnosticsAlarmConfgurationView::WriteElement(std::uint32_t key,
                                                     std::vector<std::string>& values,
                                                     std::uint32_t index,
                                                     const std::string& value) {
    if (index == 0 || index > values.size()) {
        return;
    }
    values[index - 1] = value;
    std::string joined;
    for (const std::string& element : values) {
        joined += (joined.empty() ? "" : " ") + element;
    }
    Device().SetDtmCopy(key, joined);
    Device().Execute(dtm_function::kWriteArrayElement,
                     CWriteSingleArrayElementUIHelper(key, index).GetRequest());
}

void CDiagnosticsAlarmConfgurationView::Apply() {
    const int index = AlarmIndex();
    if (index < 0) {
        m_message->setText(QStringLiteral("Select an alarm first"));
        return;
    }
    // Every limit must be a number before anything is written.
    const std::optional<int> group = symptom_groups::GroupOf(SelectedAlarm());
    const std::size_t used = group ? symptom_groups::Limits(*group).size() : 0;
    std::vector<std::string> limits;
    for (std::size_t row = 0; row < used; ++row) {
        const std::string text = Value(static_cast<int>(row))->text().trimmed().toStdString();
        CConversions::to_double(text);
        limits.push_back(text);
    }
    std::optional<std::vector<std::string>> config = Device().FetchArray(kConfigArray);
    if (config) {
        const auto first = static_cast<std::uint32_t>(index * kConfigValues + 1);
        WriteElement(kConfigArray, *config, first, m_enabled->isChecked() ? "1" : "0");
        WriteElement(kConfigArray, *config, first + 1, std::to_string(m_category->currentIndex()));
        WriteElement(kConfigArray, *config, first + 2,
                     std::to_string(m_priority->currentIndex() + kFirstOfferedPriority));
    }
    std::optional<std::vector<std::string>> values = Device().FetchArray(kLimitsArray);
    if (values && group) {
        for (std::size_t row = 0; row < limits.size(); ++row) {
            WriteElement(kLimitsArray, *values,
                         symptom_groups::LimitElement(*group, static_cast<int>(row)), limits[row]);
        }
    }
    m_message->setText(QStringLiteral("Write request is successful"));
}
