#include "dtm/SimulatedDtm.h"

#include "dtm/ControlDataWriter.h"
#include "xml/Xml.h"

#include <charconv>
#include <optional>

namespace {

std::map<std::string, std::string, std::less<>>
DefaultProperties(const std::filesystem::path& data) {
    const auto file = [&data](const char* name) { return (data / name).string(); };
    return {
        {"VFDTag", "VP700_VFD"},
        {"DeviceNodeId", "20"},
        {"DTMVersion", "1.0.0"},
        {"DeviceCategory", "Valve positioner"},
        {"Manufacturer", "Vela Automation"},
        {"DeviceImagePath", file("device.png")},
        {"CompanyLogoPath", file("company-logo.png")},
        {"BrandLogoPath", file("brand-logo.png")},
        {"TooltipInformationPath", file("tooltip-information.xml")},
        {"AlarmInformationPath", file("alarm-information.xml")},
        {"DiagnosticAlarmInformationPath", file("diagnostic-alarm-information.xml")},
    };
}

// A parameter key as the functions pass it: unsigned decimal text, nothing else.
std::optional<std::uint32_t> ParseKey(const std::string& text) {
    std::uint32_t key = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, key);
    if (text.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return key;
}

std::string Text(std::int64_t number) {
    return std::to_string(number);
}

VARIANT_BOOL ToVariantBool(bool flag) {
    return flag ? VARIANT_TRUE : VARIANT_FALSE;
}

} // namespace

CSimulatedDtm::CSimulatedDtm(const std::filesystem::path& dataDirectory)
    : m_dictionary(CParameterDictionary::Load(dataDirectory / "parameters.xml")),
      m_positioner(m_dictionary, m_faults), m_dataSet(m_dictionary),
      m_properties(DefaultProperties(std::filesystem::absolute(dataDirectory))) {}

CSimulatedDtm::~CSimulatedDtm() = default;

HRESULT CSimulatedDtm::Answer(const char* operation, std::initializer_list<std::string> arguments,
                              const std::function<HRESULT()>& work) noexcept {
    try {
        m_calls.Record(operation, arguments);
        if (const auto failure = m_faults.FailureOf(operation)) {
            return *failure;
        }
        return work();
    } catch (...) {
        return E_FAIL;
    }
}

