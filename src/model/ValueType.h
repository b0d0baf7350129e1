#pragma once

#include <optional>
#include <string>
#include <string_view>

// The value type of a parameter as control data documents name it. The numbers are the
// DTM's; the gaps between the families are part of the enumeration.
enum class EValueType {
    eUnknownValueType = 0,
    eUInt8 = 10,
    eUInt16 = 11,
    eUInt24 = 12,
    eUInt32 = 13,
    eInt8 = 18,
    eInt16 = 19,
    eInt24 = 20,
    eInt32 = 21,
    eFloat = 50,
    eDouble = 51,
    eEnum8 = 60,
    eEnum16 = 61,
    eEnum24 = 62,
    eEnum32 = 63,
    eBitEnum8 = 70,
    eBitEnum16 = 71,
    eBitEnum24 = 72,
    eBitEnum32 = 73,
    ePackedAscii = 80,
    eAscii = 81,
    eDate = 90,
    eTime = 91,
    eFFOctet = 100,
    eFFBitString = 101,
    eFFVisible = 102,
    eFFTimeValue = 103,
    eFFDateAndTime = 104,
    eFFDuration = 105,
};

// How a parameter is structured on the device.
enum class eParameterType {
    eUnspecifiedParameterType = 0,
    ePrimitive = 1,
    eReferenceArray = 2,
    eValueStruct = 3,
    eReferenceStruct = 4,
};

// Keyword to enumerator, ignoring case. The throwing forms raise std::invalid_argument with
// "Can't convert the passed string to EValueType" / "... to eParameterType".
std::optional<EValueType> FindValueType(std::string_view keyword);
EValueType ToValueType(std::string_view keyword);
eParameterType ToParameterType(std::string_view keyword);

// The lower-case keyword of an enumerator; empty for a number outside the enumeration.
std::string_view ToKeyword(EValueType type);
std::string_view ToKeyword(eParameterType type);

// Size in bytes of the whole-number and floating types; -1 for every other type.
int ByteSize(EValueType type);
