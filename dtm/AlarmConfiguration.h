#pragma once

#include "dtm/AlarmLog.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

class CDeviceModel;

// The alarm configuration as the parameter store holds it: the enables record, the records of
// the digital output alarms, the diagnostic alarm configuration array and the symptom limits.
// It reads them for the alarm engine and the alarm log, and keeps the enable bits of the
// enables record and the enabled elements of the configuration array alike.
class CAlarmConfiguration {
public:
    static constexpr std::uint32_t kDeviationAlarmKey = 0x01350000;
    static constexpr std::uint32_t kLimitAlarmKey = 0x01360000;
    static constexpr std::uint32_t kCPlusPressureAlarmKey = 0x01370000;
    static constexpr std::uint32_t kTemperatureAlarmKey = 0x01380000;
    static constexpr std::uint32_t kPositionPressureAlarmKey = 0x01390000;
    static constexpr std::uint32_t kSummaryKey = 0x01410000;
    static constexpr std::uint32_t kAcknowledgeKey = 0x01580000;
    static constexpr std::uint32_t kEnablesKey = 0x01590000;
    static constexpr std::uint32_t kDiagnosticConfigKey = 0x017A0000;
    static constexpr std::uint32_t kSymptomLimitsKey = 0x017B0000;

    // Elements of the summary record and of the enables record.
    static constexpr std::uint32_t kSummaryLogSize = 1;
    static constexpr std::uint32_t kSummaryAcknowledged = 2;
    static constexpr std::uint32_t kSummaryAcknowledgedState = 3;
    static constexpr std::uint32_t kSummaryActiveCount = 4;
    static constexpr std::uint32_t kEnablesCategories = 3;
    static constexpr std::uint32_t kEnablesPriorities = 4;
    // The active diagnostic alarms as the enable bits: element 5 as element 1, 6 as 2.
    static constexpr std::uint32_t kEnablesActive = 5;
    // The summary's acknowledged state of an alarm that is not in the log.
    static constexpr std::uint8_t kNotInLog = 255;

    // Elements of the limit records (limit, C+ pressure, temperature).
    static constexpr std::uint32_t kOnOff = 1;
    static constexpr std::uint32_t kHi = 4;
    static constexpr std::uint32_t kHysteresis = 6;

    static constexpr std::uint32_t kDeviationAlarm = 1;
    static constexpr std::uint32_t kTemperatureAlarm = 6;
    static constexpr std::uint32_t kPositionPressureAlarm = 87;

    // The diagnostic alarms in id order: those of the diagnostic alarm information file.
    static constexpr std::array<std::uint8_t, 52> kDiagnosticAlarms = {
        8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 22, 23, 28, 29, 30, 31, 33,
        34, 36, 39, 40, 45, 48, 49, 50, 51, 52, 53, 54, 55, 58, 59, 60, 62, 65,
        67, 69, 70, 71, 74, 75, 76, 77, 78, 79, 80, 82, 83, 84, 85, 86};
    // Values per diagnostic alarm in the configuration array: enabled, category, priority.
    static constexpr std::size_t kConfigValues = 3;

    explicit CAlarmConfiguration(CDeviceModel& store) : m_store(store) {}

    // The position of a diagnostic alarm in kDiagnosticAlarms; nothing for other alarms.
    static std::optional<std::size_t> DiagnosticIndex(std::uint32_t alarm);
    // The two-bit field of a digital output alarm in the categories and priorities elements:
    // deviation 0, limit 1, C+ pressure 2, temperature 3, position vs pressure 4.
    static std::optional<std::size_t> DigitalOutputField(std::uint32_t alarm);
    // Bit i of the result for the diagnostic alarm at index i among `alarms`.
    static std::uint64_t DiagnosticBits(std::span<const std::uint32_t> alarms);

    // The configured category and priority; "Maintenance Required", "Medium" for an alarm
    // that has none.
    SAlarmClass ClassOf(std::uint32_t alarm) const;
    // Element `element` of record `record` as a number; `absent` when it is not one.
    double Number(std::uint32_t record, std::uint32_t element, double absent = 0) const;

    // The configuration array's enabled elements from the enable bits, and the reverse.
    void CopyEnablesToArray();
    void CopyArrayToEnables();

private:
    std::uint64_t EnableBits() const;

    CDeviceModel& m_store;
};
