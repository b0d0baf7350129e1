#include "fieldbus/FFXmlWrapper.h"

#include "fieldbus/FFConversions.h"

#include <array>
#include <utility>

namespace {

using namespace CFFConversions;

constexpr const char* kCommunicationReference = "//@fftypes:communicationReference";

// The element that marks each response type, in the order they are tried.
constexpr std::array<std::pair<const char*, FFResponseType>, 8> kRecognition{{
    {"//fms:FmsServiceError", FFResponseType::FmsServiceError},
    {"//fms:FmsStatusResponse", FFResponseType::FmsStatusResponse},
    {"//fms:FmsIdentifyResponse", FFResponseType::FmsIdentifyResponse},
    {"//fms:FmsGetOdResponse", FFResponseType::FmsGetOdResponse},
    {"//SmIdentifyResponse", FFResponseType::SmIdentifyResponse},
    {"//SmReplyPhysicalDevice", FFResponseType::SmReplyPhysicalDevice},
    {"//SmReplyVFD", FFResponseType::SmReplyVFD},
    {"//SmReplyFB", FFResponseType::SmReplyFB},
}};

// ` name='value'` with the value escaped.
std::string Attribute(std::string_view name, std::string_view value) {
    return " " + std::string(name) + "='" + xml::Escape(value) + "'";
}

std::string FindTag(std::string_view query, const std::string& attributes) {
    return "<SmFindTag><" + std::string(query) + attributes + " /></SmFindTag>";
}

bool IsUnsignedNumber(std::string_view text) {
    try {
        ToUInt32(text);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace

std::string CFFXmlWrapper::BuildFmsGetOdRequest(std::string_view vfdTag, bool allAttributes,
                                                bool startFlag, std::string_view index) {
    return "<FmsGetOdRequest" + Attribute("vfdTag", vfdTag) +
           Attribute("allAttribute", allAttributes ? "1" : "0") +
           Attribute("bStartFlag", startFlag ? "1" : "0") + Attribute("index", index) + " />";
}

std::string CFFXmlWrapper::BuildSmFindTagPhysicalDevice(std::string_view tag) {
    return FindTag("SmQueryPhysicalDevice", Attribute("tag", tag));
}

std::string CFFXmlWrapper::BuildSmFindTagVfd(std::string_view tag, std::string_view vfdTag) {
    return FindTag("SmQueryVFD", Attribute("tag", tag) + Attribute("vfdtag", vfdTag));
}

std::string CFFXmlWrapper::BuildSmFindTagFb(std::string_view tag, std::string_view elementId) {
    std::string attributes = Attribute("tag", tag);
    if (IsUnsignedNumber(elementId)) {
        attributes += Attribute("elementID", elementId);
    }
    return FindTag("SmQueryFB", attributes);
}

void CFFXmlWrapper::LoadResponse(std::string_view responseText) {
    m_responseText = responseText;
    if (responseText.empty()) {
        m_responseType = FFResponseType::Empty;
        return;
    }
    m_reader.Load(responseText);
    m_responseType = FFResponseType::Unknown;
    for (const auto& [path, type] : kRecognition) {
        if (m_reader.Contains(path)) {
            m_responseType = type;
            return;
        }
    }
}

void CFFXmlWrapper::GetFmsServiceError(CFmsServiceError& record) const {
    if (!Is(FFResponseType::FmsServiceError)) {
        return;
    }
    record.m_communicationReference = m_reader.GetText(kCommunicationReference);
    record.m_errorInfo = m_reader.GetErrorInfo();
    // A common error concerns no object, so its index attribute means nothing.
    record.m_hasOdIndex = !m_reader.Contains("//fms:CommonErrorType");
    if (record.m_hasOdIndex) {
        record.m_odIndex = ToUInt32(m_reader.GetText("//@fdt:index"));
    }
}

void CFFXmlWrapper::GetFmsStatusResponse(CFmsStatusResponse& record) const {
    if (!Is(FFResponseType::FmsStatusResponse)) {
        return;
    }
    record.m_communicationReference = m_reader.GetText(kCommunicationReference);
    record.m_logicalStatus = ParseFFName<FmsLogicalStatus>(m_reader.GetText("//@logicalStatus"));
    record.m_physicalStatus = ParseFFName<FmsPhysicalStatus>(m_reader.GetText("//@physicalStatus"));
    record.m_localDetail = m_reader.FindText("//@localDetail").value_or("");
}

void CFFXmlWrapper::GetFmsIdentifyResponse(CFmsIdentifyResponse& record) const {
    if (!Is(FFResponseType::FmsIdentifyResponse)) {
        return;
    }
    record.m_communicationReference = m_reader.GetText(kCommunicationReference);
    record.m_vendor = m_reader.GetText("//@fdt:vendor");
    record.m_modelName = m_reader.GetText("//@modelName");
    record.m_revision = m_reader.GetText("//@revision");
}

void CFFXmlWrapper::GetFmsGetOdResponse(CFmsGetOdResponse& record) const {
    if (!Is(FFResponseType::FmsGetOdResponse)) {
        return;
    }
    record.m_communicationReference = m_reader.GetText(kCommunicationReference);
    record.m_moreFollows = ToBoolean(m_reader.GetText("//@moreFollows"));
    record.m_numberOfObjectDescriptions =
        ToSmallCount(m_reader.GetText("//@numberOfObjectDescriptions"));
    std::optional<std::string> odData = m_reader.FindText("//@fdt:byteArray");
    if (!odData) {
        odData = m_reader.FindText("//@byteArray");
    }
    record.m_odData = odData.value_or("");
}

void CFFXmlWrapper::GetSmIdentifyResponse(CSmIdentifyResponse& record) const {
    if (!Is(FFResponseType::SmIdentifyResponse)) {
        return;
    }
    record.m_communicationReference = m_reader.GetText(kCommunicationReference);
    record.m_entries.clear();
    m_reader.ReadList("//SmIdentifyResponseEntry", [&](const std::string& entryPath) {
        CSmIdentifyResponseEntry entry;
        entry.m_tag = m_reader.GetText(entryPath + "/@fdt:tag");
        entry.m_devID = m_reader.GetText(entryPath + "/@fftypes:devID");
        record.m_entries.push_back(std::move(entry));
    });
}

void CFFXmlWrapper::GetSmReplyPhysicalDevice(CSmReplyPhysicalDevice& record) const {
    if (!Is(FFResponseType::SmReplyPhysicalDevice)) {
        return;
    }
    record.m_devID = m_reader.GetText("//@fftypes:devID", "//@devID");
}

template <class Reply> void CFFXmlWrapper::GetVfdPart(Reply& record) const {
    record.m_vfdRef = ToUInt32(m_reader.GetText("//@fftypes:vfdRef", "//@vfdRef"));
    const std::optional<std::string> moreVCRL = m_reader.FindText("//@moreVCRL");
    record.m_hasMoreVCRL = moreVCRL.has_value();
    record.m_moreVCRL = moreVCRL && ToBoolean(*moreVCRL);
    record.m_versionOd = ToInt16(m_reader.GetText("//@fftypes:versionOd"));
}

void CFFXmlWrapper::GetIndexList(std::vector<std::uint32_t>& indexList) const {
    indexList.clear();
    const std::uint32_t count = ToUInt32(m_reader.GetText("//@fftypes:listCount", "//@listCount"));
    m_reader.ReadList("//fftypes:IndexList/fftypes:Index", count, [&](const std::string& itemPath) {
        indexList.push_back(ToUInt32(m_reader.GetText(itemPath + "/@fdt:index")));
    });
}

void CFFXmlWrapper::GetSmReplyVfd(CSmReplyVFD& record) const {
    if (!Is(FFResponseType::SmReplyVFD)) {
        return;
    }
    GetVfdPart(record);
    GetIndexList(record.m_indexList);
}

void CFFXmlWrapper::GetSmReplyFb(CSmReplyFB& record) const {
    if (!Is(FFResponseType::SmReplyFB)) {
        return;
    }
    GetVfdPart(record);
    record.m_index = ToUInt32(m_reader.GetText("//@fdt:index"));
    GetIndexList(record.m_indexList);
}
