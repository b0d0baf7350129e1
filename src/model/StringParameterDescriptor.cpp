#include "model/StringParameterDescriptor.h"

#include "model/Conversions.h"
#include "model/ElementAttributes.h"

CStringParameterDescriptor::CStringParameterDescriptor(ComPtr<IDtmParameterAccess> access,
                                                       std::uint32_t parameterKey,
                                                       const xml::Document& document)
    : CParameterDescriptor(std::move(access), parameterKey) {
    Load(document);
}

void CStringParameterDescriptor::ReadKind(const xml::Document&,
                                          const CElementAttributes& attributes,
                                          const SCommonFields& common) {
    const std::int32_t length = CConversions::to_int32(attributes.Get("stringLength"));
    m_packedAscii = common.valueType == EValueType::ePackedAscii;
    m_stringLength = length;
}
