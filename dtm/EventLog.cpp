#include "dtm/EventLog.h"

#include <chrono>
#include <random>

namespace {

std::chrono::sys_seconds ToSeconds(const SDeviceTime& time) {
    using namespace std::chrono;
    const sys_days date{year{2000 + time.year} / month{static_cast<unsigned>(time.month)} /
                        day{static_cast<unsigned>(time.day)}};
    return date + hours{time.hour} + minutes{time.minute} + seconds{time.second};
}

SDeviceTime FromSeconds(std::chrono::sys_seconds point) {
    using namespace std::chrono;
    const sys_days date = floor<days>(point);
    const year_month_day ymd{date};
    const hh_mm_ss clock{point - date};
    return {static_cast<int>(ymd.year()) - 2000,       static_cast<int>(unsigned(ymd.month())),
            static_cast<int>(unsigned(ymd.day())),     static_cast<int>(clock.hours().count()),
            static_cast<int>(clock.minutes().count()), static_cast<int>(clock.seconds().count())};
}

std::uint8_t Byte(int value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

} // namespace

SDeviceTime AddSeconds(const SDeviceTime& time, long long seconds) {
    return FromSeconds(ToSeconds(time) + std::chrono::seconds{seconds});
}

void CEventLog::Append(std::uint8_t code, std::uint8_t information) {
    Append(code, information, m_clock());
}

void CEventLog::Append(std::uint8_t code, std::uint8_t information, const SDeviceTime& time) {
    m_records.push_back(Record{code, information, Byte(time.year), Byte(time.month), Byte(time.day),
                               Byte(time.hour), Byte(time.minute), Byte(time.second), 0, 0});
    while (m_records.size() > kCapacity) {
        m_records.pop_front();
    }
}

void CEventLog::AppendHistory(const SDeviceTime& end) {
    // mt19937's output is the same everywhere; the distributions' are not, so only `%` is used.
    std::mt19937 random(kHistorySeed);
    std::vector<long long> gaps(kHistoryEvents);
    long long total = 0;
    for (long long& gap : gaps) {
        gap = 600 + static_cast<long long>(random() % (18 * 3600)); // 10 minutes to 18 hours
        total += gap;
    }
    SDeviceTime time = AddSeconds(end, -total);
    for (std::size_t i = 0; i < kHistoryEvents; ++i) {
        const auto code =
            static_cast<std::uint8_t>(i == 0 ? kReset : random() % (kHighestCode + 1));
        std::uint8_t information = 0;
        if (code == kModeChanged) {
            information = static_cast<std::uint8_t>(random() % 3);
        } else if (code == kAlarmOn || code == kAlarmOff) {
            information = static_cast<std::uint8_t>(1 + random() % 30);
        }
        Append(code, information, time);
        time = AddSeconds(time, gaps[i]);
    }
}

void CEventLog::AppendTestEvents(std::size_t count) {
    const SDeviceTime start = m_clock();
    for (std::size_t i = 0; i < count; ++i) {
        Append(static_cast<std::uint8_t>(i % (kHighestCode + 1)), static_cast<std::uint8_t>(i),
               AddSeconds(start, static_cast<long long>(i)));
    }
}

std::vector<std::uint8_t> CEventLog::Bytes() const {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(m_records.size() * kRecordSize);
    for (const Record& record : m_records) {
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    return bytes;
}
