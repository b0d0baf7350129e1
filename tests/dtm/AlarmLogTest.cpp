#include "ValveTestSupport.h"
#include "dtm/AlarmConfiguration.h"
#include "xml/Xml.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using Configuration = CAlarmConfiguration;
using Record = std::vector<int>; // id, state, category, priority, order low, order high

constexpr int kAlarmLog = CSimulatedPositioner::kAlarmLogFrameType;
constexpr std::uint32_t kAcknowledge = Configuration::kAcknowledgeKey;
constexpr std::uint32_t kSummary = Configuration::kSummaryKey;
constexpr std::uint32_t kEnables = Configuration::kEnablesKey;
constexpr std::uint32_t kDiagnosticConfig = Configuration::kDiagnosticConfigKey;
constexpr std::uint32_t kSymptomLimits = Configuration::kSymptomLimitsKey;

class AlarmLog : public ValveTestFixture {
protected:
    CAlarmEngine& Alarms() { return Device().Alarms(); }
    std::string Value(std::uint32_t key) { return Device().Read(key).value_or("(none)"); }
    std::string Element(std::uint32_t key, std::size_t index) {
        return Device().Store().ReadArrayElement(key, index).value_or("(none)");
    }

    // Frame `n` of the alarm log as bytes: the four header bytes, then its records.
    std::vector<int> LogFrame(int n) {
        std::vector<int> bytes;
        for (const int word : Frame(kAlarmLog, n)) {
            bytes.push_back(word & 0xFF);
            bytes.push_back(word >> 8);
        }
        bytes.resize(4 + static_cast<std::size_t>(bytes[3]));
        return bytes;
    }

    // Every record, frame by frame until the last; checks each header.
    std::vector<Record> Records(int frames) {
        std::vector<Record> records;
        for (int n = 0; n < frames; ++n) {
            const std::vector<int> bytes = LogFrame(n);
            EXPECT_EQ(bytes[0], kAlarmLog);
            EXPECT_EQ(bytes[1], n);
            EXPECT_EQ(bytes[2], n + 1 == frames ? 0 : 1) << "frame " << n;
            EXPECT_EQ(bytes[3] % 6, 0);
            for (std::size_t at = 4; at < bytes.size(); at += 6) {
                records.emplace_back(bytes.begin() + static_cast<long>(at),
                                     bytes.begin() + static_cast<long>(at) + 6);
            }
        }
        return records;
    }
};

TEST_F(AlarmLog, RecordsFollowRaiseClearAndAcknowledgeWithTheConfiguredClasses) {
    EXPECT_EQ(LogFrame(0), (std::vector<int>{40, 0, 0, 6, 22, 1, 1, 1, 1, 0}))
        << "the start alarm, active and not acknowledged";

    Alarms().Raise(1);
    Alarms().Raise(6);
    Alarms().Clear(22);
    Device().Write(kAcknowledge, "22");
    EXPECT_EQ(Value(kSummary + 3), "2") << "inactive and acknowledged";
    Alarms().Raise(22); // again: not acknowledged, moved to the end
    Alarms().Raise(6);  // still active: nothing changes
    Device().Write(kAcknowledge, "6");
    EXPECT_EQ(Value(kSummary + 3), "3");
    Alarms().Clear(6); // keeps the acknowledgement
    Alarms().ClearAll();
    Device().Write(kAcknowledge, "99");
    EXPECT_EQ(Value(kSummary + 2) + "/" + Value(kSummary + 3), "99/255") << "not in the log";

    // Categories 3 and 0, priorities 1 and 2 for deviation (field 0) and temperature (3); the
    // diagnostic alarm 22 (index 11) from its three elements of the configuration array.
    Device().Write(kEnables + 3, std::to_string(3 | 1 << 2 | 1 << 4 | 0 << 6 | 1 << 8));
    Device().Write(kEnables + 4, std::to_string(1 | 1 << 2 | 1 << 4 | 2 << 6 | 1 << 8));
    EXPECT_TRUE(Device().WriteArrayElement(kDiagnosticConfig, 11 * 3 + 2, "2"));
    EXPECT_TRUE(Device().WriteArrayElement(kDiagnosticConfig, 11 * 3 + 3, "3"));
    EXPECT_EQ(Records(1), (std::vector<Record>{{1, 0, 3, 1, 2, 0}, //
                                               {6, 2, 0, 2, 3, 0}, //
                                               {22, 0, 2, 3, 4, 0}}));
    EXPECT_EQ(Value(kSummary + 1) + "/" + Value(kSummary + 4), "3/0");
    Alarms().Raise(7);
    EXPECT_EQ(Value(kSummary + 1) + "/" + Value(kSummary + 4), "4/1");
}

