#include "xml/Xml.h"

#include "xml/XmlDetail.h"
#include "xml/XmlParsing.h"
#include "xml/XmlPaths.h"

#include <libxml/xmlsave.h>
#include <libxml/xmlschemas.h>
#include <libxml/xpath.h>

#include <fstream>
#include <iterator>

namespace xml {

using namespace detail;

struct DocumentData {
    explicit DocumentData(OwnedDoc doc) : m_doc(std::move(doc)) {}

    OwnedDoc m_doc;
    // The XPath context of every path evaluated on this document: made by the first
    // evaluation and reused by the later ones. Declared after the document, so it goes first.
    XPathContext m_xpath;
};

namespace {

using XPathObject = Owned<xmlXPathObject, xmlXPathFreeObject>;

// The namespace of an element or attribute; other nodes have none.
const xmlNs* NamespaceOf(const xmlNode* node) {
    if (node->type == XML_ELEMENT_NODE) {
        return node->ns;
    }
    if (node->type == XML_ATTRIBUTE_NODE) {
        return reinterpret_cast<const xmlAttr*>(node)->ns;
    }
    return nullptr;
}

// The qualified name as written: "prefix:local", or "local" without a prefix.
std::string QualifiedName(const xmlChar* local, const xmlNs* ns) {
    std::string name;
    if (ns != nullptr && ns->prefix != nullptr) {
        name += View(ns->prefix);
        name += ':';
    }
    name += View(local);
    return name;
}

// Whether the qualified name as written is `qname`, compared without building it.
bool HasQualifiedName(const xmlChar* local, const xmlNs* ns, std::string_view qname) {
    if (local == nullptr) {
        return false;
    }
    if (ns != nullptr && ns->prefix != nullptr) {
        const std::string_view prefix = View(ns->prefix);
        if (qname.size() <= prefix.size() || !qname.starts_with(prefix) ||
            qname[prefix.size()] != ':') {
            return false;
        }
        qname.remove_prefix(prefix.size() + 1);
    }
    return View(local) == qname;
}

// An attribute's value. A value that is one piece of text is read directly; any other (one
// with entity references) is put together by libxml2, as xmlNodeGetContent does.
std::string AttributeText(const xmlAttr* attr) {
    const xmlNode* first = attr->children;
    if (first == nullptr) {
        return {};
    }
    if (first->next == nullptr &&
        (first->type == XML_TEXT_NODE || first->type == XML_CDATA_SECTION_NODE)) {
        return std::string(View(first->content));
    }
    const OwnedText content(xmlNodeGetContent(reinterpret_cast<const xmlNode*>(attr)));
    return std::string(View(content.get()));
}

// Text put into a document must be UTF-8 without NUL characters.
std::string CheckedText(std::string_view text) {
    std::string result(text);
    if (result.find('\0') != std::string::npos || xmlCheckUTF8(Chars(result)) == 0) {
        throw XmlError("text " + Quoted(text) + " is not UTF-8");
    }
    return result;
}

std::string CheckedName(std::string_view name) {
    std::string result(name);
    if (result.find('\0') != std::string::npos || xmlValidateQName(Chars(result), 0) != 0) {
        throw XmlError("invalid name " + Quoted(name));
    }
    return result;
}

xmlNode* Checked(const Node& node) {
    if (node.IsNull()) {
        throw XmlError("null node");
    }
    return static_cast<xmlNode*>(node.Raw());
}

xmlNode* CheckedElement(const Node& node) {
    xmlNode* element = Checked(node);
    if (element->type != XML_ELEMENT_NODE) {
        throw XmlError("node " + Quoted(node.Name()) + " is not an element");
    }
    return element;
}

xmlDoc* Checked(const std::shared_ptr<DocumentData>& doc) {
    if (doc == nullptr) {
        throw XmlError("null document");
    }
    return doc->m_doc.get();
}

// The nodes a simple path selects from an element or the document node, as XPath selects
// them: attributes in the element's order, element children in document order (text,
// comments and entity references are passed over). False when the context node is of
// another kind and XPath must answer.
bool SelectSimple(xmlNode* context, const SimplePath& path, bool firstOnly,
                  std::vector<xmlNode*>& nodes) {
    if (context->type != XML_ELEMENT_NODE && context->type != XML_DOCUMENT_NODE) {
        return false;
    }
    if (path.attribute) {
        if (context->type != XML_ELEMENT_NODE) {
            return true;
        }
        for (xmlAttr* attr = context->properties; attr != nullptr; attr = attr->next) {
            if (HasQualifiedName(attr->name, attr->ns, path.name)) {
                nodes.push_back(reinterpret_cast<xmlNode*>(attr));
                if (firstOnly) {
                    break;
                }
            }
        }
        return true;
    }
    for (xmlNode* child = context->children; child != nullptr; child = child->next) {
        if (child->type == XML_ELEMENT_NODE &&
            HasQualifiedName(child->name, child->ns, path.name)) {
            nodes.push_back(child);
            if (firstOnly) {
                break;
            }
        }
    }
    return true;
}

// The result of the compiled `path` evaluated from `context` (a node of `data`'s document or
// the document node), with the document's XPath context. Only its context node is set
// before each evaluation: libxml2 puts back everything else it changes while evaluating.
// What a failed evaluation leaves behind is not documented, so that context is dropped and
// the next evaluation makes a new one.
XPathObject EvaluateXPath(DocumentData& data, xmlNode* context, std::string_view path) {
    const CompiledPath& compiled = CompiledPathFor(path);
    const ErrorScope errors;
    if (data.m_xpath == nullptr) {
        data.m_xpath = NewXPathContext(data.m_doc.get());
    }
    if (xmlXPathSetContextNode(context, data.m_xpath.get()) != 0) {
        throw XmlError("cannot evaluate path " + Quoted(path) + ": node of another document");
    }
    XPathObject result(xmlXPathCompiledEval(compiled.expression.get(), data.m_xpath.get()));
    if (result == nullptr) {
        data.m_xpath.reset();
        throw XmlError("cannot evaluate path " + Quoted(path) + ": " + errors.Or("failed"));
    }
    return result;
}

// The nodes a path selects from `context` (an element, attribute or the document node of
// `data`); with `firstOnly`, at most the first of them.
std::vector<xmlNode*> Evaluate(DocumentData& data, xmlNode* context, std::string_view path,
                               bool firstOnly) {
    std::vector<xmlNode*> nodes;
    if (const std::optional<SimplePath> simple = AsSimplePath(path);
        simple && SelectSimple(context, *simple, firstOnly, nodes)) {
        return nodes;
    }
    const XPathObject result = EvaluateXPath(data, context, path);
    if (result->type != XPATH_NODESET) {
        throw XmlError("path " + Quoted(path) + " does not select nodes");
    }
    if (const xmlNodeSet* set = result->nodesetval) {
        for (int k = 0; k < set->nodeNr; ++k) {
            // Namespace entries are copies owned by the result, not nodes of the document.
            if (set->nodeTab[k]->type != XML_NAMESPACE_DECL) {
                nodes.push_back(set->nodeTab[k]);
                if (firstOnly) {
                    break;
                }
            }
        }
    }
    return nodes;
}

} // namespace

std::string Escape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// --- Node ---

std::string Node::Name() const {
    const xmlNode* node = Checked(*this);
    if (node->name == nullptr) {
        return {};
    }
    return QualifiedName(node->name, NamespaceOf(node));
}

std::string Node::Text() const {
    const xmlNode* node = Checked(*this);
    if (node->type == XML_ATTRIBUTE_NODE) {
        return AttributeText(reinterpret_cast<const xmlAttr*>(node));
    }
    const OwnedText content(xmlNodeGetContent(node));
    return std::string(View(content.get()));
}

Node Node::SelectSingle(std::string_view path) const {
    xmlNode* context = Checked(*this);
    const std::vector<xmlNode*> nodes = Evaluate(*m_doc, context, path, true);
    return nodes.empty() ? Node() : Node(m_doc, nodes.front());
}

std::vector<Node> Node::SelectAll(std::string_view path) const {
    xmlNode* context = Checked(*this);
    std::vector<Node> nodes;
    for (xmlNode* node : Evaluate(*m_doc, context, path, false)) {
        nodes.push_back(Node(m_doc, node));
    }
    return nodes;
}

std::string Node::Attribute(std::string_view path, std::string_view absent) const {
    return FindAttribute(path).value_or(std::string(absent));
}

std::optional<std::string> Node::FindAttribute(std::string_view path) const {
    xmlNode* context = Checked(*this);
    const std::vector<xmlNode*> nodes = Evaluate(*m_doc, context, path, true);
    if (nodes.empty()) {
        return std::nullopt;
    }
    return Node(m_doc, nodes.front()).Text();
}

std::vector<Node> Node::Children() const {
    std::vector<Node> children;
    for (xmlNode* child = xmlFirstElementChild(Checked(*this)); child != nullptr;
         child = xmlNextElementSibling(child)) {
        children.push_back(Node(m_doc, child));
    }
    return children;
}

std::vector<Node> Node::Children(std::string_view name) const {
    std::vector<Node> children;
    for (xmlNode* child = xmlFirstElementChild(Checked(*this)); child != nullptr;
         child = xmlNextElementSibling(child)) {
        if (HasQualifiedName(child->name, child->ns, name)) {
            children.push_back(Node(m_doc, child));
        }
    }
    return children;
}

Node Node::FirstChildElement(std::string_view name) const {
    for (xmlNode* child = xmlFirstElementChild(Checked(*this)); child != nullptr;
         child = xmlNextElementSibling(child)) {
        if (HasQualifiedName(child->name, child->ns, name)) {
            return Node(m_doc, child);
        }
    }
    return {};
}

std::vector<std::pair<std::string, std::string>> Node::Attributes() const {
    const xmlNode* node = Checked(*this);
    std::vector<std::pair<std::string, std::string>> attributes;
    if (node->type != XML_ELEMENT_NODE) {
        return attributes;
    }
    size_t count = 0;
    for (const xmlAttr* attr = node->properties; attr != nullptr; attr = attr->next) {
        ++count;
    }
    attributes.reserve(count);
    for (const xmlAttr* attr = node->properties; attr != nullptr; attr = attr->next) {
        attributes.emplace_back(QualifiedName(attr->name, attr->ns), AttributeText(attr));
    }
    return attributes;
}

Node Node::AppendChild(std::string_view name) const {
    xmlNode* parent = CheckedElement(*this);
    xmlNode* child = xmlNewDocNode(m_doc->m_doc.get(), nullptr, Chars(CheckedName(name)), nullptr);
    if (child == nullptr || xmlAddChild(parent, child) == nullptr) {
        throw XmlError("cannot append " + Quoted(name));
    }
    return Node(m_doc, child);
}

void Node::SetAttribute(std::string_view name, std::string_view value) const {
    xmlNode* element = CheckedElement(*this);
    if (xmlSetProp(element, Chars(CheckedName(name)), Chars(CheckedText(value))) == nullptr) {
        throw XmlError("cannot set attribute " + Quoted(name));
    }
}

void Node::SetText(std::string_view text) const {
    xmlNode* element = CheckedElement(*this);
    const std::string checked = CheckedText(text);
    xmlNodeSetContent(element, nullptr);
    xmlNodeAddContentLen(element, Chars(checked), CheckedSize(checked));
}

std::string Node::ToString() const {
    xmlNode* node = Checked(*this);
    const Owned<xmlBuffer, xmlBufferFree> buffer(xmlBufferCreate());
    xmlSaveCtxt* save = buffer ? xmlSaveToBuffer(buffer.get(), "UTF-8", 0) : nullptr;
    if (save == nullptr) {
        throw XmlError("cannot serialise " + Quoted(Name()));
    }
    // Like libxml2's own document output: attribute values are written as UTF-8 only when
    // the document names that encoding, otherwise as character references.
    const xmlChar* encoding = node->doc->encoding;
    node->doc->encoding = BAD_CAST "UTF-8";
    const long written = xmlSaveTree(save, node);
    xmlSaveClose(save);
    node->doc->encoding = encoding;
    if (written < 0) {
        throw XmlError("cannot serialise " + Quoted(Name()));
    }
    return {reinterpret_cast<const char*>(xmlBufferContent(buffer.get())),
            static_cast<size_t>(xmlBufferLength(buffer.get()))};
}

// --- Document ---

Document Document::Parse(std::string_view text) {
    Document document;
    document.m_doc = std::make_shared<DocumentData>(ReadDocument(text, "no document"));
    return document;
}

Document Document::TryParse(std::string_view text, std::string* error) {
    try {
        return Parse(text);
    } catch (const XmlError& e) {
        if (error != nullptr) {
            *error = e.what();
        }
        return {};
    }
}

Document Document::ParseFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::string text;
    try {
        // Reading a folder fails inside the stream buffer, which raises its own error.
        text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    } catch (const std::ios_base::failure&) {
        throw XmlError("cannot read file " + Quoted(path));
    }
    if (!file.is_open() || file.bad()) {
        throw XmlError("cannot read file " + Quoted(path));
    }
    Document document;
    document.m_doc =
        std::make_shared<DocumentData>(ReadDocument(text, "no document in " + Quoted(path)));
    return document;
}

