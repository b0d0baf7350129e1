#include "views/common/DeviceAccess.h"

#include "com/ComError.h"
#include "model/Conversions.h"
#include "model/DirectParameterAccess.h"
#include "model/EnumParameterDescriptor.h"
#include "model/FFValueArrayParameterDescriptor.h"
#include "model/NumericParameterDescriptor.h"

#include <stdexcept>
#include <utility>

CDeviceAccess::CDeviceAccess(IDirectParameterAccess* parameters,
                             ComPtr<IDtmParameterAccess> parameterAccess,
                             ComPtr<IDtmUIAccess> uiAccess)
    : m_parameters(parameters), m_parameterAccess(std::move(parameterAccess)),
      m_uiAccess(std::move(uiAccess)) {}

std::string CDeviceAccess::KeyText(std::uint32_t key) {
    return std::to_string(key);
}

const IParameterDescription* CDeviceAccess::Describe(std::uint32_t key) const {
    // The descriptor access reads the DTM's control data anew for a descriptor it already
    // holds, so the value is the DTM's latest without a second read.
    return m_parameters ? m_parameters->GetParameterDescription(kRequest, key) : nullptr;
}

std::optional<std::pair<double, double>> CDeviceAccess::FetchLimits(std::uint32_t key) const {
    const auto* numeric = dynamic_cast<const CNumericParameterDescriptor*>(Describe(key));
    if (numeric == nullptr) {
        return std::nullopt;
    }
    try {
        return std::pair(CConversions::to_double(numeric->GetMin()),
                         CConversions::to_double(numeric->GetMax()));
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::optional<std::vector<std::pair<std::uint32_t, std::string>>>
CDeviceAccess::FetchChoices(std::uint32_t key) const {
    const auto* enumeration = dynamic_cast<const CEnumParameterDescriptor*>(Describe(key));
    if (enumeration == nullptr) {
        return std::nullopt;
    }
    std::vector<std::pair<std::uint32_t, std::string>> choices;
    for (const SChoice& choice : enumeration->GetChoices()) {
        choices.emplace_back(choice.tag, choice.caption);
    }
    return choices;
}

std::optional<std::string> CDeviceAccess::FetchUnit(std::uint32_t key) const {
    const auto* numeric = dynamic_cast<const CNumericParameterDescriptor*>(Describe(key));
    return numeric ? std::optional(numeric->GetUnit()) : std::nullopt;
}

std::optional<CDeviceAccess::SParameterText> CDeviceAccess::FetchText(std::uint32_t key) const {
    const IParameterDescription* description = Describe(key);
    if (description == nullptr) {
        return std::nullopt;
    }
    SParameterText text{description->GetLabel(), description->GetValue(), description->GetUnit()};
    if (const auto* enumeration = dynamic_cast<const CEnumParameterDescriptor*>(description)) {
        if (const auto tag = enumeration->GetCurrentTag()) {
            if (const std::string* caption = enumeration->GetCaption(*tag)) {
                text.value = *caption;
            }
        }
    } else if (const auto* array =
                   dynamic_cast<const CFFValueArrayParameterDescriptor*>(description)) {
        text.value.clear();
        for (const SArrayElement& element : array->GetElements()) {
            text.value += (text.value.empty() ? "" : " ") + element.value;
        }
    }
    return text;
}

std::optional<std::vector<std::string>> CDeviceAccess::FetchArray(std::uint32_t key) const {
    const auto* array = dynamic_cast<const CFFValueArrayParameterDescriptor*>(Describe(key));
    if (array == nullptr) {
        return std::nullopt;
    }
    std::vector<std::string> values;
    values.reserve(array->GetElements().size());
    for (const SArrayElement& element : array->GetElements()) {
        values.push_back(element.value);
    }
    return values;
}

IDtmParameterAccess& CDeviceAccess::ParameterAccess() const {
    if (!m_parameterAccess) {
        throw ComError(E_NOINTERFACE, IDtmParameterAccess::Iid, "QueryInterface");
    }
    return *m_parameterAccess;
}

void CDeviceAccess::Execute(std::int32_t functionId, const std::string& argument) const {
    VARIANT_BOOL result = VARIANT_FALSE;
    ThrowIfFailed(ParameterAccess().ExecuteFunction(kRequest, functionId, argument, &result),
                  IDtmParameterAccess::Iid, "ExecuteFunction");
}

void CDeviceAccess::RequestRead(std::uint32_t key) const {
    Execute(dtm_function::kRead, KeyText(key));
}

void CDeviceAccess::SetDtmCopy(std::uint32_t key, const std::string& value) const {
    std::string response;
    ThrowIfFailed(ParameterAccess().SetParameterValue(kRequest, key, value, &response),
                  IDtmParameterAccess::Iid, "SetParameterValue");
    if (!response.empty()) {
        throw std::runtime_error(response);
    }
}

void CDeviceAccess::Write(std::uint32_t key, const std::string& value) const {
    SetDtmCopy(key, value);
    Execute(dtm_function::kWrite, KeyText(key));
}

std::string CDeviceAccess::GetProperty(const std::string& name) const {
    Variant value;
    ThrowIfFailed(UIAccess().GetProperty(name, &value), IDtmUIAccess::Iid, "GetProperty");
    return value.ToString();
}

IDtmUIAccess& CDeviceAccess::UIAccess() const {
    if (!m_uiAccess) {
        throw ComError(E_NOINTERFACE, IDtmUIAccess::Iid, "QueryInterface");
    }
    return *m_uiAccess;
}

void CDeviceAccess::ShowMessage(const std::string& text) const {
    ShowMessage(text, kInformationDialog);
}

void CDeviceAccess::ShowMessage(const std::string& text, const std::string& kind) const {
    VARIANT_BOOL result = VARIANT_FALSE;
    ThrowIfFailed(UIAccess().ShowUserDialog(kind, Variant(text), &result), IDtmUIAccess::Iid,
                  "ShowUserDialog");
}
