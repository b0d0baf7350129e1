#include "DtmTestSupport.h"
#include "dtm/ParameterDictionary.h"
#include "model/BitEnumParameterDescriptor.h"
#include "model/DateOrTimeParameterDescriptor.h"
#include "model/EnumParameterDescriptor.h"
#include "model/FFValueArrayParameterDescriptor.h"
#include "model/NumericParameterDescriptor.h"
#include "model/StringParameterDescriptor.h"
#include "model/Validator.h"
#include "xml/Xml.h"

#include <QTemporaryDir>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace {

// True when `descriptor` is of the class the factory builds for `kind`; a record has none.
bool IsOfKind(const IParameterDescription* descriptor, EDescriptorKind kind) {
    switch (kind) {
    case EDescriptorKind::Numeric:
        return dynamic_cast<const CNumericParameterDescriptor*>(descriptor) != nullptr;
    case EDescriptorKind::String:
        return dynamic_cast<const CStringParameterDescriptor*>(descriptor) != nullptr;
    case EDescriptorKind::Enumeration:
        return dynamic_cast<const CEnumParameterDescriptor*>(descriptor) != nullptr;
    case EDescriptorKind::BitEnumeration:
        return dynamic_cast<const CBitEnumParameterDescriptor*>(descriptor) != nullptr;
    case EDescriptorKind::DateOrTime:
        return dynamic_cast<const CDateOrTimeParameterDescriptor*>(descriptor) != nullptr;
    case EDescriptorKind::ValueArray:
        return dynamic_cast<const CFFValueArrayParameterDescriptor*>(descriptor) != nullptr;
    case EDescriptorKind::Record:
        return descriptor == nullptr;
    }
    return false;
}

// Fetches every key of the DTM's dictionary through the descriptor factory and checks that
// each document reads completely, as the kind the dictionary names.
void ExpectEveryKeyReads(CSimulatedDtm& dtm) {
    CParameterDescriptionFactory factory{ComPtr<IDtmParameterAccess>(&dtm)};
    for (const std::uint32_t key : dtm.Dictionary().Keys()) {
        const SParameterDefinition& definition = *dtm.Dictionary().Find(key);
        SCOPED_TRACE(definition.name);
        IParameterDescription* descriptor = nullptr;
        ASSERT_NO_THROW(descriptor = factory.GetParameterDescription(2, key));
        EXPECT_TRUE(IsOfKind(descriptor, definition.kind));
        if (descriptor != nullptr) {
            EXPECT_EQ(descriptor->GetLabel(), definition.label);
            EXPECT_EQ(descriptor->GetName(), definition.name);
            EXPECT_EQ(descriptor->GetValue(), definition.defaultValue);
            EXPECT_NE(descriptor->GetValueType(), EValueType::eUnknownValueType);
            EXPECT_NE(descriptor->GetTimestamp()->group1, 0) << "the year";
        }
        if (definition.validator) {
            std::int32_t kind = 0;
            std::string document;
            ASSERT_EQ(dtm.GetControlData(2, key, &kind, &document), S_OK);
            const xml::Document parsed = xml::Document::Parse(document);
            EXPECT_NE(CreateValidator(parsed.Root()), nullptr);
        }
    }
}

// The descriptor of `key`, which must be a T.
template <class T> const T& Descriptor(CParameterDescriptionFactory& factory, std::uint32_t key) {
    const auto* descriptor = dynamic_cast<const T*>(factory.GetParameterDescription(2, key));
    if (descriptor == nullptr) {
        throw std::logic_error("no descriptor of the expected kind for " + std::to_string(key));
    }
    return *descriptor;
}

using ParameterDictionary = DtmTest;

TEST_F(ParameterDictionary, EveryKeyOfTheDeviceReadsAsItsKind) {
    ExpectEveryKeyReads(*m_dtm);

    // The keys the control watches, and those it reads in every view header as their kinds.
    const CParameterDictionary& dictionary = m_dtm->Dictionary();
    for (const std::uint32_t key : {0x01290000u, 0x012E0000u, 0x015C0000u, 0x01620000u}) {
        EXPECT_NE(dictionary.Find(key), nullptr) << key;
    }
    const std::pair<std::uint32_t, EDescriptorKind> header[] = {
        {0x01680000, EDescriptorKind::Numeric},     {0x01670000, EDescriptorKind::Numeric},
        {0x01290000, EDescriptorKind::Enumeration}, {0x012E0000, EDescriptorKind::Enumeration},
        {0x015B0002, EDescriptorKind::Enumeration},
    };
    for (const auto& [key, kind] : header) {
        ASSERT_NE(dictionary.Find(key), nullptr) << key;
        EXPECT_EQ(dictionary.Find(key)->kind, kind) << key;
    }
}

// A data folder holding only a dictionary of `parameters`, removed with this object.
class CDictionaryFolder {
public:
    explicit CDictionaryFolder(const std::string& parameters) {
        std::ofstream(Path() / "parameters.xml")
            << "<ParameterDictionary>" << parameters << "</ParameterDictionary>";
    }
    std::filesystem::path Path() const { return m_dir.path().toStdString(); }

private:
    QTemporaryDir m_dir;
};

