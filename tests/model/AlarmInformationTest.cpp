#include "model/AlarmInformation.h"
#include "TestPaths.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

using Reports = std::vector<std::string>;

// The alarms as (id, name, description, recommendation), in id order.
std::vector<std::string> Rows(const CAlarmInformationBase& information) {
    std::vector<std::string> rows;
    for (const auto& [id, text] : information.GetTexts()) {
        EXPECT_EQ(id, text.id);
        rows.push_back(std::to_string(id) + "|" + text.shortDescription + "|" +
                       text.faultDescription + "|" + text.consequences);
    }
    return rows;
}

class AlarmInformationTest : public ::testing::Test {
protected:
    CAlarmInformation::Reporter Reporter() {
        return [this](const std::string& message) { reports.push_back(message); };
    }

    CAlarmInformation alarms;
    CDiagnosticAlarmInformation diagnostic;
    Reports reports;
};

TEST_F(AlarmInformationTest, ReadsTheAlarmsOfTheFirstRootElementAnywhereInTheDocument) {
    const char* text = R"(<Device><Other><Alarm id="99" shortDescription="not mine"/></Other>
        <Texts><AlarmInformation>
          <Alarm id="22" shortDescription="Friction high" faultDescription="Too much friction."
                 consequences="Check the packing."/>
          <Note id="5" shortDescription="not an alarm"/>
          <Alarm id="7" shortDescription="Missing texts"/>
          <Group><Alarm id="8" shortDescription="a grandchild"/></Group>
          <Alarm id="22" shortDescription="Friction high again" consequences="Replace it."/>
          <Alarm id=" +40" shortDescription="Supply pressure low"/>
        </AlarmInformation></Texts>
        <AlarmInformation><Alarm id="1" shortDescription="second root"/></AlarmInformation>
        </Device>)";
    EXPECT_TRUE(alarms.LoadText(text, Reporter()));
    // The later duplicate replaces the earlier texts entirely, missing attributes included.
    EXPECT_EQ(Rows(alarms),
              (std::vector<std::string>{"7|Missing texts||", "22|Friction high again||Replace it.",
                                        "40|Supply pressure low||"}));
    EXPECT_EQ(reports, Reports{});
    ASSERT_NE(alarms.Find(22), nullptr);
    EXPECT_EQ(alarms.Find(22)->consequences, "Replace it.");
    EXPECT_EQ(alarms.Find(99), nullptr);
    EXPECT_EQ(alarms.FindId("Supply pressure low"), 40u);
    EXPECT_EQ(alarms.FindId("Friction high"), 0u) << "replaced, so no longer a name";

    // The diagnostic file has its own root: the same document holds no diagnostic alarms.
    EXPECT_TRUE(diagnostic.LoadText(text, Reporter()));
    EXPECT_EQ(diagnostic.Size(), 0u);
    EXPECT_TRUE(diagnostic.LoadText(R"(<DiagnosticAlarmInformation>
        <Alarm id="76" shortDescription="Feedback linkage play"/></DiagnosticAlarmInformation>)"));
    EXPECT_EQ(Rows(diagnostic), std::vector<std::string>{"76|Feedback linkage play||"});
}

TEST_F(AlarmInformationTest, ARootThatIsNotTheInformationElementYieldsNothing) {
    for (const char* text :
         {R"(<Alarms><Alarm id="1" shortDescription="a"/></Alarms>)",
          R"(<DiagnosticAlarmInformation><Alarm id="1"/></DiagnosticAlarmInformation>)",
          R"(<alarminformation><Alarm id="1"/></alarminformation>)"}) {
        SCOPED_TRACE(text);
        EXPECT_TRUE(alarms.LoadText(text, Reporter()));
        EXPECT_EQ(alarms.Size(), 0u);
    }
    EXPECT_EQ(reports, Reports{});
}

