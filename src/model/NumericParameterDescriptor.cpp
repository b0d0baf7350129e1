#include "model/NumericParameterDescriptor.h"

#include "model/ElementAttributes.h"

CNumericParameterDescriptor::CNumericParameterDescriptor(ComPtr<IDtmParameterAccess> access,
                                                         std::uint32_t parameterKey,
                                                         const xml::Document& document)
    : CParameterDescriptor(std::move(access), parameterKey) {
    Load(document);
}

void CNumericParameterDescriptor::ReadKind(const xml::Document&,
                                           const CElementAttributes& attributes,
                                           const SCommonFields&) {
    std::string max = attributes.Get("max");
    std::string min = attributes.Get("min");
    m_max = std::move(max);
    m_min = std::move(min);
}