TEST_F(AlarmLog, LongLogsTakeFramesOfTwentyRecordsAndKeepTheLatestTwoHundred) {
    Alarms().ClearAll();
    for (std::uint32_t alarm = 1; alarm <= 25; ++alarm) {
        Alarms().Raise(alarm);
    }
    std::vector<Record> records = Records(2);
    ASSERT_EQ(records.size(), 25u);
    EXPECT_EQ(LogFrame(0)[3], 120);
    for (std::size_t i = 0; i < 25; ++i) {
        EXPECT_EQ(records[i],
                  (Record{static_cast<int>(i + 1), 1, 1, 1, static_cast<int>(i + 2), 0}))
            << "in the order received";
    }
    EXPECT_EQ(LogFrame(2), (std::vector<int>{40, 2, 0, 0})) << "beyond the last: empty";

    for (std::uint32_t alarm = 26; alarm <= 300; ++alarm) {
        Alarms().Raise(alarm); // ids wrap to 8 bits in the record, not in the log
    }
    EXPECT_EQ(Device().AlarmLog().Size(), 200u);
    EXPECT_EQ(Value(kSummary + 1), "200");
    records = Records(10);
    ASSERT_EQ(records.size(), 200u);
    EXPECT_EQ(records.front(), (Record{101, 1, 1, 1, 102, 0})) << "the oldest went";
    EXPECT_EQ(records.back(), (Record{300 & 0xFF, 1, 1, 1, 301 & 0xFF, 301 >> 8}));
    Device().Write(kAcknowledge, "1");
    EXPECT_EQ(Value(kSummary + 3), "255");
}

TEST_F(AlarmLog, AcknowledgementReachesTheSummaryThroughTheDtm) {
    ASSERT_EQ(Register(), VARIANT_TRUE);
    const auto acknowledge = [&](const std::string& alarm) {
        EXPECT_EQ(Set(kAcknowledge, alarm), "");
        EXPECT_EQ(Execute(dtm_function::kWrite, std::to_string(kAcknowledge)), S_OK);
        EXPECT_EQ(Execute(dtm_function::kRead, std::to_string(kSummary)), S_OK);
        m_scheduler.AdvanceBy(m_dtm->GetBusLatency());
        EXPECT_EQ(m_control->TakeUpdates().size(), 23u) << "one update per element";
        return Fetch(kSummary + 1) + "/" + Fetch(kSummary + 2) + "/" + Fetch(kSummary + 3) + "/" +
               Fetch(kSummary + 4) + "/" + Fetch(kSummary + 23);
    };
    EXPECT_EQ(acknowledge("22"), "1/22/3/1/0");
    EXPECT_EQ(acknowledge("22"), "1/22/3/1/0") << "again: the same";
    EXPECT_EQ(acknowledge("5"), "1/5/255/1/0");
    EXPECT_EQ(Set(kAcknowledge, "256"), "Value must be within 0 and 255");
}

