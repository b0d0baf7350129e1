#include "views/alarms/AlarmConfigurationView.h"

#include "model/AlarmInformation.h"
#include "model/Conversions.h"
#include "model/NumericParameterDescriptor.h"
#include "views/alarms/SymptomGroups.h"
#include "views/components/Grid.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kBitsPerElement = 32;

} // namespace

CAlarmConfigurationView::CAlarmConfigurationView(const SViewContext& context)
    : CDeviceView(context, EHeader::WithNavigation), m_alarms(context.diagnosticAlarmInformation) {
    if (m_alarms) {
        for (const auto& [id, text] : m_alarms->GetTexts()) {
            m_alarmIds.push_back(id);
        }
    }
}

std::pair<int, int> CAlarmConfigurationView::RowPlace(int row, int rows) {
    const int half = rows / 2;
    return row <= half ? std::pair(0, row) : std::pair(1, row - half);
}

std::uint32_t CAlarmConfigurationView::RowAlarm(int row) const {
    const auto [side, at] = RowPlace(row, Rows());
    const QString name = Grid(side)->cellText(at, 0);
    return m_alarms ? m_alarms->FindId(name.toStdString()) : 0;
}

bool CAlarmConfigurationView::IsRowEnabled(int row) const {
    const auto [side, at] = RowPlace(row, Rows());
    const QTableWidgetItem* item = Grid(side)->item(at - 1, 1);
    return item && item->checkState() == Qt::Checked;
}

void CAlarmConfigurationView::SetRowEnabled(int row, bool enabled) {
    const auto [side, at] = RowPlace(row, Rows());
    if (QTableWidgetItem* item = Grid(side)->item(at - 1, 1)) {
        item->setCheckState(enabled ? Qt::Checked : Qt::Unchecked);
    }
}

std::unique_ptr<QWidget> CAlarmConfigurationView::CreateDeviceContent() {
    auto content = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(content.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("ALARM ENABLING CONFIGURATION"), content.get()));
    auto* grids = new QHBoxLayout;
    const int rows = Rows();
    for (int side = 0; side < 2; ++side) {
        auto* grid = new CGrid(content.get());
        grid->setColumnFormat(QStringLiteral("Alarm|Enabled"));
        const int count = side == 0 ? rows / 2 : rows - rows / 2;
        grid->setRows(count + 1);
        m_grids[static_cast<std::size_t>(side)] = grid;
        grids->addWidget(grid);
    }
    for (int row = 1; row <= rows; ++row) {
        const auto [side, at] = RowPlace(row, rows);
        const SAlarmText* text = m_alarms->Find(m_alarmIds[static_cast<std::size_t>(row - 1)]);
        CGrid& grid = *Grid(side);
        grid.setCellText(at, 0, text ? QString::fromStdString(text->shortDescription) : QString());
        grid.setCellText(at, 1, QString());
        if (QTableWidgetItem* item = grid.item(at - 1, 1)) {
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Checked);
        }
    }
    layout->addLayout(grids, 1);

    auto* choices = new QHBoxLayout;
    struct SChoice {
        const char* label;
        bool (*choose)(std::uint32_t alarm);
    };
    const SChoice presets[] = {
        {"Select All", [](std::uint32_t) { return true; }},
        {"Unselect All", [](std::uint32_t) { return false; }},
        {"Actuator With Spring", [](std::uint32_t) { return true; }},
        {"Actuator Without Spring",
         [](std::uint32_t alarm) {
             return symptom_groups::GroupOf(alarm) != symptom_groups::kSpringGroup;
         }},
    };
    for (const SChoice& preset : presets) {
        auto* box = new QCheckBox(QString::fromUtf8(preset.label), content.get());
        choices->addWidget(box);
        const auto choose = preset.choose;
        QObject::connect(box, &QCheckBox::clicked, box, [this, box, choose] {
            RunGuarded("Select", [this, choose] { SelectAll(choose); });
            box->setChecked(false); // a preset, not a state
        });
    }
    choices->addStretch(1);
    layout->addLayout(choices);
    auto* buttons = new QHBoxLayout;
    const auto add = [&](const char* label, auto act) {
        auto* button = new QPushButton(QString::fromUtf8(label), content.get());
        buttons->addWidget(button);
        QObject::connect(button, &QPushButton::clicked, button,
                         [this, label, act] { RunGuarded(label, act); });
    };
    add("Default", [this] { SelectAll([](std::uint32_t) { return true; }); });
    add("Read", [this] { Read(); });
    add("Apply", [this] { Apply(); });
    buttons->addStretch(1);
    layout->addLayout(buttons);
    return content;
}

void CAlarmConfigurationView::SelectAll(bool (*choose)(std::uint32_t alarm)) {
    for (int row = 1; row <= Rows(); ++row) {
        SetRowEnabled(row, choose(RowAlarm(row)));
    }
}

void CAlarmConfigurationView::OnDeviceActivated() {
    Read();
}

void CAlarmConfigurationView::Read() {
    Device().RequestRead(kEnables);
    for (const std::uint32_t key : kOnOffKeys) {
        Device().RequestRead(key);
    }
}

void CAlarmConfigurationView::OnParameter(std::uint32_t key) {
    if (key != kEnableBits && key != kEnableBits + 1) {
        return;
    }
    const auto text = Device().Fetch<CNumericParameterDescriptor>(key);
    if (!text) {
        return;
    }
    const std::uint32_t bits = CConversions::to_uint32(*text);
    const std::size_t first = key == kEnableBits ? 0 : kBitsPerElement;
    for (int row = 1; row <= Rows(); ++row) {
        const auto it = std::find(m_alarmIds.begin(), m_alarmIds.end(), RowAlarm(row));
        const auto index = static_cast<std::size_t>(it - m_alarmIds.begin());
        if (it != m_alarmIds.end() && index >= first && index < first + kBitsPerElement) {
            SetRowEnabled(row, (bits >> (index - first)) & 1u);
        }
    }
}

void CAlarmConfigurationView::Apply() {
    std::array<std::uint32_t, 2> bits{};
    for (int row = 1; row <= Rows(); ++row) {
        const auto it = std::find(m_alarmIds.begin(), m_alarmIds.end(), RowAlarm(row));
        const auto index = static_cast<std::size_t>(it - m_alarmIds.begin());
        if (it != m_alarmIds.end() && IsRowEnabled(row) && index < 2 * kBitsPerElement) {
            bits[index / kBitsPerElement] |= 1u << (index % kBitsPerElement);
        }
    }
    Device().Write(kEnableBits, std::to_string(bits[0]));
    Device().Write(kEnableBits + 1, std::to_string(bits[1]));
    // The digital output alarms' on/off flags as the device gave them.
    for (const std::uint32_t key : kOnOffKeys) {
        if (const auto onOff = Device().Fetch<CNumericParameterDescriptor>(key)) {
            Device().Write(key, *onOff);
        }
    }
    ShowStatus("Alarm enabling written to the device");
}
