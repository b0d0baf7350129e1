#include "views/calibration/AutomaticCalibrationSettingsView.h"

#include "model/Conversions.h"
#include "model/EnumParameterDescriptor.h"
#include "model/NumericParameterDescriptor.h"
#include "views/common/VelaFFUIServices.h"
#include "views/common/ViewTitle.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CAutomaticCalibrationSettingsView::CAutomaticCalibrationSettingsView(const SViewContext& context)
    : CDeviceView(context, EHeader::WithNavigation) {}

QString CAutomaticCalibrationSettingsView::Status() const {
    return m_status->text();
}

std::unique_ptr<QWidget> CAutomaticCalibrationSettingsView::CreateDeviceContent() {
    auto content = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(content.get());
    layout->setContentsMargins(0, 0, 0, 0);
    AddViewTitle(*layout, content.get(), QStringLiteral("AUTOMATIC CALIBRATION SETTINGS"));
    layout->addWidget(new QLabel(
        QStringLiteral("These settings will be used in automatic calibration."), content.get()));

    auto* action = new QGroupBox(QStringLiteral("Actuator - Mechanical Action"), content.get());
    auto* actionForm = new QFormLayout(action);
    for (std::size_t i = 0; i < kChoices.size(); ++i) {
        m_combos[i] = new QComboBox(action);
        m_combos[i]->setMinimumWidth(180);
        actionForm->addRow(QString::fromUtf8(kChoices[i].label), m_combos[i]);
    }
    layout->addWidget(action);

    auto* more = new QGroupBox(QStringLiteral("Additional information"), content.get());
    auto* row = new QHBoxLayout;
    m_stroke = new QLineEdit(more);
    m_stroke->setMaximumWidth(100);
    m_strokeIcon = new QLabel(more);
    m_strokeIcon->setFixedSize(18, 18);
    m_unit = new QLineEdit(more);
    m_unit->setReadOnly(true);
    m_unit->setFocusPolicy(Qt::NoFocus);
    m_unit->setMaximumWidth(60);
    row->addWidget(m_stroke);
    row->addWidget(m_strokeIcon);
    row->addWidget(m_unit);
    row->addStretch(1);
    auto* moreForm = new QFormLayout(more);
    moreForm->addRow(QStringLiteral("Stoke Length:"), row);
    layout->addWidget(more);

    auto* buttons = new QHBoxLayout;
    const auto add = [&](const char* label, void (CAutomaticCalibrationSettingsView::*act)()) {
        auto* button = new QPushButton(QString::fromUtf8(label), content.get());
        buttons->addWidget(button);
        QObject::connect(button, &QPushButton::clicked, button, [this, label, act] {
            RunGuarded(label, [this, act] { (this->*act)(); });
        });
    };
    add("Read", &CAutomaticCalibrationSettingsView::Read);
    add("Default", &CAutomaticCalibrationSettingsView::Defaults);
    add("Apply", &CAutomaticCalibrationSettingsView::Apply);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    m_status = new QLabel(content.get());
    m_status->setObjectName(QStringLiteral("settingsStatus"));
    layout->addWidget(m_status);
    layout->addStretch(1);
    return content;
}

void CAutomaticCalibrationSettingsView::OnDeviceActivated() {
    Read();
}

void CAutomaticCalibrationSettingsView::Read() {
    for (const SChoiceField& field : kChoices) {
        Device().RequestRead(field.key);
    }
    Device().RequestRead(kStrokeLength);
    m_status->setText(QStringLiteral("Reading the settings from the device"));
}

void CAutomaticCalibrationSettingsView::OnParameter(std::uint32_t key) {
    for (std::size_t i = 0; i < kChoices.size(); ++i) {
        if (kChoices[i].key != key) {
            continue;
        }
        // The choices as the device describes them, the device's one selected.
        QComboBox& combo = *m_combos[i];
        if (const auto choices = Device().FetchChoices(key)) {
            combo.clear();
            for (const auto& [tag, caption] : *choices) {
                combo.addItem(QString::fromStdString(caption), tag);
            }
        }
        if (const auto value = Device().Fetch<CEnumParameterDescriptor>(key)) {
            SelectTag(combo, CConversions::to_uint32(*value));
        }
        return;
    }
    if (key == kStrokeLength) {
        if (const auto value = Device().Fetch<CNumericParameterDescriptor>(key)) {
            m_stroke->setText(QString::fromStdString(*value));
        }
        m_unit->setText(QString::fromStdString(Device().FetchUnit(key).value_or("")));
        m_status->setText(QStringLiteral("Settings read from the device"));
    }
}

void CAutomaticCalibrationSettingsView::Defaults() {
    for (std::size_t i = 0; i < kChoices.size(); ++i) {
        SelectTag(*m_combos[i], kChoices[i].defaultTag);
    }
    m_stroke->setText(QString::fromUtf8(kDefaultStrokeLength));
    m_status->setText(QStringLiteral("Default settings: press Apply to write them"));
}

void CAutomaticCalibrationSettingsView::Apply() {
    if (!CVelaFFUIServices().CheckNumericRange(*this, *m_stroke, *m_strokeIcon,
                                               DeviceRange(Device(), kStrokeLength))) {
        m_status->setText(QStringLiteral("Stoke Length: the value is not valid; nothing written"));
        return;
    }
    for (std::size_t i = 0; i < kChoices.size(); ++i) {
        if (m_combos[i]->currentIndex() >= 0) {
            Device().Write(kChoices[i].key, std::to_string(m_combos[i]->currentData().toUInt()));
        }
    }
    Device().Write(kStrokeLength, m_stroke->text().trimmed().toStdString());
    m_status->setText(QStringLiteral("Settings written to the device"));
}

void CAutomaticCalibrationSettingsView::SelectTag(QComboBox& combo, std::uint32_t tag) {
    const int index = combo.findData(tag);
    if (index >= 0) {
        combo.setCurrentIndex(index);
    }
}
