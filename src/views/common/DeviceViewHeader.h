#pragma once

#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class CDeviceAccess;
class CRoundLed;
class QLineEdit;
class QPushButton;
class IUIController;
struct SDeviceState;

// The strip at the top of a device view: "Active Alarms:" with its LED, "Alarm:", the service
// status, setpoint mode and failure mode boxes (reserve and training boxes stay hidden), and
// the "Back", "Dashboard" and "Sound Off" buttons. The dashboard uses the strip without its
// navigation buttons.
//
// The strip follows the header parameters: ApplyParameter fetches the new value of a header
// key and shows it by the header rules; it answers false for a key that is no header key.
class CDeviceViewHeader : public QWidget {
public:
    static constexpr int kDiagnosticsViewId = 1300;
    static constexpr int kDashboardViewId = 1100;
    static constexpr std::uint32_t kGreen = 0x0000FF00; // 0xBBGGRR
    static constexpr std::uint32_t kRed = 0x000A0AFF;

    enum class ENavigation { WithButtons, WithoutButtons };
    // The name of an alarm number; empty for an unknown one.
    using AlarmNames = std::function<std::string(std::uint32_t alarmId)>;

    CDeviceViewHeader(ENavigation navigation, SDeviceState& state, const CDeviceAccess& device,
                      IUIController* controller, AlarmNames alarmNames, QWidget* parent = nullptr);

    bool ApplyParameter(std::uint32_t key);
    // Shows what the DTM last received for every header key (no device read).
    void ShowAll();
    // Each box and button with its tooltip key and the text to show when the DTM has none.
    using ToolTipSink =
        std::function<void(QWidget*, const std::string& key, const std::string& fallback)>;
    void RegisterToolTips(const ToolTipSink& add) const;

    QLineEdit* AlarmCountBox() const { return m_alarmCount; }
    CRoundLed* AlarmLed() const { return m_led; }
    QLineEdit* AlarmBox() const { return m_alarm; }
    QLineEdit* ServiceBox() const { return m_service; }
    QLineEdit* SetpointModeBox() const { return m_setpointMode; }
    QLineEdit* FailureModeBox() const { return m_failureMode; }
    QPushButton* SoundButton() const { return m_sound; }

private:
    // Each header key, the kind of descriptor the DTM describes it with, and its rule, in the
    // order the strip shows them.
    struct SRule {
        std::uint32_t key;
        bool enumeration;
        void (CDeviceViewHeader::*show)(const std::string& value);
    };
    static const SRule kRules[5];

    void ShowAlarmCount(const std::string& value);
    void ShowCurrentAlarm(const std::string& value);
    void ShowMode(const std::string& value);
    void ShowSetpointMode(const std::string& value);
    void ShowProcedureState(const std::string& value);
    QLineEdit* AddBox(class QGridLayout& layout, int column, const char* label, int width);

    SDeviceState& m_state;
    const CDeviceAccess& m_device;
    IUIController* m_controller;
    AlarmNames m_alarmNames;
    QLineEdit* m_alarmCount = nullptr;
    CRoundLed* m_led = nullptr;
    QLineEdit* m_alarm = nullptr;
    QLineEdit* m_service = nullptr;
    QLineEdit* m_setpointMode = nullptr;
    QLineEdit* m_failureMode = nullptr;
    QLineEdit* m_reserve = nullptr;
    QLineEdit* m_training = nullptr;
    QPushButton* m_back = nullptr;
    QPushButton* m_dashboard = nullptr;
    QPushButton* m_sound = nullptr;
};