Document Document::Create(std::string_view rootName) {
    InitLibrary();
    const std::string name = CheckedName(rootName);
    Document document;
    document.m_doc = std::make_shared<DocumentData>(OwnedDoc(xmlNewDoc(BAD_CAST "1.0")));
    xmlDoc* doc = document.m_doc->m_doc.get();
    xmlNode* root = doc != nullptr ? xmlNewDocNode(doc, nullptr, Chars(name), nullptr) : nullptr;
    if (root == nullptr) {
        throw XmlError("cannot create document " + Quoted(rootName));
    }
    xmlDocSetRootElement(doc, root);
    return document;
}

Node Document::Root() const {
    xmlNode* root = xmlDocGetRootElement(Checked(m_doc));
    return root != nullptr ? Node(m_doc, root) : Node();
}

// Document-level selection starts at the document node, so "r/a" is read from the top.
Node Document::SelectSingle(std::string_view path) const {
    return Node(m_doc, Checked(m_doc)).SelectSingle(path);
}

std::vector<Node> Document::SelectAll(std::string_view path) const {
    return Node(m_doc, Checked(m_doc)).SelectAll(path);
}

std::string Document::Attribute(std::string_view path, std::string_view absent) const {
    return Node(m_doc, Checked(m_doc)).Attribute(path, absent);
}

