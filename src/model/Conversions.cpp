#include "model/Conversions.h"

#include <charconv>
#include <limits>
#include <stdexcept>
#include <system_error>

namespace CConversions {

namespace {

constexpr const char* kEmpty = "Input is empty";
constexpr const char* kFormat = "Input format is not valid";
constexpr const char* kRange = "Value is out of range";

[[noreturn]] void ThrowFormat() {
    throw std::runtime_error(kFormat);
}

// The text after leading white space and an optional sign; `negative` tells which sign.
std::string_view Unsigned(std::string_view text, bool& negative) {
    if (text.empty()) {
        throw std::invalid_argument(kEmpty);
    }
    const std::size_t start = text.find_first_not_of(" \t\n\v\f\r");
    text.remove_prefix(start == std::string_view::npos ? text.size() : start);
    negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (negative || text.front() == '+')) {
        text.remove_prefix(1);
    }
    // A second sign, or nothing left, is not a number.
    if (text.empty() || text.front() == '+' || text.front() == '-') {
        ThrowFormat();
    }
    return text;
}

// from_chars over the whole of `text`, mapping its outcome to the conversion errors.
template <class T, class... Options> T Scan(std::string_view text, Options... options) {
    T value{};
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, options...);
    if (error == std::errc::invalid_argument || end != text.data() + text.size()) {
        ThrowFormat();
    }
    if (error == std::errc::result_out_of_range) {
        ThrowOutOfRange();
    }
    return value;
}

template <std::integral T> T ParseWhole(std::string_view text, int radix) {
    if (radix < 2 || radix > 36) {
        throw std::invalid_argument("Radix must be within 2 and 36");
    }
    bool negative = false;
    std::string_view digits = Unsigned(text, negative);
    if (negative && std::is_unsigned_v<T>) {
        ThrowFormat();
    }
    if (radix == 16 && digits.size() > 2 && digits[0] == '0' && (digits[1] | 0x20) == 'x') {
        digits.remove_prefix(2);
    }
    const auto magnitude = Scan<std::uint64_t>(digits, radix);
    if (!negative) {
        return narrow<T>(magnitude);
    }
    constexpr auto lowest = std::uint64_t{1} << 63; // magnitude of the smallest int64
    if (magnitude > lowest) {
        ThrowOutOfRange();
    }
    const std::int64_t value = magnitude == lowest ? std::numeric_limits<std::int64_t>::min()
                                                   : -static_cast<std::int64_t>(magnitude);
    return narrow<T>(value);
}

template <class T> std::string Format(T value, auto... options) {
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, options...);
    return error == std::errc{} ? std::string(buffer, end) : std::string();
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    const char lower = static_cast<char>(c | 0x20);
    if (lower >= 'a' && lower <= 'f') {
        return lower - 'a' + 10;
    }
    ThrowFormat();
}

} // namespace

void ThrowOutOfRange() {
    throw std::runtime_error(kRange);
}

std::int64_t to_int64(std::string_view text) {
    return ParseWhole<std::int64_t>(text, 10);
}

std::uint64_t to_uint64(std::string_view text) {
    return ParseWhole<std::uint64_t>(text, 10);
}

std::int32_t to_int32(std::string_view text, int radix) {
    return ParseWhole<std::int32_t>(text, radix);
}

std::uint32_t to_uint32(std::string_view text, int radix) {
    return ParseWhole<std::uint32_t>(text, radix);
}

double to_double(std::string_view text) {
    bool negative = false;
    const double magnitude = Scan<double>(Unsigned(text, negative), std::chars_format::general);
    return negative ? -magnitude : magnitude;
}

bool to_bool(std::string_view text) {
    if (text == "true" || text == "TRUE") {
        return true;
    }
    if (text == "false" || text == "FALSE") {
        return false;
    }
    ThrowFormat();
}

bool xml_to_bool(std::string_view text) {
    if (text == "1" || text == "true") {
        return true;
    }
    if (text.empty() || text == "0" || text == "false") {
        return false;
    }
    ThrowFormat();
}

std::vector<std::uint8_t> to_byte_array(std::string_view text) {
    if (text.size() % 2 != 0) {
        throw std::invalid_argument("Invalid argument at CConversions::to_byte_array");
    }
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size() / 2);
    for (std::size_t i = 0; i < text.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(HexDigit(text[i]) * 16 + HexDigit(text[i + 1])));
    }
    return bytes;
}

std::string format_int64(std::int64_t value) {
    return Format(value);
}

std::string format_uint64(std::uint64_t value) {
    return Format(value);
}

std::string format_double(double value) {
    return Format(value, std::chars_format::general, 18);
}

} // namespace CConversions
