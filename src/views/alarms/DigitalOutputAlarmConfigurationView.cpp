#include "views/alarms/DigitalOutputAlarmConfigurationView.h"

#include "model/Conversions.h"
#include "model/NumericParameterDescriptor.h"
#include "views/alarms/AlarmVocabulary.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <cstdio>

namespace {

constexpr std::uint32_t kOnOffElement = 1;
constexpr std::uint32_t kCategoriesKey = 0x01590003;
constexpr std::uint32_t kPrioritiesKey = 0x01590004;
constexpr int kFirstOfferedPriority = 1; // "Medium", "High", "Very High"
// "Default": off, no output, no valve action, "Maintenance Required", "Medium".
constexpr int kDefaultCategory = 1;
constexpr int kDefaultPriority = 1;

QString TwoDecimals(double value) {
    return QString::asprintf("%.2f", value);
}

} // namespace

const std::vector<CDigitalOutPutAlarmConfigurationView::SGroup>&
CDigitalOutPutAlarmConfigurationView::Groups() {
    static const std::vector<SGroup> groups{
        {"Deviation Alarm",
         0x01350000,
         0,
         {{"Distance:", 2, "10.00"}, {"Time:", 3, "10.00"}},
         4,
         5},
        {"Limit Alarm",
         0x01360000,
         1,
         {{"Lo:", 2, "0.00"},
          {"LoLo:", 3, "0.00"},
          {"Hi:", 4, "100.00"},
          {"HiHi:", 5, "100.00"},
          {"Hysteresis:", 6, "2.00"}},
         7,
         8},
        {"Position vs Pressure Difference Alarm ",
         0x01390000,
         4,
         {{"Max Difference:", 2, "3.00"}},
         3,
         4},
        {"Temperature Alarm",
         0x01380000,
         3,
         {{"Lo:", 2, "-30.00"},
          {"LoLo:", 3, "-30.00"},
          {"Hi:", 4, "80.00"},
          {"HiHi:", 5, "80.00"},
          {"Hysteresis:", 6, "2.00"}},
         7,
         8},
        {"C+ Pressure Alarm",
         0x01370000,
         2,
         {{"Lo:", 2, "0.00"},
          {"LoLo:", 3, "0.00"},
          {"Hi:", 4, "9.00"},
          {"HiHi:", 5, "9.00"},
          {"Hysteresis:", 6, "0.20"}},
         7,
         8},
    };
    return groups;
}

CDigitalOutPutAlarmConfigurationView::CDigitalOutPutAlarmConfigurationView(
    const SViewContext& context)
    : CDeviceView(context, EHeader::WithNavigation) {}

QLineEdit* CDigitalOutPutAlarmConfigurationView::Value(std::size_t group, std::size_t value) const {
    return m_controls[group].values[value];
}

std::unique_ptr<QWidget> CDigitalOutPutAlarmConfigurationView::CreateDeviceContent() {
    auto content = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(content.get());
    layout->setContentsMargins(0, 0, 0, 0);
    // One page per alarm: five groups side by side do not fit the view.
    auto* groups = new QTabWidget(content.get());
    int index = 0;
    for (const SGroup& group : Groups()) {
        auto* box = new QGroupBox(QString::fromUtf8(group.title), groups);
        auto* form = new QFormLayout(box);
        form->setVerticalSpacing(2);
        SControls controls;
        controls.onOff = new QCheckBox(QStringLiteral("On/Off"), box);
        form->addRow(controls.onOff);
        for (const SValue& value : group.values) {
            auto* field = new QLineEdit(box);
            field->setMaximumWidth(80);
            form->addRow(QString::fromUtf8(value.label), field);
            controls.values.push_back(field);
        }
        controls.output = new QComboBox(box);
        controls.output->addItems(
            {QStringLiteral("None"), QStringLiteral("Output 1"), QStringLiteral("Output 2")});
        form->addRow(QStringLiteral("Alarm Output"), controls.output);
        controls.valveAction = new QComboBox(box);
        controls.valveAction->addItems({QStringLiteral("None"), QStringLiteral("Hold"),
                                        QStringLiteral("Close"), QStringLiteral("Open")});
        form->addRow(QStringLiteral("Valve Action:"), controls.valveAction);
        controls.category = new QComboBox(box);
        for (const char* name : alarm_vocabulary::kCategories) {
            controls.category->addItem(QString::fromUtf8(name));
        }
        form->addRow(QStringLiteral("Category"), controls.category);
        controls.priority = new QComboBox(box);
        for (std::size_t i = kFirstOfferedPriority; i < alarm_vocabulary::kPriorities.size(); ++i) {
            controls.priority->addItem(QString::fromUtf8(alarm_vocabulary::kPriorities[i]));
        }
        form->addRow(QStringLiteral("Priority"), controls.priority);
        auto* apply = new QPushButton(QStringLiteral("Apply"), box);
        form->addRow(apply);
        const auto at = static_cast<std::size_t>(index);
        QObject::connect(apply, &QPushButton::clicked, apply, [this, at] { ApplyGroup(at); });
        m_controls.push_back(controls);
        groups->addTab(box, QString::fromUtf8(group.title).trimmed());
        ++index;
    }
    layout->addWidget(groups);
    auto* buttons = new QHBoxLayout;
    auto* read = new QPushButton(QStringLiteral("Read"), content.get());
    auto* defaults = new QPushButton(QStringLiteral("Default"), content.get());
    buttons->addWidget(read);
    buttons->addWidget(defaults);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    QObject::connect(read, &QPushButton::clicked, read,
                     [this] { RunGuarded("Read", [this] { Read(); }); });
    QObject::connect(defaults, &QPushButton::clicked, defaults,
                     [this] { RunGuarded("Default", [this] { Defaults(); }); });
    Defaults();
    return content;
}

