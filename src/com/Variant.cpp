#include "com/Variant.h"

#include <charconv>
#include <cmath>

std::optional<std::int32_t> Variant::GetInt32() const {
    if (auto p = std::get_if<std::int32_t>(&m_value)) {
        return *p;
    }
    return std::nullopt;
}

std::optional<bool> Variant::GetBool() const {
    if (auto p = std::get_if<bool>(&m_value)) {
        return *p;
    }
    return std::nullopt;
}

std::optional<double> Variant::GetDouble() const {
    if (auto p = std::get_if<double>(&m_value)) {
        return *p;
    }
    return std::nullopt;
}

std::string Variant::ToString() const {
    switch (GetType()) {
    case Type::Empty:
        return {};
    case Type::String:
        return *GetString();
    case Type::Int32:
        return std::to_string(*GetInt32());
    case Type::Bool:
        return *GetBool() ? "-1" : "0";
    case Type::Double: {
        const double d = *GetDouble();
        if (std::isnan(d)) {
            return "NaN";
        }
        if (std::isinf(d)) {
            return d > 0 ? "Infinity" : "-Infinity";
        }
        char text[32];
        auto result = std::to_chars(text, text + sizeof text, d);
        return std::string(text, result.ptr);
    }
    }
    return {};
}
