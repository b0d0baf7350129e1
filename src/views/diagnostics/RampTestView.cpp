#include "views/diagnostics/RampTestView.h"

#include "views/components/Plot.h"

#include <algorithm>

namespace {

SValveTestDefinition RampTest(std::function<std::size_t()> samples) {
    SValveTestDefinition test;
    test.settingsRecord = CRampTestView::kSettingsRecord;
    test.lastSettingKey = CRampTestView::kPauseTime;
    test.settings = {
        {CRampTestView::kRampType, "Ramp Type:", "1", 1.0, true, {"One Way", "Round Trip"}, ""},
        {CRampTestView::kStartPosition, "Start Position:", "50.0", 10.0, false, {}, "%"},
        {CRampTestView::kReserved, "", "0", 1.0, true, {}, ""},
        {CRampTestView::kDuration, "Duration:", "20.0", 1000.0, false, {}, "s"},
        {CRampTestView::kBreakPoint1, "Break Point1:", "70.0", 10.0, false, {}, "%"},
        {CRampTestView::kBreakPoint2, "Break Point2:", "30.0", 10.0, false, {}, "%"},
        {CRampTestView::kEndPosition, "End Position:", "50.0", 10.0, false, {}, "%"},
        {CRampTestView::kPreTestTime, "Pre Test Time:", "5.0", 1000.0, false, {}, "s"},
        {CRampTestView::kPauseTime, "Pause Time:", "2.0", 1000.0, false, {}, "s"},
    };
    test.writeOrder = {
        CRampTestView::kRampType, CRampTestView::kStartPosition, CRampTestView::kEndPosition,
        CRampTestView::kDuration, CRampTestView::kBreakPoint1,   CRampTestView::kPreTestTime,
        CRampTestView::kReserved, CRampTestView::kPauseTime,     CRampTestView::kBreakPoint2};
    test.startedTexts = {"Ramp test is launched..."};
    test.plotTitle = "Ramp Test";
    test.channelNames = {"Input Setpoint", "Output Position", ""};
    test.saveTitle = "Save Ramp Test Results As";
    test.openTitle = "Open Ramp Test Results";
    test.fileExtension = "rat";
    test.fileKind = "Ramp Test Results";
    test.testKind = valve_analysis::ETestKind::Ramp;
    SSegmentUploadSettings upload;
    upload.frameType = CRampTestView::kResultsFrameType;
    upload.readDelayMs = 4000;
    upload.nextRequestDelayMs = 3000;
    upload.progressText = "Upload In Progress ...";
    upload.completedText = "Upload Completed";
    upload.frameText = "Results Frame %02d: Received";
    upload.lastFrameMissedText = "Strange: Last Frame Missed";
    test.buffers = {{upload, std::move(samples), CValveTestViewCore::kMaxSamples}};
    return test;
}

} // namespace

CRampTestView::CRampTestView(const SViewContext& context)
    : CValveTestView(context, RampTest([this] { return SampleCount(); })) {}

CRampTestView::SProfile CRampTestView::Profile(bool roundTrip, double start, double breakPoint1,
                                               double breakPoint2, double end, double preTest,
                                               double duration, double pause) {
    const double p = preTest;
    const double d = duration;
    const double w = pause;
    if (!roundTrip) {
        return {{{0, start},
                 {p, start},
                 {p + d / 2, breakPoint1},
                 {p + d / 2 + w, breakPoint1},
                 {p + d + w, end},
                 {p + d + 2 * w, end}},
                d + w};
    }
    return {{{0, start},
             {p, start},
             {p + d / 4, breakPoint1},
             {p + d / 4 + w, breakPoint1},
             {p + d / 2 + w, start},
             {p + d / 2 + 2 * w, start},
             {p + 3 * d / 4 + 2 * w, breakPoint2},
             {p + 3 * d / 4 + 3 * w, breakPoint2},
             {p + d + 3 * w, end},
             {p + d + 4 * w, end}},
            d + 3 * w};
}

CRampTestView::SProfile CRampTestView::CurrentProfile() const {
    return Profile(Value(kRampType) != 0.0, Value(kStartPosition), Value(kBreakPoint1),
                   Value(kBreakPoint2), Value(kEndPosition), Value(kPreTestTime), Value(kDuration),
                   Value(kPauseTime));
}

std::size_t CRampTestView::SampleCount() const {
    return std::min(SamplesOf(CurrentProfile().recordedSeconds), kMaxSamples);
}

std::int32_t CRampTestView::StartCommand() const {
    return Value(kRampType) != 0.0 ? kRoundTripCommand : kOneWayCommand;
}

std::optional<std::string> CRampTestView::CheckSettings() const {
    return CheckRecording(CurrentProfile().recordedSeconds);
}

void CRampTestView::DrawProfile(CPlot& plot) const {
    const SProfile profile = CurrentProfile();
    plot.setXAxisSpan(0.0, profile.points.back().x());
    plot.setYAxisSpan(0.0, 100.0);
    DrawPoints(plot, "Channel 1", profile.points);
}

void CRampTestView::PlotResults(CPlot& plot) {
    DrawSamples(plot, "Channel 2", Results(0), Value(kPreTestTime));
}

std::vector<std::string> CRampTestView::PlottedTexts() const {
    return {"Results Plotting Completed"};
}
