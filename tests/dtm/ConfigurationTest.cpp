#include "DtmTestSupport.h"
#include "dtm/ParameterDictionary.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Updates = std::vector<CFakeControl::Update>;
using FailureMode = CFailureModeProcedure;

constexpr std::uint32_t kCommand = 0x015B0001;
constexpr std::uint32_t kCharacteristic = 0x01140000;

// The rows of the all-parameters grid: (parameter, first element, last element); element 0
// alone reads the whole parameter, a range of parameters is written with first = last = 0.
struct SRows {
    std::uint16_t parameter;
    std::uint16_t lastParameter; // the same for one parameter
    std::uint16_t first;
    std::uint16_t last;
};
constexpr SRows kGrid[] = {
    {0x0101, 0x0104, 0, 0},  {0x0105, 0x0105, 1, 4},  {0x0106, 0x0106, 0, 0},
    {0x0107, 0x0107, 1, 5},  {0x0108, 0x0108, 1, 5},  {0x0109, 0x010C, 0, 0},
    {0x010D, 0x010D, 1, 2},  {0x010E, 0x010E, 1, 4},  {0x010F, 0x0110, 0, 0},
    {0x0111, 0x0111, 1, 2},  {0x0112, 0x0134, 0, 0},  {0x0135, 0x0135, 1, 5},
    {0x0136, 0x0138, 1, 8},  {0x0139, 0x0139, 1, 4},  {0x013A, 0x013A, 0, 0},
    {0x013B, 0x013B, 1, 17}, {0x013C, 0x013C, 1, 16}, {0x013D, 0x013D, 1, 17},
    {0x013E, 0x013E, 1, 16}, {0x013F, 0x013F, 1, 4},  {0x0140, 0x0140, 0, 0},
    {0x0141, 0x0141, 1, 23}, {0x0142, 0x0142, 0, 0},  {0x0143, 0x0144, 1, 2},
    {0x0145, 0x0152, 0, 0},  {0x0153, 0x0153, 1, 4},  {0x0154, 0x0155, 1, 2},
    {0x0156, 0x0156, 1, 3},  {0x0157, 0x0157, 1, 2},  {0x0158, 0x0158, 0, 0},
    {0x0159, 0x0159, 1, 5},  {0x015A, 0x015A, 0, 0},  {0x015B, 0x015B, 1, 4},
    {0x015C, 0x015C, 0, 0},  {0x015D, 0x015E, 1, 2},  {0x0163, 0x0163, 1, 2},
    {0x0164, 0x0164, 0, 0},  {0x0166, 0x0166, 0, 0},  {0x0165, 0x0165, 0, 0},
    {0x0167, 0x0168, 0, 0},  {0x0169, 0x0169, 1, 6},  {0x016A, 0x017B, 0, 0},
};

std::vector<std::uint32_t> GridKeys() {
    std::vector<std::uint32_t> keys;
    for (const SRows& rows : kGrid) {
        for (std::uint32_t parameter = rows.parameter; parameter <= rows.lastParameter;
             ++parameter) {
            for (std::uint32_t element = rows.first; element <= rows.last; ++element) {
                keys.push_back(0x01000000u | parameter << 16 | element);
            }
        }
    }
    return keys;
}

class Configuration : public DtmTest {
protected:
    Configuration() { EXPECT_EQ(Register(), VARIANT_TRUE); }

    std::string Value(std::uint32_t key) { return *m_dtm->Positioner().Read(key); }
    // A value set and written, as a view sends it; answers SetParameterValue's response.
    std::string Send(std::uint32_t key, const std::string& value) {
        const std::string response = Set(key, value);
        EXPECT_EQ(Execute(dtm_function::kWrite, std::to_string(key)), S_OK);
        return response;
    }
};

TEST_F(Configuration, EveryRowOfTheAllParametersGridHasADescriptorAndAnswersARead) {
    const std::vector<std::uint32_t> keys = GridKeys();
    ASSERT_EQ(keys.size(), 275u);
    Updates expected;
    for (const std::uint32_t key : keys) {
        SCOPED_TRACE(std::to_string(key));
        const SParameterDefinition* definition = m_dtm->Dictionary().Find(key);
        ASSERT_NE(definition, nullptr);
        EXPECT_FALSE(definition->help.empty());
        EXPECT_FALSE(definition->label.empty());
        // The one record the grid reads whole (0x0170, the transmitter) answers with its
        // elements; every other row is a value with a descriptor of its own.
        if (definition->kind != EDescriptorKind::Record) {
            EXPECT_NE(Fetch(key), "(none)");
        } else {
            EXPECT_EQ(key, 0x01700000u);
        }
        EXPECT_EQ(Execute(dtm_function::kRead, std::to_string(key)), S_OK);
        for (const std::uint32_t element : m_dtm->Dictionary().ValueKeys(key)) {
            expected.emplace_back(dtm_update::kParameterChanged, std::to_string(element));
        }
    }
    m_scheduler.AdvanceBy(m_dtm->GetBusLatency() * static_cast<int>(keys.size()));
    EXPECT_EQ(m_control->TakeUpdates(), expected);
}

