#include "ValveTestSupport.h"
#include "model/EnumParameterDescriptor.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

namespace {

using Calibration = CCalibrationProcedure;

constexpr std::uint32_t kTarget = 0x01280000;
constexpr std::uint32_t kActive = 0x015C0000;
constexpr std::uint32_t kReason = 0x015B0003;
constexpr std::uint32_t kPressureUnit = 0x011A0000;
constexpr std::uint32_t kLower = 0x01700002;
constexpr std::uint32_t kUpper = 0x01700003;
constexpr std::uint32_t kOnline = 0x01700006;
constexpr int kHold = Calibration::kDefaultStateHoldMs;
constexpr int kStepTime = Calibration::kDefaultStepMs;
using Events = std::vector<std::pair<int, int>>; // (code, information)

class CalibrationTests : public ValveTestFixture {
protected:
    CCalibrationProcedure& Procedure() { return Device().Calibration(); }
    std::string Mode() { return *Device().Read(keys::kServiceMode); }
    std::string Active() { return *Device().Read(kActive); }
    void Target(int value) { Device().Write(kTarget, std::to_string(value)); }

    // The events logged since `from` events were in the log.
    Events EventsSince(std::size_t from) {
        const std::vector<std::uint8_t> bytes = Device().Events().Bytes();
        Events events;
        for (std::size_t at = from * 10; at < bytes.size(); at += 10) {
            events.emplace_back(bytes[at], bytes[at + 1]);
        }
        return events;
    }

    // The mode shows `codes` in turn, each for exactly the hold time while the calibration
    // is active, then 241 with the calibration inactive.
    void ExpectSequence(std::initializer_list<int> codes) {
        for (const int code : codes) {
            EXPECT_EQ(Mode(), std::to_string(code));
            EXPECT_EQ(Active(), "1");
            m_scheduler.AdvanceBy(kHold - 1);
            EXPECT_EQ(Mode(), std::to_string(code)) << "held until the hold time has passed";
            m_scheduler.AdvanceBy(1);
        }
        EXPECT_EQ(Mode(), "241");
        EXPECT_EQ(Active(), "0");
    }

