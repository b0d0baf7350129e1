#pragma once

#include "views/configuration/ConfigurationView.h"

#include <array>

// The units the device and the views show values in, and the scales of the blocks' values
// (engineering units at 0 % and at 100 %).
class CUnitsConfigurationView : public CConfigurationView {
public:
    static constexpr int kViewId = 1603;
    static constexpr int DialogId = 336;

    using EKind = SConfigurationField::EKind;
    static constexpr std::array<SConfigurationField, 12> kUnits{{
        {"Position:", 0x01710000, EKind::Choice, "0"},
        {"Temperature:", 0x01720000, EKind::Choice, "0"},
        {"Setpoint:", 0x01730000, EKind::Choice, "0"},
        {"Pressure:", 0x011A0000, EKind::Choice, "0"},
        {"Travel Accumulator:", 0x01740000, EKind::Choice, "0"},
        {"Deviation:", 0x01750000, EKind::Choice, "0"},
        {"Dead Volume:", 0x01760000, EKind::Choice, "0"},
        {"Stroke Length:", 0x01770000, EKind::Choice, "0"},
        {"Active Area:", 0x01780000, EKind::Choice, "0"},
        {"Spring Range:", 0x01790000, EKind::Choice, "0"},
        {"Stem Diameter:", 0x015A0000, EKind::Choice, "0"},
        {"PV:", 0x01640000, EKind::Choice, "0"},
    }};
    // A scale's row: its engineering units at 0 % (element 2) "to" those at 100 % (element 1).
    static constexpr std::array<SConfigurationField, 12> kScales{{
        {"PV Scale:", 0x030A0002, EKind::Number, "0.00"},
        {.label = "to",
         .key = 0x030A0001,
         .kind = EKind::Number,
         .defaultText = "100.00",
         .sameRow = true,
         .name = "PV Scale at 100 %"},
        {"FF Scale:", 0x010E0002, EKind::Number, "0.00"},
        {.label = "to",
         .key = 0x010E0001,
         .kind = EKind::Number,
         .defaultText = "100.00",
         .sameRow = true,
         .name = "FF Scale at 100 %"},
        {"TRK Scale:", 0x013F0002, EKind::Number, "0.00"},
        {.label = "to",
         .key = 0x013F0001,
         .kind = EKind::Number,
         .defaultText = "100.00",
         .sameRow = true,
         .name = "TRK Scale at 100 %"},
        {"Out Scale:", 0x030B0002, EKind::Number, "0.00"},
        {.label = "to",
         .key = 0x030B0001,
         .kind = EKind::Number,
         .defaultText = "100.00",
         .sameRow = true,
         .name = "Out Scale at 100 %"},
        {"AOB PV Scale:", 0x040B0002, EKind::Number, "0.00"},
        {.label = "to",
         .key = 0x040B0001,
         .kind = EKind::Number,
         .defaultText = "100.00",
         .sameRow = true,
         .name = "AOB PV Scale at 100 %"},
        {"AOB XD Scale:", 0x040C0002, EKind::Number, "0.00"},
        {.label = "to",
         .key = 0x040C0001,
         .kind = EKind::Number,
         .defaultText = "100.00",
         .sameRow = true,
         .name = "AOB XD Scale at 100 %"},
    }};

    explicit CUnitsConfigurationView(const SViewContext& context);

protected:
    std::vector<SGroup> Groups() const override;
};
