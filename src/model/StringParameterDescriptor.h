#pragma once

#include "model/ParameterDescriptor.h"

// A text, packed ASCII or plain, with its maximum length.
class CStringParameterDescriptor final : public CParameterDescriptor {
public:
    CStringParameterDescriptor(ComPtr<IDtmParameterAccess> access, std::uint32_t parameterKey,
                               const xml::Document& document);

    bool IsPackedAscii() const { return m_packedAscii; }
    std::int32_t GetStringLength() const { return m_stringLength; }

private:
    void ReadKind(const xml::Document& document, const CElementAttributes& attributes,
                  const SCommonFields& common) final;

    bool m_packedAscii = false;
    std::int32_t m_stringLength = 0;
};
