#pragma once

#include "fieldbus/ErrorInfo.h"
#include "fieldbus/FFXmlWrapper.h"

#include <functional>
#include <optional>
#include <string>

// Where the names and descriptors of service errors come from when the DTM sends none: the
// text stored under a key, or nothing. The control hands in a lookup over its text provider.
using ServiceTextSource = std::function<std::optional<std::string>(const std::string& key)>;

// A response turned into text for display: a headline for the error box and detail lines
// (each ending in CR LF) for the output box.
class CResponseDump {
public:
    // The dump of the response loaded into `wrapper`. A service error without a description
    // is completed from `texts` first. A response whose record cannot be read raises the
    // reader's error.
    static CResponseDump Of(const CFFXmlWrapper& wrapper, const ServiceTextSource& texts);

    // Sets the class and code entries of an error without a description from the texts under
    // "FMSServiceError_<class>" and "FMSServiceError_<class>_<code>", with "_Name" and "_Desc"
    // appended; a missing text, or a missing source, gives the empty text.
    static void CompleteErrorDescription(CErrorInfo& errorInfo, const ServiceTextSource& texts);

    std::string m_headline = "No Error";
    std::string m_details;

private:
    void AddLine(std::string_view label, std::string_view value);
    void AddServiceError(const CFFXmlWrapper& wrapper, const ServiceTextSource& texts);
    void AddStatus(const CFFXmlWrapper& wrapper);
    void AddIdentify(const CFFXmlWrapper& wrapper);
    void AddGetOd(const CFFXmlWrapper& wrapper);
    void AddSmIdentify(const CFFXmlWrapper& wrapper);
    void AddPhysicalDevice(const CFFXmlWrapper& wrapper);
    template <class Reply> void AddReply(const Reply& reply, const std::string& prefix);
};
