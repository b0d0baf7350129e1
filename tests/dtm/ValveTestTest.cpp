#include "ValveTestSupport.h"
#include "dtm/FrameBuilder.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Tests = CValveTestProcedure;

constexpr std::uint32_t kRampDuration = 0x01600004;
constexpr std::uint32_t kRampPause = 0x01600009;
constexpr std::uint32_t kStepSamples = 0x015F0001;

class ValveTests : public ValveTestFixture {};

TEST(FrameBuilder, ValueFramesCarrySixtyOneSignedValuesInHundredths) {
    EXPECT_EQ(frames::ValueFrameCount(60), 1u);
    EXPECT_EQ(frames::ValueFrameCount(61), 2u) << "a full last frame is followed by an empty one";
    std::vector<std::int16_t> buffer(70);
    buffer[61] = Hundredths(-0.02);
    buffer[62] = Hundredths(53.266);
    buffer[69] = Hundredths(-400); // saturated
    const std::vector<std::uint16_t> frame = frames::BuildValueFrame(22, buffer, 1);
    EXPECT_EQ(frame[0], 22 | 1 << 8);
    EXPECT_EQ(frame[1], 0xFFFE);
    EXPECT_EQ(frame[2], 5327);
    EXPECT_EQ(frame[9], 0x8000);
    EXPECT_EQ(frame[10], 0);
    EXPECT_EQ(frames::BuildValueFrame(22, buffer, 257)[0], 22 | 1 << 8) << "SeqID: the low byte";
}

TEST_F(ValveTests, RampTestsRunTheirProfileAndRecordTheValveFollowingIt) {
    ASSERT_EQ(Register(), VARIANT_TRUE);
    EXPECT_TRUE(Device().ValveTests().RampSamples().empty());
    std::vector<int> empty(62, 0);
    empty[0] = Tests::kRampSamplesFrame;
    EXPECT_EQ(Frame(Tests::kRampSamplesFrame, 0), empty) << "no results before the first test";

    // Through the DTM as the view starts it: a write of the command, then a read sees 1.
    EXPECT_EQ(Set(kCommand, "24"), "");
    EXPECT_EQ(Execute(dtm_function::kWrite, std::to_string(kCommand)), S_OK);
    EXPECT_EQ(Execute(dtm_function::kRead, std::to_string(keys::kCommandState)), S_OK);
    m_scheduler.AdvanceBy(m_dtm->GetBusLatency());
    EXPECT_EQ(Fetch(keys::kCommandState), "1");
    m_scheduler.AdvanceBy(29000 - m_dtm->GetBusLatency() - 1); // P + D + 2W = 5 + 20 + 4 s
    EXPECT_EQ(State(), "1");
    m_scheduler.AdvanceBy(1);
    EXPECT_EQ(State(), "2");

    // 220 samples from the end of the pre-test time on, every 0.1 s: start 50 %, 70 % after
    // 10 s, held 2 s, back to 50 % at 22 s.
    const std::vector<std::int16_t> oneWay = Upload(Tests::kRampSamplesFrame, 220, 4);
    EXPECT_EQ(oneWay, Device().ValveTests().RampSamples());
    EXPECT_EQ(oneWay[0], 5000);
    EXPECT_NEAR(oneWay[119], 7000, 13) << "end of the pause: within the dead band";
    // On a ramp of 2 %/s the valve lags by the dead time, the second-order lag (2 zeta / w)
    // and half the dead band: 0.4 + 0.8 + 0.125 %.
    for (std::size_t i = 20; i < 100; ++i) {
        const double lag = 5000 + 20.0 * static_cast<double>(i) - oneWay[i];
        EXPECT_GT(lag, 120) << i;
        EXPECT_LT(lag, 145) << i;
    }
    EXPECT_NEAR(oneWay[219], 5020 + 132, 10) << "the last sample: the end of the last ramp";

    // Round trip: the type comes from the command; 260 samples in 5 frames.
    Run(Tests::kRoundTripRampCommand, 33000); // 5 + 20 + 8 s
    const std::vector<std::int16_t> roundTrip = Upload(Tests::kRampSamplesFrame, 260, 5);
    EXPECT_NEAR(roundTrip[69], 7000, 13);  // break point 1 held until P + D/4 + W
    EXPECT_NEAR(roundTrip[139], 5000, 13); // the start again until P + D/2 + 2W
    EXPECT_NEAR(roundTrip[209], 3000, 13); // break point 2 until P + 3D/4 + 3W

    // The settings are read at the command: a long test records at most 2700 samples.
    Device().Store().Write(kRampDuration, "240000");
    Device().Store().Write(kRampPause, "60000");
    Run(Tests::kOneWayRampCommand, 5000 + 240000 + 120000);
    EXPECT_EQ(Device().ValveTests().RampSamples().size(), 2700u);
    const std::vector<int> last = Frame(Tests::kRampSamplesFrame, 44); // samples 2684 on
    EXPECT_NE(last[16], 0);
    EXPECT_EQ(last[17], 0);
}