TEST_F(Configuration, FailureModeAnswersAfterItsDelayUnlessCommandsGoUnanswered) {
    const int delay = FailureMode::kDefaultDelayMs;
    m_dtm->Positioner().Live().Snapshot();
    // Activate, as the wizard sends it: element 4 cleared, then the command.
    EXPECT_EQ(Send(keys::kFrameNumber, "0"), "");
    EXPECT_EQ(Send(kCommand, "33"), "");
    m_scheduler.AdvanceBy(delay - 1);
    EXPECT_EQ(Value(keys::kCommandState), "0") << "not before the delay";
    m_scheduler.AdvanceBy(1);
    EXPECT_EQ(Value(keys::kCommandState), "200");
    EXPECT_TRUE(m_dtm->Positioner().Live().IsFailed());
    m_scheduler.AdvanceBy(10000);
    m_dtm->Positioner().Live().Snapshot();
    EXPECT_LT(m_dtm->Positioner().Live().Last().position, 1.0) << "the fail action closes";

    // Deactivate is written twice; the state clears one delay after the last write.
    EXPECT_EQ(Send(kCommand, "34"), "");
    m_scheduler.AdvanceBy(delay / 2);
    EXPECT_EQ(Send(kCommand, "34"), "");
    m_scheduler.AdvanceBy(delay - 1);
    EXPECT_EQ(Value(keys::kCommandState), "200");
    m_scheduler.AdvanceBy(1);
    EXPECT_EQ(Value(keys::kCommandState), "0");
    EXPECT_FALSE(m_dtm->Positioner().Live().IsFailed());
    EXPECT_EQ(m_scheduler.TimerCount(), 0u);

    // Unanswered: the command is stored, nothing else happens (not even a snapshot).
    m_dtm->Faults().commandsUnanswered = true;
    const std::string position = Value(0x01440001);
    for (const char* command : {"33", "42"}) {
        EXPECT_EQ(Send(kCommand, command), "");
        EXPECT_EQ(Value(kCommand), command);
    }
    m_scheduler.AdvanceBy(20000);
    EXPECT_EQ(Value(keys::kCommandState), "0");
    EXPECT_EQ(Value(0x01440001), position);
    EXPECT_FALSE(m_dtm->Positioner().FailureMode().IsPending());
}

TEST_F(Configuration, TheDeviceRefusesBadValuesReadOnlyWritesAndACharacteristicInService) {
    // Stored configuration takes what is written.
    EXPECT_EQ(Send(0x01160000, "Acme"), "");
    EXPECT_EQ(Value(0x01160000), "Acme");
    EXPECT_EQ(Send(0x01430001, "55"), "");
    EXPECT_EQ(Value(0x01430001), "55");

    // A bad text is refused by the DTM with its reason; the write sends the old value.
    const std::pair<std::uint32_t, const char*> bad[] = {
        {0x01170000, "4"},                                   // no such choice
        {0x011D0000, "lots"},                                // not a number
        {0x01510000, "10.5"},                                // beyond the range
        {0x01160000, "A manufacturer with a name too long"}, // 35 characters of 32
        {0x01050003, "1"},                                   // a bit no mode has
    };
    for (const auto& [key, text] : bad) {
        SCOPED_TRACE(text);
        const std::string before = Value(key);
        EXPECT_NE(Send(key, text), "");
        EXPECT_EQ(Value(key), before);
    }
    EXPECT_EQ(Send(0x01160000, "Überdruck Ventilbau GmbH Süd-Ost"), "") << "32 characters";

    // Read-only values are undone.
    for (const std::uint32_t key : {0x020B0000u, 0x01410004u, 0x01440001u, 0x04070001u}) {
        const std::string before = Value(key);
        EXPECT_EQ(Send(key, "9"), "");
        EXPECT_EQ(Value(key), before) << std::hex << key;
    }

    // The characteristic changes out of service only.
    EXPECT_EQ(Send(kCharacteristic, "3"), "");
    EXPECT_EQ(Value(kCharacteristic), "0");
    m_dtm->Device().Write(keys::kServiceMode, "241");
    EXPECT_EQ(Send(kCharacteristic, "3"), "");
    EXPECT_EQ(Value(kCharacteristic), "3");
}

TEST_F(Configuration, BlocksIdentifyTheDeviceAndFollowTheirTargetsAndTheLiveValues) {
    EXPECT_EQ(Value(0x020B0000), "7");
    EXPECT_EQ(std::stoul(Value(0x020A0000)), 0x564C41u);
    EXPECT_EQ(Value(0x01200000), "2.4.1");
    const std::pair<std::uint32_t, const char*> tags[] = {{0x01000001, "VP700-TB"},
                                                          {0x02000001, "VP700-RB"},
                                                          {0x03000001, "VP700-PID"},
                                                          {0x04000001, "VP700-AO"}};
    for (const auto& [key, tag] : tags) {
        EXPECT_EQ(Value(key), tag);
    }

    // The device revision is one number in both places.
    m_dtm->Device().Write(0x01620000, "3");
    EXPECT_EQ(Value(0x020C0000), "3");
    // Resource, PID and analog output blocks take their target mode.
    EXPECT_EQ(Send(0x03050001, "16"), "");
    EXPECT_EQ(Value(0x03050002), "16");
    EXPECT_EQ(Value(0x04050002), "8");

    // The analog output block's process value and output follow the live values.
    m_scheduler.AdvanceBy(31000); // the setpoint's second level
    EXPECT_EQ(Send(kCommand, "42"), "");
    const SLiveValues& live = m_dtm->Positioner().Live().Last();
    EXPECT_NEAR(std::stod(Value(0x04070002)), live.position, 0.001);
    EXPECT_NEAR(std::stod(Value(0x04090002)), live.setpoint, 0.001);
    EXPECT_EQ(Value(0x04090002), Value(0x04080002));
    EXPECT_EQ(Value(0x010D0002), Value(0x04080002));
}

} // namespace
