#pragma once

// Internal to the wrapper: the small pieces its parts share. Ownership of libxml2 objects,
// conversion between libxml2's strings and ours, quoting for messages.

#include <libxml/tree.h>
#include <libxml/xmlmemory.h>

#include <memory>
#include <string>
#include <string_view>

namespace xml::detail {

template <typename T, void (*Free)(T*)> struct Deleter {
    void operator()(T* p) const { Free(p); }
};
template <typename T, void (*Free)(T*)> using Owned = std::unique_ptr<T, Deleter<T, Free>>;

inline void FreeText(xmlChar* text) {
    xmlFree(text);
}
using OwnedText = Owned<xmlChar, FreeText>;
using OwnedDoc = Owned<xmlDoc, xmlFreeDoc>;

inline const xmlChar* Chars(const std::string& text) {
    return reinterpret_cast<const xmlChar*>(text.c_str());
}

inline std::string_view View(const xmlChar* text) {
    return text != nullptr ? std::string_view(reinterpret_cast<const char*>(text))
                           : std::string_view();
}

inline bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The text between two `quote` characters. It is appended to a reserved string, as adding a
// string to a literal makes GCC 12 report an overlapping copy that cannot happen (-O3).
inline std::string Enclosed(std::string_view text, char quote) {
    std::string out;
    out.reserve(text.size() + 2);
    out += quote;
    out += text;
    out += quote;
    return out;
}

// A name, path or value in apostrophes, for error messages.
inline std::string Quoted(std::string_view text) {
    return Enclosed(text, '\'');
}

} // namespace xml::detail
