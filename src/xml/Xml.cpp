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
    ~DocumentData() {
        if (m_xpath != nullptr)
            xmlXPathFreeContext(m_xpath);
        xmlFreeDoc(m_doc);
    }
    DocumentData(const DocumentData&) = delete;
    DocumentData& operator=(const DocumentData&) = delete;

    xmlDoc* m_doc;
    // The XPath context for paths evaluated on this document: made by the first evaluation
    // and reused by every later one that finds it free (one that does not makes its own).
    std::mutex m_xpathMutex;
    xmlXPathContext* m_xpath = nullptr;
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

std::string_view View(const xmlChar* text) {
    return text != nullptr ? std::string_view(reinterpret_cast<const char*>(text))
                           : std::string_view();
}

// The text between two `quote` characters. It is appended to a reserved string, as adding a
// string to a literal makes GCC 12 report an overlapping copy that cannot happen (-O3).
std::string Enclosed(std::string_view text, char quote) {
    std::string out;
    out.reserve(text.size() + 2);
    out += quote;
    out += text;
    out += quote;
    return out;
}

std::string Quoted(std::string_view text) {
    return Enclosed(text, '\'');
}

// The namespace of an element or attribute; other nodes have none.
const xmlNs* NamespaceOf(const xmlNode* node) {
    if (node->type == XML_ELEMENT_NODE)
        return node->ns;
    if (node->type == XML_ATTRIBUTE_NODE)
        return reinterpret_cast<const xmlAttr*>(node)->ns;
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
    if (local == nullptr)
        return false;
    if (ns != nullptr && ns->prefix != nullptr) {
        const std::string_view prefix = View(ns->prefix);
        if (qname.size() <= prefix.size() || !qname.starts_with(prefix) ||
            qname[prefix.size()] != ':')
            return false;
        qname.remove_prefix(prefix.size() + 1);
    }
    return View(local) == qname;
}

