#include "xml/Xml.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <unistd.h>

namespace {

using xml::Document;
using xml::Node;
using xml::XmlError;

// The text of what() of the XmlError `call` throws, or "" when it throws nothing.
template <typename Call> std::string ErrorOf(Call call) {
    try {
        call();
    } catch (const XmlError& e) {
        return e.what();
    }
    return {};
}

// A temporary file with the given text, removed at the end of the test.
struct TempFile {
    explicit TempFile(const std::string& text) {
        char name[] = "/tmp/xmltest-XXXXXX";
        const int fd = mkstemp(name);
        close(fd);
        m_path = name;
        std::ofstream(m_path) << text;
    }
    ~TempFile() { std::remove(m_path.c_str()); }
    std::string m_path;
};

TEST(XmlPath, IndexesCountFromZeroAndNamesMatchAsWritten) {
    const Document doc = Document::Parse(R"(<r xmlns:fms="urn:a" xmlns:fdt="urn:b"
        xmlns:fftypes="urn:c"><a><b x="1"/><b x="2"/><c>t</c></a>
        <fms:ErrorDescription><fdt:EnumeratorEntry fdt:index="7"/>
        <fdt:EnumeratorEntry index="8"/></fms:ErrorDescription>
        <v fftypes:vfdRef="3"/><q n="fms:X and b[0]"/></r>)");
    EXPECT_EQ(doc.Attribute("//a/b[0]/@x"), "1");
    EXPECT_EQ(doc.Attribute("//a/b[ 1 ]/@x"), "2");
    EXPECT_EQ(doc.Attribute("//fms:ErrorDescription/fdt:EnumeratorEntry[1]/@index"), "8");
    EXPECT_EQ(doc.Attribute("//fms:ErrorDescription/fdt:EnumeratorEntry[0]/@fdt:index"), "7");
    EXPECT_EQ(doc.Attribute("//@fftypes:vfdRef"), "3");
    EXPECT_EQ(doc.SelectAll("//fdt:*").size(), 2u);
    EXPECT_EQ(doc.SelectAll("//fdt:EnumeratorEntry/@*").size(), 2u);
    // Literals are left alone; operators, axes, functions and unions keep working.
    EXPECT_EQ(doc.Attribute("//q[@n='fms:X and b[0]']/@n"), "fms:X and b[0]");
    EXPECT_EQ(doc.Attribute("//b[@x div 2 = 1 and not(@y)]/@x"), "2");
    EXPECT_EQ(doc.Attribute("//b[0]/following-sibling::b[0]/@x"), "2");
    EXPECT_EQ(doc.Attribute("//b[last()]/../c/text()"), "t");
    EXPECT_EQ(doc.SelectAll("//a/b | //v | //c[count(../b) = 2]").size(), 4u);
    EXPECT_EQ(doc.SelectAll("(//b)[1]").front().Attribute("@x"), "2");
    EXPECT_EQ(doc.Attribute("r/a/b[0]/@x"), "1") << "document paths start at the top";
}

TEST(XmlPath, PrefixesAndDefaultNamespaces) {
    for (const char* uri : {"urn:one", "urn:two"}) {
        const Document doc =
            Document::Parse(std::string("<r xmlns:fms='") + uri +
                            "'><fms:X v='1'/><fdt:X xmlns:fdt='" + uri + "' v='2'/></r>");
        ASSERT_EQ(doc.SelectAll("//fms:X").size(), 1u) << uri;
        EXPECT_EQ(doc.Attribute("//fms:X/@v"), "1") << uri;
        EXPECT_TRUE(doc.SelectAll("//X").empty()) << "a plain name is not a prefixed one";
    }
    const Document doc = Document::Parse(R"(<r xmlns="urn:x"><a v="1"/></r>)");
    EXPECT_EQ(doc.Attribute("//a/@v"), "1");
    EXPECT_EQ(doc.Root().Name(), "r");
}

TEST(XmlPath, BadPathsNameThePath) {
    const Document doc = Document::Parse("<r><a/></r>");
    EXPECT_EQ(ErrorOf([&] { doc.SelectAll("//a["); }).rfind("invalid path '//a[': ", 0), 0u);
    EXPECT_NE(ErrorOf([] { xml::TranslatePath("a/"); }).find("'a/'"), std::string::npos);
    EXPECT_NE(ErrorOf([&] { doc.SelectSingle("count(//a)"); }).find("'count(//a)'"),
              std::string::npos);
    EXPECT_NE(ErrorOf([&] { doc.SelectSingle("$v"); }).find("'$v'"), std::string::npos);
    EXPECT_NE(ErrorOf([] { xml::TranslatePath(std::string(100000, '(') + "a"); }), "");
    EXPECT_EQ(ErrorOf([] { Node().Text(); }), "null node");
}

TEST(XmlNode, AttributesChildrenAndLifetime) {
    Node a;
    {
        const Document doc =
            Document::Parse(R"(<r xmlns:p="urn:p"><a p:x="1" e=""><!-- c -->t<b/><p:c/></a></r>)");
        a = doc.SelectSingle("//a");
    }
    EXPECT_EQ(a.Attribute("@missing", "def"), "def");
    EXPECT_EQ(a.Attribute("@e", "def"), "");
    EXPECT_EQ(a.FindAttribute("@missing"), std::nullopt);
    EXPECT_EQ(a.FindAttribute("@p:x"), "1");
    EXPECT_EQ(a.SelectSingle("@p:x").Name(), "p:x");
    EXPECT_EQ(a.Attribute("../a/p:c/../@e", "def"), "");
    std::vector<std::string> names;
    for (const Node& child : a.Children()) {
        names.push_back(child.Name());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"b", "p:c"}));
    EXPECT_EQ(a.Children()[1].ToString(), "<p:c/>");
}

