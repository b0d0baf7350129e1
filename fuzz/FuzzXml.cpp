// Arbitrary bytes through the XML wrapper: the first line as a path, the whole input as a
// document that is then searched and written back.
#include "xml/Xml.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    try {
        xml::TranslatePath(input.substr(0, input.find('\n')));
    } catch (const xml::XmlError&) {
    }
    const xml::Document doc = xml::Document::TryParse(input);
    if (doc.IsNull())
        return 0;
    for (const char* path : {"//*", "//@*", "//node()", "//a/b[0]/@x", "//fms:X[1]"}) {
        for (const xml::Node& node : doc.SelectAll(path)) {
            node.Name();
            node.Text();
            node.ToString();
        }
    }
    doc.ToString();
    return 0;
}
