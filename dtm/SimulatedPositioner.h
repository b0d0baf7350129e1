#pragma once

#include "dtm/AlarmEngine.h"
#include "dtm/AlarmLog.h"
#include "dtm/BufferServer.h"
#include "dtm/CommandDispatcher.h"
#include "dtm/DeviceModel.h"
#include "dtm/EventLog.h"
#include "dtm/FieldbusServices.h"
#include "dtm/LiveValues.h"
#include "dtm/TrendHistory.h"
#include "dtm/procedures/CalibrationProcedure.h"
#include "dtm/procedures/FailureModeProcedure.h"
#include "dtm/procedures/PartialStrokeProcedure.h"
#include "dtm/procedures/ServiceModeProcedure.h"
#include "dtm/procedures/SetpointModeProcedure.h"
#include "dtm/procedures/ValveTestProcedure.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

class CParameterDictionary;
struct SFaultSwitches;

// The simulated Vela VP-700 positioner as the bus sees it: the parameter store, the alarm
// engine that keeps the alarm parameters and the alarm log, the command dispatcher that hands
// writes of command elements to the procedures (service mode, valve tests, partial stroke test,
// calibrations, the failure mode), the buffer server with the event log, the alarm log, the test
// results, the trends and the travel histogram, the fieldbus services and the live process values.
// DEVICE.md is its contract.
class CSimulatedPositioner {
public:
    // Alarms active when the positioner starts, matching the dictionary's default values.
    static constexpr std::uint32_t kStartAlarm = 22;
    static constexpr std::uint32_t kSetpointModeKey = CSetpointModeProcedure::kModeKey;
    static constexpr std::uint32_t kCommandKey = 0x015B0001;
    static constexpr std::uint8_t kEventLogFrameType = 39;
    static constexpr std::uint8_t kAlarmLogFrameType = 40;
    // The device clock: year offset from 2000, month, day, hour, minute, second.
    static constexpr std::uint32_t kClockKey = 0x01690001;
    static constexpr std::uint32_t kClockSecondKey = 0x01690006;
    // The valve's characteristic may only change out of service.
    static constexpr std::uint32_t kCharacteristicKey = 0x01140000;
    static constexpr std::uint32_t kFailActionKey = 0x01190000;
    // The positioner's device revision, and the resource block's copy of it.
    static constexpr std::uint32_t kDeviceRevisionKey = 0x01620000;
    static constexpr std::uint32_t kResourceDeviceRevisionKey = 0x020C0000;
    // The block mode records of the resource, PID and analog output blocks (element 1 the
    // target, 2 the actual mode); the transducer block's is the service mode procedure's.
    static constexpr std::uint32_t kBlockModeKeys[] = {0x02050000, 0x03050000, 0x04050000};

    CSimulatedPositioner(const CParameterDictionary& dictionary, const SFaultSwitches& faults);
    CSimulatedPositioner(const CSimulatedPositioner&) = delete;
    CSimulatedPositioner& operator=(const CSimulatedPositioner&) = delete;

    std::optional<std::string> Read(std::uint32_t key) const { return m_store.Read(key); }
    // A write from the bus: the value is stored, then a command element starts what it
    // commands. False (and nothing happens) for a key the device does not hold. A write the
    // device refuses (Accepts) is undone: true, and nothing changes.
    bool Write(std::uint32_t key, const std::string& value);
    // A write of element `index` (from 1) of a value array from the bus: the other elements
    // stay; then as Write. False (and nothing happens) when the device holds no such element.
    bool WriteArrayElement(std::uint32_t key, std::size_t index, const std::string& value);
    // False when the device keeps its value against a write from the bus: a read-only
    // parameter, or the characteristic while the positioner is in service.
    bool Accepts(std::uint32_t key) const;

    // The store itself: a write here changes the value and starts nothing.
    CDeviceModel& Store() { return m_store; }
    CAlarmEngine& Alarms() { return m_alarms; }
    // The alarm log (frame type 40); the alarm engine keeps it.
    const CAlarmLog& AlarmLog() const { return m_alarmLog; }
    CServiceModeProcedure& ServiceMode() { return m_serviceMode; }
    // Commands 45 and 46 and DTM function 7.
    CSetpointModeProcedure& SetpointModes() { return m_setpointModes; }
    // The ramp and multi-step tests and their result buffers.
    CValveTestProcedure& ValveTests() { return m_valveTests; }
    // The partial stroke test, manual and automatic, and its result buffers.
    CPartialStrokeProcedure& PartialStroke() { return m_partialStroke; }
    // The automatic calibration procedures (service mode target 1 to 4, 255) and the
    // calibration steps (command element 0 to 8, 13 to 19, 255).
    CCalibrationProcedure& Calibration() { return m_calibration; }
    // Commands 33 and 34.
    CFailureModeProcedure& FailureMode() { return m_failureMode; }
    // The live process values; commands 41 and 42 take a snapshot of them into the store.
    CLiveValues& Live() { return m_live; }
    // The trend buffers (commands 192 to 203) and the travel histogram (command 31), from a
    // simulated history that is the same at every start.
    const CTrendHistory& Trends() const { return m_trends; }
    const CTravelHistogram& Histogram() const { return m_trends.Histogram(); }
    CEventLog& Events() { return m_events; }
    CBufferServer& Buffers() { return m_buffers; }
    // The device clock as the store holds it; it does not run by itself.
    SDeviceTime Clock() const;
    const CFieldbusServices& Services() const { return m_services; }

private:
    // Value buffer `type`, prepared by the command of the same number.
    void ServeValues(std::uint8_t type, CBufferServer::ValueSource source);
    // Record buffer `type` of `recordSize`-byte records, prepared by the command of the same
    // number.
    void ServeRecords(std::uint8_t type, std::size_t recordSize, CBufferServer::Source source);
    void RegisterAlarms();
    void RegisterValveTests();
    void RegisterPartialStroke();
    void RegisterTrends();
    void RegisterCalibration();
    void RegisterLiveValues();
    void RegisterFailureMode();
    void RegisterBlocks();

    const CParameterDictionary& m_dictionary;
    const SFaultSwitches& m_faults;
    CDeviceModel m_store;
    CEventLog m_events;
    CAlarmLog m_alarmLog;
    CAlarmEngine m_alarms;
    CServiceModeProcedure m_serviceMode;
    CSetpointModeProcedure m_setpointModes;
    CValveTestProcedure m_valveTests;
    CPartialStrokeProcedure m_partialStroke;
    CCalibrationProcedure m_calibration;
    CFailureModeProcedure m_failureMode;
    CLiveValues m_live;
    CTrendHistory m_trends;
    CCommandDispatcher m_dispatcher;
    CBufferServer m_buffers;
    CFieldbusServices m_services;
};
