#pragma once

#include "views/configuration/ConfigurationView.h"

#include <array>

class QLabel;
class QTableWidget;

// How the positioner moves the valve: travel limits, cut-offs, the characteristic (with the
// points of a custom curve) and the language of the local display.
class CPositionerConfigurationView : public CConfigurationView {
public:
    static constexpr int kViewId = 1102;
    static constexpr int DialogId = 318;
    static constexpr std::uint32_t kLimitLow = 0x01120000;
    static constexpr std::uint32_t kLimitHigh = 0x01130000;
    static constexpr std::uint32_t kCutoffLow = 0x01100000;
    static constexpr std::uint32_t kCutoffHigh = 0x010F0000;
    static constexpr std::uint32_t kCharacter = 0x01140000;
    static constexpr std::uint32_t kCustomCharacter = 3;
    // The custom curve: the output at 17 inputs from 0 to 100 % in steps of 6.25 %.
    static constexpr std::uint32_t kCustomCurve = 0x013B0000;
    static constexpr int kCurvePoints = 17;

    using EKind = SConfigurationField::EKind;
    static constexpr std::array<SConfigurationField, 2> kLimited{{
        {.label = "Low:",
         .key = kLimitLow,
         .kind = EKind::Number,
         .defaultText = "0.0",
         .unit = "%",
         .decimals = 1,
         .notAbove = kLimitHigh},
        {.label = "High:",
         .key = kLimitHigh,
         .kind = EKind::Number,
         .defaultText = "100.0",
         .unit = "%",
         .decimals = 1,
         .sameRow = true},
    }};
    static constexpr std::array<SConfigurationField, 2> kCutoff{{
        {.label = "Low:",
         .key = kCutoffLow,
         .kind = EKind::Number,
         .defaultText = "0.5",
         .unit = "%",
         .decimals = 1,
         .notAbove = kCutoffHigh},
        {.label = "High:",
         .key = kCutoffHigh,
         .kind = EKind::Number,
         .defaultText = "99.5",
         .unit = "%",
         .decimals = 1,
         .sameRow = true},
    }};
    static constexpr std::array<SConfigurationField, 1> kCharacteristics{{
        {"Character:", kCharacter, EKind::Choice, "0"},
    }};
    static constexpr std::array<SConfigurationField, 1> kLanguage{{
        {"Language:", 0x01150000, EKind::Choice, "0"},
    }};

    explicit CPositionerConfigurationView(const SViewContext& context);

    QTableWidget* CustomCurve() const { return m_curve; }

protected:
    void CreateFields(QWidget& content, QVBoxLayout& layout) override;
    void ReadMore() override;
    void DefaultsMore() override;
    bool CheckMore() override;
    void WriteMore() override;
    void OnOtherParameter(std::uint32_t key) override;

private:
    bool CustomSelected() const;
    // The character may change only while the device is out of service.
    void LockCharacter();
    void EnableCurve();

    QTableWidget* m_curve = nullptr;
};
