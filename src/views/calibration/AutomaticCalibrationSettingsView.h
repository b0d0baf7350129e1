#pragma once

#include "views/configuration/ConfigurationView.h"

#include <array>

class QComboBox;
class QLineEdit;

// The actuator settings the automatic calibration uses: four choices of the actuator's
// mechanical action and its stroke length, read from and written to the device on the
// configuration views' form.
class CAutomaticCalibrationSettingsView : public CConfigurationView {
public:
    static constexpr int kViewId = 1405;
    static constexpr int DialogId = 339;
    static constexpr std::uint32_t kStrokeLength = 0x01430001;
    static constexpr std::uint32_t kStrokeLengthUnit = 0x01770000;

    using EKind = SConfigurationField::EKind;
    // "Function:", "Type:", "Direction:", "Size:"; the defaults are the device's.
    static constexpr std::array<SConfigurationField, 4> kChoices{{
        {"Function:", 0x011C0000, EKind::Choice, "0"},
        {"Type:", 0x01210000, EKind::Choice, "0"},
        {"Direction:", 0x01220000, EKind::Choice, "0"},
        {"Size:", 0x01230000, EKind::Choice, "1"},
    }};
    static constexpr std::array<SConfigurationField, 1> kAdditional{{
        {"Stoke Length:", kStrokeLength, EKind::Number, "40", "mm", kStrokeLengthUnit},
    }};

    explicit CAutomaticCalibrationSettingsView(const SViewContext& context);

    QComboBox* Choice(std::size_t index) const { return Form().Choice(kChoices[index].key); }
    QLineEdit* StrokeLength() const { return Form().Field(kStrokeLength); }

protected:
    void CreateFields(QWidget& content, QVBoxLayout& layout) override;
};
