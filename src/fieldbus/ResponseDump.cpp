#include "fieldbus/ResponseDump.h"

#include "model/Conversions.h"

namespace {

using CConversions::to_string;

std::string Flag(bool value) {
    return value ? "1" : "0";
}

std::string Text(const ServiceTextSource& texts, const std::string& key) {
    return texts ? texts(key).value_or("") : std::string();
}

} // namespace

CResponseDump CResponseDump::Of(const CFFXmlWrapper& wrapper, const ServiceTextSource& texts) {
    CResponseDump dump;
    switch (wrapper.GetResponseType()) {
    case FFResponseType::NothingLoaded:
        dump.m_headline = "No response loaded.";
        break;
    case FFResponseType::Unknown:
        dump.m_headline = "Unknown response received.";
        dump.m_details = "Received: \n" + wrapper.GetResponseText();
        break;
    case FFResponseType::Empty:
        dump.m_headline = "Empty response received.";
        break;
    case FFResponseType::FmsServiceError:
        dump.AddServiceError(wrapper, texts);
        break;
    case FFResponseType::FmsStatusResponse:
        dump.AddStatus(wrapper);
        break;
    case FFResponseType::FmsIdentifyResponse:
        dump.AddIdentify(wrapper);
        break;
    case FFResponseType::FmsGetOdResponse:
        dump.AddGetOd(wrapper);
        break;
    case FFResponseType::SmIdentifyResponse:
        dump.AddSmIdentify(wrapper);
        break;
    case FFResponseType::SmReplyPhysicalDevice:
        dump.AddPhysicalDevice(wrapper);
        break;
    case FFResponseType::SmReplyVFD: {
        CSmReplyVFD reply;
        wrapper.GetSmReplyVfd(reply);
        dump.AddReply(reply, "SmFindTagVFD");
        break;
    }
    case FFResponseType::SmReplyFB: {
        CSmReplyFB reply;
        wrapper.GetSmReplyFb(reply);
        dump.AddReply(reply, "SmFindTagFB");
        break;
    }
    }
    return dump;
}

void CResponseDump::CompleteErrorDescription(CErrorInfo& errorInfo,
                                             const ServiceTextSource& texts) {
    const std::string classKey = "FMSServiceError_" + to_string(errorInfo.GetErrorClass());
    const std::string codeKey = classKey + "_" + to_string(errorInfo.GetErrorCode());
    // An entry's index is unsigned; a negative class or code keeps its two's complement bits.
    CEnumeratorEntry codeEntry(static_cast<std::uint32_t>(errorInfo.GetErrorCode()),
                               Text(texts, codeKey + "_Name"), Text(texts, codeKey + "_Desc"));
    CEnumeratorEntry classEntry(static_cast<std::uint32_t>(errorInfo.GetErrorClass()),
                                Text(texts, classKey + "_Name"), Text(texts, classKey + "_Desc"));
    errorInfo.SetErrorDescription(std::move(classEntry), std::move(codeEntry));
}

void CResponseDump::AddLine(std::string_view label, std::string_view value) {
    m_details.append(label).append(value).append("\r\n");
}

void CResponseDump::AddServiceError(const CFFXmlWrapper& wrapper, const ServiceTextSource& texts) {
    m_headline = "Fms Service Error";
    CFmsServiceError error;
    wrapper.GetFmsServiceError(error);
    CErrorInfo& info = error.m_errorInfo;
    if (!info.HasErrorDescription()) {
        CompleteErrorDescription(info, texts);
    }
    AddLine("Error Class: ", to_string(info.GetErrorClass()));
    AddLine("Error Class Name: ", info.GetErrorClassEntry().GetName());
    AddLine("Error Class Descriptor: ", info.GetErrorClassEntry().GetDescriptor());
    AddLine("Error Code: ", to_string(info.GetErrorCode()));
    AddLine("Error Code Name: ", info.GetErrorCodeEntry().GetName());
    AddLine("Error Code Descriptor: ", info.GetErrorCodeEntry().GetDescriptor());
    if (error.m_hasOdIndex) {
        AddLine("Error OD Index: ", to_string(error.m_odIndex));
    }
}

void CResponseDump::AddStatus(const CFFXmlWrapper& wrapper) {
    CFmsStatusResponse status;
    wrapper.GetFmsStatusResponse(status);
    AddLine("FmsStatus LogicalStatus: ", FormatFFName(status.m_logicalStatus));
    AddLine("FmsStatus PhysicalStatus: ", FormatFFName(status.m_physicalStatus));
    if (!status.m_localDetail.empty()) {
        AddLine("FmsStatus LocalDetails: ", status.m_localDetail);
    }
}

void CResponseDump::AddIdentify(const CFFXmlWrapper& wrapper) {
    CFmsIdentifyResponse identify;
    wrapper.GetFmsIdentifyResponse(identify);
    AddLine("FmsIdentify Vendor: ", identify.m_vendor);
    AddLine("FmsIdentify Model Name: ", identify.m_modelName);
    AddLine("FmsIdentify Revision: ", identify.m_revision);
}

void CResponseDump::AddGetOd(const CFFXmlWrapper& wrapper) {
    CFmsGetOdResponse getOd;
    wrapper.GetFmsGetOdResponse(getOd);
    AddLine("FmsGetOd Od Data: ", getOd.m_odData);
    AddLine("FmsGetOd Number of ObjectDescriptions: ",
            to_string(getOd.m_numberOfObjectDescriptions));
    AddLine("FmsGetOd MoreFollows: ", Flag(getOd.m_moreFollows));
}

void CResponseDump::AddSmIdentify(const CFFXmlWrapper& wrapper) {
    CSmIdentifyResponse identify;
    wrapper.GetSmIdentifyResponse(identify);
    for (const CSmIdentifyResponseEntry& entry : identify.m_entries) {
        AddLine("SmIdentify PdTag: ", entry.m_tag);
        AddLine("SmIdentify DevId: ", entry.m_devID);
    }
}

void CResponseDump::AddPhysicalDevice(const CFFXmlWrapper& wrapper) {
    CSmReplyPhysicalDevice reply;
    wrapper.GetSmReplyPhysicalDevice(reply);
    AddLine("SmFindTagPD DevID: ", reply.m_devID);
}

template <class Reply> void CResponseDump::AddReply(const Reply& reply, const std::string& prefix) {
    AddLine(prefix + " VFDRef: ", to_string(reply.m_vfdRef));
    if (reply.m_hasMoreVCRL) {
        AddLine(prefix + " MoreVCRL: ", Flag(reply.m_moreVCRL));
    }
    AddLine(prefix + " VersionOd: ", to_string(reply.m_versionOd));
    if constexpr (std::is_same_v<Reply, CSmReplyFB>) {
        AddLine(prefix + " Index: ", to_string(reply.m_index));
    }
    for (std::size_t i = 0; i < reply.m_indexList.size(); ++i) {
        AddLine(prefix + " Index[" + to_string(static_cast<std::int64_t>(i)) + "]: ",
                to_string(reply.m_indexList[i]));
    }
}