// Elements and attributes named with declared, repeated and undeclared prefixes, a default
// namespace, values with entity and character references, and children of every kind.
const char* const kNamedThings = R"(<!DOCTYPE r [<!ENTITY e 'ent'>]>
<r xmlns="urn:d" xmlns:p="urn:p" xmlns:q="urn:p" x="root" p:x="rp">
  <a x="1" p:x="2" q:y="3" k:z="4" xml:lang="de" v="a&amp;b&#65;&e;&lt;" w="" xmlns:u="urn:u"
     u:x="5">text<!-- b --><b/>&e;<p:c n="1"/><?b?><b n="2"/><q:c/><u:b/><k:d/><![CDATA[<b/>]]></a>
  <a x="6"/><p:a/>
</r>)";

// The raw nodes of a selection, to compare selections made in different ways.
std::vector<void*> RawNodes(const std::vector<Node>& nodes) {
    std::vector<void*> raw;
    for (const Node& node : nodes) {
        raw.push_back(node.Raw());
    }
    return raw;
}

TEST(XmlPath, SimplePathsSelectWhatXPathSelects) {
    const Document doc = Document::Parse(kNamedThings);
    const std::vector<Node> contexts = {
        doc.SelectSingle("/"),
        doc.Root(),
        doc.SelectSingle("//*[name()='a']"),
        doc.SelectSingle("//@x"),
        doc.SelectSingle("//*[name()='a']/text()"),
        doc.SelectSingle("//@p:x"),
        doc.SelectSingle("(//*[name()='a'])[1]"),
    };
    for (const Node& context : contexts) {
        ASSERT_TRUE(context);
    }
    const char* const paths[] = {
        "@x",  "@p:x", "@q:y",   "@k:z", "@xml:lang", "@v",      "@w",  "@u:x",
        "@y",  "@z",   "@q:x",   "@u:y", "@missing",  "@p:miss", "r",   "a",
        "b",   "p:c",  "q:c",    "c",    "u:b",       "k:d",     "p:a", "missing",
        "p:b", "./@x", "./@p:x", "./b",  "./p:c",     "text",    "and", "@and",
    };
    for (const Node& context : contexts) {
        for (const std::string path : paths) {
            // The same selection spelled so that only XPath can answer it.
            const std::string viaXPath = "self::node()/" + path;
            const std::string where = "'" + path + "' from '" + context.Name() + "'";
            EXPECT_EQ(RawNodes(context.SelectAll(path)), RawNodes(context.SelectAll(viaXPath)))
                << where;
            EXPECT_EQ(context.SelectSingle(path).Raw(), context.SelectSingle(viaXPath).Raw())
                << where;
            EXPECT_EQ(context.FindAttribute(path), context.FindAttribute(viaXPath)) << where;
        }
    }
    const Node a = contexts[2];
    EXPECT_EQ(a.Attribute("@v"), "a&bAent<");
    EXPECT_EQ(a.Attribute("@k:z"), "4") << "an undeclared prefix is part of the name";
    EXPECT_EQ(a.Attribute("@xml:lang"), "de");
    EXPECT_EQ(a.FindAttribute("@w"), "");
    EXPECT_EQ(a.FindAttribute("@y"), std::nullopt) << "a plain name is not a prefixed one";
    EXPECT_EQ(a.SelectAll("b").size(), 2u) << "neither u:b nor the CDATA text";
    EXPECT_EQ(a.SelectSingle("b").Text(), "");
    EXPECT_EQ(a.SelectAll("b")[1].Attribute("@n"), "2");
    EXPECT_EQ(doc.Attribute("r/@p:x"), "rp");
    EXPECT_EQ(doc.SelectSingle("r").Raw(), doc.Root().Raw()) << "the document node's child";
    // Names that are not simple are still read by XPath.
    EXPECT_EQ(a.Attribute("@*"), "1");
    EXPECT_EQ(a.SelectAll("p:*").size(), 1u);
    EXPECT_NE(ErrorOf([&] { a.SelectAll("@p:"); }).find("'@p:'"), std::string::npos);
    EXPECT_NE(ErrorOf([&] { a.SelectAll("b:"); }).find("'b:'"), std::string::npos);
}

