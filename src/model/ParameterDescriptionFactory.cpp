#include "model/ParameterDescriptionFactory.h"

#include "model/BitEnumParameterDescriptor.h"
#include "model/DateOrTimeParameterDescriptor.h"
#include "model/EnumParameterDescriptor.h"
#include "model/FFValueArrayParameterDescriptor.h"
#include "model/NumericParameterDescriptor.h"
#include "model/StringParameterDescriptor.h"
#include "xml/Xml.h"

#include <stdexcept>

namespace {

using Descriptor = std::unique_ptr<CParameterDescriptor>;
using Access = ComPtr<IDtmParameterAccess>;

template <class T>
Descriptor Make(const Access& access, std::uint32_t key, const xml::Document& document) {
    return std::make_unique<T>(access, key, document);
}

// Kind 6: the class follows the value type of the document's ControlData element.
Descriptor MakeDateOrTime(const Access& access, std::uint32_t key, const xml::Document& document) {
    const xml::Node controlData = FindControlData(document);
    const std::string keyword = controlData ? controlData.Attribute("@valueType") : "";
    switch (FindValueType(keyword).value_or(EValueType::eUnknownValueType)) {
    case EValueType::eDate:
        return Make<CDateParameterDescriptor>(access, key, document);
    case EValueType::eTime:
        return Make<CTimeParameterDescriptor>(access, key, document);
    case EValueType::eFFTimeValue:
        return Make<CFFTimeValueParameterDescriptor>(access, key, document);
    case EValueType::eFFDateAndTime:
        return Make<CFFDateTimeParameterDescriptor>(access, key, document);
    case EValueType::eFFDuration:
        return Make<CFFDurationParameterDescriptor>(access, key, document);
    default:
        return nullptr;
    }
}

using Maker = Descriptor (*)(const Access&, std::uint32_t, const xml::Document&);

// Indexed by kind; null where the kind has no descriptor.
constexpr Maker kMakers[] = {
    &Make<CNumericParameterDescriptor>,
    &Make<CStringParameterDescriptor>,
    &Make<CEnumParameterDescriptor>,
    &Make<CBitEnumParameterDescriptor>,
    nullptr,
    nullptr,
    &MakeDateOrTime,
    &Make<CFFValueArrayParameterDescriptor>,
};

} // namespace

CParameterDescriptionFactory::CParameterDescriptionFactory(ComPtr<IDtmParameterAccess> access)
    : m_access(std::move(access)) {
    if (!m_access) {
        throw std::invalid_argument("The descriptor factory needs the DTM's IDtmParameterAccess");
    }
}

IParameterDescription*
CParameterDescriptionFactory::GetParameterDescription(std::int32_t request,
                                                      std::uint32_t parameterKey) {
    if (const auto it = m_cache.find(parameterKey); it != m_cache.end()) {
        if (it->second) {
            it->second->Update(request);
        }
        return it->second.get();
    }
    Descriptor descriptor = Build(parameterKey, FetchControlData(*m_access, request, parameterKey));
    return m_cache.emplace(parameterKey, std::move(descriptor)).first->second.get();
}

Descriptor CParameterDescriptionFactory::Build(std::uint32_t parameterKey,
                                               const SControlData& reply) const {
    if (reply.kind < 0 || static_cast<std::size_t>(reply.kind) >= std::size(kMakers) ||
        kMakers[reply.kind] == nullptr) {
        return nullptr;
    }
    return kMakers[reply.kind](m_access, parameterKey, xml::Document::TryParse(reply.document));
}
