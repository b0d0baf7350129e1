#pragma once

#include "views/common/DeviceView.h"

#include <array>
#include <cstdint>
#include <vector>

class CDiagnosticAlarmInformation;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

// One diagnostic alarm's configuration: enabled, category, priority, and the limits of its
// symptom group. Read fetches the device's configuration array and symptom limits; Apply
// writes the alarm's elements one by one (DTM function 18) instead of the whole arrays.
class CDiagnosticsAlarmConfgurationView
    : public CDeviceView<CDiagnosticsAlarmConfgurationView, 330> {
public:
    static constexpr int kViewId = 1203;
    static constexpr int kRows = 10;
    static constexpr std::uint32_t kConfigArray = 0x017A0000;
    static constexpr std::uint32_t kLimitsArray = 0x017B0000;
    static constexpr std::uint32_t kEnables = 0x01590000;
    static constexpr std::size_t kConfigValues = 3; // enabled, category, priority
    static constexpr const char* kHelp =
        "1. Select any Diagnostic Alarm from the Alarm Description dropdown list and click on "
        "Read button to display symptom limits.\n\n2. Modify the symptom limits and click on "
        "Apply button to write new symptom limits into the device.";

    explicit CDiagnosticsAlarmConfgurationView(const SViewContext& context);

    // Chooses the alarm of that name (as the "Alarm" list offers it).
    void ChooseAlarm(const QString& name);
    std::uint32_t SelectedAlarm() const;
    QLineEdit* Value(int row) const { return m_values[static_cast<std::size_t>(row)]; }
    QLineEdit* Label(int row) const { return m_labels[static_cast<std::size_t>(row)]; }
    QCheckBox* Enabled() const { return m_enabled; }
    QComboBox* Category() const { return m_category; }
    QComboBox* Priority() const { return m_priority; }
    QString Message() const;

protected:
    std::unique_ptr<QWidget> CreateDeviceContent() override;
    void OnParameter(std::uint32_t key) override;

private:
    void ShowLabels();
    void Read();
    void Defaults();
    void Apply();
    // The alarm's index among the diagnostic alarms, in id order; -1 for none.
    int AlarmIndex() const;
    // Sets element `index` (1-based) of array `key` in the DTM's copy and writes only it.
    void WriteElement(std::uint32_t key, std::vector<std::string>& values, std::uint32_t index,
                      const std::string& value);

    const CDiagnosticAlarmInformation* m_alarms;
    std::vector<std::uint32_t> m_alarmIds; // the "Alarm" list's alarms, in id order
    QComboBox* m_alarm = nullptr;
    QComboBox* m_category = nullptr;
    QComboBox* m_priority = nullptr;
    QCheckBox* m_enabled = nullptr;
    std::array<QLineEdit*, kRows> m_values{};
    std::array<QLineEdit*, kRows> m_labels{};
    QLabel* m_message = nullptr;
};
