#pragma once

#include "views/calibration/CalibrationStep.h"
#include "views/common/DeviceView.h"

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// Calibrates the 4 to 20 mA setpoint input at its lower and upper value with the current the
// user feeds in.
class CSignalCalibrationView : public CDeviceView<CSignalCalibrationView, 313> {
public:
    static constexpr int kViewId = 1403;
    static constexpr std::int32_t kUpperCommand = 7;
    static constexpr std::int32_t kLowerCommand = 8;
    static constexpr const char* kLowerDefault = "4.0";
    static constexpr const char* kUpperDefault = "20.0";

    explicit CSignalCalibrationView(const SViewContext& context);

    // The prompt for a lower or upper value of `milliampere` as entered.
    static std::string SourcePrompt(bool upper, const QString& milliampere);
    void ChooseUpper(bool upper);
    QLineEdit* Value(bool upper) const { return upper ? m_upperValue : m_lowerValue; }
    QString Status() const;
    QString PromptText() const;

protected:
    std::unique_ptr<QWidget> CreateDeviceContent() override;
    void OnDeviceDeactivated() override;
    void OnParameter(std::uint32_t key) override;

private:
    void Calibrate();
    void Reset();
    void OnResult(CCalibrationStep::EResult result);
    void RefreshPrompt();

    std::unique_ptr<CCalibrationStep> m_step;
    QRadioButton* m_lower = nullptr;
    QRadioButton* m_upper = nullptr;
    QLineEdit* m_lowerValue = nullptr;
    QLineEdit* m_upperValue = nullptr;
    QLabel* m_prompt = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_calibrate = nullptr;
};
