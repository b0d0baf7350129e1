#include "model/DateOrTimeParameterDescriptor.h"

#include "model/Conversions.h"

#include <algorithm>
#include <array>
#include <exception>
#include <limits>
#include <optional>
#include <utility>

namespace {

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Reads the "%d" fields of a scanf-style format from a text the way scanf does: a field
// skips white space and takes an optional sign and at least one digit, at most `width`
// characters when the format gives a width; white space in the format matches any amount
// of white space; any other character must match itself. A number too large for 64 bits
// counts as not read.
class CFieldScanner {
public:
    explicit CFieldScanner(std::string_view text) : m_text(text) {}

    template <std::size_t N>
    std::optional<std::array<std::int64_t, N>> Scan(std::string_view format) {
        std::array<std::int64_t, N> fields{};
        std::size_t count = 0;
        for (std::size_t f = 0; f < format.size(); ++f) {
            if (format[f] == '%') {
                std::size_t width = 0;
                while (format[++f] != 'd') {
                    width = width * 10 + static_cast<std::size_t>(format[f] - '0');
                }
                if (count == N || !Number(width, fields[count++])) {
                    return std::nullopt;
                }
            } else if (IsSpace(format[f])) {
                SkipSpace();
            } else if (m_pos >= m_text.size() || m_text[m_pos++] != format[f]) {
                return std::nullopt;
            }
        }
        return count == N ? std::optional(fields) : std::nullopt;
    }

private:
    void SkipSpace() {
        while (m_pos < m_text.size() && IsSpace(m_text[m_pos])) {
            ++m_pos;
        }
    }

    bool Number(std::size_t width, std::int64_t& out) {
        SkipSpace();
        const std::size_t end = width == 0 ? m_text.size() : std::min(m_text.size(), m_pos + width);
        const bool negative = m_pos < end && m_text[m_pos] == '-';
        if (m_pos < end && (negative || m_text[m_pos] == '+')) {
            ++m_pos;
        }
        const std::size_t digits = m_pos;
        constexpr std::int64_t largest = std::numeric_limits<std::int64_t>::max();
        std::int64_t magnitude = 0;
        for (; m_pos < end && m_text[m_pos] >= '0' && m_text[m_pos] <= '9'; ++m_pos) {
            const int digit = m_text[m_pos] - '0';
            if (magnitude > (largest - digit) / 10) {
                return false;
            }
            magnitude = magnitude * 10 + digit;
        }
        if (m_pos == digits) {
            return false;
        }
        out = negative ? -magnitude : magnitude;
        return true;
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
};

// Stores the scanned fields into `targets` when there are fields and each fits its target.
template <class... T>
void Store(const std::optional<std::array<std::int64_t, sizeof...(T)>>& fields, T&... targets) {
    if (!fields) {
        return;
    }
    std::size_t i = 0;
    if (!(std::in_range<T>((*fields)[i++]) && ...)) {
        return;
    }
    i = 0;
    ((targets = static_cast<T>((*fields)[i++])), ...);
}

// Decodes `value` by its type (see the class) into `fields`.
void DecodeDateOrTime(EValueType type, std::string_view value, SDateTime& fields) {
    SDateTime& d = fields;
    CFieldScanner scanner(value);
    switch (type) {
    case EValueType::eDate:
        Store(scanner.Scan<3>("%04d-%02d-%02d"), d.year, d.month, d.day);
        break;
    case EValueType::eTime:
    case EValueType::eFFDuration:
        Store(scanner.Scan<2>("%d-%d"), d.milliseconds, d.days);
        break;
    case EValueType::eFFTimeValue:
        try {
            d.timeValue = CConversions::to_int64(value);
        } catch (const std::exception&) {
            // Not a number: the previous time value stays.
        }
        break;
    case EValueType::eFFDateAndTime:
        Store(scanner.Scan<9>("%04d-%02d-%02d %02d:%02d:%02d.%03d %01d %01d"), d.year, d.month,
              d.day, d.hour, d.minute, d.second, d.milliseconds, d.dayOfWeek, d.summerTime);
        break;
    default:
        break;
    }
}

} // namespace

CDateOrTimeParameterDescriptor::CDateOrTimeParameterDescriptor(ComPtr<IDtmParameterAccess> access,
                                                               std::uint32_t parameterKey,
                                                               const xml::Document& document)
    : CParameterDescriptor(std::move(access), parameterKey) {
    Load(document);
}

void CDateOrTimeParameterDescriptor::ReadKind(const xml::Document&, const CElementAttributes&,
                                              const SCommonFields& common) {
    DecodeDateOrTime(common.valueType, common.value, m_fields);
}