TEST(XmlNode, AttributesListsNamesAsWrittenAndValuesInOrder) {
    const Document doc = Document::Parse(kNamedThings);
    const Node a = doc.SelectSingle("//*[name()='a']");
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"x", "1"},         {"p:x", "2"},      {"q:y", "3"}, {"k:z", "4"},
        {"xml:lang", "de"}, {"v", "a&bAent<"}, {"w", ""},    {"u:x", "5"},
    };
    EXPECT_EQ(a.Attributes(), expected) << "namespace declarations are not attributes";
    for (const Node& element : doc.SelectAll("//*")) {
        std::vector<std::pair<std::string, std::string>> viaXPath;
        for (const Node& attribute : element.SelectAll("@*")) {
            viaXPath.emplace_back(attribute.Name(), attribute.Text());
        }
        EXPECT_EQ(element.Attributes(), viaXPath) << element.Name();
    }
    EXPECT_TRUE(doc.SelectSingle("//*[name()='b']").Attributes().empty());
    EXPECT_TRUE(doc.SelectSingle("//@x").Attributes().empty()) << "not an element";
    EXPECT_TRUE(doc.SelectSingle("//text()").Attributes().empty()) << "not an element";
    EXPECT_EQ(ErrorOf([] { Node().Attributes(); }), "null node");

    // Attributes set later are read back the same way: a new one at the end, a changed one
    // in its place.
    const Document built = Document::Create("r");
    built.Root().SetAttribute("b", "1");
    built.Root().SetAttribute("a", "x&y");
    built.Root().SetAttribute("b", "2");
    EXPECT_EQ(built.Root().Attributes(),
              (std::vector<std::pair<std::string, std::string>>{{"b", "2"}, {"a", "x&y"}}));
    EXPECT_EQ(built.Root().Attribute("@a"), "x&y");
}

