#pragma once

#include "views/configuration/ConfigurationView.h"

#include <array>

// The actuator's data: maker, build, spring and air action, volumes and stroke.
class CActuatorConfigurationView : public CConfigurationView {
public:
    static constexpr int kViewId = 1103;
    static constexpr int DialogId = 344;
    static constexpr std::uint32_t kDeadVolumeUnit = 0x01760000;
    static constexpr std::uint32_t kActiveAreaUnit = 0x01780000;
    static constexpr std::uint32_t kSpringRangeUnit = 0x01790000;
    static constexpr std::uint32_t kStrokeLengthUnit = 0x01770000;

    using EKind = SConfigurationField::EKind;
    static constexpr std::array<SConfigurationField, 8> kDescription{{
        {"Manufacturer:", 0x01160000, EKind::Text, "Vela"},
        {"Model Number:", 0x011B0000, EKind::Text, "VA-100"},
        {"Size:", 0x01230000, EKind::Choice, "1"},
        {"Material:", 0x01170000, EKind::Choice, "0"},
        {"Function:", 0x011C0000, EKind::Choice, "0"},
        {"Spring Type:", 0x01180000, EKind::Choice, "1"},
        {"Air To:", 0x01220000, EKind::Choice, "0"},
        {"Fail Action:", 0x01190000, EKind::Choice, "0"},
    }};
    static constexpr std::array<SConfigurationField, 7> kDimensions{{
        {"Dead Volume:", 0x011D0000, EKind::Number, "0.00", "cu cm", kDeadVolumeUnit},
        {"Active Area:", 0x011E0000, EKind::Number, "0.00", "sq cm", kActiveAreaUnit},
        {"Spring Range Lower:", 0x011F0000, EKind::Number, "0.00", "bar", kSpringRangeUnit, 2, "",
         false, 0x01240000},
        {"Spring Range Upper:", 0x01240000, EKind::Number, "0.00", "bar", kSpringRangeUnit},
        {"Stroke Length:", 0x01430001, EKind::Number, "40.00", "mm", kStrokeLengthUnit},
        {"Stroke Time Increment:", 0x01250000, EKind::Number, "0.00", "Sec"},
        {"Stroke Time Decrement:", 0x01260000, EKind::Number, "0.00", "Sec"},
    }};

    explicit CActuatorConfigurationView(const SViewContext& context);

protected:
    std::vector<SGroup> Groups() const override;
};
