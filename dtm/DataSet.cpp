#include "dtm/DataSet.h"

#include "dtm/ParameterDictionary.h"

#include <chrono>
#include <cstdio>
#include <ctime>

std::string CurrentTimestamp() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const auto hundredths = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000 / 10;
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[64];
    std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d%02d", utc.tm_year + 1900,
                  utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec,
                  static_cast<int>(hundredths));
    return text;
}

CDataSet::CDataSet(const CParameterDictionary& dictionary) {
    const std::string now = CurrentTimestamp();
    for (const std::uint32_t key : dictionary.Keys()) {
        m_entries.emplace(key, SDataSetEntry{dictionary.Find(key)->defaultValue, now, false});
    }
}

const SDataSetEntry* CDataSet::Find(std::uint32_t key) const {
    const auto it = m_entries.find(key);
    return it != m_entries.end() ? &it->second : nullptr;
}

SDataSetEntry* CDataSet::Entry(std::uint32_t key) {
    const auto it = m_entries.find(key);
    return it != m_entries.end() ? &it->second : nullptr;
}

void CDataSet::Receive(std::uint32_t key, std::string value) {
    if (SDataSetEntry* entry = Entry(key)) {
        *entry = {std::move(value), CurrentTimestamp(), false};
    }
}

void CDataSet::Change(std::uint32_t key, std::string value) {
    if (SDataSetEntry* entry = Entry(key)) {
        *entry = {std::move(value), CurrentTimestamp(), true};
    }
}

void CDataSet::MarkWritten(std::uint32_t key) {
    if (SDataSetEntry* entry = Entry(key)) {
        entry->modified = false;
    }
}
