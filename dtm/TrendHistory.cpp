#include "dtm/TrendHistory.h"

#include "dtm/procedures/ValveTestProfile.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>
#include <random>

namespace {

constexpr int kYears = 25;
constexpr int kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr int kYearDays = 365;
constexpr int kDayHours = 24;
constexpr double kHistoryHours = double{kYears} * kYearDays * kDayHours;

// Position, %: the operating point, higher by day and a little in winter, moved by the year
// and the day, noisy from hour to hour.
constexpr double kOperatingPoint = 55;
constexpr double kPositionDaySwing = 6;
constexpr double kPositionWinterSwing = 2;
constexpr double kPositionYearSpread = 2;
constexpr double kPositionDaySpread = 2;
constexpr double kPositionNoise = 3;
// Deviation, %: a little larger by day, rising with wear over the 25 years.
constexpr double kDeviationNew = 0.25;
constexpr double kDeviationWear = 0.8;
constexpr double kDeviationDaySwing = 0.1;
constexpr double kDeviationNoise = 0.25;
// Friction, kPa: higher in winter, rising with wear over the 25 years.
constexpr double kFrictionNew = 30;
constexpr double kFrictionWear = 22;
constexpr double kFrictionWinterSwing = 4;
constexpr double kFrictionDaySpread = 1;
constexpr double kFrictionNoise = 1.5;
// Within each hour the valve travels about its hourly mean (a triangular spread); now and then
// it closes or opens fully for a while (per mille of the hours).
constexpr double kTravelSpread = 20;
constexpr std::uint32_t kClosedPerMille = 6;
constexpr std::uint32_t kOpenPerMille = 3;

// A number from `low` to `high` (not included). mt19937's output is the same everywhere; the
// distributions' are not, so they are not used.
double Uniform(std::mt19937& random, double low, double high) {
    return low + (high - low) * static_cast<double>(random()) / 4294967296.0;
}

// -1 at 2 o'clock at night, 1 at 2 o'clock in the afternoon.
std::array<double, kDayHours> DayShape() {
    std::array<double, kDayHours> shape{};
    for (int hour = 0; hour < kDayHours; ++hour) {
        shape[static_cast<std::size_t>(hour)] =
            -std::cos(2 * std::numbers::pi * (hour - 2) / kDayHours);
    }
    return shape;
}

// 1 in mid-January, -1 in mid-July.
double WinterShape(int dayOfYear) {
    return std::cos(2 * std::numbers::pi * (dayOfYear - 15) / kYearDays);
}

// The sums of one buffer's averages and the hours each holds.
struct SAverages {
    std::vector<double> sums;
    std::vector<int> hours;

    explicit SAverages(std::size_t length) : sums(length, 0), hours(length, 0) {}
    void Add(std::size_t index, double value) {
        sums[index] += value;
        ++hours[index];
    }
    std::vector<double> Means() const {
        std::vector<double> means(sums.size(), 0);
        for (std::size_t i = 0; i < sums.size(); ++i) {
            means[i] = hours[i] == 0 ? 0 : sums[i] / hours[i];
        }
        return means;
    }
};

} // namespace

void CTravelHistogram::Add(double position, double hours) {
    const double clamped = std::clamp(position, 0.0, 100.0);
    const auto band = std::min(kBands - 1, static_cast<std::size_t>(clamped / kBandWidth));
    m_hours[band] += hours;
}

std::array<double, CTravelHistogram::kBands> CTravelHistogram::Bins() const {
    const double total = std::accumulate(m_hours.begin(), m_hours.end(), 0.0);
    std::array<double, kBands> bins{};
    for (std::size_t i = 0; i < kBands && total > 0; ++i) {
        bins[i] = 100 * m_hours[i] / total;
    }
    return bins;
}

std::vector<std::int16_t> CTravelHistogram::Tenths() const {
    std::vector<std::int16_t> tenths;
    for (const double bin : Bins()) {
        tenths.push_back(::Tenths(bin));
    }
    return tenths;
}

std::size_t CTrendHistory::Length(ETrendSpan span) {
    switch (span) {
    case ETrendSpan::Day:
        return kDayHours;
    case ETrendSpan::Month:
        return 31;
    case ETrendSpan::Year:
        return 12;
    case ETrendSpan::Years25:
        return kYears;
    }
    return 0;
}

