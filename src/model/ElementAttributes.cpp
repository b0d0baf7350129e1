#include "model/ElementAttributes.h"

#include "xml/Xml.h"

CElementAttributes::CElementAttributes(const xml::Node& element) {
    if (!element) {
        return;
    }
    m_attributes = element.Attributes();
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
    if (!parent) {
        return result;
    }
    for (const xml::Node& element : parent.Children(child)) {
        result.emplace_back(element);
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
