#include "ModelTestSupport.h"
#include "model/BitEnumParameterDescriptor.h"
#include "model/DateOrTimeParameterDescriptor.h"
#include "model/EnumParameterDescriptor.h"
#include "model/FFValueArrayParameterDescriptor.h"
#include "model/NumericParameterDescriptor.h"
#include "model/StringParameterDescriptor.h"
#include "xml/Xml.h"

#include <gtest/gtest.h>

namespace {

using ::testing::_;
using ::testing::NiceMock;
using ::testing::Return;

constexpr std::uint32_t kKey = 0x01650000;

class Descriptor : public ::testing::Test {
protected:
    template <class T> std::unique_ptr<T> Make(const std::string& document) {
        return std::make_unique<T>(ComPtr<IDtmParameterAccess>(m_dtm.Get()), kKey,
                                   xml::Document::Parse(document));
    }
    // The next Update reads `document`.
    void Next(const std::string& document) {
        EXPECT_CALL(*m_dtm, GetControlData(2, kKey, _, _)).WillOnce(Reply(0, document));
    }
    // `descriptor` updated from a control data document of `attributes`.
    template <class T> void Reread(T& descriptor, const std::string& attributes) {
        Next(ControlData(attributes));
        descriptor.Update(2);
    }

    ComPtr<NiceMock<CFakeParameterAccess>> m_dtm = MakeCom<NiceMock<CFakeParameterAccess>>();
};

TEST_F(Descriptor, CommonFieldsKeywordsAndByteSize) {
    auto numeric = Make<CNumericParameterDescriptor>(
        ControlData(R"(valueType="EUINT16" value="42" min="1E+2" max="-0.50")"));
    EXPECT_EQ(numeric->GetLabel(), "Setpoint");
    EXPECT_EQ(numeric->GetUnit(), "%");
    EXPECT_EQ(numeric->GetName(), "SP");
    EXPECT_EQ(numeric->GetTooltip(), "Target");
    EXPECT_EQ(numeric->GetValue(), "42");
    EXPECT_EQ(numeric->GetParameterType(), eParameterType::ePrimitive);
    EXPECT_EQ(numeric->GetValueType(), EValueType::eUInt16);
    EXPECT_EQ(numeric->GetByteSize(), 2);
    EXPECT_EQ(numeric->GetMin(), "1E+2");
    EXPECT_EQ(numeric->GetMax(), "-0.50");
    EXPECT_EQ(*numeric->GetTimestamp(), (STimestamp{1, 2, 3, 4}));

    Reread(*numeric, R"(valueType="eint24" parameterType="EValueStruct")");
    EXPECT_EQ(static_cast<int>(numeric->GetValueType()), 20);
    EXPECT_EQ(numeric->GetByteSize(), 3);
    EXPECT_EQ(numeric->GetParameterType(), eParameterType::eValueStruct);
    EXPECT_EQ(numeric->GetMin(), ""); // absent attributes read as empty

    Reread(*numeric, R"(valueType="eascii")");
    EXPECT_EQ(numeric->GetByteSize(), -1);
    EXPECT_EQ(ToKeyword(EValueType::eFFDuration), "effduration");
}

TEST_F(Descriptor, BadDocumentsKeepThePreviousContents) {
    auto numeric =
        Make<CNumericParameterDescriptor>(ControlData(R"(valueType="efloat" value="1.5" max="9")"));
    const auto unchanged = [&] {
        EXPECT_EQ(numeric->GetValue(), "1.5");
        EXPECT_EQ(numeric->GetMax(), "9");
        EXPECT_EQ(numeric->GetValueType(), EValueType::eFloat);
        EXPECT_EQ(*numeric->GetTimestamp(), (STimestamp{1, 2, 3, 4}));
    };
    // Not loading, or without ControlData: ignored without an error.
    for (const char* document : {"", "<ControlData", "<Other value='2'/>"}) {
        Next(document);
        EXPECT_EQ(Failure([&] { numeric->Update(2); }), "none");
        unchanged();
    }
    const std::pair<std::string, std::string> failures[] = {
        {R"(valueType="efloats")", "invalid: Can't convert the passed string to EValueType"},
        {R"(valueType="bogus" parameterType="x")",
         "invalid: Can't convert the passed string to eParameterType"},
        // A short time stamp leaves groups empty; nothing is read past its end.
        {R"(valueType="efloat" timestamp="000100020003")", "invalid: Input is empty"},
        {R"(valueType="efloat" timestamp="0001000200")", "invalid: Input is empty"},
        {R"(valueType="efloat" timestamp="00010x0200030004")",
         "runtime: Input format is not valid"},
    };
    for (const auto& [attributes, error] : failures) {
        Next(ControlData(R"(max="3" )" + attributes));
        EXPECT_EQ(Failure([&] { numeric->Update(2); }), error) << attributes;
        unchanged();
    }
    Reread(*numeric, R"(valueType="efloat" timestamp="99990000655359999")");
    EXPECT_EQ(*numeric->GetTimestamp(), (STimestamp{9999, 0, 6553, 5999}));
}

TEST_F(Descriptor, StringLengthAndPackedAscii) {
    auto text = Make<CStringParameterDescriptor>(
        ControlData(R"(valueType="EPackedAscii" stringLength="32")"));
    EXPECT_TRUE(text->IsPackedAscii());
    EXPECT_EQ(text->GetStringLength(), 32);
    EXPECT_EQ(Failure([&] { Reread(*text, R"(valueType="eascii" stringLength="8x")"); }),
              "runtime: Input format is not valid");
    EXPECT_TRUE(text->IsPackedAscii());
    EXPECT_EQ(Failure([&] { Reread(*text, R"(valueType="eascii")"); }), "invalid: Input is empty");
    Reread(*text, R"(valueType="eascii" stringLength="16")");
    EXPECT_FALSE(text->IsPackedAscii());
    EXPECT_EQ(text->GetStringLength(), 16);
}

TEST_F(Descriptor, EnumerationChoicesBothWaysInDocumentOrder) {
    const std::string choices = R"(<ChoiceCollection>
        <Choice caption="Open" tooltip="fully open" tag="7"/>
        <Choice caption="Closed" tag="1"/>
        <Choice caption="Open" tag="9" Choice="an attribute named like the element"/>
        </ChoiceCollection>)";
    auto choice =
        Make<CEnumParameterDescriptor>(ControlData(R"(valueType="eenum8" value="1")", choices));
    ASSERT_EQ(choice->GetChoices().size(), 3u);
    EXPECT_EQ(choice->GetChoices()[0].caption, "Open");
    EXPECT_EQ(choice->GetChoices()[0].tooltip, "fully open");
    EXPECT_EQ(choice->GetChoices()[2].tag, 9u);
    EXPECT_EQ(*choice->GetCaption(9), "Open");
    EXPECT_EQ(choice->GetCaption(2), nullptr);
    EXPECT_EQ(choice->GetTag("Open"), 7u); // the first of two equal captions
    EXPECT_EQ(choice->GetTag("Half"), std::nullopt);
    EXPECT_EQ(choice->GetCaptionsByTag().begin()->second, "Closed");
    EXPECT_EQ(choice->GetTagsByCaption().size(), 2u);
    EXPECT_EQ(choice->GetCurrentTag(), 1u);

