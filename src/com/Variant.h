#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

// The automation value passed across the DTM interfaces: empty, string, 32-bit integer,
// bool or double. Strings are UTF-8.
class Variant {
public:
    enum class Type { Empty, String, Int32, Bool, Double };

    Variant() = default;
    Variant(std::string text) : m_value(std::move(text)) {}
    Variant(const char* text) : m_value(std::string(text ? text : "")) {}
    Variant(std::int32_t number) : m_value(number) {}
    Variant(bool flag) : m_value(flag) {}
    Variant(double number) : m_value(number) {}

    Type GetType() const { return static_cast<Type>(m_value.index()); }
    bool IsEmpty() const { return GetType() == Type::Empty; }

    const std::string* GetString() const { return std::get_if<std::string>(&m_value); }
    std::optional<std::int32_t> GetInt32() const;
    std::optional<bool> GetBool() const;
    std::optional<double> GetDouble() const;

    // The text form, as COM's conversion to a string gives it: empty is "", integers in
    // decimal, a bool is "-1" (true) or "0" (false), doubles in the shortest form that reads
    // back to the same value.
    std::string ToString() const;

    friend bool operator==(const Variant&, const Variant&) = default;

private:
    std::variant<std::monostate, std::string, std::int32_t, bool, double> m_value;
};
