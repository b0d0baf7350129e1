#include "views/configuration/ConfigurationForm.h"

#include "model/Conversions.h"
#include "model/EnumParameterDescriptor.h"
#include "model/NumericParameterDescriptor.h"
#include "model/StringParameterDescriptor.h"
#include "views/common/DeviceAccess.h"
#include "views/common/VelaFFUIServices.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

using EKind = SConfigurationField::EKind;

QString Text(const char* text) {
    return QString::fromUtf8(text);
}

} // namespace

CConfigurationForm::CConfigurationForm(const CDeviceAccess& device, IApplicationView& view)
    : m_device(device), m_view(view) {}

QGroupBox* CConfigurationForm::AddGroup(QWidget* parent, const QString& title,
                                        std::span<const SConfigurationField> fields) {
    auto* group = new QGroupBox(title, parent);
    auto* form = new QFormLayout(group);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    QHBoxLayout* row = nullptr;
    for (const SConfigurationField& field : fields) {
        SEntry entry;
        entry.field = &field;
        QWidget* input = nullptr;
        if (field.kind == EKind::Choice) {
            entry.combo = new QComboBox(group);
            entry.combo->setMinimumWidth(170);
            input = entry.combo;
        } else {
            entry.edit = new QLineEdit(group);
            entry.edit->setFixedWidth(field.kind == EKind::Text ? 220 : 90);
            if (field.kind == EKind::Text) {
                entry.edit->setMaxLength(32);
            }
            input = entry.edit;
        }
        input->setAccessibleName(Text(field.label));
        entry.icon = new QLabel(group);
        entry.icon->setFixedSize(18, 18);
        entry.shownUnit = Text(field.unit);
        entry.unit = new QLabel(entry.shownUnit, group);
        entry.unit->setMinimumWidth(24);
        // Fields without a unit keep their row short.
        entry.unit->setVisible(!entry.shownUnit.isEmpty() || field.unitKey != 0);

        if (!field.sameRow || row == nullptr) {
            row = new QHBoxLayout;
            form->addRow(Text(field.label), row);
        } else {
            row->addSpacing(12);
            row->addWidget(new QLabel(Text(field.label), group));
        }
        row->addWidget(input);
        row->addWidget(entry.icon);
        row->addWidget(entry.unit);
        m_entries.push_back(entry);
    }
    // Rows end in a stretch so that pairs keep to the left.
    for (int i = 0; i < form->rowCount(); ++i) {
        if (auto* item = form->itemAt(i, QFormLayout::FieldRole); item && item->layout()) {
            static_cast<QHBoxLayout*>(item->layout())->addStretch(1);
        }
    }
    return group;
}

void CConfigurationForm::FillChoices(QComboBox& combo, const CDeviceAccess& device,
                                     std::uint32_t key) {
    const auto choices = device.FetchChoices(key);
    if (!choices) {
        return;
    }
    const QVariant selected = combo.currentData();
    combo.clear();
    for (const auto& [tag, caption] : *choices) {
        combo.addItem(QString::fromStdString(caption), tag);
    }
    if (selected.isValid()) {
        SelectTag(combo, selected.toUInt());
    }
}

void CConfigurationForm::ForEachKey(const std::vector<std::uint32_t>& keys,
                                    const std::function<void(std::uint32_t)>& work) {
    // One field the DTM does not know keeps none of the others from their values.
    std::vector<std::string> failed;
    for (const std::uint32_t key : keys) {
        try {
            work(key);
        } catch (const std::exception&) {
            failed.push_back(
                QStringLiteral("0x%1").arg(key, 8, 16, QLatin1Char(u'0')).toStdString());
        }
    }
    if (!failed.empty()) {
        std::string list;
        for (const std::string& key : failed) {
            list += (list.empty() ? "" : ", ") + key;
        }
        throw std::runtime_error("the DTM does not know parameter " + list);
    }
}

void CConfigurationForm::LoadChoices() {
    std::vector<std::uint32_t> keys;
    for (const SEntry& entry : m_entries) {
        if (entry.combo) {
            keys.push_back(entry.field->key);
        }
    }
    ForEachKey(keys, [this](std::uint32_t key) { FillChoices(*Find(key)->combo, m_device, key); });
}

