#include "model/EnumParameterDescriptor.h"

#include <exception>

namespace {

std::optional<std::uint32_t> TagOf(const std::string& value) {
    try {
        return CConversions::to_uint32(value);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

} // namespace

CEnumParameterDescriptor::CEnumParameterDescriptor(ComPtr<IDtmParameterAccess> access,
                                                   std::uint32_t parameterKey,
                                                   const xml::Document& document)
    : CParameterDescriptor(std::move(access), parameterKey) {
    Load(document);
}

void CEnumParameterDescriptor::ReadKind(const xml::Document& document, const CElementAttributes&,
                                        const SCommonFields& common) {
    m_choices = Choices::Read(document, "ChoiceCollection", "Choice", "caption", "tag");
    m_currentTag = TagOf(common.value);
}