std::optional<std::string> Document::FindAttribute(std::string_view path) const {
    return Node(m_doc, Checked(m_doc)).FindAttribute(path);
}

std::string Document::ToString() const {
    xmlChar* text = nullptr;
    int size = 0;
    xmlDocDumpMemoryEnc(Checked(m_doc), &text, &size, "UTF-8");
    const OwnedText owned(text);
    if (owned == nullptr) {
        throw XmlError("cannot serialise the document");
    }
    return {reinterpret_cast<const char*>(owned.get()), static_cast<size_t>(size)};
}

// --- Schema ---

struct Schema::Data {
    Data(std::shared_ptr<DocumentData> doc, xmlSchema* schema)
        : m_doc(std::move(doc)), m_schema(schema) {}
    ~Data() { xmlSchemaFree(m_schema); }
    Data(const Data&) = delete;
    Data& operator=(const Data&) = delete;

    std::shared_ptr<DocumentData> m_doc; // the schema refers to its document's nodes
    xmlSchema* m_schema;
};

// The schema text is read like any document, so it gets the same safe options.
Schema Schema::Parse(std::string_view xsdText) {
    auto doc = std::make_shared<DocumentData>(ReadDocument(xsdText, "invalid schema"));
    const ErrorScope errors;
    const Owned<xmlSchemaParserCtxt, xmlSchemaFreeParserCtxt> ctxt(
        xmlSchemaNewDocParserCtxt(doc->m_doc.get()));
    if (ctxt == nullptr) {
        throw XmlError("invalid schema: out of memory");
    }
    xmlSchema* parsed = xmlSchemaParse(ctxt.get());
    if (parsed == nullptr) {
        throw XmlError("invalid schema: " + errors.Or("does not parse"));
    }
    Schema schema;
    schema.m_data = std::make_shared<Data>(std::move(doc), parsed);
    return schema;
}

bool Schema::Validate(const Document& doc, std::string* error) const {
    if (m_data == nullptr) {
        throw XmlError("null schema");
    }
    const auto fail = [error](std::string message) {
        if (error != nullptr) {
            *error = std::move(message);
        }
        return false;
    };
    if (doc.IsNull() || doc.Root().IsNull()) {
        return fail("no document");
    }
    const ErrorScope errors;
    const Owned<xmlSchemaValidCtxt, xmlSchemaFreeValidCtxt> ctxt(
        xmlSchemaNewValidCtxt(m_data->m_schema));
    if (ctxt == nullptr) {
        return fail("out of memory");
    }
    const int result = xmlSchemaValidateDoc(ctxt.get(), Checked(doc.Root())->doc);
    return result == 0 || fail(errors.Or("the document is not valid"));
}

} // namespace xml
