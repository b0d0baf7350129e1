#include "ValveTestSupport.h"

#include <gtest/gtest.h>

namespace {

using Stroke = CPartialStrokeProcedure;
using Tests = CValveTestProcedure;

constexpr std::uint32_t kMode = 0x01610001;
constexpr std::uint32_t kType = 0x01610002;
constexpr std::uint32_t kChange = 0x01610003;
constexpr std::uint32_t kInterval = 0x01610004;
constexpr std::uint32_t kMaxWait = 0x01610005;
constexpr std::uint32_t kPause = 0x01610006;
constexpr std::int64_t kHourMs = 3600 * 1000;

// Results frame words: the record frame's header (Type | SeqID << 8, NoOfEvents |
// EventsInFrame << 8), then the record's words.
enum EResultWord { kT63 = 2, kSampleCount, kPeriod, kPreTest, kVerdict, kHold };

class PartialStrokeTests : public ValveTestFixture {
protected:
    CPartialStrokeProcedure& Pst() { return Device().PartialStroke(); }
    std::vector<int> Results() { return Frame(Stroke::kResultsFrame, 0); }
    // The last event's code and information.
    std::pair<int, int> LastEvent() {
        const std::vector<std::uint8_t> bytes = Device().Events().Bytes();
        return {bytes[bytes.size() - 10], bytes[bytes.size() - 9]};
    }
};

TEST_F(PartialStrokeTests, StepStrokeRecordsItsResultsAndSamples) {
    std::vector<int> empty(62, 0);
    empty[0] = Stroke::kResultsFrame;
    EXPECT_EQ(Results(), empty) << "an empty last frame before the first test";

    // P + H + 2 s, H = w + Wp in whole tenths: the valve is within 0.2 % of 90 % after
    // w = 1.1 s.
    Run(Stroke::kStartCommand, 6100);
    const std::vector<int> results = Results();
    EXPECT_EQ(results[1], 12 << 8) << "the last frame, one record of 12 bytes";
    EXPECT_GE(results[kT63], 60) << "the model's T63 of a 10 % step: about 0.7 s";
    EXPECT_LE(results[kT63], 80);
    EXPECT_EQ(results[kHold], 310);
    EXPECT_EQ(results[kSampleCount], (100 + results[kHold] + 200) / 10);
    EXPECT_EQ(results[kPeriod], 100);
    EXPECT_EQ(results[kPreTest], 100);
    EXPECT_EQ(results[kVerdict], 0);

    const std::vector<std::int16_t> samples = Upload(Stroke::kVectorFrame, 61, 2);
    EXPECT_EQ(samples, Pst().Samples());
    EXPECT_EQ(samples[9], 10000) << "open until P";
    EXPECT_LT(samples[13], 10000);
    EXPECT_NEAR(samples[39], 9000, 20) << "at T until P + H";
    EXPECT_NEAR(samples[60], 10000, 20) << "open again 2 s after the return";

    // The ramp type: the setpoint takes R = C / 5 s down at 5 %/s, and as long back.
    Device().Store().Write(kType, "1");
    Run(Stroke::kStartCommand, 9800); // P + H + R + 2 s with R = 2 s
    const std::vector<int> ramp = Results();
    EXPECT_EQ(ramp[kSampleCount], (100 + ramp[kHold] + 200 + 200) / 10);
    EXPECT_GT(ramp[kT63], results[kT63] + 100) << "63 % of the change 1.26 s into the ramp";
    EXPECT_EQ(Pst().Samples().size(), 98u);
    EXPECT_NEAR(Pst().Samples()[25] - Pst().Samples()[26], 50, 2) << "0.5 % every 0.1 s";
}

TEST_F(PartialStrokeTests, StuckValveServiceModeAbortAndBusyStarts) {
    // The settings are read at the start, out-of-range values clamped, no number the default:
    // H = Wmax 10 s + Wp 0 s.
    Device().Store().Write(kPause, "-5");
    Device().Store().Write(kMaxWait, "ten");
    m_dtm->Faults().procedures.stuckValve = true;
    Run(Stroke::kStartCommand, 13000, "3");
    const std::vector<int> failed = Results();
    EXPECT_EQ(failed[kT63], 0);
    EXPECT_EQ(failed[kVerdict], 1);
    EXPECT_EQ(failed[kHold], 1000);
    EXPECT_TRUE(std::all_of(Pst().Samples().begin(), Pst().Samples().end(),
                            [](std::int16_t v) { return v == 10000; }));
    m_dtm->Faults().procedures.stuckValve = false;

    // Aborted, ended by failState, refused in service: the failed stroke's results stay.
    Command(Stroke::kStartCommand);
    m_scheduler.AdvanceBy(1000);
    Command(Tests::kAbortCommand);
    EXPECT_EQ(State(), "3");
    m_dtm->Faults().procedures.failState = 4;
    Run(Stroke::kStartCommand, 4100, "4"); // the valve moves: H = w 1.1 s + Wp 0 s
    m_dtm->Faults().procedures.failState = 0;
    Device().Write(keys::kServiceMode, "240");
    Command(Stroke::kStartCommand);
    EXPECT_EQ(State(), "4");
    EXPECT_EQ(Results(), failed);
    EXPECT_EQ(m_scheduler.TimerCount(), 0u);

    // One valve test at a time, whichever starts first.
    Device().Write(keys::kServiceMode, "241");
    Command(Tests::kMultiStepCommand);
    Command(Stroke::kStartCommand);
    m_scheduler.AdvanceBy(18000);
    EXPECT_EQ(State(), "2");
    EXPECT_EQ(Results(), failed);
    Command(Stroke::kStartCommand);
    Command(Tests::kOneWayRampCommand);
    m_scheduler.AdvanceBy(4100);
    EXPECT_EQ(State(), "2");
    EXPECT_EQ(Results()[kVerdict], 0);
    EXPECT_EQ(m_scheduler.TimerCount(), 0u);
}

TEST_F(PartialStrokeTests, AutomaticStrokesRunEveryIntervalWhileSwitchedOn) {
    // Out of service a write of 1 is refused: the mode stays 0.
    Device().Write(kMode, "1");
    EXPECT_FALSE(Pst().IsAutoPstOn());
    EXPECT_EQ(Device().Read(kMode), "0");
    EXPECT_EQ(m_scheduler.TimerCount(), 0u);

    Device().Write(keys::kServiceMode, "240");
    Device().Store().Write(kInterval, "1");
    const std::size_t events = Device().Events().Size();
    Device().Write(kMode, "1");
    EXPECT_TRUE(Pst().IsAutoPstOn());
    m_scheduler.AdvanceBy(kHourMs - 1);
    EXPECT_EQ(Pst().AutoRunCount(), 0);
    EXPECT_TRUE(Pst().Results().empty());
    m_scheduler.AdvanceBy(1);
    EXPECT_EQ(Pst().AutoRunCount(), 1);
    EXPECT_EQ(Device().Events().Size(), events + 1);
    EXPECT_EQ(LastEvent(), std::pair(13, 0));
    EXPECT_EQ(Results()[kVerdict], 0);
    EXPECT_EQ(State(), "0") << "automatic tests leave the procedure state alone";

    // Each run reads the settings: a stuck valve fails, a year's interval waits a year.
    m_dtm->Faults().procedures.stuckValve = true;
    Device().Store().Write(kInterval, "8760");
    m_scheduler.AdvanceBy(kHourMs);
    EXPECT_EQ(LastEvent(), std::pair(13, 1));
    EXPECT_EQ(Results()[kVerdict], 1);
    EXPECT_EQ(Pst().Samples().size(), 150u);
    m_scheduler.AdvanceBy(8760 * kHourMs - 1);
    EXPECT_EQ(Pst().AutoRunCount(), 2);
    m_scheduler.AdvanceBy(1);
    EXPECT_EQ(Pst().AutoRunCount(), 3);

    // Still on out of service, where a manual test may run; then switched off.
    Device().Write(keys::kServiceMode, "241");
    Run(Stroke::kStartCommand, 15000, "3");
    Device().Write(kMode, "0");
    EXPECT_FALSE(Pst().IsAutoPstOn());
    m_scheduler.AdvanceBy(2 * 8760 * kHourMs);
    EXPECT_EQ(Pst().AutoRunCount(), 3);
    EXPECT_EQ(m_scheduler.TimerCount(), 0u);
}

TEST_F(PartialStrokeTests, FrameFaultsAndLimits) {
    Run(Stroke::kStartCommand, 6100);
    m_dtm->Faults().frames.wrongType = true;
    EXPECT_EQ(Results()[0], Stroke::kResultsFrame + 1);
    EXPECT_EQ(Frame(Stroke::kVectorFrame, 1)[0], (Stroke::kVectorFrame + 1) | 1 << 8);
    m_dtm->Faults().frames = {};

    EXPECT_EQ(Limits(kChange), "10..500");
    EXPECT_EQ(Limits(kInterval), "1..8760");
    EXPECT_EQ(Limits(kMaxWait), "1000..60000");
}

} // namespace
