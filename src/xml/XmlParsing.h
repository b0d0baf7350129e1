#pragma once

// Internal to the wrapper: reading documents safely, and collecting what libxml2 reports
// instead of letting it print.

#include "xml/XmlDetail.h"

#include <libxml/xmlerror.h>

#include <string>
#include <string_view>

namespace xml::detail {

// Sets libxml2 up, once: initialised, with an external-entity loader that refuses everything.
void InitLibrary();

// While it lives, what libxml2 reports is collected instead of printed: the first of the most
// severe structured errors is kept, bare text messages are dropped.
class ErrorScope {
public:
    ErrorScope();
    ~ErrorScope();
    ErrorScope(const ErrorScope&) = delete;
    ErrorScope& operator=(const ErrorScope&) = delete;

    // The message kept, or `fallback` when libxml2 reported nothing.
    std::string Or(const char* fallback) const { return m_message.empty() ? fallback : m_message; }

private:
    static void Collect(void* data, xmlErrorPtr error);
    static void Ignore(void*, const char*, ...);

    xmlStructuredErrorFunc m_savedStructured;
    void* m_savedStructuredData;
    xmlGenericErrorFunc m_savedGeneric;
    void* m_savedGenericData;
    int m_level = XML_ERR_NONE;
    std::string m_message;
};

// The length of a text as libxml2 takes it (an int); throws XmlError for a longer one.
int CheckedSize(std::string_view text);

// Parses `text` without touching the network, loading external entities or DTDs, and refuses
// a document whose entity references expand to too much text. Throws XmlError
// "<failure>: <what was wrong>".
OwnedDoc ReadDocument(std::string_view text, const std::string& failure);

} // namespace xml::detail