    // Runs step `command` on the value `entered`: in progress at once, its end after exactly
    // the step time; answers "state/reason" at the end.
    std::string Step(int command, const std::string& entered) {
        Device().Write(keys::kFrameNumber, entered);
        Command(command);
        EXPECT_EQ(Outcome(), "1/0") << "step " << command << " at once";
        m_scheduler.AdvanceBy(kStepTime - 1);
        EXPECT_EQ(Outcome(), "1/0") << "step " << command << " before its time";
        m_scheduler.AdvanceBy(1);
        return Outcome();
    }
    std::string Outcome() { return State() + "/" + *Device().Read(kReason); }
};

TEST_F(CalibrationTests, AutomaticProceduresWriteTheirStatusCodesInTurnAndReturnOutOfService) {
    struct SCase {
        int command;
        std::initializer_list<int> codes;
    };
    for (const SCase& run : {SCase{1, {0x01, 0x45, 0x46, 0x47, 0x48, 0x20}}, SCase{2, {0x01, 0x00}},
                             SCase{3, {0x11, 0x10}}, SCase{4, {0x21, 0x43, 0x22, 0x44, 0x20}}}) {
        SCOPED_TRACE(run.command);
        const std::size_t events = Device().Events().Size();
        Target(run.command);
        EXPECT_TRUE(Procedure().IsRunning());
        ExpectSequence(run.codes);
        EXPECT_FALSE(Procedure().IsRunning());
        EXPECT_EQ(EventsSince(events), (Events{{1, run.command}, {2, run.command}}));
        EXPECT_EQ(m_scheduler.TimerCount(), 0u);
    }

    // In service a start does nothing; 255 with nothing running neither.
    Device().Write(keys::kServiceMode, "240");
    const std::size_t events = Device().Events().Size();
    for (const int command : {1, 2, 3, 4, 255}) {
        Target(command);
    }
    EXPECT_EQ(Mode(), "240");
    EXPECT_EQ(Active(), "0");
    EXPECT_EQ(Device().Events().Size(), events);
    EXPECT_EQ(m_scheduler.TimerCount(), 0u);
}

TEST_F(CalibrationTests, LeakTestWaitsAtLeakageUntilContinuedOrAborted) {
    m_dtm->Faults().calibration.leak = true;
    const std::size_t events = Device().Events().Size();
    Target(3);
    EXPECT_EQ(Mode(), "17");
    m_scheduler.AdvanceBy(kHold);
    EXPECT_EQ(Mode(), "18");
    m_scheduler.AdvanceBy(600000);
    EXPECT_EQ(Mode(), "18") << "waits for a command";
    EXPECT_EQ(Active(), "1");
    EXPECT_TRUE(Procedure().IsWaiting());
    for (const int other : {2, 3, 4}) {
        Target(other);
    }
    EXPECT_EQ(Mode(), "18") << "only 1 or 255 end the wait";

    Target(1);
    EXPECT_FALSE(Procedure().IsWaiting());
    ExpectSequence({0x01, 0x45, 0x46, 0x47, 0x48, 0x20});
    EXPECT_EQ(EventsSince(events), (Events{{1, 3}, {1, 1}, {2, 1}}));

    const std::size_t aborted = Device().Events().Size();
    Target(3);
    m_scheduler.AdvanceBy(kHold);
    Target(255);
    EXPECT_EQ(Mode(), "241");
    EXPECT_EQ(Active(), "0");
    EXPECT_EQ(EventsSince(aborted), (Events{{1, 3}, {3, 3}}));
    Target(1);
    EXPECT_EQ(Mode(), "1") << "a new start once ended";
    Target(255);
    EXPECT_EQ(m_scheduler.TimerCount(), 0u);
}

TEST_F(CalibrationTests, AbortsBusyStartsAndFailures) {
    // 255 mid-sequence: 241 at once, the rest never comes; a start while running is ignored.
    const std::size_t events = Device().Events().Size();
    Target(4);
    m_scheduler.AdvanceBy(2 * kHold + 500);
    EXPECT_EQ(Mode(), "34");
    Target(2);
    Target(4);
    EXPECT_EQ(Mode(), "34");
    m_scheduler.AdvanceBy(kHold - 500);
    EXPECT_EQ(Mode(), "68") << "the running procedure went on";
    Target(255);
    EXPECT_EQ(Mode(), "241");
    EXPECT_EQ(Active(), "0");
    m_scheduler.AdvanceBy(10 * kHold);
    EXPECT_EQ(Mode(), "241");
    EXPECT_EQ(EventsSince(events), (Events{{1, 4}, {3, 4}}));

    // A failure follows the first state and ends the procedure; it beats a leak.
    m_dtm->Faults().calibration.leak = true;
    for (const int failure : {0x02, 0x03, 0x06}) {
        m_dtm->Faults().calibration.failure = failure;
        for (const int command : {1, 3}) {
            SCOPED_TRACE(std::to_string(failure) + " " + std::to_string(command));
            const std::size_t before = Device().Events().Size();
            Target(command);
            ExpectSequence({command == 1 ? 0x01 : 0x11, failure});
            EXPECT_EQ(EventsSince(before), (Events{{1, command}, {3, command}}));
        }
    }
    // Other values change nothing.
    m_dtm->Faults().calibration.failure = 0x04;
    Target(2);
    ExpectSequence({0x01, 0x00});
    EXPECT_EQ(m_scheduler.TimerCount(), 0u);
}

TEST_F(CalibrationTests, PressureStepsCheckZeroAndSpanInTheDevicesUnit) {
    // Zero points against the sensor's own pressure; only C+ is pressurised.
    Procedure().SetPhysicalPressure(EPressureSensor::CPlus, 0.31);
    Procedure().SetPhysicalPressure(EPressureSensor::CMinus, 0.3);
    EXPECT_EQ(Step(2, "0"), "2/0");
    EXPECT_EQ(Step(4, "0"), "4/3");
    EXPECT_EQ(Step(6, "0"), "2/0") << "0.3 bar is still zero";

    // Spans in kPa: 95 to 705 kPa for each sensor.
    for (const int span : {1, 3, 5}) {
        SCOPED_TRACE(span);
        EXPECT_EQ(Step(span, "705"), "2/0");
        EXPECT_EQ(Step(span, "706"), "4/3");
        EXPECT_EQ(Step(span, "95"), "2/0");
        EXPECT_EQ(Step(span, "94"), "4/4");
    }
    // In psi: 7.05 bar is 102.25 psi, 0.95 bar 13.78 psi.
    Device().Store().Write(kPressureUnit, "1");
    EXPECT_EQ(Step(1, "102.2"), "2/0");
    EXPECT_EQ(Step(1, "102.3"), "4/3");
    EXPECT_EQ(Step(3, "13.8"), "2/0");
    EXPECT_EQ(Step(3, "13.7"), "4/4");
    EXPECT_EQ(Step(5, "705"), "4/3") << "kPa figures are far too large in psi";
}

TEST_F(CalibrationTests, SignalAndTransmitterStepsCheckTheirRangesAndSetTheTransmitter) {
    struct SCase {
        int command;
        const char* entered;
        const char* outcome;
    };
    for (const SCase& step :
         {SCase{7, "22.0", "2/0"}, SCase{7, "22.01", "4/3"}, SCase{7, "16.0", "2/0"},
          SCase{7, "15.99", "4/4"}, SCase{8, "6.0", "2/0"}, SCase{8, "6.01", "4/3"},
          SCase{8, "2.0", "2/0"}, SCase{8, "1.99", "4/4"}, SCase{14, "22.01", "4/3"},
          SCase{14, "17.99", "4/4"}, SCase{15, "6.01", "4/3"}, SCase{15, "3.49", "4/4"}}) {
        EXPECT_EQ(Step(step.command, step.entered), step.outcome)
            << step.command << " at " << step.entered;
    }
    EXPECT_EQ(Device().Read(kUpper), "20.00") << "failed steps set nothing";
    EXPECT_EQ(Device().Read(kLower), "4.00");

    // Off-line, calibrated high and low (set when the step finishes), tuned, on-line again.
    EXPECT_EQ(Step(13, "0"), "2/0");
    EXPECT_EQ(Device().Read(kOnline), "0");
    Device().Write(keys::kFrameNumber, "20.5");
    Command(14);
    EXPECT_EQ(Device().Read(kUpper), "20.00");
    m_scheduler.AdvanceBy(kStepTime);
    EXPECT_EQ(Device().Read(kUpper), "20.50");
    EXPECT_EQ(Step(15, "3.5"), "2/0");
    EXPECT_EQ(Device().Read(kLower), "3.50");
    EXPECT_EQ(Step(16, "0"), "2/0");
    EXPECT_EQ(Device().Read(kUpper), "20.51");
    Step(17, "0");
    Step(17, "0");
    EXPECT_EQ(Device().Read(kUpper), "20.49");
    Step(18, "0");
    EXPECT_EQ(Device().Read(kLower), "3.51");
    Step(19, "0");
    EXPECT_EQ(Step(19, "0"), "2/0");
    EXPECT_EQ(Device().Read(kLower), "3.50") << "kept within the lower value's range";
    EXPECT_EQ(Step(13, "1"), "2/0");
    EXPECT_EQ(Device().Read(kOnline), "1");
    EXPECT_EQ(Step(13, "2"), "4/3");
    EXPECT_EQ(Limits(kUpper), "18.0..22.0");
    EXPECT_EQ(Limits(kLower), "3.5..6.0");
}

TEST_F(CalibrationTests, BusyAbortResetAndNoAnswer) {
    // A step while another runs fails at once as busy; the running one still ends.
    Device().Write(keys::kFrameNumber, "20");
    Command(7);
    m_scheduler.AdvanceBy(500);
    Command(8);
    EXPECT_EQ(Outcome(), "4/7");
    m_scheduler.AdvanceBy(kStepTime - 500);
    EXPECT_EQ(Outcome(), "2/0");

    // Busy while an automatic procedure or a valve test runs.
    Target(2);
    Command(8);
    EXPECT_EQ(Outcome(), "4/7");
    Target(255);
    Command(CValveTestProcedure::kOneWayRampCommand);
    Command(8);
    EXPECT_EQ(Outcome(), "4/7");
    Command(255);
    EXPECT_EQ(State(), "3");

    // 255 ends a step, 0 clears the state; both work in service too.
    Device().Write(keys::kServiceMode, "240");
    Command(7);
    m_scheduler.AdvanceBy(kStepTime - 1);
    Command(255);
    EXPECT_EQ(Outcome(), "3/0");
    m_scheduler.AdvanceBy(kStepTime);
    EXPECT_EQ(Outcome(), "3/0") << "the aborted step never ends";
    EXPECT_EQ(Step(8, "9"), "4/3");
    Command(0);
    EXPECT_EQ(Outcome(), "0/0");

    // Without an answer a step stays in progress, keeps the device busy, and can be aborted.
    m_dtm->Faults().calibration.noAnswer = true;
    Command(8);
    m_scheduler.AdvanceBy(600000);
    EXPECT_EQ(Outcome(), "1/0");
    EXPECT_TRUE(Procedure().IsStepRunning());
    Command(7);
    EXPECT_EQ(Outcome(), "4/7");
    Command(255);
    EXPECT_EQ(Outcome(), "3/0");
    EXPECT_EQ(m_scheduler.TimerCount(), 0u);
}

TEST_F(CalibrationTests, ThroughTheDtmAsTheViewsWriteAndRead) {
    ASSERT_EQ(Register(), VARIANT_TRUE);
    // The target takes the start commands; the mode every status code, shown by its caption.
    for (const char* command : {"1", "2", "3", "4", "255"}) {
        EXPECT_EQ(Set(kTarget, command), "") << command;
    }
    EXPECT_NE(Set(kTarget, "5"), "");
    for (const int code : {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x10, 0x11, 0x12, 0x20,
                           0x21, 0x22, 0x30, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 240,  241}) {
        EXPECT_EQ(Set(keys::kServiceMode, std::to_string(code)), "") << code;
    }
    Fetch(keys::kServiceMode);
    const auto& mode = dynamic_cast<const CEnumParameterDescriptor&>(
        *m_factory->GetParameterDescription(2, keys::kServiceMode));
    ASSERT_NE(mode.GetCaption(0x45), nullptr);
    EXPECT_EQ(*mode.GetCaption(0x45), "FRICTION EST. IN PROGRESS");
    EXPECT_EQ(*mode.GetCaption(0x12), "LEAKAGE DETECTED");

    // A start written (function 5) shows its first code to the read queued behind it.
    EXPECT_EQ(Set(kTarget, "1"), "");
    EXPECT_EQ(Execute(dtm_function::kWrite, std::to_string(kTarget)), S_OK);
    EXPECT_EQ(Execute(dtm_function::kRead, std::to_string(keys::kServiceMode)), S_OK);
    m_scheduler.AdvanceBy(m_dtm->GetBusLatency());
    EXPECT_EQ(Fetch(keys::kServiceMode), "1");
    m_scheduler.AdvanceBy(6 * kHold);
    EXPECT_EQ(Mode(), "241");

    // A step: the value, then the command, each written on its own.
    EXPECT_EQ(Set(keys::kFrameNumber, "4.5"), "");
    EXPECT_EQ(Execute(dtm_function::kWrite, std::to_string(keys::kFrameNumber)), S_OK);
    EXPECT_EQ(Set(kCommand, "15"), "");
    EXPECT_EQ(Execute(dtm_function::kWrite, std::to_string(kCommand)), S_OK);
    EXPECT_EQ(State(), "1");
    m_scheduler.AdvanceBy(kStepTime);
    EXPECT_EQ(Outcome(), "2/0");
    EXPECT_EQ(Device().Read(kLower), "4.50");
}

} // namespace
