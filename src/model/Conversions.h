#pragma once

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Strict conversions between text and numbers, used wherever a text from the DTM or the
// user becomes a number. Every failure is an exception with a fixed text:
// - std::invalid_argument "Input is empty" for an empty text;
// - std::runtime_error "Input format is not valid" for anything but a number filling the
//   whole text (leading white space and a plus sign are accepted);
// - std::runtime_error "Value is out of range" for a number the target type cannot hold.
// Parsing and formatting ignore the process locale: the decimal point is always '.'.
namespace CConversions {

std::int64_t to_int64(std::string_view text);
// Decimal; a leading minus sign is rejected as a format error.
std::uint64_t to_uint64(std::string_view text);
// `radix` 2 to 36; radix 16 also accepts a "0x" prefix. Other radixes raise
// std::invalid_argument.
std::int32_t to_int32(std::string_view text, int radix = 10);
// As to_int32; a leading minus sign is rejected as a format error.
std::uint32_t to_uint32(std::string_view text, int radix = 10);
double to_double(std::string_view text);

// "true"/"false" or "TRUE"/"FALSE"; anything else is a format error.
bool to_bool(std::string_view text);
// An XML attribute's boolean: "1" and "true" are true; "0", "false" and the empty text (an
// absent attribute) are false; anything else is a format error.
bool xml_to_bool(std::string_view text);

// Pairs of hex digits, either case, into bytes. An odd number of characters raises
// std::invalid_argument "Invalid argument at CConversions::to_byte_array"; a character
// that is not a hex digit raises the format error.
std::vector<std::uint8_t> to_byte_array(std::string_view text);

[[noreturn]] void ThrowOutOfRange();

// A whole number narrowed to a smaller type, or the range error.
template <std::integral To, std::integral From> To narrow(From value) {
    if (!std::in_range<To>(value)) {
        ThrowOutOfRange();
    }
    return static_cast<To>(value);
}
inline std::int16_t to_int16(std::integral auto value) {
    return narrow<std::int16_t>(value);
}
inline std::int8_t to_int8(std::integral auto value) {
    return narrow<std::int8_t>(value);
}
inline std::uint16_t to_uint16(std::integral auto value) {
    return narrow<std::uint16_t>(value);
}
inline std::uint8_t to_uint8(std::integral auto value) {
    return narrow<std::uint8_t>(value);
}

// Decimal text of a whole number; a double with 18 significant digits, as "%.18g" writes it.
std::string format_int64(std::int64_t value);
std::string format_uint64(std::uint64_t value);
std::string format_double(double value);

// The parse that matches T: to_int64, to_uint64 or to_double.
template <class T> T parse(std::string_view text) {
    if constexpr (std::is_same_v<T, std::int64_t>) {
        return to_int64(text);
    } else if constexpr (std::is_same_v<T, std::uint64_t>) {
        return to_uint64(text);
    } else {
        static_assert(std::is_same_v<T, double>, "no parse for this type");
        return to_double(text);
    }
}

inline std::string to_string(std::signed_integral auto value) {
    return format_int64(value);
}
inline std::string to_string(std::unsigned_integral auto value) {
    return format_uint64(value);
}
inline std::string to_string(std::floating_point auto value) {
    return format_double(value);
}

} // namespace CConversions
