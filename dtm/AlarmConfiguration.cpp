#include "dtm/AlarmConfiguration.h"

#include "dtm/DeviceModel.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <string>

namespace {

constexpr std::uint32_t kDigitalOutputFields[][2] = {
    // alarm, field
    {1, 0}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {7, 2}, {6, 3}, {87, 4}};

std::uint64_t Unsigned(const std::optional<std::string>& text) {
    std::uint64_t value = 0;
    if (text) {
        std::from_chars(text->data(), text->data() + text->size(), value);
    }
    return value;
}

std::uint8_t TwoBits(std::uint64_t value) {
    return static_cast<std::uint8_t>(std::min<std::uint64_t>(value, 3));
}

} // namespace

std::optional<std::size_t> CAlarmConfiguration::DiagnosticIndex(std::uint32_t alarm) {
    const auto it = std::ranges::find(kDiagnosticAlarms, alarm);
    if (it == kDiagnosticAlarms.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(it - kDiagnosticAlarms.begin());
}

std::optional<std::size_t> CAlarmConfiguration::DigitalOutputField(std::uint32_t alarm) {
    for (const auto& [id, field] : kDigitalOutputFields) {
        if (id == alarm) {
            return field;
        }
    }
    return std::nullopt;
}

std::uint64_t CAlarmConfiguration::DiagnosticBits(std::span<const std::uint32_t> alarms) {
    std::uint64_t bits = 0;
    for (const std::uint32_t alarm : alarms) {
        if (const std::optional<std::size_t> index = DiagnosticIndex(alarm)) {
            bits |= std::uint64_t{1} << *index;
        }
    }
    return bits;
}

SAlarmClass CAlarmConfiguration::ClassOf(std::uint32_t alarm) const {
    if (const std::optional<std::size_t> index = DiagnosticIndex(alarm)) {
        const std::size_t first = *index * kConfigValues + 1; // the enabled element
        return {TwoBits(Unsigned(m_store.ReadArrayElement(kDiagnosticConfigKey, first + 1))),
                TwoBits(Unsigned(m_store.ReadArrayElement(kDiagnosticConfigKey, first + 2)))};
    }
    if (const std::optional<std::size_t> field = DigitalOutputField(alarm)) {
        const auto bits = [&](std::uint32_t element) {
            return TwoBits(Unsigned(m_store.Read(kEnablesKey + element)) >> (2 * *field) & 3);
        };
        return {bits(kEnablesCategories), bits(kEnablesPriorities)};
    }
    return {};
}

double CAlarmConfiguration::Number(std::uint32_t record, std::uint32_t element,
                                   double absent) const {
    const std::optional<std::string> text = m_store.Read(record + element);
    if (!text || text->empty()) {
        return absent;
    }
    char* end = nullptr;
    const double value = std::strtod(text->c_str(), &end);
    return end == text->c_str() + text->size() ? value : absent;
}

std::uint64_t CAlarmConfiguration::EnableBits() const {
    return Unsigned(m_store.Read(kEnablesKey + 1)) | Unsigned(m_store.Read(kEnablesKey + 2)) << 32;
}

void CAlarmConfiguration::CopyEnablesToArray() {
    const std::uint64_t bits = EnableBits();
    for (std::size_t i = 0; i < kDiagnosticAlarms.size(); ++i) {
        m_store.WriteArrayElement(kDiagnosticConfigKey, i * kConfigValues + 1,
                                  bits >> i & 1 ? "1" : "0");
    }
}

void CAlarmConfiguration::CopyArrayToEnables() {
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < kDiagnosticAlarms.size(); ++i) {
        if (Unsigned(m_store.ReadArrayElement(kDiagnosticConfigKey, i * kConfigValues + 1)) != 0) {
            bits |= std::uint64_t{1} << i;
        }
    }
    m_store.Write(kEnablesKey + 1, std::to_string(bits & 0xFFFFFFFF));
    m_store.Write(kEnablesKey + 2, std::to_string(bits >> 32));
}
