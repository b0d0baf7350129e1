// Arbitrary bytes through the XML wrapper: the first line as a path, the whole input as a
// document that is then searched and written back. Attributes and children read directly
// must be what XPath selects; a difference stops the run.
#include "xml/Xml.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

std::vector<void*> RawNodes(const std::vector<xml::Node>& nodes) {
    std::vector<void*> raw;
    for (const xml::Node& node : nodes)
        raw.push_back(node.Raw());
    return raw;
}

// The nodes `direct` reads (without XPath, as far as the wrapper can) against the selection
// of `path` from `element` spelled so that only XPath answers it; both must succeed alike.
// Names XPath cannot read (an undeclared prefix with a second colon) are skipped.
template <typename Direct>
void Compare(Direct direct, const xml::Node& element, const std::string& path) {
    std::vector<void*> viaXPath;
    try {
        viaXPath = RawNodes(element.SelectAll("self::node()/" + path));
    } catch (const xml::XmlError&) {
        return;
    }
    if (RawNodes(direct()) != viaXPath)
        __builtin_trap();
}

void CheckElement(const xml::Node& element) {
    const auto attributes = element.Attributes();
    const std::vector<xml::Node> all = element.SelectAll("@*");
    if (attributes.size() != all.size())
        __builtin_trap();
    for (std::size_t k = 0; k < attributes.size(); ++k) {
        if (attributes[k].first != all[k].Name() || attributes[k].second != all[k].Text())
            __builtin_trap();
        const std::string path = "@" + attributes[k].first;
        Compare([&] { return element.SelectAll(path); }, element, path);
    }
    for (const xml::Node& child : element.Children()) {
        const std::string name = child.Name();
        Compare([&] { return element.SelectAll(name); }, element, name);
        Compare([&] { return element.Children(name); }, element, name);
    }
}

} // namespace

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
    for (const xml::Node& element : doc.SelectAll("//*"))
        CheckElement(element);
    doc.ToString();
    return 0;
}
