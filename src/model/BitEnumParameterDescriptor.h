#pragma once

#include "model/EntryTable.h"
#include "model/ParameterDescriptor.h"

#include <optional>

// One bit of a bit enumeration; `value` is the bit's mask.
struct SBitEnumerator {
    std::string label;
    std::string tooltip;
    std::uint32_t value = 0;
};

// A set of bits, each with a label, looked up both ways.
class CBitEnumParameterDescriptor final : public CParameterDescriptor {
public:
    using Bits = CEntryTable<SBitEnumerator, &SBitEnumerator::label, &SBitEnumerator::value>;

    CBitEnumParameterDescriptor(ComPtr<IDtmParameterAccess> access, std::uint32_t parameterKey,
                                const xml::Document& document);

    // The bits in document order.
    const std::vector<SBitEnumerator>& GetBitEnumerators() const { return m_bits.List(); }
    const std::map<std::uint32_t, std::string>& GetLabelsByMask() const {
        return m_bits.ByNumber();
    }
    const std::map<std::string, std::uint32_t, std::less<>>& GetMasksByLabel() const {
        return m_bits.ByText();
    }
    // The label of a mask, or null when no bit has it.
    const std::string* GetBitLabel(std::uint32_t mask) const { return m_bits.FindText(mask); }
    std::optional<std::uint32_t> GetBitMask(std::string_view label) const {
        return m_bits.FindNumber(label);
    }

private:
    void ReadKind(const xml::Document& document, const CElementAttributes& attributes,
                  const SCommonFields& common) final;

    Bits m_bits;
};
