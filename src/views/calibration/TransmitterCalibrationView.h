#pragma once

#include "views/calibration/CalibrationStep.h"
#include "views/common/DeviceView.h"

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// Calibrates the 4 to 20 mA position transmitter: the technician picks the lower or upper
// value, tunes the output up or down until the reference meter reads it, and calibrates; the
// transmitter can be taken on-line or off-line and told what it transmits.
class CTransmitterCalibrationView : public CDeviceView<CTransmitterCalibrationView, 341> {
public:
    static constexpr int kViewId = 1404;
    static constexpr std::uint32_t kRecord = 0x01700000;
    static constexpr std::uint32_t kLowerKey = 0x01700002;
    static constexpr std::uint32_t kUpperKey = 0x01700003;
    static constexpr std::uint32_t kVariableKey = 0x01700004;
    static constexpr std::uint32_t kDirectionKey = 0x01700005;
    static constexpr std::uint32_t kOnlineKey = 0x01700006;
    static constexpr std::int32_t kReset = 0;
    static constexpr std::int32_t kOnline = 13;
    static constexpr std::int32_t kCalibrateUpper = 14;
    static constexpr std::int32_t kCalibrateLower = 15;
    static constexpr std::int32_t kUpperUp = 16;
    static constexpr std::int32_t kUpperDown = 17;
    static constexpr std::int32_t kLowerUp = 18;
    static constexpr std::int32_t kLowerDown = 19;
    static constexpr const char* kProcedure =
        "Calibration Procedure:\n1. Select to calibrate the lower transmitter value\n2. Press "
        "the UP or DOWN button to tune the current \n    source compared to the reference "
        "meter\n3. Press Calibrate when the meter reads the entered value\n4. Do the same for "
        "the upper transmitter value";

    explicit CTransmitterCalibrationView(const SViewContext& context);

    void ChooseUpper(bool upper);
    QLineEdit* Value(bool upper) const { return upper ? m_upperValue : m_lowerValue; }
    QString Status() const;

protected:
    std::unique_ptr<QWidget> CreateDeviceContent() override;
    void OnDeviceActivated() override;
    void OnDeviceDeactivated() override;
    void OnParameter(std::uint32_t key) override;

private:
    void Run(std::int32_t command, std::optional<double> value = std::nullopt);
    void Calibrate();
    void Tune(bool up);
    void OnResult(CCalibrationStep::EResult result);
    bool IsUpper() const;

    std::unique_ptr<CCalibrationStep> m_step;
    QRadioButton* m_online = nullptr;
    QRadioButton* m_offline = nullptr;
    QRadioButton* m_lower = nullptr;
    QRadioButton* m_upper = nullptr;
    QLineEdit* m_lowerValue = nullptr;
    QLineEdit* m_upperValue = nullptr;
    QLabel* m_lowerIcon = nullptr;
    QLabel* m_upperIcon = nullptr;
    QComboBox* m_variable = nullptr;
    QComboBox* m_direction = nullptr;
    QLabel* m_status = nullptr;
};