void CConfigurationForm::Read() {
    std::vector<std::uint32_t> units;
    for (const SEntry& entry : m_entries) {
        if (entry.field->unitKey != 0 &&
            std::ranges::find(units, entry.field->unitKey) == units.end()) {
            units.push_back(entry.field->unitKey);
        }
    }
    std::vector<std::uint32_t> keys = units;
    for (const SEntry& entry : m_entries) {
        keys.push_back(entry.field->key);
    }
    ForEachKey(keys, [this](std::uint32_t key) { m_device.RequestRead(key); });
}

bool CConfigurationForm::IsLastRead(std::uint32_t key) const {
    return !m_entries.empty() && m_entries.back().field->key == key;
}

bool CConfigurationForm::OnParameter(std::uint32_t key) {
    bool known = false;
    bool unit = false;
    for (SEntry& entry : m_entries) {
        unit = unit || entry.field->unitKey == key;
        if (entry.field->key == key) {
            ShowValue(entry);
            known = true;
        }
    }
    if (unit) {
        FollowUnit(key);
    }
    return known || unit;
}

void CConfigurationForm::ShowValue(SEntry& entry) {
    const SConfigurationField& field = *entry.field;
    const std::uint32_t key = field.key;
    switch (field.kind) {
    case EKind::Choice:
        if (entry.combo->count() == 0) {
            FillChoices(*entry.combo, m_device, key);
        }
        if (const auto value = m_device.Fetch<CEnumParameterDescriptor>(key)) {
            SelectTag(*entry.combo, CConversions::to_uint32(*value));
        }
        break;
    case EKind::Text:
        if (const auto value = m_device.Fetch<CStringParameterDescriptor>(key)) {
            entry.edit->setText(QString::fromStdString(*value));
        }
        break;
    case EKind::Number:
    case EKind::Integer:
        if (const auto value = m_device.Fetch<CNumericParameterDescriptor>(key)) {
            const double stored = CConversions::to_double(*value);
            const double shown =
                CVelaFFUIServices().ConvertUnit(Text(field.unit), entry.shownUnit, stored);
            entry.edit->setText(FormatNumber(entry, shown));
        }
        break;
    }
}

void CConfigurationForm::FollowUnit(std::uint32_t unitKey) {
    const auto tag = m_device.Fetch<CEnumParameterDescriptor>(unitKey);
    const auto choices = m_device.FetchChoices(unitKey);
    if (!tag || !choices) {
        return;
    }
    const std::uint32_t selected = CConversions::to_uint32(*tag);
    const auto choice = std::ranges::find_if(
        *choices, [selected](const auto& candidate) { return candidate.first == selected; });
    if (choice == choices->end()) {
        return;
    }
    const QString unit = QString::fromStdString(choice->second);
    const CVelaFFUIServices services;
    for (SEntry& entry : m_entries) {
        if (entry.field->unitKey != unitKey || entry.shownUnit == unit) {
            continue;
        }
        // A number already shown moves into the new unit; one that is not a number stays.
        if (!entry.edit->text().trimmed().isEmpty()) {
            try {
                const double value =
                    CVelaFFUIServices::FieldNumber(*entry.edit, entry.field->suffix);
                entry.edit->setText(
                    FormatNumber(entry, services.ConvertUnit(entry.shownUnit, unit, value)));
            } catch (const std::exception&) {
            }
        }
        entry.shownUnit = unit;
        entry.unit->setText(unit);
    }
}

QString CConfigurationForm::FormatNumber(const SEntry& entry, double value) const {
    const int decimals = entry.field->kind == EKind::Integer ? 0 : entry.field->decimals;
    QString text = QString::number(value, 'f', decimals);
    if (*entry.field->suffix != '\0') {
        text += u' ' + Text(entry.field->suffix);
    }
    return text;
}

void CConfigurationForm::Defaults() {
    for (SEntry& entry : m_entries) {
        if (entry.combo) {
            if (entry.combo->count() == 0) {
                FillChoices(*entry.combo, m_device, entry.field->key);
            }
            SelectTag(*entry.combo, CConversions::to_uint32(entry.field->defaultText));
            continue;
        }
        const QString text = Text(entry.field->defaultText);
        if (entry.field->kind == EKind::Text || text.isEmpty()) {
            entry.edit->setText(text);
            continue;
        }
        // Defaults are in the device's unit; a field shown in another unit shows them converted.
        const double value = CConversions::to_double(entry.field->defaultText);
        const double shown =
            CVelaFFUIServices().ConvertUnit(Text(entry.field->unit), entry.shownUnit, value);
        entry.edit->setText(
            entry.shownUnit == Text(entry.field->unit) ? text : FormatNumber(entry, shown));
    }
}

