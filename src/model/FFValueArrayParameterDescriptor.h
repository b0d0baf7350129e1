#pragma once

#include "model/ParameterDescriptor.h"

#include <vector>

// One element of an FF value array, as the document writes it.
struct SArrayElement {
    std::string index;
    std::string value;
    std::string description;
};

// An FF value array: the type of its elements and the elements in document order.
class CFFValueArrayParameterDescriptor final : public CParameterDescriptor {
public:
    CFFValueArrayParameterDescriptor(ComPtr<IDtmParameterAccess> access, std::uint32_t parameterKey,
                                     const xml::Document& document);

    const std::string& GetElementType() const { return m_elementType; }
    const std::string& GetArrayValueType() const { return m_arrayValueType; }
    const std::vector<SArrayElement>& GetElements() const { return m_elements; }

private:
    void ReadKind(const xml::Document& document, const CElementAttributes& attributes,
                  const SCommonFields& common) final;

    std::string m_elementType;
    std::string m_arrayValueType;
    std::vector<SArrayElement> m_elements;
};
