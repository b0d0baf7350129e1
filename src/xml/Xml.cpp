#include "xml/Xml.h"

#include <libxml/parser.h>
#include <libxml/xmlsave.h>
#include <libxml/xmlschemas.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include <algorithm>
#include <climits>
#include <fstream>
#include <iterator>
#include <mutex>
#include <unordered_map>

namespace xml {

struct DocumentData {
    explicit DocumentData(xmlDoc* doc) : m_doc(doc) {}
    ~DocumentData() { xmlFreeDoc(m_doc); }
    DocumentData(const DocumentData&) = delete;
    DocumentData& operator=(const DocumentData&) = delete;

    xmlDoc* m_doc;
};

namespace {

// No resource is ever loaded because of a document's content: external entities, external
// DTD subsets, schema imports and includes all end here.
xmlParserInputPtr RefuseExternal(const char*, const char*, xmlParserCtxtPtr) {
    return nullptr;
}

void Init() {
    [[maybe_unused]] static const bool done = [] {
        xmlInitParser();
        xmlSetExternalEntityLoader(RefuseExternal);
        return true;
    }();
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// While it lives, what libxml2 reports on this thread is collected instead of printed: the
// first of the most severe structured errors is kept, bare text messages are dropped.
class ErrorScope {
public:
    ErrorScope()
        : m_savedStructured(xmlStructuredError), m_savedStructuredData(xmlStructuredErrorContext),
          m_savedGeneric(xmlGenericError), m_savedGenericData(xmlGenericErrorContext) {
        xmlSetStructuredErrorFunc(this, Collect);
        xmlSetGenericErrorFunc(nullptr, Ignore);
    }
    ~ErrorScope() {
        xmlSetStructuredErrorFunc(m_savedStructuredData, m_savedStructured);
        xmlSetGenericErrorFunc(m_savedGenericData, m_savedGeneric);
    }
    ErrorScope(const ErrorScope&) = delete;
    ErrorScope& operator=(const ErrorScope&) = delete;

    std::string Or(const char* fallback) const { return m_message.empty() ? fallback : m_message; }

private:
    static void Collect(void* data, xmlErrorPtr error) {
        auto* self = static_cast<ErrorScope*>(data);
        if (error == nullptr || error->level <= self->m_level)
            return;
        self->m_level = error->level;
        self->m_message = error->message != nullptr ? error->message : "";
        while (!self->m_message.empty() && IsSpace(self->m_message.back()))
            self->m_message.pop_back();
    }
    static void Ignore(void*, const char*, ...) {}

    xmlStructuredErrorFunc m_savedStructured;
    void* m_savedStructuredData;
    xmlGenericErrorFunc m_savedGeneric;
    void* m_savedGenericData;
    int m_level = XML_ERR_NONE;
    std::string m_message;
};

template <typename T, void (*Free)(T*)> struct Deleter {
    void operator()(T* p) const { Free(p); }
};
template <typename T, void (*Free)(T*)> using Owned = std::unique_ptr<T, Deleter<T, Free>>;

using ParserContext = Owned<xmlParserCtxt, xmlFreeParserCtxt>;
using XPathContext = Owned<xmlXPathContext, xmlXPathFreeContext>;
using XPathExpression = Owned<xmlXPathCompExpr, xmlXPathFreeCompExpr>;
using XPathObject = Owned<xmlXPathObject, xmlXPathFreeObject>;

void FreeText(xmlChar* text) {
    xmlFree(text);
}
using OwnedText = Owned<xmlChar, FreeText>;

const xmlChar* Chars(const std::string& text) {
    return reinterpret_cast<const xmlChar*>(text.c_str());
}

std::string Quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

int CheckedSize(std::string_view text) {
    if (text.size() > INT_MAX)
        throw XmlError("text of " + std::to_string(text.size()) + " bytes is too large");
    return static_cast<int>(text.size());
}

// Text put into a document must be UTF-8 without NUL characters.
std::string CheckedText(std::string_view text) {
    std::string result(text);
    if (result.find('\0') != std::string::npos || xmlCheckUTF8(Chars(result)) == 0)
        throw XmlError("text " + Quoted(text) + " is not UTF-8");
    return result;
}

std::string CheckedName(std::string_view name) {
    std::string result(name);
    if (result.find('\0') != std::string::npos || xmlValidateQName(Chars(result), 0) != 0)
        throw XmlError("invalid name " + Quoted(name));
    return result;
}

xmlNode* Checked(const Node& node) {
    if (node.IsNull())
        throw XmlError("null node");
    return static_cast<xmlNode*>(node.Raw());
}

xmlNode* CheckedElement(const Node& node) {
    xmlNode* element = Checked(node);
    if (element->type != XML_ELEMENT_NODE)
        throw XmlError("node " + Quoted(node.Name()) + " is not an element");
    return element;
}

xmlDoc* Checked(const std::shared_ptr<DocumentData>& doc) {
    if (doc == nullptr)
        throw XmlError("null document");
    return doc->m_doc;
}

// libxml2 keeps entity references in the tree and expands them whenever text is read, so a
// small document that refers many times to a large entity would read as gigabytes. This
// counts the text that all references expand to, each entity's size worked out once.
class EntityMeter {
public:
    static constexpr size_t limit = size_t(4) << 20;

    explicit EntityMeter(xmlDoc* doc) : m_doc(doc) {}

    // The text the references in `list` expand to; any amount above the limit counts as
    // just above it. Text outside entities counts when `countText` is set.
    size_t Measure(const xmlNode* list, bool countText) {
        size_t total = 0;
        const auto add = [&total](size_t size) { total = std::min(total + size, limit + 1); };
        for (const xmlNode* node = list; node != nullptr; node = node->next) {
            if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
                add(countText ? xmlStrlen(node->content) : 0);
            } else if (node->type == XML_ENTITY_REF_NODE) {
                add(Entity(xmlGetDocEntity(m_doc, node->name)));
            } else if (node->type == XML_ELEMENT_NODE) {
                add(Measure(node->children, countText));
                for (const xmlAttr* attr = node->properties; attr != nullptr; attr = attr->next)
                    add(Measure(attr->children, countText));
            }
        }
        return total;
    }

private:
    size_t Entity(const xmlEntity* entity) {
        if (entity == nullptr)
            return 0;
        const auto [it, added] = m_sizes.emplace(entity, limit + 1); // a loop is too much
        if (added)
            it->second = Measure(entity->children, true);
        return it->second;
    }

    xmlDoc* m_doc;
    std::unordered_map<const xmlEntity*, size_t> m_sizes;
};

// Parses with the safe options; a failure is "<failure>: <what libxml2 said>".
std::shared_ptr<DocumentData> Read(std::string_view text, const std::string& failure) {
    Init();
    const ErrorScope errors;
    const ParserContext ctxt(xmlNewParserCtxt());
    if (ctxt == nullptr)
        throw XmlError(failure + ": out of memory");
    const int size = CheckedSize(text);
    xmlDoc* doc = xmlCtxtReadMemory(ctxt.get(), text.data(), size, nullptr, nullptr,
                                    XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (doc == nullptr)
        throw XmlError(failure + ": " + errors.Or("the text is empty"));
    auto data = std::make_shared<DocumentData>(doc);
    if (doc->intSubset != nullptr && doc->intSubset->entities != nullptr &&
        EntityMeter(doc).Measure(doc->children, false) > EntityMeter::limit)
        throw XmlError(failure + ": entity references expand to too much text");
    return data;
}

// --- Paths ---

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
    return "1" + result;
}

// A name test as written ("fms:Item", "index", "fdt:*") becomes a comparison of the
// qualified name, so that the prefix matches whatever namespace it is bound to.
std::string NameTest(std::string_view qname) {
    if (qname.ends_with(":*"))
        return "*[starts-with(name(),'" + std::string(qname.substr(0, qname.size() - 1)) + "')]";
    return "*[name()='" + std::string(qname) + "']";
}

// Walks the path token by token, as XPath 1.0 tells them apart: a name is an operator
// (and, or, div, mod) where an operator is due, a function or node type when "(" follows,
// an axis when "::" follows, and otherwise a name test. Everything else is copied as is.
std::string Translate(std::string_view in) {
    const size_t n = in.size();
    auto skipSpace = [&](size_t i) {
        while (i < n && IsSpace(in[i]))
            ++i;
        return i;
    };
    auto skipName = [&](size_t i) {
        while (i < n && IsNameChar(in[i]))
            ++i;
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
            while (last < n && IsDigit(in[last]))
                ++last;
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
            if (end + 1 < n && in[end] == ':' && (in[end + 1] == '*' || IsNameStart(in[end + 1])))
                end = in[end + 1] == '*' ? end + 2 : skipName(end + 1);
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
            while (end < n && (IsNameChar(in[end]) || in[end] == ':'))
                ++end;
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

XPathExpression Compile(xmlXPathContext* ctxt, std::string_view path, const std::string& xpath,
                        const ErrorScope& errors) {
    XPathExpression expression(xmlXPathCtxtCompile(ctxt, Chars(xpath)));
    if (expression == nullptr)
        throw XmlError("invalid path " + Quoted(path) + ": " + errors.Or("does not compile"));
    return expression;
}

XPathContext NewXPathContext(xmlDoc* doc) {
    XPathContext ctxt(xmlXPathNewContext(doc));
    if (ctxt == nullptr)
        throw XmlError("out of memory");
    return ctxt;
}

// The nodes a path selects from `context` (an element, attribute or the document node).
std::vector<xmlNode*> Evaluate(xmlNode* context, std::string_view path) {
    const std::string xpath = TranslatePath(path);
    const ErrorScope errors;
    const XPathContext ctxt = NewXPathContext(context->doc);
    ctxt->node = context;
    const XPathExpression expression = Compile(ctxt.get(), path, xpath, errors);
    const XPathObject result(xmlXPathCompiledEval(expression.get(), ctxt.get()));
    if (result == nullptr)
        throw XmlError("cannot evaluate path " + Quoted(path) + ": " + errors.Or("failed"));
    if (result->type != XPATH_NODESET)
        throw XmlError("path " + Quoted(path) + " does not select nodes");
    std::vector<xmlNode*> nodes;
    if (const xmlNodeSet* set = result->nodesetval) {
        for (int k = 0; k < set->nodeNr; ++k) {
            // Namespace entries are copies owned by the result, not nodes of the document.
            if (set->nodeTab[k]->type != XML_NAMESPACE_DECL)
                nodes.push_back(set->nodeTab[k]);
        }
    }
    return nodes;
}

} // namespace

std::string TranslatePath(std::string_view path) {
    static std::mutex mutex;
    static std::unordered_map<std::string, std::string> cache;
    constexpr size_t maxCached = 4096; // paths come from code; this only bounds odd callers
    if (path.find('\0') != std::string_view::npos)
        throw XmlError("invalid path " + Quoted(path) + ": contains a NUL character");
    const std::string key(path);
    {
        const std::lock_guard lock(mutex);
        if (const auto it = cache.find(key); it != cache.end())
            return it->second;
    }
    Init();
    std::string xpath = Translate(path);
    const ErrorScope errors;
    Compile(NewXPathContext(nullptr).get(), path, xpath, errors);
    const std::lock_guard lock(mutex);
    if (cache.size() >= maxCached)
        cache.clear();
    cache.emplace(key, xpath);
    return xpath;
}

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

std::string XPathLiteral(std::string_view text) {
    if (text.find('\'') == std::string_view::npos)
        return "'" + std::string(text) + "'";
    if (text.find('"') == std::string_view::npos)
        return '"' + std::string(text) + '"';
    // XPath 1.0 has no escapes: runs of apostrophes go between quotation marks, the rest
    // between apostrophes.
    std::string out = "concat(";
    for (size_t start = 0; start < text.size();) {
        const bool apostrophes = text[start] == '\'';
        const size_t end =
            std::min(apostrophes ? text.find_first_not_of('\'', start) : text.find('\'', start),
                     text.size());
        const char quote = apostrophes ? '"' : '\'';
        out += quote + std::string(text.substr(start, end - start)) + quote + ',';
        start = end;
    }
    out.back() = ')';
    return out;
}

// --- Node ---

std::string Node::Name() const {
    const xmlNode* node = Checked(*this);
    if (node->name == nullptr)
        return {};
    const xmlNs* ns = node->type == XML_ELEMENT_NODE     ? node->ns
                      : node->type == XML_ATTRIBUTE_NODE ? static_cast<const xmlAttr*>(m_node)->ns
                                                         : nullptr;
    const std::string local(reinterpret_cast<const char*>(node->name));
    if (ns == nullptr || ns->prefix == nullptr)
        return local;
    return reinterpret_cast<const char*>(ns->prefix) + (":" + local);
}

std::string Node::Text() const {
    const OwnedText content(xmlNodeGetContent(Checked(*this)));
    return content != nullptr ? reinterpret_cast<const char*>(content.get()) : "";
}

Node Node::SelectSingle(std::string_view path) const {
    const std::vector<Node> nodes = SelectAll(path);
    return nodes.empty() ? Node() : nodes.front();
}

std::vector<Node> Node::SelectAll(std::string_view path) const {
    std::vector<Node> nodes;
    for (xmlNode* node : Evaluate(Checked(*this), path))
        nodes.push_back(Node(m_doc, node));
    return nodes;
}

std::string Node::Attribute(std::string_view path, std::string_view absent) const {
    return FindAttribute(path).value_or(std::string(absent));
}

std::optional<std::string> Node::FindAttribute(std::string_view path) const {
    const Node node = SelectSingle(path);
    return node ? std::optional(node.Text()) : std::nullopt;
}

std::vector<Node> Node::Children() const {
    std::vector<Node> children;
    for (xmlNode* child = xmlFirstElementChild(Checked(*this)); child != nullptr;
         child = xmlNextElementSibling(child))
        children.push_back(Node(m_doc, child));
    return children;
}

Node Node::AppendChild(std::string_view name) const {
    xmlNode* parent = CheckedElement(*this);
    xmlNode* child = xmlNewDocNode(m_doc->m_doc, nullptr, Chars(CheckedName(name)), nullptr);
    if (child == nullptr || xmlAddChild(parent, child) == nullptr)
        throw XmlError("cannot append " + Quoted(name));
    return Node(m_doc, child);
}

void Node::SetAttribute(std::string_view name, std::string_view value) const {
    xmlNode* element = CheckedElement(*this);
    if (xmlSetProp(element, Chars(CheckedName(name)), Chars(CheckedText(value))) == nullptr)
        throw XmlError("cannot set attribute " + Quoted(name));
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
    if (save == nullptr)
        throw XmlError("cannot serialise " + Quoted(Name()));
    // Like libxml2's own document output: attribute values are written as UTF-8 only when
    // the document names that encoding, otherwise as character references.
    const xmlChar* encoding = node->doc->encoding;
    node->doc->encoding = BAD_CAST "UTF-8";
    const long written = xmlSaveTree(save, node);
    xmlSaveClose(save);
    node->doc->encoding = encoding;
    if (written < 0)
        throw XmlError("cannot serialise " + Quoted(Name()));
    return {reinterpret_cast<const char*>(xmlBufferContent(buffer.get())),
            static_cast<size_t>(xmlBufferLength(buffer.get()))};
}

// --- Document ---

Document Document::Parse(std::string_view text) {
    Document document;
    document.m_doc = Read(text, "no document");
    return document;
}

Document Document::TryParse(std::string_view text, std::string* error) {
    try {
        return Parse(text);
    } catch (const XmlError& e) {
        if (error != nullptr)
            *error = e.what();
        return {};
    }
}

Document Document::ParseFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (!file.is_open() || file.bad())
        throw XmlError("cannot read file " + Quoted(path));
    Document document;
    document.m_doc = Read(text, "no document in " + Quoted(path));
    return document;
}

Document Document::Create(std::string_view rootName) {
    Init();
    const std::string name = CheckedName(rootName);
    Document document;
    document.m_doc = std::make_shared<DocumentData>(xmlNewDoc(BAD_CAST "1.0"));
    xmlDoc* doc = document.m_doc->m_doc;
    xmlNode* root = doc != nullptr ? xmlNewDocNode(doc, nullptr, Chars(name), nullptr) : nullptr;
    if (root == nullptr)
        throw XmlError("cannot create document " + Quoted(rootName));
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
    if (owned == nullptr)
        throw XmlError("cannot serialise the document");
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
    std::shared_ptr<DocumentData> doc = Read(xsdText, "invalid schema");
    const ErrorScope errors;
    const Owned<xmlSchemaParserCtxt, xmlSchemaFreeParserCtxt> ctxt(
        xmlSchemaNewDocParserCtxt(doc->m_doc));
    if (ctxt == nullptr)
        throw XmlError("invalid schema: out of memory");
    xmlSchema* parsed = xmlSchemaParse(ctxt.get());
    if (parsed == nullptr)
        throw XmlError("invalid schema: " + errors.Or("does not parse"));
    Schema schema;
    schema.m_data = std::make_shared<Data>(std::move(doc), parsed);
    return schema;
}

bool Schema::Validate(const Document& doc, std::string* error) const {
    if (m_data == nullptr)
        throw XmlError("null schema");
    const auto fail = [error](std::string message) {
        if (error != nullptr)
            *error = std::move(message);
        return false;
    };
    if (doc.IsNull() || doc.Root().IsNull())
        return fail("no document");
    const ErrorScope errors;
    const Owned<xmlSchemaValidCtxt, xmlSchemaFreeValidCtxt> ctxt(
        xmlSchemaNewValidCtxt(m_data->m_schema));
    if (ctxt == nullptr)
        return fail("out of memory");
    const int result = xmlSchemaValidateDoc(ctxt.get(), Checked(doc.Root())->doc);
    return result == 0 || fail(errors.Or("the document is not valid"));
}

} // namespace xml