std::optional<QString> CConfigurationForm::Check() {
    const CVelaFFUIServices services;
    std::optional<QString> failed;
    for (SEntry& entry : m_entries) {
        if (!entry.edit || !entry.edit->isEnabled()) {
            continue;
        }
        const SConfigurationField& field = *entry.field;
        bool valid = true;
        if (field.kind == EKind::Text) {
            valid = entry.edit->text().isEmpty() ||
                    services.CheckAlphaNumeric(m_view, *entry.edit, *entry.icon);
        } else {
            SNumericRange range =
                DeviceRange(m_device, field.key, 1.0, field.kind == EKind::Integer);
            const QString deviceUnit = Text(field.unit);
            if (entry.shownUnit != deviceUnit) {
                range.minimum = services.ConvertUnit(deviceUnit, entry.shownUnit, range.minimum);
                range.maximum = services.ConvertUnit(deviceUnit, entry.shownUnit, range.maximum);
            }
            valid =
                services.CheckNumericRange(m_view, *entry.edit, *entry.icon, range, field.suffix);
            const SEntry* upper = field.notAbove != 0 ? Find(field.notAbove) : nullptr;
            if (valid && upper && upper->edit) {
                valid = services.CheckLowerUpper(m_view, *entry.edit, *upper->edit, *entry.icon,
                                                 CVelaFFUIServices::EEditedField::First);
            }
        }
        if (!valid && !failed) {
            failed = Text(field.name ? field.name : field.label);
        }
    }
    return failed;
}

void CConfigurationForm::Write() const {
    const CVelaFFUIServices services;
    for (const SEntry& entry : m_entries) {
        const SConfigurationField& field = *entry.field;
        if (entry.combo) {
            if (entry.combo->isEnabled() && entry.combo->currentIndex() >= 0) {
                m_device.Write(field.key, std::to_string(entry.combo->currentData().toUInt()));
            }
            continue;
        }
        if (!entry.edit->isEnabled()) {
            continue;
        }
        if (field.kind == EKind::Text) {
            m_device.Write(field.key, entry.edit->text().toStdString());
            continue;
        }
        const double shown = CVelaFFUIServices::FieldNumber(*entry.edit, field.suffix);
        const double stored = services.ConvertUnit(entry.shownUnit, Text(field.unit), shown);
        m_device.Write(field.key, field.kind == EKind::Integer
                                      ? std::to_string(std::llround(stored))
                                      : QString::number(stored, 'g', 10).toStdString());
    }
}

CConfigurationForm::SEntry* CConfigurationForm::Find(std::uint32_t key) {
    const auto it = std::ranges::find_if(
        m_entries, [key](const SEntry& entry) { return entry.field->key == key; });
    return it != m_entries.end() ? &*it : nullptr;
}

const CConfigurationForm::SEntry* CConfigurationForm::Find(std::uint32_t key) const {
    return const_cast<CConfigurationForm*>(this)->Find(key);
}

QLineEdit* CConfigurationForm::Field(std::uint32_t key) const {
    const SEntry* entry = Find(key);
    return entry ? entry->edit : nullptr;
}

QComboBox* CConfigurationForm::Choice(std::uint32_t key) const {
    const SEntry* entry = Find(key);
    return entry ? entry->combo : nullptr;
}

void CConfigurationForm::SetEnabled(std::uint32_t key, bool enabled) {
    if (SEntry* entry = Find(key)) {
        if (entry->edit) {
            entry->edit->setEnabled(enabled);
        }
        if (entry->combo) {
            entry->combo->setEnabled(enabled);
        }
    }
}

QString CConfigurationForm::ShownUnit(std::uint32_t key) const {
    const SEntry* entry = Find(key);
    return entry ? entry->shownUnit : QString();
}

void CConfigurationForm::SelectTag(QComboBox& combo, std::uint32_t tag) {
    const int index = combo.findData(tag);
    if (index >= 0) {
        combo.setCurrentIndex(index);
    }
}