TEST_F(AlarmInformationTest, AnAlarmWithABadIdIsSkippedAndReportedOnceWhileTheRestLoads) {
    EXPECT_TRUE(alarms.LoadText(R"(<AlarmInformation>
          <Alarm id="1" shortDescription="Deviation alarm"/>
          <Alarm id="x12" shortDescription="bad"/>
          <Alarm id="-3" shortDescription="negative"/>
          <Alarm shortDescription="no id"/>
          <Alarm id="4294967296" shortDescription="too big"/>
          <Alarm id="4294967295" shortDescription="largest"/>
          <Alarm id="0x10" shortDescription="hex"/>
          <Alarm id="2" shortDescription="Travel limit low"/>
        </AlarmInformation>)",
                                Reporter()));
    EXPECT_EQ(Rows(alarms), (std::vector<std::string>{"1|Deviation alarm||", "2|Travel limit low||",
                                                      "4294967295|largest||"}));
    ASSERT_EQ(reports.size(), 1u);
    const std::string& report = reports[0];
    EXPECT_NE(report.find("AlarmInformation"), std::string::npos) << report;
    for (const char* named :
         {"'x12' (Input format is not valid)", "'-3' (Input format is not valid)",
          "'' (Input is empty)", "'4294967296' (Value is out of range)", "'0x10'"}) {
        EXPECT_NE(report.find(named), std::string::npos) << named << " in " << report;
    }
    // Without a reporter the bad alarm is still skipped.
    EXPECT_TRUE(
        alarms.LoadText(R"(<AlarmInformation><Alarm id="?"/><Alarm id="5"/></AlarmInformation>)"));
    EXPECT_EQ(Rows(alarms), std::vector<std::string>{"5|||"});
}

TEST_F(AlarmInformationTest, AFileThatCannotBeHadLeavesTheMapEmpty) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path();
    const std::string notXml =
        (folder / ("alarm-information-test-" + std::to_string(::getpid()) + ".xml")).string();
    std::ofstream(notXml) << "<AlarmInformation><Alarm id='1'>";
    const std::string good =
        (std::filesystem::path(OV_DTM_DATA_DIR) / "alarm-information.xml").string();
    std::vector<std::string> asked;
    for (const std::string& path :
         {std::string(), std::string("/nonexistent/alarms.xml"), notXml, folder.string()}) {
        SCOPED_TRACE(path);
        ASSERT_TRUE(alarms.LoadFile(good));
        std::string error;
        EXPECT_FALSE(alarms.Load(
            [&](const std::string& name) {
                asked.push_back(name);
                return path;
            },
            Reporter(), &error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(alarms.Size(), 0u) << "not even the texts loaded before";
    }
    std::remove(notXml.c_str());
    EXPECT_EQ(asked, std::vector<std::string>(4, "AlarmInformationPath"));
    EXPECT_EQ(reports, Reports{});

    // A failing query passes its exception on, with the map emptied.
    ASSERT_TRUE(diagnostic.LoadFile(good));
    EXPECT_THROW(diagnostic.Load(
                     [](const std::string&) -> std::string { throw std::runtime_error("no DTM"); }),
                 std::runtime_error);
    EXPECT_EQ(diagnostic.Size(), 0u);
}

TEST_F(AlarmInformationTest, TheShippedFilesLoadEveryAlarmAndAgreeOnTheDiagnosticOnes) {
    const std::filesystem::path data = OV_DTM_DATA_DIR;
    auto query = [&](const std::string& name) {
        return (data / (name == "AlarmInformationPath" ? "alarm-information.xml"
                                                       : "diagnostic-alarm-information.xml"))
            .string();
    };
    ASSERT_TRUE(alarms.Load(query, Reporter()));
    ASSERT_TRUE(diagnostic.Load(query, Reporter()));
    EXPECT_EQ(reports, Reports{});
    EXPECT_EQ(alarms.Size(), 87u);
    EXPECT_EQ(diagnostic.Size(), 52u);
    EXPECT_EQ(alarms.GetTexts().begin()->first, 1u);
    EXPECT_EQ(alarms.GetTexts().rbegin()->first, 87u);
    for (const auto& [id, text] : diagnostic.GetTexts()) {
        ASSERT_NE(alarms.Find(id), nullptr) << id;
        EXPECT_EQ(alarms.Find(id)->shortDescription, text.shortDescription) << id;
        EXPECT_EQ(diagnostic.FindId(text.shortDescription), id) << "names are unique";
    }
}

} // namespace