TEST(XmlNode, ChildrenByNameMatchNamesAsWritten) {
    const Document doc = Document::Parse(kNamedThings);
    const Node a = doc.SelectSingle("//*[name()='a']");
    for (const char* name : {"b", "p:c", "q:c", "c", "u:b", "k:d", "missing", ""}) {
        const std::vector<Node> children = a.Children(name);
        EXPECT_EQ(RawNodes(children), RawNodes(a.SelectAll(std::string("self::node()/") +
                                                           (*name != 0 ? name : "none"))))
            << name;
        EXPECT_EQ(a.FirstChildElement(name).Raw(),
                  children.empty() ? nullptr : children.front().Raw())
            << name;
    }
    EXPECT_EQ(a.Children("b").size(), 2u);
    EXPECT_EQ(a.Children("b")[1].Attribute("@n"), "2");
    EXPECT_EQ(a.FirstChildElement("p:c").Attribute("@n"), "1");
    EXPECT_TRUE(a.FirstChildElement("c").IsNull()) << "a plain name is not a prefixed one";
    EXPECT_EQ(doc.Root().Children("a").size(), 2u);
    EXPECT_TRUE(doc.SelectSingle("//@x").Children("b").empty()) << "not an element";
    EXPECT_EQ(ErrorOf([] { Node().FirstChildElement("a"); }), "null node");
}

