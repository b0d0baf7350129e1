#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace xml {
class Node;
}

// The attributes of one element, read from the element in one pass without a path
// evaluation. A document is read on every update notification, so an element whose
// attributes are needed is read once rather than once per attribute.
class CElementAttributes {
public:
    CElementAttributes() = default;
    // All attributes of `element`; none for a null node.
    explicit CElementAttributes(const xml::Node& element);

    // The text of the attribute with this qualified name; empty when it is absent.
    const std::string& Get(std::string_view name) const;

    // The attributes of each `child` element of `parent`, in document order.
    static std::vector<CElementAttributes> OfChildren(const xml::Node& parent,
                                                      std::string_view child);

private:
    std::vector<std::pair<std::string, std::string>> m_attributes;
};

// The first element named `name` (qualified, as written) in document order at or below
// `top`, found without a path evaluation; null when there is none.
xml::Node FindFirstElement(const xml::Node& top, std::string_view name);
