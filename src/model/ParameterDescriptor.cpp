#include "model/ParameterDescriptor.h"

#include "com/ComError.h"
#include "model/Conversions.h"
#include "model/ElementAttributes.h"
#include "xml/Xml.h"

#include <algorithm>
#include <stdexcept>
#include <string_view>
#include <utility>

SControlData FetchControlData(IDtmParameterAccess& access, std::int32_t request,
                              std::uint32_t parameterKey) {
    SControlData reply;
    ThrowIfFailed(access.GetControlData(request, parameterKey, &reply.kind, &reply.document),
                  IDtmParameterAccess::Iid, "IDtmParameterAccess::GetControlData");
    return reply;
}

namespace {

std::uint32_t TimestampGroup(std::string_view text, std::size_t index) {
    constexpr std::size_t width = 4;
    const std::size_t start = std::min(index * width, text.size());
    return CConversions::to_uint32(text.substr(start, width));
}

// Characters 0-3, 4-7, 8-11 and 12-15 as unsigned decimal numbers. A group that is missing
// because the text is short is empty and raises "Input is empty".
STimestamp ParseTimestamp(std::string_view text) {
    STimestamp stamp;
    stamp.group1 = CConversions::to_uint16(TimestampGroup(text, 0));
    stamp.group2 = CConversions::to_uint16(TimestampGroup(text, 1));
    stamp.group3 = CConversions::to_uint16(TimestampGroup(text, 2));
    stamp.group4 = TimestampGroup(text, 3);
    return stamp;
}

SCommonFields ReadCommon(const CElementAttributes& attributes) {
    SCommonFields common;
    common.label = attributes.Get("label");
    common.unit = attributes.Get("unit");
    common.name = attributes.Get("name");
    common.value = attributes.Get("value");
    common.tooltip = attributes.Get("tooltip");
    common.timestamp = ParseTimestamp(attributes.Get("timestamp"));
    common.parameterType = ToParameterType(attributes.Get("parameterType"));
    common.valueType = ToValueType(attributes.Get("valueType"));
    return common;
}

} // namespace

xml::Node FindControlData(const xml::Document& document) {
    if (!document) {
        return {};
    }
    return FindFirstElement(document.Root(), "ControlData");
}

CParameterDescriptor::CParameterDescriptor(ComPtr<IDtmParameterAccess> access,
                                           std::uint32_t parameterKey)
    : m_access(std::move(access)), m_parameterKey(parameterKey) {
    if (!m_access) {
        throw std::invalid_argument("A parameter descriptor needs the DTM's IDtmParameterAccess");
    }
}

void CParameterDescriptor::Update(std::int32_t request) {
    const SControlData reply = FetchControlData(*m_access, request, m_parameterKey);
    Load(xml::Document::TryParse(reply.document));
}

void CParameterDescriptor::Load(const xml::Document& document) {
    const xml::Node controlData = FindControlData(document);
    if (!controlData) {
        return;
    }
    const CElementAttributes attributes(controlData);
    SCommonFields common = ReadCommon(attributes);
    ReadKind(document, attributes, common);
    m_common = std::move(common);
}