void CDigitalOutPutAlarmConfigurationView::OnDeviceActivated() {
    Read();
}

void CDigitalOutPutAlarmConfigurationView::Read() {
    for (const SGroup& group : Groups()) {
        Device().RequestRead(group.record);
    }
    Device().RequestRead(kEnables);
}

void CDigitalOutPutAlarmConfigurationView::OnParameter(std::uint32_t key) {
    const std::optional<std::string> text = Device().Fetch<CNumericParameterDescriptor>(key);
    if (!text) {
        return;
    }
    const double value = CConversions::to_double(*text);
    if (key == kCategoriesKey || key == kPrioritiesKey) {
        const auto bits = static_cast<std::uint32_t>(value);
        for (std::size_t g = 0; g < Groups().size(); ++g) {
            const int code = static_cast<int>((bits >> (2 * Groups()[g].field)) & 3u);
            if (key == kCategoriesKey) {
                m_controls[g].category->setCurrentIndex(code);
            } else {
                m_controls[g].priority->setCurrentIndex(std::max(code - kFirstOfferedPriority, 0));
            }
        }
        return;
    }
    for (std::size_t g = 0; g < Groups().size(); ++g) {
        const SGroup& group = Groups()[g];
        if ((key & 0xFFFF0000u) != group.record) {
            continue;
        }
        const std::uint32_t element = key & 0xFFFFu;
        SControls& controls = m_controls[g];
        if (element == kOnOffElement) {
            controls.onOff->setChecked(value != 0.0);
        } else if (element == group.outputElement) {
            controls.output->setCurrentIndex(static_cast<int>(value));
        } else if (element == group.valveActionElement) {
            controls.valveAction->setCurrentIndex(static_cast<int>(value));
        }
        for (std::size_t v = 0; v < group.values.size(); ++v) {
            if (group.values[v].element == element) {
                controls.values[v]->setText(TwoDecimals(value));
            }
        }
    }
}

void CDigitalOutPutAlarmConfigurationView::Defaults() {
    for (std::size_t g = 0; g < Groups().size(); ++g) {
        SControls& controls = m_controls[g];
        controls.onOff->setChecked(false);
        for (std::size_t v = 0; v < Groups()[g].values.size(); ++v) {
            controls.values[v]->setText(QString::fromUtf8(Groups()[g].values[v].defaultText));
        }
        controls.output->setCurrentIndex(0);
        controls.valveAction->setCurrentIndex(0);
        controls.category->setCurrentIndex(kDefaultCategory);
        controls.priority->setCurrentIndex(kDefaultPriority - kFirstOfferedPriority);
    }
}

void CDigitalOutPutAlarmConfigurationView::ApplyGroup(std::size_t index) {
    RunGuarded("Apply", [this, index] { WriteGroup(index); });
}

void CDigitalOutPutAlarmConfigurationView::WriteGroup(std::size_t index) {
    const SGroup& group = Groups().at(index);
    const SControls& controls = m_controls[index];
    // Every value must be a number before anything is written.
    std::vector<std::string> values;
    for (QLineEdit* field : controls.values) {
        const std::string text = field->text().trimmed().toStdString();
        CConversions::to_double(text);
        values.push_back(text);
    }
    Device().Write(group.record + kOnOffElement, controls.onOff->isChecked() ? "1" : "0");
    for (std::size_t v = 0; v < values.size(); ++v) {
        Device().Write(group.record + group.values[v].element, values[v]);
    }
    Device().Write(group.record + group.outputElement,
                   std::to_string(controls.output->currentIndex()));
    Device().Write(group.record + group.valveActionElement,
                   std::to_string(controls.valveAction->currentIndex()));
    // The enables record: this alarm's two bits of category and priority, the rest as read.
    const auto replace = [this, &group](std::uint32_t key, int code) {
        const auto text = Device().Fetch<CNumericParameterDescriptor>(key);
        std::uint32_t bits = text ? CConversions::to_uint32(*text) : 0;
        bits &= ~(3u << (2 * group.field));
        bits |= static_cast<std::uint32_t>(code & 3) << (2 * group.field);
        return std::to_string(bits);
    };
    for (const std::uint32_t element : {1u, 2u}) {
        if (const auto text = Device().Fetch<CNumericParameterDescriptor>(kEnables + element)) {
            Device().Write(kEnables + element, *text);
        }
    }
    Device().Write(kCategoriesKey, replace(kCategoriesKey, controls.category->currentIndex()));
    Device().Write(kPrioritiesKey, replace(kPrioritiesKey, controls.priority->currentIndex() +
                                                               kFirstOfferedPriority));
    ShowStatus(std::string(group.title) + " written to the device");
}
