#pragma once

// The one wrapper around libxml2. Documents are parsed without touching the network and
// without loading external entities or DTDs. Paths are written the way the system's
// documents are described: positional indexes count from 0 ("[0]" is the first match), and
// a prefixed name ("fms:ErrorDescription", "@fdt:index") matches the element or attribute
// whose qualified name is written that way in the document, whatever namespace the prefix
// is bound to. A plain name also matches elements of a default namespace. Each path is
// translated to XPath 1.0 and compiled once; the compiled path is cached and reused for every
// later evaluation. The simplest relative paths, "@name", "@pfx:name", a child element's name
// and the same behind "./", are answered by walking the element without XPath, with the same
// result.
//
// Single-threaded by contract: the wrapper is used from the UI thread only. The cache of
// compiled paths and each document's XPath context are kept without locks.

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace xml {

// Every failure of the wrapper: the text names what was wrong (the path, "no document", ...).
class XmlError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct DocumentData; // owns the libxml2 document

// A handle to one node (element, attribute or text) of a document. It keeps its document
// alive, so a node never dangles. A default-constructed node is null.
class Node {
public:
    Node() = default;

    bool IsNull() const { return m_node == nullptr; }
    explicit operator bool() const { return m_node != nullptr; }

    // The qualified name as written in the document ("fms:ErrorDescription", "index").
    std::string Name() const;
    // The text content (for an attribute: its value).
    std::string Text() const;

    // First node / all nodes selected by a path relative to this node.
    Node SelectSingle(std::string_view path) const;
    std::vector<Node> SelectAll(std::string_view path) const;

    // The text of the first node selected by a relative path ("@x", "Item/@value"), or
    // `absent` when nothing is selected.
    std::string Attribute(std::string_view path, std::string_view absent = {}) const;
    std::optional<std::string> FindAttribute(std::string_view path) const;

    // Element children in document order.
    std::vector<Node> Children() const;
    // The element children whose qualified name is `name` as written, in document order; the
    // first of them, or a null node when there is none.
    std::vector<Node> Children(std::string_view name) const;
    Node FirstChildElement(std::string_view name) const;

    // Every attribute of this element as (qualified name as written, value), in document
    // order; none for a node that is not an element. Values are read as Text() reads them.
    std::vector<std::pair<std::string, std::string>> Attributes() const;

    // Building documents (elements only).
    Node AppendChild(std::string_view name) const;
    void SetAttribute(std::string_view name, std::string_view value) const;
    void SetText(std::string_view text) const;

    // Serialises this element and its subtree.
    std::string ToString() const;

    void* Raw() const { return m_node; } // the xmlNode, for the wrapper's own use

private:
    friend class Document;
    Node(std::shared_ptr<DocumentData> doc, void* node) : m_doc(std::move(doc)), m_node(node) {}
    std::shared_ptr<DocumentData> m_doc;
    void* m_node = nullptr;
};

class Document {
public:
    Document() = default; // a null document

    // Throws XmlError("no document: ...") for an empty or malformed text.
    static Document Parse(std::string_view text);
    // As Parse, but answers a null document and puts the reason into `error`.
    static Document TryParse(std::string_view text, std::string* error = nullptr);
    static Document ParseFile(const std::string& path);
    // A new document with one empty root element.
    static Document Create(std::string_view rootName);

    bool IsNull() const { return m_doc == nullptr; }
    explicit operator bool() const { return m_doc != nullptr; }

    Node Root() const;
    Node SelectSingle(std::string_view path) const;
    std::vector<Node> SelectAll(std::string_view path) const;
    std::string Attribute(std::string_view path, std::string_view absent = {}) const;
    std::optional<std::string> FindAttribute(std::string_view path) const;

    // The whole document as text, with an XML declaration.
    std::string ToString() const;

private:
    std::shared_ptr<DocumentData> m_doc;
};

// An XSD schema, parsed once and used to validate documents.
class Schema {
public:
    // Throws XmlError when the schema text does not parse.
    static Schema Parse(std::string_view xsdText);
    // True when the document is valid; otherwise false and the first error in `error`.
    bool Validate(const Document& doc, std::string* error = nullptr) const;

private:
    struct Data;
    std::shared_ptr<Data> m_data;
};

// Translates a path written with 0-based indexes and qualified names into XPath 1.0.
// Throws XmlError naming the path when it does not compile. Cached, with the compiled
// expression, per path text.
std::string TranslatePath(std::string_view path);

// Escapes ' " & < > for use inside an attribute value or text of a document built as text.
std::string Escape(std::string_view text);

// The text as an XPath string literal, for building a path from a value: in apostrophes, or
// in quotation marks when it contains an apostrophe, or as concat(...) when it contains both.
std::string XPathLiteral(std::string_view text);

} // namespace xml