TEST(XmlPath, CompiledPathsAndContextsAreReusedSafely) {
    const Document doc = Document::Parse("<r xmlns:p='urn:p'><a n='1'/><a n='2'><b/></a></r>");
    // Failed evaluations must leave nothing behind in the document's reused context, not
    // even a little each time.
    for (int k = 0; k < 6000; ++k) {
        ASSERT_NE(ErrorOf([&] { doc.SelectAll("//a[b[$v]]"); }), "") << k;
    }
    EXPECT_NE(ErrorOf([&] { doc.SelectAll("//a[count(@n) > nofunction()]"); }), "");
    EXPECT_EQ(doc.Attribute("//a[last()]/@n"), "2");
    EXPECT_EQ(doc.Attribute("//a[position() = 1]/@n"), "1");
    EXPECT_EQ(doc.SelectAll("((((//a[((((b))))]))))").size(), 1u);
    // Namespace nodes are never returned, however the walk of their axis ends.
    EXPECT_TRUE(doc.SelectAll("//a/namespace::*[1]").empty());
    EXPECT_EQ(doc.SelectAll("//a[namespace::p]").size(), 2u);
    EXPECT_EQ(doc.Attribute("//a[0]/@n"), "1");

    // The tree changes between evaluations of the same paths.
    const Node added = doc.Root().AppendChild("a");
    added.SetAttribute("n", "3");
    EXPECT_EQ(doc.Attribute("//a[last()]/@n"), "3");
    EXPECT_EQ(doc.Root().SelectAll("a").size(), 3u);
    EXPECT_EQ(doc.SelectAll("//a[@n > 1]").size(), 2u);

    // Evaluations alternate between documents and context nodes, failures drop a document's
    // context in between, and more distinct paths are compiled than the cache keeps, so
    // entries are dropped and compiled again.
    const Document other = Document::Parse("<r><a n='9'><b/></a></r>");
    const Node first = doc.SelectSingle("//a[0]");
    const Node second = doc.SelectSingle("//a[1]");
    int wrong = 0;
    for (int k = 0; k < 5000; ++k) {
        const std::string literal = xml::XPathLiteral(std::to_string(k) + "v");
        if (doc.SelectAll("//a[@n = 2 or @n = " + literal + "]").size() != 1 ||
            other.Attribute("//a[@n != " + literal + "]/@n") != "9" ||
            first.SelectAll("self::node()/following-sibling::a").size() != 2 ||
            second.Attribute("self::node()/@n") != "2" ||
            other.Root().SelectAll("self::node()/a/b").size() != 1) {
            ++wrong;
        }
        if (k % 500 == 0) {
            ASSERT_NE(ErrorOf([&] { (k % 1000 == 0 ? doc : other).SelectAll("//a[$v]"); }), "");
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST(XmlDocument, EmptyMalformedAndMissingInput) {
    for (const char* text : {"", "<a>", "<a></b>", "text", "<a x='1' x='2'/>"}) {
        EXPECT_EQ(ErrorOf([&] { Document::Parse(text); }).rfind("no document: ", 0), 0u) << text;
        std::string error;
        EXPECT_TRUE(Document::TryParse(text, &error).IsNull());
        EXPECT_EQ(error.rfind("no document: ", 0), 0u);
    }
    EXPECT_NE(ErrorOf([] { Document::ParseFile("/nonexistent/x.xml"); }).find("/nonexistent/x.xml"),
              std::string::npos);
    // A folder is a file that cannot be read, with the wrapper's own error.
    EXPECT_EQ(ErrorOf([] { Document::ParseFile("/tmp"); }), "cannot read file '/tmp'");
    const TempFile bad("<a>");
    EXPECT_EQ(ErrorOf([&] { Document::ParseFile(bad.m_path); }).rfind("no document in '", 0), 0u);
    const TempFile good("<a v='1'/>");
    EXPECT_EQ(Document::ParseFile(good.m_path).Attribute("/a/@v"), "1");
}

TEST(XmlDocument, NothingIsLoadedFromOutside) {
    const std::string marker = "marker-7c1d0e5f";
    const TempFile secret(marker);
    const TempFile dtd("<!ENTITY x '" + marker + "'>");
    const std::string url = "file://" + secret.m_path;
    for (const std::string& text : {
             R"(<!DOCTYPE r [<!ENTITY x SYSTEM ")" + url + R"(">]><r a="1">&x;</r>)",
             R"(<!DOCTYPE r [<!ENTITY % p SYSTEM "file://)" + dtd.m_path + R"("> %p;]><r/>)",
             R"(<!DOCTYPE r SYSTEM "file://)" + dtd.m_path + R"("><r/>)",
         }) {
        const Document doc = Document::Parse(text);
        EXPECT_EQ(doc.Root().Text().find(marker), std::string::npos) << text;
        EXPECT_EQ(doc.ToString().find(marker), std::string::npos) << text;
    }
    // /etc/hostname is short and could be any word, so the exact text is compared.
    const Document doc =
        Document::Parse(R"(<!DOCTYPE r [<!ENTITY x SYSTEM "file:///etc/hostname">]><r>[&x;]</r>)");
    EXPECT_EQ(doc.Root().Text(), "[]");
    EXPECT_NE(doc.Root().ToString().find("&x;"), std::string::npos);
}

TEST(XmlDocument, EntityBombsAreRefused) {
    const auto repeat = [](const std::string& text, int times) {
        std::string result;
        for (int k = 0; k < times; ++k) {
            result += text;
        }
        return result;
    };
    std::string laughs = "<!DOCTYPE r [<!ENTITY l0 'lol'>";
    for (int k = 1; k < 10; ++k) {
        laughs += "<!ENTITY l" + std::to_string(k) + " '" +
                  repeat("&l" + std::to_string(k - 1) + ";", 10) + "'>";
    }
    laughs += "]>";
    const std::string quadratic = "<!DOCTYPE r [<!ENTITY q '" + std::string(50000, 'q') + "'>]>";
    const std::string refs = repeat("&q;", 20000);
    for (const std::string& text :
         {laughs + "<r>&l9;</r>", laughs + "<r a='&l9;'/>",
          laughs + "<r><a>&l9;</a><b x='&l8;'/></r>", quadratic + "<r>" + refs + "</r>"}) {
        const Document doc = Document::TryParse(text);
        if (doc.IsNull()) {
            continue;
        }
        size_t total = doc.ToString().size();
        for (const Node& node : doc.SelectAll("//node() | //@*")) {
            total += node.Text().size();
        }
        EXPECT_LT(total, 10'000'000u);
    }
    const Document modest = Document::Parse("<!DOCTYPE r [<!ENTITY e 'x'>]><r a='&e;'>&e;</r>");
    EXPECT_EQ(modest.Root().Text(), "x");
    EXPECT_EQ(modest.Attribute("/r/@a"), "x");
}

TEST(XmlDocument, BuildsAndWritesDocuments) {
    const Document doc = Document::Create("r");
    const Node item = doc.Root().AppendChild("Item");
    item.SetAttribute("tag", "a<b>&\"c'");
    item.SetAttribute("unit", "°C");
    item.SetText("x < y & z");
    const std::string text = doc.ToString();
    EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u) << text;
    EXPECT_NE(text.find("°C"), std::string::npos) << text;
    EXPECT_NE(item.ToString().find("°C"), std::string::npos);
    const Document back = Document::Parse(text);
    EXPECT_EQ(back.Attribute("/r/Item/@tag"), "a<b>&\"c'");
    EXPECT_EQ(back.Attribute("/r/Item/@unit"), "°C");
    EXPECT_EQ(back.SelectSingle("/r/Item").Text(), "x < y & z");
    item.SetText("again");
    EXPECT_EQ(item.Text(), "again");
    EXPECT_NE(ErrorOf([&] { item.AppendChild("a b"); }).find("'a b'"), std::string::npos);
    EXPECT_NE(ErrorOf([] { Document::Create(""); }), "");
    EXPECT_NE(ErrorOf([&] { item.SetAttribute("v", "\xff"); }), "");
    EXPECT_NE(ErrorOf([&] { doc.SelectSingle("//@tag").AppendChild("x"); }), "");
}

TEST(XmlEscape, RoundTripsThroughAttributesAndText) {
    const std::string raw = R"(a&b<c>d"e'f &amp;)";
    const Document doc = Document::Parse("<r a='" + xml::Escape(raw) + "' b=\"" + xml::Escape(raw) +
                                         "\">" + xml::Escape(raw) + "</r>");
    EXPECT_EQ(doc.Attribute("/r/@a"), raw);
    EXPECT_EQ(doc.Attribute("/r/@b"), raw);
    EXPECT_EQ(doc.Root().Text(), raw);
}

TEST(XmlPath, LiteralsSelectValuesWithEitherQuote) {
    const Document doc = Document::Parse(
        "<r><a tag='plain'/><a tag=\"it's\"/><a tag='say \"hi\"'/><a tag=\"''x&quot;'\"/></r>");
    for (const std::string value : {"plain", "it's", "say \"hi\"", "''x\"'"}) {
        const auto nodes = doc.SelectAll("//a[@tag=" + xml::XPathLiteral(value) + "]");
        ASSERT_EQ(nodes.size(), 1u) << value;
        EXPECT_EQ(nodes[0].Attribute("@tag"), value);
    }
    EXPECT_EQ(xml::XPathLiteral("it's"), "\"it's\"");
    EXPECT_EQ(xml::XPathLiteral("'a\""), "concat(\"'\",'a\"')");
}

TEST(XmlSchema, ValidatesDocuments) {
    const xml::Schema schema = xml::Schema::Parse(R"(
        <xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema" targetNamespace="urn:fc"
                   elementFormDefault="qualified">
          <xs:element name="FunctionCall">
            <xs:complexType><xs:attribute name="id" type="xs:int" use="required"/></xs:complexType>
          </xs:element>
        </xs:schema>)");
    std::string error;
    EXPECT_TRUE(
        schema.Validate(Document::Parse("<f:FunctionCall xmlns:f='urn:fc' id='3'/>"), &error))
        << error;
    const std::pair<const char*, const char*> invalid[] = {
        {"<FunctionCall xmlns='urn:fc'/>", "'id' is required"},
        {"<Other xmlns='urn:fc' id='1'/>", "Other"},
        {"<FunctionCall id='1'/>", "No matching global declaration"},
        {"<FunctionCall xmlns='urn:fc' id='x'/>", "'x'"},
    };
    for (const auto& [text, reason] : invalid) {
        error.clear();
        EXPECT_FALSE(schema.Validate(Document::Parse(text), &error)) << text;
        EXPECT_NE(error.find(reason), std::string::npos) << error;
    }
    EXPECT_FALSE(schema.Validate(Document(), &error));
    EXPECT_EQ(ErrorOf([] { xml::Schema::Parse("<xs:schema"); }).rfind("invalid schema: ", 0), 0u);
    EXPECT_EQ(ErrorOf([] { xml::Schema::Parse("<a/>"); }).rfind("invalid schema: ", 0), 0u);
    const TempFile included("<xs:schema xmlns:xs='http://www.w3.org/2001/XMLSchema'>"
                            "<xs:element name='z'/></xs:schema>");
    EXPECT_NE(ErrorOf([&] {
                  xml::Schema::Parse("<xs:schema xmlns:xs='http://www.w3.org/2001/XMLSchema'>"
                                     "<xs:include schemaLocation='file://" +
                                     included.m_path + "'/></xs:schema>");
              }).find("Failed to parse"),
              std::string::npos)
        << "a schema loads nothing from disk";
}

} // namespace
