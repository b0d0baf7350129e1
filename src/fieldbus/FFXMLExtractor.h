#pragma once

#include "fieldbus/ErrorInfo.h"
#include "xml/Xml.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// Reads one response document of the DTM by path. Paths select anywhere in the document,
// count positional indexes from 0 and match prefixed names as written. Failures are
// std::runtime_error: "CFFXMLExtractor::Contains" when asked without a document,
// "CFFH1XMLExtractor::GetNode" without a document or when a mandatory path selects nothing;
// attribute conversions fail with the texts of CFFConversions.
class CFFXMLExtractor {
public:
    virtual ~CFFXMLExtractor() = default;

    // Parses `responseText` into a new document; a text that does not parse leaves the reader
    // without one.
    void Load(std::string_view responseText);
    bool Contains(std::string_view path) const;
    // The first node the path selects, or a null node when it is not mandatory.
    xml::Node GetNode(std::string_view path, bool mandatory) const;

    // The text of what a mandatory path selects.
    std::string GetText(std::string_view path) const;
    // The text of what an optional path selects, or nothing.
    std::optional<std::string> FindText(std::string_view path) const;
    // An attribute written with or without its prefix: the prefixed path as optional, then
    // the plain path as mandatory.
    std::string GetText(std::string_view prefixedPath, std::string_view plainPath) const;

    // Calls `read` with the path of each element of an indexed list (`elementPath` followed
    // by "[i]") for i = 0, 1, ... while that path selects a node.
    void ReadList(std::string_view elementPath,
                  const std::function<void(const std::string& itemPath)>& read) const;
    // The same for exactly `count` elements, i = 0 to count - 1.
    void ReadList(std::string_view elementPath, std::uint32_t count,
                  const std::function<void(const std::string& itemPath)>& read) const;

    // The error description of a service error document.
    CErrorInfo GetErrorInfo() const;

private:
    static std::string ItemPath(std::string_view elementPath, std::uint32_t index);
    CEnumeratorEntry GetEnumeratorEntry(const std::string& entryPath) const;

    xml::Document m_document;
};
