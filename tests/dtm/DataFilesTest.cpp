#include "TestPaths.h"
#include "dtm/DataDirectory.h"
#include "dtm/ParameterDictionary.h"
#include "xml/Xml.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>

namespace {

const std::filesystem::path kData = OV_DTM_DATA_DIR;

// The alarms of an information file by id, read as the control reads them: the first
// `root` element anywhere, its Alarm children, each id an unsigned decimal number.
std::map<unsigned long, std::string> ShortDescriptions(const char* file, const char* root) {
    const xml::Document document = xml::Document::ParseFile((kData / file).string());
    const xml::Node information = document.SelectSingle(std::string("//") + root);
    EXPECT_TRUE(information) << file;
    std::map<unsigned long, std::string> alarms;
    for (const xml::Node& alarm : information.SelectAll("Alarm")) {
        const std::string id = alarm.Attribute("@id");
        SCOPED_TRACE(std::string(file) + " id " + id);
        EXPECT_EQ(id.find_first_not_of("0123456789"), std::string::npos);
        for (const char* text : {"@shortDescription", "@faultDescription", "@consequences"}) {
            EXPECT_FALSE(alarm.Attribute(text).empty()) << text;
        }
        EXPECT_TRUE(alarms.emplace(std::stoul(id), alarm.Attribute("@shortDescription")).second)
            << "each id once";
    }
    return alarms;
}

TEST(DtmDataFiles, AlarmInformationFilesParseAndAgree) {
    const auto alarms = ShortDescriptions("alarm-information.xml", "AlarmInformation");
    const auto diagnostic =
        ShortDescriptions("diagnostic-alarm-information.xml", "DiagnosticAlarmInformation");
    EXPECT_EQ(alarms.size(), 87u);
    // The diagnostic alarms are exactly the alarms with a symptom group (groups 1 to 14 and
    // group 0, the alarms without symptom limits).
    std::set<unsigned long> grouped{9,  31, 75, 10, 30, 22, 23, 28, 29, 67, 33, 34, 59, 69, 36,
                                    39, 40, 45, 48, 49, 50, 51, 52, 74, 83, 53, 54, 55, 58, 62,
                                    60, 65, 70, 71, 76, 82, 8,  77, 78, 79, 80, 84, 85, 86};
    for (unsigned long id = 11; id <= 18; ++id) {
        grouped.insert(id);
    }
    std::set<unsigned long> diagnosticIds;
    for (const auto& [id, name] : diagnostic) {
        diagnosticIds.insert(id);
    }
    EXPECT_EQ(diagnosticIds, grouped);
    // The alarm list and the header name every alarm from the alarm information, and the
    // alarm configuration finds diagnostic alarms by name: both files must agree.
    for (const auto& [id, name] : diagnostic) {
        ASSERT_TRUE(alarms.contains(id)) << id;
        EXPECT_EQ(alarms.at(id), name) << id;
    }
    // The device's current alarm at start has a name.
    const auto dictionary = CParameterDictionary::Load(kData / "parameters.xml");
    EXPECT_TRUE(alarms.contains(std::stoul(dictionary.Find(0x01670000)->defaultValue)));
}

TEST(DtmDataFiles, TooltipInformationNamesEveryHeaderTip) {
    const xml::Document document =
        xml::Document::ParseFile((kData / "tooltip-information.xml").string());
    const xml::Node tooltips = document.SelectSingle("//Tooltips");
    ASSERT_TRUE(tooltips);
    std::set<std::string> keys;
    for (const xml::Node& tip : tooltips.SelectAll("Tip")) {
        EXPECT_FALSE(tip.Attribute("@code").empty());
        EXPECT_TRUE(keys.insert(tip.Attribute("@key")).second) << tip.Attribute("@key");
    }
    for (const char* key :
         {"TT_COM_ED_ACTALAR", "TT_COM_ED_ALARM", "TT_COM_ED_SERVSTATUS", "TT_COM_ED_STPTMODE",
          "TT_COM_ED_FAILMOD", "TT_COM_BN_DIAGNOSTICS", "TT_COM_BN_DASHBOARD", "TT_COM_BN_SOUND"}) {
        EXPECT_TRUE(keys.contains(key)) << key;
    }
}

TEST(DtmDataFiles, TheDataFolderIsNamedByTheEnvironmentOrFoundInTheSources) {
    const char* given = std::getenv("VELA_DTM_DATA");
    const std::optional<std::string> saved =
        given ? std::optional<std::string>(given) : std::nullopt;
    ::setenv("VELA_DTM_DATA", "/opt/vela/dtm", 1);
    EXPECT_EQ(FindDtmDataDirectory(), "/opt/vela/dtm");
    ::setenv("VELA_DTM_DATA", "", 1); // empty is not set
    EXPECT_TRUE(std::filesystem::is_regular_file(FindDtmDataDirectory() / "parameters.xml"));
    ::unsetenv("VELA_DTM_DATA");
    EXPECT_TRUE(std::filesystem::is_regular_file(FindDtmDataDirectory() / "parameters.xml"));
    if (saved) {
        ::setenv("VELA_DTM_DATA", saved->c_str(), 1);
    }
}

} // namespace
