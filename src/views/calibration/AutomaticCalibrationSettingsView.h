#pragma once

#include "views/common/DeviceView.h"

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;

// The actuator settings the automatic calibration uses: four choices of the actuator's
// mechanical action and its stroke length, read from and written to the device.
class CAutomaticCalibrationSettingsView
    : public CDeviceView<CAutomaticCalibrationSettingsView, 339> {
public:
    static constexpr int kViewId = 1405;
    struct SChoiceField {
        const char* label;
        std::uint32_t key;
        std::uint32_t defaultTag;
    };
    // "Function:", "Type:", "Direction:", "Size:"; the defaults are the device's.
    static constexpr std::array<SChoiceField, 4> kChoices{{{"Function:", 0x011C0000, 0},
                                                           {"Type:", 0x01210000, 0},
                                                           {"Direction:", 0x01220000, 0},
                                                           {"Size:", 0x01230000, 1}}};
    static constexpr std::uint32_t kStrokeLength = 0x01430001;
    static constexpr const char* kDefaultStrokeLength = "40";

    explicit CAutomaticCalibrationSettingsView(const SViewContext& context);

    QComboBox* Choice(std::size_t index) const { return m_combos[index]; }
    QLineEdit* StrokeLength() const { return m_stroke; }
    QString Status() const;

protected:
    std::unique_ptr<QWidget> CreateDeviceContent() override;
    void OnDeviceActivated() override;
    void OnParameter(std::uint32_t key) override;

private:
    void Read();
    void Defaults();
    void Apply();
    void SelectTag(QComboBox& combo, std::uint32_t tag);

    std::array<QComboBox*, 4> m_combos{};
    QLineEdit* m_stroke = nullptr;
    QLabel* m_strokeIcon = nullptr;
    QLineEdit* m_unit = nullptr;
    QLabel* m_status = nullptr;
};
