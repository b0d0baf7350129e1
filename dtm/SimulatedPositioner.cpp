#include "dtm/SimulatedPositioner.h"

CSimulatedPositioner::CSimulatedPositioner(const CParameterDictionary& dictionary,
                                           const SFaultSwitches& faults)
    : m_store(dictionary), m_alarms(m_store), m_serviceMode(m_store), m_services(m_store, faults) {
    m_alarms.Raise(kStartAlarm);
    m_dispatcher.Register(CServiceModeProcedure::kTargetKey,
                          [this](const std::string& value) { m_serviceMode.Start(value); });
}

bool CSimulatedPositioner::Write(std::uint32_t key, const std::string& value) {
    if (!m_store.Write(key, value)) {
        return false;
    }
    m_dispatcher.Dispatch(key, value);
    return true;
}
