#pragma once

#include "model/ParameterDescriptor.h"

// A number. The limits are kept exactly as the document writes them.
class CNumericParameterDescriptor final : public CParameterDescriptor {
public:
    CNumericParameterDescriptor(ComPtr<IDtmParameterAccess> access, std::uint32_t parameterKey,
                                const xml::Document& document);

    const std::string& GetMin() const { return m_min; }
    const std::string& GetMax() const { return m_max; }
    // Size in bytes of the value type; -1 for a type without a fixed size.
    int GetByteSize() const { return ByteSize(GetValueType()); }

private:
    void ReadKind(const xml::Document& document, const CElementAttributes& attributes,
                  const SCommonFields& common) final;

    std::string m_min;
    std::string m_max;
};
