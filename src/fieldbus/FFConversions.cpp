#include "fieldbus/FFConversions.h"

#include "model/Conversions.h"

#include <stdexcept>

namespace CFFConversions {

namespace {

[[noreturn]] void ThrowFormat() {
    throw std::runtime_error("Input format is not valid");
}

} // namespace

bool ToBoolean(std::string_view text) {
    return CConversions::xml_to_bool(text);
}

std::uint32_t ToUInt32(std::string_view text) {
    // The strict conversion also takes a plus sign; a response's unsigned number has none.
    const std::size_t first = text.find_first_not_of(" \t\n\v\f\r");
    if (first != std::string_view::npos && text[first] == '+') {
        ThrowFormat();
    }
    return CConversions::to_uint32(text);
}

std::uint16_t ToUInt16(std::string_view text) {
    return CConversions::to_uint16(ToUInt32(text));
}

std::uint8_t ToUInt8(std::string_view text) {
    return CConversions::to_uint8(ToUInt32(text));
}

std::int16_t ToInt16(std::string_view text) {
    return CConversions::to_int16(CConversions::to_int32(text));
}

std::int8_t ToInt8(std::string_view text) {
    return CConversions::to_int8(CConversions::to_int32(text));
}

std::uint8_t ToSmallCount(std::string_view text) {
    return static_cast<std::uint8_t>(CConversions::to_int32(text) & 0xFF);
}

} // namespace CFFConversions
