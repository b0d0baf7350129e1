#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

// A 128-bit interface or class identifier with COM's text form
// "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}".
struct GUID {
    std::uint32_t Data1 = 0;
    std::uint16_t Data2 = 0;
    std::uint16_t Data3 = 0;
    std::array<std::uint8_t, 8> Data4{};

    // Parses the braced text form (hex digits in either case). Answers nothing for any other
    // text. Usable at compile time, so interfaces declare their ids from the text form.
    static constexpr std::optional<GUID> Parse(std::string_view text);
    // As Parse, but a malformed text throws std::invalid_argument naming the text.
    static GUID FromString(std::string_view text);
    // The braced text form with upper-case hex digits.
    std::string ToString() const;

    friend constexpr bool operator==(const GUID&, const GUID&) = default;
    friend constexpr auto operator<=>(const GUID&, const GUID&) = default;
};

using IID = GUID;
using CLSID = GUID;
using REFIID = const GUID&;
using REFCLSID = const GUID&;

constexpr std::optional<GUID> GUID::Parse(std::string_view text) {
    // Layout of the 38-character text: braces at 0 and 37, dashes at 9, 14, 19, 24.
    if (text.size() != 38 || text[0] != '{' || text[37] != '}' || text[9] != '-' ||
        text[14] != '-' || text[19] != '-' || text[24] != '-') {
        return std::nullopt;
    }
    auto hex = [&](std::size_t pos, std::size_t count, std::uint64_t& out) {
        out = 0;
        for (std::size_t i = pos; i < pos + count; ++i) {
            char c = text[i];
            int digit = c >= '0' && c <= '9'   ? c - '0'
                        : c >= 'a' && c <= 'f' ? c - 'a' + 10
                        : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                               : -1;
            if (digit < 0) {
                return false;
            }
            out = out * 16 + static_cast<std::uint64_t>(digit);
        }
        return true;
    };
    GUID g;
    std::uint64_t v = 0;
    if (!hex(1, 8, v)) {
        return std::nullopt;
    }
    g.Data1 = static_cast<std::uint32_t>(v);
    if (!hex(10, 4, v)) {
        return std::nullopt;
    }
    g.Data2 = static_cast<std::uint16_t>(v);
    if (!hex(15, 4, v)) {
        return std::nullopt;
    }
    g.Data3 = static_cast<std::uint16_t>(v);
    constexpr std::size_t starts[8] = {20, 22, 25, 27, 29, 31, 33, 35};
    for (std::size_t i = 0; i < 8; ++i) {
        if (!hex(starts[i], 2, v)) {
            return std::nullopt;
        }
        g.Data4[i] = static_cast<std::uint8_t>(v);
    }
    return g;
}

// A GUID from a literal, checked at compile time: constexpr GUID id = MakeGuid("{...}");
consteval GUID MakeGuid(std::string_view text) {
    auto g = GUID::Parse(text);
    if (!g) {
        throw "malformed GUID literal"; // not a constant expression: fails the build
    }
    return *g;
}

template <> struct std::hash<GUID> {
    std::size_t operator()(const GUID& g) const noexcept {
        std::uint64_t a = (std::uint64_t{g.Data1} << 32) | (std::uint64_t{g.Data2} << 16) | g.Data3;
        std::uint64_t b = 0;
        for (auto byte : g.Data4) {
            b = (b << 8) | byte;
        }
        return std::hash<std::uint64_t>{}(a ^ (b * 0x9E3779B97F4A7C15ull));
    }
};
