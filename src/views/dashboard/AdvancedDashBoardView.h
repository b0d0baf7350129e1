#pragma once

#include "views/common/DeviceView.h"
#include "views/common/ViewButtons.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class CAnalogDisplay;
class CDiagnosticAlarmInformation;
class CIndicator;
class CLinearGauge;
class CRoundLed;
class CServiceModeSwitch;
class CThermometer;
class QGridLayout;
class QLabel;
class QLineEdit;
class QRadioButton;

// The overview of the positioner, the first view a technician sees: live position, setpoint,
// deviation, pressures and temperature, the device's health in four areas, its setpoint mode
// and its service status, and buttons to the main groups of views. Two polls (5000 ms and
// 1120 ms) keep it live; they rest while the service mode switch asks.
class CAdvancedDashBoardView : public CDeviceView<CAdvancedDashBoardView, 351> {
public:
    static constexpr int kViewId = 1100;
    static constexpr int kSlowPollMs = 5000;
    static constexpr int kFastPollMs = 1120;
    static constexpr int kModeReadBackMs = 100;
    static constexpr std::int32_t kRefreshCommand = 41;
    static constexpr std::int32_t kDtmModeCommand = 45;
    static constexpr std::int32_t kLocalOverrideCommand = 46;
    static constexpr std::int32_t kLiveDataFunction = 7;
    static constexpr std::uint32_t kSetpointMode = 0x012E0000;
    static constexpr const char* kHealthDialog = "HealthInformationDialog";

    enum EArea { Valve, Actuator, Positioner, Control };
    enum EHealth { NoAlarm, Warning, Alarm };

    CAdvancedDashBoardView(const SViewContext& context, std::function<bool(int viewId)> viewExists);
    ~CAdvancedDashBoardView() override;

    // The keys the update notification compares, in their order.
    static const std::vector<std::uint32_t>& UpdateOrder();
    // The area of a symptom group; nothing for a group of no area.
    static std::optional<EArea> AreaOf(int symptomGroup);
    EHealth Health(EArea area) const;
    // "Cause of Malfunction:" and the area's active alarms with their recommendations.
    std::string HealthText(EArea area) const;
    // Which rule of UpdateOrder() handled the last notification (its index), -1 for none.
    int LastRule() const { return m_lastRule; }
    CIndicator* Indicator(const char* name) const;
    QRadioButton* ModeButton(int mode) const { return m_modes[static_cast<std::size_t>(mode)]; }
    CServiceModeSwitch* GetServiceSwitch() const { return m_switch; }
    bool IsPolling() const;

protected:
    std::unique_ptr<QWidget> CreateDeviceContent() override;
    void OnDeviceActivated() override;
    void OnParameter(std::uint32_t key) override;
    void OnPollingPaused(bool paused) override;

private:
    enum ETimer { kSlowTimer = 10, kFastTimer, kModeTimer };
    struct SAlarm {
        std::uint32_t id;
        int category;
    };

    void CreateMeasurements(QWidget* parent, QGridLayout& layout);
    QWidget* CreateHealth(QWidget* parent);
    QWidget* CreateSetpointMode(QWidget* parent);
    void StartPolls();
    void StopPolls();
    void SlowPoll();
    void FastPoll();
    void ChooseMode(int mode);
    void ShowValue(std::uint32_t key);
    void ReadHealth(std::uint32_t key);
    void ShowHealth();
    std::vector<SAlarm> ActiveAlarms(EArea area) const;

    const CDiagnosticAlarmInformation* m_alarms;
    std::function<bool(int)> m_viewExists;
    ViewButtonList m_buttons;
    std::vector<std::pair<std::uint32_t, CIndicator*>> m_indicators;
    std::array<QRadioButton*, 3> m_modes{}; // AUTO, LO, DTM as the device numbers them
    QLabel* m_currentMode = nullptr;
    QLineEdit* m_targetMode = nullptr;
    QLineEdit* m_actualMode = nullptr;
    CServiceModeSwitch* m_switch = nullptr;
    std::array<std::array<CRoundLed*, 3>, 4> m_healthLeds{};
    std::array<std::uint32_t, 2> m_activeBits{};
    std::vector<int> m_categories; // by diagnostic alarm index
    int m_lastRule = -1;
};
