#include "xml/XmlParsing.h"

#include "xml/Xml.h"

#include <libxml/entities.h>
#include <libxml/parser.h>

#include <algorithm>
#include <climits>
#include <unordered_map>

namespace xml::detail {

namespace {

// No resource is ever loaded because of a document's content: external entities, external
// DTD subsets, schema imports and includes all end here.
xmlParserInputPtr RefuseExternal(const char*, const char*, xmlParserCtxtPtr) {
    return nullptr;
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
                for (const xmlAttr* attr = node->properties; attr != nullptr; attr = attr->next) {
                    add(Measure(attr->children, countText));
                }
            }
        }
        return total;
    }

private:
    size_t Entity(const xmlEntity* entity) {
        if (entity == nullptr) {
            return 0;
        }
        const auto [it, added] = m_sizes.emplace(entity, limit + 1); // a loop is too much
        if (added) {
            it->second = Measure(entity->children, true);
        }
        return it->second;
    }

    xmlDoc* m_doc;
    std::unordered_map<const xmlEntity*, size_t> m_sizes;
};

using ParserContext = Owned<xmlParserCtxt, xmlFreeParserCtxt>;

} // namespace

void InitLibrary() {
    [[maybe_unused]] static const bool done = [] {
        xmlInitParser();
        xmlSetExternalEntityLoader(RefuseExternal);
        return true;
    }();
}

ErrorScope::ErrorScope()
    : m_savedStructured(xmlStructuredError), m_savedStructuredData(xmlStructuredErrorContext),
      m_savedGeneric(xmlGenericError), m_savedGenericData(xmlGenericErrorContext) {
    xmlSetStructuredErrorFunc(this, Collect);
    xmlSetGenericErrorFunc(nullptr, Ignore);
}

ErrorScope::~ErrorScope() {
    xmlSetStructuredErrorFunc(m_savedStructuredData, m_savedStructured);
    xmlSetGenericErrorFunc(m_savedGenericData, m_savedGeneric);
}

void ErrorScope::Collect(void* data, xmlErrorPtr error) {
    auto* self = static_cast<ErrorScope*>(data);
    if (error == nullptr || error->level <= self->m_level) {
        return;
    }
    self->m_level = error->level;
    self->m_message = error->message != nullptr ? error->message : "";
    while (!self->m_message.empty() && IsSpace(self->m_message.back())) {
        self->m_message.pop_back();
    }
}

void ErrorScope::Ignore(void*, const char*, ...) {}

int CheckedSize(std::string_view text) {
    if (text.size() > INT_MAX) {
        throw XmlError("text of " + std::to_string(text.size()) + " bytes is too large");
    }
    return static_cast<int>(text.size());
}

OwnedDoc ReadDocument(std::string_view text, const std::string& failure) {
    InitLibrary();
    const ErrorScope errors;
    const ParserContext ctxt(xmlNewParserCtxt());
    if (ctxt == nullptr) {
        throw XmlError(failure + ": out of memory");
    }
    const int size = CheckedSize(text);
    OwnedDoc doc(xmlCtxtReadMemory(ctxt.get(), text.data(), size, nullptr, nullptr,
                                   XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
    if (doc == nullptr) {
        throw XmlError(failure + ": " + errors.Or("the text is empty"));
    }
    if (doc->intSubset != nullptr && doc->intSubset->entities != nullptr &&
        EntityMeter(doc.get()).Measure(doc->children, false) > EntityMeter::limit) {
        throw XmlError(failure + ": entity references expand to too much text");
    }
    return doc;
}

} // namespace xml::detail
