#include "model/ValueType.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace {

constexpr std::pair<std::string_view, EValueType> kValueTypes[] = {
    {"eunknownvaluetype", EValueType::eUnknownValueType},
    {"euint8", EValueType::eUInt8},
    {"euint16", EValueType::eUInt16},
    {"euint24", EValueType::eUInt24},
    {"euint32", EValueType::eUInt32},
    {"eint8", EValueType::eInt8},
    {"eint16", EValueType::eInt16},
    {"eint24", EValueType::eInt24},
    {"eint32", EValueType::eInt32},
    {"efloat", EValueType::eFloat},
    {"edouble", EValueType::eDouble},
    {"eenum8", EValueType::eEnum8},
    {"eenum16", EValueType::eEnum16},
    {"eenum24", EValueType::eEnum24},
    {"eenum32", EValueType::eEnum32},
    {"ebitenum8", EValueType::eBitEnum8},
    {"ebitenum16", EValueType::eBitEnum16},
    {"ebitenum24", EValueType::eBitEnum24},
    {"ebitenum32", EValueType::eBitEnum32},
    {"epackedascii", EValueType::ePackedAscii},
    {"eascii", EValueType::eAscii},
    {"edate", EValueType::eDate},
    {"etime", EValueType::eTime},
    {"effoctet", EValueType::eFFOctet},
    {"effbitstring", EValueType::eFFBitString},
    {"effvisible", EValueType::eFFVisible},
    {"efftimevalue", EValueType::eFFTimeValue},
    {"effdateandtime", EValueType::eFFDateAndTime},
    {"effduration", EValueType::eFFDuration},
};

constexpr std::pair<std::string_view, eParameterType> kParameterTypes[] = {
    {"eunspecifiedparametertype", eParameterType::eUnspecifiedParameterType},
    {"eprimitive", eParameterType::ePrimitive},
    {"ereferencearray", eParameterType::eReferenceArray},
    {"evaluestruct", eParameterType::eValueStruct},
    {"ereferencestruct", eParameterType::eReferenceStruct},
};

bool EqualsIgnoringCase(std::string_view lower, std::string_view text) {
    return std::ranges::equal(lower, text, [](char a, char b) {
        return a == (b >= 'A' && b <= 'Z' ? static_cast<char>(b - 'A' + 'a') : b);
    });
}

template <class T, std::size_t N>
std::optional<T> Find(const std::pair<std::string_view, T> (&table)[N], std::string_view keyword) {
    for (const auto& [name, value] : table) {
        if (EqualsIgnoringCase(name, keyword)) {
            return value;
        }
    }
    return std::nullopt;
}

template <class T, std::size_t N>
std::string_view Name(const std::pair<std::string_view, T> (&table)[N], T value) {
    for (const auto& [name, entry] : table) {
        if (entry == value) {
            return name;
        }
    }
    return {};
}

} // namespace

std::optional<EValueType> FindValueType(std::string_view keyword) {
    return Find(kValueTypes, keyword);
}

EValueType ToValueType(std::string_view keyword) {
    if (const auto type = FindValueType(keyword)) {
        return *type;
    }
    throw std::invalid_argument("Can't convert the passed string to EValueType");
}

eParameterType ToParameterType(std::string_view keyword) {
    if (const auto type = Find(kParameterTypes, keyword)) {
        return *type;
    }
    throw std::invalid_argument("Can't convert the passed string to eParameterType");
}

std::string_view ToKeyword(EValueType type) {
    return Name(kValueTypes, type);
}

std::string_view ToKeyword(eParameterType type) {
    return Name(kParameterTypes, type);
}

int ByteSize(EValueType type) {
    switch (type) {
    case EValueType::eUInt8:
    case EValueType::eInt8:
        return 1;
    case EValueType::eUInt16:
    case EValueType::eInt16:
        return 2;
    case EValueType::eUInt24:
    case EValueType::eInt24:
        return 3;
    case EValueType::eUInt32:
    case EValueType::eInt32:
    case EValueType::eFloat:
        return 4;
    case EValueType::eDouble:
        return 8;
    default:
        return -1;
    }
}
