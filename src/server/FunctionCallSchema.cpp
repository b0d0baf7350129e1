#include "server/FunctionCallSchema.h"

#include "ui/Guard.h"
#include "xml/Xml.h"

#include <QFile>

namespace {

// The schema, read from the module's resources and parsed on first use. Throws XmlError when
// the resource is missing or does not parse.
const xml::Schema& Schema() {
    static const xml::Schema schema = [] {
        QFile file(QStringLiteral(":/schema/DTMFunctionCallSchema.xsd"));
        if (!file.open(QIODevice::ReadOnly)) {
            throw xml::XmlError("the function-call schema is missing from the module");
        }
        return xml::Schema::Parse(file.readAll().toStdString());
    }();
    return schema;
}

// The schema lets attributes of other namespaces through unchecked, since one schema document
// declares names of its own namespace only; the function id is looked for here.
bool HasFunctionId(const xml::Document& document) {
    const std::string path = "/*/*/@*[local-name()='functionId'][namespace-uri()=" +
                             xml::XPathLiteral(CFunctionCallSchema::kFunctionsNamespace) + "]";
    return !document.SelectSingle(path).IsNull();
}

} // namespace

bool CFunctionCallSchema::IsValid(std::string_view document) noexcept {
    bool valid = false;
    Guarded("CFunctionCallSchema", [&] {
        const xml::Document parsed = xml::Document::TryParse(document);
        valid = !parsed.IsNull() && Schema().Validate(parsed) && HasFunctionId(parsed);
    });
    return valid;
}