TEST(ParameterDictionaryKinds, EveryKindIsWrittenSoTheFactoryReadsIt) {
    const CDictionaryFolder folder(R"(
      <Parameter key="0x01020000" name="DESCRIPTION" label="Text &lt;&amp;&quot;'&gt;"
                 kind="string" valueType="EAscii" stringLength="32" default="Feed &amp; bleed"/>
      <Parameter key="0x01030000" name="ALERTS" label="Alerts" kind="bitEnumeration"
                 valueType="EBitEnum8" default="5">
        <Bit value="1" label="Travel" help="Travel alert"/>
        <Bit value="4" label="Pressure"/>
      </Parameter>
      <Parameter key="0x01040000" name="INSTALLED" label="Installed" kind="dateOrTime"
                 valueType="EDate" default="2024-05-17"/>
      <Parameter key="0x01050000" name="SEGMENT" label="Segment" kind="valueArray"
                 valueType="EFFOctet" elementType="Unsigned16" default="0A00 1B02 FFFF"/>
      <Parameter key="0x01060000" name="GAIN" label="Gain" kind="numeric" valueType="EFloat"
                 unit="%" min="-1.5e3" max="1.5e3" default="2.5">
        <Validator type="numericRange_double" min="-1500" max="1500"/>
      </Parameter>)");
    const ComPtr<CSimulatedDtm> dtm = MakeCom<CSimulatedDtm>(folder.Path());
    ExpectEveryKeyReads(*dtm);

    // What only some kinds carry reaches the descriptor as written.
    CParameterDescriptionFactory factory{ComPtr<IDtmParameterAccess>(dtm.Get())};
    const auto& text = Descriptor<CStringParameterDescriptor>(factory, 0x01020000);
    EXPECT_EQ(text.GetLabel(), "Text <&\"'>");
    EXPECT_EQ(text.GetValue(), "Feed & bleed");
    EXPECT_EQ(text.GetStringLength(), 32);
    EXPECT_EQ(*Descriptor<CBitEnumParameterDescriptor>(factory, 0x01030000).GetBitLabel(4),
              "Pressure");
    EXPECT_EQ(Descriptor<CDateParameterDescriptor>(factory, 0x01040000).GetDateTime().year, 2024);
    const auto& segment = Descriptor<CFFValueArrayParameterDescriptor>(factory, 0x01050000);
    EXPECT_EQ(segment.GetElementType(), "Unsigned16");
    ASSERT_EQ(segment.GetElements().size(), 3u);
    EXPECT_EQ(segment.GetElements()[2].value, "FFFF");
    EXPECT_EQ(Descriptor<CNumericParameterDescriptor>(factory, 0x01060000).GetMin(), "-1.5e3");
}

TEST(ParameterDictionaryKinds, RefusesAMalformedDictionaryNamingTheFault) {
    const std::string number = R"( kind="numeric" valueType="EUInt8")";
    const std::pair<std::string, std::string> cases[] = {
        {"<Parameter key=\"01290000\"" + number + "/>", "is not a hexadecimal number with 0x"},
        {"<Parameter key=\"0x0129zz00\"" + number + "/>", "is not a hexadecimal number"},
        {"<Parameter key=\"0x01290000\"" + number + "/><Parameter key=\"0x01290000\"" + number +
             "/>",
         "Parameter 0x01290000: the key appears twice"},
        {R"(<Parameter key="0x01" kind="float" valueType="EFloat"/>)", "unknown kind \"float\""},
        {R"(<Parameter key="0x01" kind="numeric"/>)", "the valueType is missing"},
        {R"(<Parameter key="0x01" kind="numeric" valueType="EUInt8" access="write"/>)",
         "unknown access \"write\""},
        {R"(<Parameter key="0x01" kind="string" valueType="EAscii"/>)", "needs a stringLength"},
        {R"(<Parameter key="0x01" kind="enumeration" valueType="EEnum8"><Choice tag="on"/>
            </Parameter>)",
         "Choice tag \"on\" is not an unsigned decimal number"},
        {"<Record key=\"0x015B0001\"><Parameter key=\"0x015B0002\"" + number + "/></Record>",
         "Record 0x015B0001: a record is named by its element 0"},
        {"<Record key=\"0x015B0000\"><Parameter key=\"0x015B0001\"" + number +
             "/><Parameter key=\"0x015B0003\"" + number + "/></Record>",
         "element 0x015B0003 is out of order"},
        {R"(<Record key="0x015B0000"/>)", "a record has elements"},
        {"<Value/>", "unknown element"},
    };
    for (const auto& [parameters, message] : cases) {
        SCOPED_TRACE(parameters);
        try {
            CParameterDictionary::Parse("<ParameterDictionary>" + parameters +
                                        "</ParameterDictionary>");
            ADD_FAILURE() << "no error";
        } catch (const std::runtime_error& error) {
            EXPECT_THAT(error.what(), ::testing::HasSubstr(message));
        }
    }
    EXPECT_THROW(CParameterDictionary::Parse("<Dictionary/>"), std::runtime_error);
    EXPECT_THROW(CParameterDictionary::Parse("<ParameterDictionary>"), std::runtime_error);
    EXPECT_THROW(MakeCom<CSimulatedDtm>(std::filesystem::path(::testing::TempDir()) / "none"),
                 std::runtime_error);
}

} // namespace
