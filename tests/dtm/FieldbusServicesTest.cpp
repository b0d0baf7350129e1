#include "DtmTestSupport.h"
#include "fieldbus/FFXmlWrapper.h"
#include "fieldbus/ResponseDump.h"

#include <gtest/gtest.h>

namespace {

using Updates = std::vector<CFakeControl::Update>;

constexpr const char* kVfd = "VP700_VFD";

// The response the control would get: update type, the wrapper's type and the text the
// operation view prints from the records the wrapper fills.
struct SReceived {
    std::int32_t updateType = 0;
    FFResponseType responseType = FFResponseType::NothingLoaded;
    std::string details;
    CFmsServiceError error;
};

class FieldbusServicesTest : public DtmTest {
protected:
    FieldbusServicesTest() { EXPECT_EQ(Register(), VARIANT_TRUE); }

    // Runs the service, waits the bus latency and reads the one update it answers.
    SReceived Run(std::int32_t function, const std::string& argument) {
        EXPECT_EQ(Execute(function, argument), S_OK);
        EXPECT_TRUE(m_control->TakeUpdates().empty()) << "nothing before the bus latency";
        m_scheduler.AdvanceBy(m_dtm->GetBusLatency());
        const Updates updates = m_control->TakeUpdates();
        if (updates.size() != 1u) {
            ADD_FAILURE() << "expected one update, got " << updates.size();
            return {};
        }
        CFFXmlWrapper wrapper;
        wrapper.LoadResponse(updates[0].second);
        SReceived received{updates[0].first,
                           wrapper.GetResponseType(),
                           CResponseDump::Of(wrapper, {}).m_details,
                           {}};
        wrapper.GetFmsServiceError(received.error);
        return received;
    }
};

TEST_F(FieldbusServicesTest, EveryServiceAnswersItsUpdateTypeWithADocumentTheWrapperReads) {
    const struct {
        const char* name;
        std::int32_t function;
        std::string argument;
        FFResponseType responseType;
        std::string details;
    } cases[] = {
        {"SM identify", dtm_function::kSmIdentify, "", FFResponseType::SmIdentifyResponse,
         "SmIdentify PdTag: FV-101\r\nSmIdentify DevId: 564C410700-VP700-0012345\r\n"},
        {"find physical device", dtm_function::kSmFindTagQuery,
         CFFXmlWrapper::BuildSmFindTagPhysicalDevice("FV-101"),
         FFResponseType::SmReplyPhysicalDevice, "SmFindTagPD DevID: 564C410700-VP700-0012345\r\n"},
        {"find VFD", dtm_function::kSmFindTagQuery,
         CFFXmlWrapper::BuildSmFindTagVfd("FV-101", kVfd), FFResponseType::SmReplyVFD,
         "SmFindTagVFD VFDRef: 2\r\nSmFindTagVFD MoreVCRL: 0\r\nSmFindTagVFD VersionOd: 3\r\n"
         "SmFindTagVFD Index[0]: 303\r\nSmFindTagVFD Index[1]: 304\r\n"},
        {"find block", dtm_function::kSmFindTagQuery,
         CFFXmlWrapper::BuildSmFindTagFb("VP700_AO", "4"), FFResponseType::SmReplyFB,
         "SmFindTagFB VFDRef: 2\r\nSmFindTagFB MoreVCRL: 0\r\nSmFindTagFB VersionOd: 3\r\n"
         "SmFindTagFB Index: 400\r\nSmFindTagFB Index[0]: 303\r\nSmFindTagFB Index[1]: 304\r\n"},
        {"FMS status", dtm_function::kFmsStatus, kVfd, FFResponseType::FmsStatusResponse,
         "FmsStatus LogicalStatus: stateChangesAllowed\r\nFmsStatus PhysicalStatus: "
         "operational\r\nFmsStatus LocalDetails: 00\r\n"},
        {"GetOD one description", dtm_function::kFmsGetOd,
         CFFXmlWrapper::BuildFmsGetOdRequest(kVfd, false, false, "300"),
         FFResponseType::FmsGetOdResponse,
         "FmsGetOd Od Data: 012C09010128\r\nFmsGetOd Number of ObjectDescriptions: 1\r\n"
         "FmsGetOd MoreFollows: 0\r\n"},
        {"GetOD all attributes", dtm_function::kFmsGetOd,
         CFFXmlWrapper::BuildFmsGetOdRequest(kVfd, true, false, "500"),
         FFResponseType::FmsGetOdResponse,
         "FmsGetOd Od Data: 01F40901033803504944\r\nFmsGetOd Number of ObjectDescriptions: 1\r\n"
         "FmsGetOd MoreFollows: 0\r\n"},
        {"GetOD list, more follow", dtm_function::kFmsGetOd,
         CFFXmlWrapper::BuildFmsGetOdRequest(kVfd, false, true, "0"),
         FFResponseType::FmsGetOdResponse,
         "FmsGetOd Od Data: 00000000000001000901003E012C09010128\r\n"
         "FmsGetOd Number of ObjectDescriptions: 3\r\nFmsGetOd MoreFollows: 1\r\n"},
        {"GetOD list, the rest", dtm_function::kFmsGetOd,
         CFFXmlWrapper::BuildFmsGetOdRequest(kVfd, false, true, "400"),
         FFResponseType::FmsGetOdResponse,
         "FmsGetOd Od Data: 01900901023001F409010338\r\n"
         "FmsGetOd Number of ObjectDescriptions: 2\r\nFmsGetOd MoreFollows: 0\r\n"},
        {"FMS identify", dtm_function::kFmsIdentify, "VP700_MIB",
         FFResponseType::FmsIdentifyResponse,
         "FmsIdentify Vendor: Vela Automation\r\nFmsIdentify Model Name: VP-700\r\n"
         "FmsIdentify Revision: 2\r\n"},
    };
    for (const auto& service : cases) {
        SCOPED_TRACE(service.name);
        const SReceived received = Run(service.function, service.argument);
        EXPECT_EQ(received.updateType,
                  dtm_update::kFirstServiceResult + service.function - dtm_function::kSmIdentify);
        EXPECT_EQ(received.responseType, service.responseType);
        EXPECT_EQ(received.details, service.details);
    }

    // The status follows the device: out of service, then in failure mode.
    m_dtm->Device().Write(keys::kServiceMode, "241");
    EXPECT_NE(Run(dtm_function::kFmsStatus, kVfd).details.find("partiallyOperational"),
              std::string::npos);
    m_dtm->Device().Write(keys::kCommandState, "200");
    EXPECT_NE(Run(dtm_function::kFmsStatus, kVfd).details.find("inoperable"), std::string::npos);
}

TEST_F(FieldbusServicesTest, ServiceErrorsAnswerAnErrorDocumentWithClassAndCode) {
    const std::string strange = "NO<&'\">TAG";
    const struct {
        const char* name;
        std::int32_t function;
        std::string argument;
        int errorClass;
        int errorCode;
        std::optional<std::uint32_t> odIndex;
    } cases[] = {
        {"status, unknown VFD", dtm_function::kFmsStatus, strange, 1, 1, std::nullopt},
        {"identify, unknown VFD", dtm_function::kFmsIdentify, "", 1, 1, std::nullopt},
        {"GetOD, unknown VFD", dtm_function::kFmsGetOd,
         CFFXmlWrapper::BuildFmsGetOdRequest(strange, false, false, "0"), 1, 1, std::nullopt},
        {"find, unknown device", dtm_function::kSmFindTagQuery,
         CFFXmlWrapper::BuildSmFindTagPhysicalDevice(strange), 1, 1, std::nullopt},
        {"find, unknown VFD", dtm_function::kSmFindTagQuery,
         CFFXmlWrapper::BuildSmFindTagVfd("FV-101", strange), 1, 1, std::nullopt},
        {"find, unknown block", dtm_function::kSmFindTagQuery,
         CFFXmlWrapper::BuildSmFindTagFb(strange, ""), 1, 1, std::nullopt},
        {"GetOD, index between objects", dtm_function::kFmsGetOd,
         CFFXmlWrapper::BuildFmsGetOdRequest(kVfd, false, true, "301"), 5, 7, 301u},
        {"GetOD, index past the end", dtm_function::kFmsGetOd,
         CFFXmlWrapper::BuildFmsGetOdRequest(kVfd, true, false, "4294967295"), 5, 7, 4294967295u},
    };
    for (const auto& service : cases) {
        SCOPED_TRACE(service.name);
        const SReceived received = Run(service.function, service.argument);
        EXPECT_EQ(received.updateType, dtm_update::kServiceError);
        ASSERT_EQ(received.responseType, FFResponseType::FmsServiceError);
        const CErrorInfo& info = received.error.m_errorInfo;
        EXPECT_EQ(info.GetErrorClass(), service.errorClass);
        EXPECT_EQ(info.GetErrorCode(), service.errorCode);
        EXPECT_TRUE(info.HasErrorDescription());
        EXPECT_FALSE(info.GetErrorCodeEntry().GetName().empty());
        EXPECT_EQ(received.error.m_hasOdIndex, service.odIndex.has_value());
        if (service.odIndex) {
            EXPECT_EQ(received.error.m_odIndex, *service.odIndex);
        }
        if (service.argument.find("NO<") != std::string::npos) {
            EXPECT_NE(info.GetAdditionalDescription().find(strange), std::string::npos)
                << "the tag comes back as it was sent";
        }
    }

    // With the fault switch every service fails, with the same class and code.
    m_dtm->Faults().failServices = true;
    for (std::int32_t function = dtm_function::kSmIdentify; function <= dtm_function::kFmsIdentify;
         ++function) {
        SCOPED_TRACE(function);
        const std::string argument =
            function == dtm_function::kFmsGetOd
                ? CFFXmlWrapper::BuildFmsGetOdRequest(kVfd, false, false, "0")
                : kVfd;
        const SReceived received = Run(function, argument);
        EXPECT_EQ(received.updateType, dtm_update::kServiceError);
        EXPECT_EQ(received.error.m_errorInfo.GetErrorClass(), 7);
        EXPECT_EQ(received.error.m_errorInfo.GetErrorCode(), 0);
        EXPECT_FALSE(received.error.m_hasOdIndex);
    }
}

TEST_F(FieldbusServicesTest, RefusedDroppedAndFailedCallsAnswerNothing) {
    // A request that is not the service's request document is refused at once.
    for (const auto& [function, argument] : std::vector<std::pair<std::int32_t, std::string>>{
             {dtm_function::kSmFindTagQuery, ""},
             {dtm_function::kSmFindTagQuery, "<SmFindTag/>"},
             {dtm_function::kSmFindTagQuery, "<SmFindTag><SmQueryAll tag='x'/></SmFindTag>"},
             {dtm_function::kFmsGetOd, "<FmsGetOdRequest vfdTag='VP700_VFD'/>"},
             {dtm_function::kFmsGetOd,
              CFFXmlWrapper::BuildFmsGetOdRequest(kVfd, true, false, "-1")},
             {dtm_function::kFmsGetOd, "not a document"}}) {
        SCOPED_TRACE(argument);
        VARIANT_BOOL result = VARIANT_TRUE;
        EXPECT_EQ(Execute(function, argument, &result), E_INVALIDARG);
        EXPECT_EQ(result, VARIANT_FALSE);
    }
    EXPECT_EQ(m_scheduler.TimerCount(), 0u);

    // Dropped: the call succeeds, the reply never comes.
    m_dtm->Faults().dropServiceReplies = true;
    VARIANT_BOOL result = VARIANT_FALSE;
    EXPECT_EQ(Execute(dtm_function::kFmsStatus, kVfd, &result), S_OK);
    EXPECT_EQ(result, VARIANT_TRUE);
    m_scheduler.AdvanceBy(60000);
    EXPECT_TRUE(m_control->TakeUpdates().empty());
    m_dtm->Faults().dropServiceReplies = false;

    // Failed: the call answers the HRESULT and nothing is sent.
    m_dtm->Faults().failingOperations["ExecuteFunction"] = E_UNEXPECTED;
    EXPECT_EQ(Execute(dtm_function::kSmIdentify, ""), E_UNEXPECTED);
    m_scheduler.AdvanceBy(60000);
    EXPECT_TRUE(m_control->TakeUpdates().empty());
    m_dtm->Faults().failingOperations.clear();

    // Service replies queue behind reads on the same bus.
    EXPECT_EQ(Execute(dtm_function::kRead, std::to_string(keys::kServiceMode)), S_OK);
    EXPECT_EQ(Execute(dtm_function::kSmIdentify, ""), S_OK);
    m_scheduler.AdvanceBy(m_dtm->GetBusLatency());
    EXPECT_EQ(m_control->TakeUpdates().size(), 1u);
    m_scheduler.AdvanceBy(m_dtm->GetBusLatency());
    const Updates updates = m_control->TakeUpdates();
    ASSERT_EQ(updates.size(), 1u);
    EXPECT_EQ(updates[0].first, dtm_update::kFirstServiceResult);
}

} // namespace
