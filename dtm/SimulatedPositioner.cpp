#include "dtm/SimulatedPositioner.h"

#include "dtm/AlarmConfiguration.h"
#include "dtm/FaultSwitches.h"
#include "dtm/ParameterDictionary.h"

#include <charconv>
#include <utility>

CSimulatedPositioner::CSimulatedPositioner(const CParameterDictionary& dictionary,
                                           const SFaultSwitches& faults)
    : m_dictionary(dictionary), m_faults(faults), m_store(dictionary),
      m_events([this] { return Clock(); }), m_alarmLog([this](std::uint32_t alarm) {
          return CAlarmConfiguration(m_store).ClassOf(alarm);
      }),
      m_alarms(m_store, &m_events, &m_alarmLog), m_serviceMode(m_store),
      m_setpointModes([this](int mode) { Write(kSetpointModeKey, std::to_string(mode)); }),
      m_valveTests(m_store, dictionary, faults.procedures),
      m_partialStroke(m_store, dictionary, faults.procedures, m_valveTests, m_events),
      m_calibration(m_store, dictionary, faults.calibration, m_events, m_valveTests),
      m_failureMode(m_store), m_live(m_store), m_buffers(m_store, faults.frames),
      m_services(m_store, faults) {
    m_events.AppendHistory(Clock());
    m_alarms.Raise(kStartAlarm);
    m_dispatcher.Register(CServiceModeProcedure::kTargetKey,
                          [this](const std::string& value) { m_serviceMode.Start(value); });
    ServeRecords(kEventLogFrameType, CEventLog::kRecordSize, [this] { return m_events.Bytes(); });
    // The clock is set element by element, the second last.
    m_dispatcher.Register(kClockSecondKey, [this](const std::string&) {
        m_events.Append(CEventLog::kTimeSynchronisation, 0);
    });
    RegisterValveTests();
    RegisterPartialStroke();
    RegisterTrends();
    RegisterCalibration();
    RegisterAlarms();
    RegisterLiveValues();
    RegisterFailureMode();
    RegisterBlocks();
}

void CSimulatedPositioner::RegisterAlarms() {
    using Configuration = CAlarmConfiguration;
    ServeRecords(kAlarmLogFrameType, CAlarmLog::kRecordSize, [this] { return m_alarmLog.Bytes(); });
    m_dispatcher.Register(Configuration::kAcknowledgeKey, [this](const std::string& value) {
        std::uint32_t alarm = 0;
        std::from_chars(value.data(), value.data() + value.size(), alarm);
        m_alarms.Acknowledge(alarm);
    });
    // The enable bits and the configuration array's enabled elements say the same.
    for (const std::uint32_t element : {1u, 2u}) {
        m_dispatcher.Register(Configuration::kEnablesKey + element, [this](const std::string&) {
            Configuration(m_store).CopyEnablesToArray();
        });
    }
    m_dispatcher.Register(Configuration::kDiagnosticConfigKey, [this](const std::string&) {
        Configuration(m_store).CopyArrayToEnables();
    });
}

void CSimulatedPositioner::RegisterLiveValues() {
    const auto snapshot = [this] {
        m_live.Snapshot();
        m_alarms.CheckTemperature(m_live.Last().temperature);
    };
    m_dispatcher.Register(kCommandKey, CLiveValues::kSnapshotCommand,
                          [snapshot](const std::string&) { snapshot(); });
    m_dispatcher.Register(kCommandKey, CLiveValues::kRefreshCommand,
                          [this, snapshot](const std::string&) {
                              snapshot();
                              m_live.CountRefresh();
                          });
    // The setpoint holds in every mode but automatic, whoever writes the mode.
    m_store.Follow(kSetpointModeKey, [this](const std::string& mode) {
        m_live.HoldSetpoint(mode != std::to_string(CSetpointModeProcedure::kAutomatic));
    });
    for (const std::uint8_t command :
         {CSetpointModeProcedure::kDtmCommand, CSetpointModeProcedure::kLocalOverrideCommand}) {
        m_dispatcher.Register(kCommandKey, command, [this, command](const std::string&) {
            m_setpointModes.Command(command);
        });
    }
}