TEST_F(AlarmLog, EnableBitsFollowTheDiagnosticFileAndTheConfigurationArray) {
    // The device's list is the file's, in id order.
    const xml::Document file = xml::Document::ParseFile(std::string(OV_DTM_DATA_DIR) +
                                                        "/diagnostic-alarm-information.xml");
    std::vector<unsigned long> ids;
    for (const xml::Node& alarm : file.SelectAll("//DiagnosticAlarmInformation/Alarm")) {
        ids.push_back(std::stoul(alarm.Attribute("@id")));
    }
    EXPECT_EQ(ids, std::vector<unsigned long>(Configuration::kDiagnosticAlarms.begin(),
                                              Configuration::kDiagnosticAlarms.end()));

    const auto enables = [&] {
        std::string text;
        for (std::uint32_t element = 1; element <= 6; ++element) {
            text += (element > 1 ? " " : "") + Value(kEnables + element);
        }
        return text;
    };
    EXPECT_EQ(enables(), "4294967295 1048575 341 341 2048 0") << "alarm 22 is the 12th";
    Alarms().Raise(8);  // the first
    Alarms().Raise(86); // the 52nd: bit 19 of the second half
    Alarms().Raise(1);  // a digital output alarm has no bit
    EXPECT_EQ(enables(), "4294967295 1048575 341 341 2049 524288");
    Device().Write(kEnables + 5, "0");
    EXPECT_EQ(Value(kEnables + 5), "2049") << "read only";

    // A write of the bits sets the array's enabled elements, and the other way round.
    EXPECT_EQ(Element(kDiagnosticConfig, 34), "1");
    Device().Write(kEnables + 1, std::to_string(0xFFFFFFFFu & ~(1u << 11)));
    EXPECT_EQ(Element(kDiagnosticConfig, 34), "0");
    EXPECT_EQ(Element(kDiagnosticConfig, 31), "1");
    EXPECT_TRUE(Device().WriteArrayElement(kDiagnosticConfig, 51 * 3 + 1, "0"));
    EXPECT_EQ(Value(kEnables + 2), std::to_string(1048575 - 524288));
    EXPECT_EQ(Value(kEnables + 1), std::to_string(0xFFFFFFFFu & ~(1u << 11)));
    EXPECT_FALSE(Device().WriteArrayElement(kDiagnosticConfig, 157, "0"));
}

TEST_F(AlarmLog, DigitalOutputRecordsAndArraysStartWithTheirDefaults) {
    struct SCase {
        std::uint32_t key;
        std::vector<std::string> values;
    };
    for (const SCase& c :
         {SCase{Configuration::kDeviationAlarmKey, {"0", "10.00", "10.00", "0", "0"}},
          SCase{Configuration::kLimitAlarmKey,
                {"0", "0.00", "0.00", "100.00", "100.00", "2.00", "0", "0"}},
          SCase{Configuration::kCPlusPressureAlarmKey,
                {"0", "0.00", "0.00", "9.00", "9.00", "0.20", "0", "0"}},
          SCase{Configuration::kTemperatureAlarmKey,
                {"0", "-30.00", "-30.00", "80.00", "80.00", "2.00", "0", "0"}},
          SCase{Configuration::kPositionPressureAlarmKey, {"0", "3.00", "0", "0"}}}) {
        SCOPED_TRACE(c.key);
        const SParameterDefinition& record = *m_dtm->Dictionary().Find(c.key);
        ASSERT_EQ(record.elements.size(), c.values.size());
        for (std::size_t i = 0; i < c.values.size(); ++i) {
            EXPECT_EQ(Value(record.elements[i]), c.values[i]);
            EXPECT_TRUE(record.elements[i] == c.key + i + 1);
        }
        EXPECT_EQ(Limits(c.key + 1), "0..1");
    }
    EXPECT_EQ(Limits(Configuration::kTemperatureAlarmKey + 4), "-60..120");

    EXPECT_EQ(CDeviceModel::SplitArray(Value(kDiagnosticConfig)),
              std::vector<std::string>(52 * 3, "1"));
    const std::vector<std::string> limits = CDeviceModel::SplitArray(Value(kSymptomLimits));
    ASSERT_EQ(limits.size(), 84u);
    EXPECT_EQ(limits[72], "1.00") << "group 13, row 0: element 73";
    EXPECT_EQ(limits[6], "200000000") << "group 2, row 0: element 7";
    EXPECT_EQ(limits[78], "33");
    EXPECT_EQ(limits[83], "0") << "unused rows";
    // Each travels in a 32-bit float without losing a digit of its whole part.
    for (const std::string& limit : limits) {
        const double value = std::strtod(limit.c_str(), nullptr);
        EXPECT_LT(std::abs(static_cast<float>(value) - value), 1e-6 * std::max(1.0, value))
            << limit;
    }
    EXPECT_EQ(static_cast<double>(static_cast<float>(200000000.0)), 200000000.0);
}

