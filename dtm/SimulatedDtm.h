#pragma once

#include "com/ComObject.h"
#include "com/ComPtr.h"
#include "dtm/CallLog.h"
#include "dtm/DataDirectory.h"
#include "dtm/DataSet.h"
#include "dtm/DtmState.h"
#include "dtm/FaultSwitches.h"
#include "dtm/ParameterDictionary.h"
#include "dtm/SimulatedBus.h"
#include "dtm/SimulatedPositioner.h"
#include "fdt/DtmInterfaces.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

// The DTM of a simulated Vela VP-700 fieldbus positioner: the peer of the online view in
// tests and the default device of the frame.
//
// It describes the parameters of its dictionary (dictionary file "parameters.xml" in the data
// folder) in control data documents and keeps its own copy of their values (the data set).
// Function 4 reads a parameter from the device: after the bus latency, on the process
// scheduler, the data set takes the device's value and every registered user interface gets
// UpdateUI(100, decimal key), once per element when the key names a whole record; replies
// queue behind each other like frames on the bus. SetParameterValue changes the data set
// only; function 5 writes the data set's value to the device (at once), where a command
// element starts what it commands. Functions 11 to 15 are the fieldbus services: their
// response document follows after the bus latency as UpdateUI(600 to 604, document), a
// service error as UpdateUI(605, document); a find-tag or GetOD argument that is not its
// request document answers E_INVALIDARG. Function 18 writes one element of a value array
// from the data set to the device (at once); its argument is
// <WriteSingleArrayElement arrayID="decimal key" elementIndex="from 1"/>, and anything else
// (another document, a key that is no value array, an element the array does not have)
// answers E_INVALIDARG. Function 7 arms the positioner's next command 45 to return the
// setpoint mode to automatic (DEVICE.md, Setpoint modes); nothing follows on the bus.
// Functions 0, 1, 3 and 6 are accepted and do nothing else; any other function answers
// E_NOTIMPL. The positioner behind it is described in
// DEVICE.md.
//
// Every call is logged; a COM method answers E_POINTER for a null out pointer, E_INVALIDARG
// for a key that is not in the dictionary (GetControlData, functions 4 and 5) or a property
// it does not have (GetProperty, with an empty value), and E_FAIL when anything inside
// fails; no exception leaves it. The fault switches make it misbehave on purpose.
class CSimulatedDtm final
    : public ComObject<IDtmUIRegistration, IDtmUIAccess, IDtmParameterAccess> {
public:
    static constexpr int kDefaultBusLatencyMs = CSimulatedBus::kDefaultLatencyMs;
    // OpenContext answers this number first, then one more with each call.
    static constexpr std::int32_t kFirstContext = 100;

    using UserDialogHandler =
        std::function<void(const std::string& dialogKind, const std::string& message)>;

    // Loads the dictionary from `dataDirectory`; raises std::runtime_error when it cannot.
    // The properties name the information files and pictures of that folder.
    explicit CSimulatedDtm(const std::filesystem::path& dataDirectory = FindDtmDataDirectory());

    // IUnknown: while the fault switch is on, the registration interfaces are not offered.
    HRESULT QueryInterface(REFIID riid, void** object) override;

    // IDtmUIRegistration and IDtmUIAccess. A user interface is kept by its invoke id; it
    // must offer IUpdateUI, otherwise registration answers false.
    HRESULT RegisterUI(const std::string& progId, const std::string& invokeId,
                       IDtmActiveXControl* control, VARIANT_BOOL enable,
                       VARIANT_BOOL* registered) override;
    HRESULT UnregisterUI(const std::string& invokeId, VARIANT_BOOL registered,
                         VARIANT_BOOL* result) override;
    HRESULT GetStateDocument(std::string* stateDocument) override;
    HRESULT GetProperty(const std::string& name, Variant* value) override;
    HRESULT ShowUserDialog(const std::string& dialogKind, const Variant& message,
                           VARIANT_BOOL* result) override;

    // IDtmParameterAccess. SetParameterValue answers the reason in `response` when the value
    // does not suit the parameter (CheckValue) or the key is unknown; the data set keeps its
    // value then.
    HRESULT GetControlData(std::int32_t request, std::uint32_t parameterKey, std::int32_t* kind,
                           std::string* controlData) override;
    HRESULT SetParameterValue(std::int32_t request, std::uint32_t parameterKey,
                              const std::string& value, std::string* response) override;
    HRESULT ExecuteFunction(std::int32_t request, std::int32_t functionId,
                            const std::string& argument, VARIANT_BOOL* result) override;
    HRESULT OpenContext(const std::string& functionCall, std::int32_t* context) override;

    // The state document's fields. A change is reported to every registered user interface
    // with UpdateUI(1, state document); setting the value a field has reports nothing.
    const SDtmState& GetState() const { return m_state; }
    void SetName(std::string name);
    void SetState(std::string state);
    void SetDataSetState(std::string dataSetState);
    void SetUserLevel(std::string userLevel);
    void SetPrivateDialogEnabled(bool enabled);
    void SetCommunicating(bool communicating);
    void SetModifiedInDevice(bool modified);

    // Adds or replaces a named property.
    void SetProperty(const std::string& name, std::string value);
    // What ShowUserDialog does besides logging the call: the frame shows the message.
    void SetUserDialogHandler(UserDialogHandler handler);
    // The time a read or a service reply takes on the bus.
    void SetBusLatency(int milliseconds) { m_bus.SetLatency(milliseconds); }
    int GetBusLatency() const { return m_bus.GetLatency(); }

    bool IsUIRegistered() const { return !m_userInterfaces.empty(); }
    // The positioner's parameter store: a write here starts nothing.
    CDeviceModel& Device() { return m_positioner.Store(); }
    CSimulatedPositioner& Positioner() { return m_positioner; }
    const CDataSet& DataSet() const { return m_dataSet; }
    const CParameterDictionary& Dictionary() const { return m_dictionary; }
    CCallLog& Calls() { return m_calls; }
    SFaultSwitches& Faults() { return m_faults; }

private:
    // The dictionary's definition of `key`, unless a fault switch hides it.
    const SParameterDefinition* Describe(std::uint32_t key) const;
    using Implementation = ComObject<IDtmUIRegistration, IDtmUIAccess, IDtmParameterAccess>;

    ~CSimulatedDtm() override;

    // Logs the call, answers the failure the switches name, otherwise runs `work`; an
    // exception becomes E_FAIL.
    HRESULT Answer(const char* operation, std::initializer_list<std::string> arguments,
                   const std::function<HRESULT()>& work) noexcept;
    template <class T> void ChangeState(T SDtmState::*field, T value);
    void Notify(std::int32_t updateType, const std::string& data);
    bool Register(const std::string& invokeId, IDtmActiveXControl* control, VARIANT_BOOL enable);
    HRESULT RunFunction(std::int32_t functionId, const std::string& argument);
    HRESULT Serve(std::int32_t functionId, const std::string& argument);
    void Read(std::uint32_t key);
    void Write(std::uint32_t key);
    HRESULT WriteArrayElement(const std::string& argument);
    void Deliver(const std::vector<std::uint32_t>& keys);

    CParameterDictionary m_dictionary;
    SFaultSwitches m_faults;
    CSimulatedPositioner m_positioner;
    CDataSet m_dataSet;
    SDtmState m_state;
    std::map<std::string, std::string, std::less<>> m_properties;
    std::map<std::string, ComPtr<IUpdateUI>> m_userInterfaces; // by invoke id
    UserDialogHandler m_userDialogHandler;
    CCallLog m_calls;
    CSimulatedBus m_bus{this}; // first to go: no reply runs after the rest of this object
    std::int32_t m_nextContext = kFirstContext;
};
