#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// What a trend buffer follows: the valve's position (%), its deviation from the setpoint (%)
// or the friction (kPa).
enum class ETrendKind : std::uint8_t { Position = 0, Deviation = 1, Friction = 2 };
// What a trend buffer spans: the hours of a day, the days of a month, the months of a year or
// 25 years, one average each.
enum class ETrendSpan : std::uint8_t { Day = 0, Month = 1, Year = 2, Years25 = 3 };

// The share of the valve's travel time spent in each of 16 position bands of 6.25 % (DEVICE.md,
// Trends and histogram).
class CTravelHistogram {
public:
    static constexpr std::uint8_t kFrameType = 31;
    static constexpr std::size_t kBands = 16;
    static constexpr double kBandWidth = 100.0 / kBands; // %

    // `hours` spent at `position` (%, clamped to 0 .. 100; 100 counts in the last band).
    void Add(double position, double hours);
    // The percent of all the time counted that each band holds, band 0 (0 .. 6.25 %) first;
    // all 0 before any time is counted.
    std::array<double, kBands> Bins() const;
    // The bins as the frame sends them: tenths of a percent.
    std::vector<std::int16_t> Tenths() const;

private:
    std::array<double, kBands> m_hours{};
};

// The positioner's trend buffers and travel histogram over a simulated history of 25 years of
// 365 days, hour by hour, from a fixed seed: the same at every start. The history ends at the
// end of a 31 December: the day buffers hold its last day, the month buffers its last month
// (December), the year buffers its last year (January first) and the 25-year buffers every
// year, the oldest first. The history is made when it is first asked for.
class CTrendHistory {
public:
    static constexpr std::uint8_t kFirstFrameType = 192;
    static constexpr std::size_t kKinds = 3;
    static constexpr std::size_t kSpans = 4;
    static constexpr std::uint32_t kSeed = 7025;

    // The frame type and command of buffer (kind, span): 192 + 4 × kind + span.
    static constexpr std::uint8_t FrameType(ETrendKind kind, ETrendSpan span) {
        return static_cast<std::uint8_t>(kFirstFrameType + kSpans * static_cast<std::size_t>(kind) +
                                         static_cast<std::size_t>(span));
    }
    // The averages a buffer of `span` holds: 24, 31, 12 or 25.
    static std::size_t Length(ETrendSpan span);

    // The averages of buffer (kind, span) in their units, oldest first.
    const std::vector<double>& Values(ETrendKind kind, ETrendSpan span) const;
    // The same as the frame sends them: hundredths.
    std::vector<std::int16_t> Hundredths(ETrendKind kind, ETrendSpan span) const;
    // Filled from the same history.
    const CTravelHistogram& Histogram() const { return History().histogram; }

private:
    struct SHistory {
        std::array<std::array<std::vector<double>, kSpans>, kKinds> values;
        CTravelHistogram histogram;
    };

    static SHistory Generate();
    const SHistory& History() const;

    mutable std::optional<SHistory> m_history;
};
