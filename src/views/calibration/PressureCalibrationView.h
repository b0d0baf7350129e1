#pragma once

#include "views/calibration/CalibrationStep.h"
#include "views/common/DeviceView.h"

#include <array>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// Calibrates the supply, C+ and C- pressure sensors at their zero point (depressurised) and
// their span point (the pressure the user enters, in the device's pressure unit).
class CPressureCalibrationView : public CDeviceView<CPressureCalibrationView, 317> {
public:
    static constexpr int kViewId = 1402;
    static constexpr std::uint32_t kPressureUnit = 0x011A0000;
    // The span presets: 7 bar in kPa and in psi.
    static constexpr const char* kSpanKpa = "700.0";
    static constexpr const char* kSpanPsi = "101.52";
    enum ESensor { Supply, CPlus, CMinus };

    explicit CPressureCalibrationView(const SViewContext& context);

    // Command of a sensor's span (1, 3, 5) or zero point (2, 4, 6).
    static std::int32_t Command(int sensor, bool span) { return sensor * 2 + (span ? 1 : 2); }
    static std::string Prompt(int sensor, bool span);
    void Choose(int sensor, bool span);
    QLineEdit* SpanValue() const { return m_span; }
    QString Status() const;
    QString PromptText() const;
    const CCalibrationStep& Step() const { return *m_step; }

protected:
    std::unique_ptr<QWidget> CreateDeviceContent() override;
    void OnDeviceActivated() override;
    void OnDeviceDeactivated() override;
    void OnParameter(std::uint32_t key) override;

private:
    void Calibrate();
    void OnResult(CCalibrationStep::EResult result, int reason);
    int Sensor() const;
    bool IsSpan() const;
    void RefreshPrompt();

    std::unique_ptr<CCalibrationStep> m_step;
    int m_stepSensor = Supply;
    bool m_stepSpan = false;
    std::array<QRadioButton*, 3> m_sensors{};
    QRadioButton* m_zero = nullptr;
    QRadioButton* m_spanPoint = nullptr;
    QLineEdit* m_span = nullptr;
    QLabel* m_unit = nullptr;
    QLabel* m_prompt = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_calibrate = nullptr;
    QPushButton* m_abort = nullptr;
};
