#include "FieldbusTestSupport.h"
#include "fieldbus/FFConversions.h"
#include "fieldbus/FFEnumerations.h"
#include "fieldbus/FFH1XMLExtractor.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

using namespace CFFConversions;

// The conversion's result as text, or its error text.
template <class Convert> std::string Outcome(Convert convert, const char* text) {
    try {
        return std::to_string(convert(text));
    } catch (const std::exception& e) {
        return e.what();
    }
}

TEST(FFConversions, AttributeTexts) {
    const std::string format = "Input format is not valid";
    const std::string range = "Value is out of range";
    using Check = std::string (*)(const char*);
    const Check boolean = [](const char* t) { return Outcome(ToBoolean, t); };
    const Check u32 = [](const char* t) { return Outcome(ToUInt32, t); };
    const Check u16 = [](const char* t) { return Outcome(ToUInt16, t); };
    const Check u8 = [](const char* t) { return Outcome(ToUInt8, t); };
    const Check s16 = [](const char* t) { return Outcome(ToInt16, t); };
    const Check s8 = [](const char* t) { return Outcome(ToInt8, t); };
    const Check count = [](const char* t) { return Outcome(ToSmallCount, t); };
    const std::vector<std::tuple<Check, const char*, std::string>> cases{
        {boolean, "1", "1"},         {boolean, "true", "1"},     {boolean, "false", "0"},
        {boolean, "", "0"},          {boolean, "TRUE", format},  {u32, " \t42", "42"},
        {u32, "", "Input is empty"}, {u32, "-1", format},        {u32, "12a", format},
        {u32, "+5", format},         {u32, "4294967296", range}, {u16, "65536", range},
        {u8, "255", "255"},          {u8, "256", range},         {s16, "-32768", "-32768"},
        {s16, "32768", range},       {s8, "+127", "127"},        {s8, "-129", range},
        {count, "300", "44"},        {count, "-1", "255"},       {count, "x", format},
    };
    for (const auto& [convert, text, expected] : cases) {
        EXPECT_EQ(convert(text), expected) << '"' << text << '"';
    }
}

// Every name reads as its position and is written back; an unknown name is the last entry.
template <class E> void ExpectNameTable(std::size_t size) {
    const auto& names = FFNameTable<E>::names;
    ASSERT_EQ(names.size(), size);
    for (std::size_t i = 0; i < size; ++i) {
        EXPECT_EQ(ParseFFName<E>(names[i]), static_cast<E>(i)) << names[i];
        EXPECT_EQ(FormatFFName(static_cast<E>(i)), names[i]);
    }
    EXPECT_EQ(ParseFFName<E>("unknown"), static_cast<E>(size - 1));
    EXPECT_EQ(FormatFFName(static_cast<E>(size)), "");
}

TEST(FFEnumerations, NameTables) {
    ExpectNameTable<FmsLogicalStatus>(4);
    ExpectNameTable<FmsPhysicalStatus>(4);
    ExpectNameTable<SmServiceResult>(22);
    ExpectNameTable<SmService>(7);
    ExpectNameTable<SmFindTagQueryType>(7);
    ExpectNameTable<DeviceClass>(4);
    ExpectNameTable<ConnectOption>(3);
    ExpectNameTable<AbortIdentifier>(4);
    ExpectNameTable<ConfirmedResponseType>(5);
    EXPECT_EQ(FormatFFName(static_cast<SmServiceResult>(13)), "mutipleResponsefromWhoHasPDTag");
    EXPECT_EQ(ParseFFName<FmsPhysicalStatus>("Operational"), FmsPhysicalStatus::needsCommissioning);
}

