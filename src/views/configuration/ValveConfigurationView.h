#pragma once

#include "views/configuration/ConfigurationView.h"

#include <array>

// The valve's data: its body and its trim.
class CValveConfigurationView : public CConfigurationView {
public:
    static constexpr int kViewId = 1101;
    static constexpr int DialogId = 306;
    static constexpr std::uint32_t kStemDiameterUnit = 0x015A0000;

    using EKind = SConfigurationField::EKind;
    static constexpr std::array<SConfigurationField, 10> kBody{{
        {"Valve Tag:", 0x01270000, EKind::Text, ""},
        {"Order Serial Number:", 0x012A0000, EKind::Text, ""},
        {"Manufacturer:", 0x012B0000, EKind::Text, ""},
        {"Model:", 0x012C0000, EKind::Text, ""},
        {"Body Size:", 0x012F0000, EKind::Text, ""},
        {"Body Material:", 0x01300000, EKind::Choice, "0"},
        {"End Connections:", 0x01310000, EKind::Choice, "0"},
        {"Flow Direction:", 0x01320000, EKind::Choice, "0"},
        {"Pressure Class:", 0x01330000, EKind::Choice, "0"},
        {"Leak Class:", 0x01340000, EKind::Choice, "0"},
    }};
    static constexpr std::array<SConfigurationField, 7> kTrim{{
        {"Type:", 0x013A0000, EKind::Choice, "0"},
        {"Material:", 0x01400000, EKind::Choice, "0"},
        {"Number", 0x01420000, EKind::Text, ""},
        {"Size:", 0x01450000, EKind::Number, "0.00", "mm"},
        {"Characteristic:", 0x01460000, EKind::Choice, "0"},
        {"Packing Style:", 0x01470000, EKind::Choice, "0"},
        {"Stem Diameter:", 0x01480000, EKind::Number, "0.00", "mm", kStemDiameterUnit},
    }};

    explicit CValveConfigurationView(const SViewContext& context);

protected:
    std::vector<SGroup> Groups() const override;
};