TEST_F(AlarmLog, FunctionEighteenWritesOneElementOfTheDtmsCopy) {
    const std::string array = std::to_string(kSymptomLimits);
    std::vector<std::string> limits = CDeviceModel::SplitArray(Value(kSymptomLimits));
    limits[6] = "150000000";
    limits[7] = "5";
    EXPECT_EQ(Set(kSymptomLimits, CDeviceModel::JoinArray(limits)), "");
    const auto call = [&](const std::string& argument) {
        VARIANT_BOOL result = VARIANT_FALSE;
        const HRESULT hr = Execute(18, argument, &result);
        EXPECT_EQ(result == VARIANT_TRUE, hr == S_OK) << argument;
        return hr;
    };
    EXPECT_EQ(call("<WriteSingleArrayElement arrayID='" + array + "' elementIndex='7'/>"), S_OK);
    EXPECT_EQ(Element(kSymptomLimits, 7), "150000000");
    EXPECT_EQ(Element(kSymptomLimits, 8), "10000000") << "only the one element";
    EXPECT_TRUE(m_dtm->DataSet().Find(kSymptomLimits)->modified) << "element 8 still differs";

    const std::string before = Value(kSymptomLimits);
    for (const std::string& argument :
         {std::string(), std::string("abc"), "<Other arrayID='" + array + "' elementIndex='8'/>",
          "<WriteSingleArrayElement arrayID='" + array + "'/>",
          "<WriteSingleArrayElement arrayID='" + array + "' elementIndex='0'/>",
          "<WriteSingleArrayElement arrayID='" + array + "' elementIndex='85'/>",
          "<WriteSingleArrayElement arrayID='" + array + "' elementIndex='-8'/>",
          std::string("<WriteSingleArrayElement arrayID='0x017B0000' elementIndex='8'/>"),
          "<WriteSingleArrayElement arrayID='" + std::to_string(kAcknowledge) +
              "' elementIndex='1'/>",
          std::string("<WriteSingleArrayElement arrayID='123' elementIndex='1'/>")}) {
        EXPECT_EQ(call(argument), E_INVALIDARG) << argument;
    }
    EXPECT_EQ(Value(kSymptomLimits), before);

    // An element of the configuration array reaches the enable bits.
    std::vector<std::string> configuration = CDeviceModel::SplitArray(Value(kDiagnosticConfig));
    configuration[0] = "0";
    EXPECT_EQ(Set(kDiagnosticConfig, CDeviceModel::JoinArray(configuration)), "");
    EXPECT_EQ(call("<WriteSingleArrayElement arrayID=\"" + std::to_string(kDiagnosticConfig) +
                   "\" elementIndex=\"1\"/>"),
              S_OK);
    EXPECT_EQ(Value(kEnables + 1), std::to_string(0xFFFFFFFEu));
    EXPECT_FALSE(m_dtm->DataSet().Find(kDiagnosticConfig)->modified) << "all written";
}

TEST_F(AlarmLog, TheTemperatureAlarmFollowsTheLiveTemperatureAboveHi) {
    // 24 °C at 0 s, 25.5 at 900 s, 22.5 at 2700 s.
    const auto at = [&](std::int64_t seconds) {
        m_scheduler.AdvanceBy(seconds * 1000 - m_scheduler.NowMs());
        Command(CLiveValues::kSnapshotCommand);
        return Alarms().IsActive(Configuration::kTemperatureAlarm);
    };
    const std::uint32_t temperature = Configuration::kTemperatureAlarmKey;
    Device().Write(temperature + Configuration::kHi, "25.00");
    Device().Write(temperature + Configuration::kHysteresis, "2.00");
    Device().Write(temperature + Configuration::kOnOff, "1");
    EXPECT_FALSE(at(100)) << "24.3 °C";
    EXPECT_TRUE(at(900));
    EXPECT_TRUE(at(1500)) << "24.8 °C: within the hysteresis";
    EXPECT_EQ(Device().AlarmLog().State(6), CAlarmLog::kActiveUnacknowledged);
    EXPECT_FALSE(at(2700));
    EXPECT_EQ(Device().AlarmLog().State(6), CAlarmLog::kInactiveUnacknowledged);
    Device().Write(temperature + Configuration::kOnOff, "0");
    EXPECT_FALSE(at(3600 + 900)) << "off";
    Device().Write(temperature + Configuration::kOnOff, "1");
    EXPECT_TRUE(at(3600 + 901));
}

} // namespace
