#include "FieldbusTestSupport.h"
#include "fieldbus/FFXmlWrapper.h"
#include "xml/Xml.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

CFFXmlWrapper Loaded(const std::string& response) {
    CFFXmlWrapper wrapper;
    wrapper.LoadResponse(response);
    return wrapper;
}

TEST(FFXmlWrapper, Classification) {
    EXPECT_EQ(CFFXmlWrapper().GetResponseType(), FFResponseType::NothingLoaded);
    using T = FFResponseType;
    const std::vector<std::pair<std::string, T>> cases{
        {"", T::Empty},
        {"<FmsServiceError/>", T::Unknown}, // the prefix is part of the name
        {Docs::kServiceError, T::FmsServiceError},
        {Docs::kStatus, T::FmsStatusResponse},
        {Docs::kIdentify, T::FmsIdentifyResponse},
        {Docs::kGetOd, T::FmsGetOdResponse},
        {Docs::kSmIdentify, T::SmIdentifyResponse},
        {Docs::kPhysicalDevice, T::SmReplyPhysicalDevice},
        {Docs::kVfd, T::SmReplyVFD},
        {Docs::kFb, T::SmReplyFB},
        {"<r xmlns:fms='u'><SmReplyFB/><fms:FmsStatusResponse/><fms:FmsServiceError/></r>",
         T::FmsServiceError},
    };
    CFFXmlWrapper wrapper; // each response replaces the one before
    for (const auto& [response, type] : cases) {
        wrapper.LoadResponse(response);
        EXPECT_EQ(wrapper.GetResponseType(), type) << response;
    }
    EXPECT_EQ(ErrorOf<std::runtime_error>([&] { wrapper.LoadResponse("<a><b></a>"); }),
              "CFFXMLExtractor::Contains");
    EXPECT_EQ(wrapper.GetResponseType(), FFResponseType::Unknown);
    EXPECT_EQ(wrapper.GetResponseText(), "<a><b></a>");
}

TEST(FFXmlWrapper, RequestDocuments) {
    EXPECT_EQ(CFFXmlWrapper::BuildFmsGetOdRequest("VFD1", true, false, "12"),
              "<FmsGetOdRequest vfdTag='VFD1' allAttribute='1' bStartFlag='0' index='12' />");
    EXPECT_EQ(CFFXmlWrapper::BuildSmFindTagPhysicalDevice("PT-101"),
              "<SmFindTag><SmQueryPhysicalDevice tag='PT-101' /></SmFindTag>");
    EXPECT_EQ(CFFXmlWrapper::BuildSmFindTagVfd("PT-101", "VFD1"),
              "<SmFindTag><SmQueryVFD tag='PT-101' vfdtag='VFD1' /></SmFindTag>");
    EXPECT_EQ(CFFXmlWrapper::BuildSmFindTagFb("AO-1", " 42"),
              "<SmFindTag><SmQueryFB tag='AO-1' elementID=' 42' /></SmFindTag>");
    for (const char* elementId : {"abc", "", "-1", "4294967296"}) {
        EXPECT_EQ(CFFXmlWrapper::BuildSmFindTagFb("AO-1", elementId),
                  "<SmFindTag><SmQueryFB tag='AO-1' /></SmFindTag>");
    }

    // Typed values arrive unchanged and cannot add attributes or elements.
    const std::string tricky = R"(VALVE'1 "A" & <B>)";
    const std::string injection = "x' evil='1";
    const auto values = [](const std::string& request) {
        std::vector<std::string> texts;
        for (const xml::Node& node : xml::Document::Parse(request).SelectAll("//@*")) {
            texts.push_back(node.Text());
        }
        return texts;
    };
    using Texts = std::vector<std::string>;
    EXPECT_EQ(values(CFFXmlWrapper::BuildFmsGetOdRequest(tricky, true, true, injection)),
              (Texts{tricky, "1", "1", injection}));
    EXPECT_EQ(values(CFFXmlWrapper::BuildSmFindTagPhysicalDevice(injection)), Texts{injection});
    EXPECT_EQ(values(CFFXmlWrapper::BuildSmFindTagVfd(tricky, injection)),
              (Texts{tricky, injection}));
    EXPECT_EQ(values(CFFXmlWrapper::BuildSmFindTagFb("<SmQueryFB tag='a'/>", "5")),
              (Texts{"<SmQueryFB tag='a'/>", "5"}));
}

TEST(FFXmlWrapper, GettersReplaceListsAndIgnoreOtherTypes) {
    CSmIdentifyResponse identify;
    identify.m_entries.resize(5);
    Loaded(Docs::kSmIdentify).GetSmIdentifyResponse(identify);
    EXPECT_EQ(identify.m_entries.size(), 3u);
    Loaded("<SmIdentifyResponse " + Docs::kNs + " fftypes:communicationReference='1'/>")
        .GetSmIdentifyResponse(identify);
    EXPECT_TRUE(identify.m_entries.empty());

    CSmReplyVFD vfd;
    vfd.m_indexList = {1, 2, 3};
    vfd.m_hasMoreVCRL = true;
    Loaded("<SmReplyVFD " + Docs::kNs + " vfdRef='1' fftypes:versionOd='0' listCount='0'/>")
        .GetSmReplyVfd(vfd);
    EXPECT_TRUE(vfd.m_indexList.empty());
    EXPECT_FALSE(vfd.m_hasMoreVCRL);

    CSmReplyFB fb;
    fb.m_indexList = {9};
    Loaded(Docs::kVfd).GetSmReplyFb(fb);
    CFFXmlWrapper().GetSmReplyFb(fb);
    Loaded("").GetSmReplyFb(fb);
    EXPECT_EQ(fb.m_indexList, std::vector<std::uint32_t>{9});
}

TEST(FFXmlWrapper, BadAttributesRaiseTheReadersErrors) {
    const auto errorOf = [](const std::string& document) {
        const CFFXmlWrapper wrapper = Loaded(document);
        CSmReplyVFD record;
        return ErrorOf<std::exception>([&] { wrapper.GetSmReplyVfd(record); });
    };
    const std::string vfd = "<SmReplyVFD " + Docs::kNs + " vfdRef='1' fftypes:versionOd='0'";
    EXPECT_EQ(errorOf(vfd + "/>"), "CFFH1XMLExtractor::GetNode");
    EXPECT_EQ(errorOf(vfd + " listCount='-1'/>"), "Input format is not valid");
    EXPECT_EQ(errorOf(vfd + " listCount='4294967295'/>"), "CFFH1XMLExtractor::GetNode");
    EXPECT_EQ(errorOf(vfd + " listCount='0' moreVCRL='yes'/>"), "Input format is not valid");
    EXPECT_EQ(errorOf("<SmReplyVFD " + Docs::kNs + " vfdRef='1' fftypes:versionOd='40000'/>"),
              "Value is out of range");
    EXPECT_EQ(errorOf("<SmReplyVFD " + Docs::kNs + " fftypes:vfdRef='' vfdRef='1'/>"),
              "Input is empty");

    // The fields before the failing one are filled.
    CFmsIdentifyResponse identify;
    const CFFXmlWrapper noRevision = Loaded("<fms:FmsIdentifyResponse " + Docs::kNs +
                                            " fftypes:communicationReference='1'"
                                            " fdt:vendor='V' modelName='M'/>");
    EXPECT_EQ(ErrorOf<std::runtime_error>([&] { noRevision.GetFmsIdentifyResponse(identify); }),
              "CFFH1XMLExtractor::GetNode");
    EXPECT_EQ(identify.m_modelName, "M");
}

} // namespace
