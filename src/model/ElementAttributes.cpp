#include "model/ElementAttributes.h"

#include "xml/Xml.h"

#include <algorithm>

CElementAttributes::CElementAttributes(const xml::Node& element) {
    if (!element) {
        return;
    }
    for (const xml::Node& attribute : element.SelectAll("@*")) {
        m_attributes.emplace_back(attribute.Name(), attribute.Text());
    }
}

const std::string& CElementAttributes::Get(std::string_view name) const {
    static const std::string absent;
    for (const auto& [attributeName, text] : m_attributes) {
        if (attributeName == name) {
            return text;
        }
    }
    return absent;
}

std::vector<CElementAttributes> CElementAttributes::OfChildren(const xml::Node& parent,
                                                               std::string_view child) {
    std::vector<CElementAttributes> result;
    std::vector<xml::Node> elements = parent ? parent.Children() : std::vector<xml::Node>();
    std::erase_if(elements, [&](const xml::Node& element) { return element.Name() != child; });
    if (elements.empty()) {
        return result;
    }
    // One evaluation yields every child element followed by its attributes, in document
    // order. The nodes named like the elements are the elements themselves unless an
    // attribute has that name too; then each element is read on its own.
    const std::string name(child);
    std::vector<std::pair<std::string, xml::Node>> nodes;
    for (xml::Node& node : parent.SelectAll(name + " | " + name + "/@*")) {
        nodes.emplace_back(node.Name(), std::move(node));
    }
    const auto named = std::ranges::count(nodes, name, &std::pair<std::string, xml::Node>::first);
    if (static_cast<std::size_t>(named) != elements.size()) {
        for (const xml::Node& element : elements) {
            result.emplace_back(element);
        }
        return result;
    }
    for (auto& [nodeName, node] : nodes) {
        if (nodeName == name) {
            result.emplace_back();
        } else {
            result.back().m_attributes.emplace_back(std::move(nodeName), node.Text());
        }
    }
    return result;
}

xml::Node FindFirstElement(const xml::Node& top, std::string_view name) {
    if (!top || top.Name() == name) {
        return top;
    }
    for (const xml::Node& child : top.Children()) {
        if (xml::Node found = FindFirstElement(child, name)) {
            return found;
        }
    }
    return {};
}
