#pragma once

#include "views/diagnostics/ValveTestView.h"

#include <QList>
#include <QPointF>

// The ramp test: the valve follows a ramp from the start position to a break point and on to
// the end position (one way), or through both break points (round trip), with a pause at each
// turn; the device records the position every 0.1 s from the end of the pre-test time.
class CRampTestView : public CValveTestView<CRampTestView, 315> {
public:
    static constexpr int kViewId = 1305;
    static constexpr std::uint32_t kSettingsRecord = 0x01600000;
    static constexpr std::uint32_t kRampType = 0x01600001;
    static constexpr std::uint32_t kStartPosition = 0x01600002;
    static constexpr std::uint32_t kReserved = 0x01600003;
    static constexpr std::uint32_t kDuration = 0x01600004;
    static constexpr std::uint32_t kBreakPoint1 = 0x01600005;
    static constexpr std::uint32_t kBreakPoint2 = 0x01600006;
    static constexpr std::uint32_t kEndPosition = 0x01600007;
    static constexpr std::uint32_t kPreTestTime = 0x01600008;
    static constexpr std::uint32_t kPauseTime = 0x01600009;
    static constexpr std::int32_t kOneWayCommand = 24;
    static constexpr std::int32_t kRoundTripCommand = 25;
    static constexpr std::int32_t kResultsFrameType = 26;

    struct SProfile {
        QList<QPointF> points; // (time in s, setpoint in %)
        double recordedSeconds = 0.0;
    };

    explicit CRampTestView(const SViewContext& context);

    // The setpoint the test follows with these settings, and how long the device records.
    static SProfile Profile(bool roundTrip, double start, double breakPoint1, double breakPoint2,
                            double end, double preTest, double duration, double pause);
    SProfile CurrentProfile() const;
    // The samples the device records: one per 0.1 s of the recorded time.
    std::size_t SampleCount() const;

protected:
    std::int32_t StartCommand() const override;
    std::optional<std::string> CheckSettings() const override;
    void DrawProfile(CPlot& plot) const override;
    void PlotResults(CPlot& plot) override;
    std::vector<std::string> PlottedTexts() const override;
};
