#pragma once

// Internal to the wrapper: paths as the system writes them (0-based indexes, qualified names
// as written) translated to XPath 1.0 and compiled once, and the simplest of them recognised
// so that they can be answered without XPath.

#include "xml/XmlDetail.h"

#include <libxml/xpath.h>

#include <optional>
#include <string>
#include <string_view>

namespace xml::detail {

using XPathContext = Owned<xmlXPathContext, xmlXPathFreeContext>;
using XPathExpression = Owned<xmlXPathCompExpr, xmlXPathFreeCompExpr>;

// A new XPath context for `doc` (none for compiling); throws XmlError when out of memory.
XPathContext NewXPathContext(xmlDoc* doc);

// A path translated and compiled once, for any number of evaluations on any document. The
// expression is compiled with a context that has no document or dictionary, so it refers
// to nothing but itself.
struct CompiledPath {
    std::string xpath;
    XPathExpression expression;
};

// The compiled form of `path`, from the cache or compiled now. The reference stays valid
// until the next call, which may empty the cache. Throws XmlError naming the path when it
// does not compile; such paths are not cached.
const CompiledPath& CompiledPathFor(std::string_view path);

// A path simple enough to be answered by walking the tree: an attribute ("@name",
// "@pfx:name") or child element ("name", "pfx:name") of the context node, optionally behind
// "./". Only ASCII names qualify; whatever else the path is, XPath answers it.
struct SimplePath {
    bool attribute = false;
    std::string_view name; // as written, a part of the path
};

std::optional<SimplePath> AsSimplePath(std::string_view path);

} // namespace xml::detail
