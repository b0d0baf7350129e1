#include "model/BitEnumParameterDescriptor.h"

CBitEnumParameterDescriptor::CBitEnumParameterDescriptor(ComPtr<IDtmParameterAccess> access,
                                                         std::uint32_t parameterKey,
                                                         const xml::Document& document)
    : CParameterDescriptor(std::move(access), parameterKey) {
    Load(document);
}

void CBitEnumParameterDescriptor::ReadKind(const xml::Document& document, const CElementAttributes&,
                                           const SCommonFields&) {
    m_bits = Bits::Read(document, "BitEnumeratorList", "BitEnumerator", "label", "value");
}