TEST_F(ValveTests, MultiStepTestRecordsPositionsAndFiguresOfEveryStep) {
    Run(Tests::kMultiStepCommand, 18000); // P + 2NL = 2 + 2 * 4 * 2 s
    const std::vector<std::int16_t> samples = Upload(Tests::kStepSamplesFrame, 180, 3);
    const std::vector<std::int16_t> figures = Upload(Tests::kStepFiguresFrame, 40, 1);
    EXPECT_EQ(figures, Device().ValveTests().StepFigures());
    for (std::uint32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(Device().Read(kStepSamples + i), std::to_string(std::vector{180, 3, 40, 1}[i]));
    }
    EXPECT_EQ(samples[19], 5000) << "the start position until the first step at 2 s";
    EXPECT_NEAR(samples[39], 6000, 20) << "settled before the step back at 4 s";
    EXPECT_NEAR(samples[59], 5000, 20);
    EXPECT_NEAR(samples[179], 5000, 20);

    // Dead time, T63, T86 (s), overshoot (%), settling time (s) per step, in hundredths;
    // the model's dead time is 0.2 s.
    for (std::size_t step = 0; step < 8; ++step) {
        SCOPED_TRACE(step);
        const std::int16_t* f = &figures[step * 5];
        EXPECT_GE(f[0], 20);
        EXPECT_LE(f[0], 35);
        EXPECT_LT(f[0], f[1]);
        EXPECT_LT(f[1], f[2]);
        EXPECT_LT(f[2], f[4]);
        EXPECT_LT(f[4], 200) << "settles within the step";
        EXPECT_GT(f[3], 0) << "a small overshoot";
        EXPECT_LT(f[3], 600);
    }
    EXPECT_EQ(std::vector(figures.begin() + 10, figures.begin() + 15),
              std::vector(figures.begin() + 20, figures.begin() + 25))
        << "the same wave, the same figures";
}

TEST_F(ValveTests, AbortServiceModeFaultsAndBusyStartsKeepThePreviousResults) {
    // No test running: an abort changes nothing.
    Command(Tests::kAbortCommand);
    EXPECT_EQ(State(), "0");

    // An aborted test keeps nothing and its end never comes.
    Command(Tests::kMultiStepCommand);
    m_scheduler.AdvanceBy(5000);
    Command(Tests::kAbortCommand);
    EXPECT_EQ(State(), "3");
    m_scheduler.AdvanceBy(60000);
    EXPECT_EQ(State(), "3");
    EXPECT_TRUE(Device().ValveTests().StepSamples().empty());
    EXPECT_EQ(Device().Read(kStepSamples), "0");

    // A start while a test runs is ignored: the first ends at its own time with its results.
    Command(Tests::kOneWayRampCommand);
    m_scheduler.AdvanceBy(1000);
    Command(Tests::kRoundTripRampCommand);
    Command(Tests::kMultiStepCommand);
    m_scheduler.AdvanceBy(28000);
    EXPECT_EQ(State(), "2");
    const std::vector<std::int16_t> previous = Device().ValveTests().RampSamples();
    EXPECT_EQ(previous.size(), 220u);
    EXPECT_EQ(m_scheduler.TimerCount(), 0u);

    // Aborted or failed at the end by the fault switch, or refused in service: no results.
    Device().Store().Write(kRampPause, "0");
    for (const char* state : {"3", "4"}) {
        m_dtm->Faults().procedures.failState = std::stoi(state);
        Run(Tests::kOneWayRampCommand, 25000, state);
    }
    m_dtm->Faults().procedures.failState = 0;
    Device().Write(keys::kServiceMode, "240");
    Command(Tests::kRoundTripRampCommand);
    EXPECT_EQ(State(), "4");
    EXPECT_EQ(m_scheduler.TimerCount(), 0u);
    EXPECT_EQ(Device().ValveTests().RampSamples(), previous);
}

TEST_F(ValveTests, FrameFaultsApplyToResultFramesAndRangesReachTheDescriptors) {
    Run(Tests::kMultiStepCommand, 18000);
    SFrameFaults& faults = m_dtm->Faults().frames;
    faults.wrongType = true;
    faults.wrongSeqIdFrames = {2};
    EXPECT_EQ(Frame(Tests::kStepSamplesFrame, 2)[0], 23 | 3 << 8);
    EXPECT_EQ(Frame(Tests::kStepSamplesFrame, 1)[0], 23 | 1 << 8);
    faults = {};
    faults.nonHexadecimalWord = true;
    EXPECT_EQ(Frame(Tests::kStepFiguresFrame, 0).back(), -1);
    faults = {};
    faults.noAnswer = true;
    const std::string before = *Device().Read(kSegment);
    Frame(Tests::kStepSamplesFrame, 1);
    EXPECT_EQ(*Device().Read(kSegment), before);
    faults = {};

    // The views check their entries against the descriptors' limits.
    EXPECT_EQ(Limits(kRampDuration), "1000..240000");
    EXPECT_EQ(Limits(0x015F0008), "0..500");
    EXPECT_EQ(Limits(0x015F000B), "1..100");
}

} // namespace