// An attribute's value. A value that is one piece of text is read directly; any other (one
// with entity references) is put together by libxml2, as xmlNodeGetContent does.
std::string AttributeText(const xmlAttr* attr) {
    const xmlNode* first = attr->children;
    if (first == nullptr)
        return {};
    if (first->next == nullptr &&
        (first->type == XML_TEXT_NODE || first->type == XML_CDATA_SECTION_NODE))
        return std::string(View(first->content));
    const OwnedText content(xmlNodeGetContent(reinterpret_cast<const xmlNode*>(attr)));
    return std::string(View(content.get()));
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

XPathContext NewXPathContext(xmlDoc* doc) {
    XPathContext ctxt(xmlXPathNewContext(doc));
    if (ctxt == nullptr)
        throw XmlError("out of memory");
    return ctxt;
}

// A path translated and compiled once, for any number of evaluations on any document. The
// compiled expression is made with a context that has no document or dictionary, so it
// refers to nothing but itself. libxml2 writes into it while evaluating (it remembers where
// each function was found), so evaluations of one path take turns on `evaluating`.
struct CompiledPath {
    std::string xpath;
    XPathExpression expression;
    std::mutex evaluating;
};

struct PathHash {
    using is_transparent = void;
    size_t operator()(std::string_view path) const { return std::hash<std::string_view>()(path); }
};

// The compiled form of `path`, from the cache or compiled now. Throws XmlError naming the
// path when it does not compile; such paths are not cached.
std::shared_ptr<CompiledPath> CompiledPathFor(std::string_view path) {
    static std::mutex mutex;
    static std::unordered_map<std::string, std::shared_ptr<CompiledPath>, PathHash, std::equal_to<>>
        cache;
    // Paths come from code; this only bounds odd callers (a path built from each value).
    constexpr size_t maxCached = 4096;
    if (path.find('\0') != std::string_view::npos)
        throw XmlError("invalid path " + Quoted(path) + ": contains a NUL character");
    {
        const std::lock_guard lock(mutex);
        if (const auto it = cache.find(path); it != cache.end())
            return it->second;
    }
    Init();
    auto compiled = std::make_shared<CompiledPath>();
    compiled->xpath = Translate(path);
    {
        const ErrorScope errors;
        const XPathContext ctxt = NewXPathContext(nullptr);
        compiled->expression.reset(xmlXPathCtxtCompile(ctxt.get(), Chars(compiled->xpath)));
        if (compiled->expression == nullptr)
            throw XmlError("invalid path " + Quoted(path) + ": " + errors.Or("does not compile"));
    }
    const std::lock_guard lock(mutex);
    if (cache.size() >= maxCached)
        cache.clear();
    // When another thread has just compiled the same path, its entry stays; both are equal.
    return cache.emplace(std::string(path), std::move(compiled)).first->second;
}

// A path simple enough to be answered by walking the tree: an attribute ("@name",
// "@pfx:name") or child element ("name", "pfx:name") of the context node, optionally behind
// "./". Only ASCII names qualify; whatever else the path is, XPath answers it.
struct SimplePath {
    bool attribute = false;
    std::string_view name;
};

std::optional<SimplePath> AsSimplePath(std::string_view path) {
    if (path.starts_with("./"))
        path.remove_prefix(2);
    SimplePath simple;
    if (path.starts_with('@')) {
        simple.attribute = true;
        path.remove_prefix(1);
    }
    size_t i = 0;
    // Reads one name as Translate reads it: a name start, then name characters.
    const auto name = [&] {
        if (i == path.size() || !IsNameStart(path[i]))
            return false;
        while (i < path.size() && IsNameChar(path[i]))
            ++i;
        return true;
    };
    if (!name())
        return std::nullopt;
    if (i < path.size() && path[i] == ':') {
        ++i;
        if (!name())
            return std::nullopt;
    }
    if (i != path.size() ||
        std::ranges::any_of(path, [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
        return std::nullopt;
    simple.name = path;
    return simple;
}

// The nodes a simple path selects from an element or the document node, as XPath selects
// them: attributes in the element's order, element children in document order (text,
// comments and entity references are passed over). False when the context node is of
// another kind and XPath must answer.
bool SelectSimple(xmlNode* context, const SimplePath& path, bool firstOnly,
                  std::vector<xmlNode*>& nodes) {
    if (context->type != XML_ELEMENT_NODE && context->type != XML_DOCUMENT_NODE)
        return false;
    if (path.attribute) {
        if (context->type != XML_ELEMENT_NODE)
            return true;
        for (xmlAttr* attr = context->properties; attr != nullptr; attr = attr->next) {
            if (HasQualifiedName(attr->name, attr->ns, path.name)) {
                nodes.push_back(reinterpret_cast<xmlNode*>(attr));
                if (firstOnly)
                    break;
            }
        }
        return true;
    }
    for (xmlNode* child = context->children; child != nullptr; child = child->next) {
        if (child->type == XML_ELEMENT_NODE &&
            HasQualifiedName(child->name, child->ns, path.name)) {
            nodes.push_back(child);
            if (firstOnly)
                break;
        }
    }
    return true;
}

// The XPath context for one evaluation from `context`: the document's own when it is free,
// else a new one in `own`. Whatever an earlier evaluation left in a reused context (one that
// failed part way included) is set back to what a new context starts with.
xmlXPathContext* XPathContextFor(DocumentData& data, std::unique_lock<std::mutex>& lock,
                                 XPathContext& own, xmlNode* context) {
    xmlXPathContext* ctxt = nullptr;
    if (lock.try_lock()) {
        if (data.m_xpath == nullptr)
            data.m_xpath = NewXPathContext(data.m_doc).release();
        ctxt = data.m_xpath;
    } else {
        own = NewXPathContext(data.m_doc);
        ctxt = own.get();
    }
    ctxt->doc = context->doc;
    ctxt->node = context;
    ctxt->contextSize = -1;
    ctxt->proximityPosition = -1;
    ctxt->function = nullptr;
    ctxt->functionURI = nullptr;
    ctxt->opCount = 0;
    ctxt->depth = 0;
    return ctxt;
}

// Drops what an evaluation may leave in a context that outlives it: the context node and
// the namespace list of a namespace axis walk that stopped early.
void Release(xmlXPathContext* ctxt) {
    ctxt->node = nullptr;
    if (ctxt->tmpNsList != nullptr) {
        xmlFree(ctxt->tmpNsList);
        ctxt->tmpNsList = nullptr;
    }
    ctxt->tmpNsNr = 0;
}

// The nodes a path selects from `context` (an element, attribute or the document node of
// `data`); with `firstOnly`, at most the first of them.
std::vector<xmlNode*> Evaluate(DocumentData& data, xmlNode* context, std::string_view path,
                               bool firstOnly) {
    std::vector<xmlNode*> nodes;
    if (const std::optional<SimplePath> simple = AsSimplePath(path);
        simple && SelectSimple(context, *simple, firstOnly, nodes))
        return nodes;
    const std::shared_ptr<CompiledPath> compiled = CompiledPathFor(path);
    const ErrorScope errors;
    std::unique_lock lock(data.m_xpathMutex, std::defer_lock);
    XPathContext own;
    xmlXPathContext* ctxt = XPathContextFor(data, lock, own, context);
    XPathObject result;
    {
        const std::lock_guard turn(compiled->evaluating);
        result.reset(xmlXPathCompiledEval(compiled->expression.get(), ctxt));
    }
    Release(ctxt);
    if (lock.owns_lock())
        lock.unlock();
    if (result == nullptr)
        throw XmlError("cannot evaluate path " + Quoted(path) + ": " + errors.Or("failed"));
    if (result->type != XPATH_NODESET)
        throw XmlError("path " + Quoted(path) + " does not select nodes");
    if (const xmlNodeSet* set = result->nodesetval) {
        for (int k = 0; k < set->nodeNr; ++k) {
            // Namespace entries are copies owned by the result, not nodes of the document.
            if (set->nodeTab[k]->type != XML_NAMESPACE_DECL) {
                nodes.push_back(set->nodeTab[k]);
                if (firstOnly)
                    break;
            }
        }
    }
    return nodes;
}

} // namespace

std::string TranslatePath(std::string_view path) {
    return CompiledPathFor(path)->xpath;
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
        return Enclosed(text, '\'');
    if (text.find('"') == std::string_view::npos)
        return Enclosed(text, '"');
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

// --- Node ---

std::string Node::Name() const {
    const xmlNode* node = Checked(*this);
    if (node->name == nullptr)
        return {};
    return QualifiedName(node->name, NamespaceOf(node));
}

std::string Node::Text() const {
    const xmlNode* node = Checked(*this);
    if (node->type == XML_ATTRIBUTE_NODE)
        return AttributeText(reinterpret_cast<const xmlAttr*>(node));
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
    for (xmlNode* node : Evaluate(*m_doc, context, path, false))
        nodes.push_back(Node(m_doc, node));
    return nodes;
}

std::string Node::Attribute(std::string_view path, std::string_view absent) const {
    return FindAttribute(path).value_or(std::string(absent));
}

std::optional<std::string> Node::FindAttribute(std::string_view path) const {
    xmlNode* context = Checked(*this);
    const std::vector<xmlNode*> nodes = Evaluate(*m_doc, context, path, true);
    if (nodes.empty())
        return std::nullopt;
    return Node(m_doc, nodes.front()).Text();
}

std::vector<Node> Node::Children() const {
    std::vector<Node> children;
    for (xmlNode* child = xmlFirstElementChild(Checked(*this)); child != nullptr;
         child = xmlNextElementSibling(child))
        children.push_back(Node(m_doc, child));
    return children;
}

std::vector<Node> Node::Children(std::string_view name) const {
    std::vector<Node> children;
    for (xmlNode* child = xmlFirstElementChild(Checked(*this)); child != nullptr;
         child = xmlNextElementSibling(child)) {
        if (HasQualifiedName(child->name, child->ns, name))
            children.push_back(Node(m_doc, child));
    }
    return children;
}

Node Node::FirstChildElement(std::string_view name) const {
    for (xmlNode* child = xmlFirstElementChild(Checked(*this)); child != nullptr;
         child = xmlNextElementSibling(child)) {
        if (HasQualifiedName(child->name, child->ns, name))
            return Node(m_doc, child);
    }
    return {};
}

std::vector<std::pair<std::string, std::string>> Node::Attributes() const {
    const xmlNode* node = Checked(*this);
    std::vector<std::pair<std::string, std::string>> attributes;
    if (node->type != XML_ELEMENT_NODE)
        return attributes;
    size_t count = 0;
    for (const xmlAttr* attr = node->properties; attr != nullptr; attr = attr->next)
        ++count;
    attributes.reserve(count);
    for (const xmlAttr* attr = node->properties; attr != nullptr; attr = attr->next)
        attributes.emplace_back(QualifiedName(attr->name, attr->ns), AttributeText(attr));
    return attributes;
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
