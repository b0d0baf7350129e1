#include "ValveTestSupport.h"
#include "dtm/TrendHistory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <vector>

namespace {

class Trends : public ValveTestFixture {
protected:
    const CTrendHistory& History() { return Device().Trends(); }
};

constexpr ETrendKind kKinds[] = {ETrendKind::Position, ETrendKind::Deviation, ETrendKind::Friction};
constexpr ETrendSpan kSpans[] = {ETrendSpan::Day, ETrendSpan::Month, ETrendSpan::Year,
                                 ETrendSpan::Years25};

// The mean of values [begin, end) of a buffer.
double Mean(const std::vector<double>& values, std::size_t begin, std::size_t end) {
    return std::accumulate(values.begin() + static_cast<long>(begin),
                           values.begin() + static_cast<long>(end), 0.0) /
           static_cast<double>(end - begin);
}

TEST_F(Trends, EachCommandSendsItsBufferAsOneValueFrameInHundredths) {
    EXPECT_EQ(CTrendHistory::FrameType(ETrendKind::Friction, ETrendSpan::Year), 202);
    int type = 192;
    for (const ETrendKind kind : kKinds) {
        for (const ETrendSpan span : kSpans) {
            SCOPED_TRACE(type);
            ASSERT_EQ(CTrendHistory::FrameType(kind, span), type);
            const std::vector<double>& values = History().Values(kind, span);
            const std::vector<std::int16_t> sent = History().Hundredths(kind, span);
            constexpr std::size_t kLengths[] = {24, 31, 12, 25};
            ASSERT_EQ(values.size(), kLengths[static_cast<std::size_t>(span)]);
            ASSERT_EQ(sent.size(), values.size());
            for (std::size_t i = 0; i < values.size(); ++i) {
                EXPECT_NEAR(sent[i], values[i] * 100, 0.5) << i;
            }
            // Upload checks the headers, that the frame beyond the last is empty and that zeros
            // follow the values.
            EXPECT_EQ(Upload(type, values.size(), 1), sent);
            ++type;
        }
    }
    EXPECT_EQ(type, 204);
}

TEST_F(Trends, HistoryIsTheSameAtEveryStartAndHasItsShapes) {
    const CTrendHistory other;
    for (const ETrendKind kind : kKinds) {
        for (const ETrendSpan span : kSpans) {
            SCOPED_TRACE(CTrendHistory::FrameType(kind, span));
            const std::vector<double>& values = History().Values(kind, span);
            EXPECT_EQ(values, other.Values(kind, span));
            const auto [low, high] = std::minmax_element(values.begin(), values.end());
            EXPECT_LT(*low, *high) << "not all equal";
            const double range[3][2] = {{40, 70}, {0.1, 1.5}, {20, 60}};
            EXPECT_GE(*low, range[std::size_t(kind)][0]);
            EXPECT_LE(*high, range[std::size_t(kind)][1]);
        }
    }

    using enum ETrendKind;
    using enum ETrendSpan;
    const std::vector<double>& day = History().Values(Position, Day);
    EXPECT_GT(Mean(day, 10, 18), Mean(day, 0, 6) + 5) << "higher by day";
    const std::vector<double>& seasons = History().Values(Friction, Year);
    EXPECT_GT(Mean(seasons, 0, 2), Mean(seasons, 6, 8) + 5) << "higher in winter";
    for (const ETrendKind worn : {Deviation, Friction}) {
        const std::vector<double>& years = History().Values(worn, Years25);
        EXPECT_GT(Mean(years, 20, 25), Mean(years, 0, 5) * 1.3) << "rises with wear";
    }
}

TEST_F(Trends, HistogramFrameSendsSixteenBandsInTenthsAndFaultsApply) {
    const std::vector<std::int16_t> tenths = Upload(CTravelHistogram::kFrameType, 16, 1);
    EXPECT_EQ(tenths, Device().Histogram().Tenths());
    EXPECT_NEAR(std::accumulate(tenths.begin(), tenths.end(), 0), 1000, 8);
    const std::array<double, 16> bins = Device().Histogram().Bins();
    EXPECT_NEAR(std::accumulate(bins.begin(), bins.end(), 0.0), 100, 1e-9);
    EXPECT_GT(std::accumulate(bins.begin() + 7, bins.begin() + 11, 0.0), 60)
        << "most of the time about the operating point (43.75 to 68.75 %)";
    for (const double end : {bins.front(), bins.back()}) {
        EXPECT_GT(end, 0);
        EXPECT_LT(end, 2) << "a little at the ends";
    }
    EXPECT_EQ(CTrendHistory().Histogram().Bins(), bins) << "the same at every start";

    m_dtm->Faults().frames.wrongType = true;
    EXPECT_EQ(Frame(202, 0)[0], 203);
    EXPECT_EQ(Frame(CTravelHistogram::kFrameType, 0)[0], 32);
}

} // namespace