void CSimulatedPositioner::RegisterFailureMode() {
    using FailureMode = CFailureModeProcedure;
    for (const std::uint8_t command :
         {FailureMode::kActivateCommand, FailureMode::kDeactivateCommand}) {
        m_dispatcher.Register(kCommandKey, command, [this, command](const std::string&) {
            m_failureMode.Command(command);
        });
    }
    // The valve goes to its fail position while the state says failure mode, whoever wrote it.
    m_store.Follow(FailureMode::kStateKey, [this](const std::string& state) {
        if (state != std::to_string(FailureMode::kActive)) {
            m_live.Fail(std::nullopt);
            return;
        }
        int action = 0;
        const std::string text = m_store.Read(kFailActionKey).value_or("0");
        std::from_chars(text.data(), text.data() + text.size(), action);
        m_live.Fail(action == 1   ? EFailAction::Open
                    : action == 2 ? EFailAction::HoldLastPosition
                                  : EFailAction::Close);
    });
}

void CSimulatedPositioner::RegisterBlocks() {
    // The other blocks take their target mode at once.
    for (const std::uint32_t mode : kBlockModeKeys) {
        m_store.Follow(
            mode + 1, [this, mode](const std::string& target) { m_store.Write(mode + 2, target); });
    }
    m_store.Follow(kDeviceRevisionKey, [this](const std::string& revision) {
        m_store.Write(kResourceDeviceRevisionKey, revision);
    });
}

void CSimulatedPositioner::RegisterValveTests() {
    using Tests = CValveTestProcedure;
    struct SStart {
        std::uint8_t command;
        EValveTest test;
    };
    for (const SStart start : {SStart{Tests::kOneWayRampCommand, EValveTest::OneWayRamp},
                               SStart{Tests::kRoundTripRampCommand, EValveTest::RoundTripRamp},
                               SStart{Tests::kMultiStepCommand, EValveTest::MultiStep}}) {
        m_dispatcher.Register(kCommandKey, start.command, [this, start](const std::string&) {
            m_valveTests.Start(start.test);
        });
    }
    // 255 ends whatever runs under the procedure state: a valve test or a calibration step.
    m_dispatcher.Register(kCommandKey, Tests::kAbortCommand, [this](const std::string&) {
        m_valveTests.Abort();
        m_calibration.AbortStep();
    });
    struct SResult {
        std::uint8_t type;
        const std::vector<std::int16_t>& (Tests::*buffer)() const;
    };
    for (const SResult result : {SResult{Tests::kRampSamplesFrame, &Tests::RampSamples},
                                 SResult{Tests::kStepSamplesFrame, &Tests::StepSamples},
                                 SResult{Tests::kStepFiguresFrame, &Tests::StepFigures}}) {
        ServeValues(result.type, [this, result] { return (m_valveTests.*result.buffer)(); });
    }
}

void CSimulatedPositioner::RegisterPartialStroke() {
    using Stroke = CPartialStrokeProcedure;
    m_dispatcher.Register(kCommandKey, Stroke::kStartCommand,
                          [this](const std::string&) { m_partialStroke.Start(); });
    for (const bool on : {false, true}) {
        m_dispatcher.Register(Stroke::kModeKey, on ? 1 : 0,
                              [this, on](const std::string&) { m_partialStroke.SetAutomatic(on); });
    }
    ServeRecords(Stroke::kResultsFrame, Stroke::kRecordSize,
                 [this] { return m_partialStroke.Results(); });
    ServeValues(Stroke::kVectorFrame, [this] { return m_partialStroke.Samples(); });
}