CTrendHistory::SHistory CTrendHistory::Generate() {
    SHistory history;
    const std::array<double, kDayHours> dayShape = DayShape();
    std::vector<std::array<SAverages, kSpans>> averages;
    for (std::size_t kind = 0; kind < kKinds; ++kind) {
        averages.push_back(
            {SAverages(Length(ETrendSpan::Day)), SAverages(Length(ETrendSpan::Month)),
             SAverages(Length(ETrendSpan::Year)), SAverages(Length(ETrendSpan::Years25))});
    }
    std::mt19937 random(kSeed);
    double hoursPassed = 0;
    for (int year = 0; year < kYears; ++year) {
        const double yearOffset = Uniform(random, -kPositionYearSpread, kPositionYearSpread);
        int dayOfYear = 0;
        for (int month = 0; month < 12; ++month) {
            for (int day = 0; day < kMonthDays[month]; ++day, ++dayOfYear) {
                const double positionOffset =
                    yearOffset + Uniform(random, -kPositionDaySpread, kPositionDaySpread);
                const double frictionOffset =
                    Uniform(random, -kFrictionDaySpread, kFrictionDaySpread);
                const double winter = WinterShape(dayOfYear);
                const bool lastYear = year == kYears - 1;
                const bool lastMonth = lastYear && month == 11;
                const bool lastDay = lastMonth && day == kMonthDays[11] - 1;
                for (int hour = 0; hour < kDayHours; ++hour, ++hoursPassed) {
                    const double wear = hoursPassed / kHistoryHours;
                    const double shape = dayShape[static_cast<std::size_t>(hour)];
                    const double values[kKinds] = {
                        kOperatingPoint + positionOffset + kPositionDaySwing * shape +
                            kPositionWinterSwing * winter +
                            Uniform(random, -kPositionNoise, kPositionNoise),
                        kDeviationNew + kDeviationWear * wear + kDeviationDaySwing * shape +
                            Uniform(random, 0, kDeviationNoise),
                        kFrictionNew + kFrictionWear * wear + kFrictionWinterSwing * winter +
                            frictionOffset + Uniform(random, -kFrictionNoise, kFrictionNoise)};
                    // The average of each span this hour goes into; -1 for none.
                    const int indexes[kSpans] = {lastDay ? hour : -1, lastMonth ? day : -1,
                                                 lastYear ? month : -1, year};
                    for (std::size_t kind = 0; kind < kKinds; ++kind) {
                        for (std::size_t span = 0; span < kSpans; ++span) {
                            if (indexes[span] >= 0) {
                                averages[kind][span].Add(static_cast<std::size_t>(indexes[span]),
                                                         values[kind]);
                            }
                        }
                    }
                    const std::uint32_t event = random() % 1000;
                    double travel = values[0] + kTravelSpread * (Uniform(random, -0.5, 0.5) +
                                                                 Uniform(random, -0.5, 0.5));
                    if (event < kClosedPerMille) {
                        travel = Uniform(random, 0, 2 * CTravelHistogram::kBandWidth);
                    } else if (event < kClosedPerMille + kOpenPerMille) {
                        travel = Uniform(random, 100 - 2 * CTravelHistogram::kBandWidth, 100);
                    }
                    history.histogram.Add(travel, 1);
                }
            }
        }
    }
    for (std::size_t kind = 0; kind < kKinds; ++kind) {
        for (std::size_t span = 0; span < kSpans; ++span) {
            history.values[kind][span] = averages[kind][span].Means();
        }
    }
    return history;
}

const CTrendHistory::SHistory& CTrendHistory::History() const {
    if (!m_history) {
        m_history = Generate();
    }
    return *m_history;
}

const std::vector<double>& CTrendHistory::Values(ETrendKind kind, ETrendSpan span) const {
    return History().values[static_cast<std::size_t>(kind)][static_cast<std::size_t>(span)];
}

std::vector<std::int16_t> CTrendHistory::Hundredths(ETrendKind kind, ETrendSpan span) const {
    std::vector<std::int16_t> hundredths;
    for (const double value : Values(kind, span)) {
        hundredths.push_back(::Hundredths(value));
    }
    return hundredths;
}
