#include "xml/XmlPaths.h"

#include "xml/Xml.h"
#include "xml/XmlParsing.h"

#include <algorithm>
#include <functional>
#include <unordered_map>

namespace xml {

namespace detail {

namespace {

bool IsNameStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsNameChar(char c) {
    return IsNameStart(c) || IsDigit(c) || c == '.' || c == '-';
}

// "41" -> "42", "99" -> "100", however many digits.
std::string Increment(std::string_view digits) {
    std::string result(digits);
    for (auto it = result.rbegin(); it != result.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return result;
        }
        *it = '0';
    }
    result.insert(result.begin(), '1');
    return result;
}

// A name test as written ("fms:Item", "index", "fdt:*") becomes a comparison of the
// qualified name, so that the prefix matches whatever namespace it is bound to.
std::string NameTest(std::string_view qname) {
    std::string test;
    if (qname.ends_with(":*")) {
        test = "*[starts-with(name(),";
        test += Quoted(qname.substr(0, qname.size() - 1));
        test += ")]";
    } else {
        test = "*[name()=";
        test += Quoted(qname);
        test += "]";
    }
    return test;
}

// Walks the path token by token, as XPath 1.0 tells them apart: a name is an operator
// (and, or, div, mod) where an operator is due, a function or node type when "(" follows,
// an axis when "::" follows, and otherwise a name test. Everything else is copied as is.
std::string Translate(std::string_view in) {
    const size_t n = in.size();
    auto skipSpace = [&](size_t i) {
        while (i < n && IsSpace(in[i])) {
            ++i;
        }
        return i;
    };
    auto skipName = [&](size_t i) {
        while (i < n && IsNameChar(in[i])) {
            ++i;
        }
        return i;
    };
    std::string out;
    bool operandDue = true; // at the start, after "(", "[", ",", "@", "::" and operators
    size_t i = 0;
    while (i < n) {
        const char c = in[i];
        size_t end = i + 1; // the token in[i, end) is copied unless it is rewritten
        bool operand = true;
        if (IsSpace(c)) {
            operand = !operandDue;
        } else if (c == '\'' || c == '"') {
            end = std::min(in.find(c, i + 1), n - 1) + 1;
        } else if (c == '[') {
            const size_t first = skipSpace(i + 1);
            size_t last = first;
            while (last < n && IsDigit(in[last])) {
                ++last;
            }
            const size_t close = skipSpace(last);
            if (last > first && close < n && in[close] == ']') {
                out += "[" + Increment(in.substr(first, last - first)) + "]";
                i = close + 1;
                operandDue = false;
                continue;
            }
            operand = false;
        } else if (IsNameStart(c) && operandDue) {
            end = skipName(i);
            if (end + 1 < n && in[end] == ':' && (in[end + 1] == '*' || IsNameStart(in[end + 1]))) {
                end = in[end + 1] == '*' ? end + 2 : skipName(end + 1);
            }
            const size_t next = skipSpace(end);
            if ((next == n || in[next] != '(') && in.substr(next, 2) != "::") {
                out += NameTest(in.substr(i, end - i));
                i = end;
                operandDue = false;
                continue;
            }
            operand = false; // a function, node type or axis
        } else if (IsNameStart(c)) {
            end = skipName(i);
            operand = false; // and, or, div, mod
        } else if (c == '$' || IsDigit(c) || (c == '.' && i + 1 < n && IsDigit(in[i + 1]))) {
            while (end < n && (IsNameChar(in[end]) || in[end] == ':')) {
                ++end;
            }
        } else if (c == '.') {
            end = in.substr(i, 2) == ".." ? i + 2 : i + 1;
        } else if (c == '*') {
            operand = operandDue; // a name test, or else multiplication
        } else {
            operand = c == ')' || c == ']';
        }
        out += in.substr(i, end - i);
        i = end;
        operandDue = !operand;
    }
    return out;
}

struct PathHash {
    using is_transparent = void;
    size_t operator()(std::string_view path) const { return std::hash<std::string_view>()(path); }
};

} // namespace

XPathContext NewXPathContext(xmlDoc* doc) {
    XPathContext ctxt(xmlXPathNewContext(doc));
    if (ctxt == nullptr) {
        throw XmlError("out of memory");
    }
    return ctxt;
}

const CompiledPath& CompiledPathFor(std::string_view path) {
    static std::unordered_map<std::string, CompiledPath, PathHash, std::equal_to<>> cache;
    // Paths come from code; this only bounds odd callers (a path built from each value).
    constexpr size_t maxCached = 4096;
    if (const auto it = cache.find(path); it != cache.end()) {
        return it->second;
    }
    if (path.find('\0') != std::string_view::npos) {
        throw XmlError("invalid path " + Quoted(path) + ": contains a NUL character");
    }
    InitLibrary();
    CompiledPath compiled;
    compiled.xpath = Translate(path);
    {
        const ErrorScope errors;
        const XPathContext ctxt = NewXPathContext(nullptr);
        compiled.expression.reset(xmlXPathCtxtCompile(ctxt.get(), Chars(compiled.xpath)));
        if (compiled.expression == nullptr) {
            throw XmlError("invalid path " + Quoted(path) + ": " + errors.Or("does not compile"));
        }
    }
    if (cache.size() >= maxCached) {
        cache.clear();
    }
    return cache.emplace(std::string(path), std::move(compiled)).first->second;
}

std::optional<SimplePath> AsSimplePath(std::string_view path) {
    if (path.starts_with("./")) {
        path.remove_prefix(2);
    }
    SimplePath simple;
    if (path.starts_with('@')) {
        simple.attribute = true;
        path.remove_prefix(1);
    }
    size_t i = 0;
    // Reads one name as Translate reads it: a name start, then name characters.
    const auto name = [&] {
        if (i == path.size() || !IsNameStart(path[i])) {
            return false;
        }
        while (i < path.size() && IsNameChar(path[i])) {
            ++i;
        }
        return true;
    };
    if (!name()) {
        return std::nullopt;
    }
    if (i < path.size() && path[i] == ':') {
        ++i;
        if (!name()) {
            return std::nullopt;
        }
    }
    if (i != path.size() ||
        std::ranges::any_of(path, [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
        return std::nullopt;
    }
    simple.name = path;
    return simple;
}

} // namespace detail

std::string TranslatePath(std::string_view path) {
    return detail::CompiledPathFor(path).xpath;
}

std::string XPathLiteral(std::string_view text) {
    using detail::Enclosed;
    if (text.find('\'') == std::string_view::npos) {
        return Enclosed(text, '\'');
    }
    if (text.find('"') == std::string_view::npos) {
        return Enclosed(text, '"');
    }
    // XPath 1.0 has no escapes: runs of apostrophes go between quotation marks, the rest
    // between apostrophes.
    std::string out = "concat(";
    for (size_t start = 0; start < text.size();) {
        const bool apostrophes = text[start] == '\'';
        const size_t end =
            std::min(apostrophes ? text.find_first_not_of('\'', start) : text.find('\'', start),
                     text.size());
        const char quote = apostrophes ? '"' : '\'';
        out += Enclosed(text.substr(start, end - start), quote);
        out += ',';
        start = end;
    }
    out.back() = ')';
    return out;
}

} // namespace xml