void CSimulatedPositioner::RegisterTrends() {
    for (std::size_t kind = 0; kind < CTrendHistory::kKinds; ++kind) {
        for (std::size_t span = 0; span < CTrendHistory::kSpans; ++span) {
            const auto trendKind = static_cast<ETrendKind>(kind);
            const auto trendSpan = static_cast<ETrendSpan>(span);
            ServeValues(
                CTrendHistory::FrameType(trendKind, trendSpan),
                [this, trendKind, trendSpan] { return m_trends.Hundredths(trendKind, trendSpan); });
        }
    }
    ServeValues(CTravelHistogram::kFrameType, [this] { return Histogram().Tenths(); });
}

void CSimulatedPositioner::RegisterCalibration() {
    using Calibration = CCalibrationProcedure;
    for (const std::uint8_t command :
         {Calibration::kAutoCalibration, Calibration::kTravelCalibration, Calibration::kLeakTest,
          Calibration::kAutoTune}) {
        m_dispatcher.Register(
            CServiceModeProcedure::kTargetKey, command,
            [this, command](const std::string&) { m_calibration.Start(command); });
    }
    m_dispatcher.Register(CServiceModeProcedure::kTargetKey, Calibration::kAbort,
                          [this](const std::string&) { m_calibration.Abort(); });
    for (const std::uint8_t command : Calibration::kStepCommands) {
        m_dispatcher.Register(kCommandKey, command,
                              [this, command](const std::string&) { m_calibration.Step(command); });
    }
    m_dispatcher.Register(kCommandKey, Calibration::kResetStep,
                          [this](const std::string&) { m_calibration.ResetStep(); });
}

void CSimulatedPositioner::ServeValues(std::uint8_t type, CBufferServer::ValueSource source) {
    m_buffers.RegisterValues(type, std::move(source));
    m_dispatcher.Register(kCommandKey, type,
                          [this, type](const std::string&) { m_buffers.Prepare(type); });
}

void CSimulatedPositioner::ServeRecords(std::uint8_t type, std::size_t recordSize,
                                        CBufferServer::Source source) {
    m_buffers.Register(type, recordSize, std::move(source));
    m_dispatcher.Register(kCommandKey, type,
                          [this, type](const std::string&) { m_buffers.Prepare(type); });
}

bool CSimulatedPositioner::Accepts(std::uint32_t key) const {
    const SParameterDefinition* definition = m_dictionary.Find(key);
    if (definition != nullptr && definition->readOnly) {
        return false;
    }
    return key != kCharacteristicKey || m_store.Read(CServiceModeProcedure::kModeKey) !=
                                            std::to_string(CServiceModeProcedure::kInService);
}

bool CSimulatedPositioner::WriteArrayElement(std::uint32_t key, std::size_t index,
                                             const std::string& value) {
    if (!Accepts(key)) {
        return m_store.ReadArrayElement(key, index).has_value();
    }
    if (!m_store.WriteArrayElement(key, index, value)) {
        return false;
    }
    m_dispatcher.Dispatch(key, *m_store.Read(key));
    return true;
}

bool CSimulatedPositioner::Write(std::uint32_t key, const std::string& value) {
    if (!Accepts(key)) {
        return m_store.Read(key).has_value();
    }
    const std::optional<std::string> previous = m_store.Read(key);
    if (!m_store.Write(key, value)) {
        return false;
    }
    if (key == kSetpointModeKey && previous != value) {
        int mode = 0;
        std::from_chars(value.data(), value.data() + value.size(), mode);
        m_events.Append(CEventLog::kModeChanged, static_cast<std::uint8_t>(mode & 0xFF));
    }
    if (key == kCommandKey && m_faults.commandsUnanswered) {
        return true;
    }
    m_dispatcher.Dispatch(key, value);
    return true;
}

SDeviceTime CSimulatedPositioner::Clock() const {
    int fields[6] = {0, 1, 1, 0, 0, 0};
    for (std::uint32_t i = 0; i < 6; ++i) {
        if (const std::optional<std::string> text = m_store.Read(kClockKey + i)) {
            std::from_chars(text->data(), text->data() + text->size(), fields[i]);
        }
    }
    return {fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]};
}