    Next(ControlData(R"(valueType="eenum8" value="")",
                     R"(<ChoiceCollection><Choice caption="A" tag="-1"/></ChoiceCollection>)"));
    EXPECT_EQ(Failure([&] { choice->Update(2); }), "runtime: Input format is not valid");
    EXPECT_EQ(choice->GetChoices().size(), 3u);
    EXPECT_EQ(choice->GetCurrentTag(), 1u);

    Reread(*choice, R"(valueType="eenum8" value="Open")");
    EXPECT_TRUE(choice->GetChoices().empty());
    EXPECT_TRUE(choice->GetCaptionsByTag().empty());
    EXPECT_EQ(choice->GetCurrentTag(), std::nullopt);
}

TEST_F(Descriptor, BitEnumerationAndValueArray) {
    auto bits = Make<CBitEnumParameterDescriptor>(
        ControlData(R"(valueType="ebitenum16" value="5")",
                    R"(<BitEnumeratorList><BitEnumerator label="Low" tooltip="t" value="1"/>
           <BitEnumerator label="High" value="4294967295"/></BitEnumeratorList>)"));
    ASSERT_EQ(bits->GetBitEnumerators().size(), 2u);
    EXPECT_EQ(bits->GetBitEnumerators()[1].label, "High");
    EXPECT_EQ(*bits->GetBitLabel(0xFFFFFFFF), "High");
    EXPECT_EQ(bits->GetBitMask("Low"), 1u);
    EXPECT_EQ(bits->GetLabelsByMask().size(), 2u);
    Next(ControlData(
        R"(valueType="ebitenum16")",
        R"(<BitEnumeratorList><BitEnumerator value="4294967296"/></BitEnumeratorList>)"));
    EXPECT_EQ(Failure([&] { bits->Update(2); }), "runtime: Value is out of range");
    EXPECT_EQ(bits->GetBitEnumerators().size(), 2u);

    auto array = Make<CFFValueArrayParameterDescriptor>(
        ControlData(R"(valueType="effoctet")", R"(<FFValueArray elementType="eUInt8" valueType="x">
            <ArrayElement index="1" value="0A" description="first"/>
            <ArrayElement index="2" value="0B"/></FFValueArray>)"));
    EXPECT_EQ(array->GetElementType(), "eUInt8");
    EXPECT_EQ(array->GetArrayValueType(), "x");
    ASSERT_EQ(array->GetElements().size(), 2u);
    EXPECT_EQ(array->GetElements()[0].description, "first");
    EXPECT_EQ(array->GetElements()[1].value, "0B");
    Reread(*array, R"(valueType="effoctet")");
    EXPECT_TRUE(array->GetElements().empty());
    EXPECT_EQ(array->GetElementType(), "");
}

TEST_F(Descriptor, PartsAreFoundAnywhereInTheDocumentInDocumentOrder) {
    auto array = Make<CFFValueArrayParameterDescriptor>(R"(<Answer>
        <Header><FFValueArray elementType="first"><ArrayElement index="1"/></FFValueArray></Header>
        <ControlData value="v" timestamp="0000000000000000" parameterType="eprimitive"
                     valueType="effoctet"><FFValueArray elementType="second"/></ControlData>
        <ControlData value="w" timestamp="0000000000000000" parameterType="x" valueType="y"/>
        </Answer>)");
    EXPECT_EQ(array->GetValue(), "v");
    EXPECT_EQ(array->GetElementType(), "first");
    ASSERT_EQ(array->GetElements().size(), 1u);
    EXPECT_EQ(array->GetElements()[0].index, "1");

    auto choice = Make<CEnumParameterDescriptor>(
        R"(<a><ChoiceCollection><Choice caption="A" tag="1"/><Other><Choice tag="x"/></Other>)"
        R"(</ChoiceCollection>)" +
        ControlData(R"(valueType="eenum8")",
                    R"(<ChoiceCollection><Choice caption="B" tag="2"/></ChoiceCollection>)") +
        "</a>");
    ASSERT_EQ(choice->GetChoices().size(), 1u);
    EXPECT_EQ(choice->GetChoices()[0].caption, "A");
}

TEST_F(Descriptor, DatesAndTimesStoreAllFieldsOrNothing) {
    auto date = Make<CDateOrTimeParameterDescriptor>(
        ControlData(R"(valueType="edate" value="2024-03-07")"));
    const SDateTime& d = date->GetDateTime();
    EXPECT_EQ(d.year, 2024);
    EXPECT_EQ(d.month, 3);
    EXPECT_EQ(d.day, 7);
    for (const char* value : {"2025-04", "2025-4x-01", "2025--1-01", ""}) {
        Reread(*date, std::string(R"(valueType="edate" value=")") + value + "\"");
        EXPECT_EQ(date->GetValue(), value);
        EXPECT_EQ(d.year * 10000 + d.month * 100 + d.day, 20240307) << value;
    }
    Reread(*date, R"(valueType="etime" value="1500-3")");
    EXPECT_EQ(d.milliseconds, 1500);
    EXPECT_EQ(d.days, 3);
    EXPECT_EQ(d.year, 2024); // fields of other types stay
    Reread(*date, R"(valueType="effduration" value="-2-99999999999")");
    EXPECT_EQ(d.milliseconds, 1500);
    Reread(*date, R"(valueType="efftimevalue" value="-123456789012")");
    EXPECT_EQ(d.timeValue, -123456789012);
    Reread(*date, R"(valueType="efftimevalue" value="12 ")");
    EXPECT_EQ(d.timeValue, -123456789012);

    Reread(*date, R"(valueType="effdateandtime" value="2023-12-31 23:59:58.250 7 1")");
    EXPECT_EQ(std::vector<int>({d.year, d.month, d.day, d.hour, d.minute, d.second, d.milliseconds,
                                d.dayOfWeek, d.summerTime}),
              std::vector<int>({2023, 12, 31, 23, 59, 58, 250, 7, 1}));
    Reread(*date, R"(valueType="effdateandtime" value="2022-01-01 00:00:00.000 1")");
    EXPECT_EQ(d.year, 2023);
    EXPECT_EQ(d.dayOfWeek, 7);
}

} // namespace
