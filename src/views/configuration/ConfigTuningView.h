#pragma once

#include "views/configuration/ConfigurationView.h"

#include <array>

class QCheckBox;

// The positioner's control loop: PID gains, opening and closing times, deadband, options and
// the minimum pulses. The classic gains (Kc, Ti, Td) and the pulses change only with "Expert"
// switched on.
class CConfigTuningView : public CConfigurationView {
public:
    static constexpr int kViewId = 1602;
    static constexpr int DialogId = 337;

    using EKind = SConfigurationField::EKind;
    static constexpr std::array<SConfigurationField, 6> kPid{{
        {"P:", 0x01490000, EKind::Number, "1.00"},
        {.label = "Kc:",
         .key = 0x014C0000,
         .kind = EKind::Number,
         .defaultText = "0.00",
         .sameRow = true},
        {"I:", 0x014A0000, EKind::Number, "0.05"},
        {.label = "Ti:",
         .key = 0x014D0000,
         .kind = EKind::Number,
         .defaultText = "0.00",
         .sameRow = true},
        {"D:", 0x014B0000, EKind::Number, "5.00"},
        {.label = "Td:",
         .key = 0x014E0000,
         .kind = EKind::Number,
         .defaultText = "5.00",
         .sameRow = true},
    }};
    static constexpr std::array<SConfigurationField, 6> kSettings{{
        {.label = "Opening time:",
         .key = 0x014F0000,
         .kind = EKind::Number,
         .defaultText = "5.00 s",
         .suffix = "s"},
        {.label = "Closing time:",
         .key = 0x01500000,
         .kind = EKind::Number,
         .defaultText = "0.01 s",
         .suffix = "s"},
        {"Deadband:", 0x01510000, EKind::Number, "0.50", "%"},
        {"Spring Adjust:", 0x01560001, EKind::Choice, "0"},
        {"Fail Freeze:", 0x01560002, EKind::Choice, "0"},
        {"Overshoot Protection:", 0x01560003, EKind::Choice, "0"},
    }};
    static constexpr std::array<SConfigurationField, 4> kMinPulse{{
        {"Min Pulse Up 1:", 0x01540001, EKind::Integer, "2900"},
        {"Min Pulse Down 1:", 0x01540002, EKind::Integer, "2900"},
        {"Min Pulse Up 2:", 0x01550001, EKind::Integer, "2100"},
        {"Min Pulse Down 2:", 0x01550002, EKind::Integer, "2100"},
    }};

    explicit CConfigTuningView(const SViewContext& context);

    QCheckBox* Expert() const { return m_expert; }

protected:
    void CreateFields(QWidget& content, QVBoxLayout& layout) override;

private:
    void EnableExpertFields();

    QCheckBox* m_expert = nullptr;
};