HRESULT CSimulatedDtm::QueryInterface(REFIID riid, void** object) {
    const bool hidden = riid == IDtmUIRegistration::Iid || riid == IDtmUIAccess::Iid;
    if (hidden && m_faults.hideRegistration) {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    return Implementation::QueryInterface(riid, object);
}

// --- user interface ---

HRESULT CSimulatedDtm::RegisterUI(const std::string& progId, const std::string& invokeId,
                                  IDtmActiveXControl* control, VARIANT_BOOL enable,
                                  VARIANT_BOOL* registered) {
    return Answer("RegisterUI", {progId, invokeId, Text(enable)}, [&] {
        if (registered == nullptr) {
            return E_POINTER;
        }
        *registered = ToVariantBool(Register(invokeId, control, enable));
        return S_OK;
    });
}

bool CSimulatedDtm::Register(const std::string& invokeId, IDtmActiveXControl* control,
                             VARIANT_BOOL enable) {
    if (m_faults.refuseRegistration || enable == VARIANT_FALSE) {
        return false;
    }
    ComPtr<IUpdateUI> userInterface = ComPtr<IDtmActiveXControl>(control).As<IUpdateUI>();
    if (!userInterface) {
        return false;
    }
    m_userInterfaces[invokeId] = std::move(userInterface);
    return true;
}

HRESULT CSimulatedDtm::UnregisterUI(const std::string& invokeId, VARIANT_BOOL registered,
                                    VARIANT_BOOL* result) {
    return Answer("UnregisterUI", {invokeId, Text(registered)}, [&] {
        if (result == nullptr) {
            return E_POINTER;
        }
        // Taken out of the map before it is released, in case the release calls back.
        const auto node = m_userInterfaces.extract(invokeId);
        *result = ToVariantBool(!node.empty());
        return S_OK;
    });
}

HRESULT CSimulatedDtm::GetStateDocument(std::string* stateDocument) {
    return Answer("GetStateDocument", {}, [&] {
        if (stateDocument == nullptr) {
            return E_POINTER;
        }
        *stateDocument = StateDocument(m_state);
        return S_OK;
    });
}

HRESULT CSimulatedDtm::GetProperty(const std::string& name, Variant* value) {
    return Answer("GetProperty", {name}, [&] {
        if (value == nullptr) {
            return E_POINTER;
        }
        const auto it = m_properties.find(name);
        *value = it != m_properties.end() ? Variant(it->second) : Variant();
        return it != m_properties.end() ? S_OK : E_INVALIDARG;
    });
}

HRESULT CSimulatedDtm::ShowUserDialog(const std::string& dialogKind, const Variant& message,
                                      VARIANT_BOOL* result) {
    return Answer("ShowUserDialog", {dialogKind, message.ToString()}, [&] {
        if (result == nullptr) {
            return E_POINTER;
        }
        if (m_userDialogHandler) {
            m_userDialogHandler(dialogKind, message.ToString());
        }
        *result = VARIANT_TRUE;
        return S_OK;
    });
}

// --- parameters ---

const SParameterDefinition* CSimulatedDtm::Describe(std::uint32_t key) const {
    return m_faults.undescribedKeys.contains(key) ? nullptr : m_dictionary.Find(key);
}

HRESULT CSimulatedDtm::GetControlData(std::int32_t request, std::uint32_t parameterKey,
                                      std::int32_t* kind, std::string* controlData) {
    return Answer("GetControlData", {Text(request), Text(parameterKey)}, [&] {
        if (kind == nullptr || controlData == nullptr) {
            return E_POINTER;
        }
        const SParameterDefinition* definition = Describe(parameterKey);
        const SDataSetEntry* entry = m_dataSet.Find(parameterKey);
        if (definition == nullptr || entry == nullptr) {
            return E_INVALIDARG;
        }
        *controlData = WriteControlData(*definition, *entry);
        *kind = static_cast<std::int32_t>(definition->kind);
        return S_OK;
    });
}

HRESULT CSimulatedDtm::SetParameterValue(std::int32_t request, std::uint32_t parameterKey,
                                         const std::string& value, std::string* response) {
    return Answer("SetParameterValue", {Text(request), Text(parameterKey), value}, [&] {
        if (response == nullptr) {
            return E_POINTER;
        }
        const SParameterDefinition* definition = Describe(parameterKey);
        *response = definition != nullptr ? definition->CheckValue(value)
                                          : "Unknown parameter " + Text(parameterKey);
        if (response->empty()) {
            m_dataSet.Change(parameterKey, value);
        }
        return S_OK;
    });
}

HRESULT CSimulatedDtm::ExecuteFunction(std::int32_t request, std::int32_t functionId,
                                       const std::string& argument, VARIANT_BOOL* result) {
    return Answer("ExecuteFunction", {Text(request), Text(functionId), argument}, [&] {
        if (result == nullptr) {
            return E_POINTER;
        }
        const HRESULT outcome = RunFunction(functionId, argument);
        *result = ToVariantBool(SUCCEEDED(outcome));
        return outcome;
    });
}

HRESULT CSimulatedDtm::OpenContext(const std::string& functionCall, std::int32_t* context) {
    return Answer("OpenContext", {functionCall}, [&] {
        if (context == nullptr) {
            return E_POINTER;
        }
        *context = m_nextContext++;
        return S_OK;
    });
}

HRESULT CSimulatedDtm::RunFunction(std::int32_t functionId, const std::string& argument) {
    using namespace dtm_function;
    switch (functionId) {
    case kRead:
    case kWrite: {
        const std::optional<std::uint32_t> key = ParseKey(argument);
        if (!key || Describe(*key) == nullptr) {
            return E_INVALIDARG;
        }
        if (functionId == kRead) {
            Read(*key);
        } else {
            Write(*key);
        }
        return S_OK;
    }
    case kSmIdentify:
    case kSmFindTagQuery:
    case kFmsStatus:
    case kFmsGetOd:
    case kFmsIdentify:
        return Serve(functionId, argument);
    case kWriteArrayElement:
        return WriteArrayElement(argument);
    case kLiveDataBuffer:
        m_positioner.SetpointModes().ArmAutomatic();
        return S_OK;
    case kUIStarted:
    case kUITerminated:
    case kCloseRequested:
    case kViewActivated:
        return S_OK;
    default:
        return E_NOTIMPL;
    }
}

HRESULT CSimulatedDtm::Serve(std::int32_t functionId, const std::string& argument) {
    std::optional<SServiceAnswer> answer = m_positioner.Services().Perform(functionId, argument);
    if (!answer) {
        return E_INVALIDARG;
    }
    if (!m_faults.dropServiceReplies) {
        m_bus.Send([this, answer = std::move(*answer)] {
            const ComPtr<IUnknown> keepAlive(Identity()); // a receiver may drop the last one
            Notify(answer.updateType, answer.document);
        });
    }
    return S_OK;
}

void CSimulatedDtm::Read(std::uint32_t key) {
    if (m_faults.dropReadReplies) {
        return;
    }
    m_bus.Send([this, keys = m_dictionary.ValueKeys(key)] { Deliver(keys); });
}

void CSimulatedDtm::Deliver(const std::vector<std::uint32_t>& keys) {
    const ComPtr<IUnknown> keepAlive(Identity()); // a user interface may drop the last reference
    for (const std::uint32_t key : keys) {
        if (const std::optional<std::string> value = m_positioner.Read(key)) {
            m_dataSet.Receive(key, *value);
        }
    }
    for (const std::uint32_t key : keys) {
        Notify(dtm_update::kParameterChanged, Text(key));
    }
}

void CSimulatedDtm::Write(std::uint32_t key) {
    for (const std::uint32_t valueKey : m_dictionary.ValueKeys(key)) {
        if (const SDataSetEntry* entry = m_dataSet.Find(valueKey)) {
            m_positioner.Write(valueKey, entry->value);
            m_dataSet.MarkWritten(valueKey);
        }
    }
}

HRESULT CSimulatedDtm::WriteArrayElement(const std::string& argument) {
    const xml::Document document = xml::Document::TryParse(argument);
    if (!document || document.Root().Name() != "WriteSingleArrayElement") {
        return E_INVALIDARG;
    }
    const std::optional<std::uint32_t> key = ParseKey(document.Root().Attribute("@arrayID"));
    const std::optional<std::uint32_t> index = ParseKey(document.Root().Attribute("@elementIndex"));
    const SParameterDefinition* definition = key ? m_dictionary.Find(*key) : nullptr;
    const SDataSetEntry* entry = m_dataSet.Find(key.value_or(0));
    if (!index || definition == nullptr || entry == nullptr ||
        definition->kind != EDescriptorKind::ValueArray) {
        return E_INVALIDARG;
    }
    const std::vector<std::string> elements = CDeviceModel::SplitArray(entry->value);
    if (*index == 0 || *index > elements.size() ||
        !m_positioner.WriteArrayElement(*key, *index, elements[*index - 1])) {
        return E_INVALIDARG;
    }
    if (m_positioner.Read(*key) == entry->value) {
        m_dataSet.MarkWritten(*key);
    }
    return S_OK;
}

// --- state ---

void CSimulatedDtm::Notify(std::int32_t updateType, const std::string& data) {
    std::vector<ComPtr<IUpdateUI>> receivers; // a receiver may unregister while notified
    for (const auto& entry : m_userInterfaces) {
        receivers.push_back(entry.second);
    }
    for (const ComPtr<IUpdateUI>& receiver : receivers) {
        receiver->UpdateUI(updateType, Variant(data));
    }
}

template <class T> void CSimulatedDtm::ChangeState(T SDtmState::*field, T value) {
    if (m_state.*field == value) {
        return;
    }
    m_state.*field = std::move(value);
    Notify(dtm_update::kStateDocument, StateDocument(m_state));
}

void CSimulatedDtm::SetName(std::string name) {
    ChangeState(&SDtmState::name, std::move(name));
}
void CSimulatedDtm::SetState(std::string state) {
    ChangeState(&SDtmState::state, std::move(state));
}
void CSimulatedDtm::SetDataSetState(std::string dataSetState) {
    ChangeState(&SDtmState::dataSetState, std::move(dataSetState));
}
void CSimulatedDtm::SetUserLevel(std::string userLevel) {
    ChangeState(&SDtmState::userLevel, std::move(userLevel));
}
void CSimulatedDtm::SetPrivateDialogEnabled(bool enabled) {
    ChangeState(&SDtmState::isPrivateDialogEnabled, enabled);
}
void CSimulatedDtm::SetCommunicating(bool communicating) {
    ChangeState(&SDtmState::isCommunicating, communicating);
}
void CSimulatedDtm::SetModifiedInDevice(bool modified) {
    ChangeState(&SDtmState::modifiedInDevice, modified);
}

void CSimulatedDtm::SetProperty(const std::string& name, std::string value) {
    m_properties[name] = std::move(value);
}

void CSimulatedDtm::SetUserDialogHandler(UserDialogHandler handler) {
    m_userDialogHandler = std::move(handler);
}
