#pragma once

#include "views/common/DeviceView.h"

#include <optional>
#include <string>

class CServiceModeSwitch;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// Starts the positioner's automatic procedures (auto calibration, travel calibration, leakage
// test, auto tune) and follows them through the states the device shows in its mode parameter:
// each new state goes to the history list and the status box. A detected leak asks whether to
// go on. The view carries the service mode switch, since the procedures run out of service.
class CAutomaticCalibrationView : public CDeviceView<CAutomaticCalibrationView, 342> {
public:
    static constexpr int kViewId = 1401;
    static constexpr std::uint32_t kCommandKey = 0x01280000; // the service mode target
    static constexpr std::uint32_t kStrokeLength = 0x01430001;
    static constexpr std::int32_t kAbortCommand = 255;
    static constexpr int kPollMs = 500;
    enum EProcedure { AutoCalibration, TravelCalibration, LeakageTest, AutoTune };

    explicit CAutomaticCalibrationView(const SViewContext& context);

    // The texts a state of the mode parameter adds to the history while `procedure` runs.
    static std::vector<std::string> StateTexts(int procedure, int state);
    QListWidget* GetHistory() const { return m_history; }
    QString Status() const;
    bool IsRunning() const { return m_running; }
    CServiceModeSwitch* GetServiceSwitch() const { return m_switch; }

protected:
    std::unique_ptr<QWidget> CreateDeviceContent() override;
    void OnDeviceActivated() override;
    void OnDeviceDeactivated() override;
    void OnParameter(std::uint32_t key) override;

private:
    enum ETimer { kPollTimer = 10 };

    void Start();
    void Abort();
    void Continue(bool yes);
    void OnMode(const std::string& value);
    void Finish();
    void AskContinue(bool show);
    void SetStatus(const std::string& text);
    void RefreshButtons();

    int m_procedure = AutoCalibration;
    bool m_running = false;
    std::optional<std::string> m_lastMode;
    QComboBox* m_choice = nullptr;
    QPushButton* m_start = nullptr;
    QPushButton* m_abort = nullptr;
    QLineEdit* m_status = nullptr;
    QLineEdit* m_stroke = nullptr;
    QListWidget* m_history = nullptr;
    QLabel* m_question = nullptr;
    QPushButton* m_yes = nullptr;
    QPushButton* m_no = nullptr;
    CServiceModeSwitch* m_switch = nullptr;
};
