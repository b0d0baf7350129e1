#pragma once

#include <cstdint>
#include <string_view>

// The conversions applied to attribute texts of fieldbus responses. They rest on the strict
// conversions (CConversions) and fail with the same texts: std::invalid_argument
// "Input is empty", std::runtime_error "Input format is not valid" or "Value is out of range".
namespace CFFConversions {

// "1" and "true" are true; "0", "false" and the empty text are false; nothing else.
bool ToBoolean(std::string_view text);
// Decimal digits after optional leading white space; no sign at all.
std::uint32_t ToUInt32(std::string_view text);
std::uint16_t ToUInt16(std::string_view text);
std::uint8_t ToUInt8(std::string_view text);
// Decimal with an optional sign.
std::int16_t ToInt16(std::string_view text);
std::int8_t ToInt8(std::string_view text);
// A count the DTM writes as a whole number: the low 8 bits of its 32-bit value.
std::uint8_t ToSmallCount(std::string_view text);

} // namespace CFFConversions
