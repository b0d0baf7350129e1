#pragma once

#include "fieldbus/FFH1XMLExtractor.h"
#include "fieldbus/FmsGetOdResponse.h"
#include "fieldbus/FmsIdentifyResponse.h"
#include "fieldbus/FmsServiceError.h"
#include "fieldbus/FmsStatusResponse.h"
#include "fieldbus/SmIdentifyResponse.h"
#include "fieldbus/SmReplyFB.h"
#include "fieldbus/SmReplyPhysicalDevice.h"
#include "fieldbus/SmReplyVFD.h"

#include <string>
#include <string_view>

// What the last response loaded into a CFFXmlWrapper is.
enum class FFResponseType {
    NothingLoaded = 0,
    Unknown = 1, // a document that is none of the following
    Empty = 2,   // the response text was empty
    FmsServiceError = 3,
    FmsStatusResponse = 4,
    FmsIdentifyResponse = 5,
    FmsGetOdResponse = 6,
    SmIdentifyResponse = 7,
    SmReplyPhysicalDevice = 8,
    SmReplyVFD = 9,
    SmReplyFB = 10,
};

// The request documents of the FMS and SM services and the recognition of their responses.
// The DTM performs a service on a request text and answers with a response document; the
// wrapper classifies that document and fills the matching service record from it.
class CFFXmlWrapper {
public:
    // Request documents. Every inserted value is escaped, so the document carries it as typed.
    static std::string BuildFmsGetOdRequest(std::string_view vfdTag, bool allAttributes,
                                            bool startFlag, std::string_view index);
    static std::string BuildSmFindTagPhysicalDevice(std::string_view tag);
    static std::string BuildSmFindTagVfd(std::string_view tag, std::string_view vfdTag);
    // The elementID attribute only when `elementId` is an unsigned decimal number.
    static std::string BuildSmFindTagFb(std::string_view tag, std::string_view elementId);

    // Loads and classifies a response. A text that is not well-formed XML leaves the type
    // Unknown and raises the reader's error "CFFXMLExtractor::Contains".
    void LoadResponse(std::string_view responseText);
    FFResponseType GetResponseType() const { return m_responseType; }
    // The response text as last received.
    const std::string& GetResponseText() const { return m_responseText; }

    // Each fills its record from the loaded document when the response is of its type and
    // does nothing otherwise. A missing or malformed mandatory attribute raises the reader's
    // error and leaves the record partly filled.
    void GetFmsServiceError(CFmsServiceError& record) const;
    void GetFmsStatusResponse(CFmsStatusResponse& record) const;
    void GetFmsIdentifyResponse(CFmsIdentifyResponse& record) const;
    void GetFmsGetOdResponse(CFmsGetOdResponse& record) const;
    void GetSmIdentifyResponse(CSmIdentifyResponse& record) const;
    void GetSmReplyPhysicalDevice(CSmReplyPhysicalDevice& record) const;
    void GetSmReplyVfd(CSmReplyVFD& record) const;
    void GetSmReplyFb(CSmReplyFB& record) const;

private:
    bool Is(FFResponseType type) const { return m_responseType == type; }
    // vfdRef, moreVCRL and versionOd, which a VFD and a function block reply share.
    template <class Reply> void GetVfdPart(Reply& record) const;
    void GetIndexList(std::vector<std::uint32_t>& indexList) const;

    CFFH1XMLExtractor m_reader;
    FFResponseType m_responseType = FFResponseType::NothingLoaded;
    std::string m_responseText;
};
