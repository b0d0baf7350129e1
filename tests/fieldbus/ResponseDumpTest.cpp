#include "fieldbus/ResponseDump.h"
#include "FieldbusTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <stdexcept>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

// A text source with the texts of error class 6, code 5 that notes every key asked for.
class CFakeTextSource {
public:
    std::optional<std::string> operator()(const std::string& key) {
        m_asked.insert(key);
        const auto found = m_texts.find(key);
        return found == m_texts.end() ? std::nullopt : std::optional(found->second);
    }

    std::map<std::string, std::string> m_texts{
        {"FMSServiceError_6_Name", "Access"},
        {"FMSServiceError_6_Desc", "Object access problem"},
        {"FMSServiceError_6_5_Name", "ObjectAccessDenied"},
        {"FMSServiceError_6_5_Desc", "Access to the object is denied"},
    };
    std::set<std::string> m_asked;
};

CResponseDump Dump(const std::string& response, const ServiceTextSource& texts = {}) {
    CFFXmlWrapper wrapper;
    wrapper.LoadResponse(response);
    return CResponseDump::Of(wrapper, texts);
}

// The detail lines, each of which must end in CR LF.
Lines LinesOf(const std::string& details) {
    Lines lines;
    for (std::size_t start = 0; start < details.size();) {
        const std::size_t end = details.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "unterminated line: " << details.substr(start);
            break;
        }
        lines.push_back(details.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

TEST(ResponseDump, HeadlinesWithoutRecords) {
    const CResponseDump nothing = CResponseDump::Of(CFFXmlWrapper(), {});
    EXPECT_EQ(nothing.m_headline, "No response loaded.");
    EXPECT_EQ(nothing.m_details, "");
    EXPECT_EQ(Dump("").m_headline, "Empty response received.");
    EXPECT_EQ(Dump("").m_details, "");
    const std::string other = "<Other>\r\n<x/></Other>";
    EXPECT_EQ(Dump(other).m_headline, "Unknown response received.");
    EXPECT_EQ(Dump(other).m_details, "Received: \n" + other);
}

TEST(ResponseDump, ServiceErrorCompletedFromTheTextSource) {
    CFakeTextSource source;
    const CResponseDump dump = Dump(Docs::kServiceError, std::ref(source));
    EXPECT_EQ(dump.m_headline, "Fms Service Error");
    EXPECT_EQ(
        LinesOf(dump.m_details),
        (Lines{"Error Class: 6", "Error Class Name: Access",
               "Error Class Descriptor: Object access problem", "Error Code: 5",
               "Error Code Name: ObjectAccessDenied",
               "Error Code Descriptor: Access to the object is denied", "Error OD Index: 1024"}));
    EXPECT_EQ(source.m_asked,
              (std::set<std::string>{"FMSServiceError_6_Name", "FMSServiceError_6_Desc",
                                     "FMSServiceError_6_5_Name", "FMSServiceError_6_5_Desc"}));
    // Without a source the names and descriptors are empty.
    EXPECT_EQ(LinesOf(Dump(Docs::kServiceError).m_details).at(1), "Error Class Name: ");

    CErrorInfo negative;
    negative.SetErrorClass(-1);
    negative.SetErrorCode(-128);
    CResponseDump::CompleteErrorDescription(
        negative, [](const std::string& key) { return std::optional(key); });
    EXPECT_EQ(negative.GetErrorCodeEntry().GetName(), "FMSServiceError_-1_-128_Name");
}

TEST(ResponseDump, OneDumpPerResponseType) {
    const std::string status = "<fms:FmsStatusResponse " + Docs::kNs +
                               " fftypes:communicationReference='1' logicalStatus='x'"
                               " physicalStatus='operational' localDetail=''/>";
    const std::string bareVfd =
        "<SmReplyVFD " + Docs::kNs + " vfdRef='4294967295' fftypes:versionOd='1' listCount='0'/>";
    const std::vector<std::pair<std::string, Lines>> cases{
        {Docs::kDescribedCommonError, // described by the document; no OD index
         {"Error Class: -2", "Error Class Name: Resource",
          "Error Class Descriptor: Resource problem", "Error Code: 3",
          "Error Code Name: MemoryUnavailable", "Error Code Descriptor: "}},
        {Docs::kStatus,
         {"FmsStatus LogicalStatus: limitedServicesPermitted",
          "FmsStatus PhysicalStatus: inoperable", "FmsStatus LocalDetails: A1B2"}},
        {status,
         {"FmsStatus LogicalStatus: odLoadingInteracting",
          "FmsStatus PhysicalStatus: operational"}},
        {Docs::kIdentify,
         {"FmsIdentify Vendor: Vela Controls", "FmsIdentify Model Name: VP-700",
          "FmsIdentify Revision: 3.1"}},
        {Docs::kGetOd,
         {"FmsGetOd Od Data: 0A0B0C", "FmsGetOd Number of ObjectDescriptions: 3",
          "FmsGetOd MoreFollows: 1"}},
        {Docs::kSmIdentify,
         {"SmIdentify PdTag: PT-101", "SmIdentify DevId: DEV-A", "SmIdentify PdTag: FV-102",
          "SmIdentify DevId: DEV-B", "SmIdentify PdTag: TT-103", "SmIdentify DevId: DEV-C"}},
        {Docs::kPhysicalDevice, {"SmFindTagPD DevID: 0011223344"}},
        {Docs::kVfd,
         {"SmFindTagVFD VFDRef: 2", "SmFindTagVFD MoreVCRL: 0", "SmFindTagVFD VersionOd: -5",
          "SmFindTagVFD Index[0]: 300", "SmFindTagVFD Index[1]: 4294967295"}},
        {bareVfd, {"SmFindTagVFD VFDRef: 4294967295", "SmFindTagVFD VersionOd: 1"}},
        {Docs::kFb,
         {"SmFindTagFB VFDRef: 3", "SmFindTagFB MoreVCRL: 1", "SmFindTagFB VersionOd: 7",
          "SmFindTagFB Index: 1000", "SmFindTagFB Index[0]: 500"}},
    };
    for (const auto& [response, lines] : cases) {
        const CResponseDump dump = Dump(response);
        EXPECT_EQ(dump.m_headline,
                  response == Docs::kDescribedCommonError ? "Fms Service Error" : "No Error");
        EXPECT_EQ(LinesOf(dump.m_details), lines) << response;
    }
}

TEST(ResponseDump, UnreadableRecordRaisesTheReadersError) {
    const std::string noVendor =
        "<fms:FmsIdentifyResponse " + Docs::kNs + " fftypes:communicationReference='1'/>";
    EXPECT_EQ(ErrorOf<std::runtime_error>([&] { Dump(noVendor); }), "CFFH1XMLExtractor::GetNode");
}

} // namespace