TEST(FFXMLExtractor, DocumentsAndPaths) {
    CFFH1XMLExtractor reader;
    const auto errorOf = [&](auto query) { return ErrorOf<std::runtime_error>(query); };
    EXPECT_EQ(errorOf([&] { reader.Contains("//r"); }), "CFFXMLExtractor::Contains");
    EXPECT_EQ(errorOf([&] { reader.GetNode("//r", false); }), "CFFH1XMLExtractor::GetNode");

    reader.Load("<r " + Docs::kNs + R"(><a fftypes:vfdRef="1" vfdRef="2"/><b devID="9"/></r>)");
    EXPECT_TRUE(reader.Contains("//a"));
    EXPECT_FALSE(reader.Contains("//c"));
    EXPECT_TRUE(reader.GetNode("//c", false).IsNull());
    EXPECT_EQ(errorOf([&] { reader.GetNode("//c", true); }), "CFFH1XMLExtractor::GetNode");
    EXPECT_EQ(reader.FindText("//@x"), std::nullopt);
    EXPECT_EQ(reader.GetText("//@fftypes:vfdRef", "//@vfdRef"), "1");
    EXPECT_EQ(reader.GetText("//@fftypes:devID", "//@devID"), "9");
    EXPECT_EQ(errorOf([&] { reader.GetText("//@fftypes:x", "//@x"); }),
              "CFFH1XMLExtractor::GetNode");

    // A text that does not parse drops the document loaded before.
    reader.Load("<r><a></r>");
    EXPECT_EQ(errorOf([&] { reader.Contains("//a"); }), "CFFXMLExtractor::Contains");
    EXPECT_EQ(errorOf([&] { reader.FindText("//@x"); }), "CFFH1XMLExtractor::GetNode");
}

TEST(FFXMLExtractor, IndexedLists) {
    CFFH1XMLExtractor reader;
    reader.Load("<r><e/><e/><e/><f/></r>");
    std::vector<std::string> paths;
    const auto collect = [&](const std::string& path) { paths.push_back(path); };
    reader.ReadList("//e", collect);
    reader.ReadList("//none", collect);
    EXPECT_EQ(paths, (std::vector<std::string>{"//e[0]", "//e[1]", "//e[2]"}));
    paths.clear();
    reader.ReadList("//f", 2, collect); // a counted list names its items, present or not
    EXPECT_EQ(paths, (std::vector<std::string>{"//f[0]", "//f[1]"}));
}

TEST(FFXMLExtractor, ErrorDescription) {
    CFFH1XMLExtractor reader;
    reader.Load(Docs::kDescribedCommonError);
    const CErrorInfo described = reader.GetErrorInfo();
    EXPECT_EQ(described.GetErrorClass(), -2);
    EXPECT_EQ(described.GetErrorCode(), 3);
    EXPECT_EQ(described.GetAdditionalCode(), -300);
    EXPECT_EQ(described.GetAdditionalDescription(), "busy");
    ASSERT_TRUE(described.HasErrorDescription());
    EXPECT_EQ(described.GetErrorClassEntry(),
              CEnumeratorEntry(254, "Resource", "Resource problem"));
    EXPECT_EQ(described.GetErrorCodeEntry(), CEnumeratorEntry(3, "MemoryUnavailable"));

    reader.Load(Docs::kServiceError);
    const CErrorInfo bare = reader.GetErrorInfo();
    EXPECT_EQ(bare.GetErrorClass(), 6);
    EXPECT_FALSE(bare.HasAdditionalCode());
    EXPECT_FALSE(bare.HasAdditionalDescription());
    EXPECT_FALSE(bare.HasErrorDescription());

    const auto errorOf = [&](const std::string& document) {
        reader.Load(document);
        return ErrorOf<std::exception>([&] { reader.GetErrorInfo(); });
    };
    EXPECT_EQ(errorOf("<e errorCode='1'/>"), "CFFH1XMLExtractor::GetNode");
    EXPECT_EQ(errorOf("<e errorClass='128' errorCode='1'/>"), "Value is out of range");
    EXPECT_EQ(errorOf("<fms:e " + Docs::kNs + R"( errorClass="1" errorCode="2">)" +
                      R"(<fms:ErrorDescription><fdt:EnumeratorEntry index="1" name="x"/>)" +
                      "</fms:ErrorDescription></fms:e>"),
              "CFFH1XMLExtractor::GetNode");
}

} // namespace
