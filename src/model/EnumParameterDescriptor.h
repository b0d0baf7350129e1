#pragma once

#include "model/EntryTable.h"
#include "model/ParameterDescriptor.h"

#include <optional>

// One choice of an enumeration.
struct SChoice {
    std::string caption;
    std::string tooltip;
    std::uint32_t tag = 0;
};

// An enumeration: its choices, looked up both ways, and the choice of the current value.
class CEnumParameterDescriptor final : public CParameterDescriptor {
public:
    using Choices = CEntryTable<SChoice, &SChoice::caption, &SChoice::tag>;

    CEnumParameterDescriptor(ComPtr<IDtmParameterAccess> access, std::uint32_t parameterKey,
                             const xml::Document& document);

    // The choices in document order.
    const std::vector<SChoice>& GetChoices() const { return m_choices.List(); }
    const std::map<std::uint32_t, std::string>& GetCaptionsByTag() const {
        return m_choices.ByNumber();
    }
    const std::map<std::string, std::uint32_t, std::less<>>& GetTagsByCaption() const {
        return m_choices.ByText();
    }
    // The caption of a tag, or null when no choice has it.
    const std::string* GetCaption(std::uint32_t tag) const { return m_choices.FindText(tag); }
    std::optional<std::uint32_t> GetTag(std::string_view caption) const {
        return m_choices.FindNumber(caption);
    }
    // The value read as a decimal tag; nothing when the value is not one.
    std::optional<std::uint32_t> GetCurrentTag() const { return m_currentTag; }

private:
    void ReadKind(const xml::Document& document, const CElementAttributes& attributes,
                  const SCommonFields& common) final;

    Choices m_choices;
    std::optional<std::uint32_t> m_currentTag;
};
