#pragma once

#include "views/common/DeviceView.h"

#include <cstdint>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;

// The five alarms that can switch a digital output: deviation, limit, position vs pressure
// difference, temperature and C+ pressure. Each has its on/off flag, limits, output, valve
// action, category and priority, and its own Apply, which writes its record and the category
// and priority bits of 0x0159 (elements 1 to 4).
class CDigitalOutPutAlarmConfigurationView
    : public CDeviceView<CDigitalOutPutAlarmConfigurationView, 340> {
public:
    static constexpr int kViewId = 1202;
    static constexpr std::uint32_t kEnables = 0x01590000;

    struct SValue {
        const char* label;
        std::uint32_t element;
        const char* defaultText;
    };
    struct SGroup {
        const char* title;
        std::uint32_t record;
        int field; // its two bits in the categories and priorities elements
        std::vector<SValue> values;
        std::uint32_t outputElement;
        std::uint32_t valveActionElement;
    };
    static const std::vector<SGroup>& Groups();

    explicit CDigitalOutPutAlarmConfigurationView(const SViewContext& context);

    QLineEdit* Value(std::size_t group, std::size_t value) const;
    QCheckBox* OnOff(std::size_t group) const { return m_controls[group].onOff; }
    QComboBox* CategoryChoice(std::size_t group) const { return m_controls[group].category; }
    QComboBox* PriorityChoice(std::size_t group) const { return m_controls[group].priority; }
    // The group's Apply; a value that is no number is reported and nothing is written.
    void ApplyGroup(std::size_t group);

protected:
    std::unique_ptr<QWidget> CreateDeviceContent() override;
    void OnDeviceActivated() override;
    void OnParameter(std::uint32_t key) override;

private:
    struct SControls {
        QCheckBox* onOff = nullptr;
        std::vector<QLineEdit*> values;
        QComboBox* output = nullptr;
        QComboBox* valveAction = nullptr;
        QComboBox* category = nullptr;
        QComboBox* priority = nullptr;
    };

    void Read();
    void Defaults();
    void WriteGroup(std::size_t group);

    std::vector<SControls> m_controls;
};
